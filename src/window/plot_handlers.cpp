// Scale type, layer check boxes, cursor readout and window picking on the plot.

#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

constexpr common::Rgb kArgonBlue = common::rgb(16, 16, 255);
constexpr common::Rgb kElasticRed = common::rgb(255, 16, 16);

// A user coordinate as the plot surface keeps it (single precision, finite).
float to_user(double v) {
    return static_cast<float>(std::clamp(v, -1e30, 1e30));
}

std::string number_cut(double v, std::size_t n) {
    return text::cut(text::Str(v), n);
}

// Counts/s in at most n characters: the rounded count while it fits, else a mantissa
// and an exponent (" 2.5E6").
std::string counts_cut(double v, std::size_t n) {
    const double rounded = text::Int(v + 0.5);
    const std::string plain = text::Str(rounded);
    if (plain.size() <= n || !(std::fabs(rounded) > 0.0)) return text::cut(plain, n);
    const int e = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    const std::string tail = "E" + std::to_string(e);
    const std::size_t room = n > tail.size() ? n - tail.size() : 1;
    return text::cut(text::Str(rounded / std::pow(10.0, e)), room) + tail;
}

}  // namespace

void RADirido::Option3_Click() {
    Option4.set_value(false);
    Plot_spectrum();
}

void RADirido::Option4_Click() {
    Option3.set_value(false);
    Plot_spectrum();
}

void RADirido::Check1_Click() {
    Label6.set_fore_color(Check1.value() >= 0.5 ? kArgonBlue : common::colours::black);
    if (st.Calc_state > 0) Plot_spectrum();
}

void RADirido::Check11_Click() {
    Label7.set_fore_color(Check11.value() >= 0.5 ? kElasticRed : common::colours::black);
    if (st.Calc_state > 0) Plot_spectrum();
}

void RADirido::Check21_Click() {
    if (st.Calc_state > 0) Plot_spectrum();
}

void RADirido::Check3_Click() {
    if (st.Calc_state > 0) Plot_spectrum();
}

void RADirido::Picture1_MouseDown(MouseButton Button, float X, float Y) {
    if (Button != MouseButton::Left) return;
    view.Drag_x = X;
    view.Drag_y = Y;
}

void RADirido::Picture1_MouseMove(MouseButton, float X, float Y) {
    const double x = X;
    const double y = Y;
    double n = text::Int(x + 0.5);
    if (n < 0) n = 0;
    if (n > 1023) n = 1024;
    const auto ch = static_cast<std::size_t>(n);
    const double full = text::Val(Label8.caption());
    const double V = x * 10 / 1024;
    const double E = x * full / 1024;
    Lvolt_p.set_caption(number_cut(text::Int(V * 100 + 0.5) / 100, 5) + " (V)  " +
                        number_cut(text::Int(E * 100 + 0.5) / 100, 5) + " (keV)");
    double T = st.Spec_total[ch];
    if (Check21.value() >= 0.5) T += st.Spec_escape[ch];
    if (Check3.value() >= 0.5) T += st.Spec_pileup[ch];
    if (hooked_model() && hooked_.ok) {
        // Counts per second and channel: the cursor height and the two layers.
        const double units = hooked_.units;
        const double height = Option3.value() ? y : display::log_value(y);
        LY_p.set_caption(counts_cut(height * units, 4));
        LYtot_p.set_caption(counts_cut(T * units, 6));
        LYtarget_p.set_caption(counts_cut(st.Spec_target[ch] * units, 6));
        return;
    }
    LY_p.set_caption(number_cut(text::Int(y + 0.5) / 100, 4));
    LYtot_p.set_caption(number_cut(text::Int(T + 0.5) / 100, 6));
    LYtarget_p.set_caption(number_cut(text::Int(st.Spec_target[ch] + 0.5) / 100, 6));
}

void RADirido::Picture1_MouseUp(MouseButton Button, float X, float Y) {
    if (Button == MouseButton::Right) {
        Picture1.picture().Scale(-10.0f, 11750.0f, 1028.0f, -500.0f);
        view.zoom.reset();
        set_axis_labels_full_view();
        Plot_spectrum();
        return;
    }
    if (Button != MouseButton::Left) return;

    // A drag that ends (or began) beyond the plot picks the edge of the channel
    // scale, so that a view lies within it, but for the 128 channels a narrow
    // pick is widened to around its centre.
    const double x = std::clamp(static_cast<double>(X), 0.0, 1024.0);
    const double drag_x = std::clamp(view.Drag_x.num(), 0.0, 1024.0);
    double L = text::Int(std::min(x, drag_x) + 0.5);
    double R = text::Int(std::max(x, drag_x) + 0.5);
    const double W = R - L;
    const double M = text::Int((x + drag_x) * 0.5 + 0.5);
    if (W < 128) {
        L = M - 64;
        R = M + 64;
    }
    double T = text::Int(std::max<double>(Y, view.Drag_y.num()) + 0.5);
    if (T < 500) T = 500;
    if (W >= 256) {
        view.Zoom_steps = 1;
    } else if (W >= 192) {
        view.Zoom_steps = 2;
    } else if (W >= 128) {
        view.Zoom_steps = 3;
    } else {
        view.Zoom_steps = 4;
    }
    if (W <= 32) return;

    if (Option3.value()) {
        Picture1.picture().Scale(to_user(L), to_user(T), to_user(R), 0.0f);
    } else {
        Picture1.picture().Scale(to_user(L), 11750.0f, to_user(R), 0.0f);
    }
    view.zoom = display::ViewState::Window{L, R};
    Label55.set_caption(number_cut(text::Int(L * 10 / 1.024 + 0.5) / 1000, 5) + " (V)");
    Label56.set_caption(number_cut(text::Int(R * 10 / 1.024 + 0.5) / 1000, 5) + " (V)");
    Label20.set_caption(number_cut(text::Int((L + R) * 5 / 1.024 + 0.5) / 1000, 5) + " (V)");
    energy_axis_labels();
    Plot_spectrum();
}

void RADirido::Form_MouseMove(int X, int Y) {
    if (X < 2524 || X > 10810 || Y < 3380 || Y > 7460) {
        Lvolt_p.set_caption("        ---     ");
        LYtot_p.set_caption("---");
        LY_p.set_caption("---");
        LYtarget_p.set_caption("---");
    }
}

}  // namespace lumetra::window
