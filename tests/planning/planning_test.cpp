// "Plot" with the fundamental-parameter model: the setup the form hands over, the
// switch between the models, and settings the model refuses.

#include <algorithm>
#include <cmath>

#include "physics/validate.h"
#include "planning/planner_fixture.h"

namespace lumetra::window::testing {
namespace {

class Planning : public PlannerTest {
  protected:
    void copper_in_water() {
        enter_sample("Cu", "0.001", {{"O", "1"}, {"H", "2"}});
        form.Command1.click();
    }
    bool all_finite() const {
        for (const auto* s : {&form.st.Spec_total, &form.st.Spec_target, &form.st.Spec_line,
                              &form.st.Spec_elastic, &form.st.Spec_escape, &form.st.Spec_pileup})
            if (!std::all_of(s->begin(), s->end(), [](double v) { return std::isfinite(v); }))
                return false;
        return true;
    }
};

TEST_F(Planning, TheFormBecomesOneSetup) {
    enter_sample("Pb", "0.002", {{"O", "60"}, {"Fe", "2"}});
    form.Option2.user_click();  // L3 edge, L-alpha 1&2
    form.Text19.set_text("0.01");
    form.Text20.set_text("2");
    form.Text2[1]->user_right_click();  // mark iron
    const physics::Setup s = session.setup_of(form.snapshot());
    ASSERT_EQ(s.sample.size(), 3u);
    EXPECT_EQ(s.sample[0].Z, 82);
    EXPECT_DOUBLE_EQ(s.sample[0].atoms, 0.002);
    EXPECT_EQ(s.target_lines, (std::vector<int>{-90, -89}));  // L3M5 + L3M4
    EXPECT_EQ(s.target_shell, 3);
    EXPECT_EQ(s.marked, 2);
    // Closer than 1 mm is not moved to 1 mm: the model refuses it and says why.
    EXPECT_DOUBLE_EQ(s.distance_cm, 0.01);
    EXPECT_EQ(physics::refusal(s), "The distance must be at least 0.1 cm.");
    EXPECT_EQ(s.al_steps, 2);
    EXPECT_DOUBLE_EQ(s.E0, val(form.Text11.text()));
    EXPECT_DOUBLE_EQ(s.full_energy, val(form.Label8.caption()));
}

TEST_F(Planning, SwitchingBackGivesTheClassicSpectrumChannelForChannel) {
    copper_in_water();
    const engine::CalcState classic = form.st;
    const std::string share = form.Label38.caption();
    planner.set_model(Model::fp);
    ASSERT_TRUE(session.result().ok) << session.result().reason;
    EXPECT_NE(form.st.Spec_total, classic.Spec_total);
    EXPECT_TRUE(all_finite());
    planner.set_model(Model::classic);
    EXPECT_EQ(form.st.Spec_total, classic.Spec_total);
    EXPECT_EQ(form.st.Spec_escape, classic.Spec_escape);
    EXPECT_EQ(form.st.Spec_elastic, classic.Spec_elastic);
    EXPECT_EQ(form.Label38.caption(), share);
}

TEST_F(Planning, SettingsTheModelRefusesGiveAnEmptyPlotAndTheReason) {
    copper_in_water();
    planner.set_model(Model::fp);
    struct Case {
        const char* key;
        const char* text;
    };
    for (const Case& c : {Case{"flux", "0"}, Case{"area", "-5"}, Case{"deadtime", "abc"},
                          Case{"crystal", "0"}, Case{"pileup", "-1e308"}}) {
        SCOPED_TRACE(c.key);
        const physics::Detector before = session.settings.detector;
        const double flux = session.settings.flux;
        ASSERT_TRUE(planner.set_planning(c.key, c.text));
        EXPECT_FALSE(session.result().ok);
        EXPECT_FALSE(session.result().reason.empty());
        EXPECT_TRUE(std::all_of(form.st.Spec_total.begin(), form.st.Spec_total.end(),
                                [](double v) { return v == 0.0; }));
        EXPECT_EQ(form.Label38.caption(), "");
        const auto& ops = form.Picture1.picture().ops();
        EXPECT_TRUE(std::any_of(ops.begin(), ops.end(), [&](const display::PlotOp& op) {
            return op.text.find(session.result().reason) != std::string::npos;
        }));
        session.settings.detector = before;
        session.settings.flux = flux;
    }
    EXPECT_FALSE(planner.set_planning("colour", "red"));
    EXPECT_FALSE(planner.set_planning("detector", "nai"));
}

TEST_F(Planning, DetectorAndFilterSettings) {
    ASSERT_TRUE(planner.set_planning("detector", "ge"));
    EXPECT_EQ(session.settings.detector.crystal, physics::Crystal::ge);
    EXPECT_EQ(session.settings.detector.crystal_mm, 5.0);
    EXPECT_EQ(session.settings.detector.resolution_eV, 150.0);
    for (const char* good : {"none", "", "Al", "Al2O3:3.95", "Kapton:1.42"}) {
        planner.set_planning("filter", good);
        EXPECT_EQ(physics::filter_valid(session.settings), std::string(good) != "Kapton:1.42") << good;
    }
    // An unknown filter is not used: the spectrum is the one without a filter.
    copper_in_water();
    planner.set_model(Model::fp);
    planner.set_planning("filter", "none");
    const auto bare = form.st.Spec_total;
    planner.set_planning("filterthickness", "50");
    planner.set_planning("filter", "Xq2:3");
    EXPECT_EQ(form.st.Spec_total, bare);
    planner.set_planning("filter", "Al");
    EXPECT_NE(form.st.Spec_total, bare);
    EXPECT_TRUE(all_finite());
}

TEST_F(Planning, ThePanelFollowsTheModel) {
    copper_in_water();
    EXPECT_FALSE(panel.field("flux")->enabled());
    EXPECT_EQ(panel.Note.caption(), "Rates need the fundamental-parameter model.");
    EXPECT_EQ(panel.Icr.caption(), "");

    panel.ModelFp.user_click();
    EXPECT_TRUE(panel.field("flux")->enabled());
    EXPECT_EQ(panel.Note.caption(), "The form's grey detection chain is the classic model's.");
    // 55 mM copper at the full flux and 5 cm: the detector saturates.
    EXPECT_EQ(panel.DeadTime.fore_color(), common::colours::red);
    EXPECT_NE(panel.Saturation.caption(), "");
    panel.field("flux")->set_text("1e8");
    EXPECT_EQ(panel.DeadTime.fore_color(), common::colours::black);
    EXPECT_EQ(panel.Saturation.caption(), "");
    EXPECT_EQ(panel.TargetRate.caption().rfind("Target line  ", 0), 0u);

    // A flux of 0 is red and leaves its reason in the results.
    panel.field("flux")->set_text("0");
    EXPECT_EQ(panel.field("flux")->fore_color(), common::colours::red);
    EXPECT_EQ(panel.Note.caption(), "The flux must be above 0.");
    EXPECT_EQ(panel.Icr.caption(), "");

    // A new crystal brings its thickness and resolution.
    panel.DetectorCombo.user_pick("ge");
    EXPECT_EQ(panel.field("crystal")->text(), " 5");
    EXPECT_EQ(panel.field("resolution")->text(), " 150");
}

TEST_F(Planning, ReadoutInCountsPerSecond) {
    copper_in_water();
    planner.set_planning("flux", "1e8");
    planner.set_model(Model::fp);
    ASSERT_TRUE(session.result().ok);
    const int ch =
        static_cast<int>(std::max_element(form.st.Spec_total.begin(), form.st.Spec_total.end()) -
                         form.st.Spec_total.begin());
    form.Picture1.on_mouse_move(MouseButton::None, static_cast<float>(ch), 100.0f);
    const double counts = form.st.Spec_total[ch] * session.units();
    EXPECT_NEAR(val(form.LYtot_p.caption()), counts, 0.5 + 1e-3 * counts);
    EXPECT_NEAR(session.result().layers.total[ch], counts, 1e-9 * counts);
}

TEST_F(Planning, ScanPreviewRestartsOnlyWhenItsSetupChanges) {
    copper_in_water();
    planner.set_planning("flux", "1e8");
    planner.set_model(Model::fp);
    EXPECT_TRUE(planner.preview_pending());
    planner.preview_finish();
    EXPECT_FALSE(planner.preview_pending());
    const auto lines = panel.ScanPicture.picture().ops().size();
    EXPECT_GT(lines, 300u);  // three curves of 121 points and the marker
    form.Command23.click();  // a gain: the preview stands
    EXPECT_FALSE(planner.preview_pending());
    form.Text11.set_text("9.2");  // the energy: only the marker moves
    EXPECT_FALSE(planner.preview_pending());
    form.Text52[0]->set_text("2");  // the sample: computed afresh
    form.Command1.click();
    EXPECT_TRUE(planner.preview_pending());
    planner.set_model(Model::classic);
    EXPECT_FALSE(planner.preview_pending());
    const auto& ops = panel.ScanPicture.picture().ops();
    EXPECT_TRUE(std::none_of(ops.begin(), ops.end(), [](const display::PlotOp& op) {
        return op.kind == display::PlotOp::Kind::Line;
    }));
}

}  // namespace
}  // namespace lumetra::window::testing
