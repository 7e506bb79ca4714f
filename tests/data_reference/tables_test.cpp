// The compiled tables against the reference library.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/dialogs.h"
#include "data/absorption.h"
#include "data/edges.h"
#include "data/line_records.h"
#include "data/lines.h"
#include "reference.h"

namespace lumetra::data {
namespace {

using reference::Shell;

double myu(int z, double energy) {
    common::ScriptedDialogs dialogs;
    std::int16_t exponent = 0;
    double mantissa = 0;
    Myu_elem(static_cast<std::int16_t>(z), energy, exponent, mantissa, dialogs, [] {});
    return mantissa * std::pow(10.0, exponent);
}

// The edges the cross-section table carries: K from Z 21, L1 from 50, L2 from 51, L3 from 52.
std::vector<Shell> represented(int z) {
    std::vector<Shell> shells;
    if (z >= 21) shells.push_back(Shell::K);
    if (z >= 50) shells.push_back(Shell::L1);
    if (z >= 51) shells.push_back(Shell::L2);
    if (z >= 52) shells.push_back(Shell::L3);
    return shells;
}

double own_edge(int z, Shell shell) {
    common::ScriptedDialogs dialogs;
    std::int16_t selector = shell == Shell::K ? 10 : -10;
    double energy = 0;
    Edge_data(static_cast<std::int16_t>(z), selector, energy, dialogs);
    return energy;
}

// Photoabsorption from 2 keV (or 2 % above the highest edge the table leaves out) to
// 60 keV, 1 % clear of both the program's and the library's represented edges.
TEST(TablesAgainstReference, PhotoabsorptionDeviation) {
    std::vector<double> deviations;
    for (int z = 10; z <= 83; ++z) {
        const std::vector<Shell> shells = represented(z);
        double first = 2.0;
        for (Shell s : {Shell::K, Shell::L1, Shell::L2, Shell::L3, Shell::M1, Shell::M2, Shell::M3,
                        Shell::M4, Shell::M5})
            if (std::find(shells.begin(), shells.end(), s) == shells.end())
                first = std::max(first, 1.02 * reference::edge(z, s));
        for (double e = first; e <= 60.0; e *= 1.01) {
            bool near_edge = false;
            for (Shell s : shells) {
                double own =
                    reference::edge(z, s);  // L edges of Z 50, 51 are not in the edge lookup
                if (s == Shell::K || (s == Shell::L3 && z >= 52)) own = own_edge(z, s);
                const double lo = std::min(own, reference::edge(z, s)) * 0.99;
                const double hi = std::max(own, reference::edge(z, s)) * 1.01;
                near_edge = near_edge || (e >= lo && e <= hi);
            }
            if (!near_edge)
                deviations.push_back(std::fabs(myu(z, e) / reference::photo_per_atom(z, e) - 1));
        }
    }
    ASSERT_GT(deviations.size(), 10000u);
    std::sort(deviations.begin(), deviations.end());
    const double median = deviations[deviations.size() / 2];
    const double p90 = deviations[deviations.size() * 9 / 10];
    EXPECT_LT(median, 0.03);
    EXPECT_LT(p90, 0.08);
    EXPECT_LT(deviations.back(), 0.50);
    std::printf("photoabsorption: median %.2f %%, 90 %% %.2f %%, max %.2f %% over %zu points\n",
                100 * median, 100 * p90, 100 * deviations.back(), deviations.size());
}

TEST(TablesAgainstReference, LineEnergies) {
    for (int z = 11; z <= 83; ++z) {
        LineArray energies{}, weights{};
        Line_data(static_cast<std::int16_t>(z), 200.0, energies, weights);
        for (int slot = 1; slot <= 21; ++slot) {
            const auto s = static_cast<std::size_t>(slot);
            if (weights[s] == 0) continue;
            const std::vector<double> ref = reference::slot_line_energies(z, slot);
            ASSERT_FALSE(ref.empty()) << "Z " << z << " slot " << slot;
            const auto [lo, hi] = std::minmax_element(ref.begin(), ref.end());
            EXPECT_GE(energies[s], 0.99 * *lo) << "Z " << z << " slot " << slot;
            EXPECT_LE(energies[s], 1.01 * *hi) << "Z " << z << " slot " << slot;
        }
    }
}

// Above the K edge a share J of the absorbed photons makes K vacancies.
TEST(TablesAgainstReference, KShellShareAndTotals) {
    for (int z = 20; z <= 83; ++z) {
        const LineRecord& record = *line_record(z);
        const double above =
            record.sigma_above.mantissa * std::pow(10.0, record.sigma_above.exponent);
        const double jump = record.sigma_jump.mantissa * std::pow(10.0, record.sigma_jump.exponent);
        const double j = jump / above;
        EXPECT_GE(j, 0.6) << z;
        EXPECT_LE(j, 0.95) << z;
        EXPECT_NEAR(j, 1 - 1 / reference::k_jump_factor(z), 0.03) << z;
        const double k_ref = reference::edge(z, Shell::K);
        EXPECT_NEAR(
            above / reference::photo_per_atom(z, 1.0001 * std::max(k_ref, own_edge(z, Shell::K))),
            1, 0.1)
            << z;

        LineArray energies{}, weights{};
        Line_data(static_cast<std::int16_t>(z), 1.001 * std::max(k_ref, own_edge(z, Shell::K)),
                  energies, weights);
        double total = 0;
        for (int slot = 1; slot <= 21; ++slot) total += weights[static_cast<std::size_t>(slot)];
        EXPECT_GE(total, 0.999) << z;
        EXPECT_LE(total, 1.0) << z;
    }
}

}  // namespace
}  // namespace lumetra::data
