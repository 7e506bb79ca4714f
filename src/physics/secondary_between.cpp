// Secondary fluorescence between two pieces A (where line k of element i is born) and B
// (where k is absorbed and line L of element j is born) of the stack. Mass depths z in
// A and z' in B from each piece's top, g/cm2, 0 <= z <= t_A, 0 <= z' <= t_B (a bulk
// sample's t infinite). Per incident photon reaching A's top:
//  - k is born in dz with w_i sigma_k(E0) exp(-a z) dz / sin psi_in, a = mu_A(E0) / sin psi_in;
//  - a photon of k born isotropically at z is absorbed in dz' of B with
//    (mu_B,k / 2) E1(tau) dz', tau the optical depth between the two points normal to the
//    surface at E_k: mu_A,k (t_A - z) + D + mu_B,k z' when B lies below A,
//    mu_A,k z + D + mu_B,k (t_B - z') when above, D = sum mu_q(E_k) rho t_q over the pieces
//    between them;
//  - w_j sigma_L(E_k) / mu_B,k of those give L, which leaves B's top with exp(-b z'),
//    b = mu_B(E_L) / sin psi_out, and reaches the crystal with (Omega / 4 pi) T(E_L).
// The pieces above A take their share of the beam, those above B of L, as for primary
// lines. With E1(tau) = int_0^1 exp(-tau / x) dx / x (x = cos theta) the depth integrals
// come apart at each direction, and
//   S_L = Phi (Omega / 4 pi) T(E_L) beam_A exit_B(E_L) w_j / (2 sin psi_in)
//         x sum_k w_i sigma_k(E0) sigma_L(E_k) I,
//   I = int_0^1 A(x) exp(-D / x) B(x) dx / x,
// B below A: A(x) = int exp(-a z - c_A (t_A - z)) dz, B(x) = int exp(-(b + c_B) z') dz';
// B above A: A(x) = int exp(-(a + c_A) z) dz, B(x) = int exp(-b z' - c_B (t_B - z')) dz';
// c = mu_k / x. The integral over ln x runs on Gauss-Legendre panels.

#include "physics/secondary_between.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "common/constants.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

constexpr std::array<double, 4> kNode = {-0.8611363115940526, -0.3399810435848563,
                                         0.3399810435848563, 0.8611363115940526};
constexpr std::array<double, 4> kWeight = {0.3478548451374538, 0.6521451548625461,
                                           0.6521451548625461, 0.3478548451374538};
constexpr double kPanel = 2.0;  // width of one panel in ln x
// Below x = 1e-3 min(1, mu t) of either piece the integrand falls as x^2: what is left
// out there is below 1e-6 of I. Past D / x = 60 exp(-D / x) is below 1e-26.
constexpr double kShallowest = 1e-3;
constexpr double kDeepest = 60.0;
constexpr double kLowestLog = -200.0;
constexpr double kFaintest = 1e-7;  // of the strongest exciting line of a piece

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

// int_0^t exp(-x z) dz = (1 - exp(-x t)) / x, from e = exp(-x t); t (1 - x t / 2 + ...)
// where the difference would cancel, 1 / x for t infinite.
double slab(double x, double t, double e) {
    const double xt = x * t;
    if (xt < 1e-3) return t * (1.0 - xt / 2.0 + xt * xt / 6.0);
    return (1.0 - e) / x;
}

// int_0^t exp(-p z - q (t - z)) dz = (exp(-p t) - exp(-q t)) / (q - p), from e_p = exp(-p t)
// and e_q = exp(-q t), by its series where the difference would cancel; t finite.
double crossing(double p, double q, double t, double e_p, double e_q) {
    const double dt = (q - p) * t;
    if (std::fabs(dt) < 1e-3) return e_p * t * (1.0 - dt / 2.0 + dt * dt / 6.0);
    return (e_p - e_q) / (q - p);
}

// The thickness of a piece, g/cm2: infinite for a bulk sample.
double thickness(const Sample& s) {
    return s.film() ? s.areal_density() : std::numeric_limits<double>::infinity();
}

// One direction: c_B = mu_B,k / x, exp(-c_B t_B) and the weight of the node times
// A(x) exp(-D / x).
struct Direction {
    double c = 0.0, e_ct = 0.0, weight = 0.0;
};

// An exciting line of A with its directions towards B.
struct Source {
    int Z = 0;
    double E = 0.0, production = 0.0;  // w_i sigma_k(E0), cm2/g
    std::vector<Direction> directions;
};

struct Pair {
    const Sample& A;
    const Sample& B;
    bool below = false;  // B below A
    double a = 0.0;      // mu_A(E0) / sin psi_in
};

// The directions of line k from A to B, none when nothing of it gets there.
std::vector<Direction> directions_of(const Pair& pr, double mu_A, double mu_B, double D) {
    std::vector<Direction> out;
    if (!positive(mu_A) || !positive(mu_B) || !(D >= 0.0) || D >= kDeepest) return out;
    const double tA = thickness(pr.A), tB = thickness(pr.B);
    const double x_lo = std::max(kShallowest * std::min({1.0, mu_A * tA, mu_B * tB}), D / kDeepest);
    const double y0 = std::max(std::log(x_lo), kLowestLog);
    const int panels = std::max(1, static_cast<int>(std::ceil(-y0 / kPanel)));
    const double h = -y0 / panels;
    for (int i = 0; i < panels; ++i)
        for (std::size_t n = 0; n < kNode.size(); ++n) {
            const double x = std::exp(y0 + (i + 0.5 + 0.5 * kNode[n]) * h);
            const double c_A = mu_A / x, c_B = mu_B / x;
            const double part =
                pr.below ? crossing(pr.a, c_A, tA, std::exp(-pr.a * tA), std::exp(-c_A * tA))
                         : slab(pr.a + c_A, tA, std::exp(-(pr.a + c_A) * tA));
            const double w = 0.5 * h * kWeight[n] * part * std::exp(-D / x);
            if (positive(w)) out.push_back({c_B, std::exp(-c_B * tB), w});
        }
    return out;
}

// I of one exciting line for an excited line with b = mu_B(E_L) / sin psi_out.
// e_bt = exp(-b t_B).
double integral(const Source& k, const Pair& pr, double b, double e_bt) {
    const double tB = thickness(pr.B);
    double sum = 0.0;
    if (pr.below) {
        for (const Direction& d : k.directions) sum += d.weight * slab(b + d.c, tB, e_bt * d.e_ct);
    } else {
        for (const Direction& d : k.directions)
            sum += d.weight * crossing(b, d.c, tB, e_bt, d.e_ct);
    }
    return sum;
}

std::vector<Source> sources_of(const std::vector<LineRate>& lines, int layer, const Pair& pr,
                               const Stack& stack, int pA, int pB, double E0) {
    std::vector<Source> out;
    double strongest = 0.0;
    for (const LineRate& l : lines) {
        if (l.layer != layer || l.element < 0 || l.element >= pr.A.size()) continue;
        const double production = pr.A.w(l.element) * pr.A.cs_fluor_line(l.Z, l.line, E0);
        if (!positive(production) || !positive(l.energy)) continue;
        out.push_back({l.Z, l.energy, production, {}});
        strongest = std::max(strongest, production);
    }
    out.erase(std::remove_if(out.begin(), out.end(),
                             [&](const Source& s) { return s.production < kFaintest * strongest; }),
              out.end());
    for (Source& s : out)
        s.directions = directions_of(pr, pr.A.mu(s.E), pr.B.mu(s.E), stack.between(pA, pB, s.E));
    return out;
}

// The lines of one element of B that fill one shell. A vacancy in the shell gives each
// of them with a fixed probability however it was made, so sigma_L(E_k) = sigma_L(E0)
// x sigma_ref(E_k) / sigma_ref(E0) for any reference line of the shell: excitation[k]
// is that ratio (0 for a source at or below the edge or of the same element), one
// library value per source for the whole shell. A code of no known shell is a group of
// its own.
struct Shell {
    int element = 0, shell = -1, line = 0;
    std::vector<double> excitation;
};

const Shell* shell_of(const LineRate& L, const Sample& B, const std::vector<Source>& sources,
                      double E0, std::vector<Shell>& shells) {
    const int shell = xrl::line_shell(L.line);
    for (const Shell& s : shells)
        if (s.element == L.element && s.shell == shell && (shell >= 0 || s.line == L.line))
            return &s;
    Shell s{L.element, shell, L.line, std::vector<double>(sources.size(), 0.0)};
    const double sigma0 = B.cs_fluor_line(L.Z, L.line, E0);
    const double edge = shell >= 0 ? xrl::edge_energy(L.Z, shell) : 0.0;
    for (std::size_t k = 0; k < sources.size() && positive(sigma0); ++k) {
        if (sources[k].Z == L.Z || sources[k].E <= edge || sources[k].directions.empty()) continue;
        const double ratio = B.cs_fluor_line(L.Z, L.line, sources[k].E) / sigma0;
        if (positive(ratio)) s.excitation[k] = ratio;
    }
    shells.push_back(std::move(s));
    return &shells.back();
}

// What the lines of piece pA excite in the lines of piece pB.
void between_pieces(int pA, int pB, std::vector<LineRate>& lines, const Setup& setup,
                    const Stack& stack, const DetectorPath& path) {
    const Piece& A = stack.piece(pA);
    const Piece& B = stack.piece(pB);
    const Pair pr{A.matter, B.matter, pB > pA, A.matter.mu(setup.E0) / A.matter.sin_in()};
    if (!positive(pr.a)) return;
    const std::vector<Source> sources = sources_of(lines, A.layer, pr, stack, pA, pB, setup.E0);
    if (sources.empty()) return;
    const double scale = setup.flux * path.omega() / (4.0 * common::kPi) /
                         (2.0 * A.matter.sin_in()) * stack.beam_to(pA, setup.E0);
    if (!positive(scale)) return;
    std::vector<Shell> shells;
    shells.reserve(lines.size());  // shell_of hands out pointers into it
    for (LineRate& L : lines) {
        if (L.layer != B.layer || L.element < 0 || L.element >= B.matter.size()) continue;
        const Shell& shell = *shell_of(L, B.matter, sources, setup.E0, shells);
        const double b = B.matter.mu(L.energy) / B.matter.sin_out();
        if (!positive(b)) continue;
        const double e_bt = std::exp(-b * thickness(B.matter));
        double sum = 0.0;  // sum_k w_i sigma_k(E0) sigma_ref(E_k) / sigma_ref(E0) I
        for (std::size_t k = 0; k < sources.size(); ++k)
            if (shell.excitation[k] > 0.0)
                sum +=
                    sources[k].production * shell.excitation[k] * integral(sources[k], pr, b, e_bt);
        if (!(sum > 0.0)) continue;
        const double sigma0 = B.matter.cs_fluor_line(L.Z, L.line, setup.E0);
        const double S = scale * B.matter.w(L.element) * sigma0 * sum * path.T(L.energy) *
                         stack.exit_from(pB, L.energy);
        if (positive(S)) L.secondary += S;
    }
}

}  // namespace

void add_secondary_between(std::vector<LineRate>& lines, const Setup& setup, const Stack& stack,
                           const DetectorPath& path) {
    if (!(std::isfinite(setup.flux) && setup.flux > 0.0)) return;
    for (int pA = 0; pA < stack.size(); ++pA)
        for (int pB = 0; pB < stack.size(); ++pB)
            if (pA != pB) between_pieces(pA, pB, lines, setup, stack, path);
}

}  // namespace lumetra::physics
