// The planning core on its own: a snapshot of the sample and the geometry in, the
// figures and the eight layers out, without the form's controls; and the same
// numbers as the window shows when the form hands it the same sample.

#include "planning/session.h"

#include <algorithm>
#include <cmath>

#include "physics/settings.h"
#include "planning/panel_figures.h"
#include "planning/planner_fixture.h"

namespace lumetra::window::testing {
namespace {

// Copper 1 mM in water at 9.03 keV, as the form gives it: target first, then O and H.
FormSnapshot copper_in_water() {
    FormSnapshot s;
    s.sample = {{29, 0.001}, {8, 1.0}, {1, 2.0}};
    s.E0 = 9.03;
    s.psi_in_deg = 45.0;
    s.psi_out_deg = 45.0;
    s.distance_cm = 5.0;
    s.target_slot = 0;  // K-alpha 1&2
    s.full_energy = 11.0;
    return s;
}

bool finite(const engine::Spectrum& s) {
    return std::all_of(s.begin(), s.end(), [](double v) { return std::isfinite(v); });
}

TEST(PlanningSession, ASnapshotInFiguresAndLayersOut) {
    PlanningSession session;
    session.settings.flux = 2e11;
    const physics::Result& r = session.calculate(copper_in_water());
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(session.setup().target_lines, (std::vector<int>{-3, -2}));  // KL3 + KL2
    EXPECT_EQ(session.setup().flux, 2e11);
    EXPECT_GT(r.figures.target, 0.0);
    EXPECT_GT(r.figures.background, 0.0);
    EXPECT_GT(r.figures.time_per_point, 0.0);

    engine::CalcState st;
    session.plot_layers(st);
    EXPECT_DOUBLE_EQ(*std::max_element(st.Spec_total.begin(), st.Spec_total.end()), 10000.0);
    for (const engine::Spectrum* s : {&st.Spec_total, &st.Spec_target, &st.Spec_line,
                                      &st.Spec_elastic, &st.Spec_escape, &st.Spec_pileup})
        EXPECT_TRUE(finite(*s));
    // A channel of the plot times the plot's unit is the model's counts/s.
    const auto top = std::max_element(r.layers.target.begin(), r.layers.target.end());
    const auto k = static_cast<std::size_t>(top - r.layers.target.begin());
    EXPECT_NEAR(st.Spec_target[k] * session.units(), *top, 1e-9 * *top);

    const HookedSpectrum shown = session.shown();
    EXPECT_TRUE(shown.ok);
    EXPECT_FALSE(shown.target_share.empty());
    EXPECT_TRUE(session.preview().pending());  // the scan is asked for
}

TEST(PlanningSession, ARefusedSettingEmptiesTheLayersAndSaysWhy) {
    PlanningSession session;
    session.settings.flux = 0.0;
    const physics::Result& r = session.calculate(copper_in_water());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(session.shown().plot_note, "The flux must be above 0.");
    EXPECT_EQ(session.units(), 0.0);
    engine::CalcState st;
    session.plot_layers(st);
    EXPECT_TRUE(
        std::all_of(st.Spec_total.begin(), st.Spec_total.end(), [](double v) { return v == 0.0; }));
    EXPECT_FALSE(session.preview().pending());

    FormSnapshot close = copper_in_water();
    close.distance_cm = -3.0;  // typed into the form: refused, not moved to 1 mm
    session.settings.flux = 1e12;
    EXPECT_FALSE(session.calculate(close).ok);
    EXPECT_EQ(session.shown().plot_note, "The distance must be at least 0.1 cm.");
}

// The scan is kept for an edit of the energy, the scale or the mark and started
// afresh for a change of any planning setting of the table, so none can be forgotten.
TEST(PlanningSession, TheScanPreviewIsKeyedByEverySetting) {
    PlanningSession session;
    const FormSnapshot snapshot = copper_in_water();
    ASSERT_TRUE(session.calculate(snapshot).ok);
    const int first = session.preview().generation();
    FormSnapshot moved = snapshot;
    moved.E0 = 9.1;
    moved.full_energy = 12.0;
    ASSERT_TRUE(session.calculate(moved).ok);
    EXPECT_EQ(session.preview().generation(), first);
    EXPECT_DOUBLE_EQ(session.preview().plot().E0_keV, 9.1);

    for (const physics::SettingInfo& s : physics::setting_table()) {
        if (s.kind != physics::SettingKind::number) continue;
        PlanningSession other;
        ASSERT_TRUE(other.calculate(snapshot).ok);
        const int before = other.preview().generation();
        ASSERT_TRUE(physics::set_setting(other.settings, s.key, "0.5")) << s.key;
        other.calculate(snapshot);
        if (other.result().ok) {
            EXPECT_NE(other.preview().generation(), before) << s.key;
        }
    }
}

using SessionAndWindow = PlannerTest;

// The window hands the session the very snapshot a planner would write by hand, and
// shows the session's figures and layers.
TEST_F(SessionAndWindow, TheWindowShowsWhatTheSessionComputes) {
    enter_sample("Cu", "0.001", {{"O", "1"}, {"H", "2"}});
    planner.set_planning("flux", "2e11");
    planner.set_model(Model::fp);
    form.Command1.click();
    ASSERT_TRUE(planner.fp_result().ok);

    FormSnapshot by_hand = copper_in_water();
    by_hand.E0 = val(form.Text11.text());
    by_hand.full_energy = val(form.Label8.caption());
    by_hand.density = 2.2;             // the film's fields keep their values for a bulk sample
    by_hand.thickness_cm = 50 * 1e-7;  // 50 nm
    EXPECT_TRUE(form.snapshot() == by_hand);

    PlanningSession alone;
    alone.settings = session.settings;
    const physics::Result& r = alone.calculate(by_hand);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.figures.target, planner.fp_result().figures.target);
    EXPECT_EQ(r.figures.background, planner.fp_result().figures.background);
    engine::CalcState st;
    alone.plot_layers(st);
    EXPECT_TRUE(st.Spec_total == form.st.Spec_total);
    EXPECT_TRUE(st.Spec_target == form.st.Spec_target);
    EXPECT_TRUE(st.Spec_pileup == form.st.Spec_pileup);
    EXPECT_EQ(form.Label38.caption(), alone.shown().target_share);
    const PanelFigures f = panel_figures(Model::fp, r);
    EXPECT_EQ(panel.TargetRate.caption(), f.target.caption());
    EXPECT_EQ(panel.TimePerPoint.caption(), f.time_per_point.caption());
}

}  // namespace
}  // namespace lumetra::window::testing
