#include "common/numtext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "common/machine.h"

using namespace lumetra::text;
using namespace std::string_literals;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
}  // namespace

// clang-format off
TEST(Val, ReadsTheLongestLeadingNumber) {
    const struct { std::string text; double want; } cases[] = {
        {" 1 2 . 5 ", 12.5}, {"\t-\n5", -5}, {"1 e 3", 1000}, {"12abc", 12}, {"abc", 0}, {"", 0},
        {"1,5", 1}, {".", 0}, {"-.", 0}, {"-", 0}, {"--5", 0}, {"+-5", 0}, {"+5", 5}, {".5", 0.5},
        {"5.", 5}, {"-.25", -0.25}, {"1..2", 1}, {"2D3", 2000}, {"2d-3", 0.002}, {"1.5E+2", 150},
        {"1e", 1}, {"1e+", 1}, {"1e-x", 1}, {"1e5e5", 1e5}, {".e5", 0}, {"e5", 0}, {"1\r2", 1},
        {"1\0002"s, 1}, {"3\xc2\xb5m", 3}, {"007", 7}, {"1e0000000000000000000003", 1000},
        {"19.491", 19.491}, {"0.1", 0.1}, {"123456789012345678", 123456789012345678.0},
        {"1.7976931348623157e308", DBL_MAX}, {"1e400", DBL_MAX}, {"-1e400", -DBL_MAX},
        {"1e-400", 0}, {"1e99999999999999999999999", DBL_MAX}, {"1e-99999999999999999999", 0},
        {"4.9406564584124654e-324", 4.9406564584124654e-324},
    };
    for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.want) << '"' << c.text << '"';
}
// clang-format on

TEST(Val, HugeTextsStayFinite) {
    const std::string ones(1'000'000, '1');
    EXPECT_EQ(Val(ones), DBL_MAX);
    EXPECT_EQ(Val("-" + std::string(400, '9')), -DBL_MAX);
    EXPECT_EQ(Val("." + std::string(1'000'000, '0') + "1"), 0.0);
    EXPECT_EQ(Val(ones + "e-999999"), Val("1.1111111111111111111111"));
    EXPECT_EQ(Val("1e" + std::string(1000, '9')), DBL_MAX);
    EXPECT_EQ(Val("1e-" + std::string(1000, '9')), 0.0);
    // Digits far beyond the kept ones still decide the rounding (halfway + tiny bit).
    EXPECT_EQ(Val("9007199254740993" + std::string(900, '0') + "1e-901"), 9007199254740994.0);
    EXPECT_EQ(Val("9007199254740993" + std::string(900, '0') + "e-900"), 9007199254740992.0);
}

TEST(Val, IgnoresACommaLocale) {
    int tried = 0;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"}) {
        if (!std::setlocale(LC_ALL, name)) continue;
        ++tried;
        EXPECT_EQ(Val("1.5"), 1.5) << name;
        EXPECT_EQ(Val("1,5"), 1) << name;
        EXPECT_EQ(Str(1.5), " 1.5") << name;
    }
    std::setlocale(LC_ALL, "C");
    if (tried == 0) LUMETRA_SKIP_WITHOUT("a locale with a decimal comma");
}

TEST(Val, AnyMixOfNumberCharactersStaysFinite) {
    const char alphabet[] = "0123456789.+-eEdD \t\n\r,x9";
    unsigned state = 12345;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int k = round % 40; k > 0; --k) {
            state = state * 1103515245u + 12345u;
            text += alphabet[(state >> 16) % (sizeof alphabet - 1)];
        }
        const double v = Val(text);
        ASSERT_TRUE(std::isfinite(v)) << '"' << text << '"';
        const std::string shown = Str(v);
        ASSERT_EQ(shown.find_first_of("naif"), std::string::npos) << shown;
        ASSERT_EQ(Str(Val(shown)), shown) << '"' << text << '"';
    }
}

// clang-format off
TEST(Str, Forms) {
    const struct { double v; const char* want; } cases[] = {
        {5, " 5"}, {200, " 200"}, {0, " 0"}, {-0.0, " 0"}, {0.3, " .3"}, {-0.3, "-.3"},
        {19.491, " 19.491"}, {0.1 + 0.2, " .3"}, {1.0 / 3, " .333333333333333"},
        {-2.0 / 3, "-.666666666666667"}, {-12345.678, "-12345.678"}, {100.25, " 100.25"},
        {123456789012345678.0, " 1.23456789012346E+17"}, {999999999999999.9, " 1E+15"},
        {999999999999999, " 999999999999999"}, {1e15, " 1E+15"}, {1e100, " 1E+100"},
        {0.0001, " .0001"}, {0.000099999999999999999, " .0001"}, {0.00009999, " 9.999E-05"},
        {1.5e-5, " 1.5E-05"}, {-2.5e20, "-2.5E+20"}, {5e-324, " 4.94065645841247E-324"},
        {DBL_MAX, " 1.79769313486232E+308"}, {kInf, " 1.79769313486232E+308"},
        {-kInf, "-1.79769313486232E+308"}, {kNaN, " 0"},
    };
    for (const auto& c : cases) EXPECT_EQ(Str(c.v), c.want) << c.v;
}
// clang-format on

TEST(Str, RoundTripsFifteenDigitValues) {
    for (double x : {0.1, -0.3, 19.491, 123456789012345.0, 1.23456789012345e-7, 2.5e20, 1e-300,
                     -987654321.123456, 0.0001, 6.02214e23})
        EXPECT_EQ(Val(Str(x)), x) << x;
    // Longer values come back as their 15-digit rounding, which then stays put.
    for (double x : {1.0 / 3, DBL_MAX, 0.1 + 0.2, 123456789012345678.0})
        EXPECT_EQ(Val(Str(Val(Str(x)))), Val(Str(x))) << x;
}

// clang-format off
TEST(Rounding, IntRoundToAndInt16) {
    EXPECT_EQ(Int(2.7), 2);
    EXPECT_EQ(Int(-2.1), -3);
    EXPECT_EQ(Int(kNaN), 0);
    EXPECT_EQ(Int(-kInf), -DBL_MAX);
    const struct { double v; int n; double want; } rounds[] = {
        {19.4914, 3, std::floor(19.4914 * 1000 + 0.5) / 1000}, {2.5, 0, 3}, {-2.5, 0, -2},
        {0.125, 2, std::floor(0.125 * 100 + 0.5) / 100}, {1234.5, -2, 1200}, {kNaN, 2, 0},
        {kInf, 2, DBL_MAX}, {1e300, 10, 1e300}, {0, 400, 0}, {5, -400, 0}, {1.6e308, -308, DBL_MAX},
    };
    for (const auto& r : rounds) EXPECT_EQ(round_to(r.v, r.n), r.want) << r.v << ' ' << r.n;
    const struct { double v; int want; } ints[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {2.6, 3}, {-2.4, -2},
        {32767.4, 32767}, {32767.5, 32767}, {1e300, 32767}, {-32768.6, -32768}, {-kInf, -32768},
        {kNaN, 0},
    };
    for (const auto& c : ints) EXPECT_EQ(to_int16(c.v), c.want) << c.v;
}
// clang-format on

TEST(Texts, CutAndTrim) {
    EXPECT_EQ(cut(" 19.491", 4), " 19.");
    EXPECT_EQ(cut(" 5", 10), " 5");
    EXPECT_EQ(cut("", 3), "");
    EXPECT_EQ(cut("abc", 0), "");
    EXPECT_EQ(trim_blanks("  a b  "), "a b");
    EXPECT_EQ(trim_blanks("\ta "), "\ta");
    EXPECT_EQ(trim_blanks("   "), "");
}
