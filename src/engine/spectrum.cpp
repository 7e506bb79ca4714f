// Spectrum synthesis: every line of every element as a Gaussian peak on the
// 1025-channel scale, the total scaled to 10000 at its highest channel, and the
// layers the plot can show on their own.

#include <cmath>
#include <optional>
#include <string>

#include "common/numtext.h"
#include "engine/calculation.h"
#include "engine/elements.h"
#include "engine/finite.h"
#include "engine/line_yield.h"
#include "engine/peaks.h"

namespace lumetra::engine {
namespace {

constexpr double kSmallestDrawnYield = 1e-6;
constexpr double kScaledTop = 10000.0;

// Argon of the air between sample and detector.
constexpr double kArgonKa = 2.957, kArgonKaHeight = 0.0385;  // keV, height
constexpr double kArgonKb = 3.1905, kArgonKbHeight = 0.005;
constexpr double kElasticHeight = 0.05;
// The germanium crystal of the detector: a photon above its K edge may ionise a
// germanium K shell whose K-alpha photon leaves the crystal, so the pulse lacks
// 9.876 keV (the escape peak). The same K fluorescence, excited by the incident
// beam in the crystal, shows as its own two small peaks.
constexpr double kGeKEdge = 11.103;  // keV
constexpr double kEscapeFraction = 0.1;
constexpr double kGeKa = 9.876, kGeKaHeight = 0.001;
constexpr double kGeKb = 10.982, kGeKbHeight = 0.0004;
constexpr double kPileupFraction = 0.1;

double content(const CalcState& st, int i) { return st.Elem_content[i].num(); }

// Everything one pass shares: the peak shape and the scale of the layers.
struct Synthesis {
    CalcState& st;
    PeakShape shape;
    double E0 = 0.0;   // incident energy, keV
    double Efs = 0.0;  // full-scale energy, keV
    double N = 1e-12;  // divisor that brings Spec_total to 10000

    // Adds a peak of raw height into a layer, if its window starts below 1023.
    void add_layer_peak(Spectrum& layer, double E, double raw_height) const {
        const PeakWindow w = shape.window(E);
        if (w.drawable()) shape.add(layer, w, finite::div(raw_height, N));
    }
};

// Areal factor of a film: formula units per area, density x thickness (nm) /
// formula weight M x 0.0006022 (Avogadro's number x 1e-7 cm/nm x 1e-20 cm2, the
// unit of the cross-sections), so that it times a sum of content x cross-section
// is the film's optical thickness. Without a formula weight there is no film.
void areal_factor(CalcState& st, Host& host) {
    double M = 0.0;
    const int last = last_element(st);
    for (int i = 0; i <= last; ++i) M = finite::add(M, finite::mul(content(st, i), st.Elem_mass[i]));
    const double density = std::fabs(host.field(Field::Density) + 0.0001);
    const double thickness = std::fabs(host.field(Field::Thickness) + 0.0001);
    const double per_mass = finite::mul(finite::mul(density, thickness), 0.0006022);
    st.Areal_factor = M > 0.0 ? finite::div(per_mass, M) : 0.0;
}

void clear_spectra(CalcState& st) {
    for (Spectrum* a : {&st.Spec_total, &st.Spec_target, &st.Spec_line, &st.Spec_mark,
                        &st.Spec_argon, &st.Spec_elastic, &st.Spec_escape, &st.Spec_pileup})
        a->fill(0.0);
}

// Every line of every element into Spec_total, with the sum S of all line yields
// times contents, drawn or not. Stops early (distance_reset) when the yields set the
// distance field back to 60 cm: its handler may have run a whole recalculation into
// these same arrays, and adding to that would count every layer twice.
struct Total {
    double S = 0.0;
    bool distance_reset = false;
};

Total total_spectrum(Synthesis& syn, Host& host, double mu_in, bool stop_on_reset) {
    CalcState& st = syn.st;
    Total t;
    double& S = t.S;
    const int last = last_element(st);
    for (int i = 0; i <= last; ++i) {
        if (line_yields(st, host, static_cast<std::int16_t>(i), mu_in) && stop_on_reset) {
            t.distance_reset = true;
            return t;
        }
        for (int j = 1; j <= 21; ++j) {
            const double y = st.Line_yield[i][j];
            const double height = finite::mul(content(st, i), y);
            S = finite::add(S, height);
            if (y > kSmallestDrawnYield)
                syn.shape.add(st.Spec_total, syn.shape.window(st.Line_energy[i][j]), height);
        }
    }
    return t;
}

struct Scaling {
    double P = 0.0;  // highest channel before scaling (0 when none is above 0)
    double N = 0.0;  // the divisor
};

// Scales Spec_total so its highest channel is 10000.
Scaling scale_total(CalcState& st) {
    Scaling sc;
    for (double v : st.Spec_total)
        if (v > sc.P) sc.P = v;
    sc.N = sc.P / kScaledTop + 1e-12;
    for (double& v : st.Spec_total) v = finite::div(v, sc.N);
    return sc;
}

void target_layers(Synthesis& syn) {
    CalcState& st = syn.st;
    const double c0 = content(st, 0);
    for (int j = 1; j <= 21; ++j) {
        const double y = st.Line_yield[0][j];
        if (!(y > kSmallestDrawnYield)) continue;
        const PeakWindow w = syn.shape.window(st.Line_energy[0][j]);
        if (!w.drawable()) continue;
        const double height = finite::div(finite::mul(c0, y), syn.N);
        syn.shape.add(st.Spec_target, w, height);
        if (j == st.Target_line) syn.shape.set(st.Spec_line, w, height);
    }
}

// The target line when it is a pair of lines (slot 0, 22 or 23).
void combined_target_line(Synthesis& syn) {
    CalcState& st = syn.st;
    int a = 0, b = 0;
    switch (st.Target_line) {
        case 22: a = 1, b = 2; break;    // L-alpha 1 and 2
        case 23: a = 17, b = 19; break;  // K-beta 1 and 3
        case 0: a = 15, b = 16; break;   // K-alpha 1 and 2
        default: return;
    }
    const PeakWindow wa = syn.shape.window(st.Line_energy[0][a]);
    const PeakWindow wb = syn.shape.window(st.Line_energy[0][b]);
    if (!wb.drawable()) return;
    const double c0 = content(st, 0);
    syn.shape.set(st.Spec_line, wa, finite::div(finite::mul(c0, st.Line_yield[0][a]), syn.N));
    syn.shape.add(st.Spec_line, wb, finite::div(finite::mul(c0, st.Line_yield[0][b]), syn.N));
}

// All lines of the element marked in the matrix editor. A mark on a row beyond
// the rows in use (cleared after it was marked) draws nothing.
void marked_layer(Synthesis& syn) {
    CalcState& st = syn.st;
    const int m = st.Elem_mark;
    if (m <= 0 || m > last_element(st)) return;
    for (int j = 1; j <= 21; ++j) {
        const double y = st.Line_yield[m][j];
        if (y > kSmallestDrawnYield)
            syn.add_layer_peak(st.Spec_mark, st.Line_energy[m][j], finite::mul(content(st, m), y));
    }
}

void argon_and_elastic(Synthesis& syn) {
    CalcState& st = syn.st;
    const PeakShape& shape = syn.shape;
    const PeakWindow ka = shape.window(kArgonKa);
    if (ka.drawable()) shape.set(st.Spec_argon, ka, kArgonKaHeight / syn.N);
    const PeakWindow kb = shape.window(kArgonKb);
    if (kb.drawable()) shape.add(st.Spec_argon, kb, kArgonKbHeight / syn.N);
    const PeakWindow el = shape.window(syn.E0);
    if (el.drawable()) shape.set(st.Spec_elastic, el, kElasticHeight / syn.N);
}

// The target line's share of all line yields in per cent, six decimals, as the
// first 7 characters of its text. Without a valid target line, or before the
// editor has started (no element in use, so this run computed no yields and the
// target row holds whatever an earlier call left there), the share is 0; so it is
// when no line has any yield. The share is a plain T / S: a trace target in a
// light matrix has an S of the order of its own tiny content.
std::string target_share(const CalcState& st, double S) {
    double T = 0.0;
    if (st.Target_line >= 0 && st.Target_line < kSlots && last_element(st) >= 0)
        T = finite::mul(st.Line_yield[0][st.Target_line], content(st, 0));
    const double ratio = S > 0.0 ? finite::div(finite::mul(1e8, T), S) : 0.0;
    return text::cut(text::Str(text::Int(ratio + 0.5) / 1e6), 7);
}

void escape_layer(Synthesis& syn) {
    CalcState& st = syn.st;
    const int last = last_element(st);
    for (int i = 0; i <= last; ++i) {
        for (int j = 1; j <= 21; ++j) {
            const double y = st.Line_yield[i][j];
            const double E = st.Line_energy[i][j];
            if (y > kSmallestDrawnYield && E > kGeKEdge)
                syn.add_layer_peak(st.Spec_escape, E - kGeKa,
                                   finite::mul(finite::mul(kEscapeFraction, content(st, i)), y));
        }
    }
    if (syn.E0 > kGeKEdge) {
        syn.add_layer_peak(st.Spec_escape, kGeKa, kGeKaHeight);
        syn.add_layer_peak(st.Spec_escape, kGeKb, kGeKbHeight);
    }
}

void pileup_layer(Synthesis& syn) {
    CalcState& st = syn.st;
    const int last = last_element(st);
    for (int i = 0; i <= last; ++i) {
        for (int j = 1; j <= 21; ++j) {
            const double y = st.Line_yield[i][j];
            const double Ep = finite::mul(2.0, st.Line_energy[i][j]);
            if (y > kSmallestDrawnYield && Ep < syn.Efs)
                syn.add_layer_peak(st.Spec_pileup, Ep,
                                   finite::mul(finite::mul(kPileupFraction, content(st, i)), y));
        }
    }
}

// One pass of the calculation; with stop_on_reset it gives up (returns nothing) as
// soon as the distance field had to be set back.
std::optional<std::string> calculate(CalcState& st, Host& host, bool stop_on_reset) {
    areal_factor(st, host);

    const double E0 = host.field(Field::XrayEnergy);
    const double mu_in = Ext_in(st, host, E0);
    const double W = host.field(Field::Width);
    const double Efs = host.field(Field::FullEnergy);
    Synthesis syn{st, PeakShape(Efs, W), E0, Efs};

    host.show_calculating();
    clear_spectra(st);

    const Total total = total_spectrum(syn, host, mu_in, stop_on_reset);
    if (total.distance_reset) return std::nullopt;
    const double S = total.S;
    const Scaling sc = scale_total(st);
    syn.N = sc.N;

    // With no line on the scale at all there is nothing to measure the layers
    // against (N would be the bare guard 1e-12): every layer stays empty.
    if (sc.P > 0.0) {
        target_layers(syn);
        combined_target_line(syn);
        marked_layer(syn);
        argon_and_elastic(syn);
    }
    std::string share = target_share(st, S);
    if (sc.P > 0.0) {
        escape_layer(syn);
        pileup_layer(syn);
    }
    return share;
}

}  // namespace

// A distance above 60 cm is set back to 60 in its field during the first element's
// yields. The field's handler may recalculate at once, nested inside this call, into
// the same arrays; the calculation then starts over from the fields as they now
// stand, so the result is that of a clean run at 60 cm. The second pass finds the
// field at 60 and runs through.
std::string Calc_spectrum(CalcState& st, Host& host) {
    if (auto share = calculate(st, host, true)) return *share;
    return *calculate(st, host, false);
}

}  // namespace lumetra::engine
