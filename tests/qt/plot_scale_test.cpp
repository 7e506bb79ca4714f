// The plot's vertical scale: round ticks in one notation inside the shown range, for
// scales from a trickle of counts to a flood, and the scale the form shows.

#include "window/qt/plot_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>
#include <string>
#include <utility>

#include "common/dialogs.h"
#include "display/plot.h"
#include "planning/planner.h"
#include "window/radirido.h"

namespace lumetra::window::qt {
namespace {

// The value a label stands for, or NaN when it is not written in the ticks' notation.
double read_label(const std::string& label) {
    static const std::regex notation(R"(^(-?[0-9]+(\.[0-9]*[1-9])?)( (µ|[afpnkMGTPE]))?$)");
    std::smatch m;
    if (!std::regex_match(label, m, notation)) return NAN;
    const std::string prefix = m[4];
    const std::pair<const char*, int> prefixes[] = {{"a", -18}, {"f", -15}, {"p", -12}, {"n", -9},
                                                    {"µ", -6},  {"", 0},    {"k", 3},   {"M", 6},
                                                    {"G", 9},   {"T", 12},  {"P", 15},  {"E", 18}};
    for (const auto& [symbol, exponent] : prefixes)
        if (prefix == symbol) return std::stod(m[1]) * std::pow(10.0, exponent);
    return NAN;
}

// Mantissa of a round number: 1, 2 or 5 x 10^n gives 1, 2 or 5.
double mantissa(double v) {
    return v / std::pow(10.0, std::floor(std::log10(v) + 1e-9));
}

struct Range {
    double low, high;
};

void expect_sound_ticks(const VerticalScale& s, Range r, int most) {
    const std::string what = std::string(s.linear ? "linear" : "log") +
                             " per_unit=" + std::to_string(s.per_unit) +
                             " y=" + std::to_string(r.low) + ".." + std::to_string(r.high);
    const std::vector<ScaleTick> ticks = vertical_ticks(s, r.low, r.high, most);
    ASSERT_GE(ticks.size(), 2u) << what;
    EXPECT_LE(static_cast<int>(ticks.size()), most) << what;
    std::set<std::string> labels;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const ScaleTick& t = ticks[i];
        EXPECT_TRUE(labels.insert(t.label).second) << what << " repeats " << t.label;
        EXPECT_GE(t.y, r.low - 1e-6) << what << ' ' << t.label;
        EXPECT_LE(t.y, r.high + 1e-6) << what << ' ' << t.label;
        EXPECT_EQ(t.label.find('e'), std::string::npos) << what << ' ' << t.label;
        const double read = read_label(t.label);
        ASSERT_FALSE(std::isnan(read)) << what << " not in the notation: " << t.label;
        EXPECT_NEAR(read, t.value, 1e-9 * std::abs(t.value)) << what << ' ' << t.label;
        // Where the tick stands is where its value is drawn.
        const double y = s.linear ? display::linear_y(t.value / s.per_unit)
                                  : display::log_y(t.value / s.per_unit);
        EXPECT_NEAR(t.y, y, 1e-6 * std::max(1.0, std::abs(y))) << what;
        if (i > 0) {
            EXPECT_GT(t.value, ticks[i - 1].value) << what;
        }
    }
    if (s.linear) {
        // Equal steps of 1, 2 or 5 x 10^n, every value a whole number of steps.
        const double step = ticks[1].value - ticks[0].value;
        const double m = mantissa(step);
        EXPECT_TRUE(std::abs(m - 1) < 1e-6 || std::abs(m - 2) < 1e-6 || std::abs(m - 5) < 1e-6)
            << what << " step " << step;
        for (std::size_t i = 1; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i].value - ticks[i - 1].value, step, 1e-6 * step) << what;
            const double steps = ticks[i].value / step;
            EXPECT_NEAR(steps, std::round(steps), 1e-6) << what;
        }
    } else {
        for (const ScaleTick& t : ticks) EXPECT_NEAR(mantissa(t.value), 1.0, 1e-9) << what;
        // Every decade, or every n-th, the same n all the way.
        const double ratio = ticks[1].value / ticks[0].value;
        EXPECT_NEAR(mantissa(ratio), 1.0, 1e-9) << what;
        for (std::size_t i = 1; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i].value / ticks[i - 1].value / ratio, 1.0, 1e-9) << what;
    }
}

TEST(PlotScale, TicksAreRoundInOneNotationInsideTheScaleForTinyToHugeCounts) {
    for (double per_unit : {1e-14, 3.7e-9, 1e-4, 0.01, 0.6006623, 1.0, 47.3, 6.67e3, 2.5e6, 9e11}) {
        for (bool linear : {true, false}) {
            const VerticalScale s{linear, true, per_unit};
            // The full view, and zooms to a part of it.
            for (Range r : {Range{-500, 11750}, Range{0, 11750}, Range{0, 3000}, Range{2000, 9000}})
                expect_sound_ticks(s, r, 8);
            if (linear) {
                expect_sound_ticks(s, Range{5000, 5003}, 6);
                expect_sound_ticks(s, Range{0.0, 0.05}, 5);
            }
        }
    }
}

TEST(PlotScale, LabelsWriteRoundValuesPlainlyOrWithAnSIPrefix) {
    struct Case {
        long long n;
        int k;
        const char* label;
    };
    for (const Case& c :
         {Case{0, 5, "0"}, Case{5, -3, "0.005"}, Case{2, -1, "0.2"}, Case{20, 0, "20"},
          Case{999, 0, "999"}, Case{1, 3, "1 k"}, Case{25, 2, "2.5 k"}, Case{5, 4, "50 k"},
          Case{2, 6, "2 M"}, Case{1, 9, "1 G"}, Case{5, -4, "500 µ"}, Case{2, -8, "20 n"},
          Case{1, -13, "100 f"}, Case{-2, 3, "-2 k"}, Case{200001, -2, "2.00001 k"},
          Case{1, 21, "1000 E"}}) {
        EXPECT_EQ(tick_label(c.n, c.k), c.label) << c.n << "e" << c.k;
    }
}

TEST(PlotScale, NoTicksForAScaleThatMakesNoSense) {
    const VerticalScale counts{true, true, 1.0};
    EXPECT_TRUE(vertical_ticks(counts, 100, 100, 5).empty());
    EXPECT_TRUE(vertical_ticks(counts, 100, 50, 5).empty());
    EXPECT_TRUE(vertical_ticks(counts, NAN, 50, 5).empty());
    EXPECT_TRUE(vertical_ticks(counts, 0, INFINITY, 5).empty());
    EXPECT_TRUE(vertical_ticks(counts, -500, -100, 5).empty());  // all below the base line
    EXPECT_TRUE(vertical_ticks(VerticalScale{true, true, 0.0}, 0, 100, 5).empty());
    EXPECT_TRUE(vertical_ticks(VerticalScale{false, true, NAN}, 0, 100, 5).empty());
    EXPECT_TRUE(
        vertical_ticks(VerticalScale{false, true, 1.0}, 0, 400, 5).empty());  // under the base
    // A range that no round step can label distinctly.
    EXPECT_TRUE(vertical_ticks(counts, 1e17, 1e17 + 1e3, 5).empty());
}

TEST(PlotScale, TheFormShowsPerCentUnderTheClassicModel) {
    common::ScriptedDialogs dialogs;
    planning::Planner planner{dialogs};
    RADirido& form = planner.form();
    form.Text1.set_text("Fe");
    form.Text51.set_text("10");
    form.Text2[0]->set_text("O");
    form.Text52[0]->set_text("60");
    form.Command1.click();
    VerticalScale s = vertical_scale_of(form);
    EXPECT_FALSE(s.counts);
    EXPECT_TRUE(s.linear);
    EXPECT_EQ(scale_title(s), "% of the highest channel");
    // The highest channel, 10000 plot units, stands at 100 %.
    const std::vector<ScaleTick> ticks = vertical_ticks(s, -500, 11750, 8);
    ASSERT_FALSE(ticks.empty());
    bool hundred = false;
    for (const ScaleTick& t : ticks)
        if (t.label == "100") hundred = std::abs(t.y - display::linear_y(10000)) < 1e-6;
    EXPECT_TRUE(hundred);

    form.Option4.user_click();  // log
    s = vertical_scale_of(form);
    EXPECT_FALSE(s.linear);
    planner.set_model(planning::Model::fp);
    s = vertical_scale_of(form);
    ASSERT_TRUE(planner.fp_result().ok);
    EXPECT_TRUE(s.counts);
    EXPECT_DOUBLE_EQ(s.per_unit, planner.session().units());
    EXPECT_EQ(scale_title(s), "counts/s per channel");
}

}  // namespace
}  // namespace lumetra::window::qt
