// The XAFS scan preview: its energies, its agreement with the full calculation, its
// handling of odd inputs, and the edges it shows.

#include "physics/scan.h"

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <limits>

namespace lumetra::physics {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double edge_of(int Z, int shell) {
    return EdgeEnergy(Z, shell, nullptr);
}

// Stainless steel (atoms Fe 0.7, Cr 0.18, Ni 0.1) or a target in another matrix, K-alpha
// counted; a flux that leaves the detector a few per cent dead.
Setup counted(std::vector<Component> sample) {
    physics::Setup s;
    s.sample = std::move(sample);
    s.target_lines = {KL3_LINE, KL2_LINE};
    s.target_shell = K_SHELL;
    s.flux = 1e8;
    s.full_energy = 10.0;
    return s;
}
Setup steel() {
    return counted({{26, 0.7}, {24, 0.18}, {28, 0.1}});
}

// A point the preview can draw: a finite energy, figures finite and not negative.
bool drawable(const ScanPoint& p) {
    for (double v : {p.target, p.background, p.dead_time})
        if (!std::isfinite(v) || v < 0.0) return false;
    return std::isfinite(p.E) && p.dead_time <= 1.0;
}

// n points: n_pre = round(0.15 n / 1.15) below the edge in steps of 0.150 / n_pre keV from
// edge - 0.150, then edge + (i / n_post)^2 keV: 121 -> 15.78 -> 16 + 105, 2 -> 0.26 -> 1
// (at least one) + 1.
TEST(ScanEnergies, PreEdgeInEnergyStepsThenEqualWavenumberSteps) {
    const double edge = edge_of(26, K_SHELL);  // 7.112 keV
    struct Case {
        int n, pre, post;
    };
    for (const Case c : {Case{121, 16, 105}, Case{2, 1, 1}}) {
        SCOPED_TRACE(c.n);
        const std::vector<double> E = scan_energies(edge, c.n);
        ASSERT_EQ(E.size(), static_cast<std::size_t>(c.n));
        EXPECT_NEAR(E.front(), edge - 0.150, 1e-12);
        EXPECT_NEAR(E.back(), edge + 1.000, 1e-12);
        for (int j = 0; j < c.pre; ++j) EXPECT_NEAR(E[j], edge - 0.150 + j * 0.150 / c.pre, 1e-12);
        for (int i = 1; i <= c.post; ++i)  // k / k_max = sqrt((E - edge) / 1 keV) = i / n_post
            EXPECT_NEAR(std::sqrt(E[c.pre + i - 1] - edge), double(i) / c.post, 1e-9);
        EXPECT_LT(E[c.pre - 1], edge);
        EXPECT_GT(E[c.pre], edge);
    }
}

TEST(ScanEnergies, OddInputsAndTheLibraryRange) {
    for (double edge : {0.0, -7.0, kNaN, kInf}) EXPECT_TRUE(scan_energies(edge, 121).empty());
    for (int n : {0, -5}) EXPECT_TRUE(scan_energies(7.0, n).empty());
    EXPECT_EQ(scan_energies(7.0, 1).size(), 2u);
    EXPECT_EQ(scan_energies(7.0, 1 << 30).size(), 4096u);
    // Na K edge 1.0721 keV: the points below 1 keV are left out.
    const std::vector<double> sodium = scan_energies(edge_of(11, K_SHELL), 121);
    EXPECT_LT(sodium.size(), 121u);
    EXPECT_GE(sodium.front(), 1.0);
    EXPECT_LE(scan_energies(149.5, 121).back(), 150.0);

    physics::Setup s = steel();
    EXPECT_DOUBLE_EQ(scan_edge(s), edge_of(26, K_SHELL));
    s.target_shell = L3_SHELL;
    EXPECT_DOUBLE_EQ(scan_edge(s), edge_of(26, L3_SHELL));
    s.target_shell = 999;
    EXPECT_EQ(scan_edge(s), 0.0);
    s.sample.clear();
    EXPECT_EQ(scan_edge(s), 0.0);
    Model model;
    EXPECT_TRUE(scan(model, s).points.empty());
}

// Each point is the full calculation's S, B and dead time at its energy, from a model
// that has already calculated (its remembered values) and after a content edit. Potassium
// K-alpha (3.31 keV) piles up with itself next to the Fe K-alpha window.
TEST(ScanPoint, SameFiguresAsTheFullCalculation) {
    physics::Setup s = counted({{26, 0.7}, {24, 0.18}, {28, 0.1}, {19, 0.3}});
    s.flux = 1e9;
    Model model;
    scan(model, s, 30);
    for (double fe : {0.7, 0.5}) {
        s.sample[0].atoms = fe;
        for (double E : {7.0, 7.2, 7.3333, scan_energies(scan_edge(s))[60], 12.0}) {
            SCOPED_TRACE(E);
            physics::Setup at = s;
            at.E0 = E;
            const Figures f = calculate(at).figures;
            const ScanPoint p = scan_point(model, s, E);
            EXPECT_EQ(p.E, E);
            EXPECT_NEAR(p.target, f.target, 1e-9 * f.target);
            EXPECT_NEAR(p.background, f.background, 1e-9 * f.background);
            EXPECT_NEAR(p.dead_time, f.dead_time, 1e-9 * f.dead_time);
            EXPECT_GT(p.dead_time, 0.0);
        }
    }
}

TEST(ScanPoint, RefusedSetupsGiveZeros) {
    Model model;
    for (double E : {0.5, -1.0, 0.0, 200.0, 1e300, kNaN, kInf, -kInf}) {
        const ScanPoint p = scan_point(model, steel(), E);
        EXPECT_TRUE(drawable(p)) << E;
        EXPECT_EQ(p.target + p.background + p.dead_time, 0.0) << E;
    }
    physics::Setup dark = steel();
    dark.flux = -1.0;
    const Scan s = scan(model, dark);
    EXPECT_EQ(s.points.size(), 121u);
    for (const ScanPoint& p : s.points) EXPECT_EQ(p.target + p.background + p.dead_time, 0.0);
}

// Fe K in steel: nothing below the edge, the full rate above; the Ni K edge (8.333 keV)
// lies beyond the scan's end (8.112 keV), so S changes smoothly above the Fe edge.
// Mn K in iron: the Fe K edge (7.112 keV) lies inside Mn's scan (to 7.539 keV); above
// it iron's K-alpha shelf fills Mn's window, iron absorbs the beam and the detector.
TEST(ScanPhysics, TargetEdgeAndMatrixEdge) {
    Model model;
    const Scan fe = scan(model, steel());
    ASSERT_EQ(fe.points.size(), 121u);
    const ScanPoint &below = fe.points[15], &above = fe.points[16];
    EXPECT_GT(above.target, 1e3);
    EXPECT_LE(below.target, 1e-6 * above.target);
    EXPECT_LT(fe.points.back().E, edge_of(28, K_SHELL));
    for (std::size_t i = 17; i < fe.points.size(); ++i)
        EXPECT_NEAR(fe.points[i].target / fe.points[i - 1].target, 1.0, 0.02) << fe.points[i].E;

    const Scan mn = scan(model, counted({{25, 0.01}, {26, 0.99}}));
    const double fe_edge = edge_of(26, K_SHELL);
    std::size_t k = 0;
    while (k < mn.points.size() && mn.points[k].E < fe_edge) ++k;
    ASSERT_TRUE(k > 16 && k < mn.points.size());
    const ScanPoint &under = mn.points[k - 1], &over = mn.points[k];
    EXPECT_GT(over.background, 10.0 * under.background);
    EXPECT_LT(over.target, 0.5 * under.target);
    EXPECT_GT(over.dead_time, 10.0 * under.dead_time);
}

}  // namespace
}  // namespace lumetra::physics
