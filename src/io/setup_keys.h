#pragma once
// What the setup file's reader, rules and writer share: its format name, the coarse
// gain's steps and how it writes a number.

#include <array>
#include <charconv>
#include <string>
#include <string_view>
#include <system_error>

#include "physics/settings.h"

namespace lumetra::io::setup_keys {

constexpr std::string_view kFormatName = "lumetra-setup";
constexpr int kMaxDepth = 32;
constexpr std::array<int, 8> kCoarseSteps = {5, 10, 20, 50, 100, 200, 500, 1000};

// The planning settings are stored under "planning" by their file keys, in the
// table's order (physics::setting_table()): numbers as numbers and the filter as its
// text, with the detector's crystal after the polarisation. A setting added to the
// table is read, checked and written at once.

// The shortest text that reads back as the same double ("1e+12", "0.95", "-10").
inline std::string number_text(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

}  // namespace lumetra::io::setup_keys
