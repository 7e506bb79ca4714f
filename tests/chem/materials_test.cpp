// Named materials against the reference physics library: the program's copy of the
// NIST list row by row, every name of it read as its material, the short names, and
// where a name stands in a text.

#include "chem/materials.h"

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <map>
#include <string>

#include "chem/composition.h"

namespace lumetra::chem::testing {
namespace {

using Shares = std::map<int, double>;  // weight fraction by Z

struct LibraryMaterial {
    bool found = false;
    double density = 0.0;
    Shares shares;  // normalised to a sum of 1
};

LibraryMaterial library_material(const std::string& name) {
    LibraryMaterial m;
    compoundDataNIST* data = GetCompoundDataNISTByName(name.c_str(), nullptr);
    if (!data) return m;
    m.found = true;
    m.density = data->density;
    double sum = 0.0;
    for (int i = 0; i < data->nElements; ++i) sum += data->massFractions[i];
    for (int i = 0; i < data->nElements; ++i)
        m.shares[data->Elements[i]] = data->massFractions[i] / sum;
    FreeCompoundDataNIST(data);
    return m;
}

Shares shares_of(const ParsedComposition& c) {
    Shares s;
    for (const CompositionElement& e : c.elements) s[e.Z] = e.weight_percent / 100.0;
    return s;
}

void expect_shares(const Shares& got, const Shares& want, double tolerance,
                   const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (const auto& [Z, w] : want) {
        ASSERT_EQ(got.count(Z), 1u) << what << " Z " << Z;
        EXPECT_NEAR(got.at(Z), w, tolerance) << what << " Z " << Z;
    }
}

TEST(NistMaterials, TheProgramsListIsTheLibrarysRowByRow) {
    int n = 0;
    char** names = GetCompoundDataNISTList(&n, nullptr);
    ASSERT_NE(names, nullptr);
    ASSERT_EQ(static_cast<std::size_t>(n), detail::kNistMaterialCount);
    std::size_t next_share = 0;
    for (int i = 0; i < n; ++i) {
        const detail::NistMaterial& m = detail::nist_materials()[static_cast<std::size_t>(i)];
        EXPECT_EQ(m.name, names[i]);
        compoundDataNIST* data = GetCompoundDataNISTByName(names[i], nullptr);
        ASSERT_NE(data, nullptr) << names[i];
        EXPECT_EQ(m.density, data->density) << names[i];
        EXPECT_EQ(m.first, next_share) << names[i];
        ASSERT_EQ(m.count, static_cast<std::size_t>(data->nElements)) << names[i];
        for (std::size_t k = 0; k < m.count; ++k) {
            const detail::MaterialShare& s = detail::nist_shares()[m.first + k];
            EXPECT_EQ(s.Z, data->Elements[k]) << names[i];
            EXPECT_EQ(s.fraction, data->massFractions[k]) << names[i];
        }
        next_share += m.count;
        FreeCompoundDataNIST(data);
        xrlFree(names[i]);
    }
    xrlFree(names);
    EXPECT_EQ(next_share, detail::kNistShareCount);
}

TEST(NistMaterials, EveryNameReadsAsItsMaterialInAnyCase) {
    for (const detail::NistMaterial& m : detail::nist_materials()) {
        const std::string name(m.name);
        const LibraryMaterial want = library_material(name);
        ASSERT_TRUE(want.found) << name;
        std::string upper = name;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        for (const std::string& text : {name, upper}) {
            const ParsedComposition c = parse_composition(text, "X");
            if (name == "Plutonium Dioxide") {  // beyond the window's uranium
                EXPECT_EQ(c.problems.at(0).message,
                          "Pu (Z 94) at position 1: the window holds the elements up to "
                          "uranium (Z 92)");
                continue;
            }
            ASSERT_FALSE(c.elements.empty()) << text << ": " << c.blocking_problem(true);
            // A compound of the formula list reads with its formula (shares within the
            // list's rounding), any other material with the list's own shares.
            expect_shares(shares_of(c), want.shares, 2e-3, text);
            EXPECT_EQ(c.density, want.density) << text;
            EXPECT_EQ(c.density_source, name + " in the NIST list") << text;
            EXPECT_TRUE(c.notes.empty()) << text;
        }
    }
    // By weight, exactly the list's shares: 100 atoms in the weights' proportions.
    const ParsedComposition concrete = parse_composition("concrete, portland", "Ca");
    ASSERT_EQ(concrete.blocking_problem(false), "");
    expect_shares(shares_of(concrete), library_material("Concrete, Portland").shares, 1e-12,
                  "concrete");
    double atoms = 0.0;
    for (const CompositionElement& e : concrete.elements) atoms += e.content;
    EXPECT_NEAR(atoms, 100.0, 1e-9);
}

TEST(NistMaterials, ShortNamesAndTheirDensities) {
    struct Short {
        std::string text;
        std::string nist;  // the list's material, or "" for a formula
        Shares formula_shares;
        double density;
        std::string source;
    };
    const double B = AtomicWeight(5, nullptr), N = AtomicWeight(7, nullptr);
    const double C = AtomicWeight(6, nullptr), H = AtomicWeight(1, nullptr);
    const double O = AtomicWeight(8, nullptr);
    const double cellulose = 6 * C + 10 * H + 5 * O;
    const std::vector<Short> cases = {
        {"kapton", "Kapton Polyimide Film", {}, 0, ""},
        {"Kapton", "Kapton Polyimide Film", {}, 0, ""},
        {"mylar", "Polyethylene Terephthalate (Mylar)", {}, 0, ""},
        {"AIR", "Air, Dry (near sea level)", {}, 0, ""},
        {"water", "Water, Liquid", {}, 0, ""},
        {"cellulose",
         "",
         {{6, 6 * C / cellulose}, {1, 10 * H / cellulose}, {8, 5 * O / cellulose}},
         1.5,
         "cellulose, C6H10O5"},
        {"boron \t nitride",
         "",
         {{5, B / (B + N)}, {7, N / (B + N)}},
         2.1,
         "hexagonal boron nitride, BN"},
    };
    for (const Short& s : cases) {
        const ParsedComposition c = parse_composition(s.text, "X");
        ASSERT_FALSE(c.elements.empty()) << s.text;
        EXPECT_TRUE(c.notes.empty()) << s.text;
        if (s.nist.empty()) {
            expect_shares(shares_of(c), s.formula_shares, 1e-12, s.text);
            EXPECT_EQ(c.density, s.density) << s.text;
            EXPECT_EQ(c.density_source, s.source) << s.text;
            continue;
        }
        const LibraryMaterial want = library_material(s.nist);
        ASSERT_TRUE(want.found) << s.nist;
        expect_shares(shares_of(c), want.shares, 2e-3, s.text);
        EXPECT_EQ(c.density, want.density) << s.text;
    }
    // Kapton and Mylar with their monomers' formulas: C22H10N2O5, C10H8O4.
    const ParsedComposition kapton = parse_composition("kapton", "X");
    ASSERT_EQ(kapton.elements.size(), 4u);
    EXPECT_EQ(kapton.elements[0].symbol, "C");
    EXPECT_EQ(kapton.elements[0].content, 22);
    // Every short name's material is in the list.
    for (const detail::ShortName& s : detail::short_names()) {
        if (s.nist.empty()) continue;
        EXPECT_TRUE(library_material(std::string(s.nist)).found) << s.name;
    }
}

TEST(NistMaterials, NamesInMixturesAndSolutions) {
    // 5 wt% PbO in Kapton: Pb is 5 % x A_Pb / (A_Pb + A_O); the density is Kapton's.
    const double Pb = AtomicWeight(82, nullptr), O = AtomicWeight(8, nullptr);
    const ParsedComposition lead = parse_composition("5 wt% PbO in Kapton Polyimide Film");
    ASSERT_EQ(lead.blocking_problem(false), "");
    EXPECT_NEAR(lead.elements[0].weight_percent, 5 * Pb / (Pb + O), 1e-12);
    EXPECT_EQ(lead.density, library_material("Kapton Polyimide Film").density);
    EXPECT_EQ(lead.density_source,
              "Kapton Polyimide Film in the NIST list, for the main compound Kapton Polyimide "
              "Film");
    // The longest name wins; a name must end where the text's word ends.
    EXPECT_EQ(parse_composition("propane, liquid").density,
              library_material("Propane, Liquid").density);
    EXPECT_EQ(parse_composition("5 wt% Fe, propane").density, library_material("Propane").density);
    EXPECT_EQ(parse_composition("airs").blocking_problem(false),
              "unknown material or element 'airs' at position 1");
    // Names of the list that letters in any case once read as symbols (B U Ta Ne).
    EXPECT_EQ(parse_composition("Butane").density, library_material("Butane").density);
    EXPECT_TRUE(parse_composition("Butane").notes.empty());
    // A solvent of the list brings its density; a name that starts with a digit.
    const ParsedComposition alcohol = parse_composition("1 mM CuCl2 in ethyl alcohol");
    ASSERT_EQ(alcohol.blocking_problem(false), "");
    EXPECT_EQ(alcohol.density, library_material("Ethyl Alcohol").density);
    EXPECT_EQ(parse_composition("10 wt% 1,2-Dichloroethane, 90 wt% Fe").blocking_problem(false),
              "");
    // Given by weight, a material has no moles.
    EXPECT_EQ(parse_composition("10 mol% MgO in air").blocking_problem(false),
              "air at position 16 has no formula unit, its elements being given by weight: "
              "write the amounts in wt% or at%");
    EXPECT_EQ(parse_composition("1 mM Blood (ICRP) in water").blocking_problem(false),
              "Blood (ICRP) at position 6 has no formula unit, its elements being given by "
              "weight: write its concentration in g/L or mg/L");
    EXPECT_EQ(parse_composition("1 at% Fe in air").blocking_problem(false), "");
    // A name written across lines is quoted on one.
    EXPECT_EQ(parse_composition("1 mM Blood\n\t(ICRP) in water").blocking_problem(false),
              "Blood (ICRP) at position 6 has no formula unit, its elements being given by "
              "weight: write its concentration in g/L or mg/L");
}

}  // namespace
}  // namespace lumetra::chem::testing
