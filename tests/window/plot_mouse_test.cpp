// Cursor readout, window picking and the full view on the plot.

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

using PlotMouse = FormTest;

TEST_F(PlotMouse, ReadoutAtTheMiddleOfTheScale) {
    form.Label8.set_caption(" 38.982");
    form.st.Spec_total[512] = 1234.4;
    form.st.Spec_escape[512] = 100;
    form.st.Spec_target[512] = 55.5;
    form.Picture1.on_mouse_move(MouseButton::None, 512.0f, 5000.0f);
    EXPECT_EQ(form.Lvolt_p.caption(), " 5 (V)   19.4 (keV)");
    EXPECT_EQ(form.LY_p.caption(), " 50");
    EXPECT_EQ(form.LYtot_p.caption(), " 12.34");
    EXPECT_EQ(form.LYtarget_p.caption(), " .56");
    form.Check21.set_value(1);  // escape peaks count in the total when shown
    form.Picture1.on_mouse_move(MouseButton::None, 512.0f, 5000.0f);
    EXPECT_EQ(form.LYtot_p.caption(), " 13.34");
}

TEST_F(PlotMouse, ReadoutOutsideTheChannelRange) {
    form.st.Spec_total[0] = 300;
    form.st.Spec_total[1024] = 700;
    form.Picture1.on_mouse_move(MouseButton::None, -5.0f, 0.0f);
    EXPECT_EQ(form.LYtot_p.caption(), " 3");
    EXPECT_EQ(form.Lvolt_p.caption().substr(0, 1), "-");
    form.Picture1.on_mouse_move(MouseButton::None, 1023.6f, 0.0f);
    EXPECT_EQ(form.LYtot_p.caption(), " 7");
    form.Picture1.on_mouse_move(MouseButton::None, 1e30f, -1e30f);  // defined, no index
    EXPECT_EQ(form.LYtot_p.caption(), " 7");
}

TEST_F(PlotMouse, BackgroundDashesTheReadoutsOut) {
    form.Picture1.on_mouse_move(MouseButton::None, 100.0f, 100.0f);
    form.Form_MouseMove(5000, 5000);  // over the plot area: nothing
    EXPECT_NE(form.LY_p.caption(), "---");
    form.Form_MouseMove(2000, 5000);
    EXPECT_EQ(form.Lvolt_p.caption(), "        ---     ");
    EXPECT_EQ(form.LY_p.caption(), "---");
    EXPECT_EQ(form.LYtot_p.caption(), "---");
    EXPECT_EQ(form.LYtarget_p.caption(), "---");
}

TEST_F(PlotMouse, DragZoomsToAWindowOfChannels) {
    form.Label8.set_caption(" 38.982");
    form.Picture1.on_mouse_down(MouseButton::Left, 250.0f, 200.0f);
    form.Picture1.on_mouse_up(MouseButton::Left, 350.0f, 3000.0f);
    const auto& s = form.Picture1.picture().scale();
    EXPECT_EQ(s.left, 236.0f);
    EXPECT_EQ(s.right, 364.0f);
    EXPECT_EQ(s.top, 3000.0f);
    EXPECT_EQ(s.bottom, 0.0f);
    EXPECT_EQ(form.view.Zoom_steps.num(), 4.0);
    EXPECT_EQ(form.Label55.caption(), " 2.30 (V)");
    EXPECT_EQ(form.Label56.caption(), " 3.55 (V)");
    EXPECT_EQ(form.Label21.caption().back(), ' ');
    EXPECT_FALSE(form.Picture1.picture().ops().empty());  // redrawn

    // A drag beyond the plot on either side picks the ends of the channel scale.
    form.Picture1.on_mouse_down(MouseButton::Left, -5000.0f, 200.0f);
    form.Picture1.on_mouse_up(MouseButton::Left, 1e9f, 3000.0f);
    EXPECT_EQ(form.Picture1.picture().scale().left, 0.0f);
    EXPECT_EQ(form.Picture1.picture().scale().right, 1024.0f);
    EXPECT_EQ(form.Label56.caption(), " 10 (V)");
    form.Picture1.on_mouse_down(MouseButton::Left, 1100.0f, 200.0f);
    form.Picture1.on_mouse_up(MouseButton::Left, 1e9f, 3000.0f);  // no width: nothing
    EXPECT_EQ(form.Picture1.picture().scale().left, 0.0f);
}

TEST_F(PlotMouse, SmallDragsAndTheTopOfTheView) {
    form.Picture1.picture().Scale(-10, 11750, 1028, -500);
    form.Picture1.on_mouse_down(MouseButton::Left, 300.0f, 100.0f);
    form.Picture1.on_mouse_up(MouseButton::Left, 320.0f, 50.0f);  // 20 channels: nothing
    EXPECT_EQ(form.Picture1.picture().scale().left, -10.0f);
    EXPECT_EQ(form.view.Zoom_steps.num(), 4.0);

    form.Picture1.on_mouse_down(MouseButton::Left, 100.0f, 100.0f);
    form.Picture1.on_mouse_up(MouseButton::Left, 400.0f, 200.0f);  // 300 channels
    EXPECT_EQ(form.view.Zoom_steps.num(), 1.0);
    EXPECT_EQ(form.Picture1.picture().scale().top, 500.0f);  // never below 500

    form.Option4.user_click();  // logarithmic: the vertical range is not zoomed
    form.Picture1.on_mouse_down(MouseButton::Left, 100.0f, 100.0f);
    form.Picture1.on_mouse_up(MouseButton::Left, 300.0f, 2000.0f);
    EXPECT_EQ(form.Picture1.picture().scale().top, 11750.0f);
    EXPECT_EQ(form.view.Zoom_steps.num(), 2.0);

    form.Picture1.on_mouse_up(MouseButton::Right, 0.0f, 0.0f);
    const auto& s = form.Picture1.picture().scale();
    EXPECT_EQ(s.left, -10.0f);
    EXPECT_EQ(s.right, 1028.0f);
    EXPECT_EQ(s.bottom, -500.0f);
    EXPECT_EQ(form.Label56.caption(), "10.0 (V)");
    EXPECT_EQ(form.view.Zoom_steps.num(), 2.0);
}

}  // namespace
}  // namespace lumetra::window::testing
