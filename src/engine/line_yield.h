#pragma once
// The line yields of one element, with word of a distance reset.

#include <cstdint>

#include "engine/calc_state.h"
#include "engine/host.h"

namespace lumetra::engine {

// Target_yield; returns true when it had to set the distance field back to 60 cm.
// That write runs the field's change handler, which may have recalculated the
// whole spectrum in the meantime.
bool line_yields(CalcState& st, Host& host, std::int16_t i, double mu_in);

}  // namespace lumetra::engine
