// Entering the target element, choosing its edge and its line.

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

using Target = FormTest;

TEST_F(Target, IronWithTheKEdgePresetsTheBeamAboveTheEdge) {
    form.Text20.set_text("3");
    form.Text1.set_text("Fe");
    EXPECT_EQ(form.Label30.caption(), " 7.1109");
    EXPECT_EQ(form.Text11.text(), " 7.1609");
    EXPECT_EQ(form.Text1.fore_color(), common::colours::black);
    EXPECT_TRUE(form.Text51.visible());
    EXPECT_EQ(form.Text20.text(), "0");
    EXPECT_EQ(form.st.Elem_z[0], 26);
    EXPECT_DOUBLE_EQ(form.st.Elem_mass[0], 55.85);
    EXPECT_EQ(form.st.Calc_state, -10);
    // K-alpha 1&2 of iron, 6.3995 keV cut to six characters without the blank.
    EXPECT_EQ(form.Label32.caption(), "6.399");
    // The full view of a new target.
    EXPECT_EQ(form.view.Zoom_steps.num(), 1.0);
    EXPECT_EQ(form.view.Y_top.num(), 11750.0);
    EXPECT_EQ(form.Label55.caption(), "0.0  (V)");
    EXPECT_EQ(form.Label15.caption(), form.Label8.caption().substr(0, 5) + " (keV)");
}

TEST_F(Target, ColourCodeOfTheSymbol) {
    struct Case {
        const char* symbol;
        common::Rgb colour;
        bool content_shown;
    };
    const Case cases[] = {
        {"", common::rgb(255, 0, 0), false},      {"Xx", common::rgb(255, 0, 0), false},
        {"fe", common::rgb(255, 0, 0), false},    {"Al", common::rgb(255, 128, 0), false},
        {"K", common::rgb(255, 128, 0), false},   {"Ca", common::rgb(128, 64, 0), true},
        {"Zn", common::rgb(0, 0, 0), true},       {"Bi", common::rgb(0, 0, 0), true},
    };
    for (const Case& c : cases) {
        common::ScriptedDialogs d;
        RADirido f(d);
        f.Text1.set_text(c.symbol);
        EXPECT_EQ(f.Text1.fore_color(), c.colour) << c.symbol;
        EXPECT_EQ(f.Text51.visible(), c.content_shown) << c.symbol;
        if (!c.content_shown) {
            EXPECT_EQ(f.Label30.caption(), "") << c.symbol;
        }
    }
}

TEST_F(Target, HeavyElementIsRejectedAndTheFieldEmptied) {
    form.Text1.set_text("Po");
    EXPECT_EQ(shown_texts(), (std::vector<std::string>{"heavy elements (Z>84) are not supported "}));
    EXPECT_EQ(form.Text1.text(), "");
    EXPECT_EQ(form.Text1.fore_color(), common::colours::red);
    EXPECT_LT(form.st.Elem_z[0], 1);
}

TEST_F(Target, LeadWithL3IsBlueAndListsTheLLines) {
    form.Text1.set_text("Pb");
    form.Option2.user_click();
    EXPECT_EQ(form.st.Edge_mode, -10);
    EXPECT_EQ(form.Text1.fore_color(), common::colours::blue);
    EXPECT_EQ(form.Label30.caption(), " 13.0401");
    EXPECT_EQ(form.Combo1.text(), "L-alpha 1&2");
    EXPECT_EQ(form.Combo1.items().size(), 4u);
    EXPECT_EQ(form.st.Target_line, 22);
}

TEST_F(Target, L3ForALightTargetSnapsBackToK) {
    form.Text1.set_text("Fe");
    form.Option2.user_click();
    EXPECT_EQ(form.st.Edge_mode, 10);
    EXPECT_TRUE(form.Option1.value());
    EXPECT_FALSE(form.Option2.value());
    EXPECT_EQ(form.Combo1.items().size(), 6u);
    EXPECT_EQ(form.Combo1.text(), "K-alpha 1&2");
}

TEST_F(Target, TypingALightElementAfterAnL3TargetForcesK) {
    form.Text1.set_text("Pb");
    form.Option2.user_click();
    form.Text1.set_text("Fe");
    EXPECT_EQ(form.st.Edge_mode, 10);
    EXPECT_TRUE(form.Option1.value());
}

TEST_F(Target, LineChoiceAndAFailedSelection) {
    form.Text1.set_text("Fe");
    form.Combo1.user_pick("(K -beta 1)");
    EXPECT_EQ(form.st.Target_line, 17);
    EXPECT_EQ(form.Label32.caption(), "7.058");
    dialogs.clear_shown();
    form.Combo1.set_text("K");
    EXPECT_EQ(shown_texts(), (std::vector<std::string>{" selection was failed  "}));
    EXPECT_EQ(form.st.Target_line, 17);
}

TEST_F(Target, PlotNeedsACalciumOrHeavierTargetWithPositiveContent) {
    form.Text1.set_text("Al");
    form.Text51.set_text("5");
    form.Command1.click();
    EXPECT_EQ(form.st.Calc_state, -10);

    form.Text1.set_text("Fe");
    form.Text51.set_text("0");
    form.Command1.click();
    EXPECT_EQ(form.st.Calc_state, -10);

    form.Text51.set_text("10");
    form.Command1.click();
    EXPECT_EQ(form.st.Calc_state, 10);
    EXPECT_FALSE(form.Label38.caption().empty());
}

TEST_F(Target, AfterAllClearTheLineCodeIndexesNothing) {
    enter_sample("Fe", "1", {{"O", "3"}});
    form.Command3.click();
    EXPECT_EQ(form.st.Target_line, -10);
    form.Combo1.set_text("nothing listed");  // the code stays -10
    EXPECT_EQ(form.st.Target_line, -10);
    EXPECT_EQ(form.Label32.caption(), "0");
    enter_sample("Cu", "1");
    form.Command1.click();  // calculates without a target line
    EXPECT_EQ(form.st.Calc_state, 10);
}

}  // namespace
}  // namespace lumetra::window::testing
