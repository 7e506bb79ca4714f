#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "engine/transmission.h"

namespace lumetra::engine {
namespace {

TEST(AirTrans, NothingPassesAtOrBelowOneKeV) {
    for (double E : {1.0, 0.999, 0.5, 0.0, -4.0, -1e308})
        for (double d : {0.0, 5.0, 60.0}) EXPECT_EQ(Air_trans(E, d), 0.0) << E << " keV, " << d;
}

TEST(AirTrans, KnownTransmissions) {
    // Air (1.2 mg/cm3): at 8 keV about 6 % is lost over 5 cm, at 3 keV almost 90 %
    // over 10 cm. The scattering term belongs inside the density factor: outside it
    // every centimetre would cost 16 % at any energy.
    struct Case {
        double E, d, expected, tol;
    };
    const Case cases[] = {
        {8.0, 5.0, 0.9379, 5e-4},
        {8.0, 0.0, 1.0, 0.0},
        {3.0, 10.0, 0.11260, 5e-5},
        {20.0, 60.0, 0.93589, 5e-5},
    };
    for (const Case& c : cases) EXPECT_NEAR(Air_trans(c.E, c.d), c.expected, c.tol) << c.E << " " << c.d;
}

TEST(AirTrans, PathsMultiplyAndHardPhotonsPassBetter) {
    for (double E : {1.5, 2.957, 6.4, 17.5, 80.0}) {
        EXPECT_NEAR(Air_trans(E, 30.0), Air_trans(E, 10.0) * Air_trans(E, 20.0), 1e-12);
        EXPECT_LT(Air_trans(E, 20.0), Air_trans(E * 1.1, 20.0));
    }
}

TEST(AirTrans, ExtremePathsStayFinite) {
    EXPECT_EQ(Air_trans(8.0, 1e308), 0.0);
    EXPECT_EQ(Air_trans(8.0, DBL_MAX), 0.0);
    for (double d : {-1e308, -1e6}) {
        const double t = Air_trans(8.0, d);
        EXPECT_TRUE(std::isfinite(t)) << d;
        EXPECT_GT(t, 1.0) << d;
    }
}

TEST(AlTrans, NoFilterPassesEverything) {
    for (double E : {0.3, 1.0, 6.4, 40.0, 1e300}) EXPECT_EQ(Al_trans(E, 0), 1.0) << E;
}

TEST(AlTrans, SoftPhotonsCountAsPointEightySixKeV) {
    for (std::int16_t n : {1, 3, 7}) {
        EXPECT_EQ(Al_trans(0.5, n), Al_trans(0.86, n));
        EXPECT_EQ(Al_trans(0.999, n), Al_trans(0.86, n));
        EXPECT_EQ(Al_trans(-2.0, n), Al_trans(0.86, n));
        EXPECT_NE(Al_trans(1.0, n), Al_trans(0.86, n));  // 1 keV itself is not replaced
    }
}

TEST(AlTrans, KnownTransmissionsAndStepsMultiply) {
    // One step at 8 keV: L = 1.5497 A, mu = (0.04645052 - 0.002573447 L) L^3 = 0.15803.
    EXPECT_NEAR(Al_trans(8.0, 1), std::exp(-0.158035), 1e-5);
    for (double E : {2.0, 6.4, 9.0, 25.0}) {
        EXPECT_NEAR(Al_trans(E, 4), std::pow(Al_trans(E, 1), 4), 1e-12) << E;
        EXPECT_LT(Al_trans(E, 2), Al_trans(E, 1)) << E;
    }
}

TEST(AlTrans, OpaqueFilterGivesZeroWithoutOverflow) {
    // At 1 keV one step has mu = 27.70: 25 steps stay below 700, 26 steps do not.
    EXPECT_GT(Al_trans(1.0, 25), 0.0);
    EXPECT_EQ(Al_trans(1.0, 26), 0.0);
    EXPECT_EQ(Al_trans(1.0, 100), 0.0);
    EXPECT_EQ(Al_trans(0.2, 32767), 0.0);
}

TEST(AlTrans, NegativeStepsStayFinite) {
    for (double E : {0.5, 1.0, 3.0, 50.0})
        for (std::int16_t n : {-1, -100, -32768}) {
            const double t = Al_trans(E, n);
            EXPECT_TRUE(std::isfinite(t)) << E << " " << n;
            EXPECT_GE(t, 1.0) << E << " " << n;
        }
}

}  // namespace
}  // namespace lumetra::engine
