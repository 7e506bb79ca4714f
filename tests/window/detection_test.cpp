// Distance and filter fields with the detection-ratio labels, and when they
// recalculate.

#include <cmath>

#include "engine/transmission.h"
#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

using Detection = FormTest;

TEST_F(Detection, DistanceGivesSolidAngleAndAirAbsorption) {
    form.Label32.set_caption("8");
    form.Text19.set_text("10");
    EXPECT_EQ(form.Label34.caption(), " .25");
    EXPECT_EQ(form.Label35.caption(),
              text::Str(text::round_to(engine::Air_trans(8, 5), 4)));
    EXPECT_EQ(form.Text19.fore_color(), common::colours::black);

    form.Text19.set_text("60");
    EXPECT_EQ(form.Text19.fore_color(), common::colours::blue);
    EXPECT_EQ(form.Label34.caption(), " .0059");

    form.Text19.set_text("5");
    EXPECT_EQ(form.Label34.caption(), " 1");
    EXPECT_EQ(form.Label35.caption(), " 1");

    form.Text19.set_text("0");  // d = 5, no division by zero
    EXPECT_EQ(form.Label34.caption(), " 1");
    EXPECT_EQ(form.Text19.fore_color(), common::colours::blue);
}

TEST_F(Detection, BelowFiveCentimetresTheChainSitsAtFive) {
    // The line yields never put the detector closer than 5 cm; nor does the chain
    // (a distance of 2 used to show the solid angle of 7 cm, 4.9 less than 10 cm).
    form.Label32.set_caption("8");
    struct Case {
        const char* distance;
        const char* solid_angle;
        double air_path;  // cm beyond 5
        bool blue;
    };
    const Case cases[] = {{"0", " 1", 0, true},      {"2", " 1", 0, true},
                          {"4.9", " 1", 0, true},    {"-7", " 1", 0, true},
                          {"5", " 1", 0, false},     {"10", " .25", 5, false},
                          {"60", " .0059", 60, true}};  // beyond 50 the chain adds 5 cm
    for (const Case& c : cases) {
        form.Text19.set_text(c.distance);
        EXPECT_EQ(form.Label34.caption(), c.solid_angle) << c.distance;
        EXPECT_EQ(form.Label35.caption(),
                  text::Str(text::round_to(engine::Air_trans(8, c.air_path), 4)))
            << c.distance;
        EXPECT_EQ(form.Text19.fore_color() == common::colours::blue, c.blue) << c.distance;
    }
}

TEST_F(Detection, TheChainFollowsTheTargetLine) {
    form.Text19.set_text("20");
    enter_sample("Cu", "1");
    const double cu_air = val(form.Label35.caption());
    EXPECT_EQ(form.Label35.caption(),
              text::Str(text::round_to(engine::Air_trans(val(form.Label32.caption()), 15), 4)));
    form.Combo1.user_pick("(K -beta 1)");  // a harder line passes more air
    EXPECT_GT(val(form.Label35.caption()), cu_air);
    form.Text1.set_text("Ca");  // a soft line: much less
    const double ca_air = val(form.Label35.caption());
    EXPECT_LT(ca_air, cu_air / 2);
    EXPECT_EQ(form.Label37.caption(),
              text::Str(text::round_to(val(form.Label34.caption()) * ca_air, 7)));
}

TEST_F(Detection, RatioIsTheProductOfTheThreeLabels) {
    form.Label34.set_caption(" .25");
    form.Label35.set_caption(" .9");
    form.Label25.set_caption(" .5");
    form.Label37.click();
    EXPECT_EQ(form.Label37.caption(), " .1125");
}

TEST_F(Detection, FilterArrowsStayWithin0And100) {
    form.Command27.click();
    EXPECT_EQ(form.Text20.text(), " 0");
    EXPECT_EQ(form.Label25.caption(), " 1");
    form.Text20.set_text("99.95");  // a hair below a whole step counts as 100
    form.Command26.click();
    EXPECT_EQ(form.Text20.text(), " 100");
    form.Command26.click();
    EXPECT_EQ(form.Text20.text(), " 100");
    form.Text20.set_text("3");
    form.Command26.click();
    EXPECT_EQ(form.Text20.text(), " 4");
    form.Command27.click();
    form.Command27.click();
    EXPECT_EQ(form.Text20.text(), " 2");
}

TEST_F(Detection, FilterAttenuatesTheTargetLine) {
    form.Label32.set_caption("6.4");
    form.Text20.set_text("2");
    EXPECT_EQ(form.Label25.caption(), text::Str(text::round_to(engine::Al_trans(6.4, 2), 6)));
    EXPECT_LT(val(form.Label25.caption()), 1.0);
    // The steps the spectrum uses: none for a negative entry, the nearest whole one
    // (halves to even) for a fraction.
    struct Case {
        const char* entry;
        std::int16_t steps;
    };
    for (const Case& c : {Case{"-1", 0}, Case{"-0.4", 0}, Case{"2.7", 3}, Case{"2.5", 2}}) {
        form.Text20.set_text(c.entry);
        EXPECT_EQ(form.Label25.caption(),
                  text::Str(text::round_to(engine::Al_trans(6.4, c.steps), 6)))
            << c.entry;
    }
}

TEST_F(Detection, DistanceRecalculatesOnlyOnceASpectrumIsShown) {
    enter_sample("Cu", "1", {{"O", "1"}});
    form.Text19.set_text("20");
    EXPECT_EQ(form.st.Calc_state, -10);
    form.Command1.click();
    ASSERT_EQ(form.st.Calc_state, 10);
    const double before = form.st.Line_yield[0][15];
    form.Text19.set_text("40");
    EXPECT_LT(form.st.Line_yield[0][15], before);  // more air, recalculated at once
}

TEST_F(Detection, DistanceAbove60IsResetInsideTheCalculation) {
    enter_sample("Cu", "1");
    form.Command1.click();
    form.Text19.set_text("70");  // recalculates; the line yields reset the field
    EXPECT_EQ(form.Text19.text(), "60");
    EXPECT_EQ(form.st.Calc_state, 10);
}

TEST_F(Detection, HugeOrOddEntriesStayFinite) {
    enter_sample("Cu", "1");
    form.Command1.click();
    for (const char* t : {"1e308", "-1e308", "abc", "1e-300", "-0", "9999999999999999999999"}) {
        form.Text19.set_text(t);
        form.Text20.set_text(t);
        for (const Label* l : {&form.Label34, &form.Label35, &form.Label25, &form.Label37}) {
            EXPECT_EQ(l->caption().find_first_of("naif"), std::string::npos) << t;
        }
        for (double v : form.st.Spec_total) ASSERT_TRUE(std::isfinite(v)) << t;
    }
}

}  // namespace
}  // namespace lumetra::window::testing
