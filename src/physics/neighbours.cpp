#include "physics/neighbours.h"

#include <algorithm>
#include <cmath>

#include "physics/response.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

constexpr double kFwhmPerSigma = 2.3548200450309493;

// Share of a Gaussian of centre c and width sigma between lo and hi.
double inside(double c, double sigma, double lo, double hi) {
    if (!(sigma > 0.0)) return c >= lo && c <= hi ? 1.0 : 0.0;
    const double s = sigma * 1.4142135623730951;
    return 0.5 * (std::erf((hi - c) / s) - std::erf((lo - c) / s));
}

}  // namespace

std::string line_label(int line) {
    struct Known {
        int line;
        const char* label;
    };
    static constexpr Known kKnown[] = {
        {-3, "K-alpha 1"},  {-2, "K-alpha 2"},   {-6, "K-beta 1"},    {-5, "K-beta 3"},
        {-90, "L-alpha 1"}, {-89, "L-alpha 2"},  {-63, "L-beta 1"},   {-95, "L-beta 2"},
        {-34, "L-beta 3"},  {-33, "L-beta 4"},   {-60, "L-eta"},      {-86, "L-l"},
        {-68, "L-gamma 1"}, {-207, "M-alpha 1"}, {-206, "M-alpha 2"}, {-187, "M-beta"}};
    for (const Known& k : kKnown)
        if (k.line == line) return k.label;
    return xrl::line_name(line);
}

std::vector<Neighbour> neighbours(const Setup& setup, const Result& result, int n) {
    std::vector<Neighbour> found;
    const Figures& f = result.figures;
    if (!result.ok || !(f.target_energy > 0.0) || !(f.icr > 0.0) || n <= 0) return found;
    const Response response(setup.detector);
    const double half = response.fwhm(f.target_energy);
    const double lo = f.target_energy - half, hi = f.target_energy + half;
    const double g = f.ocr / f.icr;  // output per input event

    auto add = [&](const std::string& name, double E, double rate, double extra_fwhm) {
        // The peak, then each of its escapes, lose nothing to the shelf here: the
        // list orders contributions, it does not count them.
        const double fw = std::hypot(response.fwhm(E), extra_fwhm);
        const double r = rate * g * inside(E, fw / kFwhmPerSigma, lo, hi);
        if (r > 0.0) found.push_back({name, E, r});
        for (const Escape& e : response.escapes(E)) {
            const double Ee = E - e.energy;
            const double re =
                rate * e.fraction * g *
                inside(Ee, std::hypot(response.fwhm(Ee), extra_fwhm) / kFwhmPerSigma, lo, hi);
            if (re > 0.0) found.push_back({name + " escape", Ee, re});
        }
    };
    for (const LineRate& l : result.lines) {
        const bool counted =
            l.element == 0 && std::find(setup.target_lines.begin(), setup.target_lines.end(),
                                        l.line) != setup.target_lines.end();
        const std::string name = xrl::symbol(l.Z) + " " + line_label(l.line);
        if (counted) {  // its escapes may still fall near, not the peak itself
            for (const Escape& e : response.escapes(l.energy)) {
                const double Ee = l.energy - e.energy;
                const double re = l.total() * e.fraction * g *
                                  inside(Ee, response.fwhm(Ee) / kFwhmPerSigma, lo, hi);
                if (re > 0.0) found.push_back({name + " escape", Ee, re});
            }
            continue;
        }
        add(name, l.energy, l.total(), 0.0);
    }
    add("Rayleigh", result.rayleigh.energy, result.rayleigh.rate, 0.0);
    add("Compton", result.compton.energy, result.compton.rate, result.compton.doppler_eV * 1e-3);
    std::sort(found.begin(), found.end(),
              [](const Neighbour& a, const Neighbour& b) { return a.rate > b.rate; });
    if (found.size() > static_cast<std::size_t>(n)) found.resize(static_cast<std::size_t>(n));
    return found;
}

}  // namespace lumetra::physics
