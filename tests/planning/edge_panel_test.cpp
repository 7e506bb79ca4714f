// The panel's edge choice: lead counted at its L2 edge with L-beta 1, the energy put
// just above the chosen edge, the scan preview across it, greyed and without effect
// under the classic model, and kept through a setup file.

#include <xraylib/xraylib.h>

#include <algorithm>
#include <cstdio>

#include "common/edge_offset.h"
#include "planning/planner_fixture.h"
#include "planning/report_lines.h"

namespace lumetra::window::testing {
namespace {

class EdgePanel : public PlannerTest {
  protected:
    void lead_in_silica() {
        enter_sample("Pb", "0.01", {{"Si", "1"}, {"O", "2"}});
        form.Option2.user_click();  // the form's L3 edge
    }
    double pb_edge(int shell) const { return EdgeEnergy(82, shell, nullptr); }
};

TEST_F(EdgePanel, LeadAtItsL2EdgeCountsLBeta1) {
    lead_in_silica();
    planner.set_planning("flux", "1e8");
    planner.set_model(Model::fp);
    EXPECT_TRUE(panel.EdgeCombo.enabled());
    EXPECT_FALSE(panel.EdgeLineCombo.enabled());  // the form's edge has the form's line
    form.Command1.click();

    panel.EdgeCombo.user_pick("L2");
    EXPECT_TRUE(panel.EdgeLineCombo.enabled());
    EXPECT_EQ(panel.EdgeLineCombo.text(), "L-beta 1 (L2M4)");
    EXPECT_DOUBLE_EQ(val(form.Text11.text()), common::energy_above_edge(pb_edge(L2_SHELL)));
    const physics::Result& r = session.result();
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(session.setup().target_shell, L2_SHELL);
    EXPECT_EQ(session.setup().target_lines, (std::vector<int>{L2M4_LINE}));
    EXPECT_GT(r.figures.target, 0.0);
    EXPECT_EQ(session.shown().line_name, "L-beta 1 (L2M4)");  // the legend's name of it
    // The L2M4 line's own rate is what S counts of the target.
    double l2m4 = 0.0;
    for (const physics::LineRate& l : r.lines)
        if (l.in_sample() && l.element == 0 && l.line == L2M4_LINE) l2m4 = l.total();
    EXPECT_GT(l2m4, 0.0);
    EXPECT_LE(r.figures.target, l2m4);

    planner.preview_finish();
    const ScanPlot& scan = planner.preview_plot();
    EXPECT_DOUBLE_EQ(scan.edge_keV, pb_edge(L2_SHELL));
    EXPECT_EQ(scan.edge_name, "Pb L2");
    // The report and the spectrum file say at which edge and line S was counted.
    const std::vector<std::string> lines = setup_lines(planner);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "fp_edge: L2"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "fp_edge_line: L2M4"), lines.end());
    EXPECT_TRUE(scan.complete);

    // Another line of the edge, then a heavy element's M5 edge with M-alpha.
    panel.EdgeLineCombo.user_pick("L-gamma 1 (L2N4)");
    EXPECT_EQ(session.settings.edge_line, "L2N4");
    EXPECT_EQ(session.setup().target_lines, (std::vector<int>{L2N4_LINE}));
    panel.EdgeCombo.user_pick("M5");
    EXPECT_EQ(panel.EdgeLineCombo.text(), "M-alpha 1&2 (M5N7+M5N6)");
    EXPECT_DOUBLE_EQ(val(form.Text11.text()), common::energy_above_edge(pb_edge(M5_SHELL)));
    ASSERT_TRUE(session.result().ok) << session.result().reason;
    EXPECT_EQ(session.setup().target_lines, (std::vector<int>{M5N7_LINE, M5N6_LINE}));
    EXPECT_GT(session.result().figures.target, 0.0);

    // A line the element does not give: red, and the model says why.
    EXPECT_TRUE(planner.set_planning("edgeline", "M5P5"));
    EXPECT_EQ(panel.EdgeLineCombo.fore_color(), common::colours::red);
    EXPECT_FALSE(session.result().ok);
    EXPECT_EQ(session.result().reason, "The target element has no such line at the chosen edge.");
    EXPECT_FALSE(planner.set_planning("edge", "L4"));

    // Back to the form's edge: its L3 and L-alpha again.
    panel.EdgeCombo.user_pick("Form");
    EXPECT_EQ(session.setup().target_shell, L3_SHELL);
    EXPECT_EQ(session.setup().target_lines, (std::vector<int>{L3M5_LINE, L3M4_LINE}));
    EXPECT_EQ(session.shown().line_name, "");
    EXPECT_FALSE(planner.set_planning("edgeline", "L2M4"));
}

TEST_F(EdgePanel, TheClassicModelIgnoresTheEdgeChoice) {
    lead_in_silica();
    form.Command1.click();
    const engine::CalcState classic = form.st;
    const std::string energy = form.Text11.text();
    EXPECT_FALSE(panel.EdgeCombo.enabled());
    EXPECT_FALSE(panel.EdgeLineCombo.enabled());
    EXPECT_TRUE(planner.set_planning("edge", "L2"));
    EXPECT_EQ(session.settings.edge, physics::EdgeChoice::L2);
    EXPECT_EQ(form.Text11.text(), energy);  // no energy preset
    form.Command1.click();
    EXPECT_EQ(form.st.Spec_total, classic.Spec_total);
    EXPECT_EQ(form.st.Spec_target, classic.Spec_target);
    // A new target under the classic model keeps the form's own energy.
    form.Text1.set_text("Bi");
    EXPECT_DOUBLE_EQ(val(form.Text11.text()),
                     common::energy_above_edge(val(form.Label30.caption())));
}

TEST_F(EdgePanel, TheEdgeGoesThroughASetupFile) {
    lead_in_silica();
    planner.set_model(Model::fp);
    panel.EdgeCombo.user_pick("L1");
    panel.EdgeLineCombo.user_pick("L-beta 3 (L1M3)");
    const std::string path = ::testing::TempDir() + "edge_setup.json";
    ASSERT_EQ(planner.save_setup(path), "");
    panel.EdgeCombo.user_pick("Form");
    ASSERT_EQ(planner.load_setup(path), "");
    std::remove(path.c_str());
    EXPECT_EQ(session.settings.edge, physics::EdgeChoice::L1);
    EXPECT_EQ(session.settings.edge_line, "L1M3");
    EXPECT_EQ(panel.EdgeCombo.text(), "L1");
    EXPECT_EQ(panel.EdgeLineCombo.text(), "L-beta 3 (L1M3)");
    EXPECT_EQ(session.setup().target_lines, (std::vector<int>{L1M3_LINE}));
}

}  // namespace
}  // namespace lumetra::window::testing
