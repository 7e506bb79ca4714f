// Start-up defaults: every field gets its first value through its own handler,
// exactly as a user edit would, and the window-level state its first values.

#include "common/amplifier.h"
#include "common/numtext.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {
constexpr common::Rgb kTargetBack = common::rgb(255, 216, 255);
}

void RADirido::Init_form() {
    starting_up_ = true;
    // 1. Edge, matrix editor and the gain tables.
    st.Edge_mode = 10;
    st.Elem_count = -10;
    view.Coarse_step = common::kCoarseSteps;
    view.Fine_text = {"0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "1.1", "1.2", "1.3", "1.4", "1.5"};
    view.Coarse_index = 4;
    // 2.
    Label9.set_caption("100");
    Label58.set_visible(true);
    // 3.
    Text1.set_back_color(kTargetBack);
    Text51.set_back_color(kTargetBack);
    // 4. Runs the target handler with an empty symbol.
    Text1.set_text("");
    // 5.
    for (int i = 0; i < kRows; ++i) Text2[i]->set_text(Text1.text());
    Text19.set_text("5.0");
    for (int i = 0; i < kRows; ++i) Text2[i]->set_visible(false);
    // 6.
    Text51.set_text("");
    for (int i = 0; i < kRows; ++i) Text52[i]->set_text(Text51.text());
    Text51.set_visible(false);
    for (int i = 0; i < kRows; ++i) Text52[i]->set_visible(false);
    // 7. K edge.
    Option2.set_value(false);
    Option1.set_value(true);
    // 8.
    for (Control* c : std::initializer_list<Control*>{&Text21, &Text22, &Label44, &Label45, &Label46,
                                                      &Label48, &Option5, &Option6, &Frame3}) {
        c->set_visible(true);
    }
    // 9. Bulk sample.
    Option5.set_value(true);
    Option6.set_value(false);
    // 10.
    Text21.set_text("45.0");
    Text22.set_text("45.0");
    // 11. Film fields hidden until a film is chosen.
    Text23.set_visible(false);
    Text24.set_visible(false);
    Label49.set_visible(false);
    Label50.set_visible(false);
    Text23.set_text("2.20");
    Text24.set_text("50.0");
    // 12.
    for (int i = 0; i <= 10; ++i) st.Elem_content[i] = common::Variant::True;
    // 13.
    Command1.set_visible(false);
    st.Elem_count = -10;
    // 14.
    Text12.set_text("0.1");
    Text16.set_text(text::Str(0.3));
    Text11.set_text(text::Str(5));
    Label9.set_caption(text::Str(200));
    Label32.set_caption(text::Str(3));
    Text20.set_text("0");
    // 15.
    Label25.set_caption("1");
    Label34.set_caption("1");
    Label35.set_caption("1");
    Label37.set_caption("1");
    Label38.set_caption("");
    // 16. The matrix editor's Clear.
    Command2_Click();
    // 17.
    Label14.set_caption("0.0");
    // 18.
    Line_label[0] = "K-alpha 1&2";
    Line_label[1] = "(K-alpha 1)";
    Line_label[2] = "(K-alpha 2)";
    Line_label[3] = "K -beta 1&3";
    Line_label[4] = "(K -beta 1)";
    Line_label[5] = "(K -beta 3)";
    Line_label[6] = "L-alpha 1&2";
    Line_label[7] = "(L-alpha 1)";
    Line_label[8] = "(L-alpha 2)";
    Line_label[9] = "L- beta 2";
    // 19. The line list of the K edge.
    list_edge_lines(0, 5);
    // 20. The fine gains; runs the scale.
    for (const std::string& t : view.Fine_text) Combo2.add_item(t);
    Combo2.set_text(view.Fine_text[5]);
    // 21.
    st.Elem_count = -10;
    // 22.
    for (Label* l : {&Label20, &Label21, &Label14, &Label15, &Label55, &Label56, &LYtot_p,
                     &LYtarget_p, &LY_p, &Lvolt_p}) {
        l->set_caption(" ");
    }
    starting_up_ = false;
}

}  // namespace lumetra::window
