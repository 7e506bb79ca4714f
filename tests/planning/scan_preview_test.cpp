// The scan preview: it shows only beside the spectrum it was computed with, its
// drawing carries readable axes, a legend and the incident energy wherever it lies,
// and the readout under the pointer gives the nearest point's figures.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "planning/planner_fixture.h"
#include "planning/scan_preview_plot.h"

namespace lumetra::window::testing {
namespace {

using display::PlotOp;
using Place = PlotOp::Place;

std::vector<const PlotOp*> lines_of(const display::Picture& pic) {
    std::vector<const PlotOp*> out;
    for (const PlotOp& op : pic.ops())
        if (op.kind == PlotOp::Kind::Line) out.push_back(&op);
    return out;
}

const PlotOp* text_op(const display::Picture& pic, const std::string& t) {
    for (const PlotOp& op : pic.ops())
        if (op.kind == PlotOp::Kind::Print && op.text == t) return &op;
    return nullptr;
}

const PlotOp* text_op(const display::Picture& pic, const std::string& t, Place place) {
    for (const PlotOp& op : pic.ops())
        if (op.kind == PlotOp::Kind::Print && op.text == t && op.place == place) return &op;
    return nullptr;
}

const PlotOp* text_starting(const display::Picture& pic, const std::string& prefix) {
    for (const PlotOp& op : pic.ops())
        if (op.kind == PlotOp::Kind::Print && op.text.rfind(prefix, 0) == 0) return &op;
    return nullptr;
}

bool all_finite(const display::Picture& pic) {
    const display::UserScale& s = pic.scale();
    for (float v : {s.left, s.top, s.right, s.bottom})
        if (!std::isfinite(v)) return false;
    return std::all_of(pic.ops().begin(), pic.ops().end(), [](const PlotOp& op) {
        return std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) &&
               std::isfinite(op.y2);
    });
}

// The number after `key` in a readout ("target 1.23e4 /s" gives 12300).
double figure_after(const std::string& text, const std::string& key) {
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return std::numeric_limits<double>::quiet_NaN();
    return std::strtod(text.c_str() + at + key.size(), nullptr);
}

// ---- with the form: never a preview of another spectrum ----

class ScanPreview : public PlannerTest {
  protected:
    void copper_in_water_fp() {
        enter_sample("Cu", "0.001", {{"O", "1"}, {"H", "2"}});
        planner.set_planning("flux", "1e9");
        planner.set_model(Model::fp);
        form.Command1.click();
        ASSERT_TRUE(session.result().ok) << session.result().reason;
        planner.preview_finish();
        ASSERT_TRUE(planner.preview_plot().complete);
    }
    const display::Picture& picture() const { return panel.ScanPicture.picture(); }
    void expect_no_curve(const char* after) {
        EXPECT_TRUE(lines_of(picture()).empty()) << after;
        EXPECT_FALSE(planner.preview_pending()) << after;
        EXPECT_EQ(panel.ScanReadout.caption(), "") << after;
    }
    // Points the pointer to the middle of the plot area, so the readout shows.
    void point_into_the_plot() {
        const ScanFrame f = scan_frame(planner.preview_plot());
        panel.ScanPicture.on_mouse_move(
            MouseButton::None, static_cast<float>(0.5 * (f.left_eV + f.right_eV)), 0.5f);
        ASSERT_NE(panel.ScanReadout.caption(), "");
    }
};

TEST_F(ScanPreview, GoesWithEveryWayTheSpectrumGoes) {
    copper_in_water_fp();
    ASSERT_GT(lines_of(picture()).size(), 300u);
    point_into_the_plot();
    form.Command3.click();  // All Clear
    expect_no_curve("All Clear");

    copper_in_water_fp();
    point_into_the_plot();
    form.Text1.set_text("Fe");  // a new target
    expect_no_curve("a new target");

    copper_in_water_fp();
    planner.set_model(Model::classic);
    expect_no_curve("the classic model");

    copper_in_water_fp();
    form.Text11.set_text("3");  // an energy the form refuses: no spectrum
    expect_no_curve("an energy below 5 keV");

    copper_in_water_fp();
    planner.set_planning("flux", "0");  // a setup the model refuses
    EXPECT_FALSE(session.result().ok);
    expect_no_curve("no flux");
}

TEST_F(ScanPreview, ANewSampleNeverShowsTheOldOnesPoints) {
    copper_in_water_fp();
    form.Command3.click();
    enter_sample("Fe", "0.01", {{"Si", "1"}, {"O", "2"}});
    form.Command1.click();
    ASSERT_TRUE(session.result().ok);
    EXPECT_TRUE(planner.preview_pending());
    EXPECT_TRUE(planner.preview_plot().points.empty());
    EXPECT_TRUE(lines_of(picture()).size() < 50u);  // the frame, no curve yet
    planner.preview_finish();
    const ScanPlot& plot = planner.preview_plot();
    EXPECT_EQ(plot.edge_name, "Fe K");
    EXPECT_NEAR(plot.edge_keV, 7.112, 0.01);
    for (const physics::ScanPoint& p : plot.points)
        EXPECT_TRUE(p.E > 6.9 && p.E < 8.2) << p.E;  // iron's scan, not copper's
}

TEST_F(ScanPreview, TheSameScanComesBackWithoutBeingComputedAgain) {
    copper_in_water_fp();
    const std::size_t curves = lines_of(picture()).size();
    form.Command23.click();  // a gain clears the plot and draws it again
    EXPECT_FALSE(planner.preview_pending());
    EXPECT_EQ(lines_of(picture()).size(), curves);
    planner.set_model(Model::classic);
    planner.set_model(Model::fp);  // the same scan: back at once
    EXPECT_FALSE(planner.preview_pending());
    EXPECT_EQ(lines_of(picture()).size(), curves);
}

TEST_F(ScanPreview, TheIncidentEnergyIsAMarkerInsideAndAnArrowOutside) {
    copper_in_water_fp();
    const ScanFrame f = scan_frame(planner.preview_plot());
    const double edge = planner.preview_plot().edge_keV;
    const auto vertical_at = [&](double x) {
        const auto l = lines_of(picture());
        return std::any_of(l.begin(), l.end(), [&](const PlotOp* op) {
            return std::fabs(op->x1 - x) < 1e-3 && std::fabs(op->x2 - x) < 1e-3 &&
                   std::fabs(op->y1 - op->y2) > 0.99f;
        });
    };
    const double inside = (val(form.Text11.text()) - edge) * 1000.0;
    ASSERT_GT(inside, f.left_eV);
    EXPECT_TRUE(vertical_at(inside));
    EXPECT_NE(text_op(picture(), "E0"), nullptr);

    form.Text11.set_text("13.1");  // above the scan
    EXPECT_FALSE(planner.preview_pending());
    const PlotOp* above = text_starting(picture(), "E0 ");
    ASSERT_NE(above, nullptr);
    EXPECT_EQ(above->text, "E0 13.100 keV");
    EXPECT_EQ(above->place, Place::End);
    EXPECT_GT(above->x1, 0.5 * (f.left_eV + f.right_eV));
    EXPECT_LE(above->x1, f.right_eV);
    EXPECT_FALSE(vertical_at(inside));

    form.Text11.set_text("8.5");  // below it
    const PlotOp* below = text_starting(picture(), "E0 ");
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->text, "E0 8.500 keV");
    EXPECT_EQ(below->place, Place::Start);
    EXPECT_LT(below->x1, 0.5 * (f.left_eV + f.right_eV));
    EXPECT_GE(below->x1, f.left_eV);
    EXPECT_EQ(text_op(picture(), "E0"), nullptr);
}

TEST_F(ScanPreview, TheReadoutGivesTheNearestPointsFigures) {
    copper_in_water_fp();
    const ScanPlot& plot = planner.preview_plot();
    const ScanFrame f = scan_frame(plot);
    for (std::size_t i :
         {std::size_t{0}, std::size_t{20}, std::size_t{60}, plot.points.size() - 1}) {
        const physics::ScanPoint& p = plot.points[i];
        // A little off the point, towards its neighbour, still nearest to it.
        const double x = (p.E - plot.edge_keV) * 1000.0 + (i == 0 ? 0.2 : -0.2);
        panel.ScanPicture.on_mouse_move(MouseButton::None, static_cast<float>(x), 0.4f);
        const std::string r = panel.ScanReadout.caption();
        char energy[32];
        std::snprintf(energy, sizeof energy, "%.3f keV (edge ", p.E);
        EXPECT_EQ(r.rfind(energy, 0), 0u) << r;
        EXPECT_NEAR(figure_after(r, "target "), p.target, 6e-3 * p.target + 0.01) << r;
        EXPECT_NEAR(figure_after(r, "background "), p.background, 6e-3 * p.background + 0.01) << r;
        EXPECT_NEAR(figure_after(r, "dead time "), 100.0 * p.dead_time, 0.051) << r;
        EXPECT_NE(r.find(" /s, dead time "), std::string::npos) << r;
        EXPECT_EQ(r.substr(r.size() - 2), " %") << r;
    }
    // Outside the plot area, or gone from the picture: no figures.
    panel.ScanPicture.on_mouse_move(MouseButton::None, static_cast<float>(f.left_eV - 20),
                                         0.5f);
    EXPECT_EQ(panel.ScanReadout.caption(), "");
    panel.ScanPicture.on_mouse_move(MouseButton::None, 0.0f, 1.05f);
    EXPECT_EQ(panel.ScanReadout.caption(), "");
    point_into_the_plot();
    planner.ScanPicture_MouseLeave();
    EXPECT_EQ(panel.ScanReadout.caption(), "");
}

// ---- the drawing by itself ----

ScanPlot copper_scan(int n, double target, double background, double dead_time) {
    ScanPlot s;
    s.edge_keV = 8.979;
    s.edge_name = "Cu K";
    s.first_keV = 8.829;
    s.last_keV = 9.979;
    s.E0_keV = 9.1;
    s.complete = true;
    for (int i = 0; i < n; ++i) {
        const double E = s.first_keV + (s.last_keV - s.first_keV) * i / (n - 1);
        const bool above = E > s.edge_keV;
        s.points.push_back({E, above ? target : 0.1 * target, background, dead_time});
    }
    return s;
}

std::vector<double> numbers_placed(const display::Picture& pic, Place place) {
    std::vector<double> out;
    for (const PlotOp& op : pic.ops()) {
        if (op.kind != PlotOp::Kind::Print || op.place != place) continue;
        char* end = nullptr;
        const double v = std::strtod(op.text.c_str(), &end);
        if (end != op.text.c_str() && *end == '\0') out.push_back(v);
    }
    return out;
}

TEST(ScanPlotDrawing, AxesCarryRoundValuesUnitsAndALegend) {
    display::Picture pic;
    draw_scan_plot(pic, copper_scan(121, 2.0e4, 300.0, 0.12));
    for (const char* t : {"counts/s:", "target", "background", "dead time %",
                          "eV from the Cu K edge at 8.979 keV", "0", "200", "1000"})
        EXPECT_NE(text_op(pic, t), nullptr) << t;
    EXPECT_EQ(text_op(pic, "-100"), nullptr);  // a step of 200 eV from the edge

    // The decades: 1e5 at the top (above 2e4), 100 at the bottom (below 300, two
    // below 2000 at least); labelled on the left of the plot, rising upwards.
    std::vector<const PlotOp*> decades;
    for (const char* t : {"100", "1000", "1e4", "1e5"}) {
        const PlotOp* op = text_op(pic, t, Place::End);
        ASSERT_NE(op, nullptr) << t;
        EXPECT_LT(op->x1, -150.0f);
        decades.push_back(op);
    }
    EXPECT_NEAR(decades.front()->y1, 0.0f, 1e-6);
    EXPECT_NEAR(decades.back()->y1, 1.0f, 1e-6);
    for (std::size_t i = 1; i < decades.size(); ++i) EXPECT_GT(decades[i]->y1, decades[i - 1]->y1);
    EXPECT_EQ(text_op(pic, "10", Place::End), nullptr);
    EXPECT_EQ(text_op(pic, "1e6", Place::End), nullptr);

    // Every text lies inside the picture.
    const display::UserScale& sc = pic.scale();
    for (const PlotOp& op : pic.ops()) {
        if (op.kind != PlotOp::Kind::Print) continue;
        EXPECT_TRUE(op.x1 >= sc.left && op.x1 <= sc.right) << op.text;
        EXPECT_TRUE(op.y1 <= sc.top && op.y1 >= sc.bottom) << op.text;
    }
}

TEST(ScanPlotDrawing, DeadTimeHasItsOwnAxisFromZeroToAHundredWithTheThirtyPerCentMark) {
    display::Picture pic;
    draw_scan_plot(pic, copper_scan(121, 2.0e4, 300.0, 0.45));
    const std::vector<double> right = numbers_placed(pic, Place::Start);
    EXPECT_EQ(right, (std::vector<double>{0, 20, 40, 60, 80, 100, 30}));
    for (const char* t : {"0", "100", "30"}) {
        const PlotOp* op = text_op(pic, t, Place::Start);
        ASSERT_NE(op, nullptr) << t;
        EXPECT_GT(op->x1, 1000.0f) << t;  // right of the plot area
        EXPECT_NEAR(op->y1, std::atof(t) / 100.0, 1e-6) << t;
    }
    // Dashes at 30 % across the plot area.
    double covered = 0.0;
    int dashes = 0;
    for (const PlotOp* op : lines_of(pic))
        if (std::fabs(op->y1 - 0.3f) < 1e-6 && std::fabs(op->y2 - 0.3f) < 1e-6) {
            covered += std::fabs(op->x2 - op->x1);
            ++dashes;
        }
    EXPECT_GT(dashes, 10);
    EXPECT_GT(covered, 0.3 * 1150.0);
    EXPECT_LT(covered, 0.9 * 1150.0);
    // The dead-time curve lies at 45 % on the same axis.
    const auto l = lines_of(pic);
    EXPECT_GE(std::count_if(l.begin(), l.end(),
                            [](const PlotOp* op) {
                                return std::fabs(op->y1 - 0.45f) < 1e-6 &&
                                       std::fabs(op->y2 - 0.45f) < 1e-6;
                            }),
              120);
}

TEST(ScanPlotDrawing, EmptyNarrowAndAbsurdScansStillDrawSaneAxes) {
    // No counts at all: decades 1 to 1000 and a note instead of the rate curves.
    display::Picture zero;
    draw_scan_plot(zero, copper_scan(121, 0.0, 0.0, 0.0));
    EXPECT_TRUE(all_finite(zero));
    for (const char* t : {"1", "10", "100", "1000"})
        EXPECT_NE(text_op(zero, t, Place::End), nullptr) << t;
    EXPECT_NE(text_op(zero, "No target or background counts."), nullptr);

    // Rates within one decade still get three labelled decades.
    display::Picture narrow;
    ScanPlot one = copper_scan(121, 5.0e4, 3.0e4, 0.2);
    for (auto& p : one.points) p.target = 5.0e4;
    draw_scan_plot(narrow, one);
    EXPECT_TRUE(all_finite(narrow));
    for (const char* t : {"1000", "1e4", "1e5"})
        EXPECT_NE(text_op(narrow, t, Place::End), nullptr) << t;

    // Rates over twenty decades: only the six below the highest.
    display::Picture wide;
    ScanPlot spread = copper_scan(121, 1e12, 1e-8, 0.2);
    draw_scan_plot(wide, spread);
    EXPECT_NE(text_op(wide, "1e6"), nullptr);
    EXPECT_NE(text_op(wide, "1e12"), nullptr);
    EXPECT_EQ(text_op(wide, "1e5"), nullptr);

    // Figures that are not numbers, a box of no size, a font of no size, one point,
    // an incident energy of no meaning: finite coordinates, whatever is drawn.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ScanPlot odd = copper_scan(5, inf, nan, nan);
    odd.points[2].E = nan;
    for (const auto& [w, h, pt, E0] :
         {std::tuple{0.0, 0.0, 0.0, nan}, std::tuple{-5.0, 1e300, nan, inf},
          std::tuple{nan, nan, 1e6, -1.0}}) {
        odd.width_twips = w;
        odd.height_twips = h;
        odd.font_pt = pt;
        odd.E0_keV = E0;
        display::Picture pic;
        draw_scan_plot(pic, odd);
        EXPECT_TRUE(all_finite(pic)) << w << " " << h << " " << pt;
        EXPECT_EQ(scan_readout(odd, 0.0f, nan), "");
        const std::string r = scan_readout(odd, 100.0f, 0.5f);
        EXPECT_EQ(r.find("nan"), std::string::npos) << r;
        EXPECT_EQ(r.find("inf"), std::string::npos) << r;
    }
    ScanPlot single = copper_scan(2, 10.0, 1.0, 0.1);
    single.points.resize(1);
    display::Picture pic;
    draw_scan_plot(pic, single);
    EXPECT_TRUE(all_finite(pic));

    // No range to scan: a note, nothing else.
    ScanPlot none;
    display::Picture blank;
    draw_scan_plot(blank, none);
    EXPECT_TRUE(all_finite(blank));
    EXPECT_TRUE(lines_of(blank).empty());
    EXPECT_EQ(scan_readout(none, 0.0f, 0.5f), "");
}

TEST(ScanPlotDrawing, WhileComputingOnlyTheEnergyAxisAndTheMarkerShow) {
    ScanPlot s = copper_scan(121, 2.0e4, 300.0, 0.1);
    s.complete = false;
    s.points.resize(30);
    display::Picture pic;
    draw_scan_plot(pic, s);
    EXPECT_NE(text_op(pic, "Computing the scan ..."), nullptr);
    EXPECT_NE(text_op(pic, "200"), nullptr);
    EXPECT_EQ(text_op(pic, "1e4"), nullptr);
    EXPECT_LT(lines_of(pic).size(), 30u);
    EXPECT_EQ(scan_readout(s, 100.0f, 0.5f), "");
}

TEST(ScanPlotDrawing, DecadeLabelsArePlainFromAHundredthToAThousand) {
    EXPECT_EQ(decade_label(-3), "1e-3");
    EXPECT_EQ(decade_label(-2), "0.01");
    EXPECT_EQ(decade_label(0), "1");
    EXPECT_EQ(decade_label(3), "1000");
    EXPECT_EQ(decade_label(4), "1e4");
}

}  // namespace
}  // namespace lumetra::window::testing
