#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "engine/peaks.h"

namespace lumetra::engine {
namespace {

TEST(PeakShape, WidthGivesSigmaAndWindow) {
    struct Case {
        double width;  // V
        double s;      // channels
        int h;
    };
    const Case cases[] = {
        {0.3, 5.12, 23},                   // Int(4.3 x 5.12) + 1
        {0.01, 0.01 / 60 * 1024, 1},       // the narrowest width the form lets through
        {0.0, 0.0001 / 60 * 1024, 1},      // 0 V is computed as 0.0001 V
        {-5.0, 0.0001 / 60 * 1024, 1},     // so is a negative width
        {100.0, 100.0 / 60 * 1024, 7339},  // Int(4.3 x 1706.67) + 1
        {1e6, 1e6 / 60 * 1024, 32767},     // the 16-bit half-width saturates
    };
    for (const Case& c : cases) {
        const PeakShape p(20.0, c.width);
        EXPECT_DOUBLE_EQ(p.sigma_channels(), c.s) << c.width;
        EXPECT_DOUBLE_EQ(p.coefficient(), 1.0 / (c.s * c.s)) << c.width;
        EXPECT_EQ(p.half_window(), c.h) << c.width;
        EXPECT_TRUE(std::isfinite(p.coefficient()));
    }
}

TEST(PeakShape, HugeWidthIsFlatOverTheWholeScale) {
    const PeakShape p(20.0, 1e308);
    EXPECT_EQ(p.coefficient(), 0.0);
    EXPECT_EQ(p.half_window(), 32767);
    Spectrum a{};
    p.add(a, p.window(6.4), 2.5);
    for (double v : a) ASSERT_EQ(v, 2.5);
}

TEST(PeakShape, WindowOfAnEnergy) {
    // 20 keV over 1024 channels: 0.01953125 keV per channel; width .3 V: h = 23.
    const PeakShape p(20.0, 0.3);
    const double q = p.keV_per_channel();
    struct Case {
        double E;
        long long k0, lo, hi;
        bool drawable;
    };
    const Case cases[] = {
        {6.4038, 328, 305, 351, true},
        {0.0, 0, 0, 23, true},
        {-0.005, 0, 0, 23, true},         // Int(0.244) = 0
        {-0.01, -1, 0, 22, true},         // Int(-0.012) = -1: Int is floor
        {-1.0, -51, 0, -28, true},        // window wholly below 0: empty
        {19.99, 1023, 1000, 1024, true},  // cut at the top
        {1045 * q, 1045, 1022, 1024, true},
        {1046 * q, 1046, 1023, 1024, false},  // starts at 1023: not drawn in the layers
        {25.0, 1280, 1257, 1024, false},      // wholly above: empty
    };
    for (const Case& c : cases) {
        const PeakWindow w = p.window(c.E);
        EXPECT_TRUE(w.placed) << c.E;
        EXPECT_EQ(w.k0, c.k0) << c.E;
        EXPECT_EQ(w.lo, c.lo) << c.E;
        EXPECT_EQ(w.hi, c.hi) << c.E;
        EXPECT_EQ(w.drawable(), c.drawable) << c.E;
    }
}

TEST(PeakShape, DegenerateScalesPlaceNothingOnTheChannels) {
    struct Case {
        double full_energy, E;
    };
    const Case cases[] = {{0.0, 0.0},   {0.0, 5.0},     {0.0, -5.0},   {1e-320, 3.0},
                          {20.0, 1e308}, {20.0, -1e308}, {-20.0, 6.4}, {DBL_MAX, -1e-300}};
    for (const Case& c : cases) {
        const PeakShape p(c.full_energy, 0.3);
        const PeakWindow w = p.window(c.E);
        Spectrum a{};
        p.add(a, w, 1.0);
        p.set(a, w, 1.0);
        const bool touched = a[0] != 0.0;
        // Only a centre near channel 0 may reach the scale.
        EXPECT_EQ(touched, w.placed && w.k0 > -24 && w.k0 < 24) << c.full_energy << " " << c.E;
        for (std::size_t k = 1; k < a.size(); ++k)
            if (!(w.placed && std::llabs(w.k0 - static_cast<long long>(k)) <= 23)) {
                ASSERT_EQ(a[k], 0.0);
            }
    }
}

TEST(PeakShape, GaussianInsideTheWindowNothingOutside) {
    const PeakShape p(20.0, 0.3);
    const PeakWindow w = p.window(6.4038);  // centre 328
    Spectrum a{};
    p.add(a, w, 8.0);
    const double g = p.coefficient();
    EXPECT_EQ(a[328], 8.0);
    for (int d = 1; d <= 23; ++d) {
        EXPECT_DOUBLE_EQ(a[328 - d], 8.0 / std::exp(g * d * d)) << d;
        EXPECT_EQ(a[328 - d], a[328 + d]) << d;
    }
    EXPECT_EQ(a[304], 0.0);
    EXPECT_EQ(a[352], 0.0);

    p.add(a, w, 8.0);  // adding doubles it
    EXPECT_EQ(a[328], 16.0);
    p.set(a, w, 1.0);  // setting replaces it
    EXPECT_EQ(a[328], 1.0);
    EXPECT_DOUBLE_EQ(a[330], 1.0 / std::exp(4 * g));
}

TEST(PeakShape, OverflowingSumsHoldTheLargestValue) {
    const PeakShape p(20.0, 0.3);
    Spectrum a{};
    p.add(a, p.window(6.4), DBL_MAX);
    p.add(a, p.window(6.4), DBL_MAX);
    for (double v : a) ASSERT_TRUE(std::isfinite(v));
    EXPECT_EQ(a[328], DBL_MAX);
}

}  // namespace
}  // namespace lumetra::engine
