// Tertiary fluorescence within one layer (a film thinner than 30 attenuation lengths:
// tertiary_film.h): primary line k of element i, absorbed in the sample, excites line m of element
// l (the secondary fluorescence of m), and the m photons, absorbed in turn, excite line L of
// element j (in stainless steel Ni K -> Fe K -> Cr K).
//
// With K(p, mu, z') = (1/2) int_0^inf exp(-p z) E1(mu |z - z'|) dz, (g/cm2)^2 per g/cm2, the
// chain gives per incident photon (secondary_integral.h for the single step)
//   T_L = (Omega / 4 pi) T(E_L) / sin psi_in w_j sigma_L(E0)
//         sum_m e_L(E_m) sum_k p_k c_mk int_0^inf K(a, mu_k, z') K(b, mu_m, z') dz',
// p_k = w_i sigma_k(E0), c_mk = w_l sigma_m(E_k), e_L(E) = sigma_L(E) / sigma_L(E0).
// The second K, written over the directions of the m photons (c = mu_m / cos theta,
// s = 1 / cos theta = exp(-y)), is
//   K(b, mu_m, z') = (1/2) int_-inf^0 D(c, z') dy,
//   D(c, z') = (exp(-b z') - exp(-c z')) / (c - b) + exp(-b z') / (b + c),
// and int_0^inf K(a, mu_k, z') exp(-q z') dz' = I(a, q, mu_k) / 2 in closed form, so with the
// secondary emission of m seen through exp(-q z'), Q_m(q) = sum_k p_k c_mk I(a, q, mu_k):
//   sum_k p_k c_mk int K K dz' = (1/4) int_-inf^0 [(Q_m(b) - Q_m(c)) / (c - b) + Q_m(b) / (b + c)]
//   dy.
// One quadrature over y remains (better than 2e-4): 4-node Gauss-Legendre panels of width 4 to
// cos theta = v0 = exp(-12); below, c >> a, b and the bracket is 2 Q_m(b) / c, whose
// integral is 2 Q_m(b) v0 / mu_m. Q_m at the nodes depends on m alone and is reused for
// every excited line, and ln(1 + b / mu_k) on L alone, reused for every m. Each step pairs
// different elements, as secondary fluorescence does.

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "common/constants.h"
#include "physics/orders.h"
#include "physics/secondary_integral.h"
#include "physics/tertiary_film.h"

namespace lumetra::physics {
namespace {

using common::kPi;

constexpr double kDeepestLog = -12.0;  // ln v0
constexpr int kPanels = 3;
constexpr int kDirections = kPanels * static_cast<int>(kGaussNode.size());
constexpr double kNear = 1e-3;  // |c - b| / b below which the difference is a derivative
// What is passed over, the tertiary part being itself a few per cent of the secondary one:
// primary and secondary lines making less than this share of the strongest primary line's
// production,
constexpr double kWeakest = 1e-4;
// the weakest sources of a secondary line, up to this share of what it makes,
constexpr double kTermShare = 1e-2;
// and a chain whose bound is below this share of the excited line's primary rate.
constexpr double kLeast = 1e-5;
// Lines below this share of the brightest primary rate get no tertiary part: it would be
// below 1e-7 of that line.
constexpr double kFaintest = 1e-6;
constexpr double kThick = 30.0;  // attenuation lengths of a film that counts as bulk

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

// A primary line as the first emitter: p_k, mu_k and ln(1 + a / mu_k) / (a / mu_k).
struct First {
    Emitter emitter;
    double mu = 0.0, bulk_a = 0.0;
};

// One term of Q_m: the first emitter k and p_k c_mk / mu_k, so that
// Q_m(q) = sum weight [ln(1 + a / mu_k) / (a / mu_k) + ln(1 + q / mu_k) / (q / mu_k)] / (a + q).
struct Term {
    std::size_t k = 0;
    double weight = 0.0;
    double made = 0.0;  // its share of the m photons made (see middles_of)
};

// A line m excited by the first emitters (the lines of one shell at one energy together):
// its shell group, the terms of Q_m, mu_m, and Q_m at the direction nodes
// c_n = mu_m / cos theta_n.
struct Middle {
    int Z = 0, group = -1;
    double E = 0.0, mu = 0.0, made = 0.0;
    std::vector<Term> terms;
    std::array<double, kDirections> c{}, Q{};
};

struct Directions {
    std::array<double, kDirections> s{}, weight{};  // s = 1 / cos theta
    Directions() {
        const double h = -kDeepestLog / kPanels;
        std::size_t i = 0;
        for (int p = 0; p < kPanels; ++p)
            for (std::size_t n = 0; n < kGaussNode.size(); ++n, ++i) {
                s[i] = std::exp(-kDeepestLog - (p + 0.5 + 0.5 * kGaussNode[n]) * h);
                weight[i] = 0.5 * h * kGaussWeight[n];
            }
    }
};

double Q(const Middle& m, const std::vector<First>& firsts, double a, double q) {
    double sum = 0.0;
    for (const Term& t : m.terms)
        sum += t.weight * (firsts[t.k].bulk_a + log1p_over(q / firsts[t.k].mu));
    return sum / (a + q);
}

// sum_k p_k c_mk int K(a, mu_k, z') K(b, mu_m, z') dz', (g/cm2)^2 cm2/g. at_b[k] is
// ln(1 + b / mu_k) / (b / mu_k) of every first emitter. The bracket at node n is
// (2 Q(b) c - Q(c) (b + c)) / (c^2 - b^2); within kNear of c = b, where it is 0 / 0, the
// difference quotient becomes the derivative of Q at b.
double chain(const Middle& m, const std::vector<First>& firsts, const std::vector<double>& at_b,
             const Directions& d, double a, double b) {
    double Qb = 0.0;
    for (const Term& t : m.terms) Qb += t.weight * (firsts[t.k].bulk_a + at_b[t.k]);
    Qb /= a + b;
    const double near = kNear * b;
    double sum = 0.0;
    for (int n = 0; n < kDirections; ++n) {
        const double c = m.c[n];
        const double term = d.weight[n] * (2.0 * Qb * c - m.Q[n] * (b + c)) / ((c - b) * (c + b));
        sum += std::fabs(c - b) >= near ? term : 0.0;
    }
    for (int n = 0; n < kDirections; ++n) {
        const double c = m.c[n];
        if (!(std::fabs(c - b) < near)) continue;
        const double slope = (Q(m, firsts, a, b - near) - Q(m, firsts, a, b + near)) / (2.0 * near);
        sum += d.weight[n] * (slope + Qb / (b + c));
    }
    return 0.25 * (sum + 2.0 * Qb * std::exp(kDeepestLog) / m.mu);
}

std::vector<Middle> middles_of(const std::vector<LineRate>& lines, const Sample& sample,
                               const ShellGroups& shells, const std::vector<First>& firsts,
                               double weakest, double E0) {
    std::vector<Middle> out;
    std::vector<double> own;  // w_l sigma_m(E0) of each middle, summed over its lines
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int g = shells.of(i);
        if (g < 0) continue;
        const LineRate& l = lines[i];
        const double w_sigma = sample.w(l.element) * sample.cs_fluor_line(l.Z, l.line, E0);
        if (!positive(w_sigma)) continue;
        auto same = std::find_if(out.begin(), out.end(),
                                 [&](const Middle& m) { return m.group == g && m.E == l.energy; });
        if (same != out.end()) {
            own[same - out.begin()] += w_sigma;
            continue;
        }
        Middle m;
        m.Z = l.Z, m.group = g, m.E = l.energy, m.mu = sample.mu(l.energy);
        if (!positive(m.mu)) continue;
        out.push_back(std::move(m));
        own.push_back(w_sigma);
    }
    std::vector<Middle> kept;
    std::vector<std::vector<double>> ratios;  // of each shell group, asked once
    for (std::size_t i = 0; i < out.size(); ++i) {
        Middle& m = out[i];
        // The m photons made per incident photon, as a production like the primary lines':
        // sum_k p_k c_mk a int K(a, mu_k, z) dz = sum_k p_k c_mk (ln(1 + a / mu_k) / a + 1 / mu_k)
        // / 2.
        if (m.group >= static_cast<int>(ratios.size())) ratios.resize(m.group + 1);
        std::vector<double>& ratio = ratios[m.group];  // sigma_ref(E_k) / sigma_ref(E0)
        if (ratio.empty()) {
            ratio.assign(firsts.size(), 0.0);
            for (std::size_t k = 0; k < firsts.size(); ++k)
                if (firsts[k].emitter.Z != m.Z)
                    ratio[k] = shells.ratio(m.group, firsts[k].emitter.E);
        }
        double made = 0.0;
        for (std::size_t k = 0; k < firsts.size(); ++k) {
            const double r = ratio[k];
            if (!(r > 0.0)) continue;
            const double pc = firsts[k].emitter.production * own[i] * r;
            m.terms.push_back(
                {k, pc / firsts[k].mu, 0.5 * pc * (firsts[k].bulk_a + 1.0) / firsts[k].mu});
            made += m.terms.back().made;
        }
        if (!(made >= weakest)) continue;
        std::sort(m.terms.begin(), m.terms.end(),
                  [](const Term& x, const Term& y) { return x.made < y.made; });
        double dropped = 0.0;
        std::size_t first = 0;
        while (first < m.terms.size() && dropped + m.terms[first].made < kTermShare * made)
            dropped += m.terms[first++].made;
        m.terms.erase(m.terms.begin(), m.terms.begin() + static_cast<std::ptrdiff_t>(first));
        m.made = made;
        kept.push_back(std::move(m));
    }
    return kept;
}

// Whether a film is thick enough to count as bulk for the chains: the beam, every first
// emitter and every secondary line absorbed within 1 / kThick of its depth, so that what
// would lie below it adds less than exp(-kThick) to any chain.
bool thick(const Sample& sample, double a, const std::vector<First>& firsts,
           const std::vector<Middle>& middles) {
    double least = a;
    for (const First& f : firsts) least = std::min(least, f.mu);
    for (const Middle& m : middles) least = std::min(least, m.mu);
    return least * sample.areal_density() > kThick;
}

std::vector<double> film_firsts(const std::vector<First>& firsts) {
    std::vector<double> mu;
    for (const First& f : firsts) mu.push_back(f.mu);
    return mu;
}

std::vector<FilmChains::Middle> film_middles(const std::vector<First>& firsts,
                                             const std::vector<Middle>& middles) {
    std::vector<FilmChains::Middle> out;
    for (const Middle& m : middles) {
        FilmChains::Middle f{m.mu, {}};
        for (const Term& t : m.terms) f.sources.emplace_back(t.k, t.weight * firsts[t.k].mu);
        out.push_back(std::move(f));
    }
    return out;
}

}  // namespace

void add_tertiary(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                  const DetectorPath& path) {
    const double scale = setup.flux * path.omega() / (4.0 * kPi * sample.sin_in());
    const double a = sample.mu(setup.E0) / sample.sin_in();
    if (!positive(scale) || !positive(a)) return;

    const std::vector<Emitter> emitters = primary_emitters(lines, sample, setup.E0);
    double strongest = 0.0;
    for (const Emitter& e : emitters) strongest = std::max(strongest, e.production);
    const double weakest = kWeakest * strongest;
    // Lines of one element at one energy (K-beta 1 and 3, ...) are one emitter.
    std::vector<First> firsts;
    for (const Emitter& e : emitters) {
        if (!(e.production >= weakest)) continue;
        auto same = std::find_if(firsts.begin(), firsts.end(), [&](const First& f) {
            return f.emitter.Z == e.Z && f.emitter.E == e.E;
        });
        if (same != firsts.end()) {
            same->emitter.production += e.production;
            continue;
        }
        const double mu = sample.mu(e.E);
        if (positive(mu)) firsts.push_back({e, mu, log1p_over(a / mu)});
    }
    const ShellGroups shells(lines, sample, setup.E0);
    std::vector<Middle> middles = middles_of(lines, sample, shells, firsts, weakest, setup.E0);
    if (middles.empty()) return;
    const Directions d;
    std::optional<FilmChains> film;
    if (sample.film() && !thick(sample, a, firsts, middles)) {
        film.emplace(a, sample.areal_density(), film_firsts(firsts), film_middles(firsts, middles));
    } else {
        for (Middle& m : middles)
            for (int n = 0; n < kDirections; ++n) {
                m.c[n] = m.mu * d.s[n];
                m.Q[n] = Q(m, firsts, a, m.c[n]);
            }
    }

    // e_L(E_m) of each shell group and middle, asked once per group.
    std::vector<std::vector<double>> excitation;
    std::vector<int> row_of;
    std::vector<double> at_b(firsts.size());
    std::vector<bool> needed(firsts.size(), false);  // the first emitters of some term
    for (const Middle& m : middles)
        for (const Term& t : m.terms) needed[t.k] = true;
    double brightest = 0.0;
    for (const LineRate& l : lines) brightest = std::max(brightest, l.primary);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int g = shells.of(i);
        if (g < 0 || !(lines[i].primary >= kFaintest * brightest)) continue;
        if (g >= static_cast<int>(row_of.size())) row_of.resize(g + 1, -1);
        if (row_of[g] < 0) {
            std::vector<double> e(middles.size(), 0.0);
            for (std::size_t n = 0; n < middles.size(); ++n)
                if (middles[n].Z != shells.Z(g)) e[n] = shells.ratio(g, middles[n].E);
            row_of[g] = static_cast<int>(excitation.size());
            excitation.push_back(std::move(e));
        }
        const std::vector<double>& e_of = excitation[row_of[g]];
        LineRate& L = lines[i];
        const double b = sample.mu(L.energy) / sample.sin_out();
        if (!positive(b)) continue;
        bool filled = false;
        double sum = 0.0;  // sum_m e_L(E_m) sum_k p_k c_mk int K K, cm2/g
        for (std::size_t n = 0; n < middles.size(); ++n) {
            const Middle& m = middles[n];
            const double e = e_of[n];
            // K(b, mu_m, z') <= 1 / mu_m bounds the chain by made_m / (a mu_m), against the
            // line's primary rate 1 / (a + b) in the same units.
            if (!(e * m.made * (a + b) > kLeast * a * m.mu)) continue;
            if (!filled && film) film->exit(b);
            if (!filled && !film)
                for (std::size_t k = 0; k < firsts.size(); ++k)
                    if (needed[k]) at_b[k] = log1p_over(b / firsts[k].mu);
            filled = true;
            sum += e * (film ? film->chain(n) : chain(m, firsts, at_b, d, a, b));
        }
        if (!positive(sum)) continue;
        const double sigma0 = sample.cs_fluor_line(L.Z, L.line, setup.E0);
        const double T = scale * sample.w(L.element) * sigma0 * path.T(L.energy) * sum;
        if (positive(T)) L.tertiary += T;
    }
}

}  // namespace lumetra::physics
