#pragma once
// The driver's text of a plot surface: every drawing operation, or the drawing in
// brief.

#include <string>

#include "display/picture.h"

namespace lumetra::driver {

// The shortest text that reads back as the same float.
std::string format_float(float v);

// "SCALE left top right bottom", then one line per operation (LINE, PSET, PRINT);
// in brief, after the scale, the count of each kind of operation, per colour in the
// order it first appears its count and the lowest and highest height it reaches,
// and the texts in full.
std::string picture_text(const display::Picture& pic, bool summary);

}  // namespace lumetra::driver
