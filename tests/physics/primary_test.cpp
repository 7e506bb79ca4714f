// Primary fluorescence against rates worked out here from direct library calls.

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "physics/fluorescence.h"
#include "reference.h"

namespace lumetra::physics {
namespace {

using reference::kPi;

// w_Z = n_Z A_Z / sum n_i A_i and mu(E) = sum w_i CS_Total_Kissel(Z_i, E), cm2/g.
double mass_fraction(const std::vector<Component>& sample, int Z) {
    double total = 0.0, mine = 0.0;
    for (const Component& c : sample) {
        total += c.atoms * AtomicWeight(c.Z, nullptr);
        mine += c.Z == Z ? c.atoms * AtomicWeight(c.Z, nullptr) : 0.0;
    }
    return mine / total;
}

double mu(const std::vector<Component>& sample, double E) {
    double sum = 0.0;
    for (const Component& c : sample)
        sum += mass_fraction(sample, c.Z) * CS_Total_Kissel(c.Z, E, nullptr);
    return sum;
}

// R = Phi Omega / 4 pi w sigma_line F / sin psi_in T, with the disc's solid angle
// Omega = 2 pi (1 - d / sqrt(d^2 + A / pi)), A in cm2; 0 when the line is absent.
double expected(const Setup& s, int Z, int line) {
    const double E = LineEnergy(Z, line, nullptr);
    if (!(E > 1.0) || E >= s.E0) return 0.0;
    const double sin_in = std::sin(s.psi_in_deg * kPi / 180),
                 sin_out = std::sin(s.psi_out_deg * kPi / 180);
    const double chi = mu(s.sample, s.E0) / sin_in + mu(s.sample, E) / sin_out;
    const double F = s.film ? (1 - std::exp(-chi * s.density * s.thickness_cm)) / chi : 1 / chi;
    const double A = s.detector.area_mm2 / 100, d = s.distance_cm;
    const double omega = 2 * kPi * (1 - d / std::sqrt(d * d + A / kPi));
    return s.flux * omega / (4 * kPi) * mass_fraction(s.sample, Z) *
           CS_FluorLine_Kissel_Cascade(Z, line, s.E0, nullptr) * F / sin_in * DetectorPath(s).T(E);
}

Setup make(std::vector<Component> sample, double E0, double rho = 0, double t_cm = 0) {
    Setup s;
    s.sample = std::move(sample);
    s.E0 = E0;
    s.film = t_cm > 0;
    s.density = rho;
    s.thickness_cm = t_cm;
    return s;
}

std::vector<LineRate> run(const Setup& s) {
    return primary_lines(s, Sample(s), DetectorPath(s));
}

TEST(PrimaryLines, SingleLinesMatchTheLibrary) {
    struct Case {
        const char* name;
        physics::Setup setup;
        int Z, line;
    } cases[] = {
        {"pure iron", make({{26, 1}}, 10.0), 26, KL3_LINE},
        {"1e-3 Cu in water", make({{29, 1e-3}, {1, 2}, {8, 1}}, 10.0), 29, KL3_LINE},
        {"100 nm iron film", make({{26, 1}}, 10.0, 7.874, 1e-5), 26, KL3_LINE},
        {"Pb L3M5 in PbO", make({{82, 1}, {8, 1}}, 20.0), 82, L3M5_LINE},
        {"Pb M5N7 in PbO", make({{82, 1}, {8, 1}}, 20.0), 82, M5N7_LINE},
    };
    for (const Case& c : cases) {
        const double R = expected(c.setup, c.Z, c.line);
        int found = 0;
        for (const LineRate& l : run(c.setup)) {
            if (l.Z != c.Z || l.line != c.line) continue;
            ++found;
            EXPECT_NEAR(l.primary, R, 0.01 * R) << c.name;
            EXPECT_DOUBLE_EQ(l.energy, LineEnergy(c.Z, c.line, nullptr)) << c.name;
            EXPECT_EQ(l.secondary, 0.0) << c.name;
            EXPECT_EQ(c.setup.sample[static_cast<std::size_t>(l.element)].Z, c.Z) << c.name;
        }
        EXPECT_EQ(found, 1) << c.name;
    }
}

// Every K, L and M line above 1 keV of every element, and nothing else; the
// library's sums of lines (KO, L3O45, ...) are left out, their parts are counted.
// The library's combined codes and their parts: a sum counts exactly when none of
// its parts has a radiative rate of its own for the element.
bool counted(int Z, int line) {
    const std::map<int, std::vector<int>> sums = {
        {KO_LINE, {KO1_LINE, KO2_LINE, KO3_LINE, KO4_LINE, KO5_LINE, KO6_LINE, KO7_LINE}},
        {KP_LINE, {KP1_LINE, KP2_LINE, KP3_LINE, KP4_LINE, KP5_LINE}},
        {L1N67_LINE, {L1N6_LINE, L1N7_LINE}},
        {L1O45_LINE, {L1O4_LINE, L1O5_LINE}},
        {L1P23_LINE, {L1P2_LINE, L1P3_LINE}},
        {L2P23_LINE, {L2P2_LINE, L2P3_LINE}},
        {L3O45_LINE, {L3O4_LINE, L3O5_LINE}},
        {L3P23_LINE, {L3P2_LINE, L3P3_LINE}},
        {L3P45_LINE, {L3P4_LINE, L3P5_LINE}}};
    const auto it = sums.find(line);
    if (it == sums.end()) return true;
    for (int part : it->second)
        if (RadRate(Z, part, nullptr) > 0.0) return false;
    return true;
}

TEST(PrimaryLines, EveryExcitedLineOfEveryElement) {
    const physics::Setup s = make({{82, 1}, {26, 2}, {8, 4}}, 20.0);
    int count = 0;
    for (const Component& c : s.sample)
        for (int line = -1; line >= -219; --line)
            count += counted(c.Z, line) && expected(s, c.Z, line) > 0 ? 1 : 0;
    const std::vector<LineRate> lines = run(s);
    EXPECT_GT(count, 50);
    EXPECT_EQ(static_cast<int>(lines.size()), count);
    for (const LineRate& l : lines) {
        EXPECT_GT(l.energy, 1.0);
        EXPECT_NEAR(l.primary, expected(s, l.Z, l.line), 1e-6 * l.primary) << l.Z << " " << l.line;
    }
}

// Lead at 15 keV and platinum at 11.7 keV: their L3-O4,5 lines, which the library gives
// only summed as L3O45, are among the lines: 2.6 % and 1.6 % of L-alpha 1 by
// cross-section, somewhat more by rate (their photons, 1.5 keV above L-alpha 1, are
// less absorbed on the way out).
TEST(PrimaryLines, LinesGivenOnlySummedAreCounted) {
    const struct {
        int Z;
        double E0, share;
    } cases[] = {{82, 15.0, 0.0256}, {78, 11.7, 0.0156}};
    for (const auto& c : cases) {
        const std::vector<LineRate> lines = run(make({{c.Z, 1}}, c.E0));
        double la1 = 0.0, o45 = 0.0;
        for (const LineRate& l : lines) {
            if (l.line == L3M5_LINE) la1 = l.primary;
            if (l.line == L3O45_LINE) o45 = l.primary;
            EXPECT_NE(l.line, L3O4_LINE);
            EXPECT_NE(l.line, L3O5_LINE);
        }
        ASSERT_GT(la1, 0.0) << c.Z;
        EXPECT_GT(o45 / la1, c.share) << c.Z;
        EXPECT_LT(o45 / la1, 1.2 * c.share) << c.Z;
    }
}

// Nothing counted twice and nothing lost: the radiative rates of the L3 lines the model
// counts, parts and the sums given without parts, add up to the whole shell's, 1.
TEST(PrimaryLines, TheCountedLinesOfAShellCarryAllOfItsRadiation) {
    for (const auto& [Z, E0] : {std::pair{82, 15.0}, std::pair{78, 11.7}}) {
        const std::vector<LineRate> lines = run(make({{Z, 1}}, E0));
        double rates = 0.0;
        for (int line = -1; line >= -219; --line)
            if (physics::xrl::line_shell(line) == L3_SHELL && counted(Z, line))
                rates += RadRate(Z, line, nullptr);
        EXPECT_NEAR(rates, 1.0, 2e-3) << Z;
        // And the model's L3 lines are exactly those.
        double model_rate = 0.0, expected_rate = 0.0;
        for (const LineRate& l : lines) {
            if (physics::xrl::line_shell(l.line) != L3_SHELL) continue;
            model_rate += l.primary;
            expected_rate += expected(make({{Z, 1}}, E0), Z, l.line);
        }
        EXPECT_NEAR(model_rate, expected_rate, 1e-9 * expected_rate) << Z;
    }
}

TEST(PrimaryLines, OddInputsGiveNoLinesOrFiniteOnes) {
    const std::vector<Component> rust = {{26, 2}, {8, 3}};
    const struct {
        std::vector<Component> sample;
        double E0, flux;
        bool film, any;
    } cases[] = {
        {rust, 0.5, 1e12, false, false},
        {rust, 200, 1e12, false, false},
        {rust, NAN, 1e12, false, false},
        {{}, 10, 1e12, false, false},
        {rust, 10, 0, false, false},
        {rust, 10, -1e12, false, false},
        {{{26, 0}, {0, 1}, {120, 1}}, 10, 1e12, false, false},
        {rust, 10, 1e12, true, false},  // a film without thickness
        {rust, 10, 1e300, false, true},
        {rust, 150, 1e12, false, true},
    };
    for (const auto& c : cases) {
        physics::Setup s = make(c.sample, c.E0);
        s.flux = c.flux;
        s.film = c.film;
        const std::vector<LineRate> lines = run(s);
        EXPECT_EQ(!lines.empty(), c.any) << c.E0 << " " << c.flux;
        for (const LineRate& l : lines) EXPECT_TRUE(std::isfinite(l.primary) && l.primary > 0);
    }
}

}  // namespace
}  // namespace lumetra::physics
