// Atomic photoabsorption cross-sections.

#include "data/absorption.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/dialogs.h"
#include "data/victoreen.h"
#include "digits.h"

namespace lumetra::data {
namespace {

using testing::matches_digits;

struct Sigma {
    int exponent;
    double mantissa;
    double energy_after;
    int messages;
    int clears;
    double value() const { return mantissa * std::pow(10.0, exponent); }
};

Sigma myu(int z, double energy) {
    common::ScriptedDialogs dialogs;
    Sigma out{};
    const std::int16_t zi = static_cast<std::int16_t>(z);
    std::int16_t exponent = 99;
    Myu_elem(zi, energy, exponent, out.mantissa, dialogs, [&out] { ++out.clears; });
    out.exponent = exponent;
    out.energy_after = energy;
    out.messages = static_cast<int>(dialogs.shown().size());
    return out;
}

double victoreen(double c3, double c4, double energy) {
    const double lambda = 12.3976 / energy;
    return std::fabs(c3 * std::pow(lambda, 3) + c4 * std::pow(lambda, 4));
}

TEST(MyuElem, ReferenceValues) {
    const Sigma iron = myu(26, 10.0);
    EXPECT_EQ(iron.exponent, -20);
    EXPECT_TRUE(matches_digits(iron.mantissa, "1.5705279"));
    const Sigma copper = myu(29, 8.04);
    EXPECT_EQ(copper.exponent, -21);
    EXPECT_TRUE(matches_digits(copper.mantissa, "5.094955"));
    EXPECT_TRUE(matches_digits(myu(29, 9.0).value(), "2.9715315e-20"));
    const Sigma hydrogen = myu(1, 10.0);
    EXPECT_TRUE(matches_digits(hydrogen.value(), "2.6627489e-24"));
    for (int z : {-32768, -10, -1, 0, 2, 3}) {
        const Sigma s = myu(z, 10.0);
        EXPECT_EQ(s.exponent, hydrogen.exponent) << z;
        EXPECT_EQ(s.mantissa, hydrogen.mantissa) << z;
        EXPECT_EQ(s.messages, 0) << z;
    }
}

// The program's fixed rows, each region probed inside its range.
TEST(MyuElem, FixedRowsPickTheirRegion) {
    struct Case {
        int z;
        double energy;
        double c3, c4;
    };
    const Case cases[] = {
        {6, 10, 2.191776e-23, 5.910529e-25},     {14, 3, 8.7604945e-22, -5.7266213e-23},
        {20, 20, 3.7024235e-21, -4.3257995e-22}, {26, 7.0, 1.00277e-21, -7.88048e-23},
        {26, 7.2, 1.07925e-20, -2.05725e-21},    {29, 8.9, 1.59827e-21, -1.35313e-22},
        {50, 4.0, 1.15303e-20, -9.6838e-22},     {50, 29.0, 1.62578e-20, -2.20843e-21},
        {50, 29.4, 1.66285e-19, -1.30638e-19},   {83, 13.0, 2.700959e-20, -4.063044e-21},
        {83, 15.0, 8.758943e-20, -2.233736e-20}, {83, 16.0, 1.232603e-19, -3.14977e-20},
        {83, 90.0, 1.826128e-19, -9.072504e-20}, {83, 91.0, -3.800084e-17, 3.426409e-16},
        {83, 1.0, 2.700959e-20, -4.063044e-21},  {26, 1e6, 1.07925e-20, -2.05725e-21},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(myu(c.z, c.energy).value() / victoreen(c.c3, c.c4, c.energy), 1.0, 1e-12)
            << c.z << " at " << c.energy;
}

// The energy whose wavelength 12.3976 / E is exactly the given bound.
double energy_at_wavelength(double bound) {
    double e = 12.3976 / bound;
    for (int i = 0; i < 64 && 12.3976 / e != bound; ++i)
        e = std::nextafter(e, 12.3976 / e > bound ? HUGE_VAL : 0.0);
    return e;
}

TEST(MyuElem, WavelengthOnABoundStaysBelowTheEdge) {
    const double at_bound = energy_at_wavelength(1.74346);
    ASSERT_EQ(12.3976 / at_bound, 1.74346);
    const double below_k = victoreen(1.00277e-21, -7.88048e-23, at_bound);
    EXPECT_NEAR(myu(26, at_bound).value() / below_k, 1.0, 1e-12);
    const double above = std::nextafter(at_bound, HUGE_VAL);
    EXPECT_NEAR(myu(26, above).value() / victoreen(1.07925e-20, -2.05725e-21, above), 1.0, 1e-12);
}

TEST(MyuElem, RegionsFollowTheEdgeStructure) {
    for (int z = 1; z <= kLastVictoreenZ; ++z) {
        const VictoreenElement& element = kVictoreenTable[static_cast<std::size_t>(z - 1)];
        const int expected = z <= 20 ? 1 : z <= 49 ? 2 : z == 50 ? 3 : z == 51 ? 4 : 5;
        ASSERT_EQ(element.count, expected) << z;
        for (int i = 0; i + 1 < element.count; ++i) {
            const double bound = element.regions[static_cast<std::size_t>(i)].bound;
            EXPECT_LE(bound, 2.8555) << z;
            if (i > 0) {
                EXPECT_LT(bound, element.regions[static_cast<std::size_t>(i - 1)].bound) << z;
            }
        }
        if (z >= 21) {
            const double k_bound =
                element.regions[static_cast<std::size_t>(element.count - 2)].bound;
            const double expected_k = z == 21   ? 2.762
                                      : z == 49 ? 0.44371
                                      : z == 50 ? 0.42467
                                                : 0.13694;
            if (z == 21 || z == 49 || z == 50 || z == 83) {
                EXPECT_EQ(k_bound, expected_k) << z;
            }
        }
    }
}

TEST(MyuElem, ZeroEnergyIsComputedAtOneKeV) {
    for (double zero : {0.0, -0.0}) {
        const Sigma s = myu(26, zero);
        EXPECT_EQ(s.energy_after, 1.0);
        EXPECT_EQ(s.mantissa, myu(26, 1.0).mantissa);
    }
    EXPECT_EQ(myu(26, 1e-300).energy_after, 1e-300);
}

TEST(MyuElem, HeavyElementsClearTheMatrixAndGoOn) {
    for (int z : {84, 92, 32767}) {
        common::ScriptedDialogs dialogs;
        double energy = 12.3976;
        std::int16_t exponent = 0;
        double mantissa = 0;
        std::size_t messages_at_clear = 0;
        int clears = 0;
        Myu_elem(static_cast<std::int16_t>(z), energy, exponent, mantissa, dialogs, [&] {
            ++clears;
            messages_at_clear = dialogs.shown().size();
        });
        EXPECT_EQ(exponent, -20);
        EXPECT_EQ(mantissa, 2.0);
        EXPECT_EQ(clears, 1);
        EXPECT_EQ(messages_at_clear, 1u);  // the message comes first
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].text, "heavy elements (Z>83) are not supported ");
    }
    for (int z : {1, 4, 83}) EXPECT_EQ(myu(z, 10).clears + myu(z, 10).messages, 0) << z;
}

// Every energy gives a finite split; far outside the double range the value is the
// one computed in extended precision.
TEST(MyuElem, AnyEnergyGivesADefinedSplit) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double energies[] = {-1.0, -1e-300, 1e-300, 4.9e-324, -4.9e-324, 1e-310,  DBL_MIN, 1e-5,
                               1e-3, 0.05,    150.0,  1e5,      1e300,     DBL_MAX, -DBL_MAX};
    for (int z : {-32768, 0, 1, 4, 26, 50, 51, 83, 84, 32767}) {
        for (double e : energies) {
            const Sigma s = myu(z, e);
            ASSERT_TRUE(s.mantissa >= 1.0 && s.mantissa < 10.0) << z << " at " << e;
            // Oracle: |C3 l^3 + C4 l^4| in long double, with the region the value lands in.
            const VictoreenElement& element =
                kVictoreenTable[static_cast<std::size_t>(z < 4    ? 0
                                                         : z > 83 ? 0
                                                                  : z - 1)];
            const long double lambda = 12.3976L / static_cast<long double>(e);
            const VictoreenRegion& r = victoreen_region(element, static_cast<double>(12.3976L / e));
            const long double c3 = z > 83 ? 1e-20L : r.c3, c4 = z > 83 ? 1e-20L : r.c4;
            const long double sigma =
                fabsl(c3 * lambda * lambda * lambda + c4 * lambda * lambda * lambda * lambda);
            const long double log10_sigma = log10l(sigma);
            EXPECT_EQ(s.exponent, static_cast<int>(floorl(log10_sigma))) << z << " at " << e;
            EXPECT_NEAR(std::log10(s.mantissa) + s.exponent, static_cast<double>(log10_sigma),
                        1e-10)
                << z << " at " << e;
        }
        for (double e : {inf, -inf, nan}) {
            const Sigma s = myu(z, e);
            EXPECT_EQ(s.exponent, 0) << z << " at " << e;
            EXPECT_EQ(s.mantissa, 0.0) << z << " at " << e;
        }
    }
}

TEST(Decimal, SplitsAtPowersOfTen) {
    for (int e = -300; e <= 308; ++e) {
        const double power = std::stod("1e" + std::to_string(e));
        for (double v : {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL)}) {
            const DecimalValue d = to_decimal(v);
            ASSERT_TRUE(d.mantissa >= 1.0 && d.mantissa < 10.0) << v;
            ASSERT_TRUE(d.exponent == e || d.exponent == e - 1) << v;
            ASSERT_NEAR(d.mantissa * std::pow(10.0, d.exponent) / v, 1.0, 1e-15) << v;
        }
    }
    const DecimalValue one = to_decimal(1e-20);
    EXPECT_EQ(one.exponent, -20);
    EXPECT_EQ(one.mantissa, 1.0);
    const DecimalValue two = to_decimal(2e-20);
    EXPECT_EQ(two.exponent, -20);
    EXPECT_EQ(two.mantissa, 2.0);
    const DecimalValue zero = victoreen_cross_section(1.0, -1.0, 12.3976);  // the terms cancel
    EXPECT_EQ(zero.mantissa, 0.0);
    EXPECT_EQ(zero.exponent, 0);
    EXPECT_EQ(to_decimal(4.9e-324).exponent, -324);
    EXPECT_EQ(to_decimal(std::numeric_limits<double>::quiet_NaN()).mantissa, 0.0);
}

}  // namespace
}  // namespace lumetra::data
