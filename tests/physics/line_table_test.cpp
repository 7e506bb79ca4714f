// The wrapper's table of line codes against the library's own codes and rates.

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <string>

#include "physics/xrl.h"

namespace lumetra::physics::xrl {
namespace {

TEST(LineTable, CodesNamesAndShellsAreTheLibrarys) {
    const struct {
        int code;
        const char* name;
        int shell;
    } cases[] = {{KL1_LINE, "KL1", K_SHELL},      {KL3_LINE, "KL3", K_SHELL},
                 {KO_LINE, "KO", K_SHELL},        {KP5_LINE, "KP5", K_SHELL},
                 {L1N67_LINE, "L1N67", L1_SHELL}, {L2Q1_LINE, "L2Q1", L2_SHELL},
                 {L3M5_LINE, "L3M5", L3_SHELL},   {L3O45_LINE, "L3O45", L3_SHELL},
                 {M1M2_LINE, "M1M2", M1_SHELL},   {M3Q1_LINE, "M3Q1", M3_SHELL},
                 {M5N7_LINE, "M5N7", M5_SHELL},   {M5P5_LINE, "M5P5", M5_SHELL}};
    for (const auto& c : cases) {
        EXPECT_EQ(line_name(c.code), c.name) << c.code;
        EXPECT_EQ(line_shell(c.code), c.shell) << c.name;
        ASSERT_NE(line_info(c.code), nullptr) << c.name;
        EXPECT_EQ(line_info(c.code)->code, c.code);
    }
    // The library's group codes and the N lines are not in the table.
    for (int code : {KA_LINE, LB_LINE, N1N2_LINE, 1000, -1000}) {
        EXPECT_EQ(line_name(code), "") << code;
        EXPECT_EQ(line_shell(code), -1) << code;
        EXPECT_EQ(line_info(code), nullptr) << code;
        EXPECT_FALSE(counted_line(82, code)) << code;
    }
}

TEST(LineTable, CombinedCodesAreExactlyTheLibrarysSums) {
    std::string combined;
    for (const LineInfo& l : line_table())
        if (l.combined()) combined += std::string(l.name) + " ";
    EXPECT_EQ(combined, "KO KP L1N67 L1O45 L1P23 L2P23 L3O45 L3P23 L3P45 ");
    const LineInfo* o45 = line_info(L3O45_LINE);
    EXPECT_EQ(o45->first_part, L3O4_LINE);
    EXPECT_EQ(o45->last_part, L3O5_LINE);
    const LineInfo* ko = line_info(KO_LINE);
    EXPECT_EQ(ko->first_part, KO1_LINE);
    EXPECT_EQ(ko->last_part, KO7_LINE);
}

// The radiative rates of a shell's counted lines add up to 1: every vacancy gives one
// photon or none, counted once. Lead's and platinum's L3O45 (1.8 % and 1.1 % of the
// L3 rates) are given only summed; leaving the sum out, or counting it beside parts
// of their own, would miss 1.
TEST(LineTable, EveryShellsCountedLinesAddUpToOne) {
    for (int Z : {29, 78, 82, 92})
        for (int shell : {kShellK, kShellL1, kShellL2, kShellL3}) {
            double sum = 0.0;
            for (const LineInfo& l : line_table())
                if (l.shell == shell && counted_line(Z, l.code)) sum += rad_rate(Z, l.code);
            if (Z == 29 && shell != kShellK) continue;  // copper's L lines have no rates
            EXPECT_NEAR(sum, 1.0, 1e-4) << Z << " shell " << shell;
        }
    EXPECT_TRUE(counted_line(82, L3O45_LINE));
    EXPECT_TRUE(counted_line(78, L3O45_LINE));
    EXPECT_TRUE(counted_line(82, L3M5_LINE));
    EXPECT_GT(rad_rate(82, L3O45_LINE), 0.017);
}

}  // namespace
}  // namespace lumetra::physics::xrl
