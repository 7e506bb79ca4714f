// Secondary fluorescence between the pieces of the stack against a brute-force
// integration over the depth z where the exciting line is born, the direction cosine x
// of its photons and the path length r along which they are absorbed in the other piece.

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <vector>

#include "physics/detector_path.h"
#include "physics/model.h"
#include "reference.h"

namespace lumetra::physics {
namespace {

using reference::kPi;

// A piece of one element, pure: its own lines get no secondary fluorescence inside it.
struct Piece {
    int Z;
    double rho_t;  // g/cm2, infinite for bulk
    double mu(double E) const { return CS_Total_Kissel(Z, E, nullptr); }
};

// The share of the photons of E_k born at depth z of A going at cos theta x towards B
// that are absorbed in B, weighted by the escape exp(-b z') of what they excite at depth
// z' of B: int mu_B exp(-tau0 - mu_B r) exp(-b z'(r)) dr over the path in B, tau0 the
// optical path through A and the pieces between (D normal to the surface).
// mu_A and mu_B at E_k, cm2/g.
double share(const Piece& A, const Piece& B, bool below, double muA, double muB, double D, double b,
             double z, double x) {
    const double tau0 = (muA * (below ? A.rho_t - z : z) + D) / x;
    const double R = B.rho_t / x;  // the path across B
    // z' = r x below (from B's top), t_B - r x above.
    const double kappa = below ? muB + b * x : muB - b * x;
    const double start = below ? 1.0 : std::exp(-b * B.rho_t);
    const double across = std::isinf(R) ? 0.0 : std::exp(-kappa * R);
    const double path = std::fabs(kappa * R) < 1e-12 ? R : (1.0 - across) / kappa;
    return muB * std::exp(-tau0) * start * path;
}

struct Case {
    const char* name;
    physics::Setup setup;
    Piece A, B;   // exciting and excited piece
    bool below;   // B below A
    int layer_B;  // LineRate::layer of B
    std::vector<Piece> between, above_A, above_B;
};

// sum mu(E) rho t of the pieces.
double depth(const std::vector<Piece>& pieces, double E) {
    double d = 0.0;
    for (const Piece& p : pieces) d += p.mu(E) * p.rho_t;
    return d;
}

// Midpoint sums over z (1000) and x (1000), for every line k of A's element above the
// edge of B's K shell; rate as the model's S_L.
double brute_force(const Case& c, const Result& r, int line_L) {
    const physics::Setup& s = c.setup;
    const double si = std::sin(s.psi_in_deg * kPi / 180), so = std::sin(s.psi_out_deg * kPi / 180);
    const double EL = LineEnergy(c.B.Z, line_L, nullptr);
    const double a = c.A.mu(s.E0) / si, b = c.B.mu(EL) / so;
    const double t = std::fmin(c.A.rho_t, 50.0 / a);
    const int n = 1000;
    double sum = 0.0;
    for (const LineRate& k : r.lines) {
        if (k.Z != c.A.Z || k.energy <= EdgeEnergy(c.B.Z, K_SHELL, nullptr)) continue;
        const double D = depth(c.between, k.energy);
        const double muA = c.A.mu(k.energy), muB = c.B.mu(k.energy);
        double integral = 0.0;
        for (int iz = 0; iz < n; ++iz) {
            const double z = (iz + 0.5) * t / n;
            for (int ix = 0; ix < n; ++ix)
                integral +=
                    std::exp(-a * z) * share(c.A, c.B, c.below, muA, muB, D, b, z, (ix + 0.5) / n);
        }
        integral *= 0.5 * (t / n) * (1.0 / n);  // 1/2 of the directions go towards B
        const double sigma_L = CS_FluorLine_Kissel_Cascade(c.B.Z, line_L, k.energy, nullptr);
        sum += CS_FluorLine_Kissel_Cascade(c.A.Z, k.line, s.E0, nullptr) * sigma_L /
               c.B.mu(k.energy) * integral;
    }
    const double beam = std::exp(-depth(c.above_A, s.E0) / si);
    const double exit = std::exp(-depth(c.above_B, EL) / so);
    const double A = s.detector.area_mm2 / 100, d = s.distance_cm;
    const double omega = 2 * kPi * (1 - d / std::sqrt(d * d + A / kPi));
    return s.flux * omega / (4 * kPi) * DetectorPath(s).T(EL) / si * beam * exit * sum;
}

physics::Setup film(int Z, double density, double um) {
    physics::Setup s;
    s.sample = {{Z, 1.0}};
    s.film = true, s.density = density, s.thickness_cm = um * 1e-4;
    s.E0 = 10.0;
    s.psi_in_deg = 40.0, s.psi_out_deg = 55.0;
    s.target_lines = {KL3_LINE};
    return s;
}

TEST(SecondaryBetween, TwoAndThreePiecesMatchBruteForce) {
    const Piece cr_thin = {24, 7.19 * 2e-4}, cr_thick = {24, 7.19 * 20e-4},
                fe_thin = {26, 7.874 * 2e-4}, fe_thick = {26, 7.874 * 20e-4},
                fe_bulk = {26, INFINITY}, cr_cover = {24, 7.19 * 1e-4}, al = {13, 2.699 * 3e-4};
    // Cr 2 um on Fe 20 um: Fe K from below excites the Cr film.
    physics::Setup cr_on_fe = film(24, 7.19, 2.0);
    cr_on_fe.back = {{{26}, {1.0}, 7.874, 20.0}};
    // Fe 2 um on Cr 20 um: Fe K from the film excites the Cr below, seen through the Fe.
    physics::Setup fe_on_cr = film(26, 7.874, 2.0);
    fe_on_cr.back = {{{24}, {1.0}, 7.19, 20.0}};
    // Bulk Fe under 3 um Al under 1 um Cr: Fe K reaches the Cr through the aluminium.
    physics::Setup covered = film(26, 7.874, 1.0);
    covered.film = false;
    covered.front = {{{24}, {1.0}, 7.19, 1.0}, {{13}, {1.0}, 2.699, 3.0}};
    // A 2 um Fe foil over bulk Cr: Fe K from the foil excites the Cr below without end.
    physics::Setup foil = film(24, 7.19, 1.0);
    foil.film = false;
    foil.front = {{{26}, {1.0}, 7.874, 2.0}};
    const Case cases[] = {
        {"Fe foil over bulk Cr", foil, fe_thin, {24, INFINITY}, true, 0, {}, {}, {fe_thin}},
        {"Cr film on Fe", cr_on_fe, fe_thick, cr_thin, false, 0, {}, {cr_thin}, {}},
        {"Fe film on Cr", fe_on_cr, fe_thin, cr_thick, true, 1, {}, {}, {fe_thin}},
        {"Cr over Al over bulk Fe",
         covered,
         fe_bulk,
         cr_cover,
         false,
         -1,
         {al},
         {cr_cover, al},
         {}},
    };
    for (const Case& c : cases) {
        const Result r = calculate(c.setup);
        ASSERT_TRUE(r.ok) << c.name << r.reason;
        const double expected = brute_force(c, r, KL3_LINE);
        const LineRate* L = nullptr;
        for (const LineRate& l : r.lines)
            if (l.layer == c.layer_B && l.Z == c.B.Z && l.line == KL3_LINE) L = &l;
        ASSERT_NE(L, nullptr) << c.name;
        EXPECT_NEAR(L->secondary / expected, 1.0, 0.01) << c.name << ": " << L->secondary;
        // A sizeable effect: some per cent of the primary rate at least.
        EXPECT_GT(L->secondary, 0.02 * L->primary) << c.name;
    }
}

}  // namespace
}  // namespace lumetra::physics
