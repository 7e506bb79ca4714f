#include "physics/scan.h"

#include <algorithm>
#include <cmath>

#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

constexpr double kBelow = 0.150;  // keV of pre-edge
constexpr double kAbove = 1.000;  // keV above the edge
constexpr int kFewestPoints = 2;  // one below the edge, one above
constexpr int kMostPoints = 4096;

// A figure as the preview shows it: finite and not negative.
double shown(double v) {
    return std::isfinite(v) && v > 0.0 ? v : 0.0;
}

bool in_range(double E) {
    return E >= xrl::kLowestEnergy && E <= xrl::kHighestEnergy;
}

}  // namespace

double scan_edge(const Setup& setup) {
    if (setup.sample.empty()) return 0.0;
    const double edge = xrl::edge_energy(setup.sample.front().Z, setup.target_shell);
    return std::isfinite(edge) && edge > 0.0 ? edge : 0.0;
}

// The points a beamline scan puts across an edge E_e (keV):
//   pre-edge  E_j = E_e - 0.150 + j 0.150 / n_pre,   j = 0 .. n_pre - 1;
//   above     E_i = E_e + 1.000 (i / n_post)^2,      i = 1 .. n_post,
// equal steps of k = sqrt(2 m_e (E - E_e)) / hbar above the edge, so the points crowd
// where the absorption changes fastest. n_pre = round(0.150 n / 1.150), at least 1, and
// n_post = n - n_pre; no point falls on the edge itself.
std::vector<double> scan_energies(double edge, int n) {
    std::vector<double> energies;
    if (!(std::isfinite(edge) && edge > 0.0) || n <= 0) return energies;
    n = std::clamp(n, kFewestPoints, kMostPoints);
    const int n_pre = std::max(1, static_cast<int>(std::lround(n * kBelow / (kBelow + kAbove))));
    const int n_post = n - n_pre;
    energies.reserve(n);
    for (int j = 0; j < n_pre; ++j) energies.push_back(edge - kBelow + j * kBelow / n_pre);
    for (int i = 1; i <= n_post; ++i) {
        const double x = static_cast<double>(i) / n_post;
        energies.push_back(edge + kAbove * x * x);
    }
    energies.erase(
        std::remove_if(energies.begin(), energies.end(), [](double E) { return !in_range(E); }),
        energies.end());
    return energies;
}

ScanPoint scan_point(Model& model, Setup setup, double E) {
    ScanPoint p;
    if (!std::isfinite(E)) return p;
    p.E = E;
    setup.E0 = E;
    const Figures f = model.calculate_figures(setup).figures;
    p.target = shown(f.target);
    p.background = shown(f.background);
    p.dead_time = shown(f.dead_time);
    return p;
}

Scan scan(Model& model, const Setup& setup, int n) {
    Scan s;
    s.edge = scan_edge(setup);
    const std::vector<double> energies = scan_energies(s.edge, n);
    s.points.reserve(energies.size());
    for (double E : energies) s.points.push_back(scan_point(model, setup, E));
    return s;
}

}  // namespace lumetra::physics
