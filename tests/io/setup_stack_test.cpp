// The layers around the sample and the beam's filters in the setup file: written as
// version 2 only when a setup holds them, read back equal, and a bad entry refuses the
// whole file with its line and the layer's name.

#include <gtest/gtest.h>

#include <string>

#include "io/setup_format.h"
#include "physics/stack_settings.h"

namespace lumetra::io {
namespace {

WindowSetup layered() {
    WindowSetup s;
    s.planning.layers = {
        {false, "kapton", 7.5, 0.0}, {false, "Al", 12.0, 2.7}, {true, "SiO2", 1000.0, 2.2}};
    s.planning.beam_filters = {{"Al", 100.0}, {"Al2O3:3.95", 20.0}};
    return s;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(SetupStack, RoundTripAndTheVersionWritten) {
    const std::string plain = format_setup(WindowSetup{});
    EXPECT_NE(plain.find("\"version\": 1,"), std::string::npos);
    EXPECT_NE(plain.find("\"layers\": [],"), std::string::npos) << plain;

    const WindowSetup s = layered();
    ASSERT_EQ(check_setup(s), "");
    const std::string file = format_setup(s);
    EXPECT_NE(file.find("\"version\": 2,"), std::string::npos);
    EXPECT_NE(file.find("{\"side\": \"back\", \"composition\": \"SiO2\", \"thickness_um\": 1000, "
                        "\"density\": 2.2}"),
              std::string::npos)
        << file;
    const SetupParse back = parse_setup(file);
    ASSERT_TRUE(back.setup) << back.error;
    EXPECT_TRUE(*back.setup == s);
    EXPECT_EQ(format_setup(*back.setup), file);
    // The order of the list is the order from the front; a change of it is a change.
    WindowSetup swapped = s;
    std::swap(swapped.planning.layers[0], swapped.planning.layers[1]);
    EXPECT_FALSE(swapped == s);
    // A density left out is the suggested one.
    const SetupParse no_density = parse_setup(replaced(file, ", \"density\": 2.2}", "}"));
    ASSERT_TRUE(no_density.setup) << no_density.error;
    EXPECT_EQ(no_density.setup->planning.layers[2].density, 0.0);
}

TEST(SetupStack, ABadEntryRefusesTheFileWithItsLineAndName) {
    const std::string file = format_setup(layered());
    const auto refusal = [](const std::string& text) {
        const SetupParse r = parse_setup(text);
        EXPECT_FALSE(r.setup);
        return r.error;
    };
    const std::string kapton = "{\"side\": \"front\", \"composition\": \"kapton\"";
    int line = 1;
    for (std::size_t i = 0; i < file.find(kapton); ++i) line += file[i] == '\n';
    const std::string at = "Setup file line " + std::to_string(line) + ": ";

    EXPECT_EQ(refusal(replaced(file, "\"thickness_um\": 7.5", "\"thickness_um\": 0")),
              at + "Front layer 1: the thickness must be above 0 um.");
    EXPECT_EQ(refusal(replaced(file, "\"kapton\"", "\"Xx2O\"")).substr(0, at.size() + 30),
              at + "Front layer 1: the composition");
    EXPECT_EQ(refusal(replaced(file, "\"kapton\"", "\"  \"")),
              at + "Front layer 1: it has no composition.");
    EXPECT_EQ(refusal(replaced(file, "\"density\": 2.2", "\"density\": -1")).substr(0, 38),
              "Setup file line " + std::to_string(line + 2) + ": Back layer 1: the ");
    EXPECT_NE(refusal(replaced(file, "\"side\": \"front\"", "\"side\": \"top\""))
                  .find("\"front\" or \"back\""),
              std::string::npos);
    EXPECT_NE(refusal(replaced(file, ", \"thickness_um\": 7.5", "")).find("is missing"),
              std::string::npos);
    EXPECT_NE(refusal(replaced(file, "\"Al2O3:3.95\"", "\"Al2O3\"")).find("Beam filter 2: "),
              std::string::npos);
    EXPECT_NE(refusal(replaced(file, "\"thickness_um\": 7.5", "\"thickness_um\": \"7.5\""))
                  .find("must be a number"),
              std::string::npos);

    // Eight layers on each side are allowed; a ninth on either is one too many.
    WindowSetup many;
    for (int i = 0; i < 2 * physics::kMaxLayers; ++i)
        many.planning.layers.push_back({i % 2 == 0, "Al", 1.0, 0.0});
    EXPECT_EQ(check_setup(many), "");
    many.planning.layers.insert(many.planning.layers.begin() + 3, {false, "Al", 1.0, 0.0});
    EXPECT_EQ(check_setup(many), "At most 8 layers lie on each side of the sample.");
}

}  // namespace
}  // namespace lumetra::io
