// Victoreen coefficients: one least-squares fit of C3, C4 per element and region.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "data/edge_energies.h"
#include "data/symbol_table.h"
#include "reference.h"
#include "tables.h"

namespace lumetra::gen {

namespace {

using data::VictoreenElement;
using data::VictoreenRegion;

constexpr double kEdgeMargin = 0.01;       // fits and judgements keep 1 % clear of every jump
constexpr double kFirstRegionStep = 1.02;  // first region starts 2 % above the next lower edge
constexpr double kLowestFitEnergy = 1.0;   // keV
constexpr double kLastRegionTop = 40.0;    // keV, at least
constexpr double kJudgedTop = 60.0;        // keV: the judged range ends here
constexpr double kLastRegionCeiling = 150.0;
constexpr int kFitPoints = 80;
constexpr int kJudgedPoints = 240;

// Rows the program carries as fixed values; they are copied, never fitted.
struct FixedElement {
    int z;
    VictoreenElement element;
};
const FixedElement kFixedElements[] = {
    {1, {1, {{{0, 1.69269e-24, -2.38192e-25}}}}},
    {6, {1, {{{0, 2.191776e-23, 5.910529e-25}}}}},
    {14, {1, {{{0, 8.7604945e-22, -5.7266213e-23}}}}},
    {20, {1, {{{0, 3.7024235e-21, -4.3257995e-22}}}}},
    {26, {2, {{{1.74346, 1.00277e-21, -7.88048e-23}, {0, 1.07925e-20, -2.05725e-21}}}}},
    {29, {2, {{{1.38059, 1.59827e-21, -1.35313e-22}, {0, 1.69547e-20, -4.05544e-21}}}}},
    {50,
     {3,
      {{{2.7769, 1.15303e-20, -9.6838e-22},
        {0.42467, 1.62578e-20, -2.20843e-21},
        {0, 1.66285e-19, -1.30638e-19}}}}},
    {83,
     {5,
      {{{0.9234, 2.700959e-20, -4.063044e-21},
        {0.7887, 8.758943e-20, -2.233736e-20},
        {0.7571, 1.232603e-19, -3.14977e-20},
        {0.13694, 1.826128e-19, -9.072504e-20},
        {0, -3.800084e-17, 3.426409e-16}}}}},
};

const VictoreenElement* fixed_element(int z) {
    for (const FixedElement& fixed : kFixedElements)
        if (fixed.z == z) return &fixed.element;
    return nullptr;
}

// An edge that bounds a region: the program's energy and the reference's, keV.
struct BoundingEdge {
    Shell shell;
    double own;
    double reference;
};

// The represented edges from low to high energy: K from scandium on, L1 from tin,
// L2 from antimony, L3 from tellurium (every edge above 2.8555 Angstrom is left out).
std::vector<BoundingEdge> represented_edges(int z) {
    const data::EdgeEnergies* e = data::edge_energies(z);
    std::vector<BoundingEdge> edges;
    if (e == nullptr || z <= 20) return edges;
    if (z >= 52) edges.push_back({Shell::L3, e->l3, 0});
    if (z >= 51) edges.push_back({Shell::L2, e->l2, 0});
    if (z >= 50) edges.push_back({Shell::L1, e->l1, 0});
    edges.push_back({Shell::K, e->k, 0});
    for (BoundingEdge& edge : edges) edge.reference = edge_energy(z, edge.shell);
    return edges;
}

// The reference's highest edge among the shells the table does not represent, keV.
double highest_unrepresented_edge(int z) {
    const std::vector<BoundingEdge> edges = represented_edges(z);
    double highest = 0.0;
    for (Shell shell : kAllShells) {
        const bool represented =
            std::any_of(edges.begin(), edges.end(),
                        [shell](const BoundingEdge& e) { return e.shell == shell; });
        if (!represented) highest = std::max(highest, edge_energy(z, shell));
    }
    return highest;
}

double jump_low(const BoundingEdge& e) {
    return std::min(e.own, e.reference) * (1.0 - kEdgeMargin);
}
double jump_high(const BoundingEdge& e) {
    return std::max(e.own, e.reference) * (1.0 + kEdgeMargin);
}

double round_to_digits(double value, int digits) {
    return std::strtod(format("%.*g", digits, value).c_str(), nullptr);
}

double model(const VictoreenRegion& r, double energy) {
    const double lambda = data::kKeVAngstrom / energy;
    return std::fabs(((lambda * r.c4 + r.c3) * lambda) * lambda * lambda);
}

// Least squares on the relative error over energies lo..hi (keV).
VictoreenRegion fit_region(int z, double lo, double hi) {
    double saa = 0, sab = 0, sbb = 0, sa = 0, sb = 0;
    for (int i = 0; i < kFitPoints; ++i) {
        const double energy = lo * std::pow(hi / lo, i / (kFitPoints - 1.0));
        const double lambda = data::kKeVAngstrom / energy;
        const double sigma = photo_per_atom(z, energy);
        const double a = lambda * lambda * lambda / sigma;
        const double b = a * lambda;
        saa += a * a;
        sab += a * b;
        sbb += b * b;
        sa += a;
        sb += b;
    }
    const double det = saa * sbb - sab * sab;
    return {0.0, round_to_digits((sa * sbb - sb * sab) / det, 7),
            round_to_digits((sb * saa - sa * sab) / det, 7)};
}

double worst_error(int z, const VictoreenRegion& r, double lo, double hi) {
    double worst = 0.0;
    for (int i = 0; i < kFitPoints; ++i) {
        const double energy = lo * std::pow(hi / lo, i / (kFitPoints - 1.0));
        worst = std::max(worst, std::fabs(model(r, energy) / photo_per_atom(z, energy) - 1.0));
    }
    return worst;
}

VictoreenElement fit_element(int z) {
    const std::vector<BoundingEdge> edges = represented_edges(z);
    VictoreenElement element{static_cast<int>(edges.size()) + 1, {}};
    for (int i = 0; i < element.count; ++i) {
        const bool first = i == 0;
        const bool last = i == element.count - 1;
        double lo = 0.0;
        double hi = 0.0;
        if (first)
            lo = std::max(kFirstRegionStep * highest_unrepresented_edge(z), kLowestFitEnergy);
        else
            lo = jump_high(edges[static_cast<std::size_t>(i - 1)]);
        if (!last) {
            hi = jump_low(edges[static_cast<std::size_t>(i)]);
        } else {
            const double edge = first ? edge_energy(z, Shell::K) : edges.back().own;
            hi = std::min(std::max(3.0 * edge, kLastRegionTop), kLastRegionCeiling);
        }
        VictoreenRegion region = fit_region(z, lo, hi);
        if (!last)
            region.bound =
                round_to_digits(data::kKeVAngstrom / edges[static_cast<std::size_t>(i)].own, 5);
        element.regions[static_cast<std::size_t>(i)] = region;
        std::printf("fit Z %2d region %d  %8.4f..%8.4f keV  C3 %-14.7g C4 %-14.7g worst %5.2f %%\n",
                    z, i + 1, lo, hi, region.c3, region.c4, 100.0 * worst_error(z, region, lo, hi));
    }
    return element;
}

double percentile(std::vector<double> sorted_values, double p) {
    std::sort(sorted_values.begin(), sorted_values.end());
    const auto index =
        static_cast<std::size_t>(p * static_cast<double>(sorted_values.size() - 1) + 0.5);
    return sorted_values[index];
}

}  // namespace

QualityRange quality_range(int z) {
    return {std::max(2.0, kFirstRegionStep * highest_unrepresented_edge(z)), kJudgedTop};
}

bool near_represented_edge(int z, double energy) {
    for (const BoundingEdge& edge : represented_edges(z))
        if (energy >= jump_low(edge) && energy <= jump_high(edge)) return true;
    return false;
}

VictoreenTable build_victoreen_table() {
    VictoreenTable table{};
    for (int z = 1; z <= data::kLastVictoreenZ; ++z) {
        const VictoreenElement* fixed = fixed_element(z);
        VictoreenElement& element = table[static_cast<std::size_t>(z - 1)];
        if (fixed != nullptr)
            element = *fixed;
        else if (z < 4)
            element = *fixed_element(1);  // the hydrogen pair serves Z below 4
        else
            element = fit_element(z);
    }
    return table;
}

bool report_victoreen_quality(const VictoreenTable& table) {
    std::vector<double> deviations;
    double worst = 0.0;
    int worst_z = 0;
    double worst_energy = 0.0;
    for (int z = 10; z <= data::kLastVictoreenZ; ++z) {
        const QualityRange range = quality_range(z);
        for (int i = 0; i < kJudgedPoints; ++i) {
            const double energy =
                range.first * std::pow(range.last / range.first, i / (kJudgedPoints - 1.0));
            if (near_represented_edge(z, energy)) continue;
            const double lambda = data::kKeVAngstrom / energy;
            const VictoreenRegion& region =
                data::victoreen_region(table[static_cast<std::size_t>(z - 1)], lambda);
            const double deviation =
                std::fabs(model(region, energy) / photo_per_atom(z, energy) - 1.0);
            deviations.push_back(deviation);
            if (deviation > worst) {
                worst = deviation;
                worst_z = z;
                worst_energy = energy;
            }
        }
    }
    const double median = percentile(deviations, 0.5);
    const double p90 = percentile(deviations, 0.9);
    std::printf(
        "quality over Z 10..83, %zu points: median %.2f %%, 90th percentile %.2f %%, "
        "max %.2f %% (Z %d at %.3f keV)\n",
        deviations.size(), 100 * median, 100 * p90, 100 * worst, worst_z, worst_energy);
    return median < 0.03 && p90 < 0.08 && worst < 0.50;
}

std::string victoreen_source(const VictoreenTable& table) {
    std::string out =
        "// Victoreen photoabsorption coefficients of hydrogen (1) to bismuth (83).\n"
        "// This file is automatically generated, do not edit.\n"
        "// Regenerate it with tools/gen_tables: build the gen_tables target and run\n"
        "//   gen_tables src/data\n"
        "// from the source directory. C3, C4 of each region are least-squares fits (relative\n"
        "// error) to the photoabsorption of the xraylib library; Z 1, 6, 14, 20, 26, 29, 50\n"
        "// and 83 are the program's fixed rows. Bounds in Angstrom, C3 in cm2/A^3, C4 in "
        "cm2/A^4.\n"
        "\n"
        "#include \"data/victoreen.h\"\n"
        "\n"
        "namespace lumetra::data {\n"
        "\n"
        "const std::array<VictoreenElement, kLastVictoreenZ> kVictoreenTable{{\n";
    for (int z = 1; z <= data::kLastVictoreenZ; ++z) {
        const VictoreenElement& element = table[static_cast<std::size_t>(z - 1)];
        out += format(
            "    // %d %s\n    {%d, {{", z,
            std::string(data::kElementSymbols[static_cast<std::size_t>(z - 1)].symbol).c_str(),
            element.count);
        for (int i = 0; i < element.count; ++i) {
            const VictoreenRegion& r = element.regions[static_cast<std::size_t>(i)];
            out += format("%s\n        {%s, %s, %s}", i == 0 ? "" : ",", shortest(r.bound).c_str(),
                          shortest(r.c3).c_str(), shortest(r.c4).c_str());
        }
        out += "}}},\n";
    }
    out += "}};\n\n}  // namespace lumetra::data\n";
    return out;
}

}  // namespace lumetra::gen
