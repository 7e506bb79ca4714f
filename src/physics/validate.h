#pragma once
// The one check of a setup before the fundamental-parameter model calculates it. The
// setup file, the planning panel and the model all ask it, so a value is refused
// everywhere with the same reason or nowhere.

#include <string>

#include "physics/setup.h"

namespace lumetra::physics {

// The nearest the detector may come to the sample, cm.
constexpr double kMinDistance_cm = 0.1;

// Why the model cannot calculate the setup, the first reason found ("The flux must be
// above 0.", "Front layer 2 needs a thickness above 0."), or "" when it can. Layers
// behind a bulk sample are checked too, though the beam does not reach them.
std::string refusal(const Setup& s);

}  // namespace lumetra::physics
