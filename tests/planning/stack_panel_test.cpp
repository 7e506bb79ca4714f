// The panel's list of layers and beam filters as a user works it: entries added
// through the fields, a refused one named and leaving the list as it was, replace,
// remove and order within a side, and the list's effect on the calculation.

#include <gtest/gtest.h>

#include "planning/planner_fixture.h"

namespace lumetra::window::testing {
namespace {

class StackPanel : public PlannerTest {
  protected:
    void SetUp() override {
        enter_sample("Cu", "0.001", {{"O", "1"}, {"H", "2"}});
        form.Text11.set_text("9.1");
        planner.set_model(Model::fp);
        planner.set_planning("flux", "1e9");
        form.Command1_Click();
        ASSERT_TRUE(session.result().ok);
    }
    void fill(const char* kind, const char* text, const char* thickness,
              const char* density = "") {
        panel.StackKind.set_text(kind);
        panel.StackText.set_text(text);
        panel.StackThickness.set_text(thickness);
        panel.StackDensity.set_text(density);
    }
    double target() const { return session.result().figures.target; }
};

TEST_F(StackPanel, EntriesAddedReplacedMovedAndRemoved) {
    const double bare = target();
    fill("Front layer", "kapton", "7.5");
    planner.StackAdd_Click();
    fill("Front layer", "Al", "12", "2.7");
    planner.StackAdd_Click();
    EXPECT_EQ(panel.StackList.text(), "Front 2: Al, 12 um, 2.7 g/cm3");
    fill("Beam filter", "Al", "50");
    planner.StackAdd_Click();
    ASSERT_EQ(panel.StackList.items().size(), 3u);
    EXPECT_EQ(panel.StackList.items()[0], "Front 1: kapton, 7.5 um");
    EXPECT_EQ(panel.StackList.items()[2], "Beam 1: Al, 50 um");
    // Every entry dims the target line: the plot shown was recalculated.
    const double covered = target();
    EXPECT_LT(covered, 0.7 * bare);
    EXPECT_GT(covered, 0.3 * bare);
    EXPECT_EQ(panel.StackMessage.caption().substr(0, 19), "Flux on the sample ");

    // Picking an entry fills the fields; Replace changes it in its place.
    panel.StackList.user_pick("Front 1: kapton, 7.5 um");
    EXPECT_EQ(panel.StackText.text(), "kapton");
    EXPECT_EQ(panel.StackDensity.text(), "");
    panel.StackThickness.set_text("25");
    planner.StackReplace_Click();
    EXPECT_EQ(panel.StackList.items()[0], "Front 1: kapton, 25 um");
    EXPECT_LT(target(), covered);

    // Down moves it inward, past the aluminium; not past the last of its side.
    panel.StackList.user_pick("Front 1: kapton, 25 um");
    planner.StackMove_Click(1);
    EXPECT_EQ(panel.StackList.items()[1], "Front 2: kapton, 25 um");
    EXPECT_EQ(panel.StackList.text(), "Front 2: kapton, 25 um");
    planner.StackMove_Click(1);
    EXPECT_EQ(panel.StackList.items()[1], "Front 2: kapton, 25 um");

    // A substrate behind bulk water changes nothing, and the panel says so.
    const double before = target();
    fill("Back layer", "SiO2", "1000");
    planner.StackAdd_Click();
    EXPECT_EQ(target(), before);
    EXPECT_EQ(panel.StackMessage.caption(), "Bulk sample: the layer behind it has no effect.");

    for (int i = 0; i < 4; ++i) {
        panel.StackList.user_pick(panel.StackList.items().front());
        planner.StackRemove_Click();
    }
    EXPECT_TRUE(planner.settings().layers.empty());
    EXPECT_TRUE(planner.settings().beam_filters.empty());
    EXPECT_EQ(panel.StackList.text(), "Layers and beam filters: none");
    EXPECT_EQ(target(), bare);
}

TEST_F(StackPanel, ARefusedEntryIsNamedAndChangesNothing) {
    fill("Front layer", "kapton", "7.5");
    planner.StackAdd_Click();
    const physics::Settings kept = planner.settings();
    const double target_kept = target();
    const struct {
        const char* kind;
        const char* text;
        const char* thickness;
        const char* density;
        const char* reason;
    } cases[] = {
        {"Front layer", "Al", "0", "", "Front layer 2: the thickness must be above 0 um."},
        {"Front layer", "Al", "abc", "", "Front layer 2: the thickness must be above 0 um."},
        {"Back layer", "", "5", "", "Back layer 1: it has no composition."},
        {"Front layer", "Al", "5", "-2", "Front layer 2: the density must lie between"},
        {"Front layer", "Al", "1e300", "", "Front layer 2: the thickness must be at most"},
        {"Front layer", "Qq3", "5", "", "Front layer 2: the composition: "},
        {"Beam filter", "Al2O3", "5", "", "Beam filter 1: \"Al2O3\" is not an element"},
    };
    for (const auto& c : cases) {
        dialogs.clear_shown();
        fill(c.kind, c.text, c.thickness, c.density);
        planner.StackAdd_Click();
        const std::string reason = c.reason;
        EXPECT_EQ(panel.StackMessage.caption().substr(0, reason.size()), reason) << c.text;
        ASSERT_EQ(shown_texts().size(), 1u) << c.text;
        EXPECT_EQ(shown_texts()[0].substr(0, reason.size()), reason);
        EXPECT_TRUE(planner.settings() == kept) << c.text;
        EXPECT_EQ(target(), target_kept);
    }
    // Eight layers a side, then the ninth is refused.
    for (int i = 0; i < 7; ++i) {
        fill("Front layer", "Al", "1");
        planner.StackAdd_Click();
    }
    EXPECT_EQ(planner.settings().layers.size(), 8u);
    planner.StackAdd_Click();
    EXPECT_EQ(planner.settings().layers.size(), 8u);
    EXPECT_EQ(panel.StackMessage.caption(), "At most 8 layers lie on each side of the sample.");
}

TEST_F(StackPanel, TheStackTravelsWithTheSetup) {
    fill("Front layer", "kapton", "7.5");
    planner.StackAdd_Click();
    fill("Beam filter", "Al", "50");
    planner.StackAdd_Click();
    const io::WindowSetup s = planner.setup();
    ASSERT_EQ(s.planning.layers.size(), 1u);
    common::ScriptedDialogs other_dialogs;
    planning::Planner other(other_dialogs);
    other.apply_setup(s);
    EXPECT_TRUE(other.settings() == planner.settings());
    EXPECT_EQ(other.panel.StackList.items(), panel.StackList.items());
    EXPECT_EQ(other.session().result().figures.target, target());
}

}  // namespace
}  // namespace lumetra::window::testing
