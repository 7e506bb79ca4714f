// What the window shows of a calculation with the fundamental-parameter model: a
// paralysed detector, the neighbours of the target line, counts that are never
// negative, the greyed classic detection chain and what the scale leaves out.

#include <algorithm>
#include <cmath>

#include "physics/neighbours.h"
#include "planning/planner_fixture.h"
#include "planning/spectrum_csv.h"

namespace lumetra::window::testing {
namespace {

class FpFigures : public PlannerTest {
  protected:
    void chromium_in_steel() {
        enter_sample("Cr", "0.18", {{"Fe", "0.72"}, {"Ni", "0.1"}});
        planner.set_model(Model::fp);
        form.Command1.click();
        ASSERT_TRUE(session.result().ok) << session.result().reason;
    }
    void arsenic_in_soil() {
        enter_sample("As", "0.002",
                     {{"O", "60"},
                      {"Si", "20"},
                      {"Al", "7"},
                      {"Fe", "2"},
                      {"Ca", "1.5"},
                      {"K", "1.2"},
                      {"Pb", "0.002"}});
    }
    std::vector<std::string> printed() const {
        std::vector<std::string> out;
        for (const display::PlotOp& op : form.Picture1.picture().ops())
            if (op.kind == display::PlotOp::Kind::Print) out.push_back(op.text);
        return out;
    }
};

TEST_F(FpFigures, AParalysedDetectorSaysSoAndGivesNoTimePerPoint) {
    chromium_in_steel();  // 1e12 photons/s at 5 cm: ICR 1.1e8, tau 1 us
    const physics::Figures& f = session.result().figures;
    ASSERT_TRUE(f.paralysed());
    const Panel& p = panel;
    EXPECT_EQ(p.Saturation.caption(),
              "The detector is paralysed: " + std::to_string(std::lround(f.overload)) +
                  " times too many photons.");
    EXPECT_EQ(p.TimePerPoint.caption(), "Time per point (0.1 % of the step)  none (paralysed)");
    EXPECT_EQ(p.TargetRate.caption(), "Target line  none counted (paralysed)");
    EXPECT_EQ(p.Background.caption(), "Background under it  none counted (paralysed)");
    // S/B does not depend on the dead time: a number, as without it.
    const double sb = val(p.SignalToBackground.caption().substr(5));
    EXPECT_NEAR(sb, f.signal_to_background, 0.01 * sb);
    EXPECT_EQ(p.DeadTime.caption(), "Dead time  100 %");
    EXPECT_EQ(p.DeadTime.fore_color(), common::colours::red);
    // Neighbours as shares of B, not as vanishing rates.
    EXPECT_NE(p.Neighbours[0]->caption().find("% of B"), std::string::npos);

    // Ten thousand times less flux: counted again.
    planner.set_planning("flux", "1e8");
    EXPECT_FALSE(session.result().figures.paralysed());
    EXPECT_EQ(p.Saturation.caption(), "");
    EXPECT_EQ(p.TimePerPoint.caption().find("none"), std::string::npos);
    EXPECT_NE(p.TargetRate.caption().find("counts/s"), std::string::npos);
}

// Fe 0.01 in MnO at 7.5 keV, 1e8 photons/s: the Mn K-beta lines sit under Fe K-alpha.
TEST_F(FpFigures, NoNeighbourExceedsTheBackground) {
    enter_sample("Fe", "0.01", {{"Mn", "1"}, {"O", "1"}});
    form.Text11.set_text("7.5");
    planner.set_planning("flux", "1e8");
    planner.set_model(Model::fp);
    form.Command1.click();
    const physics::Figures& f = session.result().figures;
    const std::vector<physics::Neighbour> near = physics::neighbours(session.result());
    ASSERT_FALSE(near.empty());
    EXPECT_EQ(near[0].name, "Mn K-beta 1");
    double sum = 0.0;
    for (const physics::Neighbour& n : near) {
        EXPECT_LE(n.rate, f.background) << n.name;
        sum += n.rate;
    }
    EXPECT_LE(sum, f.background * (1 + 1e-12));
    EXPECT_EQ(panel.Neighbours[0]->caption().rfind("Mn K-beta 1 (6.49 keV)  ", 0), 0u);
}

// Three samples: each neighbour at most B, together at most B, and B the sum of all
// its parts; the panel says what share of the target line the window holds.
TEST_F(FpFigures, TheNeighboursArePartsOfBInTheWindowOfS) {
    auto check = [&](const char* name) {
        const physics::Result& r = session.result();
        ASSERT_TRUE(r.ok) << name << r.reason;
        const physics::Figures& f = r.figures;
        double all = 0.0, top = 0.0;
        for (const physics::BackgroundPart& p : r.background_parts) all += p.rate;
        for (const physics::Neighbour& n : physics::neighbours(r)) {
            EXPECT_LE(n.rate, f.background) << name << " " << n.name;
            top += n.rate;
        }
        EXPECT_LE(top, f.background * (1 + 1e-12)) << name;
        EXPECT_NEAR(all, f.background, 1e-12 * f.background) << name;
        EXPECT_GT(f.window_share, 0.7) << name;
        EXPECT_LE(f.window_share, 1.0) << name;
        EXPECT_EQ(panel.WindowShare.caption().rfind("Window holds  ", 0), 0u) << name;
    };
    enter_sample("Fe", "0.01", {{"Mn", "1"}, {"O", "1"}});
    form.Text11.set_text("7.5");
    planner.set_planning("flux", "1e8");
    planner.set_model(Model::fp);
    form.Command1.click();
    check("Fe in MnO");
    arsenic_in_soil();
    form.Text11.set_text("12.5");
    form.Command1.click();
    check("As in soil");
    enter_sample("Pb", "0.01", {{"Fe", "1"}, {"O", "1"}});
    form.Option2.set_value(true);  // the L3 edge
    form.Text11.set_text("13.5");
    form.Command1.click();
    check("Pb in FeO");
}

TEST_F(FpFigures, PileUpIsInTheTotalAndAmongTheNeighbours) {
    arsenic_in_soil();
    planner.set_planning("flux", "1e10");
    planner.set_model(Model::fp);
    form.Command1.click();
    ASSERT_TRUE(session.result().ok);
    EXPECT_EQ(panel.Neighbours[0]->caption().rfind("pile-up Fe Ka1 + ", 0), 0u)
        << panel.Neighbours[0]->caption();
    const physics::Layers& l = session.result().layers;
    double pileup = 0.0;
    for (int n = 0; n < physics::kChannels; ++n) {
        EXPECT_GE(l.total[n], l.pileup[n] + l.escape[n] - 1e-9 * l.total[n]) << n;
        pileup += l.pileup[n];
    }
    EXPECT_GT(pileup, 0.0);
}

// Several samples, both models: no layer of the plot and no cell of the export
// holds a count below 0.
TEST_F(FpFigures, NoCountIsNegativeInAnyLayerOrExport) {
    const std::vector<std::string> examples = {"copper-in-water.txt", "iron-in-silicate-glass.txt",
                                               "lead-in-soil.txt", "molybdenum-in-steel.txt"};
    for (const std::string& name : examples) {
        dialogs.queue_file(std::string(LUMETRA_EXAMPLES_DIR) + "/" + name);
        form.Command6.click();
        for (Model m : {Model::classic, Model::fp}) {
            planner.set_model(m);
            ASSERT_GT(form.st.Calc_state, 0) << name;
            const engine::CalcState& s = form.st;
            for (const engine::Spectrum* a :
                 {&s.Spec_total, &s.Spec_target, &s.Spec_line, &s.Spec_mark, &s.Spec_argon,
                  &s.Spec_elastic, &s.Spec_escape, &s.Spec_pileup})
                for (int n = 0; n < engine::kChannels; ++n)
                    ASSERT_GE((*a)[n], 0.0) << name << " channel " << n;
            const std::string csv = planning::spectrum_csv(planner);
            EXPECT_EQ(csv.find(",-"), std::string::npos) << name;
        }
        planner.set_model(Model::classic);
    }
}

TEST_F(FpFigures, TheClassicDetectionChainIsGreyedUnderTheModel) {
    form.Text1.set_text("Cu");
    form.Text19.set_text("10");
    form.Text20.set_text("2");
    Label* chain[] = {&form.Label27, &form.Label34, &form.Label33, &form.Label35,
                      &form.Label26, &form.Label25, &form.Label36, &form.Label37};
    std::vector<std::string> classic;
    for (Label* l : chain) {
        EXPECT_TRUE(l->enabled()) << l->name();
        classic.push_back(l->caption());
    }
    planner.set_model(Model::fp);
    for (Label* l : chain) EXPECT_FALSE(l->enabled()) << l->name();
    EXPECT_TRUE(form.Text19.enabled());  // distance and filter steps serve both models
    EXPECT_TRUE(form.Text20.enabled());
    planner.set_model(Model::classic);
    for (std::size_t i = 0; i < std::size(chain); ++i) {
        EXPECT_TRUE(chain[i]->enabled()) << chain[i]->name();
        EXPECT_EQ(chain[i]->caption(), classic[i]) << chain[i]->name();
    }
}

// A beam at 13.1 keV on arsenic: the automatic gain ends the scale at 12.994 keV.
TEST_F(FpFigures, ThePlotSaysWhatLiesBeyondTheScale) {
    arsenic_in_soil();
    form.Text11.set_text("13.1");
    form.Command1.click();
    const std::vector<display::PlotOp> classic = form.Picture1.picture().ops();
    EXPECT_TRUE(printed().empty());
    planner.set_planning("flux", "1e10");
    planner.set_model(Model::fp);
    ASSERT_EQ(form.Label8.caption(), " 12.994");
    EXPECT_EQ(printed(), std::vector<std::string>{"  Beyond the scale: elastic scatter"});
    form.Text11.set_text("12.0");  // the scatter back on the scale
    EXPECT_TRUE(printed().empty());
    form.Text11.set_text("13.1");
    planner.set_model(Model::classic);  // the classic plot as it was, without a note
    const auto& ops = form.Picture1.picture().ops();
    ASSERT_EQ(ops.size(), classic.size());
    for (std::size_t i = 0; i < ops.size(); ++i) {
        ASSERT_EQ(ops[i].kind, classic[i].kind) << i;
        ASSERT_EQ(ops[i].y2, classic[i].y2) << i;
    }
}

}  // namespace
}  // namespace lumetra::window::testing
