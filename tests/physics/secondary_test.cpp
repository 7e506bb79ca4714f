// Secondary fluorescence in binary samples against a brute-force integration over the
// depth z where line k is born and the direction cosine x of its photons.

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <vector>

#include "physics/fluorescence.h"
#include "reference.h"

namespace lumetra::physics {
namespace {

using reference::kPi;

using reference::mu_of;

// Share of the photons of k born isotropically at depth z going at cos theta x (down
// positive) that are absorbed in the sample at depth z' and whose L photons leave at
// psi_out: int_0^R mu_k exp(-mu_k r) exp(-b z') dr along the path, z' = z + r x.
double path_share(double mu_k, double b, double z, double x, double t) {
    const double R = x > 0.0 ? (t - z) / x : z / -x;  // to the bottom or the surface
    const double kappa = mu_k + b * x;                // exp(-b z) exp(-kappa r)
    if (std::isinf(R)) return mu_k * std::exp(-b * z) / kappa;
    if (std::fabs(kappa * R) < 1e-9) return mu_k * R * std::exp(-b * z);
    return mu_k * (std::exp(-b * z) - std::exp(-b * z - kappa * R)) / kappa;
}

struct Case {
    const char* name;
    int Zj, Zi;                         // excited and exciting element
    double wj;                          // mass fraction of the excited one
    std::vector<int> Ls;                // excited lines of one shell; the last is checked
    std::vector<int> ks;                // exciting lines
    double E0, psi_in, psi_out, rho_t;  // keV, degrees, g/cm2 (0: bulk)
};

struct Ratios {
    double measured, expected;  // secondary / primary
};

// add_secondary's ratio, and the same from a midpoint sum over z and x:
// S / P = sum_k w_i sigma_k(E0) (w_j sigma_L(E_k) / mu_k) int dz exp(-a z) (1/2) int dx share
//         / (w_j sigma_L(E0) (1 - exp(-(a + b) t)) / (a + b)).
Ratios run(const Case& c, bool brute_force = true) {
    Setup setup;
    setup.sample = {{c.Zj, c.wj / AtomicWeight(c.Zj, nullptr)},
                    {c.Zi, (1.0 - c.wj) / AtomicWeight(c.Zi, nullptr)}};
    setup.E0 = c.E0;
    setup.psi_in_deg = c.psi_in, setup.psi_out_deg = c.psi_out;
    setup.film = c.rho_t > 0.0, setup.density = 1.0, setup.thickness_cm = c.rho_t;
    const Sample sample(setup);
    const DetectorPath path(setup);
    const int L = c.Ls.back(), j = static_cast<int>(c.Ls.size()) - 1;
    const double EL = LineEnergy(c.Zj, L, nullptr);
    std::vector<LineRate> lines;
    for (int l : c.Ls) lines.push_back({0, c.Zj, l, LineEnergy(c.Zj, l, nullptr), 1.0, 0.0});
    for (int k : c.ks) lines.push_back({1, c.Zi, k, LineEnergy(c.Zi, k, nullptr), 1.0, 0.0});
    add_secondary(lines, setup, sample, path);

    const std::vector<int> Z = {c.Zj, c.Zi};
    const std::vector<double> w = {c.wj, 1.0 - c.wj};
    const double sin_in = std::sin(c.psi_in * kPi / 180), sin_out = std::sin(c.psi_out * kPi / 180);
    const double a = mu_of(Z, w, c.E0) / sin_in, b = mu_of(Z, w, EL) / sin_out;
    const double t = c.rho_t > 0.0 ? c.rho_t : INFINITY, depth = std::fmin(t, 40.0 / a);
    const double primary = w[0] * CS_FluorLine_Kissel_Cascade(c.Zj, L, c.E0, nullptr) *
                           -std::expm1(-(a + b) * t) / (a + b);
    const double detected = setup.flux * path.omega() / (4 * kPi) * path.T(EL) / sin_in;
    const int n = brute_force ? 2000 : 0;
    double secondary = 0.0;
    for (std::size_t k = 0; k < c.ks.size() && n > 0; ++k) {
        const double Ek = lines[j + 1 + k].energy, mu_k = mu_of(Z, w, Ek);
        double sum = 0.0;
        for (int iz = 0; iz < n; ++iz) {
            const double z = (iz + 0.5) * depth / n;
            for (int ix = 0; ix < n; ++ix)
                sum += std::exp(-a * z) * path_share(mu_k, b, z, -1.0 + (ix + 0.5) * 2.0 / n, t);
        }
        secondary += w[1] * CS_FluorLine_Kissel_Cascade(c.Zi, c.ks[k], c.E0, nullptr) * w[0] *
                     CS_FluorLine_Kissel_Cascade(c.Zj, L, Ek, nullptr) / mu_k * sum * (depth / n) *
                     (1.0 / n);
    }
    return {lines[j].secondary / (detected * primary), secondary / primary};
}

const std::vector<int> kFeK = {KL2_LINE, KL3_LINE, KM3_LINE}, kNiK = {KL3_LINE, KM3_LINE},
                       kBaL3 = {L3M4_LINE, L3M5_LINE};

TEST(Secondary, BinaryAlloysMatchBruteForce) {
    // name, excited Z, exciting Z, w_j, excited lines, exciting lines, E0, psi_in, psi_out, rho t
    const Case cases[] = {
        {"Cr in Fe80Cr20", 24, 26, 0.2, {KL3_LINE}, kFeK, 10.0, 45, 45, 0.0},
        {"Cr in Fe80Cr20, 5 um", 24, 26, 0.2, {KL3_LINE}, kFeK, 10.0, 45, 45, 5e-4 * 7.8},
        {"Fe in Fe50Ni50, low exit", 26, 28, 0.5, {KM3_LINE, KL3_LINE}, kNiK, 12.0, 60, 10, 0.0},
        {"Ba L3 in Ba-Fe, 1 um", 56, 26, 0.3, kBaL3, kFeK, 8.0, 30, 60, 1e-4 * 5.3},
    };
    for (const Case& c : cases) {
        const Ratios r = run(c);
        EXPECT_NEAR(r.measured / r.expected, 1.0, 0.005) << c.name << ": " << r.measured;
    }
    // Cr K-alpha gains tens of per cent from Fe K. By hand, with rounded table values
    // (cm2/g): sigma_FeK(10) ~ 150 x 0.35 = 52, sigma_CrKa(10) ~ 120 x 0.28 x 0.88 = 30,
    // sigma_CrKa(6.4) ~ 420 x 0.28 x 0.88 = 100, mu(6.4) ~ 0.8 x 70 + 0.2 x 480 = 152,
    // a ~ 160 / 0.707 = 226, b ~ 97 / 0.707 = 137:
    // S / P ~ (0.8 x 52) / (0.2 x 30) x 0.2 x 100 / 2 x [ln(1 + 226 / 152) / 226
    //         + ln(1 + 137 / 152) / 137] = 6.9 x 10 x 0.0087 = 0.60.
    const double cr = run(cases[0], false).measured;
    EXPECT_GT(cr, 0.45);
    EXPECT_LT(cr, 0.75);
}

TEST(Secondary, FilmGoesFromNothingToBulk) {
    Case c = {"", 24, 26, 0.2, {KL3_LINE}, kFeK, 10.0, 45, 45, 0.0};
    const double bulk = run(c, false).measured;
    double last = 0.0;
    for (double rho_t : {1e-7, 1e-5, 1e-3, 1e-2, 1.0}) {
        c.rho_t = rho_t;
        const double ratio = run(c, false).measured;
        EXPECT_GT(ratio, last) << rho_t;
        last = ratio;
        if (rho_t == 1e-7) {
            EXPECT_LT(ratio, 1e-3 * bulk);
        }
    }
    EXPECT_NEAR(last / bulk, 1.0, 0.01);
}

TEST(Secondary, NothingFromBadInputs) {
    physics::Setup good;
    good.sample = {{24, 1.0}, {26, 4.0}};
    const LineRate cr = {0, 24, KL3_LINE, 5.415, 1, 0}, fe = {1, 26, KL3_LINE, 6.404, 1, 0};
    // The secondary rate add_secondary gives the first line.
    auto first = [](const physics::Setup& s, std::vector<LineRate> lines) {
        add_secondary(lines, s, Sample(s), DetectorPath(s));
        return lines.front().secondary;
    };
    EXPECT_GT(first(good, {cr, fe}), 0.0);
    // Cr K lines lie below the Fe K edge. Pb K lines lie above the Pb L edges, but an
    // element does not excite itself, even when it is listed twice.
    EXPECT_EQ(first(good, {fe, cr}), 0.0);
    physics::Setup s = good;
    s.E0 = 100.0, s.sample = {{82, 1.0}, {82, 1.0}};
    const double E_La = LineEnergy(82, L3M5_LINE, nullptr),
                 E_Ka = LineEnergy(82, KL3_LINE, nullptr);
    EXPECT_EQ(first(s, {{0, 82, L3M5_LINE, E_La, 1, 0}, {1, 82, KL3_LINE, E_Ka, 1, 0}}), 0.0);
    const std::vector<void (*)(physics::Setup&)> bad = {
        [](physics::Setup& s) { s.flux = 0.0; },
        [](physics::Setup& s) { s.flux = NAN; },
        [](physics::Setup& s) { s.film = true, s.thickness_cm = 0.0; },
        [](physics::Setup& s) { s.E0 = 0.5; },
        [](physics::Setup& s) { s.sample.clear(); },
    };
    for (auto spoil : bad) {
        s = good;
        spoil(s);
        EXPECT_EQ(first(s, {cr, fe}), 0.0);
    }
    // A line naming no element of the sample, the wrong Z, an unknown line code.
    EXPECT_EQ(first(good, {{-1, 24, KL3_LINE, 5.415, 1, 0}, fe}), 0.0);
    EXPECT_EQ(first(good, {{0, 25, KL3_LINE, 5.9, 1, 0}, fe}), 0.0);
    EXPECT_EQ(first(good, {{0, 24, 12345, 5.415, 1, 0}, fe}), 0.0);
    // Extreme but defined: no angle, a film of almost nothing, a huge flux.
    s = good, s.psi_in_deg = 0.0, s.psi_out_deg = -5.0;
    EXPECT_TRUE(std::isfinite(first(s, {cr, fe})));
    s = good, s.film = true, s.thickness_cm = 1e-300;
    EXPECT_TRUE(std::isfinite(first(s, {cr, fe})));
    s = good, s.flux = 1e300;
    EXPECT_TRUE(std::isfinite(first(s, {cr, fe})));
}

}  // namespace
}  // namespace lumetra::physics
