#include "physics/setup.h"

namespace lumetra::physics {

bool operator==(const Detector& a, const Detector& b) {
    return a.crystal == b.crystal && a.area_mm2 == b.area_mm2 && a.window_um == b.window_um &&
           a.crystal_mm == b.crystal_mm && a.resolution_eV == b.resolution_eV &&
           a.dead_time_us == b.dead_time_us && a.pulse_pair_us == b.pulse_pair_us &&
           a.peak_to_background == b.peak_to_background;
}

Detector default_detector(Crystal c) {
    Detector d;
    d.crystal = c;
    if (c == Crystal::ge) {
        d.crystal_mm = 5.0;
        d.resolution_eV = 150.0;
    }
    return d;
}

}  // namespace lumetra::physics
