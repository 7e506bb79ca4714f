// Fuzz target of the whole headless form, guided by coverage: every input line is
// one user action on a fresh form, its first byte choosing the action and the rest
// giving the typed text (or the mouse position). Only what a user can reach is
// done: typing into visible fields, clicking visible and enabled controls. After
// every action:
// - the eight spectrum arrays hold finite numbers only;
// - no label shows "nan" or "inf";
// - Elem_count is -10 or 0..11, Calc_state -10, 0 or 10, Edge_mode and
//   Sample_form 10 or -10, Coarse_index 0..7;
// - the film fields are shown exactly for a film sample.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/dialogs.h"
#include "fuzz_check.h"
#include "window/radirido.h"

namespace {

using lumetra::fuzz::require;
using namespace lumetra::window;

bool has_nan_or_inf(const std::string& s) {
    std::string lower(s);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

float coordinate(std::string_view t, std::size_t at) {
    float f = 0.0f;
    if (t.size() >= at + sizeof f) std::memcpy(&f, t.data() + at, sizeof f);
    if (std::isnan(f)) return 0.0f;  // the view never reports NaN
    if (std::isinf(f)) return f > 0 ? FLT_MAX : -FLT_MAX;
    return f;
}

void check(const RADirido& f, std::string_view input) {
    const auto& st = f.st;
    for (const auto* a : {&st.Spec_total, &st.Spec_target, &st.Spec_line, &st.Spec_mark,
                          &st.Spec_argon, &st.Spec_elastic, &st.Spec_escape, &st.Spec_pileup})
        for (double v : *a) require(std::isfinite(v), "spectrum values are finite", input);
    for (const Control* c : f.controls())
        if (c->kind() == ControlKind::Label)
            require(!has_nan_or_inf(c->caption()), "no label shows nan or inf", input);
    require(st.Elem_count == -10 || (st.Elem_count >= 0 && st.Elem_count <= 11),
            "Elem_count is -10 or 0..11", input);
    require(st.Calc_state == -10 || st.Calc_state == 0 || st.Calc_state == 10,
            "Calc_state is -10, 0 or 10", input);
    require(st.Edge_mode == 10 || st.Edge_mode == -10, "Edge_mode is 10 or -10", input);
    require(st.Sample_form == 10 || st.Sample_form == -10, "Sample_form is 10 or -10", input);
    require(f.view.Coarse_index >= 0 && f.view.Coarse_index <= 7, "Coarse_index is 0..7", input);
    const bool film = st.Sample_form == -10;
    require(f.Text23.visible() == film && f.Text24.visible() == film &&
                f.Label49.visible() == film && f.Label50.visible() == film,
            "the film fields are shown exactly for a film", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    lumetra::common::ScriptedDialogs dialogs;
    RADirido f(dialogs);

    std::vector<TextBox*> fields = {&f.Text1,  &f.Text51, &f.Text11, &f.Text12, &f.Text16,
                                    &f.Text19, &f.Text20, &f.Text21, &f.Text22, &f.Text23,
                                    &f.Text24};
    for (int i = 0; i < kRows; ++i) {
        fields.push_back(f.Text2[i].get());
        fields.push_back(f.Text52[i].get());
    }
    std::vector<CommandButton*> buttons = {&f.Command1,  &f.Command2,  &f.Command3,  &f.Command4,
                                           &f.Command9,  &f.Command10, &f.Command11, &f.Command23,
                                           &f.Command24, &f.Command26, &f.Command27};
    std::vector<OptionButton*> options = {&f.Option1, &f.Option2, &f.Option3,
                                          &f.Option4, &f.Option5, &f.Option6};
    std::vector<CheckBox*> checks = {&f.Check1, &f.Check11, &f.Check21, &f.Check3, &f.Check2};

    std::size_t steps = 0;
    std::string_view rest = input;
    while (!rest.empty() && steps++ < 64) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty()) continue;
        const auto action = static_cast<unsigned char>(line[0]);
        const std::string text(line.substr(1));
        const std::size_t pick = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
        switch (action % 12) {
            case 0:
            case 1:
            case 2: {  // typing into a field
                TextBox* t = fields[(action % 12 * 22 + action / 12) % fields.size()];
                if (t->visible() && t->enabled()) t->set_text(text);
                break;
            }
            case 3: {
                ComboBox& c = action / 12 % 2 ? f.Combo2 : f.Combo1;
                c.set_text(text);
                break;
            }
            case 4: {
                ComboBox& c = action / 12 % 2 ? f.Combo2 : f.Combo1;
                if (!c.items().empty()) c.user_pick(c.items()[pick % c.items().size()]);
                break;
            }
            case 5: {
                CommandButton* b = buttons[action / 12 % buttons.size()];
                if (b->visible() && b->enabled()) b->click();
                break;
            }
            case 6: {
                OptionButton* o = options[action / 12 % options.size()];
                if (o->visible()) o->user_click();
                break;
            }
            case 7: {
                CheckBox* c = checks[action / 12 % checks.size()];
                if (c->visible()) c->user_click();
                break;
            }
            case 8: {  // a click on a matrix symbol box; a double click is answered Yes
                TextBox& t = *f.Text2[pick % kRows];
                if (!t.visible()) break;
                const unsigned kind = action / 12 % 3;
                if (kind == 0) t.user_left_click();
                if (kind == 1) t.user_right_click();
                if (kind == 2) {
                    dialogs.queue_yes();
                    t.user_dbl_click();
                }
                break;
            }
            case 9: {  // the mouse on the plot
                const MouseButton b = static_cast<MouseButton>(action / 12 % 3);
                const float x = coordinate(text, 0), y = coordinate(text, 4);
                switch (action / 36 % 3) {
                    case 0: f.Picture1.on_mouse_down(b, x, y); break;
                    case 1: f.Picture1.on_mouse_move(b, x, y); break;
                    default: f.Picture1.on_mouse_up(b, x, y); break;
                }
                break;
            }
            case 10: {
                int x = 0, y = 0;
                if (text.size() >= 2 * sizeof x) {
                    std::memcpy(&x, text.data(), sizeof x);
                    std::memcpy(&y, text.data() + sizeof x, sizeof y);
                }
                f.Form_MouseMove(x, y);
                break;
            }
            default:  // the answer to the next text prompt
                if (dialogs.pending() < 4) dialogs.queue_text(text);
                break;
        }
        dialogs.clear_shown();
        check(f, input);
    }
    return 0;
}
