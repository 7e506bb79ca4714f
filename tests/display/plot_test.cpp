#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "display/plot.h"

namespace lumetra::display {
namespace {

using common::Rgb;
using common::rgb;
using engine::CalcState;
using engine::Spectrum;

constexpr Rgb kTotalBar = rgb(100, 100, 20);
constexpr Rgb kTotalSegment = rgb(200, 200, 40);
constexpr Rgb kOutline = rgb(255, 255, 50);
constexpr Rgb kTarget = rgb(25, 255, 25);
constexpr Rgb kLine = rgb(255, 150, 255);

std::vector<PlotOp> with_colour(const Picture& pic, Rgb c) {
    std::vector<PlotOp> out;
    for (const PlotOp& op : pic.ops())
        if (op.colour == c) out.push_back(op);
    return out;
}

// The tallest vertical line drawn at x in colour c, if any (the escape layer shares
// its colour with the total's bars, which stand on the same channels).
const PlotOp* bar_at(const Picture& pic, float x, Rgb c) {
    const PlotOp* tallest = nullptr;
    for (const PlotOp& op : pic.ops())
        if (op.kind == PlotOp::Kind::Line && op.colour == c && op.x1 == x && op.x2 == x &&
            (!tallest || op.y2 > tallest->y2))
            tallest = &op;
    return tallest;
}

ViewState view(double zoom_steps = 1, double y_top = 11750) {
    ViewState v;
    v.Zoom_steps = zoom_steps;
    v.Y_top = y_top;
    return v;
}

PlotOptions options(bool linear, int boxes = 1) { return PlotOptions{linear, boxes, boxes, boxes, boxes}; }

TEST(PlotScale, VerticalUnits) {
    struct Case {
        double v, linear, log, tol;
    };
    const Case cases[] = {
        {0.0, 0.001, 500.0, 0.0},
        {0.001, 0.002, 500 + 1500 * std::log10(2.0), 1e-9},
        {1.0, 1.001, 5000.65, 0.01},  // one decade per factor 10 above 0.001
        {10000.0, 10000.001, 11000.0, 0.001},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(linear_y(c.v), c.linear, 1e-12) << c.v;
        EXPECT_NEAR(log_y(c.v), c.log, c.tol) << c.v;
    }
    // Below the logarithm's domain a value sits on the base line.
    for (double v : {-0.001, -1.0, -1e308, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(log_y(v), 500.0) << v;
    EXPECT_TRUE(std::isfinite(log_y(1e308)));
}

TEST(Plot, EmptyArraysDrawAxesAndFlatLayers) {
    const CalcState st;
    struct Case {
        bool linear;
        int boxes;
        std::size_t ops;
        float base;
    };
    // Linear: axes, 1024 total bars and segments, three layers of 1025 bars, two
    // polylines of 1025 points, plus escape and pile-up bars when their boxes are on
    // (argon and elastic only where a value stands above 0.001).
    // Log: axes, five layers of 1024 bars, two polylines.
    const Case cases[] = {{true, 0, 2 + 2048 + 3075 + 2050, 0.001f},
                          {true, 1, 2 + 2048 + 3075 + 2050 + 2050, 0.001f},
                          {false, 0, 2 + 5120 + 2050, 500.0f},
                          {false, 1, 2 + 5120 + 2050, 500.0f}};
    for (const Case& c : cases) {
        Picture pic;
        pic.Print("  !! Now calculating  !!  ");
        Plot_spectrum(pic, st, view(), options(c.linear, c.boxes));
        ASSERT_EQ(pic.ops().size(), c.ops) << c.linear << c.boxes;
        const PlotOp& x_axis = pic.ops()[0];
        const PlotOp& y_axis = pic.ops()[1];
        EXPECT_EQ(x_axis.colour, Picture::foreground);
        EXPECT_EQ(x_axis.x2, 1026.0f);
        EXPECT_EQ(x_axis.y2, 0.0f);
        EXPECT_EQ(y_axis.x2, 0.0f);
        EXPECT_EQ(y_axis.y2, 11600.0f);
        for (std::size_t i = 2; i < pic.ops().size(); ++i) {
            const PlotOp& op = pic.ops()[i];
            ASSERT_NE(op.kind, PlotOp::Kind::Print);
            ASSERT_EQ(op.y1, c.base) << i;
            ASSERT_EQ(op.y2, c.base) << i;
        }
    }
}

// One layer holding a single peak value, and where and how it is drawn.
struct LayerCase {
    Spectrum CalcState::*array;
    Rgb linear_colour, log_colour;
    bool scaled_in_linear;  // argon and elastic: v x 0.00008 x Y_top + 0.001
};

TEST(Plot, LayerColoursAndHeights) {
    const LayerCase cases[] = {
        {&CalcState::Spec_total, kTotalBar, kTotalBar, false},
        {&CalcState::Spec_target, kTarget, kTarget, false},
        {&CalcState::Spec_mark, rgb(255, 255, 50), rgb(255, 255, 50), false},
        {&CalcState::Spec_line, kLine, kLine, false},
        {&CalcState::Spec_argon, rgb(12, 12, 128), rgb(25, 25, 255), true},
        {&CalcState::Spec_elastic, rgb(128, 12, 12), rgb(255, 25, 25), true},
        {&CalcState::Spec_escape, rgb(100, 100, 20), rgb(100, 100, 20), false},
        {&CalcState::Spec_pileup, rgb(100, 100, 50), rgb(100, 100, 50), false},
    };
    for (const LayerCase& c : cases) {
        CalcState st;
        (st.*c.array)[100] = 50.0;
        for (bool linear : {true, false}) {
            Picture pic;
            Plot_spectrum(pic, st, view(), options(linear));
            const Rgb colour = linear ? c.linear_colour : c.log_colour;
            const PlotOp* bar = bar_at(pic, 100.0f, colour);
            ASSERT_NE(bar, nullptr) << linear;
            EXPECT_EQ(bar->y1, linear ? 0.001f : 500.0f);
            const double top = !linear ? log_y(50) : c.scaled_in_linear ? 50 * 0.94 + 0.001 : 50.001;
            EXPECT_NEAR(bar->y2, top, 1e-3) << linear;
        }
    }
}

TEST(Plot, CheckBoxesChooseTheOptionalLayers) {
    CalcState st;
    st.Spec_argon[151] = 300;
    st.Spec_elastic[512] = 400;
    st.Spec_escape[200] = 30;
    st.Spec_pileup[700] = 20;
    struct Case {
        bool linear;
        PlotOptions o;
        bool argon, elastic, escape, pileup;
    };
    const Case cases[] = {
        {true, {true, 0, 0, 0, 0}, false, false, false, false},
        {true, {true, 1, 0, 0, 0}, true, false, false, false},
        {true, {true, 0, 1, 0, 0}, false, true, false, false},
        {true, {true, 0, 0, 1, 0}, false, false, true, false},
        {true, {true, 0, 0, 2, 0}, false, false, false, false},  // escape needs exactly 1
        {true, {true, 0, 0, 0, 1}, false, false, false, true},
        {false, {false, 0, 0, 0, 0}, false, false, true, false},  // log: escape always
        {false, {false, 1, 1, 0, 1}, true, true, true, true},
    };
    for (const Case& c : cases) {
        Picture pic;
        Plot_spectrum(pic, st, view(), c.o);
        const bool lin = c.linear;
        EXPECT_EQ(bar_at(pic, 151, lin ? rgb(12, 12, 128) : rgb(25, 25, 255)) != nullptr, c.argon);
        EXPECT_EQ(bar_at(pic, 512, lin ? rgb(128, 12, 12) : rgb(255, 25, 25)) != nullptr, c.elastic);
        const PlotOp* escape = bar_at(pic, 200, kTotalBar);  // the escape layer shares this colour
        EXPECT_EQ(escape != nullptr && escape->y2 > (lin ? 1.0f : 600.0f), c.escape);
        const PlotOp* pileup = bar_at(pic, 700, rgb(100, 100, 50));
        EXPECT_EQ(pileup != nullptr && pileup->y2 > (lin ? 1.0f : 600.0f), c.pileup);
    }
}

TEST(Plot, ArgonAndElasticOnlyAboveAThousandthAndScaledByTheTop) {
    CalcState st;
    st.Spec_argon[10] = 0.001;  // not above 0.001: no bar
    st.Spec_argon[11] = 0.0011;
    st.Spec_argon[12] = 1000.0;
    for (double y_top : {11750.0, 5000.0}) {
        Picture pic;
        Plot_spectrum(pic, st, view(1, y_top), options(true));
        const auto bars = with_colour(pic, rgb(12, 12, 128));
        ASSERT_EQ(bars.size(), 2u);
        EXPECT_FLOAT_EQ(bars[1].y2, static_cast<float>(1000.0 * 0.00008 * y_top + 0.001));
    }
    // Before a target is entered the top holds nothing: the bars stay on the base line.
    Picture pic;
    ViewState v = view();
    v.Y_top.clear();
    Plot_spectrum(pic, st, v, options(true));
    for (const PlotOp& op : with_colour(pic, rgb(12, 12, 128))) EXPECT_EQ(op.y2, 0.001f);
}

TEST(Plot, FilledBarsInZoomedViews) {
    CalcState st;
    st.Spec_target[10] = 1.0;
    st.Spec_target[11] = 0.5;
    st.Spec_target[20] = 0.1;  // exactly the linear threshold: not filled
    st.Spec_target[30] = 0.002;
    st.Spec_target[1024] = 5.0;  // the last channel has no neighbour to fill towards
    st.Spec_total = st.Spec_target;
    auto bars_between = [](const Picture& pic, Rgb c, int i) {
        std::vector<PlotOp> out;
        for (const PlotOp& op : with_colour(pic, c))
            if (op.x1 == op.x2 && op.x1 > i && op.x1 < i + 1) out.push_back(op);
        return out;
    };
    struct Case {
        double zoom;
        bool linear;
        std::size_t at10, at20, at30, at1024, total_at10;
    };
    const Case cases[] = {
        {4, true, 3, 0, 0, 0, 0},  // linear: threshold 0.1; Spec_total is never filled
        {2, true, 1, 0, 0, 0, 0},
        {1, true, 0, 0, 0, 0, 0},
        {4, false, 3, 3, 3, 0, 3},  // log: threshold 0.001, channels up to 1023 only
        {3, false, 2, 2, 2, 0, 2},
        {0, false, 0, 0, 0, 0, 0},
        {1e308, true, 15, 0, 0, 0, 0},  // an absurd zoom is drawn with 16 sub-steps
    };
    for (const Case& c : cases) {
        Picture pic;
        Plot_spectrum(pic, st, view(c.zoom), options(c.linear));
        EXPECT_EQ(bars_between(pic, kTarget, 10).size(), c.at10) << c.zoom << c.linear;
        EXPECT_EQ(bars_between(pic, kTarget, 20).size(), c.at20) << c.zoom << c.linear;
        EXPECT_EQ(bars_between(pic, kTarget, 30).size(), c.at30) << c.zoom << c.linear;
        EXPECT_EQ(bars_between(pic, kTarget, 1024).size(), c.at1024) << c.zoom << c.linear;
        EXPECT_EQ(bars_between(pic, kTotalBar, 10).size(), c.total_at10) << c.zoom << c.linear;
    }
    // Heights run in equal steps from channel 10 towards channel 11.
    Picture lin;
    Plot_spectrum(lin, st, view(4), options(true));
    const auto fill = bars_between(lin, kTarget, 10);
    for (int j = 1; j <= 3; ++j) {
        EXPECT_FLOAT_EQ(fill[j - 1].x1, 10 + j / 4.0f);
        EXPECT_FLOAT_EQ(fill[j - 1].y1, 0.001f);
        EXPECT_FLOAT_EQ(fill[j - 1].y2, static_cast<float>(1.0 + 0.001 + j * (0.5 - 1.0) / 4));
    }
    Picture log;
    Plot_spectrum(log, st, view(4), options(false));
    const auto log_fill = bars_between(log, kTarget, 10);
    for (int j = 1; j <= 3; ++j) {
        // Equal steps in the logarithm: the last one stops a step short of y(v11).
        const double expected = log_y(1.0) + j * (log_y(0.5) - log_y(1.0)) / 4;
        EXPECT_NEAR(log_fill[j - 1].y2, expected, 0.01);
        EXPECT_FLOAT_EQ(log_fill[j - 1].y1, 500.0f);
    }
}

TEST(Plot, OutlinesArePolylinesThroughEveryChannel) {
    CalcState st;
    for (int k = 0; k < engine::kChannels; ++k) {
        st.Spec_total[k] = 5000 + 4000 * std::sin(k / 50.0);
        st.Spec_line[k] = 100.0 * (k % 7);
    }
    for (bool linear : {true, false}) {
        Picture pic;
        Plot_spectrum(pic, st, view(), options(linear));
        for (auto [colour, array] : {std::pair{kOutline, &st.Spec_total}, std::pair{kLine, &st.Spec_line}}) {
            std::vector<PlotOp> chain;
            for (const PlotOp& op : with_colour(pic, colour))
                if (op.kind == PlotOp::Kind::PSet || op.x1 != op.x2) chain.push_back(op);
            ASSERT_EQ(chain.size(), 1025u);
            EXPECT_EQ(chain[0].kind, PlotOp::Kind::PSet);
            for (int i = 1; i <= 1024; ++i) {
                ASSERT_EQ(chain[i].x1, chain[i - 1].x2) << i;  // each piece starts where the last ended
                ASSERT_EQ(chain[i].y1, chain[i - 1].y2) << i;
                ASSERT_EQ(chain[i].x2, static_cast<float>(i));
                const double v = (*array)[i];
                ASSERT_FLOAT_EQ(chain[i].y2, static_cast<float>(linear ? linear_y(v) : log_y(v)));
            }
        }
        if (linear) {  // the total's own segments, under its outline
            const auto seg = with_colour(pic, kTotalSegment);
            ASSERT_EQ(seg.size(), 1024u);
            EXPECT_FLOAT_EQ(seg[99].x1, 99.0f);
            EXPECT_FLOAT_EQ(seg[99].y2, static_cast<float>(linear_y(st.Spec_total[100])));
        }
    }
}

TEST(Plot, LayersInTheirOrder) {
    CalcState st;
    st.Spec_total[5] = st.Spec_target[5] = st.Spec_line[5] = st.Spec_mark[5] = 10;
    st.Spec_argon[5] = st.Spec_elastic[5] = st.Spec_escape[5] = st.Spec_pileup[5] = 10;
    auto order_at = [&](bool linear) {
        Picture pic;
        Plot_spectrum(pic, st, view(), options(linear));
        std::vector<Rgb> seq;
        for (const PlotOp& op : pic.ops())
            if (op.kind == PlotOp::Kind::Line && op.x1 == 5.0f && op.x2 == 5.0f)
                if (seq.empty() || !(seq.back() == op.colour)) seq.push_back(op.colour);
        return seq;
    };
    const std::vector<Rgb> linear = {kTotalBar,        kTarget,         rgb(255, 255, 50), kLine,
                                     rgb(12, 12, 128), rgb(128, 12, 12), kTotalBar,        rgb(100, 100, 50)};
    const std::vector<Rgb> log = {kTotalBar, kTarget, kLine, rgb(255, 255, 50),
                                  rgb(25, 25, 255), rgb(255, 25, 25), rgb(100, 100, 50)};
    EXPECT_EQ(order_at(true), linear);
    EXPECT_EQ(order_at(false), log);
}

TEST(Plot, OddValuesGiveFiniteCoordinates) {
    const double odd[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          DBL_MAX, -DBL_MAX, 1e40, -1e40, -0.0009999999, -0.001, -0.5, 1e-320};
    CalcState st;
    Spectrum* arrays[] = {&st.Spec_total,  &st.Spec_target,  &st.Spec_line,   &st.Spec_mark,
                          &st.Spec_argon,  &st.Spec_elastic, &st.Spec_escape, &st.Spec_pileup};
    std::size_t n = 0;
    for (Spectrum* a : arrays)
        for (double& v : *a) v = odd[n++ % std::size(odd)];
    for (double zoom : {4.0, 1e308, -3.0, std::numeric_limits<double>::quiet_NaN(), 2.5})
        for (double y_top : {11750.0, 1e308, -1e308})
            for (bool linear : {true, false}) {
                Picture pic;
                Plot_spectrum(pic, st, view(zoom, y_top), options(linear));
                ASSERT_LT(pic.ops().size(), 200000u);
                for (const PlotOp& op : pic.ops())
                    ASSERT_TRUE(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) &&
                                std::isfinite(op.y2))
                        << zoom << " " << y_top << " " << linear;
            }
}

}  // namespace
}  // namespace lumetra::display
