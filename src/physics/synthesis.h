#pragma once
// From rates to the recorded spectrum and the planning figures: peaks with the
// detector's width, escape peaks, shelves, dead time and pile-up, on the window's
// 1025-channel scale.

#include "physics/response.h"
#include "physics/result.h"
#include "physics/scatter.h"

namespace lumetra::physics {

// Fills result.layers, result.figures and result.target_share from result.lines and
// the scatter (which it also stores in the result).
void synthesise(const Setup& setup, const Sample& sample, const Response& response,
                const Scatter& scatter, Result& result);

}  // namespace lumetra::physics
