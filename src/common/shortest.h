#pragma once
// The one way numbers are written into files, reports and messages: the shortest text
// that reads back as the same double ("19.491", "1e-05", "0.1"), with a full stop
// whatever the locale.

#include <string>

namespace lumetra::common {

// Empty for a value that is not a finite number.
std::string shortest(double v);

}  // namespace lumetra::common
