// The recalculation cycle: calculate, make sure the peak width is usable,
// redraw, and mark the spectrum as shown.

#include "common/numtext.h"
#include "engine/calculation.h"
#include "physics/neighbours.h"
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
    if (planning.model == Model::fp) {
        fp_spectrum();
    } else {
        Label38.set_caption(engine::Calc_spectrum(st, *this));
    }
    show_panel_results();
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
    // A setup the model refuses leaves an empty plot with the reason on it.
    if (planning.model == Model::fp && !fp_result.ok && !fp_result.reason.empty())
        Picture1.picture().Print("  " + fp_result.reason);
    // Peaks the scale cuts off, when they matter, are named on the plot.
    if (planning.model == Model::fp && fp_result.ok) {
        const std::string cut = physics::beyond_scale(fp_setup(), fp_result);
        if (!cut.empty()) Picture1.picture().Print("  " + cut);
    }
    Picture1.drawing_changed();
}

}  // namespace lumetra::window
