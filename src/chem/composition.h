#pragma once
// Compositions as a laboratory writes them: a formula, a mixture by weight, atoms
// or moles, a trace in a matrix or a molar solution, turned into the atomic
// contents the matrix editor holds (a target and up to 11 matrix elements).
//
// The text is UTF-8 (anything else is refused with the byte where it stops being
// so). Grammar (blanks, also the no-break space U+00A0, the thin space U+2009 and
// the narrow no-break space U+202F, may stand between any two items; keywords, names
// and the units wt, at, mol, ppm, ppb in any case; other units exactly as written,
// but for "u" also "µ" (U+00B5) or "μ" (U+03BC) and a final "L" also "l"):
//
//   composition := entry { sep entry } [ "in" base [ density ] ]
//                | compound density                    (one compound with its density)
//   base        := compound | "(" composition ")"       a mixture in brackets, read as a
//                                                      whole text is ("50 ppm As in
//                                                      (60 wt% SiO2, 40 wt% Al2O3)")
//   sep         := "," | ";" | "+"
//   entry       := amount unit [ "of" ] compound       "5 wt% Fe2O3", "200 ppm As"
//                | compound ":" amount [ unit ]         "Fe2O3:5", "SiO2: 95 wt%"
//                | compound                             a lone compound, or the rest
//   unit        := "wt%" | "%" | "at%" | "mol%"         (also "wt.%", "wt %", "wt. %")
//                | "ppm" | "mg/kg" | "ug/g"             (by weight: 1e-6)
//                | "ppb" | "ug/kg" | "ng/g"             (by weight: 1e-9)
//                | "M" | "mM" | "uM" | "nM"             (moles per litre of solution;
//                | "mol/L" | "mmol/L" | "umol/L" ...     also with "l")
//                | "g/L" | "mg/L" | "ug/L" | "ng/L"     (grams per litre of solution)
//                | "mg/mL" | "ug/mL"
//   density     := "(" ( "density" | "rho" ) [ "=" ] number [ "g/cm3" | "g/mL" ] ")"
//                                                      (0.0001 to 30 g/cm3)
//   compound    := material | "water" | formula
//   material    := a name of the NIST list ("Kapton Polyimide Film", "Concrete,
//                  Portland") or a short name: kapton, mylar, air, cellulose, boron
//                  nitride; any case, any blanks for a space (materials.h)
//   formula     := part { hydrate [ count ] part }      "CuSO4·5H2O", "CuSO4.5H2O"
//   part        := ( symbols | "(" part ")" | "[" part "]" ) [ count ] { ... }
//   count       := digits [ "." digits ]                "Mn0.5Fe0.5O"; above 0, at most 1e6,
//                                                      no exponent, one full stop; the
//                                                      counts multiplied through brackets
//                                                      and hydrates give at most 1e6 atoms
//                                                      of an element
//   hydrate     := "·" | "•" | "⋅" | "*" | "." (a full stop followed by a letter or a
//                  bracket, or by a number and H2O; any other full stop after digits
//                  is a decimal point)
//   amount      := a decimal number, exponent allowed ("1e-3"); never signed
//
// Symbols are matched exactly when written with capitals ("CO" is carbon and
// oxygen, "Co" cobalt). A run of letters that is not so readable is read whatever
// its case ("fe2o3", "NACL"); where more than one reading exists the one with the
// fewest, two-letter symbols first, is taken and a note says so ("co" is cobalt).
// Words are not read as symbols: the word water among other letters ("waterH"),
// "in" or "of" in small letters glued to a capital ("Fe2O3inSiO2"), an element's
// name ("iron", "tin"), a run of more than 6 letters and a capital followed by two
// small letters after the run's first letter ("FeCoo") are refused, and a word of
// three letters or more that is neither ("soil") is an unknown material or element.
// Brackets after "in" hold a mixture when what they hold cannot be a formula (an
// amount, a name, a blank or a separator in them); "(NH4)2SO4" stays a formula.
//
// Every refusal names the 1-based character position of what cannot be read, or
// says that it concerns "the composition as a whole"; it quotes at most 40
// characters of the text.
//
// Meaning of the amounts: percentages of one kind (weight, atoms or moles of
// formula units) must sum to 100 % within 0.5 % and are scaled to 100 %; a compound
// without amount (or after "in") takes the rest. ':' weights without a unit are
// relative weights. A molar amount c (mol/L) of a solute of formula weight M puts
// c M grams into a litre of solution, taken to weigh as much as a litre of the
// solvent (1000 rho grams; water 1.0 g/cm3, another solvent's density from the NIST
// list, a named material's or as given); the solvent is the rest. g grams per litre
// likewise put g grams into that litre. All amounts of one text are of one kind.
// A material of the list that is no compound of it (air, concrete), and a mixture in
// brackets, are given by weight: their formula unit is 100 atoms, or the mixture's
// mean formula unit, which counts atoms and weight but no moles (mol% and mol/L of
// them are refused). A mixture in brackets as a solvent needs its density given.
//
// The contents are atoms per formula unit of the whole mixture:
//   x_i = m_i / sum_k m_k   (m_i: moles of formula units of compound i),
//   content_Z = sum_i x_i n_iZ   (n_iZ: atoms of Z in one formula unit of i),
// so a single compound keeps its formula ("Fe2O3": Fe 2, O 3).

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumetra::chem {

// The matrix rows a composition fills besides the target (the window's matrix).
constexpr int kMatrixRows = 11;

struct CompositionElement {
    int Z = 0;
    std::string symbol;
    double content = 0.0;         // atoms per formula unit of the mixture
    double weight_percent = 0.0;  // of all elements the text names
    double atom_percent = 0.0;
    bool left_out = false;     // beyond the window's places (dropped once accepted)
    std::size_t position = 0;  // 1-based character where the text first names it
};

struct CompositionProblem {
    std::string message;
    bool acceptable = false;  // the user may accept it and go on
};

struct ParsedComposition {
    std::vector<CompositionElement> elements;  // in the order the text names them
    int target = -1;                           // index into elements; -1 without one
    std::string target_reason;
    std::string reading;          // how the amounts were read, in words
    double formula_weight = 0.0;  // g/mol of one formula unit of the contents
    double density = 0.0;         // suggested density, g/cm3; 0 when unknown
    std::string density_source;
    std::vector<std::string> notes;
    std::vector<CompositionProblem> problems;
    bool needs_target = true;  // false for a material read without one

    // The first problem that stands in the way: every problem when accept_problems
    // is false, only those that cannot be accepted when it is true. "" when the
    // composition can be written.
    std::string blocking_problem(bool accept_problems) const;
};

// Reads a composition. target_symbol (any case) chooses the target; empty gives the
// default: the first element from Ca (Z 20) to Bi (Z 83) of a minor component (a
// trace, a dopant, a solute, the smaller part of a mixture), else the heaviest such
// element of all. Never throws; every oddity is a problem in words.
ParsedComposition parse_composition(std::string_view text, std::string_view target_symbol = {});

// Reads a composition as a material (a window, a tape, a substrate): no target is
// chosen and every element is kept, however many. Never throws.
ParsedComposition parse_material(std::string_view text);

// The classic model's tables end with bismuth (Z 83): it cannot calculate with
// polonium (Z 84) or any heavier element, the fundamental-parameter model can. The
// problem of writing c for the classic model, naming the first such element that
// would be written and where the text names it; "" when there is none. The dialog,
// the form's apply_composition and the driver all ask this one rule.
std::string classic_model_problem(const ParsedComposition& c);

// The preview for the user: how the text was read, every element with weight %,
// atom % and the content that will be written, the formula weight, a suggested
// density, the target and why, then the notes and the problems; with classic, also
// the problem of the classic model (classic_model_problem).
std::vector<std::string> preview_lines(const ParsedComposition& c, bool classic = false);

// The suggested density as the preview shows it and the form's film density takes
// it: four significant digits ("2.32", "0.001205"); "" when there is none.
std::string density_text(const ParsedComposition& c);

// A sample given as (Z, atoms) pairs in weight %: "Fe 69.9 wt%, O 30.1 wt%" (small
// shares in ppm or ppb). Pairs with Z outside 1..98 or no positive content are
// skipped, the same Z twice counts once with both contents; "" for nothing left.
std::string weight_percent_summary(const std::vector<std::pair<int, double>>& atoms);

}  // namespace lumetra::chem
