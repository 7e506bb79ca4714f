#pragma once
// A filter as the user writes it: an element at its own density ("Al"), a formula
// with its density after a colon ("Al2O3:3.95"), or "none" (also the empty text).

#include <optional>
#include <string>

#include "physics/setup.h"

namespace lumetra::physics {

// The filter of the text and thickness (um), with no elements for "none"; nothing
// when the text is not a filter (unknown element or formula, a formula without a
// positive density, odd characters).
std::optional<Filter> parse_filter(const std::string& text, double thickness_um);

}  // namespace lumetra::physics
