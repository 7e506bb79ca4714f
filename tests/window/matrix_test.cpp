// The matrix editor: rows opening one by one, "Plot" beside the open row,
// marking, swapping and clearing.

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

using Matrix = FormTest;

const char* const kSymbols[] = {"O", "Si", "Al", "Na", "Mg", "K", "Ca", "Ti", "Mn", "P", "S"};

TEST_F(Matrix, RowsOpenOneByOneWithPlotBesideTheOpenRow) {
    form.Text1.set_text("Fe");
    form.Text51.set_text("10");
    EXPECT_EQ(form.st.Elem_count, 0);
    EXPECT_TRUE(form.Text2[0]->visible());
    EXPECT_TRUE(form.Command1.visible());
    EXPECT_EQ(form.Command1.left(), 1200);
    EXPECT_EQ(form.Command1.top(), 3360);

    for (int i = 0; i < kRows; ++i) {
        form.Text2[i]->set_text(kSymbols[i]);
        EXPECT_TRUE(form.Text52[i]->visible()) << i;
        EXPECT_FALSE(form.Command1.visible()) << i;  // half-filled row: no Plot
        form.Text52[i]->set_text("5");
        EXPECT_EQ(form.st.Elem_count, i + 1);
        EXPECT_TRUE(form.Command1.visible());
        EXPECT_TRUE(form.Command1.enabled());
        if (i < kRows - 1) {
            EXPECT_TRUE(form.Text2[i + 1]->visible());
            EXPECT_EQ(form.Command1.top(), 3360 + 360 * (i + 1));
            EXPECT_EQ(form.Command1.left(), 1200);
        }
    }
    EXPECT_EQ(form.Command1.left(), 600);
    EXPECT_EQ(form.Command1.top(), 7320);
    EXPECT_EQ(form.st.Elem_count, 11);
    EXPECT_EQ(form.st.Elem_z[11], 16);
    EXPECT_EQ(form.st.Calc_state, -10);  // typing never recalculates
}

TEST_F(Matrix, EditingAnEarlierRowKeepsTheCount) {
    enter_sample("Fe", "10", {{"O", "60"}, {"Si", "20"}});
    ASSERT_EQ(form.st.Elem_count, 2);
    form.Text2[0]->set_text("N");
    EXPECT_FALSE(form.Command1.visible());
    EXPECT_EQ(form.Text52[0]->text(), "");
    EXPECT_EQ(form.st.Elem_content[1].num(), 60.0);  // kept until a content is typed
    form.Text52[0]->set_text("30");
    EXPECT_TRUE(form.Command1.visible());
    EXPECT_TRUE(form.Command1.enabled());
    EXPECT_EQ(form.st.Elem_count, 2);
    EXPECT_EQ(form.Command1.top(), 3360 + 360 * 2);
}

TEST_F(Matrix, BadSymbolsAndContents) {
    enter_sample("Fe", "10");
    dialogs.clear_shown();
    form.Text2[0]->set_text("Qq");
    EXPECT_EQ(form.Text2[0]->fore_color(), common::colours::red);
    EXPECT_FALSE(form.Text52[0]->visible());

    form.Text2[0]->set_text("O");
    form.Text52[0]->set_text("-3");
    EXPECT_EQ(shown_texts(), (std::vector<std::string>{"Must be positive !"}));
    EXPECT_EQ(form.Text52[0]->fore_color(), common::colours::red);
    EXPECT_EQ(form.st.Elem_count, 0);

    form.Text52[0]->set_text("0");  // stored, no new row
    EXPECT_EQ(form.st.Elem_content[1].num(), 0.0);
    EXPECT_FALSE(form.Text2[1]->visible());

    dialogs.clear_shown();
    form.Text51.set_text("-1");
    EXPECT_EQ(shown_texts(), (std::vector<std::string>{"Must be positive !"}));
    EXPECT_FALSE(form.Text2[0]->visible());
    EXPECT_EQ(form.st.Elem_content[0].num(), 10.0);
}

TEST_F(Matrix, RightClickMarksTheSymbolBoxAndRecalculates) {
    enter_sample("Fe", "10", {{"O", "60"}, {"Si", "20"}, {"Mn", "1"}});
    form.Text2[2]->user_right_click();
    EXPECT_EQ(form.st.Elem_mark, 3);
    EXPECT_EQ(form.Text2[2]->back_color(), common::rgb(255, 255, 0));
    EXPECT_EQ(form.Text52[2]->back_color(), common::rgb(192, 255, 192));
    EXPECT_EQ(form.Text2[0]->back_color(), common::rgb(255, 255, 192));
    EXPECT_EQ(form.st.Calc_state, 10);
    double marked = 0;
    for (double v : form.st.Spec_mark) marked += v;
    EXPECT_GT(marked, 0.0);

    form.Text2[1]->user_left_click();
    EXPECT_EQ(form.st.Elem_mark, 2);
    EXPECT_EQ(form.Text2[1]->back_color(), common::rgb(255, 255, 0));
    EXPECT_EQ(form.Text52[1]->back_color(), common::rgb(255, 255, 0));
    EXPECT_EQ(form.Text2[0]->back_color(), common::rgb(192, 255, 192));
}

TEST_F(Matrix, DoubleClickSwapsTargetAndRow) {
    enter_sample("Zn", "5", {{"Cu", "2"}, {"O", "7"}});
    dialogs.clear_shown();
    dialogs.queue_yes();
    form.Text2[0]->user_dbl_click();
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown()[0].kind, common::DialogRecord::Kind::Question);
    EXPECT_EQ(dialogs.shown()[0].text, "  Change target from Zn to Cu");
    EXPECT_EQ(form.Text1.text(), "Cu");
    EXPECT_EQ(form.Text51.text(), "2");
    EXPECT_EQ(form.Text2[0]->text(), "Zn");
    EXPECT_EQ(form.Text52[0]->text(), "5");
    EXPECT_EQ(form.st.Elem_z[0], 29);
    EXPECT_EQ(form.st.Elem_z[1], 30);
    EXPECT_EQ(form.st.Calc_state, 10);  // "Plot" ran
}

TEST_F(Matrix, SwapWithALightElementIsRefused) {
    enter_sample("Zn", "5", {{"O", "7"}});
    dialogs.queue_yes();
    form.Text2[0]->user_dbl_click();
    EXPECT_EQ(dialogs.shown().back().text, "too light element");
    EXPECT_EQ(form.Text1.text(), "Zn");
    EXPECT_EQ(form.Text2[0]->text(), "O");
}

TEST_F(Matrix, ClearAndAllClear) {
    enter_sample("Fe", "10", {{"O", "60"}, {"Si", "20"}});
    form.Command2.click();
    EXPECT_EQ(form.st.Elem_count, 0);
    EXPECT_TRUE(form.Text2[0]->visible());
    EXPECT_EQ(form.Text2[0]->text(), "");
    EXPECT_FALSE(form.Text2[1]->visible());
    EXPECT_EQ(form.Command1.top(), 3360);

    // A target alone can be plotted from the button after Clear.
    EXPECT_TRUE(form.Command1.visible());
    EXPECT_TRUE(form.Command1.enabled());
    form.Command1.click();
    EXPECT_EQ(form.st.Calc_state, 10);
    EXPECT_NE(form.Label38.caption(), "");

    form.Command3.click();
    EXPECT_EQ(form.Label38.caption(), "");  // no share beside an empty plot
    EXPECT_EQ(form.st.Elem_count, -10);
    EXPECT_EQ(form.st.Calc_state, -10);
    EXPECT_TRUE(form.Text51.visible());
    EXPECT_EQ(form.Text51.text(), "");
    EXPECT_EQ(form.Text11.text(), " ");
    EXPECT_FALSE(form.Command1.visible());
    EXPECT_TRUE(form.Picture1.picture().ops().empty());
}

TEST_F(Matrix, AMarkedRowClearedLaterDrawsNoMarkedLayer) {
    enter_sample("Fe", "10", {{"O", "60"}, {"Mn", "2"}});
    form.Text2[1]->user_right_click();
    form.Command2.click();
    enter_sample("Fe", "10", {{"O", "60"}});
    form.Command1.click();
    for (double v : form.st.Spec_mark) ASSERT_EQ(v, 0.0);
}

}  // namespace
}  // namespace lumetra::window::testing
