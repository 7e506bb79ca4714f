#include "physics/detector_path.h"

#include <algorithm>
#include <cmath>

#include "common/constants.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

using common::kPi;
constexpr double kNearest = 0.1;  // cm
constexpr int kBeryllium = 4, kAluminium = 13, kSilicon = 14, kGermanium = 32;

}  // namespace

double DetectorPath::total(int Z, double E) const {
    return xs_ ? xs_->total(Z, E) : xrl::cs_total(Z, E);
}

double DetectorPath::layer(const std::vector<int>& Z, const std::vector<double>& w, double density,
                           double t, double E) const {
    double mu = 0.0;
    for (std::size_t i = 0; i < Z.size() && i < w.size(); ++i) mu += w[i] * total(Z[i], E);
    const double x = mu * density * t;
    return std::isfinite(x) && x > 0.0 ? std::exp(-x) : 1.0;
}

double DetectorPath::element_layer(int Z, double t_cm, double E) const {
    const double x = total(Z, E) * xrl::element_density(Z) * t_cm;
    return std::isfinite(x) && x > 0.0 ? std::exp(-x) : 1.0;
}

double solid_angle(double area_mm2, double distance_cm) {
    const double d = std::max(distance_cm, kNearest);
    const double a = std::max(area_mm2, 0.0) / 100.0;  // cm2
    const double omega = 2.0 * kPi * (1.0 - d / std::sqrt(d * d + a / kPi));
    return std::isfinite(omega) && omega > 0.0 ? omega : 0.0;
}

DetectorPath::DetectorPath(const Setup& setup, CrossSections* xs)
    : setup_(setup), omega_(solid_angle(setup.detector.area_mm2, setup.distance_cm)), xs_(xs) {
    air_ = xrl::nist_compound("Air, Dry (near sea level)");
}

double DetectorPath::air(double E) const {
    const double d = std::max(setup_.distance_cm, kNearest);
    return layer(air_.Z, air_.mass_fraction, air_.density, d, E);
}

double DetectorPath::slab(const Slab& s, double E) const {
    return layer(s.Z, s.mass_fraction, s.density, s.thickness_um * 1e-4, E);
}

double DetectorPath::filters(double E) const {
    const Filter& f = setup_.filter;
    double t = 1.0;
    if (!f.Z.empty() && f.thickness_um > 0.0)
        t *= layer(f.Z, f.mass_fraction, f.density, f.thickness_um * 1e-4, E);
    if (setup_.al_steps > 0) t *= element_layer(kAluminium, setup_.al_steps * kAlStepUm * 1e-4, E);
    return t;
}

double DetectorPath::window(double E) const {
    return element_layer(kBeryllium, std::max(setup_.detector.window_um, 0.0) * 1e-4, E);
}

double DetectorPath::efficiency(double E) const {
    const int Z = setup_.detector.crystal == Crystal::ge ? kGermanium : kSilicon;
    const double photo = xs_ ? xs_->photo(Z, E) : xrl::cs_photo(Z, E);
    const double x =
        photo * xrl::element_density(Z) * std::max(setup_.detector.crystal_mm, 0.0) * 0.1;
    return std::isfinite(x) && x > 0.0 ? -std::expm1(-x) : 0.0;
}

double DetectorPath::T(double E) const {
    if (auto it = T_.find(E); it != T_.end()) return it->second;
    return T_[E] = air(E) * filters(E) * window(E) * efficiency(E);
}

}  // namespace lumetra::physics
