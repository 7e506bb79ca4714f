// Gains, full-scale energy, automatic gain choice and the energy and width fields.

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

using Gain = FormTest;

TEST_F(Gain, FullScaleEnergyFollowsCoarseAndFineGain) {
    struct Case {
        const char* coarse;
        const char* fine;
        const char* full;
    };
    const Case cases[] = {{" 100", "1.0", " 38.982"}, {" 200", "1.5", " 12.994"},
                          {" 200", "1.0", " 19.491"}, {" 1000", "0.5", " 7.796"}};
    for (const Case& c : cases) {
        form.Label9.set_caption(c.coarse);
        form.Combo2.set_text(c.fine);
        form.Set_scale();
        EXPECT_EQ(form.Label8.caption(), c.full) << c.coarse << " x " << c.fine;
    }
}

TEST_F(Gain, AGainThatReadsAsZeroKeepsThePreviousScale) {
    for (const char* bad : {"", "abc", "0", "-1.0"}) {
        form.Combo2.set_text(bad);
        EXPECT_EQ(form.Label8.caption(), " 19.491") << bad;
    }
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Gain, CoarseButtonsStepTheTableAndRecalculate) {
    form.Command23.click();  // table entry 5 = 200
    EXPECT_EQ(form.view.Coarse_index, 5);
    EXPECT_EQ(form.Label9.caption(), " 200");
    EXPECT_EQ(form.st.Calc_state, 10);
    for (int i = 0; i < 5; ++i) form.Command23.click();
    EXPECT_EQ(form.view.Coarse_index, 7);
    EXPECT_EQ(form.Label9.caption(), " 1000");
    for (int i = 0; i < 10; ++i) form.Command24.click();
    EXPECT_EQ(form.view.Coarse_index, 0);
    EXPECT_EQ(form.Label9.caption(), " 5");
}

TEST_F(Gain, EnergyAxisFollowsTheScaleInTheViewAsItStands) {
    // Lead L3 in a soil-like matrix: full view, then a coarse gain step up.
    enter_sample("Pb", "0.002", {{"O", "60"}, {"Fe", "2"}});
    form.Option2.user_click();
    form.Command23.click();
    const double F = val(form.Label8.caption());
    EXPECT_EQ(form.Label15.caption(), text::cut(form.Label8.caption(), 5) + " (keV)");
    EXPECT_EQ(val(form.Label21.caption()), text::Int(F * 50 + 0.5) / 100);
    EXPECT_EQ(form.Label14.caption(), "0.0 (keV)");

    // Zoomed to channels 400..700: a fine gain change keeps the window and
    // rewrites its energies; the voltages stay.
    form.Picture1.on_mouse_down(MouseButton::Left, 400.0f, 5000.0f);
    form.Picture1.on_mouse_up(MouseButton::Left, 700.0f, 5000.0f);
    const std::string volts = form.Label55.caption();
    form.Combo2.user_pick("1.5");
    const double F2 = val(form.Label8.caption());
    ASSERT_NE(F2, F);
    EXPECT_EQ(form.Picture1.picture().scale().left, 400.0f);
    EXPECT_EQ(form.Label55.caption(), volts);
    EXPECT_EQ(val(form.Label14.caption()), text::Int(F2 * 400 / 10.24 + 0.5) / 100);
    EXPECT_EQ(val(form.Label15.caption()), text::Int(F2 * 700 / 10.24 + 0.5) / 100);
    EXPECT_EQ(val(form.Label21.caption()), text::Int(F2 * 550 / 10.24 + 0.5) / 100);
    form.Picture1.on_mouse_up(MouseButton::Right, 0.0f, 0.0f);  // full view again
    form.Command24.click();
    EXPECT_EQ(form.Label15.caption(), text::cut(form.Label8.caption(), 5) + " (keV)");
}

TEST_F(Gain, FirstDownPressMovesToEntryThree) {
    form.Command24.click();
    EXPECT_EQ(form.Label9.caption(), " 50");
}

TEST_F(Gain, AutoTuneWorkedExample) {
    form.Label30.set_caption(" 8.979");
    form.Auto_tune();
    EXPECT_EQ(form.view.Coarse_index, 6);
    EXPECT_EQ(form.Label9.caption(), " 500");
    EXPECT_EQ(form.Combo2.text(), "0.8");
    EXPECT_EQ(form.Label8.caption(), " 9.745");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_NEAR(val(dialogs.shown()[0].text), 0.8089, 1e-4);
    EXPECT_EQ(dialogs.shown()[0].text.substr(0, 5), " .808");
}

TEST_F(Gain, AutoTuneBandsTakeOneStepAtMostAndFixKeepsEverything) {
    struct Case {
        const char* edge;
        int index;  // after the single step
        const char* fine;
    };
    // edge 37: top 39.06, 100, needs .998; 38.5: top 40.635, 50 needs 1.92 -> 100;
    // 10: 200 needs 1.82 -> 500; 4: 500 needs 1.77 -> 1000; 60: 50 needs 1.23.
    const Case cases[] = {{" 37", 4, "1.0"}, {" 38.5", 4, "1.0"}, {" 10", 6, "0.7"},
                          {" 4", 7, "0.9"},  {" 60", 3, "1.2"}};
    for (const Case& c : cases) {
        common::ScriptedDialogs d;
        RADirido f(d);
        f.Label30.set_caption(c.edge);
        f.Auto_tune();
        EXPECT_EQ(f.view.Coarse_index, c.index) << c.edge;
        EXPECT_EQ(f.Combo2.text(), c.fine) << c.edge;
    }
    form.Check2.set_value(1);
    form.Label30.set_caption(" 8.979");
    form.Picture1.picture().Scale(1, 2, 3, 4);
    form.Auto_tune();
    EXPECT_EQ(form.Label9.caption(), " 200");
    EXPECT_EQ(form.Picture1.picture().scale().left, 1.0f);  // not even the view changes
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Gain, AutoTuneButtonUnchecksFixOnlyForAValidTarget) {
    form.Check2.set_value(1);
    form.Command4.click();  // no target: nothing
    EXPECT_EQ(form.Check2.value(), 1);
    form.Text1.set_text("Cu");
    form.Check2.set_value(1);
    form.Command4.click();
    EXPECT_EQ(form.Check2.value(), 0);
}

TEST_F(Gain, XrayEnergyColours) {
    form.Text11.set_text("4.999");
    EXPECT_EQ(form.Text11.fore_color(), common::rgb(255, 0, 0));
    EXPECT_EQ(form.Text11.back_color(), common::rgb(255, 192, 192));
    form.Text1.set_text("Fe");  // presets 7.1609
    EXPECT_EQ(form.Text11.fore_color(), common::colours::black);
    EXPECT_EQ(form.Text11.back_color(), common::rgb(255, 255, 192));
    form.Text11.set_text("7.1109");  // at the edge
    EXPECT_EQ(form.Text11.fore_color(), common::colours::red);
    form.Text11.set_text("4.999");
    EXPECT_EQ(form.Text11.back_color(), common::rgb(255, 192, 192));
}

TEST_F(Gain, EnergyButtonsRoundToFourDecimalsAndRecalculate) {
    enter_sample("Fe", "10");
    form.Text12.set_text("0.12341");
    form.Command9.click();
    EXPECT_EQ(form.Text11.text(), " 7.2843");  // 7.28431 to four decimals
    EXPECT_EQ(form.st.Calc_state, 10);
    form.Command10.click();
    EXPECT_EQ(form.Text11.text(), " 7.1609");  // 7.16089
    form.Text11.set_text("9");
    form.Command11.click();
    EXPECT_EQ(form.Text11.text(), " 7.1609");
}

TEST_F(Gain, StepAndWidthFieldColours) {
    for (auto [t, bad] : {std::pair<const char*, bool>{"0.01", false}, {"10", false},
                          {"0.0099", true}, {"10.5", true}, {"x", true}}) {
        form.Text12.set_text(t);
        EXPECT_EQ(form.Text12.fore_color() == common::colours::red, bad) << t;
    }
    form.Text16.set_text("0.01");
    EXPECT_EQ(form.Text16.fore_color(), common::colours::red);
    form.Text16.set_text("0.0101");
    EXPECT_EQ(form.Text16.fore_color(), common::colours::black);
}

TEST_F(Gain, TargetLineAboveFullScaleIsReported) {
    enter_sample("Fe", "1");
    dialogs.clear_shown();
    form.Label9.set_caption(" 1000");
    form.Combo2.set_text("1.5");  // 2.599 keV full scale, below 6.4 keV
    EXPECT_EQ(shown_texts(), (std::vector<std::string>{"  Target Emission is out of Range  "}));
}

}  // namespace
}  // namespace lumetra::window::testing
