// The recalculation cycle: calculate, make sure the peak width is usable,
// redraw, and mark the spectrum as shown.

#include "common/numtext.h"
#include "engine/calculation.h"
#include "window/radirido.h"

namespace lumetra::window {

void RADirido::Re_calc() {
    Calc_spectrum();
    double W = text::Val(Text16.text());
    if (!(W >= 0.0101)) {
        Text16.set_text(dialogs_.prompt("Width must be larger than 0.01 "));
        W = text::Val(Text16.text());
        if (!(W >= 0.011)) Text16.set_text(text::Str(0.01));
    }
    Plot_spectrum();
    st.Calc_state = 10;
}

void RADirido::Calc_spectrum() {
    if (hooked_model()) {
        show_calculating();
        hooked_ = hook_->calculate(snapshot(), st);
        Label38.set_caption(hooked_.target_share);
    } else {
        hooked_ = HookedSpectrum{};
        Label38.set_caption(engine::Calc_spectrum(st, *this));
    }
    if (hook_) hook_->calculated();
}

void RADirido::Target_yield(std::int16_t i, double mu_in) {
    engine::Target_yield(st, *this, i, mu_in);
}

display::PlotOptions RADirido::plot_options() const {
    display::PlotOptions options;
    options.linear = Option3.value();
    options.argon = Check1.value();
    options.elastic = Check11.value();
    options.escape = Check21.value();
    options.pileup = Check3.value();
    return options;
}

void RADirido::Plot_spectrum() {
    display::Plot_spectrum(Picture1.picture(), st, view, plot_options());
    // The other model's word on the plot: why it refused the setup, or the peaks the
    // scale cuts off when they matter.
    if (hooked_model() && !hooked_.plot_note.empty())
        Picture1.picture().Print("  " + hooked_.plot_note);
    Picture1.drawing_changed();
}

}  // namespace lumetra::window
