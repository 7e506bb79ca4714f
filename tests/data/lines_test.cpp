// Emission lines and their shares.

#include "data/lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include "digits.h"

namespace lumetra::data {
namespace {

using testing::matches_digits;

struct Lines {
    LineArray energy;
    LineArray weight;
    double single_sum() const {  // slots 1..21
        double sum = 0;
        for (int s = 1; s <= 21; ++s) sum += weight[static_cast<std::size_t>(s)];
        return sum;
    }
};

Lines lines(int z, double energy) {
    Lines out;
    out.energy.fill(-1);
    out.weight.fill(-1);
    Line_data(static_cast<std::int16_t>(z), energy, out.energy, out.weight);
    return out;
}

void expect_no_lines(const Lines& l, const std::string& what) {
    for (int s = 1; s <= 21; ++s) {
        EXPECT_EQ(l.energy[static_cast<std::size_t>(s)], 0.0) << what << " slot " << s;
        EXPECT_EQ(l.weight[static_cast<std::size_t>(s)], 0.0) << what << " slot " << s;
    }
    for (std::size_t s : {0u, 22u, 23u}) {
        EXPECT_EQ(l.energy[s], 0.0) << what << " slot " << s;
        EXPECT_EQ(l.weight[s], 1e-10) << what << " slot " << s;
    }
}

struct SlotValue {
    int slot;
    const char* weight;
    const char* energy;  // nullptr: not checked
};

void expect_slots(const Lines& l, std::initializer_list<SlotValue> values, const char* what) {
    for (const SlotValue& v : values) {
        const auto s = static_cast<std::size_t>(v.slot);
        EXPECT_TRUE(matches_digits(l.weight[s], v.weight)) << what << " slot " << v.slot;
        if (v.energy) {
            EXPECT_TRUE(matches_digits(l.energy[s], v.energy)) << what << " slot " << v.slot;
        }
    }
}

TEST(LineData, ReferenceShares) {
    const Lines iron = lines(26, 10.0);
    expect_slots(iron,
                 {{15, "0.5431222", nullptr},
                  {16, "0.2715611", nullptr},
                  {17, "0.09233077", nullptr},
                  {19, "0.09233077", nullptr},
                  {21, "0.0006551534", nullptr},
                  {0, "0.8146833", "6.399507"},
                  {23, "0.1846615", "7.05799"}},
                 "iron at 10 keV");
    EXPECT_EQ(iron.energy[22], 0.0);
    EXPECT_EQ(iron.weight[22], 1e-10);
    // J = 0.88174807 and S = 162.34801 give slot 15 its share 100 J / S.
    EXPECT_NEAR(iron.weight[15], 100 * 0.88174807 / 162.34801, 1e-8);

    expect_slots(
        lines(14, 1.0),
        {{15, "0.6578947", nullptr}, {16, "0.3289474", nullptr}, {17, "0.01315789", nullptr}},
        "silicon at 1 keV");
    const Lines w_low = lines(74, 11.8);
    expect_slots(w_low, {{1, "0.4577466", nullptr}, {22, "0.5080988", "8.391416"}},
                 "tungsten at 11.8 keV");
    for (int s = 1; s <= 21; ++s) {
        const bool present = (s >= 1 && s <= 5) || (s >= 7 && s <= 9);
        EXPECT_EQ(w_low.energy[static_cast<std::size_t>(s)] != 0.0, present) << s;
    }
    EXPECT_EQ(w_low.weight[0], 1e-10);
    EXPECT_EQ(w_low.weight[23], 1e-10);
    expect_slots(
        lines(74, 100.0),
        {{15, "0.3812064", nullptr}, {1, "0.09893908", nullptr}, {0, "0.6023062", "58.82761"}},
        "tungsten at 100 keV");
}

TEST(LineData, LightElementsShareOneLine) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int z : {-32768, -10, 0, 1, 8, 10}) {
        for (double e : {0.0, 0.5, 10.0, nan}) {
            const Lines l = lines(z, e);
            EXPECT_EQ(l.energy[15], 0.8486) << z;
            EXPECT_EQ(l.weight[15], 100 / (100 + 1e-6)) << z;
            EXPECT_TRUE(matches_digits(l.weight[15], "0.99999999"));
            EXPECT_TRUE(matches_digits(l.energy[0], "0.8486")) << z;
            EXPECT_NEAR(l.single_sum(), l.weight[15], 0) << z;
        }
    }
}

TEST(LineData, ElementsWithoutLines) {
    for (int z : {18, 84, 92, 1000, 32767})
        for (double e : {1.0, 10.0, 200.0}) expect_no_lines(lines(z, e), "Z " + std::to_string(z));
}

// Each group is excited strictly above its own edge; from tin on the filling stops at
// the first edge not passed.
TEST(LineData, GatingAtExactlyAnEdge) {
    expect_no_lines(lines(26, 7.1109), "iron at its K edge");
    expect_no_lines(lines(26, 5.0), "iron below its K edge");
    EXPECT_GT(lines(26, std::nextafter(7.1109, 10.0)).weight[15], 0.5);

    struct Gate {
        double edge;
        int last_slot_below;  // highest slot present at the edge itself
        int last_slot_above;  // just above it
    };
    const Gate tungsten[] = {{10.1996, 0, 5}, {11.539, 5, 9}, {12.0992, 9, 14}, {69.5052, 14, 21}};
    for (const Gate& g : tungsten) {
        for (const auto& [energy, last] :
             {std::pair{g.edge, g.last_slot_below},
              std::pair{std::nextafter(g.edge, 100.0), g.last_slot_above}}) {
            const Lines l = lines(74, energy);
            for (int s = 1; s <= 21; ++s)
                EXPECT_EQ(l.energy[static_cast<std::size_t>(s)] != 0.0,
                          s <= last && s != 6 && s != 10)
                    << "tungsten at " << energy << " slot " << s;
        }
    }
    // Up to indium the L lines come at any energy: molybdenum below its K edge.
    const Lines mo = lines(42, 10.0);
    EXPECT_GT(mo.weight[1], 0.0);
    EXPECT_EQ(mo.weight[15], 0.0);
    EXPECT_NEAR(mo.single_sum(), 1.0, 1e-6);
}

// Which slots each element carries, above every edge.
TEST(LineData, SlotsPresentByAtomicNumber) {
    struct Plan {
        int first_z, last_z;
        std::set<int> slots;
    };
    const Plan plans[] = {
        {11, 17, {15, 16, 17}},
        {19, 21, {15, 16, 17, 19}},
        {22, 32, {15, 16, 17, 19, 21}},
        {33, 40, {15, 16, 17, 18, 19, 21}},
        {41, 42, {1, 2, 3, 4, 7, 9, 11, 15, 16, 17, 18, 19, 21}},
        {43, 44, {1, 2, 3, 4, 5, 7, 9, 11, 12, 13, 15, 16, 17, 18, 19, 21}},
        {45, 78, {1, 2, 3, 4, 5, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}},
        {79, 83, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}},
    };
    for (const Plan& p : plans) {
        for (int z = p.first_z; z <= p.last_z; ++z) {
            const Lines l = lines(z, 200.0);
            for (int s = 1; s <= 21; ++s)
                EXPECT_EQ(l.energy[static_cast<std::size_t>(s)] > 0.0, p.slots.count(s) == 1)
                    << "Z " << z << " slot " << s;
        }
    }
}

// The sum slots and the total, for every element at energies around its edges.
TEST(LineData, SumSlotsAndTotals) {
    for (int z = 11; z <= 83; ++z) {
        if (z == 18) continue;
        for (double e : {3.0, 12.0, 30.0, 200.0}) {
            const Lines l = lines(z, e);
            for (const auto& [sum, a, b] :
                 {std::tuple{0, 15, 16}, std::tuple{22, 1, 2}, std::tuple{23, 17, 19}}) {
                const double wa = l.weight[static_cast<std::size_t>(a)],
                             wb = l.weight[static_cast<std::size_t>(b)];
                const double ea = l.energy[static_cast<std::size_t>(a)],
                             eb = l.energy[static_cast<std::size_t>(b)];
                EXPECT_DOUBLE_EQ(l.weight[static_cast<std::size_t>(sum)], wa + wb + 1e-10)
                    << z << " slot " << sum;
                EXPECT_NEAR(l.energy[static_cast<std::size_t>(sum)],
                            (ea * wa + eb * wb) / (wa + wb + 1e-10), 1e-9 * (ea + eb))
                    << z << " slot " << sum;
            }
            const double total = l.single_sum();
            EXPECT_TRUE(total == 0.0 || (total > 0.999 && total < 1.0))
                << z << " at " << e << ": " << total;
        }
    }
}

TEST(LineData, AnyEnergyGivesFiniteShares) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int z : {-32768, 0, 11, 19, 20, 26, 42, 50, 74, 83, 84, 32767}) {
        for (double e : {0.0, -1.0, -inf, inf, nan, 4.9e-324, 1e300}) {
            const Lines l = lines(z, e);
            for (std::size_t s = 0; s < l.weight.size(); ++s) {
                ASSERT_TRUE(std::isfinite(l.energy[s]) && l.energy[s] >= 0)
                    << z << " at " << e << " slot " << s;
                ASSERT_TRUE(l.weight[s] >= 0 && l.weight[s] <= 1)
                    << z << " at " << e << " slot " << s;
            }
            EXPECT_LT(l.single_sum(), 1.0) << z << " at " << e;
        }
    }
}

}  // namespace
}  // namespace lumetra::data
