// What the user sees right after the window opens, and the state behind it.

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

using StartState = FormTest;

TEST_F(StartState, FieldsShowTheirFirstValuesInTheNumberTextForm) {
    struct Case {
        const Control* control;
        std::string text;
    };
    const std::vector<Case> cases = {
        {&form.Label8, " 19.491"}, {&form.Label9, " 200"},   {&form.Text16, " .3"},
        {&form.Text11, " 5"},      {&form.Text12, "0.1"},    {&form.Text19, "5.0"},
        {&form.Text20, "0"},       {&form.Label25, "1"},     {&form.Label34, "1"},
        {&form.Label35, "1"},      {&form.Label37, "1"},     {&form.Combo1, "K-alpha 1&2"},
        {&form.Combo2, "1.0"},     {&form.Label32, "0"},     {&form.Label30, ""},
        {&form.Text1, ""},         {&form.Text51, ""},       {&form.Label38, ""},
        {&form.Text21, "45.0"},    {&form.Text22, "45.0"},   {&form.Text23, "2.20"},
        {&form.Text24, "50.0"},    {&form.Lvolt_p, " "},     {&form.LY_p, " "},
        {&form.LYtot_p, " "},      {&form.LYtarget_p, " "},  {&form.Label14, " "},
        {&form.Label55, " "},
    };
    for (const Case& c : cases) EXPECT_EQ(c.control->caption(), c.text) << c.control->name();
    EXPECT_DOUBLE_EQ(val(form.Text16.text()), 0.3);
    EXPECT_DOUBLE_EQ(val(form.Text11.text()), 5.0);
}

TEST_F(StartState, NoDesignTimeTextShowsAnywhere) {
    for (const Control* c : form.controls()) {
        if (c->kind() == ControlKind::TextBox || c->kind() == ControlKind::ComboBox) {
            EXPECT_NE(c->caption(), c->name()) << c->name();
        }
    }
    for (const Label* l : {&form.Label30, &form.Label32, &form.Label38, &form.Label8,
                           &form.Label9, &form.Label25, &form.Label37, &form.Label21}) {
        EXPECT_NE(l->caption(), l->name());
    }
}

TEST_F(StartState, ColoursAndVisibility) {
    EXPECT_EQ(form.Text11.fore_color(), common::rgb(255, 0, 0));
    EXPECT_EQ(form.Text11.back_color(), common::rgb(255, 192, 192));
    EXPECT_EQ(form.Text1.fore_color(), common::rgb(255, 0, 0));
    EXPECT_EQ(form.Text1.back_color(), common::rgb(255, 216, 255));
    EXPECT_EQ(form.Text51.back_color(), common::rgb(255, 216, 255));

    EXPECT_TRUE(form.Text1.visible());
    EXPECT_FALSE(form.Text51.visible());
    EXPECT_FALSE(form.Command1.visible());
    for (int i = 0; i < kRows; ++i) {
        EXPECT_FALSE(form.Text2[i]->visible()) << i;
        EXPECT_FALSE(form.Text52[i]->visible()) << i;
    }
    for (const Control* c : std::vector<const Control*>{&form.Text23, &form.Text24, &form.Label49,
                                                       &form.Label50}) {
        EXPECT_FALSE(c->visible()) << c->name();
    }
    EXPECT_TRUE(form.Option1.value());
    EXPECT_FALSE(form.Option2.value());
    EXPECT_TRUE(form.Option3.value());
    EXPECT_FALSE(form.Option4.value());
    EXPECT_TRUE(form.Option5.value());
    EXPECT_FALSE(form.Option6.value());
    EXPECT_TRUE(form.Label58.visible());
}

TEST_F(StartState, WindowLevelState) {
    EXPECT_EQ(form.st.Calc_state, -10);
    EXPECT_EQ(form.st.Elem_count, -10);
    EXPECT_EQ(form.st.Sample_form, 10);
    EXPECT_EQ(form.st.Edge_mode, 10);
    EXPECT_EQ(form.st.Target_line, 0);
    EXPECT_EQ(form.view.Coarse_index, 4);
    EXPECT_EQ(form.view.Coarse_step[4], 100);
    EXPECT_EQ(form.st.Elem_content[0].num(), 0.0);  // the first-row rule found no content
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(form.st.Elem_content[i].num(), -1.0) << i;
    EXPECT_TRUE(form.st.Elem_content[11].empty());
    EXPECT_TRUE(form.st.Elem_content[12].empty());
    EXPECT_TRUE(form.view.Y_top.empty());
    EXPECT_EQ(form.Line_label[3], "K -beta 1&3");
    EXPECT_EQ(form.Line_label[9], "L- beta 2");
}

TEST_F(StartState, ListsAndNoDialogNoCalculation) {
    EXPECT_EQ(form.Combo1.items(),
              (std::vector<std::string>{"K-alpha 1&2", "(K-alpha 1)", "(K-alpha 2)",
                                        "K -beta 1&3", "(K -beta 1)", "(K -beta 3)"}));
    ASSERT_EQ(form.Combo2.items().size(), 11u);
    EXPECT_EQ(form.Combo2.items().front(), "0.5");
    EXPECT_EQ(form.Combo2.items().back(), "1.5");
    EXPECT_TRUE(dialogs.shown().empty());
    for (double v : form.st.Spec_total) ASSERT_EQ(v, 0.0);
    EXPECT_TRUE(form.Picture1.picture().ops().empty());
}

}  // namespace
}  // namespace lumetra::window::testing
