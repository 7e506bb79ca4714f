#pragma once
// What the fundamental-parameter model answers: rates of every line and of the
// scatter, the counting figures, and the spectrum in counts per second.

#include <array>
#include <string>
#include <vector>

namespace lumetra::physics {

constexpr int kChannels = 1025;
using Channels = std::array<double, kChannels>;

// One fluorescence line of one element of the sample or of a layer around it. Rates
// are detected events per second at the input of the detector (escape and shelf
// events included).
struct LineRate {
    int element = 0;  // index into Setup::sample, or into the layer's elements
    int Z = 0;
    int line = 0;                  // the reference library's line code (KL3_LINE, ...)
    double energy = 0.0;           // keV
    double primary = 0.0;          // events/s
    double secondary = 0.0;        // excited by other elements' primary lines
    double self_excited = 0.0;     // excited by the element's own primary lines
    double tertiary = 0.0;         // excited by other elements' secondary lines
    double scatter_excited = 0.0;  // excited by the beam scattered inside the sample
    double total() const { return primary + secondary + self_excited + tertiary + scatter_excited; }
    // Where the line is born: 0 the sample, -(i + 1) the layer Setup::front[i], i + 1
    // the layer Setup::back[i] (layer_name in stack.h names it).
    int layer = 0;
    bool in_sample() const { return layer == 0; }
};

// The parts of a line's rate, each order of fluorescence, as total() sums them.
constexpr std::array<double LineRate::*, 5> kLineParts = {
    &LineRate::primary, &LineRate::secondary, &LineRate::self_excited, &LineRate::tertiary,
    &LineRate::scatter_excited};

struct ScatterRate {
    double energy = 0.0;      // keV
    double rate = 0.0;        // detected events/s
    double doppler_eV = 0.0;  // FWHM of the Compton profile's broadening, eV (Rayleigh 0)
};

struct Figures {
    double icr = 0.0;        // input count rate, counts/s
    double ocr = 0.0;        // output count rate, counts/s
    double dead_time = 0.0;  // 1 - OCR / ICR
    // S and B are counted in one window centred on the target line, of
    // Setup::count_window_fwhm times the FWHM at target_energy.
    double target = 0.0;      // S: the target line's full-energy peak inside the window, counts/s
    double background = 0.0;  // B: everything else inside the window, counts/s
    double time_per_point = 0.0;   // s for 1e-3 relative noise on the edge step
    double self_absorption = 0.0;  // damping of the EXAFS amplitude, 0..1
    double target_energy = 0.0;    // rate-weighted energy of the target line(s), keV
    double window_width = 0.0;     // width of the window S and B are counted in, keV
    double window_share = 0.0;     // of the target line's full-energy peak inside it, 0..1
    // ICR x dead time. The paralysable output rate is highest at ICR = 1 / tau; past
    // it (overload > 1) more photons give fewer counts: the detector is paralysed.
    double overload = 0.0;
    double flux_on_sample = 0.0;  // photons/s past the beam's filters
    // S / B from the rates reaching the detector, which does not vanish with the
    // output rate (0 without a background).
    double signal_to_background = 0.0;
    bool paralysed() const { return overload > 1.0; }
    // What reaches the crystal of the target line's photons, at target_energy: the
    // solid angle as a fraction of 4 pi, the air, the filters with the beryllium
    // window, and the crystal's efficiency (the spectrum's calculation only; the
    // figures alone leave them 0).
    double solid_angle_fraction = 0.0;
    double air = 0.0;
    double filters_and_window = 0.0;
    double crystal = 0.0;
    double detection() const { return solid_angle_fraction * air * filters_and_window * crystal; }
};

// One part of B: what one peak, or the shelves of all peaks together, put into the
// counting window. Sources are an index into Result::lines, or kRayleigh or kCompton.
struct BackgroundPart {
    enum class Kind { peak, escape, pileup, shelf };
    static constexpr int kRayleigh = -1, kCompton = -2;
    Kind kind = Kind::peak;
    int source = 0;
    int partner = 0;      // the second source of a pile-up peak
    double energy = 0.0;  // keV of the peak; the shelves: 0
    double rate = 0.0;    // counts/s at the output rate inside the window
    double share = 0.0;   // of B, which holds past the highest output rate too
};

// The eight layers of the plot, in counts/s per channel at the output rate.
struct Layers {
    Channels total{};    // everything the detector records, escape and pile-up peaks included
    Channels target{};   // the target element's lines
    Channels line{};     // the counted target line(s)
    Channels mark{};     // the marked element's lines
    Channels argon{};    // argon of the air (not modelled: stays empty)
    Channels elastic{};  // Rayleigh and Compton scatter
    Channels escape{};   // escape peaks of the crystal
    Channels pileup{};   // pile-up peaks
};

struct Result {
    bool ok = false;
    std::string reason;  // why there is no spectrum, for the user
    std::vector<LineRate> lines;
    ScatterRate rayleigh, compton;
    Figures figures;
    // Every part of B, strongest first: the full-energy peak of each line but the
    // counted ones and of each scatter peak, each escape and pile-up peak (the counted
    // lines' own too), and the shelves of every peak as one part. B is their sum.
    std::vector<BackgroundPart> background_parts;
    Layers layers;
    double target_share = 0.0;  // per cent of all detected counts, scatter included
    // What the user should know of the setup that is no refusal ("Bulk sample: the
    // layer behind it has no effect."), or "".
    std::string note;
};

}  // namespace lumetra::physics
