#pragma once
// What the setup file's reader, rules and writer share: its format name, the coarse
// gain's steps, the planning settings it stores and how it writes a number.

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

// The number settings under "planning", by their file keys, in the file's order.
// (The counting window is the panel's own and not stored.)
constexpr std::array<const char*, 10> kPlanningNumbers = {
    "flux",          "polarisation", "area_mm2",      "window_um",          "crystal_mm",
    "resolution_eV", "dead_time_us", "pulse_pair_us", "peak_to_background", "filter_thickness_um"};

// The model's description of the setting stored under a file key.
inline const physics::SettingInfo& planning_setting(std::string_view file_key) {
    for (const physics::SettingInfo& s : physics::setting_table())
        if (file_key == s.file_key) return s;
    return physics::setting_table().front();  // not reached: every stored key is in the table
}

// The shortest text that reads back as the same double ("1e+12", "0.95", "-10").
inline std::string number_text(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

}  // namespace lumetra::io::setup_keys
