// The edges the fundamental-parameter model can count the target at: the lines each
// edge offers an element, their names and keys, and what a chosen edge makes of a
// setup.

#include "physics/edge_choice.h"

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <algorithm>

#include "physics/scan.h"
#include "physics/settings.h"
#include "physics/validate.h"

namespace lumetra::physics {
namespace {

constexpr int kPb = 82;

bool holds(const std::vector<EdgeLine>& lines, const std::string& name) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const EdgeLine& l) { return l.name == name; });
}

TEST(EdgeLines, EachEdgeOffersTheElementsOwnLines) {
    const std::vector<EdgeLine> l2 = edge_lines_of(kPb, L2_SHELL);
    ASSERT_FALSE(l2.empty());
    // The strongest L2 line first: L-beta 1, the line counted when lead's L-alpha sits
    // on arsenic K-alpha.
    EXPECT_EQ(l2.front().name, "L-beta 1 (L2M4)");
    EXPECT_EQ(l2.front().codes, (std::vector<int>{L2M4_LINE}));
    EXPECT_TRUE(holds(l2, "L-gamma 1 (L2N4)"));
    for (const EdgeLine& l : l2) {
        for (int code : l.codes) {
            EXPECT_GT(RadRate(kPb, code, nullptr), 0.0) << l.name;
            EXPECT_GT(LineEnergy(kPb, code, nullptr), 0.0) << l.name;
        }
    }

    const std::vector<EdgeLine> m5 = edge_lines_of(kPb, M5_SHELL);
    ASSERT_FALSE(m5.empty());
    EXPECT_EQ(m5.front().name, "M-alpha 1&2 (M5N7+M5N6)");
    EXPECT_TRUE(holds(m5, "M-alpha 1 (M5N7)"));

    // L1: the singles of L-beta 3 and 4; their doublet lies 0.48 keV apart, wider than
    // a counting window, and is not offered; L-gamma 2&3, 0.12 keV apart, is.
    const std::vector<EdgeLine> l1 = edge_lines_of(kPb, L1_SHELL);
    EXPECT_TRUE(holds(l1, "L-beta 3 (L1M3)"));
    EXPECT_TRUE(holds(l1, "L-beta 4 (L1M2)"));
    EXPECT_FALSE(holds(l1, "L-beta 3&4 (L1M3+L1M2)"));
    EXPECT_TRUE(holds(l1, "L-gamma 2&3 (L1N2+L1N3)"));

    // Copper's K edge as the form lists it; no element, no shell, no lines.
    EXPECT_EQ(edge_lines_of(29, K_SHELL).front().name, "K-alpha 1&2 (KL3+KL2)");
    EXPECT_TRUE(edge_lines_of(0, K_SHELL).empty());
    EXPECT_TRUE(edge_lines_of(93, K_SHELL).empty());
    EXPECT_TRUE(edge_lines_of(kPb, 9).empty());
    EXPECT_TRUE(edge_lines_of(kPb, -1).empty());
    EXPECT_TRUE(edge_lines_of(26, M5_SHELL).empty());  // iron has no M5 lines
}

TEST(EdgeLines, NamesAndKeysReadBack) {
    EXPECT_EQ(edge_line_codes("L2M4", L2_SHELL), (std::vector<int>{L2M4_LINE}));
    EXPECT_EQ(edge_line_codes(" L-beta 1 (L2M4) ", L2_SHELL), (std::vector<int>{L2M4_LINE}));
    EXPECT_EQ(edge_line_codes("M5N7+M5N6", M5_SHELL), (std::vector<int>{M5N7_LINE, M5N6_LINE}));
    EXPECT_EQ(edge_line_key({M5N7_LINE, M5N6_LINE}), "M5N7+M5N6");
    // Another shell's line, a line twice, nothing, junk.
    for (const char* bad : {"L3M5", "L2M4+L2M4", "", "+", "L2M4+", "(", "()", "L-beta 1"})
        EXPECT_TRUE(edge_line_codes(bad, L2_SHELL).empty()) << bad;
    for (EdgeChoice e : edge_choices()) EXPECT_EQ(edge_choice_of(edge_choice_name(e)), e);
    EXPECT_FALSE(edge_choice_of("L4"));
    EXPECT_FALSE(edge_choice_of("k"));
}

TEST(EdgeLines, SettingsHoldTheEdgeAndTheirRule) {
    Settings p;
    EXPECT_EQ(edge_refusal(p), "");
    EXPECT_TRUE(set_setting(p, "edge", "L2"));
    EXPECT_TRUE(set_setting(p, "edgeline", "L-beta 1 (L2M4)"));
    EXPECT_EQ(p.edge_line, "L2M4");  // kept as its key
    EXPECT_EQ(edge_refusal(p), "");
    Settings q = p;
    EXPECT_TRUE(q == p);
    q.edge_line = "L2N4";
    EXPECT_FALSE(q == p);
    q = p;
    q.edge = EdgeChoice::L1;
    EXPECT_FALSE(q == p);
    // A new edge blanks the line of the old one.
    EXPECT_TRUE(set_setting(q, "edge", "L3"));
    EXPECT_EQ(q.edge_line, "");
    EXPECT_FALSE(set_setting(q, "edge", "L4"));
    EXPECT_EQ(q.edge, EdgeChoice::L3);
    EXPECT_TRUE(set_setting(q, "edgeline", "KL3"));
    EXPECT_EQ(edge_refusal(q), "\"KL3\" is not a line of the L3 edge.");
    Settings form;
    form.edge_line = "KL3";
    EXPECT_NE(edge_refusal(form), "");
}

Setup lead_in_silica(const Settings& p) {
    Setup s;
    s.sample = {{kPb, 0.01}, {14, 1.0}, {8, 2.0}};
    s.target_lines = {L3M5_LINE, L3M4_LINE};  // the form's L-alpha 1&2
    s.target_shell = L3_SHELL;
    s.E0 = 15.4;
    s.full_energy = 20.0;
    apply_settings(p, s);
    return s;
}

TEST(EdgeLines, AChosenEdgeMakesTheSetupsShellAndLines) {
    Settings p;
    // The form's choice stays.
    physics::Setup s = lead_in_silica(p);
    EXPECT_EQ(s.target_shell, L3_SHELL);
    EXPECT_EQ(s.target_lines, (std::vector<int>{L3M5_LINE, L3M4_LINE}));

    p.edge = EdgeChoice::L2;
    s = lead_in_silica(p);  // a blank line: the edge's first
    EXPECT_EQ(s.target_shell, L2_SHELL);
    EXPECT_EQ(s.target_lines, (std::vector<int>{L2M4_LINE}));
    EXPECT_DOUBLE_EQ(scan_edge(s), EdgeEnergy(kPb, L2_SHELL, nullptr));
    EXPECT_EQ(refusal(s), "");

    // A line the element does not give at that edge is refused with a reason.
    p.edge = EdgeChoice::M5;
    p.edge_line = "M5N7";
    s = lead_in_silica(p);
    EXPECT_EQ(s.target_lines, (std::vector<int>{M5N7_LINE}));
    s.sample.front().Z = 26;
    apply_settings(p, s);
    EXPECT_TRUE(s.target_lines.empty());
    EXPECT_EQ(edge_line_refusal(p, s), "The target element has no such line at the chosen edge.");
    p.edge = EdgeChoice::form;
    EXPECT_EQ(edge_line_refusal(p, s), "");
}

}  // namespace
}  // namespace lumetra::physics
