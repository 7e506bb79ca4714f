// Amounts as laboratories write them besides percentages: mass concentrations by
// weight (mg/kg, µg/g) and per litre of solution (g/L, mg/L), a mixture in brackets
// after "in", and unknown words; every one against a hand calculation, and odd or
// huge texts refused in words.

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <string>
#include <vector>

#include "chem/composition.h"

namespace lumetra::chem::testing {
namespace {

double A(int Z) {
    return AtomicWeight(Z, nullptr);
}  // g/mol
enum : int { H = 1, C = 6, O = 8, Al = 13, Si = 14, Cl = 17, Fe = 26, Cu = 29, Zn = 30 };
enum : int { As = 33, Cd = 48, Pb = 82 };

double weight_of(const ParsedComposition& c, const std::string& symbol) {
    for (const auto& e : c.elements)
        if (e.symbol == symbol) return e.weight_percent;
    return -1.0;
}
double content_of(const ParsedComposition& c, const std::string& symbol) {
    for (const auto& e : c.elements)
        if (e.symbol == symbol) return e.content;
    return -1.0;
}

TEST(LabForms, MassConcentrationsByWeightAreParts) {
    // 10 mg/kg Cd in SiO2: 1e-5 g Cd per g; x = (1e-5 / A_Cd) / (1e-5 / A_Cd + (1 - 1e-5) / M).
    const double M = A(Si) + 2 * A(O);
    const double ppm = (1e-5 / A(Cd)) / (1e-5 / A(Cd) + (1 - 1e-5) / M);
    const double ppb = (1e-8 / A(Cd)) / (1e-8 / A(Cd) + (1 - 1e-8) / M);
    for (const std::string unit : {"ppm", "mg/kg", "ug/g", "\xC2\xB5g/g", "\xCE\xBCg/g"}) {
        const ParsedComposition c = parse_composition("10 " + unit + " Cd in SiO2");
        ASSERT_EQ(c.blocking_problem(false), "") << unit;
        EXPECT_NEAR(content_of(c, "Cd") / ppm, 1.0, 1e-12) << unit;
        EXPECT_NEAR(weight_of(c, "Cd"), 1e-3, 1e-15) << unit;
        EXPECT_EQ(c.reading, "amounts by weight; ppm and ppb by weight; SiO2 takes the rest");
    }
    for (const std::string unit : {"ppb", "ng/g", "ug/kg", "\xC2\xB5g/kg"}) {
        const ParsedComposition c = parse_composition("10 " + unit + " Cd in SiO2");
        ASSERT_EQ(c.blocking_problem(false), "") << unit;
        EXPECT_NEAR(content_of(c, "Cd") / ppb, 1.0, 1e-12) << unit;
    }
    // Two traces by weight beside each other, and a unit that is not one.
    const ParsedComposition two = parse_composition("5 mg/kg Cd, 20 \xC2\xB5g/g Pb in SiO2");
    EXPECT_NEAR(weight_of(two, "Pb"), 2e-3, 1e-15);
    EXPECT_NEAR(weight_of(two, "Cd"), 5e-4, 1e-15);
    EXPECT_EQ(
        parse_composition("5 mg/kgCd in SiO2").blocking_problem(false),
        "the amount at position 1 needs a unit: wt%, at%, mol%, ppm, ppb, M, mM, \xC2\xB5M or "
        "nM");
}

TEST(LabForms, MassConcentrationsPerLitreWeighTheSolventsLitre) {
    // 25 mg/L Zn in water: 0.025 g Zn (0.025 / A_Zn mol) in a litre of 1000 g, the rest
    // 999.975 g of water.
    const double Mw = 2 * A(H) + A(O);
    const double nz = 0.025 / A(Zn), nw = (1000 - 0.025) / Mw;
    const double x = nz / (nz + nw);
    for (const std::string amount : {"25 mg/L", "25 mg/l", "0.025 g/L", "25000 ug/L",
                                     "25000 \xC2\xB5g/L", "25 ug/mL", "25000000 ng/L"}) {
        const ParsedComposition c = parse_composition(amount + " Zn in water");
        ASSERT_EQ(c.blocking_problem(false), "") << amount;
        EXPECT_NEAR(content_of(c, "Zn") / x, 1.0, 1e-12) << amount;
        EXPECT_NEAR(content_of(c, "H") / (2 * (1 - x)), 1.0, 1e-12) << amount;
        EXPECT_NEAR(weight_of(c, "Zn"), 0.0025, 1e-14) << amount;  // 0.025 g in 1000 g
        EXPECT_EQ(c.density, 1.0);
        EXPECT_EQ(c.density_source, "the solution, taken as dense as the solvent (water)");
        EXPECT_EQ(c.reading,
                  "grams per litre of solution; a litre of solution weighs as a litre of the "
                  "solvent, 1 g/cm3 (water)");
        EXPECT_EQ(c.elements[static_cast<std::size_t>(c.target)].symbol, "Zn");
    }
    // 2 g/L CuCl2 in ethanol of 0.7893 g/cm3: 789.3 g a litre, 787.3 g of it ethanol.
    const double Mc = A(Cu) + 2 * A(Cl), Me = 2 * A(C) + 6 * A(H) + A(O);
    const double nc = 2 / Mc, ne = (789.3 - 2) / Me;
    const ParsedComposition ethanol = parse_composition("2 g/L CuCl2 in C2H6O");
    ASSERT_EQ(ethanol.blocking_problem(false), "");
    EXPECT_NEAR(content_of(ethanol, "Cu") / (nc / (nc + ne)), 1.0, 1e-12);
    EXPECT_NEAR(weight_of(ethanol, "Cu"), 100 * 2 * A(Cu) / Mc / 789.3, 1e-12);
    // The solvent's density as given.
    const ParsedComposition given = parse_composition("2 g/L CuCl2 in C5H12 (density 0.5)");
    EXPECT_NEAR(weight_of(given, "Cu"), 100 * 2 * A(Cu) / Mc / 500, 1e-12);

    EXPECT_EQ(parse_composition("5 mg/L Pb").blocking_problem(false),
              "the concentration at position 1 needs a solvent: write '... in H2O'");
    EXPECT_EQ(parse_composition("5 mg/L Pb in C5H12").blocking_problem(false),
              "the density of the solvent C5H12 at position 14 is not known: write '... in "
              "C5H12 (density 0.8)' with its density in g/cm3");
    EXPECT_EQ(parse_composition("2000 g/L NaCl in water").blocking_problem(false),
              "the composition as a whole: the solutes weigh 2000 g in a litre of solution, "
              "which weighs 1000 g; there is no room for the solvent");
    EXPECT_EQ(parse_composition("1e300 g/L NaCl in water").blocking_problem(false),
              "the composition as a whole: the solutes weigh 1e+300 g in a litre of solution, "
              "which weighs 1000 g; there is no room for the solvent");
    EXPECT_EQ(parse_composition("1 mM CuCl2, 5 mg/L Pb in water").blocking_problem(false),
              "amounts of two kinds: concentrations (mol/L) at position 1 and concentrations "
              "(g/L) at position 13; write all amounts the same way");
}

TEST(LabForms, AMixtureInBracketsAfterIn) {
    // 50 ppm As in a rock of 60 wt% SiO2, 30 wt% Al2O3, 10 wt% Fe2O3: the rock is the
    // rest, 0.99995 of the weight, so Si is 0.99995 x 60 % x A_Si / M_SiO2, and so on.
    const double Ms = A(Si) + 2 * A(O), Ma = 2 * A(Al) + 3 * A(O), Mf = 2 * A(Fe) + 3 * A(O);
    const double rest = 1 - 5e-5;
    const std::string rock = "(60 wt% SiO2, 30 wt% Al2O3, 10 wt% Fe2O3)";
    const ParsedComposition c = parse_composition("50 ppm As in " + rock);
    ASSERT_EQ(c.blocking_problem(false), "");
    ASSERT_EQ(c.elements.size(), 5u);
    EXPECT_NEAR(weight_of(c, "As"), 5e-3, 1e-14);
    EXPECT_NEAR(weight_of(c, "Si") / (100 * rest * 0.6 * A(Si) / Ms), 1.0, 1e-12);
    EXPECT_NEAR(weight_of(c, "Al") / (100 * rest * 0.3 * 2 * A(Al) / Ma), 1.0, 1e-12);
    EXPECT_NEAR(weight_of(c, "Fe") / (100 * rest * 0.1 * 2 * A(Fe) / Mf), 1.0, 1e-12);
    // Contents: the rock's mean formula unit weighs 1 / sum(w_i / M_i) g/mol.
    const double per_gram = 0.6 / Ms + 0.3 / Ma + 0.1 / Mf;
    const double xa = (5e-5 / A(As)) / (5e-5 / A(As) + rest * per_gram);
    EXPECT_NEAR(content_of(c, "As") / xa, 1.0, 1e-12);
    EXPECT_NEAR(content_of(c, "Si") / ((1 - xa) * (0.6 / Ms) / per_gram), 1.0, 1e-12);
    EXPECT_EQ(c.elements[static_cast<std::size_t>(c.target)].symbol, "As");
    EXPECT_EQ(c.density, 2.32);  // the rock's main compound, silica
    EXPECT_EQ(c.density_source,
              "Silicon Dioxide in the NIST list, for the main compound SiO2 (the mixture in "
              "brackets)");
    // The same rules inside: a rest, ':' weights, a named material, brackets in brackets.
    const double w = weight_of(c, "Fe");
    EXPECT_NEAR(
        weight_of(parse_composition("50 ppm As in (60 wt% SiO2, 10 wt% Fe2O3, Al2O3)"), "Fe"), w,
        1e-12);
    EXPECT_NEAR(weight_of(parse_composition("50 ppm As in (SiO2:6, Al2O3:3, Fe2O3:1)"), "Fe"), w,
                1e-12);
    EXPECT_NEAR(
        weight_of(parse_composition("50 ppm As in (10 wt% Fe2O3 in (SiO2:2, Al2O3:1))"), "Fe"), w,
        1e-12);
    EXPECT_EQ(parse_composition("5 wt% PbO in (50 wt% kapton, 50 wt% air)").blocking_problem(false),
              "");
    // A formula in brackets stays a formula.
    EXPECT_EQ(parse_composition("1 wt% Cu in (NH4)2SO4").elements.size(), 5u);
    // A solution's solvent in brackets needs its density given.
    EXPECT_EQ(parse_composition("2 g/L CuCl2 in (90 wt% water, C2H6O)").blocking_problem(false),
              "the density of the solvent (90 wt% water, C2H6O) at position 16 is not known: "
              "write '... in (90 wt% water, C2H6O) (density 0.8)' with its density in g/cm3");
    EXPECT_EQ(parse_composition("2 g/L CuCl2 in (90 wt% water, C2H6O) (density 0.98)").density,
              0.98);
    // One compound alone in brackets: as without them, a named solvent with its density.
    const ParsedComposition lone = parse_composition("1 mM CuCl2 in (kapton)");
    ASSERT_EQ(lone.blocking_problem(false), "");
    EXPECT_EQ(lone.density, 1.42);
    EXPECT_EQ(lone.density_source,
              "the solution, taken as dense as the solvent (Kapton Polyimide Film in the NIST "
              "list)");
    EXPECT_EQ(weight_of(parse_composition("5 wt% Fe in (water)"), "Fe"), 5.0);
}

TEST(LabForms, ProblemsInBracketsStandWhereTheyAreInTheWholeText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"50 ppm As in (60 wt% SiO2, 30 wt% Al2O3, 11 wt% Fe2O3)",
         "the mixture in brackets at position 14: sum of weight fractions 101 %"},
        {"50 ppm As in (60 wt% SiO2, 40 wt% soil)",
         "unknown material or element 'soil' at position 35"},
        {"50 ppm As in (60 wt% SiO2, 40 wt% Al2O3", "missing ')' for '(' at position 14"},
        {"50 ppm As in (60 wt% SiO2, )", "missing compound before ')' at position 28"},
        {"50 ppm As in (60 wt% SiO2, 40 at% Al2O3)",
         "amounts of two kinds: weight percent at position 15 and atom percent at position 28; "
         "write all amounts the same way"},
        {"50 ppm As in (60 wt% SiO2 Al2O3)",
         "unexpected 'A' at position 27: separate the parts with ','"},
        {"10 mol% MgO in (50 wt% SiO2, 50 wt% Al2O3)",
         "(50 wt% SiO2, 50 wt% Al2O3) at position 16 has no formula unit, its elements being "
         "given by weight: write the amounts in wt% or at%"},
        {"5 wt% Fe in (1 wt% Np, SiO2)",
         "Np (Z 93) at position 20: the window holds the elements up to uranium (Z 92)"},
        // Words that are neither a formula nor a material.
        {"soil", "unknown material or element 'soil' at position 1"},
        {"5 wt% Fe2O3 in Soil", "unknown material or element 'Soil' at position 16"},
        {"10 wt% sand, 90 wt% SiO2", "unknown material or element 'sand' at position 8"},
        {"sea\xC2\xA0sand", "unknown material or element 'sea' at position 1"},
        {"Fe(kapton)2",
         "'kapton' at position 4 names a material: write it alone, not inside a formula"},
    };
    for (const auto& [text, message] : cases) {
        const ParsedComposition c = parse_composition(text);
        ASSERT_FALSE(c.problems.empty()) << text;
        EXPECT_EQ(c.problems.front().message, message) << text;
    }
}

TEST(LabForms, OddAndHugeTextsAreRefusedInWords) {
    // Brackets in brackets up to 8 levels; a ninth is refused where it opens.
    std::string deep = "SiO2";
    for (int level = 0; level < 8; ++level) deep = "(1 wt% Fe2O3 in " + deep + ")";
    EXPECT_EQ(parse_composition("1 ppm As in " + deep).blocking_problem(false), "");
    EXPECT_EQ(
        parse_composition("1 ppm As in (1 wt% Fe2O3 in " + deep + ")").blocking_problem(false),
        "mixtures in brackets nested too deeply at position 141 (at most 8 levels)");
    // As deep as the text allows.
    std::string endless;
    while (endless.size() + 13 <= 2000) endless += "1 wt% Fe in (";
    EXPECT_EQ(parse_composition(endless).blocking_problem(false),
              "mixtures in brackets nested too deeply at position 117 (at most 8 levels)");
    // Many names, and every prefix of texts of every new form: a result in words,
    // nothing but finite numbers.
    std::string names;
    while (names.size() < 1900) names += "kapton:1, ";
    names += "Fe:1";
    EXPECT_EQ(parse_composition(names).blocking_problem(false), "");
    for (const std::string text :
         {"50 ppm As in (60 wt% SiO2, 30 wt% Al2O3 (density 2.5), 10 wt% Fe2O3) (density 2.6)",
          "25 \xC2\xB5g/mL Zn, 3 mg/l Cu in Polyethylene Terephthalate (Mylar) (rho=1.4)",
          "1e-300 mg/kg Pb in boron nitride", "0.5 mg/L Cd in 1,2-dichloroethane"}) {
        for (std::size_t n = 0; n <= text.size(); ++n) {
            const ParsedComposition c = parse_composition(text.substr(0, n));
            EXPECT_TRUE(!c.problems.empty() || !c.elements.empty()) << n;
            for (const CompositionElement& e : c.elements) {
                EXPECT_TRUE(std::isfinite(e.content) && std::isfinite(e.weight_percent) &&
                            std::isfinite(e.atom_percent))
                    << text.substr(0, n);
            }
            EXPECT_TRUE(std::isfinite(c.density) && std::isfinite(c.formula_weight));
        }
    }
}

}  // namespace
}  // namespace lumetra::chem::testing
