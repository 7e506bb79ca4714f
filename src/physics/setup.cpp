#include "physics/setup.h"

namespace lumetra::physics {

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
