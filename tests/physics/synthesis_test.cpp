// The spectrum and the planning figures from hand-made line and scatter rates.

#include "physics/synthesis.h"

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumetra::physics {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A germanium detector: no escape peaks below its K edge, 11.103 keV.
physics::Setup germanium_setup() {
    physics::Setup s;
    s.sample = {{26, 1.0}, {25, 1.0}};
    s.detector = default_detector(Crystal::ge);  // 150 eV, 1 us, 0.2 us
    s.target_lines = {KL3_LINE};
    s.full_energy = 30.0;
    return s;
}

LineRate line_at(int element, double E, double rate) {
    LineRate l;
    l.element = element;
    l.Z = element == 0 ? 26 : 25;
    l.line = KL3_LINE;
    l.energy = E;
    l.primary = rate;
    return l;
}

Result run(const physics::Setup& s, const std::vector<LineRate>& lines,
           const Scatter& scatter = {}) {
    Result r;
    r.lines = lines;
    synthesise(s, Sample(s), Response(s.detector), scatter, r);
    return r;
}

double sum(const Channels& c, int first = 0, int last = kChannels - 1) {
    double total = 0.0;
    for (int n = first; n <= last; ++n) total += c[n];
    return total;
}

// FWHM / sigma of a Gaussian.
const double kFwhmPerSigma = 2.0 * std::sqrt(2.0 * std::log(2.0));

// Germanium FWHM by hand, keV: sqrt(150^2 + (2 sqrt(2 ln 2))^2 x 0.106 x 2.96 (E - 5898 eV)).
double ge_fwhm(double E) {
    return 1e-3 * std::sqrt(150.0 * 150.0 +
                            kFwhmPerSigma * kFwhmPerSigma * 0.106 * 2.96 * (E * 1e3 - 5898.0));
}

double Phi(double z) {
    return 0.5 * std::erfc(-z / std::sqrt(2.0));
}

TEST(Synthesis, CountsAreConservedAndDeadTimeIsParalysable) {
    physics::Setup s = germanium_setup();
    s.detector.peak_to_background = 1000.0;
    s.marked = 1;
    Scatter sc;
    sc.rayleigh = {20.0, 3e4, 0.0};
    sc.compton = {19.2, 2e4, 300.0};
    const Result r = run(s, {line_at(0, 6.4, 1e4), line_at(1, 17.48, 4e4)}, sc);
    ASSERT_TRUE(r.ok);
    // ICR 1e5 and tau 1 us: OCR = 1e5 e^-0.1 = 90483.74.
    EXPECT_DOUBLE_EQ(r.figures.icr, 1e5);
    EXPECT_NEAR(r.figures.ocr, 90483.74, 0.01);
    EXPECT_NEAR(r.figures.dead_time, 1.0 - std::exp(-0.1), 1e-12);
    // Every detected event lands once in the total (peaks, escape peaks and shelves)
    // at the output rate, and the pile-up peaks are recorded on top of them.
    EXPECT_NEAR(sum(r.layers.total), r.figures.ocr + sum(r.layers.pileup), 1e-6 * r.figures.ocr);
    EXPECT_GT(sum(r.layers.escape), 0.0);  // 17.48 keV and the scatter are above the Ge edge
    EXPECT_GT(sum(r.layers.pileup), 0.0);
    EXPECT_GT(sum(r.layers.elastic), 0.0);
    EXPECT_GT(sum(r.layers.mark), 0.0);
    EXPECT_NEAR(sum(r.layers.target), sum(r.layers.line), 1e-9);  // one target line
    // The counted line sits at 6.4 keV on the scale of 30 keV at channel 1024.
    double moment = 0.0;
    for (int n = 0; n < kChannels; ++n) moment += n * 30.0 / 1024 * r.layers.line[n];
    EXPECT_NEAR(moment / sum(r.layers.line), 6.4, 1e-4);
    for (int n = 0; n < kChannels; ++n) {
        EXPECT_LE(r.layers.line[n], r.layers.target[n] + 1e-12);
        EXPECT_LE(r.layers.target[n] + r.layers.mark[n] + r.layers.elastic[n] + r.layers.escape[n] +
                      r.layers.pileup[n],
                  r.layers.total[n] + 1e-9);
    }
}

// Lines A (3.0 keV, 1e4/s) and B (4.5 keV, 2e4/s), tau_pp 0.2 us, no shelf, dead time
// negligible. Ordered pairs: 2 x 3.0 keV: tau Ra^2 = 20/s; 7.5 keV: (A,B) and (B,A),
// 2 tau Ra Rb = 80/s; 9.0 keV: tau Rb^2 = 80/s.
TEST(Synthesis, PileUpOfTwoPeaks) {
    physics::Setup s = germanium_setup();
    s.detector.peak_to_background = 1e300;
    s.detector.dead_time_us = 1e-9;
    const Result r = run(s, {line_at(0, 3.0, 1e4), line_at(1, 4.5, 2e4)});
    const double d = 30.0 / 1024;
    auto around = [&](double E) {
        return sum(r.layers.pileup, static_cast<int>((E - 0.5) / d),
                   static_cast<int>((E + 0.5) / d));
    };
    EXPECT_NEAR(around(6.0), 20.0, 20.0 * 1e-6);
    EXPECT_NEAR(around(7.5), 80.0, 80.0 * 1e-6);
    EXPECT_NEAR(around(9.0), 80.0, 80.0 * 1e-6);
    EXPECT_NEAR(sum(r.layers.pileup), 180.0, 180.0 * 1e-6);
}

// Target Fe K-alpha 6.4 keV (1e4/s), another line at 6.49 keV (2e4/s); Ge, 150 eV,
// peak-to-background 1000: shelf share f = 5.898 / (1.0645 x 0.150) / 1000; g = e^-0.03.
// S = g R1 (1 - f) erf(sqrt(ln 2)) (the share of a Gaussian within +- FWHM / 2);
// B = g [R2 (1 - f) (Phi(z_hi) - Phi(z_lo)) + f W (R1 / 2 / 6.4 + R2 / 6.49)] over the same
// window 6.4 +- W / 2, W = FWHM(6.4); the target's own shelf stops mid-window.
TEST(Synthesis, SignalBackgroundAndTimePerPoint) {
    physics::Setup s = germanium_setup();
    s.detector.peak_to_background = 1000.0;
    const Result r = run(s, {line_at(0, 6.4, 1e4), line_at(1, 6.49, 2e4)});
    const double g = std::exp(-0.03), f = 5.898 / (1.0645 * 0.150) / 1000.0;
    const double W = ge_fwhm(6.4), sigma2 = ge_fwhm(6.49) / kFwhmPerSigma;
    const double z_lo = (6.4 - W / 2 - 6.49) / sigma2, z_hi = (6.4 + W / 2 - 6.49) / sigma2;
    const double S = g * 1e4 * (1 - f) * std::erf(std::sqrt(std::log(2.0)));
    const double B =
        g * (2e4 * (1 - f) * (Phi(z_hi) - Phi(z_lo)) + f * W * (1e4 / 2 / 6.4 + 2e4 / 6.49));
    EXPECT_NEAR(r.figures.target_energy, 6.4, 1e-12);
    EXPECT_NEAR(r.figures.window_width, W, 1e-9);
    EXPECT_NEAR(r.figures.target, S, 1e-6 * S);
    EXPECT_NEAR(r.figures.background, B, 1e-6 * B);
    EXPECT_NEAR(r.figures.time_per_point, (S + B) / (S * S * 1e-6), 1e-6);
    EXPECT_NEAR(r.figures.window_share, 0.760968, 1e-6);
    EXPECT_NEAR(r.target_share, 100.0 / 3.0, 1e-9);
}

// S is the part of the target's peak inside the window of n FWHM: 0.761 of it in one
// FWHM, 0.9815 in two; B grows with the window, and a width that is no number above 0
// counts as one FWHM, one above the widest the settings allow as that.
TEST(Synthesis, TheCountingWindowHoldsItsShareOfTheTargetPeak) {
    physics::Setup s = germanium_setup();
    s.detector.peak_to_background = 1000.0;
    const std::vector<LineRate> lines = {line_at(0, 6.4, 1e4), line_at(1, 6.49, 2e4)};
    const Result one = run(s, lines);
    s.count_window_fwhm = 2.0;
    const Result two = run(s, lines);
    EXPECT_NEAR(one.figures.window_share, 0.760968, 1e-6);
    EXPECT_NEAR(two.figures.window_share, 0.981468, 1e-6);
    EXPECT_NEAR(two.figures.window_width, 2.0 * one.figures.window_width, 1e-12);
    EXPECT_NEAR(two.figures.target / one.figures.target, 0.981468 / 0.760968, 1e-6);
    EXPECT_GT(two.figures.background, one.figures.background);
    for (double odd : {0.0, -1.0, kNaN}) {
        s.count_window_fwhm = odd;
        EXPECT_DOUBLE_EQ(run(s, lines).figures.target, one.figures.target) << odd;
    }
    s.count_window_fwhm = 1e300;
    const Result widest = run(s, lines);
    EXPECT_NEAR(widest.figures.window_width, 10.0 * one.figures.window_width, 1e-12);
    EXPECT_NEAR(widest.figures.window_share, 1.0, 1e-12);
}

// The list of what lies near the target line is made of B's own parts: each part
// at most B, together at most B, strongest first; with no shelf and no escape the
// parts are the other peaks and the pile-up peaks, and they add up to B.
TEST(Synthesis, NeighboursArePartsOfTheBackground) {
    physics::Setup s = germanium_setup();
    s.detector.peak_to_background = 1000.0;
    // Target at 6.4 keV; a line at 6.49 keV; two lines of 3.2 keV pile up onto 6.4 keV.
    LineRate low = line_at(1, 3.2, 2e5);
    low.line = KM3_LINE;
    const Result r = run(s, {line_at(0, 6.4, 1e4), line_at(1, 6.49, 2e4), low});
    const Figures& f = r.figures;
    const std::vector<BackgroundPart>& parts = r.background_parts;
    ASSERT_GT(parts.size(), 2u);
    double sum = 0.0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const BackgroundPart& p = parts[i];
        EXPECT_LE(p.rate, f.background) << i;
        if (i > 0) {
            EXPECT_LE(p.rate, parts[i - 1].rate) << i;
        }
        sum += p.rate;
    }
    // B is the sum of all its parts.
    EXPECT_NEAR(sum, f.background, 1e-12 * f.background);
    auto has = [&](BackgroundPart::Kind k) {
        return std::any_of(parts.begin(), parts.end(),
                           [&](const BackgroundPart& p) { return p.kind == k; });
    };
    EXPECT_TRUE(has(BackgroundPart::Kind::pileup));
    EXPECT_TRUE(has(BackgroundPart::Kind::shelf));
    EXPECT_TRUE(has(BackgroundPart::Kind::peak));

    // With shelves of no weight the other peaks and the pile-up peaks are B.
    s.detector.peak_to_background = 1e300;
    const Result bare = run(s, {line_at(0, 6.4, 1e4), line_at(1, 6.49, 2e4), low});
    double whole = 0.0;
    for (const BackgroundPart& p : bare.background_parts)
        if (p.kind != BackgroundPart::Kind::shelf) whole += p.rate;
    EXPECT_NEAR(whole, bare.figures.background, 1e-9 * bare.figures.background);
}

// Past the highest output rate (ICR tau > 1) S and B vanish with the output rate,
// while the overload ICR tau and S / B keep their meaning: S / B is that of a
// detector without dead time.
TEST(Synthesis, AParalysedDetectorKeepsItsOverloadAndSignalToBackground) {
    physics::Setup s = germanium_setup();
    s.detector.peak_to_background = 1000.0;
    s.detector.dead_time_us = 1e-6;
    const std::vector<LineRate> lines = {line_at(0, 6.4, 1e7), line_at(1, 6.49, 2e7)};
    const Result quick = run(s, lines);
    s.detector.dead_time_us = 20.0;  // ICR 3e7 x 20 us = 600: e^-600 of the counts are left
    const Result slow = run(s, lines);
    EXPECT_FALSE(quick.figures.paralysed());
    EXPECT_TRUE(slow.figures.paralysed());
    EXPECT_NEAR(slow.figures.overload, 600.0, 1e-9);
    EXPECT_LT(slow.figures.target, 1e-200);
    EXPECT_NEAR(slow.figures.signal_to_background, quick.figures.signal_to_background,
                1e-9 * quick.figures.signal_to_background);
    EXPECT_NEAR(quick.figures.signal_to_background, quick.figures.target / quick.figures.background,
                1e-9 * quick.figures.signal_to_background);
    // The neighbours keep their shares of B, which the vanishing rates cannot give.
    ASSERT_EQ(slow.background_parts.size(), quick.background_parts.size());
    ASSERT_GT(quick.background_parts.size(), 0u);
    for (std::size_t i = 0; i < quick.background_parts.size(); ++i) {
        const BackgroundPart& q = quick.background_parts[i];
        EXPECT_NEAR(q.share, q.rate / quick.figures.background, 1e-9);
        EXPECT_NEAR(slow.background_parts[i].share, q.share, 1e-9);
    }
    // At exactly the highest output rate the detector is not yet paralysed.
    s.detector.dead_time_us = 1.0 / 3.0e7 * 1e6;
    EXPECT_FALSE(run(s, lines).figures.paralysed());
}

// The shelves of lines low on a long scale end far below its top: the channels
// above hold no count, and none below 0 (a running sum of differences left
// -1e-16 there).
TEST(Synthesis, NoLayerHoldsANegativeCount) {
    physics::Setup s = germanium_setup();
    s.detector.peak_to_background = 300.0;
    for (double full : {12.0, 30.0, 97.3}) {
        s.full_energy = full;
        Scatter sc;
        sc.rayleigh = {9.1, 3.3e5, 0.0};
        sc.compton = {8.9, 7.7e4, 250.0};
        const Result r =
            run(s, {line_at(0, 6.4, 1.37e4), line_at(1, 5.9, 2.9e5), line_at(1, 6.49, 4.1e4)}, sc);
        for (const Channels* c : {&r.layers.total, &r.layers.target, &r.layers.line, &r.layers.mark,
                                  &r.layers.elastic, &r.layers.escape, &r.layers.pileup})
            for (int n = 0; n < kChannels; ++n) ASSERT_GE((*c)[n], 0.0) << full << " " << n;
    }
}

// Pure Fe, 45/45 degrees, E0 7.2 keV, line 6.4 keV: bulk s = tau_K(7.2) / (mu(7.2) +
// mu(6.4)); a film of optical depth x keeps 1 - x / (e^x - 1): x / 2 when thin, 0.41802
// at x = 1, 1 when thick.
TEST(Synthesis, SelfAbsorptionBulkAndFilm) {
    physics::Setup s = germanium_setup();
    s.sample = {{26, 1.0}};
    s.E0 = 7.2;
    const double mu = CS_Total_Kissel(26, 7.2, nullptr) + CS_Total_Kissel(26, 6.4, nullptr);
    const double bulk = CS_Photo_Partial(26, K_SHELL, 7.2, nullptr) / mu;
    const std::vector<LineRate> lines = {line_at(0, 6.4, 1e4)};
    EXPECT_NEAR(run(s, lines).figures.self_absorption, bulk, 1e-6 * bulk);
    s.film = true;
    s.density = 7.874;
    const double x1_cm = std::sqrt(0.5) / (mu * s.density);  // chi rho t = 1
    const struct {
        double t_cm, share;
    } films[] = {{1e-6 * x1_cm, 0.5e-6}, {x1_cm, 0.418023}, {100 * x1_cm, 1.0}};
    for (const auto& c : films) {
        s.thickness_cm = c.t_cm;
        EXPECT_NEAR(run(s, lines).figures.self_absorption, bulk * c.share, 1e-5 * bulk * c.share);
    }
    s.E0 = 7.0;  // below the Fe K edge
    EXPECT_EQ(run(s, lines).figures.self_absorption, 0.0);
}

bool finite(const Result& r) {
    const Figures& f = r.figures;
    for (double v : {f.icr, f.ocr, f.dead_time, f.target, f.background, f.time_per_point,
                     f.self_absorption, f.target_energy, f.window_width, r.target_share})
        if (!std::isfinite(v)) return false;
    for (const Channels* c : {&r.layers.total, &r.layers.target, &r.layers.line, &r.layers.mark,
                              &r.layers.elastic, &r.layers.escape, &r.layers.pileup})
        for (double v : *c)
            if (!std::isfinite(v) || v < 0.0) return false;
    return true;
}

TEST(Synthesis, OddInputsStayFinite) {
    auto check = [](const Result& r, bool ok, double tag) {
        EXPECT_TRUE(finite(r)) << tag;
        EXPECT_EQ(r.ok, ok) << tag;
        EXPECT_EQ(r.reason.empty(), ok) << tag;
    };
    check(run(germanium_setup(), {}), false, 0);
    // A line counts only with a usable rate (huge ones are capped) and energy.
    const struct {
        double rate, E;
        bool ok;
    } lines[] = {{0, 6.4, false},    {kNaN, 6.4, false}, {-5, 6.4, false},   {1e300, 6.4, true},
                 {1e4, kNaN, false}, {1e4, -1, false},   {1e4, 1e300, false}};
    for (const auto& c : lines)
        check(run(germanium_setup(), {line_at(0, c.E, c.rate)}), c.ok, c.rate);
    // The reported rates obey the cap the spectrum uses: the input rate is their sum.
    Scatter huge;
    huge.rayleigh = {12.0, 1e300, 0.0};
    const Result capped =
        run(germanium_setup(),
            {line_at(0, 6.4, 1e300), line_at(1, 5.9, kNaN), line_at(1, 6.5, 4e30)}, huge);
    EXPECT_EQ(capped.lines[0].total(), 1e30);
    EXPECT_EQ(capped.lines[1].total(), 0.0);
    EXPECT_EQ(capped.lines[2].total(), 1e30);
    EXPECT_EQ(capped.rayleigh.rate, 1e30);
    EXPECT_DOUBLE_EQ(capped.figures.icr, 3e30);
    // A scale without energy gives no spectrum; odd times give finite figures.
    const struct {
        double full_energy, dead_us, pair_us;
        bool ok;
    } setups[] = {{0, 1, 0.2, false},     {-20, 1, 0.2, false},    {kNaN, 1, 0.2, false},
                  {1e-300, 1, 0.2, true}, {1e300, 1, 0.2, true},   {30, 0, 0.2, true},
                  {30, kNaN, -1, true},   {30, 1e300, 1e300, true}};
    for (const auto& c : setups) {
        physics::Setup s = germanium_setup();
        s.full_energy = c.full_energy;
        s.detector.dead_time_us = c.dead_us;
        s.detector.pulse_pair_us = c.pair_us;
        check(run(s, {line_at(0, 6.4, 1e4)}), c.ok, c.full_energy);
    }
    physics::Setup odd = germanium_setup();
    odd.marked = 99;
    odd.target_lines.clear();
    odd.sample.clear();
    odd.E0 = kNaN;
    check(run(odd, {line_at(0, 6.4, 1e4)}), true, 99);
}

}  // namespace
}  // namespace lumetra::physics
