// The detection-ratio chain shown for the target line: solid angle, air
// absorption, filter attenuation and their product.

#include <cmath>

#include "common/numtext.h"
#include "engine/transmission.h"
#include "window/radirido.h"

namespace lumetra::window {

void RADirido::Text19_Change() {
    const double v = text::Val(Text19.text());
    double d = v;
    if (v < 5 || v > 50) {
        Text19.set_fore_color(common::colours::blue);
        d = std::fabs(v) + 5;
    } else {
        Text19.set_fore_color(common::colours::black);
    }
    // Solid angle relative to 5 cm, and the air beyond 5 cm.
    Label34.set_caption(text::Str(text::round_to(std::pow(5 / d, 2), 4)));
    const double line_energy = text::Val(Label32.caption());
    Label35.set_caption(text::Str(text::round_to(engine::Air_trans(line_energy, d - 5), 4)));
    Label37_Click();
    if (st.Calc_state > 0) Command1_Click();
}

void RADirido::text20_steps() {
    const std::int16_t n = text::to_int16(text::Int(text::Val(Text20.text()) + 0.1));
    const double line_energy = text::Val(Label32.caption());
    Label25.set_caption(text::Str(text::round_to(engine::Al_trans(line_energy, n), 6)));
    if (st.Calc_state > 0) {
        Label37_Click();
        Command1_Click();
    }
}

void RADirido::Text20_Change() { text20_steps(); }

void RADirido::Command26_Click() {
    double k = text::Int(text::Val(Text20.text()) + 1.2);
    if (k > 100) k = 100;
    Text20.set_text(text::Str(text::Int(k + 0.1)));
    text20_steps();
}

void RADirido::Command27_Click() {
    double k = text::Int(text::Val(Text20.text()) + 0.1) - 1;
    if (k < 0) k = 0;
    Text20.set_text(text::Str(text::Int(k + 0.1)));
    text20_steps();
}

void RADirido::Label37_Click() {
    const double ratio = text::Val(Label34.caption()) * text::Val(Label35.caption()) *
                         text::Val(Label25.caption());
    Label37.set_caption(text::Str(text::round_to(ratio, 7)));
}

}  // namespace lumetra::window
