// Bulk or film, angles, density and thickness.

#include <cmath>

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

using Sample = FormTest;

TEST_F(Sample, FieldColours) {
    struct Case {
        TextBox* box;
        const char* text;
        bool red;
    };
    const Case cases[] = {
        {&form.Text21, "90", true},   {&form.Text21, "-30", false}, {&form.Text21, "-90", true},
        {&form.Text22, "89.9", false}, {&form.Text22, "abc", false}, {&form.Text24, "0.1", true},
        {&form.Text24, "0.11", false}, {&form.Text23, "abc", true},  {&form.Text23, "2.2", false},
    };
    for (const Case& c : cases) {
        c.box->set_text(c.text);
        EXPECT_EQ(c.box->fore_color() == common::colours::red, c.red)
            << c.box->name() << " " << c.text;
    }
}

TEST_F(Sample, InvalidValuesAreStillUsedWhileASpectrumIsShown) {
    enter_sample("Cu", "1", {{"O", "2"}});
    form.Command1.click();
    form.Text21.set_text("90");
    EXPECT_EQ(form.Text21.fore_color(), common::colours::red);
    EXPECT_EQ(form.st.Calc_state, 10);
    const double yield_before = form.st.Line_yield[0][15];
    form.Text22.set_text("5");  // a grazing exit path absorbs more
    EXPECT_LT(form.st.Line_yield[0][15], yield_before);
    for (double v : form.st.Spec_total) ASSERT_TRUE(std::isfinite(v));
}

TEST_F(Sample, FilmShowsItsFieldsAndWaitsForPlot) {
    enter_sample("Cu", "1", {{"O", "2"}});
    form.Command1.click();
    ASSERT_EQ(form.st.Calc_state, 10);
    form.Option6.user_click();
    EXPECT_EQ(form.st.Sample_form, -10);
    EXPECT_TRUE(form.Text23.visible());
    EXPECT_TRUE(form.Label50.visible());
    EXPECT_EQ(form.st.Calc_state, -10);
    const auto yield_before = form.st.Line_yield[1];

    form.Text24.set_text("5");  // no recalculation now
    EXPECT_EQ(form.st.Line_yield[1], yield_before);
    form.Command1.click();
    EXPECT_EQ(form.st.Calc_state, 10);
    EXPECT_GT(form.st.Areal_factor, 0.0);

    form.Option5.user_click();
    EXPECT_EQ(form.st.Sample_form, 10);
    EXPECT_FALSE(form.Text24.visible());
}

TEST_F(Sample, FilmThicknessMovesTheShareUpToTheBulkValue) {
    // Iron in a silicate glass. A film of 10 nm absorbs nothing on the way; at 25 um
    // the glass reaches an optical thickness of about 1; 1 mm is as thick as bulk.
    dialogs.queue_file(std::string(LUMETRA_EXAMPLES_DIR) + "/iron-in-silicate-glass.txt");
    form.Command6.click();
    const std::string bulk_share = form.Label38.caption();
    const double bulk_yield = form.st.Line_yield[0][15];
    form.Option6.user_click();
    auto film = [&](const char* nm) {
        form.Text24.set_text(nm);
        form.Command1.click();
        return val(form.Label38.caption());
    };
    const double thin = film("10");
    EXPECT_LT(form.st.Line_yield[0][15], 1e-3 * bulk_yield);
    const double middle = film("25000");
    EXPECT_GT(form.st.Line_yield[0][15], 0.2 * bulk_yield);
    EXPECT_LT(form.st.Line_yield[0][15], 0.9 * bulk_yield);
    film("1000000");
    EXPECT_EQ(form.Label38.caption(), bulk_share);
    EXPECT_NEAR(form.st.Line_yield[0][15], bulk_yield, 1e-9 * bulk_yield);
    EXPECT_GT(std::fabs(thin - middle), 0.1);
    EXPECT_GT(std::fabs(middle - val(bulk_share)), 0.1);
}

}  // namespace
}  // namespace lumetra::window::testing
