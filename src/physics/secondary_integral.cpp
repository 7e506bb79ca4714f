// The depth and direction integral of fluorescence excited by photons born inside one layer
// (see secondary_integral.h), and the shell groups of the lines it excites.

#include "physics/secondary_integral.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/constants.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

using common::kPi;

constexpr double kPanel = 4.0;       // width of one panel in ln cos theta
constexpr double kTailShare = 1e-2;  // cos theta below which the film counts as deep
constexpr double kLowestLog = -200.0;

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

// One direction node of a film: c = mu_k / cos theta (cm2/g), its weight, exp(-c t).
struct Node {
    double c = 0.0, weight = 0.0, e_ct = 0.0;
};

// An emitter with what depends on it alone: mu_k (cm2/g), ln(1 + a / mu_k) / (a / mu_k),
// and for a film the direction nodes, the cos theta v0 the tail starts at and
// ln(1 + a v0 / mu_k) / (a v0 / mu_k).
struct Source {
    Emitter emitter;
    double mu = 0.0, bulk_a = 0.0;
    std::vector<Node> nodes;
    double v0 = 0.0, tail_a = 0.0;
    bool used = false;
};

// What depends on the excited line alone: b = mu(E_L) / sin psi_out, and for a film
// F(a + b), exp(-(a + b) t), exp(-a t), exp(-b t).
struct Exit {
    double b = 0.0, F = 0.0, e_pt = 0.0, e_at = 0.0, e_bt = 0.0;
};

// Film: E1(mu u) = int_1^inf exp(-mu u s) ds / s with s = 1 / cos theta = exp(-y) gives
// I = int_-inf^0 J(mu_k exp(-y)) dy, with the depth integrals at one direction
// J(c) = int int exp(-a z - b z' - c |z - z'|) dz dz'
//      = [F(a + b) - G(a + b, b + c)] / (b + c) + [F(a + b) - G(a + b, a + c)] / (a + c)
// (z' > z: k going deeper; z' < z: k going up). 4-node Gauss-Legendre panels of width 4 in
// y reach down to cos theta = v0 = 0.01 min(1, mu_k t) (better than 1e-4 for mu_k t from
// 1e-9 to 1e2). Below v0 the k photons run nearly along the film and are absorbed close
// to where they are born (c t > 100): J = F(a + b) [1 / (b + c) + 1 / (a + c)] there, whose
// integral is F(a + b) (v0 / mu_k) [ln(1 + a v0 / mu_k) / (a v0 / mu_k) + the same for b].
void place_nodes(Source& k, double a, double t) {
    k.v0 = kTailShare * std::min(1.0, k.mu * t);
    const double y0 = std::max(std::log(k.v0), kLowestLog);
    k.v0 = std::exp(y0);
    k.tail_a = log1p_over(a * k.v0 / k.mu);
    const int panels = static_cast<int>(std::ceil(-y0 / kPanel));
    const double h = -y0 / panels;
    for (int i = 0; i < panels; ++i) {
        for (std::size_t n = 0; n < kGaussNode.size(); ++n) {
            const double c = k.mu * std::exp(-y0 - (i + 0.5 + 0.5 * kGaussNode[n]) * h);
            k.nodes.push_back({c, 0.5 * h * kGaussWeight[n], std::exp(-c * t)});
        }
    }
}

Exit exit_of(double b, double a, double t) {
    if (!positive(b)) return {-1.0, 0.0, 0.0, 0.0, 0.0};
    return {b, slab(a + b, t), std::exp(-(a + b) * t), std::exp(-a * t), std::exp(-b * t)};
}

double film_integral(const Source& k, const Exit& x, double a, double t) {
    const double b = x.b;
    double sum = 0.0;
    for (const Node& n : k.nodes) {
        const double deeper = crossing(x.e_pt, x.e_bt * n.e_ct, n.c - a, t);  // G(a+b, b+c)
        const double higher = crossing(x.e_pt, x.e_at * n.e_ct, n.c - b, t);  // G(a+b, a+c)
        sum += n.weight *
               (std::max(0.0, x.F - deeper) / (b + n.c) + std::max(0.0, x.F - higher) / (a + n.c));
    }
    return sum + x.F * k.v0 / k.mu * (k.tail_a + log1p_over(b * k.v0 / k.mu));
}

bool pairs(Pairing pairing, int emitter_Z, int line_Z) {
    switch (pairing) {
        case Pairing::other_elements:
            return emitter_Z != line_Z;
        case Pairing::same_element:
            return emitter_Z == line_Z;
        case Pairing::any:
            return true;
    }
    return false;
}

}  // namespace

double slab(double x, double t) {
    const double xt = x * t;
    return xt < 1e-12 ? t : -std::expm1(-xt) / x;
}

double crossing(double e_pt, double e_qt, double d, double t) {
    const double dt = d * t;
    if (std::fabs(dt) < 1e-3) return e_pt * t * (1.0 - dt / 2.0 + dt * dt / 6.0);
    return (e_pt - e_qt) / d;
}

double log1p_over(double x) {
    return x < 1e-12 ? 1.0 - 0.5 * x : std::log1p(x) / x;
}

bool belongs(const LineRate& line, const Sample& sample) {
    return line.element >= 0 && line.element < sample.size() && sample.Z(line.element) == line.Z &&
           positive(sample.w(line.element)) && positive(line.energy);
}

ShellGroups::ShellGroups(const std::vector<LineRate>& lines, const Sample& sample, double E0)
    : sample_(sample), group_(lines.size(), -1) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (belongs(lines[i], sample)) group_[i] = group_for(lines[i], E0);
}

// The group of a line, made on first sight with the line as reference; -1 when the line
// has no cross-section at E0.
int ShellGroups::group_for(const LineRate& L, double E0) {
    const int shell = xrl::line_shell(L.line);  // -1 for a code of no known shell
    for (std::size_t g = 0; g < shells_.size(); ++g) {
        const Shell& s = shells_[g];
        if (s.element == L.element && s.shell == shell && (shell >= 0 || s.line == L.line))
            return static_cast<int>(g);
    }
    const double sigma0 = sample_.cs_fluor_line(L.Z, L.line, E0);
    if (!positive(sigma0)) return -1;
    const double edge = shell >= 0 ? xrl::edge_energy(L.Z, shell) : 0.0;
    shells_.push_back({L.element, L.Z, shell, L.line, sigma0, edge});
    return static_cast<int>(shells_.size()) - 1;
}

double ShellGroups::ratio(int g, double E) const {
    const Shell& s = shells_[g];
    if (!(E > s.edge)) return 0.0;
    const double r = sample_.cs_fluor_line(s.Z, s.line, E) / s.sigma0;
    return positive(r) ? r : 0.0;
}

std::vector<Emitter> primary_emitters(const std::vector<LineRate>& lines, const Sample& sample,
                                      double E0) {
    std::vector<Emitter> out;
    for (const LineRate& k : lines) {
        if (!belongs(k, sample)) continue;
        const double production = sample.w(k.element) * sample.cs_fluor_line(k.Z, k.line, E0);
        if (positive(production)) out.push_back({k.Z, k.energy, production});
    }
    double strongest = 0.0;
    for (const Emitter& e : out) strongest = std::max(strongest, e.production);
    out.erase(std::remove_if(out.begin(), out.end(),
                             [&](const Emitter& e) { return e.production < 1e-7 * strongest; }),
              out.end());
    return out;
}

void add_excited(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                 const DetectorPath& path, const std::vector<Emitter>& emitters, Pairing pairing,
                 double LineRate::*into) {
    const double scale = setup.flux * path.omega() / (4.0 * kPi) / (2.0 * sample.sin_in());
    const double t = sample.areal_density();
    const double a = sample.mu(setup.E0) / sample.sin_in();
    if (!positive(scale) || !positive(a) || (sample.film() && !positive(t))) return;
    if (emitters.empty()) return;

    std::vector<Source> sources;
    for (const Emitter& e : emitters)
        if (positive(e.production) && positive(e.E)) sources.push_back({e, 0.0, 0.0, {}, 0, 0, 0});
    const ShellGroups shells(lines, sample, setup.E0);
    // excitation[i][k] = sigma_ref(E_k) / sigma_ref(E0) of line i's shell, 0 where k does not
    // excite it; filled once per shell group.
    std::vector<std::vector<double>> excitation;
    std::vector<int> filled;
    std::vector<int> row(lines.size(), -1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int g = shells.of(i);
        if (g < 0) continue;
        const auto at = std::find(filled.begin(), filled.end(), g);
        if (at != filled.end()) {
            row[i] = static_cast<int>(at - filled.begin());
            continue;
        }
        std::vector<double> r(sources.size(), 0.0);
        for (std::size_t k = 0; k < sources.size(); ++k) {
            if (!pairs(pairing, sources[k].emitter.Z, shells.Z(g))) continue;
            r[k] = shells.ratio(g, sources[k].emitter.E);
            if (r[k] > 0.0) sources[k].used = true;
        }
        filled.push_back(g);
        excitation.push_back(std::move(r));
        row[i] = static_cast<int>(excitation.size()) - 1;
    }
    for (Source& k : sources) {
        if (!k.used) continue;
        k.mu = sample.mu(k.emitter.E);
        k.used = positive(k.mu);
        if (!k.used) continue;
        k.bulk_a = log1p_over(a / k.mu);
        if (sample.film()) place_nodes(k, a, t);
    }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (row[i] < 0) continue;
        const std::vector<double>& ratio = excitation[row[i]];
        Exit x;
        double sum = 0.0;  // sum_k p_k sigma_ref(E_k) / sigma_ref(E0) I, cm2/g
        for (std::size_t k = 0; k < sources.size(); ++k) {
            const Source& s = sources[k];
            if (!s.used || !(ratio[k] > 0.0)) continue;
            if (x.b == 0.0) x = exit_of(sample.mu(lines[i].energy) / sample.sin_out(), a, t);
            if (!positive(x.b)) break;
            const double I =
                sample.film() ? film_integral(s, x, a, t) : bulk_pair(s.bulk_a, a, x.b, s.mu);
            sum += s.emitter.production * ratio[k] * I;
        }
        if (!positive(sum)) continue;
        LineRate& L = lines[i];
        const double sigma0 = sample.cs_fluor_line(L.Z, L.line, setup.E0);
        const double S = scale * sample.w(L.element) * sigma0 * path.T(L.energy) * sum;
        if (positive(S)) L.*into += S;
    }
}

}  // namespace lumetra::physics
