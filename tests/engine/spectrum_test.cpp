#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/calculation.h"
#include "engine/peaks.h"
#include "fake_host.h"

namespace lumetra::engine {
namespace {

using testing::FakeHost;
using testing::kCopper;
using testing::kIron;
using testing::kStrontium;
using testing::sample;

double area(const Spectrum& a) { return std::accumulate(a.begin(), a.end(), 0.0); }
bool all_zero(const Spectrum& a) {
    return std::all_of(a.begin(), a.end(), [](double v) { return v == 0.0; });
}
std::size_t argmax(const Spectrum& a) {
    return static_cast<std::size_t>(std::max_element(a.begin(), a.end()) - a.begin());
}
const Spectrum CalcState::*const kLayers[] = {
    &CalcState::Spec_target, &CalcState::Spec_line,    &CalcState::Spec_mark,
    &CalcState::Spec_argon,  &CalcState::Spec_elastic, &CalcState::Spec_escape,
    &CalcState::Spec_pileup};

// Iron alone at 10 keV on a 20 keV scale: K-alpha 1 in channel 328, K-alpha 2 in 327,
// K-beta 1 and 3 in 361.
struct IronAlone : ::testing::Test {
    FakeHost host;
    CalcState st = sample({kIron});
    std::string share;
    void run() { share = Calc_spectrum(st, host); }
};

TEST_F(IronAlone, TotalPeaksAtTenThousandInTheStrongestLine) {
    run();
    EXPECT_EQ(argmax(st.Spec_total), 328u);
    EXPECT_LE(st.Spec_total[328], 10000.0);
    EXPECT_GT(st.Spec_total[328], 10000.0 * (1 - 1e-6));
    for (std::size_t k = 0; k < st.Spec_total.size(); ++k)
        ASSERT_NEAR(st.Spec_target[k], st.Spec_total[k], 1e-12 * 10000) << k;
    EXPECT_TRUE(all_zero(st.Spec_mark));
    EXPECT_EQ(host.notices, 1);
}

TEST_F(IronAlone, EachCallStartsFromClearedArrays) {
    st = sample({kCopper});
    run();
    st.Elem_z[0] = kIron.z;
    st.Elem_mass[0] = kIron.mass;
    run();
    CalcState fresh = sample({kIron});
    Calc_spectrum(fresh, host);
    EXPECT_EQ(st.Spec_total, fresh.Spec_total);
    for (auto layer : kLayers) EXPECT_EQ(st.*layer, fresh.*layer);
}

TEST_F(IronAlone, TargetLineLayer) {
    const PeakShape shape(20.0, 0.3);
    const double g = shape.coefficient();
    struct Case {
        std::int16_t target_line;
        int first, last;  // channels the line layer may cover
    };
    const Case cases[] = {
        {0, 304, 351},   // K-alpha 1 & 2: 327 - 23 .. 328 + 23
        {15, 305, 351},  // K-alpha 1
        {23, 338, 384},  // K-beta 1 & 3, both at 7.058 keV
        {17, 338, 384},
        {22, 1, 0},      // iron has no L-alpha lines
    };
    for (const Case& c : cases) {
        st.Target_line = c.target_line;
        run();
        for (int k = 0; k < kChannels; ++k) {
            if (k < c.first || k > c.last) {
                ASSERT_EQ(st.Spec_line[k], 0.0) << c.target_line << " " << k;
            }
            ASSERT_LE(st.Spec_line[k], st.Spec_target[k] * (1 + 1e-12)) << c.target_line << " " << k;
        }
        EXPECT_EQ(c.first <= c.last, st.Spec_line[(c.first + c.last) / 2] > 0) << c.target_line;
    }
    // The pair K-alpha 1 & 2 is the whole target below the K-beta window.
    st.Target_line = 0;
    run();
    for (int k = 0; k < 338; ++k) ASSERT_NEAR(st.Spec_line[k], st.Spec_target[k], 1e-9) << k;
    // K-alpha 1 alone is a single Gaussian about 328.
    st.Target_line = 15;
    run();
    EXPECT_NEAR(st.Spec_line[327] / st.Spec_line[328], std::exp(-g), 1e-12);
    EXPECT_NEAR(st.Spec_line[318] / st.Spec_line[328], std::exp(-100 * g), 1e-12);
}

TEST_F(IronAlone, TargetLineOutsideTheSlotsHasNoLayerAndNoShare) {
    for (std::int16_t line : {-10, 24, 32767, -32768}) {
        st.Target_line = line;
        run();
        EXPECT_TRUE(all_zero(st.Spec_line)) << line;
        EXPECT_EQ(share, " 0") << line;
        EXPECT_GT(st.Spec_target[328], 9000) << line;
    }
}

TEST_F(IronAlone, ShareOfTheTargetLine) {
    // Per cent of all line yields, six decimals, cut to 7 characters.
    auto expected = [&](int slot) {
        double S = 0;
        for (int j = 1; j <= 21; ++j) S += st.Line_yield[0][j];
        const double T = st.Line_yield[0][slot];
        return text::cut(text::Str(std::floor(1e8 * T / S + 0.5) / 1e6), 7);
    };
    for (std::int16_t line : {0, 15, 16, 17, 23}) {
        st.Target_line = line;
        run();
        EXPECT_EQ(share, expected(line)) << line;
        EXPECT_LE(share.size(), 7u);
    }
    st.Target_line = 0;
    run();
    const double alone = text::Val(share);
    EXPECT_GT(alone, 70);  // K-alpha carries most of iron's K emission
    EXPECT_LT(alone, 90);
    // The share of an element alone does not depend on how much of it there is,
    // down to traces whose summed yields are far below 1e-5.
    for (double content : {1e-3, 2e-7, 1e-12}) {
        st.Elem_content[0] = content;
        run();
        EXPECT_EQ(share, expected(0)) << content;
        EXPECT_NEAR(text::Val(share), alone, 1e-4) << content;
    }
    st = sample({kIron, kCopper});
    run();
    EXPECT_LT(text::Val(share), alone / 2);  // copper's lines join the total
}

TEST_F(IronAlone, ArgonAndElasticPeaks) {
    // Argon K-alpha (2.957 keV) in channel 151, K-beta (3.1905 keV) in 163; the
    // elastic peak at E0 = 10 keV in channel 512. Heights 0.0385, 0.005 and 0.05 on
    // the common scale.
    run();
    const double g = PeakShape(20.0, 0.3).coefficient();
    EXPECT_NEAR(st.Spec_argon[151] / st.Spec_elastic[512],
                (0.0385 + 0.005 * std::exp(-144 * g)) / 0.05, 1e-12);
    EXPECT_EQ(argmax(st.Spec_elastic), 512u);
    EXPECT_EQ(argmax(st.Spec_argon), 151u);
    // An incident energy above the scale has no elastic peak.
    host.values[Field::XrayEnergy] = 25.0;
    run();
    EXPECT_TRUE(all_zero(st.Spec_elastic));
}

TEST_F(IronAlone, GermaniumFluorescenceAboveItsKEdge) {
    // Iron's lines are below the germanium K edge and cannot escape: the escape
    // layer holds only the detector's own germanium lines, and those only when the
    // beam is above the germanium K edge, 11.103 keV.
    host.values[Field::XrayEnergy] = 11.1;
    run();
    EXPECT_TRUE(all_zero(st.Spec_escape));
    host.values[Field::XrayEnergy] = 11.2;
    run();
    // Ge K-alpha 9.876 keV in channel 506, K-beta 10.982 keV in 562.
    EXPECT_NEAR(st.Spec_escape[506] / st.Spec_elastic[573], 0.001 / 0.05, 1e-12);
    EXPECT_NEAR(st.Spec_escape[562] / st.Spec_elastic[573], 0.0004 / 0.05, 1e-12);
    for (int k = 0; k < 483; ++k) ASSERT_EQ(st.Spec_escape[k], 0.0) << k;
}

TEST_F(IronAlone, PileUpBelowTheFullScaleOnly) {
    run();  // 20 keV scale: every line's double energy is on it
    EXPECT_NEAR(area(st.Spec_pileup), 0.1 * area(st.Spec_total), 1e-9 * area(st.Spec_total));
    host.values[Field::FullEnergy] = 13.5;  // K-alpha sums (12.8 keV) only
    run();
    const double ratio = area(st.Spec_pileup) / area(st.Spec_total);
    EXPECT_GT(ratio, 0.07);
    EXPECT_LT(ratio, 0.1 * 0.95);
    host.values[Field::FullEnergy] = 12.7;  // 2 x 6.391 keV is above it
    run();
    EXPECT_TRUE(all_zero(st.Spec_pileup));
}

TEST_F(IronAlone, ZeroOrNegativeWidthComputesWithTheNarrowestPeak) {
    host.values[Field::Width] = 0.0001;
    run();
    const CalcState narrow = st;
    for (double w : {0.0, -0.3, -1e308}) {
        host.values[Field::Width] = w;
        run();
        EXPECT_EQ(st.Spec_total, narrow.Spec_total) << w;
        EXPECT_EQ(st.Spec_target, narrow.Spec_target) << w;
    }
    // Each line is then a single channel.
    EXPECT_GT(st.Spec_total[328], 9000.0);
    EXPECT_EQ(st.Spec_total[329], 0.0);
    EXPECT_EQ(st.Spec_total[326], 0.0);
}

TEST_F(IronAlone, DistanceResetWithANestedRecalculation) {
    host.values[Field::Distance] = 60;
    run();
    const CalcState clean = st;
    const std::string clean_share = share;
    // With a spectrum on show the window recalculates as soon as the distance field
    // is written, inside the running calculation.
    for (bool nested : {false, true}) {
        st = sample({kIron});
        host.values[Field::Distance] = 75;
        host.distance_writes.clear();
        int nested_runs = 0;
        host.on_distance_write = [&] {
            if (!nested) return;
            ++nested_runs;
            Calc_spectrum(st, host);
        };
        run();
        EXPECT_EQ(host.distance_writes, std::vector<std::string>{"60"});
        EXPECT_EQ(nested_runs, nested ? 1 : 0);
        EXPECT_EQ(share, clean_share);
        EXPECT_EQ(st.Spec_total, clean.Spec_total) << nested;
        for (auto layer : kLayers) EXPECT_EQ(st.*layer, clean.*layer) << nested;
        EXPECT_EQ(st.Line_yield, clean.Line_yield);
    }
}

TEST(Spectrum, EscapePeaksLieGermaniumKAlphaBelowTheirLines) {
    // An escaping germanium K-alpha photon takes 9.876 keV from the pulse. A scale
    // of 1024 x 9.876 / 506 keV puts that at exactly 506 channels, so every escape
    // peak of strontium's K lines sits 506 channels below its line at a tenth of
    // its height (Sr K-alpha 14.16 keV escapes at 4.29 keV, channel 220).
    FakeHost host;
    host.values[Field::XrayEnergy] = 17.0;
    host.values[Field::FullEnergy] = 1024 * 9.876 / 506;
    CalcState st = sample({kStrontium});
    Calc_spectrum(st, host);
    EXPECT_GT(st.Spec_escape[220], 0.0);
    for (int k = 100; k <= 400; ++k)
        ASSERT_NEAR(st.Spec_escape[k], 0.1 * st.Spec_total[k + 506], 1e-9) << k;

    // Arsenic at 12.5 keV: K-beta (11.73 keV) is above the germanium K edge and
    // escapes at 1.85 keV; K-alpha (10.54 keV) is below it and does not.
    host.values[Field::XrayEnergy] = 12.5;
    host.values[Field::FullEnergy] = 20.0;
    st = sample({{33, 74.922, 1.0}});
    Calc_spectrum(st, host);
    const auto ch = [](double keV) { return static_cast<std::size_t>(keV / 20.0 * 1024 + 0.5); };
    EXPECT_NEAR(st.Spec_escape[ch(11.726 - 9.876)], 0.1 * st.Spec_total[ch(11.726)],
                0.02 * st.Spec_total[ch(11.726)]);
    EXPECT_EQ(st.Spec_escape[ch(10.54 - 9.876)], 0.0);
}

TEST(Spectrum, NothingOnTheScaleLeavesEveryLayerEmpty) {
    struct Case {
        testing::Element target;
        double E0, full_energy;
    };
    // Iron's lines above a 3 keV scale; strontium's above 10 keV while its escape
    // peaks and the argon lines would be on the scale.
    for (const Case& c : {Case{kIron, 10.0, 3.0}, Case{kStrontium, 17.0, 10.0}}) {
        FakeHost host;
        host.values[Field::XrayEnergy] = c.E0;
        host.values[Field::FullEnergy] = c.full_energy;
        CalcState st = sample({c.target});
        const std::string share = Calc_spectrum(st, host);
        EXPECT_TRUE(all_zero(st.Spec_total));
        for (auto layer : kLayers) EXPECT_TRUE(all_zero(st.*layer));
        EXPECT_GT(text::Val(share), 50.0);  // the share still counts every line
    }
}

TEST(Spectrum, MarkedElement) {
    FakeHost host;
    struct Case {
        std::int16_t count, mark;
        bool drawn;
    };
    const Case cases[] = {{1, 1, true}, {1, 0, false}, {1, -3, false},
                          {1, 2, false},  // a row beyond the last one in use
                          {0, 1, false},  // the marked row was cleared
                          {1, 32767, false}};
    for (const Case& c : cases) {
        CalcState st = sample({kIron, kCopper});
        st.Elem_count = c.count;
        st.Elem_mark = c.mark;
        Calc_spectrum(st, host);
        EXPECT_EQ(!all_zero(st.Spec_mark), c.drawn) << c.count << " " << c.mark;
        if (c.drawn) {  // iron is the target, copper the rest
            for (int k = 0; k < kChannels; ++k)
                ASSERT_NEAR(st.Spec_mark[k], st.Spec_total[k] - st.Spec_target[k], 1e-8) << k;
        }
    }
}

TEST(Spectrum, ElementCountNeverReachesBeyondTheRows) {
    FakeHost host;
    CalcState st = sample({kIron});
    for (int i = 1; i < kElements; ++i) {
        st.Elem_z[i] = kCopper.z;
        st.Elem_mass[i] = kCopper.mass;
        st.Elem_content[i] = 0.5;
    }
    st.Elem_count = 12;
    const std::string twelve = Calc_spectrum(st, host);
    const CalcState full = st;
    st.Elem_count = 32767;
    st.Elem_mark = 32767;
    EXPECT_EQ(Calc_spectrum(st, host), twelve);
    EXPECT_EQ(st.Spec_total, full.Spec_total);
    // Before the editor starts no element is in use; the target row still holds
    // the yields of the last run (or of the target entry), which are not counted.
    st.Elem_count = -10;
    st.Elem_content[0] = common::Variant::True;
    EXPECT_EQ(Calc_spectrum(st, host), " 0");
    EXPECT_TRUE(all_zero(st.Spec_total));
}

TEST(Spectrum, FilmArealFactor) {
    // Formula units per area: density x thickness x 0.0006022 / formula weight.
    FakeHost host;
    host.values[Field::Density] = 5.24;
    host.values[Field::Thickness] = 30.0;
    CalcState st = sample({{26, 55.845, 2.0}, {8, 15.999, 3.0}});
    Calc_spectrum(st, host);
    const double M = 2 * 55.845 + 3 * 15.999;
    EXPECT_NEAR(st.Areal_factor, 5.2401 * 30.0001 * 0.0006022 / M, 1e-12 * st.Areal_factor);
    host.values[Field::Density] = -5.24;  // |-5.24 + 0.0001|
    Calc_spectrum(st, host);
    EXPECT_NEAR(st.Areal_factor, 5.2399 * 30.0001 * 0.0006022 / M, 1e-12 * st.Areal_factor);

    // Without a formula weight there is no film: no line at all.
    CalcState weightless = sample({{26, 0.0, 1.0}});
    weightless.Sample_form = -10;
    const std::string share = Calc_spectrum(weightless, host);
    EXPECT_EQ(weightless.Areal_factor, 0.0);
    EXPECT_TRUE(all_zero(weightless.Spec_total));
    EXPECT_EQ(share, " 0");
}

TEST(Spectrum, FilmOpticalThicknessOfAGlass) {
    // The iron-bearing soda-lime glass of the examples (M = 2124.6 g/mol) as a 1 um
    // film of 2.2 g/cm3 at 45 degrees in and out. From the reference library's
    // photoabsorption, 26.52 cm2/g at 10 keV and 81.81 cm2/g at 6.4 keV, the optical
    // thickness in and out is 2.2 x 1e-4 x (26.52 + 81.81) / sin 45 = 0.0337.
    FakeHost host;
    host.values[Field::XrayEnergy] = 10.0;
    host.values[Field::Density] = 2.2;
    host.values[Field::Thickness] = 1000.0;
    CalcState st = sample({{26, 55.845, 1},
                           {8, 15.999, 61},
                           {14, 28.086, 24},
                           {11, 22.990, 9},
                           {20, 40.078, 4},
                           {12, 24.305, 1},
                           {13, 26.982, 1}});
    st.Sample_form = -10;
    Calc_spectrum(st, host);
    const double tau = st.Areal_factor * (Ext_in(st, host, 10.0) + Ext_out(st, host, 6.4));
    EXPECT_NEAR(tau, 0.0337, 0.1 * 0.0337);
}

}  // namespace
}  // namespace lumetra::engine
