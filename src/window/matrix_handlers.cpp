// The matrix composition editor: target content, matrix rows that open one by
// one, the "Plot" button travelling beside the open row, marking, swapping and
// the two clear buttons.

#include <algorithm>

#include "common/numtext.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

constexpr common::Rgb kYellow = common::rgb(255, 255, 0);
constexpr common::Rgb kRowGreen = common::rgb(192, 255, 192);
constexpr common::Rgb kRowCream = common::rgb(255, 255, 192);
constexpr int kRowTop = 3360;
constexpr int kRowPitch = 360;

bool blank(const std::string& s) { return text::trim_blanks(s).empty(); }

}  // namespace

void RADirido::Text51_Change() {
    Text51.set_fore_color(common::colours::black);
    if (blank(Text51.text())) return;
    const double x = text::Val(Text51.text());
    if (x >= 0) {
        st.Elem_content[0] = x;
        if (x > 0) First_row();
    } else {
        Text51.set_fore_color(common::colours::red);
        Text2[0]->set_visible(false);
        dialogs_.titled_message("Atomic content", "Must be positive !");
    }
}

void RADirido::First_row() {
    if (st.Elem_content[0].num() > 0) {
        Text2[0]->set_visible(true);
        // "Plot" appears usable: a target alone can be plotted.
        if (st.Elem_count < 0.1) {
            st.Elem_count = 0;
            Command1.move(1200, kRowTop);
        }
        Command1.set_visible(true);
        Command1.set_enabled(true);
    } else {
        st.Elem_content[0] = 0;
    }
}

void RADirido::Text2_Change(int Index) {
    if (Index < 0 || Index >= kRows) return;
    TextBox& symbol = *Text2[Index];
    const std::string s = text::trim_blanks(symbol.text());
    if (!s.empty()) {
        std::int16_t Z = 0;
        double mass = 0.0;
        Z_of_symbol(s, Z, mass);
        if (Z < 1) {
            symbol.set_fore_color(common::colours::red);
        } else {
            symbol.set_fore_color(common::colours::black);
            Text52[Index]->set_visible(true);
            Command1.set_visible(false);
            Command1.set_enabled(false);
            st.Elem_z[Index + 1] = Z;
            st.Elem_mass[Index + 1] = mass;
        }
    }
    // A changed symbol always needs its content typed again.
    Text52[Index]->set_text("");
}

void RADirido::Text52_Change(int Index) {
    if (Index < 0 || Index >= kRows) return;
    TextBox& content = *Text52[Index];
    content.set_fore_color(common::colours::black);
    if (blank(content.text())) return;
    const double x = text::Val(content.text());
    if (x >= 0) {
        st.Elem_content[Index + 1] = x;
        if (x > 0) {
            std::int16_t k = static_cast<std::int16_t>(Index + 1);
            Next_row(k);
        }
    } else {
        content.set_fore_color(common::colours::red);
        dialogs_.titled_message("Atomic content", "Must be positive !");
    }
}

void RADirido::Next_row(std::int16_t& k) {
    if (k < 1 || k > kRows) return;
    if (k < kRows) {
        if (st.Elem_content[k].num() > 0) {
            if (st.Elem_count > k) {
                Command1.set_visible(true);
                Command1.set_enabled(true);
            } else {
                st.Elem_count = k;
                Text2[k]->set_visible(true);
                Command1.set_visible(true);
                Command1.set_enabled(true);
                Command1.move(Command1.left(), kRowTop + kRowPitch * k);
            }
        } else {
            st.Elem_content[k] = 0;
        }
    } else {
        // The last row is complete: "Plot" goes below it.
        Command1.set_visible(true);
        Command1.set_enabled(true);
        Command1.move(600, 7320);
        if (st.Elem_content[11].num() > 0) st.Elem_count = 11;
    }
}

void RADirido::Text2_Click(int Index) {
    if (Index < 0 || Index >= kRows) return;
    const int rows = std::min<int>(st.Elem_count, kRows);
    for (int i = 0; i < rows; ++i) {
        Text2[i]->set_fore_color(common::colours::button_text);
        Text2[i]->set_back_color(kRowGreen);
        Text52[i]->set_back_color(kRowGreen);
    }
    st.Elem_mark = static_cast<std::int16_t>(Index + 1);
    Text2[Index]->set_back_color(kYellow);
    Text52[Index]->set_back_color(kYellow);
    clear_plot();
    Re_calc();
}

void RADirido::Text2_MouseUp(int Index, MouseButton Button) {
    if (Index < 0 || Index >= kRows) return;
    const int rows = std::min<int>(st.Elem_count, kRows);
    for (int i = 0; i < rows; ++i) {
        Text2[i]->set_fore_color(common::colours::button_text);
        Text2[i]->set_back_color(kRowCream);
    }
    if (Button == MouseButton::Right) {
        st.Elem_mark = static_cast<std::int16_t>(Index + 1);
        Text2[Index]->set_back_color(kYellow);
        clear_plot();
        Re_calc();
    }
}

void RADirido::Text2_DblClick(int Index) {
    if (Index < 0 || Index >= kRows) return;
    const std::string old_target = Text1.text();
    const std::string old_content = Text51.text();
    const std::string row_symbol = Text2[Index]->text();
    const bool yes = dialogs_.question("  Change target from " + old_target + " to " + row_symbol);
    if (yes) {
        if (st.Elem_z[Index + 1] >= 20) {
            Text1.set_text(row_symbol);
            Text51.set_text(Text52[Index]->text());
            Text2[Index]->set_text(old_target);
            Text52[Index]->set_text(old_content);
        } else {
            dialogs_.titled_message("Change target", "too light element");
        }
    }
    Command1.set_visible(true);
    Command1.set_enabled(true);
    Command1_Click();
}

void RADirido::Command2_Click() {
    st.Elem_count = 0;
    for (int i = 0; i < kRows; ++i) {
        Text2[i]->set_text("");
        Text52[i]->set_text("");
        Text2[i]->set_visible(false);
        Text52[i]->set_visible(false);
    }
    st.Elem_count = 0;
    First_row();
}

void RADirido::Command3_Click() {
    Command2_Click();
    st.Elem_count = -10;
    st.Target_line = -10;
    Text1.set_text("");
    Text51.set_text("");
    st.Calc_state = -10;
    st.Edge_mode = 10;
    Option2.set_value(false);
    Option1.set_value(true);
    Text11.set_text(" ");
    Command1.set_visible(false);
    clear_plot();
}

}  // namespace lumetra::window
