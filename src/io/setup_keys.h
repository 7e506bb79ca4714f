#pragma once
// What the setup file's reader, rules and writer share: its format name, the coarse
// gain's steps and how it writes a number.

#include <array>
#include <string>
#include <string_view>

#include "common/amplifier.h"
#include "common/shortest.h"
#include "physics/settings.h"

namespace lumetra::io::setup_keys {

constexpr std::string_view kFormatName = "lumetra-setup";
constexpr int kMaxDepth = 32;
using common::kCoarseSteps;

// The planning settings are stored under "planning" by their file keys, in the
// table's order (physics::setting_table()): numbers as numbers and the filter as its
// text, with the detector's crystal after the polarisation. A setting added to the
// table is read, checked and written at once.

// The shortest text that reads back as the same double ("1e+12", "0.95", "-10"); the
// values written are finite, as the rules check them first.
inline std::string number_text(double v) {
    const std::string text = common::shortest(v);
    return text.empty() ? std::string("0") : text;
}

}  // namespace lumetra::io::setup_keys
