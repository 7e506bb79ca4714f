// The event semantics of the control model that the form's handlers rely on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/controls.h"

namespace lumetra::window {
namespace {

TEST(TextBoxEvents, ChangeRunsOnlyOnRealChangesFromCodeOrUserAndNests) {
    TextBox a("A");
    TextBox b("B");
    std::vector<std::string> log;
    a.on_change = [&] {
        log.push_back("A:" + a.text());
        b.set_text("from A " + a.text());  // nested inside A's write
        log.push_back("A done");
    };
    b.on_change = [&] { log.push_back("B:" + b.text()); };

    EXPECT_EQ(a.text(), "A");  // the design-time text is the control's name
    a.set_text("A");           // unchanged: no event
    EXPECT_TRUE(log.empty());
    a.set_text("x");
    a.set_text("x");
    EXPECT_EQ(log, (std::vector<std::string>{"A:x", "B:from A x", "A done"}));
}

TEST(TextBoxEvents, MouseOrderOfClicks) {
    TextBox t("T");
    std::string log;
    t.on_mouse_up = [&](MouseButton b) { log += b == MouseButton::Right ? "U2 " : "U1 "; };
    t.on_click = [&] { log += "C "; };
    t.on_dbl_click = [&] { log += "D "; };
    t.user_left_click();
    EXPECT_EQ(log, "U1 C ");
    log.clear();
    t.user_right_click();
    EXPECT_EQ(log, "U2 ");
    log.clear();
    t.user_dbl_click();
    EXPECT_EQ(log, "U1 C D U1 ");
}

TEST(OptionButtonEvents, SelectingRunsClickAndClearsTheGroupSilently) {
    OptionButton k("K"), l3("L3");
    std::vector<OptionButton*> group{&k, &l3};
    k.join_group(&group);
    l3.join_group(&group);
    int k_clicks = 0, l_clicks = 0;
    k.on_click = [&] { ++k_clicks; };
    l3.on_click = [&] { ++l_clicks; };

    k.set_value(true);
    k.set_value(true);  // already selected: no second click
    EXPECT_EQ(k_clicks, 1);
    l3.user_click();
    EXPECT_TRUE(l3.value());
    EXPECT_FALSE(k.value());
    EXPECT_EQ(l_clicks, 1);
    EXPECT_EQ(k_clicks, 1);  // cleared without an event
    l3.set_value(false);     // deselecting is silent
    EXPECT_EQ(l_clicks, 1);
    EXPECT_FALSE(l3.value());
}

TEST(CheckBoxEvents, EveryChangeOfValueRunsClick) {
    CheckBox c("C");
    std::vector<int> seen;
    c.on_click = [&] { seen.push_back(c.value()); };
    c.set_value(0);  // unchanged
    c.set_value(1);
    c.user_click();
    c.user_click();
    c.set_value(7);  // any non-zero value means checked
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}));
}

TEST(ComboBoxEvents, ListEditsAreSilentAndAPickRunsClickNotChange) {
    ComboBox c("Combo");
    int changes = 0, clicks = 0;
    c.on_change = [&] { ++changes; };
    c.on_click = [&] { ++clicks; };
    c.add_item("a");
    c.add_item("b");
    c.set_text("a");
    EXPECT_EQ(changes, 1);
    c.clear_list();
    EXPECT_EQ(c.text(), "a");
    EXPECT_TRUE(c.items().empty());
    EXPECT_EQ(changes, 1);
    c.user_pick("b");
    EXPECT_EQ(c.text(), "b");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(ControlObserver, SeesEveryPropertyChangeButNotUnchangedWrites) {
    Label l("L");
    int notes = 0;
    l.observer = [&](Control&) { ++notes; };
    l.set_caption("x");
    l.set_caption("x");
    l.set_visible(true);  // already visible
    l.set_visible(false);
    l.set_fore_color(common::rgb(1, 2, 3));
    l.move(10, 20);
    EXPECT_EQ(notes, 4);
}

}  // namespace
}  // namespace lumetra::window
