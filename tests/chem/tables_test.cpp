// The composition language's own tables against the reference physics library:
// every element's symbol, weight and density, and every compound of the NIST list
// with its density and elements; then every symbol and every name as the reader
// takes them.

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <map>
#include <string>

#include "chem/composition.h"
#include "chem/compounds.h"
#include "chem/elements.h"
#include "chem/reader.h"

namespace lumetra::chem::testing {
namespace {

// A library call that may fail: -1 on an error.
template <typename Call>
double library(Call call) {
    xrl_error* error = nullptr;
    const double v = call(&error);
    if (!error) return v;
    xrl_error_free(error);
    return -1.0;
}

TEST(ChemTables, EveryElementAsTheLibraryHasIt) {
    for (int Z = 1; Z <= kLastZ; ++Z) {
        char* symbol = AtomicNumberToSymbol(Z, nullptr);
        ASSERT_NE(symbol, nullptr) << Z;
        EXPECT_EQ(symbol_of(Z), symbol) << Z;
        EXPECT_EQ(symbol_exact(symbol), Z) << symbol;
        xrlFree(symbol);
        // Exactly the library's numbers: the preview shows what the model calculates with.
        EXPECT_EQ(atomic_weight(Z), library([&](xrl_error** e) { return AtomicWeight(Z, e); }))
            << Z;
        EXPECT_EQ(element_density(Z), library([&](xrl_error** e) { return ElementDensity(Z, e); }))
            << Z;
        EXPECT_FALSE(name_of(Z).empty()) << Z;
    }
    for (const int Z : {-1, 0, kLastZ + 1}) {
        EXPECT_EQ(symbol_of(Z), "") << Z;
        EXPECT_EQ(name_of(Z), "") << Z;
        EXPECT_EQ(atomic_weight(Z), 0.0) << Z;
        EXPECT_EQ(element_density(Z), 0.0) << Z;
    }
    EXPECT_EQ(symbol_exact("co"), 0);
    EXPECT_EQ(symbol_any_case("co"), 27);
    EXPECT_EQ(symbol_any_case("Xx"), 0);
}

TEST(ChemTables, EveryNistCompoundReadsAsTheLibrarysCompound) {
    for (const detail::NistCompound& c : detail::nist_compounds()) {
        const std::string name(c.name);
        compoundDataNIST* data = GetCompoundDataNISTByName(name.c_str(), nullptr);
        ASSERT_NE(data, nullptr) << name;
        EXPECT_EQ(c.density, data->density) << name;
        std::map<int, double> expected;  // mass fractions by Z
        for (int i = 0; i < data->nElements; ++i)
            expected[data->Elements[i]] = data->massFractions[i];
        FreeCompoundDataNIST(data);

        // The formula belongs to the name: the same elements in the same shares by
        // weight, within the rounding of the list's fractions.
        std::vector<std::string> notes;
        detail::Reader reader(c.formula, notes);
        detail::Formula f;
        ASSERT_TRUE(reader.formula_only(f)) << c.formula;
        EXPECT_TRUE(notes.empty()) << c.formula;
        ASSERT_EQ(f.atoms.size(), expected.size()) << c.formula;
        for (const detail::Atom& a : f.atoms) {
            ASSERT_EQ(expected.count(a.Z), 1u) << c.formula << " " << a.Z;
            EXPECT_NEAR(a.n * atomic_weight(a.Z) / f.weight(), expected[a.Z], 2e-3)
                << c.formula << " " << a.Z;
        }
        EXPECT_EQ(detail::nist_compound_of(f), &c) << c.formula;
    }
}

TEST(ChemTables, EverySymbolUpToUraniumReadsWithItsWeightAndDensity) {
    for (int Z = 1; Z <= kLastZ; ++Z) {
        const std::string symbol(symbol_of(Z));
        const ParsedComposition c = parse_composition(symbol, "X");
        if (Z > 92) {
            ASSERT_EQ(c.problems.size(), 1u) << symbol;
            EXPECT_EQ(c.problems[0].message,
                      symbol + " (Z " + std::to_string(Z) +
                          ") at position 1: the window holds the elements up to uranium (Z 92)");
            continue;
        }
        if (Z == 89) {
            EXPECT_EQ(c.blocking_problem(true),
                      "Ac at position 1: actinium has no data in the window");
            continue;
        }
        ASSERT_EQ(c.elements.size(), 1u) << symbol;
        EXPECT_EQ(c.formula_weight, AtomicWeight(Z, nullptr)) << symbol;
        EXPECT_EQ(c.density, ElementDensity(Z, nullptr)) << symbol;
        EXPECT_EQ(c.density_source, "the element " + std::string(name_of(Z))) << symbol;
        // Doubled in a formula, the weight doubles.
        EXPECT_EQ(parse_composition(symbol + "2", "X").formula_weight, 2 * c.formula_weight);
    }
}

TEST(ChemTables, EveryElementNameIsRefusedWithItsSymbol) {
    for (int Z = 1; Z <= kLastZ; ++Z) {
        const std::string name(name_of(Z));
        EXPECT_EQ(parse_composition(name).blocking_problem(false),
                  "'" + name + "' at position 1 is the name of " + name + ": write its symbol, " +
                      std::string(symbol_of(Z)))
            << name;
    }
}

}  // namespace
}  // namespace lumetra::chem::testing
