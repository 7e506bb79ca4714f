#include "window/planning.h"

#include "common/numtext.h"
#include "physics/filter.h"

namespace lumetra::window {

bool Planning::set(const std::string& key, const std::string& text) {
    const double v = text::Val(text);
    physics::Detector& d = detector;
    if (key == "flux") {
        flux = v;
    } else if (key == "polarisation") {
        polarisation = v;
    } else if (key == "detector") {
        const std::string t = text::trim_blanks(text);
        if (t != "si" && t != "ge") return false;
        const physics::Detector fresh =
            physics::default_detector(t == "ge" ? physics::Crystal::ge : physics::Crystal::si);
        d.crystal = fresh.crystal;
        d.crystal_mm = fresh.crystal_mm;
        d.resolution_eV = fresh.resolution_eV;
    } else if (key == "area") {
        d.area_mm2 = v;
    } else if (key == "window") {
        d.window_um = v;
    } else if (key == "crystal") {
        d.crystal_mm = v;
    } else if (key == "resolution") {
        d.resolution_eV = v;
    } else if (key == "deadtime") {
        d.dead_time_us = v;
    } else if (key == "pileup") {
        d.pulse_pair_us = v;
    } else if (key == "peakbackground") {
        d.peak_to_background = v;
    } else if (key == "filter") {
        filter = text;
    } else if (key == "filterthickness") {
        filter_thickness_um = v;
    } else {
        return false;
    }
    return true;
}

bool Planning::filter_valid() const {
    return physics::parse_filter(filter, filter_thickness_um).has_value();
}

}  // namespace lumetra::window
