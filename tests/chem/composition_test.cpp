// Compositions as a laboratory writes them: the contents of every form against
// hand calculations (atomic weights straight from the physics library), and every
// problem with its words and position.

#include "chem/composition.h"

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace lumetra::chem::testing {
namespace {

double A(int Z) {
    return AtomicWeight(Z, nullptr);
}  // g/mol
enum : int { H = 1, N = 7, O = 8, Si = 14, S = 16, Cl = 17, Fe = 26 };
enum : int { Cu = 29, Zn = 30, As = 33, Se = 34 };

double weight_of(const ParsedComposition& c, const std::string& symbol) {
    for (const auto& e : c.elements)
        if (e.symbol == symbol) return e.weight_percent;
    return -1.0;
}

struct Expected {
    std::string text;
    std::vector<std::pair<std::string, double>> contents;
    std::string target;
    std::pair<std::string, double> weight_percent;  // one element's wt%, checked too
};

TEST(Composition, EveryFormGivesTheHandCalculatedContents) {
    // 5 wt% Fe2O3 in SiO2: per 100 g, 5/M1 mol Fe2O3 (M1 = 2 A_Fe + 3 A_O = 159.7) and
    // 95/M2 mol SiO2 (M2 = A_Si + 2 A_O = 60.09); with x1 = m1 / (m1 + m2) = 0.01942,
    // Fe = 2 x1 = 0.03884, Si = 1 - x1, O = 3 x1 + 2 (1 - x1); Fe is 5 % x 111.7/159.7 = 3.497 wt%.
    const double M1 = 2 * A(Fe) + 3 * A(O), M2 = A(Si) + 2 * A(O);
    const double x1 = (5 / M1) / (5 / M1 + 95 / M2);
    const std::vector<std::pair<std::string, double>> fe_in_silica = {
        {"Fe", 2 * x1}, {"O", 3 * x1 + 2 * (1 - x1)}, {"Si", 1 - x1}};
    // 1 mM Cu(NO3)2 in water: 1 mmol (Ms = 187.56 g/mol, 0.18756 g) in a litre weighing
    // 1000 g leaves 999.81 g water = 55.48 mol; xs = 0.001 / (0.001 + 55.48) = 1.802e-5.
    const double Ms = A(Cu) + 2 * A(N) + 6 * A(O), Mw = 2 * A(H) + A(O);
    const double xs = 0.001 / (0.001 + (1000 - 0.001 * Ms) / Mw);
    // 0.1 M and 100 uM ZnCl2 in water likewise with Mz = A_Zn + 2 A_Cl = 136.3 g/mol.
    const double Mz = A(Zn) + 2 * A(Cl);
    const double xz = 0.1 / (0.1 + (1000 - 0.1 * Mz) / Mw);
    const double xu = 1e-4 / (1e-4 + (1000 - 1e-4 * Mz) / Mw);
    // 200 ppm As in SiO2: 2e-4/A_As mol As and 0.9998/M2 mol SiO2 in a gram.
    const double xa = (2e-4 / A(As)) / (2e-4 / A(As) + 0.9998 / M2);
    // 50 ppb Se in H2O.
    const double xe = (5e-8 / A(Se)) / (5e-8 / A(Se) + (1 - 5e-8) / Mw);
    // 1 at% Pt in Al2O3: 1 Pt atom with 99 atoms = 19.8 Al2O3 units; x = 1/20.8.
    const double xp = 1 / 20.8;
    // CuSO4·5H2O: Cu 1, S 1, O 4 + 5, H 10; Cu is 63.54/249.7 = 25.45 wt%.
    const double Mh = A(Cu) + A(S) + 9 * A(O) + 10 * A(H);
    const std::vector<std::pair<std::string, double>> hydrate = {
        {"Cu", 1}, {"S", 1}, {"O", 9}, {"H", 10}};

    const std::vector<Expected> cases = {
        {"Fe2O3", {{"Fe", 2}, {"O", 3}}, "Fe", {"Fe", 100 * 2 * A(Fe) / M1}},
        {"fe2o3", {{"Fe", 2}, {"O", 3}}, "Fe", {"O", 100 * 3 * A(O) / M1}},
        {"Ca5(PO4)3OH", {{"Ca", 5}, {"P", 3}, {"O", 13}, {"H", 1}}, "Ca", {}},
        {"[Co(NH3)6]Cl3", {{"Co", 1}, {"N", 6}, {"H", 18}, {"Cl", 3}}, "Co", {}},
        {"CuSO4\xC2\xB7"
         "5H2O",
         hydrate,
         "Cu",
         {"Cu", 100 * A(Cu) / Mh}},
        {"CuSO4.5H2O", hydrate, "Cu", {"H", 100 * 10 * A(H) / Mh}},
        {"CuSO4*5H2O", hydrate, "Cu", {}},
        {"Mn0.5Fe0.5O", {{"Mn", 0.5}, {"Fe", 0.5}, {"O", 1}}, "Fe", {}},
        {"5 wt% Fe2O3, 95 wt% SiO2", fe_in_silica, "Fe", {"Fe", 5 * 2 * A(Fe) / M1}},
        {"Fe2O3:5, SiO2:95", fe_in_silica, "Fe", {"Fe", 5 * 2 * A(Fe) / M1}},
        {"Fe2O3:1, SiO2:19", fe_in_silica, "Fe", {}},
        {"5 % Fe2O3 in SiO2", fe_in_silica, "Fe", {}},
        // A thin space and a narrow no-break space between number and unit.
        {"5\xE2\x80\x89wt% Fe2O3,\xE2\x80\xAF"
         "95\xE2\x80\xAFwt% SiO2",
         fe_in_silica,
         "Fe",
         {}},
        {"5 wt% of Fe2O3; SiO2", fe_in_silica, "Fe", {}},
        {"1 at% Pt in Al2O3", {{"Pt", xp}, {"Al", 2 * (1 - xp)}, {"O", 3 * (1 - xp)}}, "Pt", {}},
        {"10 mol% MgO in Fe2O3", {{"Mg", 0.1}, {"O", 0.1 + 2.7}, {"Fe", 1.8}}, "Fe", {}},
        {"200 ppm As in SiO2",
         {{"As", xa}, {"Si", 1 - xa}, {"O", 2 * (1 - xa)}},
         "As",
         {"As", 0.02}},
        {"50 ppb Se in H2O", {{"Se", xe}, {"H", 2 * (1 - xe)}, {"O", 1 - xe}}, "Se", {"Se", 5e-6}},
        {"1 mM Cu(NO3)2 in H2O",
         {{"Cu", xs}, {"N", 2 * xs}, {"O", 6 * xs + 1 - xs}, {"H", 2 * (1 - xs)}},
         "Cu",
         {}},
        {"1 mM Cu(NO3)2 in water (density 1.0)",
         {{"Cu", xs}, {"N", 2 * xs}, {"O", 6 * xs + 1 - xs}, {"H", 2 * (1 - xs)}},
         "Cu",
         {}},
        {"0.1 M ZnCl2 in water",
         {{"Zn", xz}, {"Cl", 2 * xz}, {"H", 2 * (1 - xz)}, {"O", 1 - xz}},
         "Zn",
         {}},
        {"100 \xC2\xB5M ZnCl2 in water",
         {{"Zn", xu}, {"Cl", 2 * xu}, {"H", 2 * (1 - xu)}, {"O", 1 - xu}},
         "Zn",
         {}},
    };
    for (const Expected& x : cases) {
        const ParsedComposition c = parse_composition(x.text);
        ASSERT_EQ(c.blocking_problem(false), "") << x.text;
        ASSERT_EQ(c.elements.size(), x.contents.size()) << x.text;
        for (std::size_t k = 0; k < x.contents.size(); ++k) {
            EXPECT_EQ(c.elements[k].symbol, x.contents[k].first) << x.text;  // order of the text
            EXPECT_NEAR(c.elements[k].content / x.contents[k].second, 1.0, 1e-12) << x.text;
        }
        EXPECT_EQ(c.elements[static_cast<std::size_t>(c.target)].symbol, x.target) << x.text;
        if (!x.weight_percent.first.empty()) {
            EXPECT_NEAR(weight_of(c, x.weight_percent.first) / x.weight_percent.second, 1.0, 1e-12)
                << x.text;
        }
    }
}

TEST(Composition, ProblemsNameTheirKindAndPosition) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"",
         "nothing to read: write a formula such as Fe2O3 or a mixture such as 5 wt% Fe2O3, "
         "95 wt% SiO2"},
        {" \t ",
         "nothing to read: write a formula such as Fe2O3 or a mixture such as 5 wt% "
         "Fe2O3, 95 wt% SiO2"},
        {"Fe2O3Xx", "unknown element 'Xx' at position 6"},
        {"\xC2\xB7"
         "Fe",
         "unexpected '\xC2\xB7' at position 1"},
        {"CuSO4\xC2\xB7"
         "5Qq",
         "unknown element 'Qq' at position 8"},  // characters, not bytes
        {"5 wt% Fe2O3, 98 wt% SiO2", "the composition as a whole: sum of weight fractions 103 %"},
        {"1 at% Pt, 98 at% Al", "the composition as a whole: sum of atom fractions 99 %"},
        {"60 wt% Fe2O3, 40 wt% Al2O3 in SiO2",
         "sum of weight fractions 100 % leaves nothing for SiO2 at position 31"},
        {"-5 wt% Fe2O3, 105 wt% SiO2", "negative amount at position 1"},
        {"Fe2O3:-1, SiO2:2", "negative amount at position 7"},
        {"0 wt% Fe2O3, 100 wt% SiO2", "zero amount of Fe2O3 at position 1"},
        {"150 wt% Fe", "amount 150 wt% of Fe at position 1 is above 100 %"},
        {"2000000 ppm As in SiO2", "amount 2000000 ppm of As at position 1 is above 100 %"},
        {"Fe:1e16, O:1", "amount 1e16 of Fe at position 4 is too large (at most 1E+15)"},
        {"1e400 ppm As in SiO2", "the number at position 1 is out of range"},
        {"O0", "zero count at position 2"},
        {"Fe10000000", "count 10000000 at position 3 is too large (at most 1000000)"},
        {"5 Fe2O3",
         "the amount at position 1 needs a unit: wt%, at%, mol%, ppm, ppb, M, mM, "
         "\xC2\xB5M or nM"},
        {"5 wt%", "missing compound after the amount at position 1"},
        {"Fe2O3 SiO2", "unexpected 'S' at position 7: separate the parts with ','"},
        {"Fe2((O3)", "missing ')' for '(' at position 4"},
        {"Fe(O]", "'(' at position 3 is closed by ']' at position 5"},
        {"Fe2O3)", "')' at position 6 closes nothing"},
        {"Fe()", "empty brackets at position 3"},
        {"((((((((((Fe))))))))))", "brackets nested too deeply at position 9 (at most 8 levels)"},
        {"Cu(NO3)2\xC2\xB7", "missing formula after the dot at position 9"},
        {"Fe2O3 in SiO2", "no amount for Fe2O3 at position 1"},
        {"Fe2O3:1, SiO2",
         "no amount for SiO2 at position 10: with ':' weights, every compound "
         "needs its weight"},
        {"5 wt% Fe2O3, 2 at% Pt in SiO2",
         "amounts of two kinds: weight percent at position 1 and "
         "atom percent at position 14; write all amounts the "
         "same way"},
        {"1 mM CuCl2", "the concentration at position 1 needs a solvent: write '... in H2O'"},
        {"1 mM CuCl2 in C5H12",
         "the density of the solvent C5H12 at position 15 is not known: write '... in "
         "C5H12 (density 0.8)' with its density in g/cm3"},
        {"1 mM CuCl2 in H2O (density 0)",
         "density 0 at position 28: a density lies from 0.0001 to 30 g/cm3"},
        {"10 M PbI2 in water",
         "the composition as a whole: the solutes weigh 4610 g in a litre of solution, which "
         "weighs "
         "1000 g; there is no room for the solvent"},
        {"Fe2O3, SiO2 (density 2)",
         "the density at position 13 belongs after a lone compound or "
         "after the compound after 'in'"},
        {"1e-20 ppb Se in water",
         "Se at position 11 would make only 1e-29 of the weight; the least that can be "
         "written is 1e-15"},
        {"Np", "Np (Z 93) at position 1: the window holds the elements up to uranium (Z 92)"},
        {"Ac2O3", "Ac at position 1: actinium has no data in the window"},
        {"MgO",
         "the composition as a whole: no element can be the target: the target is an element "
         "from calcium (Z 20) to bismuth (Z 83)"},
        {std::string(2001, 'H'),
         "the composition as a whole: text too long: 2001 characters (at most 2000)"},
        // Letters that only a word, not a formula, explains.
        {"waterH",
         "'waterH' at position 1: the word water runs into other letters; write water alone, "
         "or H2O in a formula"},
        {"5 wt% Fe2O3inSiO2",
         "'in' at position 12 runs into 'SiO': leave a blank on each side of 'in'"},
        {"iron", "'iron' at position 1 is the name of iron: write its symbol, Fe"},
        {"Cu(NO3)2 in tin", "'tin' at position 13 is the name of tin: write its symbol, Sn"},
        {"carbonate",
         "'carbonate' at position 1: 9 letters that are no symbols as written, more than a "
         "formula has; write the symbols with their capitals (Fe2O3)"},
        {"FeCoo", "'Coo' at position 3: a symbol is a capital and at most one small letter"},
        // Counts that no compound has, or that read two ways.
        {"CuSO4.5.5H2O",
         "count 4.5.5 at position 5 has two full stops and reads two ways: write a hydrate "
         "with '\xC2\xB7' (CuSO4\xC2\xB7"
         "5H2O) and a count with one decimal point"},
        {"((((((((Fe1000000)1000000)1000000)1000000)1000000)1000000)1000000)1000000)1000000",
         "the counts up to position 25 give 1e+12 atoms of Fe in one formula unit (at most "
         "1000000)"},
        {"Fe\xC2\xB7"
         "1000(H2O)600",
         "the counts up to position 15 give 1200000 atoms of H in one formula unit (at most "
         "1000000)"},
        {"CuSO4\xC2\xB7"
         "1000(H2O)1000",
         "the counts up to position 19 give 1000004 atoms of O in one formula unit (at most "
         "1000000)"},
        {"H1000000H1",
         "the counts up to position 10 give 1000001 atoms of H in one formula unit "
         "(at most 1000000)"},
        {"Fe1e308",
         "count 1e308 at position 3: a count in a formula is written without an exponent"},
        {"Fe" + std::string(400, '7'),
         "count " + std::string(40, '7') +
             "\xE2\x80\xA6 at position 3 is too large (at most 1000000)"},
        {"1e-300 M Fe in H2O (density 1e-300)",
         "density 1e-300 at position 29: a density lies from 0.0001 to 30 g/cm3"},
        {"Fe (density 30.5)",
         "density 30.5 at position 13: a density lies from 0.0001 to 30 g/cm3"},
        {"1e-300 M Fe in H2O",
         "Fe at position 10 would make only 5.59e-302 of the weight; the least that can be "
         "written is 1e-15"},
        // Where the text ends too soon, and characters that are no unit.
        {"Fe(",
         "unexpected end of text after '(' at position 3: a formula and its closing bracket "
         "should follow"},
        {"Fe[",
         "unexpected end of text after '[' at position 3: a formula and its closing bracket "
         "should follow"},
        {"Fe,", "unexpected end of text after ',' at position 3: a compound should follow"},
        {"Fe;O; ", "unexpected end of text after ';' at position 5: a compound should follow"},
        {"5\xEF\xBC\x85 Fe in SiO2",
         "unexpected '\xEF\xBC\x85' at position 2: the amount at position 1 needs a unit: wt%, "
         "at%, "
         "mol%, ppm, ppb, M, mM, \xC2\xB5M or nM"},
        {"5.",
         "full stop at position 2 after the amount at position 1: write the amount without it "
         "(5 or 5.0) and a unit"},
        {"0 wt% " + std::string(60, 'H') + "Fe in SiO2",
         "zero amount of " + std::string(40, 'H') + "\xE2\x80\xA6 at position 1"},
        {"Fe:1, " + std::string(50, 'O') + "2",
         "no amount for " + std::string(40, 'O') +
             "\xE2\x80\xA6 at position 7: with ':' weights, every compound needs its weight"},
        // Bytes that are no UTF-8: overlong, surrogate, above U+10FFFF, F5..FF, cut short.
        {"Fe\xC0\xAF", "invalid UTF-8 at byte 3: the text must be UTF-8"},
        {"Fe2O3\xED\xA0\x80", "invalid UTF-8 at byte 6: the text must be UTF-8"},
        {"\xF4\x90\x80\x80", "invalid UTF-8 at byte 1: the text must be UTF-8"},
        {"\xE0\x80\xAF", "invalid UTF-8 at byte 1: the text must be UTF-8"},
        {"Cu\xF5", "invalid UTF-8 at byte 3: the text must be UTF-8"},
        {"Fe\xFF", "invalid UTF-8 at byte 3: the text must be UTF-8"},
        {"\xC2\xB5\xE2\x80", "invalid UTF-8 at byte 3: the text must be UTF-8"},
    };
    for (const auto& [text, message] : cases) {
        const ParsedComposition c = parse_composition(text);
        ASSERT_FALSE(c.problems.empty()) << text;
        EXPECT_EQ(c.problems.front().message, message) << text;
        EXPECT_FALSE(c.problems.front().acceptable) << text;
        EXPECT_EQ(c.blocking_problem(true), message) << text;
        // Every refusal says where, or that it is about the whole composition.
        const bool placed = message.find("position ") != std::string::npos ||
                            message.rfind("invalid UTF-8 at byte ", 0) == 0 ||
                            message.rfind("the composition as a whole: ", 0) == 0 ||
                            message.rfind("nothing to read", 0) == 0;
        EXPECT_TRUE(placed) << message;
    }
}

TEST(Composition, SymbolsInAnyCaseWithANoteWhereTheReadingIsAChoice) {
    const std::vector<std::pair<std::string, std::string>> notes = {
        {"co", "read \"co\" as cobalt (Co); write CO for carbon monoxide"},
        {"co2", "read \"co\" as cobalt (Co); write CO for carbon and oxygen"},
        {"CO", "read \"CO\" as carbon and oxygen (CO); write Co for cobalt"},
        {"caco3",
         "read \"caco\" as calcium and cobalt (CaCo); write CaCO for calcium, carbon and "
         "oxygen"},
        {"SIO2",
         "read \"SIO\" as sulfur, iodine and oxygen (SIO); write SiO for silicon and "
         "oxygen"},
    };
    for (const auto& [text, note] : notes) {
        const ParsedComposition c = parse_composition(text, "S");  // a target for all
        EXPECT_EQ(c.notes, std::vector<std::string>{note}) << text;
    }
    // Unambiguous: no note, the same contents as written properly.
    for (const auto& [loose, proper] :
         {std::pair{"fe2o3", "Fe2O3"}, {"NACL", "NaCl"}, {"FE2O3", "Fe2O3"}, {"cuSO4", "CuSO4"}}) {
        const ParsedComposition a = parse_composition(loose, "Cl");
        const ParsedComposition b = parse_composition(proper, "Cl");
        ASSERT_EQ(a.elements.size(), b.elements.size()) << loose;
        for (std::size_t k = 0; k < a.elements.size(); ++k) {
            EXPECT_EQ(a.elements[k].Z, b.elements[k].Z) << loose;
            EXPECT_EQ(a.elements[k].content, b.elements[k].content) << loose;
        }
    }
    EXPECT_TRUE(parse_composition("fe2o3").notes.empty());

    // Every symbol the window holds reads as the library's element of that number;
    // the classic model takes them up to bismuth (Z 83), polonium and heavier not.
    for (int Z = 1; Z <= 92; ++Z) {
        if (Z == 89) continue;  // actinium: no data in the window
        char* symbol = AtomicNumberToSymbol(Z, nullptr);
        const ParsedComposition c = parse_composition(symbol, "X");
        ASSERT_EQ(c.elements.size(), 1u) << symbol;
        EXPECT_EQ(c.elements[0].Z, Z) << symbol;
        EXPECT_EQ(c.elements[0].symbol, symbol);
        EXPECT_EQ(classic_model_problem(c),
                  Z <= 83 ? std::string()
                          : std::string(symbol) + " (Z " + std::to_string(Z) +
                                ") at position 1: the classic model takes elements up to bismuth "
                                "(Z 83), not polonium (Z 84) and heavier; the "
                                "fundamental-parameter model takes them")
            << symbol;
        xrlFree(symbol);
    }
    // Lower-case runs that a formula written in the wrong case explains still read.
    for (const auto& [loose, proper] :
         {std::pair{"Sio2", "SiO2"}, {"naalsi3o8", "NaAlSi3O8"}, {"kal(so4)2", "KAl(SO4)2"}}) {
        const ParsedComposition a = parse_composition(loose, "K");
        const ParsedComposition b = parse_composition(proper, "K");
        ASSERT_EQ(a.elements.size(), b.elements.size()) << loose;
        for (std::size_t k = 0; k < a.elements.size(); ++k)
            EXPECT_EQ(a.elements[k].Z, b.elements[k].Z) << loose;
    }
}

TEST(Composition, TargetDefaultChoiceAndTooManyElements) {
    // The first element from Ca up of a minor part, else the heaviest from Ca up.
    EXPECT_EQ(parse_composition("5 wt% Al2O3, 95 wt% Fe").target, 2);  // Fe: Al is too light
    EXPECT_EQ(parse_composition("1 wt% CaO, 5 wt% ZnO in PbO").target, 0);
    const ParsedComposition chosen = parse_composition("200 ppm As in PbSiO3", "pb");
    EXPECT_EQ(chosen.elements[static_cast<std::size_t>(chosen.target)].symbol, "Pb");
    EXPECT_EQ(parse_composition("Fe2O3", "Cu").blocking_problem(false),
              "the target 'Cu' is not in the composition");
    EXPECT_EQ(parse_composition("Fe2O3", std::string(3000, 'x')).blocking_problem(false),
              "the target '" + std::string(40, 'x') + "\xE2\x80\xA6' is not in the composition");
    EXPECT_EQ(parse_composition("Fe2O3", "F\xC3").blocking_problem(false),
              "invalid UTF-8 at byte 2 of the target: the target must be UTF-8");
    EXPECT_EQ(parse_composition("Fe2O3", "O").blocking_problem(false),
              "O at position 4 cannot be the target: the target is an element from calcium (Z 20) "
              "to bismuth "
              "(Z 83)");

    // 14 elements: the two smallest by weight (Li 6.94, Be 9.01 per formula unit) go.
    const ParsedComposition many = parse_composition("LiBBeNaMgAlSiPSClKCaTiFe");
    ASSERT_EQ(many.problems.size(), 1u);
    EXPECT_TRUE(many.problems[0].acceptable);
    EXPECT_EQ(many.problems[0].message,
              "the composition as a whole: 14 elements: the window holds a target and 11 matrix "
              "elements; the two smallest, "
              "Li and Be, would be left out \xE2\x80\x94 accept?");
    EXPECT_EQ(many.blocking_problem(true), "");
    EXPECT_TRUE(many.elements[0].left_out && many.elements[2].left_out);
}

TEST(Composition, PreviewAndWeightPercentSummary) {
    const auto lines = preview_lines(parse_composition("Fe2O3"));
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[1], "Fe 69.94 wt%, 40 at%, content 2 (target)");
    EXPECT_EQ(lines[2], "O  30.06 wt%, 60 at%, content 3");
    // The density of the NIST list's ferric oxide.
    compoundDataNIST* nist = GetCompoundDataNISTByName("Ferric Oxide", nullptr);
    ASSERT_NE(nist, nullptr);
    EXPECT_EQ(parse_composition("Fe2O3").density, nist->density);
    FreeCompoundDataNIST(nist);
    EXPECT_EQ(preview_lines(parse_composition("Fe2O3)")),
              std::vector<std::string>{"problem: ')' at position 6 closes nothing"});

    // Fe 2 x 55.85 = 111.7 of 159.7: 69.9 wt%; As 74.92 x 1.6e-4 of 60.09: 200 ppm.
    EXPECT_EQ(weight_percent_summary({{Fe, 2}, {O, 3}}), "Fe 69.9 wt%, O 30.1 wt%");
    EXPECT_EQ(weight_percent_summary({{As, 2e-4 / A(As)}, {Si, 0.9998 / A(Si)}}),
              "As 200 ppm, Si 100.0 wt%");
    EXPECT_EQ(weight_percent_summary({{Fe, 1}, {0, 5}, {Fe, 1}, {O, -1}}), "Fe 100.0 wt%");
    EXPECT_EQ(weight_percent_summary({}), "");
}

}  // namespace
}  // namespace lumetra::chem::testing
