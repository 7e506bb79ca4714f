#include "window/planning.h"

#include "common/numtext.h"
#include "physics/filter.h"

namespace lumetra::window {

const std::array<NumberSetting, 10>& number_settings() {
    static const std::array<NumberSetting, 10> kSettings = {{
        {"flux", [](Planning& p) -> double& { return p.flux; }},
        {"polarisation", [](Planning& p) -> double& { return p.polarisation; }},
        {"area", [](Planning& p) -> double& { return p.detector.area_mm2; }},
        {"window", [](Planning& p) -> double& { return p.detector.window_um; }},
        {"crystal", [](Planning& p) -> double& { return p.detector.crystal_mm; }},
        {"resolution", [](Planning& p) -> double& { return p.detector.resolution_eV; }},
        {"deadtime", [](Planning& p) -> double& { return p.detector.dead_time_us; }},
        {"pileup", [](Planning& p) -> double& { return p.detector.pulse_pair_us; }},
        {"peakbackground", [](Planning& p) -> double& { return p.detector.peak_to_background; }},
        {"filterthickness", [](Planning& p) -> double& { return p.filter_thickness_um; }},
    }};
    return kSettings;
}

bool Planning::set(const std::string& key, const std::string& text) {
    for (const NumberSetting& s : number_settings()) {
        if (key == s.key) {
            s.of(*this) = text::Val(text);
            return true;
        }
    }
    if (key == "detector") {
        const std::string t = text::trim_blanks(text);
        if (t != "si" && t != "ge") return false;
        const physics::Detector fresh =
            physics::default_detector(t == "ge" ? physics::Crystal::ge : physics::Crystal::si);
        detector.crystal = fresh.crystal;
        detector.crystal_mm = fresh.crystal_mm;
        detector.resolution_eV = fresh.resolution_eV;
        return true;
    }
    if (key == "filter") {
        filter = text;
        return true;
    }
    return false;
}

bool Planning::filter_valid() const {
    return physics::parse_filter(filter, filter_thickness_um).has_value();
}

}  // namespace lumetra::window
