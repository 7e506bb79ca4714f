// The plot's legend names exactly the layers the plot draws with something to see,
// in their colours and drawing order, on either scale and under either model;
// layers that share a colour can still be told apart; on screen the legend keeps
// clear of the peaks.

#include "window/qt/plot_legend.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "common/dialogs.h"
#include "display/plot.h"
#include "window/qt/export.h"
#include "window/qt/plot_overlay.h"
#include "window/qt/plot_widget.h"
#include "planning/planner.h"
#include "window/radirido.h"

namespace lumetra::window::qt {
namespace {

using common::Rgb;
using Key = std::tuple<int, int, int>;

Key key(Rgb c) {
    return {c.r, c.g, c.b};
}

int distance(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// The colours of what the plot draws off its base line (a bar of some height, a line
// that leaves the base), the axes (foreground) left out, the total's segments
// counted as the total's bars.
std::set<Key> drawn_colours(const display::Picture& pic, bool linear) {
    using namespace display::layer_colours;
    const float base = linear ? 0.001f : 500.0f;
    std::set<Key> out;
    for (const display::PlotOp& op : pic.ops()) {
        if (op.kind == display::PlotOp::Kind::Print) continue;
        if (op.colour == display::Picture::foreground) continue;
        if (op.y1 == base && op.y2 == base) continue;
        out.insert(key(op.colour == kTotalSegment ? kTotalBar : op.colour));
    }
    return out;
}

std::set<Key> legend_colours(const std::vector<LegendEntry>& legend) {
    std::set<Key> out;
    for (const LegendEntry& e : legend) {
        out.insert(key(e.colour));
        if (e.line) out.insert(key(*e.line));
    }
    return out;
}

std::vector<std::string> labels(const std::vector<LegendEntry>& legend) {
    std::vector<std::string> out;
    for (const LegendEntry& e : legend) out.push_back(e.label);
    return out;
}

bool has(const std::vector<LegendEntry>& legend, const std::string& label) {
    const std::vector<std::string> l = labels(legend);
    return std::find(l.begin(), l.end(), label) != l.end();
}

const LegendEntry* entry(const std::vector<LegendEntry>& legend, const std::string& label) {
    for (const LegendEntry& e : legend)
        if (e.label == label) return &e;
    return nullptr;
}

class Legend : public ::testing::Test {
  protected:
    common::ScriptedDialogs dialogs;
    planning::Planner planner{dialogs};
    RADirido& form = planner.form();

    // Molybdenum in a stainless steel: escape and pile-up peaks on the scale.
    void load(const char* example) {
        dialogs.queue_file(std::string(LUMETRA_EXAMPLES_DIR) + "/" + example);
        form.Command6.click();
        ASSERT_GT(form.st.Calc_state, 0);
    }
    void tick_all_layers() {
        for (CheckBox* box : {&form.Check1, &form.Check11, &form.Check21, &form.Check3})
            if (box->value() == 0) box->user_click();
    }
    std::vector<LegendEntry> legend() const {
        return plot_legend(form.st, form.view, form.plot_options(), layer_names(form));
    }
    void expect_legend_is_the_drawing(const std::string& what) {
        const std::vector<LegendEntry> legend = this->legend();
        const bool linear = form.Option3.value();
        const display::Picture& pic = form.Picture1.picture();
        EXPECT_EQ(legend_colours(legend), drawn_colours(pic, linear)) << what;
        // Each entry's bars stand in the picture at its own heights, also where its
        // colour is another layer's (escape and the total, the marked element and the
        // total's outline).
        for (const LegendEntry& e : legend) {
            ASSERT_NE(e.layer, nullptr) << what << ": " << e.label;
            if (e.id == display::LayerId::Argon || e.id == display::LayerId::Elastic) continue;
            const engine::Spectrum& v = *e.layer;
            const auto top = std::max_element(v.begin() + 1, v.end() - 1);
            const float x = static_cast<float>(top - v.begin());
            const float y =
                static_cast<float>(linear ? display::linear_y(*top) : display::log_y(*top));
            EXPECT_TRUE(std::any_of(pic.ops().begin(), pic.ops().end(),
                                    [&](const display::PlotOp& op) {
                                        return op.kind == display::PlotOp::Kind::Line &&
                                               op.colour == e.colour && op.x1 == x && op.x2 == x &&
                                               op.y2 == y;
                                    }))
                << what << ": no bar of " << e.label << " at channel " << x;
        }
        // What shares a colour with another layer is traced in a colour of its own,
        // unlike every colour the plot draws and every other trace.
        std::vector<Rgb> seen;
        for (const LegendEntry& e : legend) {
            seen.push_back(e.colour);
            if (e.line) seen.push_back(*e.line);
        }
        for (const LegendEntry& e : legend) {
            bool shared = false;
            for (const LegendEntry& o : legend)
                if (&o != &e && (distance(o.colour, e.colour) < 60 ||
                                 (o.line && distance(*o.line, e.colour) < 60)))
                    shared = true;
            if (!shared || e.label == "total") continue;
            ASSERT_TRUE(e.trace.has_value()) << what << ": " << e.label;
            for (Rgb c : seen) EXPECT_GE(distance(*e.trace, c), 60) << what << ": " << e.label;
            seen.push_back(*e.trace);
        }
    }
};

// Every layer ticked, both scales, both models: the legend is the drawing, argon and
// elastic scatter in the scale's own colours, escape and pile-up where they are.
TEST_F(Legend, NamesTheLayersDrawnOnBothScalesUnderEitherModel) {
    using namespace display::layer_colours;
    load("molybdenum-in-steel.txt");
    tick_all_layers();
    for (planning::Model m : {planning::Model::classic, planning::Model::fp}) {
        planner.set_model(m);
        for (bool linear : {true, false}) {
            (linear ? form.Option3 : form.Option4).user_click();
            const std::string what =
                std::string(m == planning::Model::fp ? "fp, " : "classic, ") + (linear ? "linear" : "log");
            expect_legend_is_the_drawing(what);
            const std::vector<LegendEntry> shown = legend();
            EXPECT_TRUE(has(shown, "escape")) << what;
            EXPECT_TRUE(has(shown, "pile-up")) << what;
            ASSERT_TRUE(has(shown, "elastic scatter")) << what;
            EXPECT_EQ(entry(shown, "elastic scatter")->colour,
                      linear ? kElasticLinear : kElasticLog)
                << what;
            if (const LegendEntry* argon = entry(shown, "argon")) {
                EXPECT_EQ(argon->colour, linear ? kArgonLinear : kArgonLog) << what;
            }
            // In drawing order: the log scale draws the escape bars first, under the
            // total; the linear one draws them over it, after the peaks.
            const std::vector<std::string> l = labels(shown);
            if (linear) {
                EXPECT_EQ(l.front(), "total") << what;
                EXPECT_EQ(l.back(), "pile-up") << what;
                EXPECT_EQ(l[l.size() - 2], "escape") << what;
            } else {
                EXPECT_EQ(l.front(), "escape") << what;
                EXPECT_EQ(l[1], "total") << what;
                EXPECT_EQ(l.back(), "pile-up") << what;
            }
        }
    }
    // The classic model fills the argon layer from the air path.
    planner.set_model(planning::Model::classic);
    EXPECT_TRUE(has(legend(), "argon"));
}

TEST_F(Legend, FollowsTheLayerBoxesAndTheLogScalesEscape) {
    load("molybdenum-in-steel.txt");
    EXPECT_TRUE(form.Option3.value());
    expect_legend_is_the_drawing("linear, no layer ticked");
    EXPECT_FALSE(has(legend(), "escape"));
    EXPECT_FALSE(has(legend(), "pile-up"));
    EXPECT_FALSE(has(legend(), "argon"));

    form.Option4.user_click();
    expect_legend_is_the_drawing("log, no layer ticked");
    // The log scale draws the escape layer whatever its box says.
    EXPECT_TRUE(has(legend(), "escape"));
    EXPECT_FALSE(has(legend(), "pile-up"));

    form.Check3.user_click();
    expect_legend_is_the_drawing("log, pile-up ticked");
    EXPECT_TRUE(has(legend(), "pile-up"));
}

TEST_F(Legend, NamesTheMarkedElementAndTheTargetLineUnderEitherModel) {
    load("iron-in-silicate-glass.txt");
    form.Text2[3]->user_right_click();  // marks the calcium row
    ASSERT_EQ(form.st.Elem_mark, 4);
    for (planning::Model m : {planning::Model::classic, planning::Model::fp}) {
        planner.set_model(m);
        for (bool log : {false, true}) {
            (log ? form.Option4 : form.Option3).user_click();
            expect_legend_is_the_drawing(log ? "log" : "linear");
            const std::vector<LegendEntry> shown = legend();
            EXPECT_TRUE(has(shown, "Fe, all lines"));
            EXPECT_TRUE(has(shown, "Fe K-alpha 1&2"));
            EXPECT_TRUE(has(shown, "marked Ca"));
        }
    }
    form.Command3.click();  // All Clear
    EXPECT_TRUE(legend().empty());
}

// A layer of nothing but zeros draws only flat bars on the base line: no entry. A
// setup the fundamental-parameter model refuses leaves a plot of such layers.
TEST_F(Legend, NoEntryForALayerWithNothingToSee) {
    load("copper-in-water.txt");
    tick_all_layers();
    // Copper's lines lie below the detector's escape edge.
    ASSERT_TRUE(std::all_of(form.st.Spec_escape.begin(), form.st.Spec_escape.end(),
                            [](double v) { return v == 0.0; }));
    for (bool linear : {true, false}) {
        (linear ? form.Option3 : form.Option4).user_click();
        expect_legend_is_the_drawing(linear ? "linear" : "log");
        EXPECT_FALSE(has(legend(), "escape")) << linear;
    }

    planner.set_model(planning::Model::fp);
    ASSERT_TRUE(planner.set_planning("flux", "0"));
    form.Command1.click();
    ASSERT_GT(form.st.Calc_state, 0);
    ASSERT_FALSE(planner.fp_result().ok);
    for (bool linear : {true, false}) {
        (linear ? form.Option3 : form.Option4).user_click();
        ASSERT_GT(form.Picture1.picture().ops().size(), 1000u);
        EXPECT_TRUE(drawn_colours(form.Picture1.picture(), linear).empty()) << linear;
        EXPECT_TRUE(legend().empty()) << labels(legend()).front();
    }
}

// The colours of the exported figure right of its plot, where its legend stands.
std::set<Key> legend_strip_colours(const RADirido& form) {
    QImage image(1600, 1000, QImage::Format_RGB32);
    {
        QPainter p(&image);
        draw_figure(p, image.size(), form);
    }
    std::set<Key> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() * 4 / 5; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            out.insert({c.red(), c.green(), c.blue()});
        }
    return out;
}

// The exported picture (and the report, which draws the same figure) lists the
// layers shown, in the colours of the scale the plot is drawn on.
TEST_F(Legend, ExportedFigureListsTheShownLayersInTheScalesColours) {
    using namespace display::layer_colours;
    load("molybdenum-in-steel.txt");
    tick_all_layers();
    for (bool linear : {true, false}) {
        (linear ? form.Option3 : form.Option4).user_click();
        const std::set<Key> strip = legend_strip_colours(form);
        for (const LegendEntry& e : legend()) {
            EXPECT_TRUE(strip.count(key(e.colour))) << linear << ": " << e.label;
            if (e.trace) {
                EXPECT_TRUE(strip.count(key(*e.trace))) << linear << ": " << e.label;
            }
        }
        for (Rgb other : {linear ? kArgonLog : kArgonLinear, linear ? kElasticLog : kElasticLinear})
            EXPECT_FALSE(strip.count(key(other))) << linear;
    }
}

// A plot of one tall bar: the legend goes to the other side.
TEST(LegendPlace, KeepsClearOfThePeaks) {
    for (float peak_at : {900.0f, 100.0f}) {
        PictureBox box("Test");
        box.picture().Scale(0.0f, 11750.0f, 1024.0f, 0.0f);
        for (float x = peak_at - 10; x <= peak_at + 10; x += 1.0f)
            box.picture().Line(x, 0.0f, x, 11000.0f, display::layer_colours::kLine);
        PlotWidget plot(box);
        plot.resize(600, 300);
        const QRectF at = legend_place(plot, box.picture(), QSizeF(150, 80), 20);
        const double peak_x = plot.to_pixel(peak_at, 0).x();
        EXPECT_FALSE(at.left() <= peak_x && peak_x <= at.right()) << peak_at;
        EXPECT_GE(at.left(), 20.0);
        EXPECT_LE(at.right(), 600.0);
        EXPECT_LE(at.bottom(), 300.0);
    }
}

}  // namespace
}  // namespace lumetra::window::qt
