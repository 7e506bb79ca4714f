#include "physics/synthesis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "common/constants.h"
#include "physics/settings.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

using common::kFwhmPerSigma;
constexpr double kReach = 5.0;        // sigmas drawn on each side of a peak
constexpr double kWindowReach = 8.0;  // sigmas beyond which a peak adds nothing to B
constexpr std::size_t kPileCandidates = 30;
constexpr double kHighestRate = 1e30;   // counts/s; above is taken as this
constexpr double kLowestEnergy = 1e-3;  // keV; lines below are not detected
constexpr double kHighestEnergy = 1e4;  // keV; nor above
constexpr double kLongestTime = 1.0;    // s; dead and pulse-pair times above are taken as this
constexpr double kLastChannel = kChannels - 1;

// Layers a peak is drawn into, as bits.
enum : unsigned {
    kTotal = 1u << 0,
    kTarget = 1u << 1,
    kLine = 1u << 2,
    kMark = 1u << 3,
    kElastic = 1u << 4,
    kEscape = 1u << 5,
    kPileup = 1u << 6,
};
constexpr int kLayerBits = 7;

using Kind = BackgroundPart::Kind;

// Something the crystal absorbs at one energy: a line or a scatter peak.
struct Source {
    double E = 0.0;        // keV
    double rate = 0.0;     // detected events/s at the input
    double doppler = 0.0;  // keV, added in quadrature to the detector's width
    unsigned layers = 0;   // of its full-energy peak
    bool counted = false;  // a counted target line
    double full = 0.0;     // events/s left in the full-energy peak
    int origin = 0;        // index into Result::lines, or BackgroundPart::kRayleigh / kCompton
};

// A Gaussian on the scale, at the input rate (the live fraction is applied when it
// is drawn or counted).
struct Peak {
    double E = 0.0, sigma = 0.0, rate = 0.0;
    unsigned layers = 0;
    bool signal = false;  // the counted target line's own peak: S, not B
    Kind kind = Kind::peak;
    int source = 0, partner = 0;  // origins, as BackgroundPart
};

// A flat shelf from 0 to E holding `rate` events/s at the input.
struct Shelf {
    double E = 0.0, rate = 0.0;
};

double clean_rate(double r) {
    return std::isfinite(r) && r > 0.0 ? std::min(r, kHighestRate) : 0.0;
}
bool detectable(double E) {
    return E >= kLowestEnergy && E <= kHighestEnergy;
}
double clean_time_us(double t) {
    return std::isfinite(t) && t > 0.0 ? std::min(t * 1e-6, kLongestTime) : 0.0;
}

// Standard normal distribution function, Phi(z) = erfc(-z / sqrt 2) / 2.
double Phi(double z) {
    return 0.5 * std::erfc(-z * common::kInvSqrt2);
}

// Phi(z) from a table of Phi and of its derivative phi = exp(-z^2 / 2) / sqrt(2 pi)
// at steps of 1/32 over -6..6, cubic Hermite between the nodes (error below 2e-9),
// 0 and 1 beyond. Built once per synthesis, it spares the thousands of peak edges a
// special function each.
class NormalTable {
  public:
    NormalTable() {
        for (int i = 0; i <= kNodes; ++i) {
            const double z = -kEdge + i * kStep;
            Phi_[i] = Phi(z);
            phi_[i] = common::kInvSqrt2Pi * std::exp(-0.5 * z * z);
        }
    }
    double operator()(double z) const {
        if (!(z > -kEdge)) return 0.0;
        if (z >= kEdge) return 1.0;
        const double u = (z + kEdge) * kPerStep;
        const int i = std::min(static_cast<int>(u), kNodes - 1);
        const double t = u - i, t2 = t * t, t3 = t2 * t;
        return (2 * t3 - 3 * t2 + 1) * Phi_[i] + (t3 - 2 * t2 + t) * kStep * phi_[i] +
               (3 * t2 - 2 * t3) * Phi_[i + 1] + (t3 - t2) * kStep * phi_[i + 1];
    }

  private:
    static constexpr double kEdge = 6.0, kStep = 1.0 / 32, kPerStep = 32.0;
    static constexpr int kNodes = 384;
    std::array<double, kNodes + 1> Phi_{}, phi_{};
};

// Share of a Gaussian (centre c, width sigma) between lo and hi, keV.
double between(double c, double sigma, double lo, double hi) {
    return Phi((hi - c) / sigma) - Phi((lo - c) / sigma);
}

// One rule for every rate the result reports and the spectrum is built from: a rate
// that is not finite and above 0 is 0, and one above kHighestRate is taken as that,
// a line's parts (primary, secondary, ...) keeping their proportions.
void clean_rates(Result& result) {
    for (LineRate& l : result.lines) {
        for (double LineRate::*p : kLineParts) l.*p = clean_rate(l.*p);
        const double total = l.total();
        if (total > kHighestRate)
            for (double LineRate::*p : kLineParts) l.*p *= kHighestRate / total;
    }
    result.rayleigh.rate = clean_rate(result.rayleigh.rate);
    result.compton.rate = clean_rate(result.compton.rate);
}

// Every line and the two scatter peaks with a detectable energy and a rate (the
// rates are clean, see clean_rates).
std::vector<Source> sources_of(const Setup& setup, const Result& result) {
    const std::vector<LineRate>& lines = result.lines;
    std::vector<Source> out;
    out.reserve(lines.size() + 2);
    const std::vector<int>& counted = setup.target_lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineRate& l = lines[i];
        const double rate = l.total();
        if (!detectable(l.energy) || !(rate > 0.0)) continue;
        Source s{l.energy, rate, 0.0, kTotal};
        s.origin = static_cast<int>(i);
        // The target and the marked element are elements of the sample: a layer's lines,
        // of the same element or not, are background.
        const bool target = l.in_sample() && l.element == 0;
        if (target) s.layers |= kTarget;
        s.counted = target && std::find(counted.begin(), counted.end(), l.line) != counted.end();
        if (s.counted) s.layers |= kLine;
        if (setup.marked >= 0 && l.in_sample() && l.element == setup.marked) s.layers |= kMark;
        out.push_back(s);
    }
    for (const ScatterRate* sc : {&result.rayleigh, &result.compton}) {
        const double rate = sc->rate;
        if (!detectable(sc->energy) || !(rate > 0.0)) continue;
        const double doppler = std::isfinite(sc->doppler_eV) && sc->doppler_eV > 0.0
                                   ? std::min(sc->doppler_eV * 1e-3, kHighestEnergy)
                                   : 0.0;
        Source s{sc->energy, rate, doppler, kTotal | kElastic};
        s.origin = sc == &result.rayleigh ? BackgroundPart::kRayleigh : BackgroundPart::kCompton;
        out.push_back(s);
    }
    return out;
}

// Splits every source into its full-energy peak, its escape peaks at E - E_K and
// its shelf. Per source of rate R: escape_k = R f_k, shelf = R min(f_shelf, 1 -
// sum f_k), full = R - escapes - shelf. Widths: FWHM = sqrt(FWHM_det(E)^2 + D^2),
// D the Doppler width (0 for lines). Escape peaks are recorded events: they belong
// to the total as well as to their own layer.
void split(std::vector<Source>& sources, const Response& response, std::vector<Peak>& peaks,
           std::vector<Shelf>& shelves) {
    auto sigma = [&](double E, double doppler) {
        const double w = response.fwhm(E);
        return std::sqrt(w * w + doppler * doppler) / kFwhmPerSigma;
    };
    for (Source& s : sources) {
        double escaped = 0.0;
        for (const Escape& e : response.escapes(s.E)) {
            const double E = s.E - e.energy;
            if (!detectable(E) || !(e.fraction > 0.0)) continue;
            escaped += e.fraction;
            peaks.push_back({E, sigma(E, s.doppler), s.rate * e.fraction, kTotal | kEscape, false,
                             Kind::escape, s.origin, s.origin});
        }
        escaped = std::min(escaped, 1.0);
        const double shelf = std::min(response.shelf_fraction(), 1.0 - escaped);
        s.full = s.rate * std::max(1.0 - escaped - shelf, 0.0);
        peaks.push_back({s.E, sigma(s.E, s.doppler), s.full, s.layers, s.counted, Kind::peak,
                         s.origin, s.origin});
        if (shelf > 0.0) shelves.push_back({s.E, s.rate * shelf});
    }
}

// Pile-up of the strongest full-energy peaks: for every ordered pair (a, b) a peak
// at E_a + E_b of rate tau_pp R_a R_b, so an unlike pair gives 2 tau_pp R_a R_b and a
// peak with itself tau_pp R_a^2; width FWHM_det(E_a + E_b). Recorded events: in the
// total as well as in their own layer.
void pile_up(const std::vector<Source>& sources, const Response& response, double tau_pp,
             std::vector<Peak>& peaks) {
    std::vector<const Source*> strongest;
    for (const Source& s : sources)
        if (s.full > 0.0) strongest.push_back(&s);
    const std::size_t n = std::min(strongest.size(), kPileCandidates);
    std::partial_sort(strongest.begin(), strongest.begin() + n, strongest.end(),
                      [](const Source* a, const Source* b) { return a->full > b->full; });
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i; j < n; ++j) {
            const Source& a = *strongest[i];
            const Source& b = *strongest[j];
            const double pairs = i == j ? 1.0 : 2.0;
            const double rate = pairs * tau_pp * a.full * b.full;
            const double E = a.E + b.E;
            if (rate > 0.0)
                peaks.push_back({E, response.fwhm(E) / kFwhmPerSigma, rate, kTotal | kPileup, false,
                                 Kind::pileup, a.origin, b.origin});
        }
}

// The channel whose bin [(n - 1/2) d, (n + 1/2) d] holds E keV, clamped to -1..1025.
int channel_of(double E, double d) {
    const double n = std::floor(E / d + 0.5);
    return static_cast<int>(std::clamp(n, -1.0, kLastChannel + 1.0));
}

// Draws every peak within +-5 sigma at the output rate (g = OCR / ICR), integrated
// over each channel's bin (Phi from the table):
// counts_n = g rate (Phi((x_n+ - E) / sigma) - Phi((x_n- - E) / sigma)), x_n+- = (n +- 1/2) d.
void draw_peaks(const std::vector<Peak>& peaks, double d, double g, Layers& layers) {
    static const NormalTable table;  // a constant table, built on first use
    const std::array<Channels*, kLayerBits> by_bit = {
        &layers.total,   &layers.target, &layers.line,  &layers.mark,
        &layers.elastic, &layers.escape, &layers.pileup};
    std::array<Channels*, kLayerBits> into{};
    // Peaks below 1e-10 of the strongest change no channel that could be seen on
    // the plot's scale; their counts stay in the rates and figures.
    double strongest = 0.0;
    for (const Peak& p : peaks) strongest = std::max(strongest, p.rate);
    const double faintest = 1e-10 * strongest;
    for (const Peak& p : peaks) {
        if (p.rate < faintest) continue;
        int layer_count = 0;
        for (int bit = 0; bit < kLayerBits; ++bit)
            if (p.layers & (1u << bit)) into[layer_count++] = by_bit[bit];
        const int first = std::max(channel_of(p.E - kReach * p.sigma, d), 0);
        const int last = std::min(channel_of(p.E + kReach * p.sigma, d), kChannels - 1);
        const double step = d / p.sigma;
        double z = ((first - 0.5) * d - p.E) / p.sigma;
        double below = table(z);
        const double rate = p.rate * g;
        for (int n = first; n <= last; ++n) {
            z += step;
            const double upto = table(z);
            const double counts = rate * (upto - below);
            below = upto;
            for (int k = 0; k < layer_count; ++k) (*into[k])[n] += counts;
        }
    }
}

// Draws every shelf into the total at the output rate: density g rate / E per keV
// over 0..E, so the channels wholly inside get g rate d / E (one difference array,
// one prefix sum), channel 0 and the channel holding E their overlapping parts. The
// running sum of the differences is no count: where every shelf has ended it may
// be a rounding residue below 0, which is no shelf at all.
void draw_shelves(const std::vector<Shelf>& shelves, double d, double g, Channels& total) {
    std::array<double, kChannels + 1> step{};
    for (const Shelf& s : shelves) {
        const double density = g * s.rate / s.E;
        const int top = channel_of(s.E, d);
        total[0] += density * std::min(s.E, 0.5 * d);
        if (top >= 2) {
            step[1] += density * d;
            step[std::min(top, kChannels)] -= density * d;
        }
        if (top >= 1 && top < kChannels) total[top] += density * (s.E - (top - 0.5) * d);
    }
    double level = 0.0;
    for (int n = 0; n < kChannels; ++n) {
        level += step[n];
        total[n] += std::max(level, 0.0);
    }
}

// B at the input rate: every peak but the counted lines' own full-energy peaks, and
// every shelf, integrated over the energy window lo..hi exactly (erf for peaks,
// overlap for shelves), whatever the channel scale; peaks farther than 8 sigma from
// the window are left out. Each peak's part, and the shelves' together, go into
// `parts` (at the input rate, strongest first), and B is their sum: the list of
// neighbours is made of the very parts B adds up.
double background(const std::vector<Peak>& peaks, const std::vector<Shelf>& shelves, double lo,
                  double hi, std::vector<BackgroundPart>& parts) {
    parts.clear();
    for (const Peak& p : peaks) {
        if (p.signal) continue;
        if (p.E + kWindowReach * p.sigma < lo || p.E - kWindowReach * p.sigma > hi) continue;
        const double part = p.rate * between(p.E, p.sigma, lo, hi);
        if (part > 0.0) parts.push_back({p.kind, p.source, p.partner, p.E, part});
    }
    double shelves_part = 0.0;
    for (const Shelf& s : shelves) {
        const double overlap = std::min(hi, s.E) - std::max(lo, 0.0);
        if (overlap > 0.0) shelves_part += s.rate / s.E * overlap;
    }
    if (shelves_part > 0.0) parts.push_back({Kind::shelf, 0, 0, 0.0, shelves_part});
    std::stable_sort(
        parts.begin(), parts.end(),
        [](const BackgroundPart& a, const BackgroundPart& b) { return a.rate > b.rate; });
    double B = 0.0;
    for (const BackgroundPart& p : parts) B += p.rate;
    return B;
}

// The parts of B at the output rate (g = OCR / ICR) and as shares of B at the input
// rate, which keep their meaning past the highest output rate.
void store_parts(std::vector<BackgroundPart>& parts, double g, double B) {
    for (BackgroundPart& p : parts) {
        p.share = B > 0.0 ? std::min(p.rate / B, 1.0) : 0.0;
        p.rate *= g;
    }
}

// The counting window in FWHM: the setting's value, one FWHM for one that is no
// number above 0, and at most the widest the settings allow.
double window_in_fwhm(const Setup& setup) {
    const double n = setup.count_window_fwhm;
    return std::isfinite(n) && n > 0.0 ? std::min(n, kWidestCountWindow) : 1.0;
}

// Rate-weighted energy of the counted lines, keV; without a detected counted line,
// the mean of their tabulated energies (the window still has a place).
double target_energy_of(const Setup& setup, const std::vector<Source>& sources) {
    double rate = 0.0, weighted = 0.0;
    for (const Source& s : sources)
        if (s.counted) {
            rate += s.rate;
            weighted += s.rate * s.E;
        }
    if (rate > 0.0) return weighted / rate;
    if (setup.sample.empty()) return 0.0;
    double sum = 0.0;
    int count = 0;
    for (int line : setup.target_lines) {
        const double E = xrl::line_energy(setup.sample.front().Z, line);
        if (detectable(E)) {
            sum += E;
            ++count;
        }
    }
    return count > 0 ? sum / count : 0.0;
}

// 1 - x / (e^x - 1): the share of the bulk damping a film of optical depth x keeps;
// x / 2 - x^2 / 12 for a thin film, 1 for a thick one.
double film_share(double x) {
    if (!(x > 0.0)) return 0.0;
    if (x < 1e-4) return x / 2.0 - x * x / 12.0;
    const double e = std::expm1(x);
    return std::isfinite(e) ? 1.0 - x / e : 1.0;
}

// Damping of the edge step by self-absorption:
// s = mu_edge(E0) / (mu(E0) + mu(E_t) sin psi_in / sin psi_out),
// mu_edge = w_t CS_Photo_Partial(Z_t, shell, E0) (0 below the edge); for a film
// s (1 - x e^-x / (1 - e^-x)), x = chi(E0, E_t) rho t.
double self_absorption_of(const Setup& setup, const Sample& sample, double Et) {
    if (sample.size() == 0 || !std::isfinite(setup.E0)) return 0.0;
    const double mu_edge =
        sample.w(0) * xrl::cs_photo_partial(sample.Z(0), setup.target_shell, setup.E0);
    const double mu = sample.mu(setup.E0) + sample.mu(Et) * sample.sin_in() / sample.sin_out();
    if (!(mu > 0.0) || !(mu_edge > 0.0)) return 0.0;
    double s = std::min(mu_edge / mu, 1.0);
    if (sample.film()) s *= film_share(sample.chi(setup.E0, Et) * sample.areal_density());
    return std::isfinite(s) ? s : 0.0;
}

}  // namespace

// ICR = sum of every detected event rate (lines and scatter, escapes and shelves
// included); OCR = ICR exp(-ICR tau) (paralysable); every layer at the output rate.
// S and B are counted in one window of n FWHM(E_t) centred on the target energy E_t
// (n = Setup::count_window_fwhm), as a window set on the recorded spectrum counts:
// S = the counted lines' full-energy peaks inside it x OCR / ICR, B = everything else
// inside it x OCR / ICR. The counted lines' own escape peaks and shelves are their
// photons too, but they are not the peak a window is set on: they count in B, as
// they would in the spectrum (escape peaks lie 1.74 keV (Si) or 9.9 keV (Ge) below
// the line, outside any window of up to 10 FWHM; the shelf adds about 1e-4 of the
// peak). Time per point = (S + B) / (S 1e-3)^2, s, for a relative noise of 1e-3.
// S / B and the overload ICR tau hold past the highest output rate, where S and B
// vanish.
void synthesise(const Setup& setup, const Sample& sample, const Response& response,
                const Scatter& scatter, Result& result, Drawing drawing) {
    result.rayleigh = scatter.rayleigh;
    result.compton = scatter.compton;
    clean_rates(result);
    result.layers = Layers{};
    result.figures = Figures{};
    result.background_parts.clear();
    Figures& f = result.figures;

    std::vector<Source> sources = sources_of(setup, result);
    double counted_rate = 0.0;
    for (const Source& s : sources) {
        f.icr += s.rate;
        if (s.counted) counted_rate += s.rate;
    }
    const double tau = clean_time_us(setup.detector.dead_time_us);
    const double g = f.icr > 0.0 ? std::exp(-f.icr * tau) : 1.0;
    f.ocr = f.icr * g;
    f.dead_time = 1.0 - g;
    f.overload = f.icr * tau;
    result.target_share = f.icr > 0.0 ? 100.0 * counted_rate / f.icr : 0.0;

    std::vector<Peak> peaks;
    std::vector<Shelf> shelves;
    peaks.reserve(3 * sources.size() + kPileCandidates * (kPileCandidates + 1) / 2);
    shelves.reserve(sources.size());
    split(sources, response, peaks, shelves);
    pile_up(sources, response, clean_time_us(setup.detector.pulse_pair_us), peaks);

    const bool scale = std::isfinite(setup.full_energy) && setup.full_energy > 0.0;
    if (scale && drawing == Drawing::layers) {
        const double d = setup.full_energy / kLastChannel;
        draw_peaks(peaks, d, g, result.layers);
        draw_shelves(shelves, d, g, result.layers.total);
    }

    f.target_energy = target_energy_of(setup, sources);
    if (f.target_energy > 0.0) {
        f.window_width = window_in_fwhm(setup) * response.fwhm(f.target_energy);
        const double lo = f.target_energy - 0.5 * f.window_width;
        const double hi = f.target_energy + 0.5 * f.window_width;
        double peak = 0.0, signal = 0.0;  // the whole peak and S, at the input rate
        for (const Peak& p : peaks)
            if (p.signal) {
                peak += p.rate;
                signal += p.rate * between(p.E, p.sigma, lo, hi);
            }
        f.window_share = peak > 0.0 ? std::clamp(signal / peak, 0.0, 1.0) : 0.0;
        f.target = signal * g;
        const double B = background(peaks, shelves, lo, hi, result.background_parts);
        f.background = B * g;
        const double ratio = B > 0.0 ? signal / B : 0.0;
        f.signal_to_background = std::isfinite(ratio) ? ratio : kHighestRate;
        store_parts(result.background_parts, g, B);
    }
    if (f.target > 0.0) {
        const double t = (1.0 + f.background / f.target) * 1e6 / f.target;
        f.time_per_point = std::isfinite(t) ? t : std::numeric_limits<double>::max();
    }
    f.self_absorption = self_absorption_of(setup, sample, f.target_energy);

    result.ok = f.icr > 0.0 && scale;
    result.reason = !scale        ? "The amplifier scale has no energy."
                    : f.icr > 0.0 ? ""
                                  : "Nothing reaches the detector.";
}

}  // namespace lumetra::physics
