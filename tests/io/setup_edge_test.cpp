// The fundamental-parameter model's edge in the setup file: written as version 2 only
// when it is not the form's, read back equal, version 1 files loading as before, and a
// bad edge or line refusing the file with its line.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "io/setup_format.h"

namespace lumetra::io {
namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The line of the file a text starts on, counted from 1.
int line_of(const std::string& file, const std::string& what) {
    const std::size_t at = file.find(what);
    return 1 +
           static_cast<int>(std::count(file.begin(), file.begin() + static_cast<long>(at), '\n'));
}

TEST(SetupEdge, RoundTripAtTheL1Edge) {
    const std::string plain = format_setup(WindowSetup{});
    EXPECT_NE(plain.find("\"version\": 1,"), std::string::npos);
    EXPECT_NE(plain.find("\"edge\": \"form\","), std::string::npos) << plain;

    WindowSetup s;
    s.target_symbol = "Pb";
    s.planning.model = physics::ModelKind::fp;
    s.planning.edge = physics::EdgeChoice::L1;
    s.planning.edge_line = "L1N2+L1N3";
    ASSERT_EQ(check_setup(s), "");
    const std::string file = format_setup(s);
    EXPECT_NE(file.find("\"version\": 2,"), std::string::npos);
    EXPECT_NE(file.find("\"edge\": \"L1\",\n    \"edge_line\": \"L1N2+L1N3\","), std::string::npos)
        << file;
    const SetupParse back = parse_setup(file);
    ASSERT_TRUE(back.setup) << back.error;
    EXPECT_TRUE(*back.setup == s);
    EXPECT_EQ(format_setup(*back.setup), file);
    // The line by its name reads as the same line; a blank one is the edge's first.
    const SetupParse named =
        parse_setup(replaced(file, "\"L1N2+L1N3\"", "\"L-gamma 2&3 (L1N2+L1N3)\""));
    ASSERT_TRUE(named.setup) << named.error;
    EXPECT_EQ(named.setup->planning.edge, physics::EdgeChoice::L1);
    EXPECT_EQ(named.setup->planning.edge_line, "L1N2+L1N3");
    EXPECT_EQ(check_setup(*named.setup), "");
}

TEST(SetupEdge, VersionOneFilesLoadAtTheFormsEdge) {
    // A file of the first version, written before the edge was kept: the form's edge.
    const std::string old =
        "{\"format\": \"lumetra-setup\", \"version\": 1, \"edge\": \"L3\", \"line\": "
        "\"L-alpha 1&2\", \"model\": \"fp\", \"planning\": {\"flux\": 1e10}}";
    const SetupParse r = parse_setup(old);
    ASSERT_TRUE(r.setup) << r.error;
    EXPECT_TRUE(r.setup->l3_edge);
    EXPECT_EQ(r.setup->planning.edge, physics::EdgeChoice::form);
    EXPECT_EQ(r.setup->planning.edge_line, "");
    EXPECT_EQ(r.setup->planning.flux, 1e10);
    // Written again it stays version 1: nothing in it needs the later format.
    EXPECT_NE(format_setup(*r.setup).find("\"version\": 1,"), std::string::npos);
}

TEST(SetupEdge, BadEdgesAndLinesRefuseTheFileWithTheirLine) {
    WindowSetup s;
    s.planning.edge = physics::EdgeChoice::L2;
    s.planning.edge_line = "L2M4";
    const std::string file = format_setup(s);
    const int edge_line = line_of(file, "\"edge\": \"L2\"");
    const int line_line = line_of(file, "\"edge_line\"");
    const auto error = [](const std::string& text) {
        const SetupParse r = parse_setup(text);
        EXPECT_FALSE(r.setup);
        return r.error;
    };
    const std::string at_edge = "Setup file line " + std::to_string(edge_line) + ": ";
    const std::string at_line = "Setup file line " + std::to_string(line_line) + ": ";
    const std::string choices =
        "\"planning.edge\" must be \"form\", \"K\", \"L1\", \"L2\", \"L3\" or \"M5\".";
    EXPECT_EQ(error(replaced(file, "\"edge\": \"L2\"", "\"edge\": \"L4\"")), at_edge + choices);
    EXPECT_EQ(error(replaced(file, "\"edge\": \"L2\"", "\"edge\": \" L2\"")), at_edge + choices);
    EXPECT_EQ(error(replaced(file, "\"edge\": \"L2\"", "\"edge\": 2")),
              at_edge + "\"planning.edge\" must be a text in double quotes.");
    EXPECT_EQ(error(replaced(file, "\"L2M4\"", "\"L3M5\"")),
              at_line + "\"L3M5\" is not a line of the L2 edge.");
    EXPECT_EQ(error(replaced(file, "\"L2M4\"", "true")),
              at_line + "\"planning.edge_line\" must be a text in double quotes.");
    EXPECT_EQ(error(replaced(file, "\"edge\": \"L2\"", "\"edge\": \"form\"")),
              at_line + "The form's edge takes its line from the form: the line must be blank.");
    // A setup that breaks the rule is not saved either.
    s.planning.edge_line = "nothing";
    EXPECT_EQ(check_setup(s), "\"nothing\" is not a line of the L2 edge.");
}

}  // namespace
}  // namespace lumetra::io
