// The recalculation cycle and who recalculates when.

#include <cmath>

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

class Recalc : public FormTest {
protected:
    void SetUp() override {
        enter_sample("Cu", "1", {{"O", "2"}});
        dialogs.clear_shown();
    }
    double total() const {
        double s = 0;
        for (double v : form.st.Spec_total) s += v;
        return s;
    }
};

TEST_F(Recalc, ANarrowWidthIsComputedThenReplaced) {
    form.Text16.set_text("0.005");  // red, no calculation yet
    dialogs.queue_text("0.003");
    form.Re_calc();
    EXPECT_EQ(shown_texts(), (std::vector<std::string>{"Width must be larger than 0.01 "}));
    EXPECT_EQ(form.Text16.text(), " .01");
    EXPECT_EQ(form.st.Calc_state, 10);
    EXPECT_GT(total(), 0.0);
}

TEST_F(Recalc, WidthAtTheLimitPassesAndZeroWidthStaysFinite) {
    form.Text16.set_text("0.0101");
    form.Re_calc();
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(form.Text16.text(), "0.0101");

    for (const char* w : {"0", "-5", "abc"}) {
        form.Text16.set_text(w);
        dialogs.queue_cancel();
        form.Re_calc();
        EXPECT_EQ(form.Text16.text(), " .01") << w;
        for (double v : form.st.Spec_total) ASSERT_TRUE(std::isfinite(v)) << w;
    }
}

TEST_F(Recalc, AnAcceptedAnswerRecalculatesInsideThePrompt) {
    form.Command1.click();
    form.Text16.set_text("0.005");  // red: no recalculation, plot cleared
    EXPECT_TRUE(form.Picture1.picture().ops().empty());
    dialogs.queue_text("0.5");
    form.Re_calc();
    EXPECT_EQ(form.Text16.text(), "0.5");
    EXPECT_FALSE(form.Picture1.picture().ops().empty());
}

TEST_F(Recalc, OnlyPlotAndTheForcingButtonsStartTheFirstCalculation) {
    // Fields that only validate while no spectrum is shown.
    form.Text11.set_text("9.5");
    form.Text16.set_text("0.2");
    form.Text21.set_text("30");
    form.Text20.set_text("1");
    form.Combo1.user_pick("(K-alpha 1)");
    form.Combo2.user_pick("0.7");
    form.Check3.user_click();
    form.Option4.user_click();
    EXPECT_EQ(form.st.Calc_state, -10);
    EXPECT_EQ(total(), 0.0);
    // An energy step recalculates unconditionally.
    form.Command9.click();
    EXPECT_EQ(form.st.Calc_state, 10);
    EXPECT_GT(total(), 0.0);
    // A new target stops the automatic recalculation again.
    form.Text1.set_text("Zn");
    EXPECT_EQ(form.st.Calc_state, -10);
    const double before = total();
    form.Text21.set_text("20");
    EXPECT_EQ(total(), before);
}

TEST_F(Recalc, DisplayChoicesRedrawWithoutRecalculating) {
    form.Command1.click();
    form.st.Spec_total[100] = 1234;  // a recalculation would overwrite it
    form.Option4.user_click();
    form.Check1.user_click();
    form.Check21.user_click();
    form.Picture1.on_mouse_up(MouseButton::Right, 0, 0);
    EXPECT_EQ(form.st.Spec_total[100], 1234);
    EXPECT_EQ(form.Label6.fore_color(), common::rgb(16, 16, 255));
    form.Check1.user_click();
    EXPECT_EQ(form.Label6.fore_color(), common::colours::black);
    form.Check11.user_click();
    EXPECT_EQ(form.Label7.fore_color(), common::rgb(255, 16, 16));
}

}  // namespace
}  // namespace lumetra::window::testing
