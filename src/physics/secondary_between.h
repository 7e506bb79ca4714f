#pragma once
// Secondary fluorescence between the pieces of the stack: the lines born in one piece
// excite the elements of another, through the pieces between them.

#include <vector>

#include "physics/detector_path.h"
#include "physics/result.h"
#include "physics/stack.h"

namespace lumetra::physics {

// Adds to the secondary rate of every line of lines (tagged with their
// LineRate::layer, each piece's lines holding their own attenuation already) what the
// lines of every other piece excite in its element. Within one piece add_secondary
// counts it; here only between two. An element does not excite itself.
void add_secondary_between(std::vector<LineRate>& lines, const Setup& setup, const Stack& stack,
                           const DetectorPath& path);

}  // namespace lumetra::physics
