#include "physics/validate.h"

#include <cmath>
#include <string>

#include "common/shortest.h"
#include "physics/settings.h"
#include "physics/stack.h"
#include "physics/xrl.h"

namespace lumetra::physics {

namespace {

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

bool known_element(int Z) {
    return Z >= 1 && Z <= xrl::kHeaviestElement;
}

// The largest attenuation of any element at 1..150 keV is below 1e5 cm2/g; a layer's
// optical depth at it must stay a number with room for eight layers and the steepest
// angle (1 / sin psi up to 1e6).
constexpr double kLargestMu = 1e6;       // cm2/g
constexpr double kDeepestLayer = 1e290;  // optical depth

// Why a layer cannot be calculated, naming it ("Front layer 2 needs a thickness above
// 0."), or "".
std::string layer_refusal(const Layer& l, int layer) {
    const std::string name = layer_title(layer);
    if (l.Z.empty()) return name + " has no elements.";
    if (l.mass_fraction.size() != l.Z.size()) return name + " needs one mass fraction per element.";
    double sum = 0.0;
    for (std::size_t i = 0; i < l.Z.size(); ++i) {
        if (!known_element(l.Z[i])) return name + " has an unknown element.";
        const double w = l.mass_fraction[i];
        if (!(std::isfinite(w) && w >= 0.0)) return name + " needs mass fractions of 0 or more.";
        sum += w;
    }
    if (!std::isfinite(sum)) return name + " has mass fractions too large to add up.";
    if (!(sum > 0.0)) return name + " needs an element with a mass fraction above 0.";
    if (!positive(l.density)) return name + " needs a density above 0.";
    if (!positive(l.thickness_um)) return name + " needs a thickness above 0.";
    const double depth = kLargestMu * l.density * l.thickness_um * 1e-4;
    if (!(std::isfinite(depth) && depth < kDeepestLayer)) return name + " is too thick.";
    return {};
}

// The first reason any layer of the stack is refused, or "".
std::string stack_refusal(const Setup& s) {
    const std::string most = std::to_string(kMaxLayers);
    if (s.front.size() > static_cast<std::size_t>(kMaxLayers))
        return "There can be at most " + most + " layers in front of the sample.";
    if (s.back.size() > static_cast<std::size_t>(kMaxLayers))
        return "There can be at most " + most + " layers behind the sample.";
    for (std::size_t i = 0; i < s.front.size(); ++i) {
        std::string why = layer_refusal(s.front[i], -static_cast<int>(i) - 1);
        if (!why.empty()) return why;
    }
    for (std::size_t i = 0; i < s.back.size(); ++i) {
        std::string why = layer_refusal(s.back[i], static_cast<int>(i) + 1);
        if (!why.empty()) return why;
    }
    return {};
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
    return stack_refusal(s);
}

}  // namespace lumetra::physics
