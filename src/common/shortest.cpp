#include "common/shortest.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace lumetra::common {

std::string shortest(double v) {
    if (!std::isfinite(v)) return {};
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

}  // namespace lumetra::common
