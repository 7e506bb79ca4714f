// The figures of the last calculation as texts: what the panel shows and the
// exports write (see panel_figures.h).

#include "planning/panel_figures.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "physics/neighbours.h"

namespace lumetra::planning {

namespace {

constexpr common::Rgb kOrange = common::rgb(230, 120, 0);
constexpr double kSaturating = 0.5;  // dead time above which the panel warns
constexpr double kBusy = 0.3;        // dead time above which it is orange
constexpr double kOfNote = 1e-3;     // the smallest part of B the list names

std::string per_cent(double fraction) {
    return three_digits(100.0 * fraction) + " %";
}

// How many times the input rate of the highest output rate arrives: "1.3", "108",
// "3456", "3.46e6".
std::string times_text(double n) {
    if (!(n < 1e6)) return three_digits(n);
    char buf[32];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, n, std::chars_format::fixed, n < 10 ? 1 : 0);
    return std::string(buf, r.ptr);
}

void fill_neighbours(const physics::Result& r, PanelFigures& out) {
    const physics::Figures& f = r.figures;
    int k = 0;
    for (const physics::Neighbour& n : physics::neighbours(r)) {
        // Only what adds at least a thousandth of the background is worth a filter.
        if (!(n.share >= kOfNote)) continue;
        const std::string where = n.energy > 0.0 ? " (" + three_digits(n.energy) + " keV)" : "";
        // Past the highest output rate nothing is counted: the parts of B tell more.
        const std::string value =
            f.paralysed() ? per_cent(n.share) + " of B" : three_digits(n.rate) + " /s";
        out.neighbours.push_back({"neighbour_" + std::to_string(++k), n.name + where, value});
    }
    if (out.neighbours.empty()) out.neighbours.push_back({"neighbour_1", "", "nothing of note"});
}

}  // namespace

std::string three_digits(double v) {
    if (!std::isfinite(v)) return "-";
    if (v == 0.0) return "0";
    const double a = std::fabs(v);
    char buf[64];
    const int e = static_cast<int>(std::floor(std::log10(a)));
    if (e >= -2 && e < 6) {
        int decimals = std::max(0, 2 - e);
        double rounded = std::round(v * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
        // 99.96 rounds up to the next decade: 100, not 100.0.
        if (std::fabs(rounded) >= std::pow(10.0, e + 1) && decimals > 0) {
            --decimals;
            rounded = std::round(v * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
        }
        auto r = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, decimals);
        return std::string(buf, r.ptr);
    }
    int exponent = e;
    double mantissa = std::round(v / std::pow(10.0, exponent) * 100.0) / 100.0;
    if (std::fabs(mantissa) >= 10.0) {  // 9.996e6 is 1.00e7
        ++exponent;
        mantissa = std::round(v / std::pow(10.0, exponent) * 100.0) / 100.0;
    }
    auto r = std::to_chars(buf, buf + sizeof buf, mantissa, std::chars_format::fixed, 2);
    return std::string(buf, r.ptr) + "e" + std::to_string(exponent);
}

std::vector<const ShownFigure*> PanelFigures::shown() const {
    std::vector<const ShownFigure*> out;
    for (const ShownFigure* s :
         {&note, &icr, &ocr, &dead_time, &saturation, &target, &background, &window_share,
          &signal_to_background, &time_per_point, &self_absorption, &self_absorption_hint})
        if (!s->value.empty()) out.push_back(s);
    return out;
}

PanelFigures panel_figures(physics::ModelKind model, const physics::Result& r) {
    PanelFigures out;
    out.note.key = "note";
    if (model == physics::ModelKind::classic) {
        out.note.value = "Rates need the fundamental-parameter model.";
        return out;
    }
    if (!r.ok) {
        out.note.value = r.reason.empty() ? "Press Plot for the rates." : r.reason;
        return out;
    }
    const physics::Figures& f = r.figures;
    const bool paralysed = f.paralysed();
    // The form's solid angle, air, attenuation and detection ratio are greyed.
    out.note.value = "The form's grey detection chain is the classic model's.";
    out.icr = {"input_rate", "Input rate", three_digits(f.icr) + " counts/s"};
    out.ocr = {"output_rate", "Output rate", three_digits(f.ocr) + " counts/s"};
    out.dead_time = {"dead_time", "Dead time", per_cent(f.dead_time)};
    out.dead_time_colour = f.dead_time > kSaturating ? common::colours::red
                           : f.dead_time > kBusy     ? kOrange
                                                     : common::colours::black;
    out.saturation.key = "saturation";
    if (paralysed) {
        out.saturation.value =
            "The detector is paralysed: " + times_text(f.overload) + " times too many photons.";
    } else if (f.dead_time > kSaturating) {
        out.saturation.value = "The detector saturates: less flux or more distance.";
    }
    const std::string none = "none counted (paralysed)";
    out.target = {"target_rate", "Target line",
                  paralysed ? none : three_digits(f.target) + " counts/s"};
    out.background = {"background", "Background under it",
                      paralysed ? none : three_digits(f.background) + " counts/s"};
    // S and B are both counted in the window; what of the target's peak it holds.
    out.window_share = {
        "window_share", "Window holds",
        per_cent(f.window_share) + " of the line (" + three_digits(1e3 * f.window_width) + " eV)"};
    out.signal_to_background = {"signal_to_background", "S/B",
                                f.signal_to_background > 0.0 ? three_digits(f.signal_to_background)
                                : f.background > 0.0         ? std::string("0")
                                                             : std::string("-")};
    out.time_per_point = {"time_per_point", "Time per point (0.1 % of the step)",
                          paralysed        ? std::string("none (paralysed)")
                          : f.target > 0.0 ? three_digits(f.time_per_point) + " s"
                                           : std::string("no target signal")};
    out.self_absorption = {"self_absorption", "EXAFS damped by self-absorption",
                           per_cent(f.self_absorption)};
    out.self_absorption_hint.key = "self_absorption_hint";
    if (f.self_absorption > 0.1)
        out.self_absorption_hint.value = "Dilute the sample or use a film.";
    fill_neighbours(r, out);
    return out;
}

}  // namespace lumetra::planning
