#pragma once
// The model "Plot" calculates with and the planner's settings, as the window names them.

#include "physics/settings.h"

namespace lumetra::window {

using Model = physics::ModelKind;
using Planning = physics::Settings;

}  // namespace lumetra::window
