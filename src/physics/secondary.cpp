// Secondary fluorescence: the lines one element of the sample emits are absorbed in
// the sample and excite the shells of another element, which then emits its own lines.
//
// Mass depths z (where the beam is absorbed and line k of element i is born) and z'
// (where k is absorbed and line L of element j is born), g/cm2, 0 <= z, z' <= t
// (t = rho t of a film, infinite for bulk). Per incident photon:
//  - k is born in dz with w_i sigma_k(E0) exp(-a z) dz / sin psi_in, a = mu(E0) / sin psi_in;
//  - a photon of k born isotropically at z is absorbed in the layer dz' at the distance
//    u = |z - z'| with (1/2) int_0^1 mu_k exp(-mu_k u / x) dx / x dz' = (mu_k / 2) E1(mu_k u) dz'
//    (x = cos theta of its direction to the normal, mu_k = mu(E_k));
//  - of the k photons absorbed there, w_j sigma_L(E_k) / mu_k give a photon of L, where
//    sigma_L(E) = CS_FluorLine_Kissel_Cascade(Z_j, L, E), cm2/g (shell, yield and cascade
//    included, as in the primary part);
//  - L reaches the crystal with (Omega / 4 pi) exp(-b z') T(E_L), b = mu(E_L) / sin psi_out.
// mu_k cancels, and
//   S_L = Phi (Omega / 4 pi) T(E_L) w_j / (2 sin psi_in) sum_k w_i sigma_k(E0) sigma_L(E_k) I,
//   I(a, b, mu_k) = int_0^t int_0^t exp(-a z - b z') E1(mu_k |z - z'|) dz dz',  (g/cm2)^2.
// Only lines of other elements (other Z) excite: self-excitation is left out. K, L1..L3
// and M1..M5 shells all take part, through sigma_L.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "common/constants.h"
#include "physics/fluorescence.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

using common::kPi;

// Gauss-Legendre, 4 nodes on [-1, 1].
constexpr std::array<double, 4> kNode = {-0.8611363115940526, -0.3399810435848563,
                                         0.3399810435848563, 0.8611363115940526};
constexpr std::array<double, 4> kWeight = {0.3478548451374538, 0.6521451548625461,
                                           0.6521451548625461, 0.3478548451374538};
constexpr double kPanel = 4.0;       // width of one panel in ln cos theta
constexpr double kTailShare = 1e-2;  // cos theta below which the film counts as deep
constexpr double kLowestLog = -200.0;

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

// ln(1 + x) / x, 1 at x -> 0.
double log1p_over(double x) {
    return x < 1e-12 ? 1.0 - 0.5 * x : std::log1p(x) / x;
}

// F(x) = int_0^t exp(-x z) dz = (1 - exp(-x t)) / x, g/cm2; t at x -> 0.
double slab(double x, double t) {
    const double xt = x * t;
    return xt < 1e-12 ? t : -std::expm1(-xt) / x;
}

// G = int_0^t exp(-p z - q (t - z)) dz = (exp(-p t) - exp(-q t)) / d, d = q - p, g/cm2;
// exp(-p t) t (1 - d t / 2 + (d t)^2 / 6) where the difference would cancel.
double crossing(double e_pt, double e_qt, double d, double t) {
    const double dt = d * t;
    if (std::fabs(dt) < 1e-3) return e_pt * t * (1.0 - dt / 2.0 + dt * dt / 6.0);
    return (e_pt - e_qt) / d;
}

// One direction node of a film: c = mu_k / cos theta (cm2/g), its weight, exp(-c t).
struct Node {
    double c = 0.0, weight = 0.0, e_ct = 0.0;
};

// An exciting line k, with what depends on it alone: production w_i sigma_k(E0) (cm2/g),
// mu_k (cm2/g), ln(1 + a / mu_k) / (a / mu_k), and for a film the direction nodes, the
// cos theta v0 the tail starts at and ln(1 + a v0 / mu_k) / (a v0 / mu_k).
struct Source {
    std::size_t line = 0;  // index into the lines
    int Z = 0;
    double E = 0.0, production = 0.0, mu = 0.0, bulk_a = 0.0;
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
        for (std::size_t n = 0; n < kNode.size(); ++n) {
            const double c = k.mu * std::exp(-y0 - (i + 0.5 + 0.5 * kNode[n]) * h);
            k.nodes.push_back({c, 0.5 * h * kWeight[n], std::exp(-c * t)});
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

// Bulk: F = 1 / (a + b), G = 0, and int_1^inf ds / (s (mu s + a)) = ln(1 + a / mu) / a give
// I = [ln(1 + a / mu_k) / a + ln(1 + b / mu_k) / b] / (a + b).
double bulk_integral(const Source& k, double a, double b) {
    return (k.bulk_a + log1p_over(b / k.mu)) / (k.mu * (a + b));
}

// The lines of one element that leave one shell. A vacancy in the shell gives each of
// them with a fixed probability however it was made, so sigma_L(E) = sigma_L(E0) x
// sigma_ref(E) / sigma_ref(E0) for any reference line of the shell: one library call per
// source serves them all. excitation[k] = sigma_ref(E_k) / sigma_ref(E0), 0 below the edge.
// A line code of no known shell is a group of its own.
struct Shell {
    int element = 0, shell = -1, line = 0;
    double sigma0 = 0.0, edge = 0.0;
    std::vector<double> excitation;
};

bool belongs(const LineRate& line, const Sample& sample) {
    return line.element >= 0 && line.element < sample.size() && sample.Z(line.element) == line.Z &&
           positive(sample.w(line.element)) && positive(line.energy);
}

std::vector<Source> sources_of(const std::vector<LineRate>& lines, const Sample& sample,
                               double E0) {
    std::vector<Source> sources;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineRate& k = lines[i];
        if (!belongs(k, sample)) continue;
        const double production = sample.w(k.element) * sample.cs_fluor_line(k.Z, k.line, E0);
        if (positive(production)) {
            Source s;
            s.line = i, s.Z = k.Z, s.E = k.energy, s.production = production;
            sources.push_back(s);
        }
    }
    // Exciting lines below 1e-7 of the strongest one add less than the model's own
    // accuracy to any secondary rate; passing them over keeps a many-element sample fast.
    double strongest = 0.0;
    for (const Source& s : sources) strongest = std::max(strongest, s.production);
    sources.erase(std::remove_if(sources.begin(), sources.end(),
                                 [&](const Source& s) { return s.production < 1e-7 * strongest; }),
                  sources.end());
    return sources;
}

// The shell group of a line (an index into shells), made on first sight with the line as
// reference; -1 when the line has no cross-section at E0.
int shell_for(const LineRate& L, double E0, const Sample& sample, std::vector<Shell>& shells) {
    const int shell = xrl::line_shell(L.line);  // -1 for a code of no known shell
    for (std::size_t g = 0; g < shells.size(); ++g) {
        const Shell& s = shells[g];
        if (s.element == L.element && s.shell == shell && (shell >= 0 || s.line == L.line))
            return static_cast<int>(g);
    }
    const double sigma0 = sample.cs_fluor_line(L.Z, L.line, E0);
    if (!positive(sigma0)) return -1;
    const double edge = shell >= 0 ? xrl::edge_energy(L.Z, shell) : 0.0;
    shells.push_back({L.element, shell, L.line, sigma0, edge, {}});
    return static_cast<int>(shells.size()) - 1;
}

void excite(Shell& s, int Z, const Sample& sample, std::vector<Source>& sources) {
    s.excitation.assign(sources.size(), 0.0);
    for (std::size_t k = 0; k < sources.size(); ++k) {
        if (sources[k].Z == Z || sources[k].E <= s.edge) continue;
        const double ratio = sample.cs_fluor_line(Z, s.line, sources[k].E) / s.sigma0;
        if (positive(ratio)) s.excitation[k] = ratio, sources[k].used = true;
    }
}

}  // namespace

// S_L as above for every line; bulk I in closed form, a film's by the direction nodes.
// Anything without a defined value (no flux, no attenuation at E0, E_k or E_L, a film of
// no thickness, a line that names no element of the sample or has no cross-section at
// E0) adds 0.
void add_secondary(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                   const DetectorPath& path) {
    const double scale = setup.flux * path.omega() / (4.0 * kPi) / (2.0 * sample.sin_in());
    const double t = sample.areal_density();
    const double a = sample.mu(setup.E0) / sample.sin_in();
    if (!positive(scale) || !positive(a) || (sample.film() && !positive(t))) return;

    std::vector<Source> sources = sources_of(lines, sample, setup.E0);
    std::vector<Shell> shells;
    std::vector<int> group(lines.size(), -1);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (belongs(lines[i], sample)) group[i] = shell_for(lines[i], setup.E0, sample, shells);
    for (Shell& s : shells) excite(s, sample.Z(s.element), sample, sources);

    std::vector<double> mu(lines.size(), -1.0);  // mu(E) of each line, once asked
    auto mu_of = [&](std::size_t i) {
        if (mu[i] < 0.0) mu[i] = sample.mu(lines[i].energy);
        return mu[i];
    };
    for (Source& k : sources) {
        k.used = k.used && positive(mu_of(k.line));
        if (!k.used) continue;
        k.mu = mu_of(k.line);
        k.bulk_a = log1p_over(a / k.mu);
        if (sample.film()) place_nodes(k, a, t);
    }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (group[i] < 0) continue;
        const Shell& shell = shells[group[i]];
        Exit x;
        double sum = 0.0;  // sum_k w_i sigma_k(E0) sigma_ref(E_k) / sigma_ref(E0) I, cm2/g
        for (std::size_t k = 0; k < sources.size(); ++k) {
            const Source& s = sources[k];
            if (!s.used || !(shell.excitation[k] > 0.0)) continue;
            if (x.b == 0.0) x = exit_of(mu_of(i) / sample.sin_out(), a, t);
            if (!positive(x.b)) break;
            const double I = sample.film() ? film_integral(s, x, a, t) : bulk_integral(s, a, x.b);
            sum += s.production * shell.excitation[k] * I;
        }
        if (!positive(sum)) continue;
        LineRate& L = lines[i];
        const double sigma0 = sample.cs_fluor_line(L.Z, L.line, setup.E0);
        const double S = scale * sample.w(L.element) * sigma0 * path.T(L.energy) * sum;
        if (positive(S)) L.secondary += S;
    }
}

}  // namespace lumetra::physics
