// The detection-ratio chain shown for the target line: solid angle, air
// absorption, filter attenuation and their product.

#include <cmath>

#include "common/numtext.h"
#include "engine/transmission.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {
constexpr double kNearestDistance = 5.0;  // cm: the detector snout; the yields use no less
}  // namespace

// Solid angle relative to 5 cm and the air beyond 5 cm, for the shown target line.
// Below 5 cm the detector sits at 5 cm, as the line yields assume; beyond 50 cm the
// chain counts 5 cm more.
void RADirido::distance_ratios() {
    const double v = text::Val(Text19.text());
    double d = v;
    if (v < kNearestDistance) {
        d = kNearestDistance;
    } else if (v > 50) {
        d = v + 5;
    }
    Label34.set_caption(text::Str(text::round_to(std::pow(5 / d, 2), 4)));
    const double line_energy = text::Val(Label32.caption());
    Label35.set_caption(text::Str(text::round_to(engine::Air_trans(line_energy, d - 5), 4)));
}

// Filter transmission of the shown target line, with the steps the yields use.
void RADirido::filter_ratio() {
    const std::int16_t n = engine::filter_steps(text::Val(Text20.text()));
    const double line_energy = text::Val(Label32.caption());
    Label25.set_caption(text::Str(text::round_to(engine::Al_trans(line_energy, n), 6)));
}

void RADirido::set_target_line_energy(const std::string& caption) {
    if (caption == Label32.caption()) return;
    Label32.set_caption(caption);
    if (starting_up_) return;  // the chain keeps the first values the window gives it
    distance_ratios();
    filter_ratio();
    Label37_Click();
}

void RADirido::Text19_Change() {
    const double v = text::Val(Text19.text());
    Text19.set_fore_color(v < 5 || v > 50 ? common::colours::blue : common::colours::black);
    distance_ratios();
    Label37_Click();
    if (st.Calc_state > 0) Command1_Click();
}

void RADirido::text20_steps() {
    filter_ratio();
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
