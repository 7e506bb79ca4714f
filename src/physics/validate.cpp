#include "physics/validate.h"

#include <cmath>

#include "common/shortest.h"
#include "physics/settings.h"
#include "physics/xrl.h"

namespace lumetra::physics {

namespace {

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

bool known_element(int Z) {
    return Z >= 1 && Z <= xrl::kHeaviestElement;
}

}  // namespace

std::string refusal(const Setup& s) {
    for (const SettingInfo& info : setting_table()) {
        if (info.kind != SettingKind::number) continue;
        std::string why = refusal(info, info.in_setup(s));
        if (!why.empty()) return why;
    }
    if (!(s.E0 >= xrl::kLowestEnergy && s.E0 <= xrl::kHighestEnergy))
        return "The X-ray energy must lie between 1 and 150 keV.";
    if (!(s.psi_in_deg > 0.0 && s.psi_in_deg < 180.0 && s.psi_out_deg > 0.0 &&
          s.psi_out_deg < 180.0))
        return "The angles must lie between 0 and 180 degrees.";
    if (!(std::isfinite(s.distance_cm) && s.distance_cm >= kMinDistance_cm))
        return "The distance must be at least " + common::shortest(kMinDistance_cm) + " cm.";
    if (!positive(s.full_energy)) return "The amplifier scale has no energy.";
    if (s.film && !(positive(s.density) && positive(s.thickness_cm)))
        return "A film needs a density and a thickness above 0.";
    if (s.sample.empty() || !known_element(s.sample.front().Z))
        return "The target element is unknown.";
    if (!(s.sample.front().atoms > 0.0)) return "The target has no content.";
    for (const Component& c : s.sample) {
        if (!known_element(c.Z)) return "An element of the sample is unknown.";
        if (!(std::isfinite(c.atoms) && c.atoms >= 0.0))
            return "An element's content must be a number of 0 or more.";
    }
    return {};
}

}  // namespace lumetra::physics
