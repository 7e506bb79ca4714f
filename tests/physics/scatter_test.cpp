// Rayleigh and Compton scatter against rates worked out here from direct library calls.

#include "physics/scatter.h"

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <iterator>
#include <vector>

#include "reference.h"

namespace lumetra::physics {
namespace {

using reference::kPi;

struct Reference {
    double rayleigh, compton, EC;
};

// Straight from the library: w_i from atomic weights, dsigma polarised in the plane
// (or the unpolarised DCS), rate = Phi Omega sum w_i dsigma_i / (chi sin psi_in) T(E_s)
// for a bulk sample.
Reference expected(const Setup& s, bool unpolarised = false) {
    const double theta = (s.psi_in_deg + s.psi_out_deg) * kPi / 180, P = s.polarisation;
    const double EC = s.E0 / (1 + s.E0 / 511.0 * (1 - std::cos(theta)));
    auto dcs = [&](auto dcsp, auto plain, int Z) {
        if (unpolarised) return plain(Z, s.E0, theta, nullptr);
        return (1 + P) / 2 * dcsp(Z, s.E0, theta, 0, nullptr) +
               (1 - P) / 2 * dcsp(Z, s.E0, theta, kPi / 2, nullptr);
    };
    double total = 0, ray = 0, com = 0, mu0 = 0, muC = 0;
    for (const Component& c : s.sample) total += c.atoms * AtomicWeight(c.Z, nullptr);
    for (const Component& c : s.sample) {
        const double w = c.atoms * AtomicWeight(c.Z, nullptr) / total;
        ray += w * dcs(DCSP_Rayl, DCS_Rayl, c.Z);
        com += w * dcs(DCSP_Compt, DCS_Compt, c.Z);
        mu0 += w * CS_Total_Kissel(c.Z, s.E0, nullptr);
        muC += w * CS_Total_Kissel(c.Z, EC, nullptr);
    }
    const double si = std::sin(s.psi_in_deg * kPi / 180), so = std::sin(s.psi_out_deg * kPi / 180);
    const double A = s.detector.area_mm2 / 100, d = s.distance_cm;
    const double k = s.flux * 2 * kPi * (1 - d / std::sqrt(d * d + A / kPi)) / si;
    const DetectorPath path(s);
    return {k * ray / (mu0 / si + mu0 / so) * path.T(s.E0),
            k * com / (mu0 / si + muC / so) * path.T(EC), EC};
}

Setup make(std::vector<Component> sample, double E0, double psi_in = 45, double psi_out = 45) {
    Setup s;
    s.sample = std::move(sample);
    s.E0 = E0;
    s.psi_in_deg = psi_in;
    s.psi_out_deg = psi_out;
    return s;
}

Scatter run(const Setup& s) {
    return scatter_rates(s, Sample(s), DetectorPath(s));
}

const std::vector<Component> kWater = {{1, 2}, {8, 1}};
const std::vector<Component> kSteel = {{26, 70}, {24, 18}, {28, 10}};

TEST(Scatter, RatesMatchTheLibrary) {
    const physics::Setup cases[] = {make(kWater, 10), make(kSteel, 10), make(kWater, 30, 20, 100),
                                    make(kSteel, 25, 10, 30)};
    for (const physics::Setup& s : cases) {
        const Reference r = expected(s);
        const Scatter got = run(s);
        EXPECT_DOUBLE_EQ(got.rayleigh.energy, s.E0);
        EXPECT_NEAR(got.compton.energy, r.EC, 1e-4);
        EXPECT_NEAR(got.rayleigh.rate, r.rayleigh, 0.02 * r.rayleigh) << s.E0;
        EXPECT_NEAR(got.compton.rate, r.compton, 0.02 * r.compton) << s.E0;
        EXPECT_EQ(got.rayleigh.doppler_eV, 0.0);
    }
}

// At 90 degrees in the polarisation plane a fully polarised beam scatters (almost)
// nothing; an unpolarised one gives the library's unpolarised cross-sections.
TEST(Scatter, PolarisationAtNinetyDegrees) {
    physics::Setup s = make(kWater, 10);
    s.polarisation = 1;
    const Scatter full = run(s);
    s.polarisation = 0;
    const Scatter none = run(s);
    EXPECT_LT(full.rayleigh.rate, 0.01 * none.rayleigh.rate);
    EXPECT_LT(full.compton.rate, 0.01 * none.compton.rate);
    const Reference plain = expected(s, true);
    EXPECT_NEAR(none.rayleigh.rate, plain.rayleigh, 0.02 * plain.rayleigh);
    EXPECT_NEAR(none.compton.rate, plain.compton, 0.02 * plain.compton);
}

// Hydrogen's profile is 8 / (3 pi (1 + pz^2)^3): FWHM 2 sqrt(2^(1/3) - 1) = 1.01958 a.u.
// At 10 keV and 90 degrees E_C = 9.8081 keV, q = sqrt(E0^2 + E_C^2) = 14.0071 keV, so
// Delta E = 1.01958 x 14.0071 x 9.8081 / (137.036 x 10) keV = 102.2 eV.
TEST(Scatter, DopplerWidthOfHydrogen) {
    EXPECT_NEAR(run(make({{1, 1}}, 10)).compton.doppler_eV, 102.2, 1.0);

    // Water: J = sum (w_i / A_i) J_i is proportional to 2 J_H + J_O; its half
    // maximum scanned in steps of 1e-4 a.u., converted as above.
    auto J = [](double pz) {
        return 2 * ComptonProfile(1, pz, nullptr) + ComptonProfile(8, pz, nullptr);
    };
    double pz = 0;
    while (J(pz) > J(0) / 2) pz += 1e-4;
    EXPECT_NEAR(run(make(kWater, 10)).compton.doppler_eV, 2 * pz * 102.2 / 1.01958, 1.0);
}

// Nothing outside 1..150 keV, without flux or elements; finite values at the
// extremes of angle and energy.
TEST(Scatter, OddInputs) {
    const physics::Setup cases[] = {make(kWater, 0.5),
                                    make(kWater, 200),
                                    make(kWater, NAN),
                                    make({}, 10),
                                    make({{0, 1}, {120, 2}}, 10),
                                    make(kWater, 10),
                                    make(kSteel, 10, 0, 0),
                                    make(kSteel, 150, 180, 180),
                                    make(kSteel, 1.0)};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        physics::Setup s = cases[i];
        if (i == 5) s.flux = 0;
        const Scatter got = run(s);
        for (double v :
             {got.rayleigh.rate, got.compton.rate, got.compton.energy, got.compton.doppler_eV})
            EXPECT_TRUE(std::isfinite(v) && v >= 0) << i;
        if (i < 6) {
            EXPECT_EQ(got.rayleigh.rate + got.compton.rate, 0.0) << i;
        }
    }
}

}  // namespace
}  // namespace lumetra::physics
