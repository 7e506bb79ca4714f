// Symbol lookup and edge energies.

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "common/dialogs.h"
#include "data/edges.h"
#include "data/symbols.h"

namespace lumetra::data {
namespace {

struct SymbolCase {
    std::string text;
    int z;
    double mass;
};

TEST(ZOfSymbol, ReferenceCases) {
    const SymbolCase cases[] = {
        {"Fe", 26, 55.85}, {"  Fe  ", 26, 55.85}, {"fe", -10, -10},   {"FE", -10, -10},
        {"N", 7, 14.01},   {"Q", 0, 0},           {"Fee", 0, 0},      {"", 0, 0},
        {"Ni", 28, 58.69}, {"Co", 27, 58.93},     {"U", 92, 238},     {"   ", 0, 0},
        {" Q ", 0, 0},     {"\tFe", 0, 0},        {"F e", 0, 0},      {"Fe\t", 0, 0},
        {"Xx", -10, -10},  {" H", 1, 1},          {"Bi ", 83, 209.4}, {"Po", 84, 210},
        {"Tc", 43, 99},    {"Te", 52, 127.6},     {"I", 53, 126.9},   {"Pa", 91, 231},
    };
    for (const SymbolCase& c : cases) {
        common::ScriptedDialogs dialogs;
        std::int16_t z = 123;
        double mass = 123;
        Z_of_symbol(c.text, z, mass, dialogs);
        EXPECT_EQ(z, c.z) << '"' << c.text << '"';
        EXPECT_EQ(mass, c.mass) << '"' << c.text << '"';
        EXPECT_TRUE(dialogs.shown().empty()) << '"' << c.text << '"';
    }
}

TEST(ZOfSymbol, ActiniumIsKnownWithoutMass) {
    common::ScriptedDialogs dialogs;
    std::int16_t z = 0;
    double mass = 5;
    Z_of_symbol(" Ac ", z, mass, dialogs);
    EXPECT_EQ(z, 89);
    EXPECT_EQ(mass, 0);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Ac is not supported");
}

TEST(ZOfSymbol, EverySymbolInPeriodicOrder) {
    std::istringstream symbols(
        "H He Li Be B C N O F Ne Na Mg Al Si P S Cl Ar K Ca Sc Ti V Cr Mn Fe Co Ni Cu Zn Ga Ge "
        "As Se Br Kr Rb Sr Y Zr Nb Mo Tc Ru Rh Pd Ag Cd In Sn Sb Te I Xe Cs Ba La Ce Pr Nd Pm "
        "Sm Eu Gd Tb Dy Ho Er Tm Yb Lu Hf Ta W Re Os Ir Pt Au Hg Tl Pb Bi Po At Rn Fr Ra Ac Th "
        "Pa U");
    std::string symbol;
    int expected = 0;
    double previous_mass = 0;
    while (symbols >> symbol) {
        ++expected;
        common::ScriptedDialogs dialogs;
        std::int16_t z = 0;
        double mass = 0;
        Z_of_symbol(symbol, z, mass, dialogs);
        EXPECT_EQ(z, expected) << symbol;
        if (expected == 89) continue;
        EXPECT_GT(mass, 0.9 * previous_mass) << symbol;  // masses grow but for a few swaps
        previous_mass = mass;
    }
    EXPECT_EQ(expected, 92);
}

struct EdgeCase {
    int z;
    int edge_in;
    int edge_out;
    double energy;
};

TEST(EdgeData, ReferenceCases) {
    const EdgeCase cases[] = {
        {26, -10, 10, 7.1109},
        {51, -10, 10, 30.485},
        {52, -10, -10, 4.3417},
        {52, 0, 0, 4.3417},
        {52, 1, 1, 31.81},
        {54, -10, -10, 4.779},
        {20, -10, 10, 4.038},
        {20, 10, 10, 4.038},
        {21, 0, 10, 4.4886},
        {83, 10, 10, 90.5334},
        {83, -10, -10, 13.4261},
        {74, 10, 10, 69.5052},
        {74, -32768, -32768, 10.1996},
        {74, 32767, 32767, 69.5052},
    };
    for (const EdgeCase& c : cases) {
        common::ScriptedDialogs dialogs;
        const std::int16_t z = static_cast<std::int16_t>(c.z);
        std::int16_t edge = static_cast<std::int16_t>(c.edge_in);
        double energy = -1;
        Edge_data(z, edge, energy, dialogs);
        EXPECT_EQ(edge, c.edge_out) << c.z;
        EXPECT_EQ(energy, c.energy) << c.z;
        EXPECT_TRUE(dialogs.shown().empty()) << c.z;
    }
}

TEST(EdgeData, EdgesRiseWithZAndL3StaysBelowK) {
    double previous_k = 0, previous_l3 = 0;
    for (int zi = 20; zi <= 83; ++zi) {
        common::ScriptedDialogs dialogs;
        const std::int16_t z = static_cast<std::int16_t>(zi);
        std::int16_t edge = 10;
        double k = 0, l3 = 0;
        Edge_data(z, edge, k, dialogs);
        EXPECT_GT(k, previous_k) << zi;
        previous_k = k;
        if (zi < 52) continue;
        edge = -10;
        Edge_data(z, edge, l3, dialogs);
        EXPECT_GT(l3, previous_l3) << zi;
        EXPECT_LT(l3, k / 3) << zi;
        previous_l3 = l3;
    }
}

TEST(EdgeData, UnsupportedAtomicNumbers) {
    const int light[] = {-32768, -10, -1, 0, 1, 19};
    const int heavy[] = {84, 89, 92, 1000, 32767};
    for (int zi : light) {
        common::ScriptedDialogs dialogs;
        const std::int16_t z = static_cast<std::int16_t>(zi);
        std::int16_t edge = -10;
        double energy = 7;
        Edge_data(z, edge, energy, dialogs);
        EXPECT_EQ(energy, 0) << zi;
        EXPECT_EQ(edge, -10) << zi;
        ASSERT_EQ(dialogs.shown().size(), 1u) << zi;
        EXPECT_EQ(dialogs.shown()[0].text, "too light element");
    }
    for (int zi : heavy) {
        common::ScriptedDialogs dialogs;
        const std::int16_t z = static_cast<std::int16_t>(zi);
        std::int16_t edge = -10;
        double energy = 7;
        Edge_data(z, edge, energy, dialogs);
        EXPECT_EQ(energy, 7) << zi;
        EXPECT_EQ(edge, -10) << zi;
        ASSERT_EQ(dialogs.shown().size(), 1u) << zi;
        EXPECT_EQ(dialogs.shown()[0].text, "heavy elements (Z>83) are not supported");
    }
}

TEST(EdgeData, SelectorPassedAsTheAtomicNumberItself) {
    // The selector is rewritten to 10 only after the number has been read.
    common::ScriptedDialogs dialogs;
    std::int16_t z_and_edge = 26;
    double energy = 0;
    Edge_data(z_and_edge, z_and_edge, energy, dialogs);
    EXPECT_EQ(z_and_edge, 10);
    EXPECT_EQ(energy, 7.1109);
}

}  // namespace
}  // namespace lumetra::data
