// Reading compositions as a laboratory writes them (grammar in composition.h): a
// small recursive-descent reader of formulas and mixtures, the contents of the
// mixture, the target, the suggested density and the preview.

#include "window/composition.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <exception>
#include <system_error>

#include "common/numtext.h"
#include "physics/xrl.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

namespace xrl = physics::xrl;

constexpr std::size_t kMaxChars = 2000;  // characters of text read at all
constexpr int kMaxDepth = 8;             // brackets inside brackets
constexpr double kMaxCount = 1e6;        // a count in a formula
constexpr double kMaxRelative = 1e15;    // a ':' weight without unit
constexpr double kMaxMolar = 1000.0;     // mol/L
constexpr double kMinDensity = 1e-4;     // g/cm3, below a rarefied gas
constexpr double kMaxDensity = 30.0;     // g/cm3
constexpr double kLeastWeightFraction = 1e-15;
constexpr double kSumTolerance = 0.5;  // % by which percentages may miss 100
constexpr double kWaterDensity = 1.0;  // g/cm3
constexpr int kLastZ = 98;             // symbols the reader knows
constexpr int kLastWindowZ = 92;       // the window's table ends with uranium
constexpr int kActinium = 89;          // in the window's table, without data
constexpr int kFirstTargetZ = 20, kLastTargetZ = 83;
constexpr int kPlaces = 1 + kRows;  // the target and the matrix rows

struct ElementName {
    std::string_view symbol, name;
};

constexpr std::array<ElementName, kLastZ> kNames = {{
    {"H", "hydrogen"},    {"He", "helium"},      {"Li", "lithium"},      {"Be", "beryllium"},
    {"B", "boron"},       {"C", "carbon"},       {"N", "nitrogen"},      {"O", "oxygen"},
    {"F", "fluorine"},    {"Ne", "neon"},        {"Na", "sodium"},       {"Mg", "magnesium"},
    {"Al", "aluminium"},  {"Si", "silicon"},     {"P", "phosphorus"},    {"S", "sulfur"},
    {"Cl", "chlorine"},   {"Ar", "argon"},       {"K", "potassium"},     {"Ca", "calcium"},
    {"Sc", "scandium"},   {"Ti", "titanium"},    {"V", "vanadium"},      {"Cr", "chromium"},
    {"Mn", "manganese"},  {"Fe", "iron"},        {"Co", "cobalt"},       {"Ni", "nickel"},
    {"Cu", "copper"},     {"Zn", "zinc"},        {"Ga", "gallium"},      {"Ge", "germanium"},
    {"As", "arsenic"},    {"Se", "selenium"},    {"Br", "bromine"},      {"Kr", "krypton"},
    {"Rb", "rubidium"},   {"Sr", "strontium"},   {"Y", "yttrium"},       {"Zr", "zirconium"},
    {"Nb", "niobium"},    {"Mo", "molybdenum"},  {"Tc", "technetium"},   {"Ru", "ruthenium"},
    {"Rh", "rhodium"},    {"Pd", "palladium"},   {"Ag", "silver"},       {"Cd", "cadmium"},
    {"In", "indium"},     {"Sn", "tin"},         {"Sb", "antimony"},     {"Te", "tellurium"},
    {"I", "iodine"},      {"Xe", "xenon"},       {"Cs", "caesium"},      {"Ba", "barium"},
    {"La", "lanthanum"},  {"Ce", "cerium"},      {"Pr", "praseodymium"}, {"Nd", "neodymium"},
    {"Pm", "promethium"}, {"Sm", "samarium"},    {"Eu", "europium"},     {"Gd", "gadolinium"},
    {"Tb", "terbium"},    {"Dy", "dysprosium"},  {"Ho", "holmium"},      {"Er", "erbium"},
    {"Tm", "thulium"},    {"Yb", "ytterbium"},   {"Lu", "lutetium"},     {"Hf", "hafnium"},
    {"Ta", "tantalum"},   {"W", "tungsten"},     {"Re", "rhenium"},      {"Os", "osmium"},
    {"Ir", "iridium"},    {"Pt", "platinum"},    {"Au", "gold"},         {"Hg", "mercury"},
    {"Tl", "thallium"},   {"Pb", "lead"},        {"Bi", "bismuth"},      {"Po", "polonium"},
    {"At", "astatine"},   {"Rn", "radon"},       {"Fr", "francium"},     {"Ra", "radium"},
    {"Ac", "actinium"},   {"Th", "thorium"},     {"Pa", "protactinium"}, {"U", "uranium"},
    {"Np", "neptunium"},  {"Pu", "plutonium"},   {"Am", "americium"},    {"Cm", "curium"},
    {"Bk", "berkelium"},  {"Cf", "californium"},
}};

// Compounds of the library's NIST list that a formula names, for a suggested
// density (and the density of a solvent other than water).
struct NistName {
    std::string_view formula, name;
};
constexpr NistName kNist[] = {
    {"H2O", "Water, Liquid"},
    {"SiO2", "Silicon Dioxide"},
    {"Al2O3", "Aluminum Oxide"},
    {"Fe2O3", "Ferric Oxide"},
    {"FeO", "Ferrous Oxide"},
    {"TiO2", "Titanium Dioxide"},
    {"CaCO3", "Calcium Carbonate"},
    {"CaO", "Calcium Oxide"},
    {"CaF2", "Calcium Fluoride"},
    {"CaSO4", "Calcium Sulfate"},
    {"CaSO4·2H2O", "Gypsum, Plaster of Paris"},
    {"CaWO4", "Calcium Tungstate"},
    {"MgO", "Magnesium Oxide"},
    {"MgCO3", "Magnesium Carbonate"},
    {"MgF2", "Magnesium Fluoride"},
    {"MgB4O7", "Magnesium Tetraborate"},
    {"BaSO4", "Barium Sulfate"},
    {"BaF2", "Barium Fluoride"},
    {"BeO", "Beryllium oxide"},
    {"B4C", "Boron Carbide"},
    {"B2O3", "Boron Oxide"},
    {"CdTe", "Cadmium Telluride"},
    {"CdWO4", "Cadmium Tungstate"},
    {"CsI", "Cesium Iodide"},
    {"CsF", "Cesium Fluoride"},
    {"GaAs", "Gallium Arsenide"},
    {"PbO", "Lead Oxide"},
    {"LiF", "Lithium Fluoride"},
    {"LiI", "Lithium Iodide"},
    {"Li2O", "Lithium Oxide"},
    {"Li2CO3", "Lithium Carbonate"},
    {"Li2B4O7", "Lithium Tetraborate"},
    {"LiH", "Lithium Hydride"},
    {"HgI2", "Mercuric Iodide"},
    {"KI", "Potassium Iodide"},
    {"K2O", "Potassium Oxide"},
    {"NaI", "Sodium Iodide"},
    {"Na2CO3", "Sodium Carbonate"},
    {"Na2O", "Sodium Monoxide"},
    {"NaNO3", "Sodium Nitrate"},
    {"AgBr", "Silver Bromide"},
    {"AgCl", "Silver Chloride"},
    {"AgI", "Silver Iodide"},
    {"TlCl", "Thallium Chloride"},
    {"WF6", "Tungsten Hexafluoride"},
    {"UO2", "Uranium Oxide"},
    {"UC2", "Uranium Dicarbide"},
    {"UC", "Uranium Monocarbide"},
    {"Bi4Ge3O12", "Bismuth Germanium oxide"},
    {"Gd2O2S", "Gadolinium Oxysulfide"},
    {"La2O2S", "Lanthanum Oxysulfide"},
    {"LaOBr", "Lanthanum Oxybromide"},
    {"CH4O", "Methanol"},
    {"C2H6O", "Ethyl Alcohol"},
    {"C3H6O", "Acetone"},
    {"C6H6", "Benzene"},
    {"C7H8", "Toluene"},
    {"C3H8O3", "Glycerol"},
    {"CHCl3", "Chloroform"},
    {"CCl4", "Carbon Tetrachloride"},
};

// ---- characters ----

bool upper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool lower(char c) {
    return c >= 'a' && c <= 'z';
}
bool letter(char c) {
    return upper(c) || lower(c);
}
bool digit(char c) {
    return c >= '0' && c <= '9';
}
bool alnum(char c) {
    return letter(c) || digit(c);
}
char lower_of(char c) {
    return upper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower_of(a[i]) != lower_of(b[i])) return false;
    return true;
}

// The number of bytes of the UTF-8 character that starts with byte c (1 for a
// byte that starts none).
std::size_t utf8_length(unsigned char c) {
    if (c >= 0xF0 && c < 0xF8) return 4;
    if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

// The byte where a text stops being UTF-8 (std::string_view::npos when it is):
// strictly, without overlong forms, surrogates (U+D800..U+DFFF), code points above
// U+10FFFF, the bytes C0, C1 and F5..FF, or a sequence cut short.
std::size_t invalid_utf8_at(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = 0;
        unsigned char low = 0x80, high = 0xBF;  // the second byte's range
        if (c >= 0xC2 && c <= 0xDF) {
            n = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 3;
            if (c == 0xE0) low = 0xA0;   // overlong below U+0800
            if (c == 0xED) high = 0x9F;  // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 4;
            if (c == 0xF0) low = 0x90;   // overlong below U+10000
            if (c == 0xF4) high = 0x8F;  // above U+10FFFF
        } else {
            return i;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if (i + k >= s.size()) return i;
            const auto b = static_cast<unsigned char>(s[i + k]);
            if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) return i;
        }
        i += n;
    }
    return std::string_view::npos;
}

// At most 40 characters of the text for a message, longer ones cut with an ellipsis.
constexpr std::size_t kMaxEcho = 40;
std::string echo(std::string_view s) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
        if (chars == kMaxEcho) return std::string(s.substr(0, i)) + "\xE2\x80\xA6";
        ++chars;
    }
    return std::string(s);
}

// The bytes of a blank at j: space, tab, line ends, the no-break space U+00A0, the
// thin space U+2009 and the narrow no-break space U+202F (between a number and its
// unit in typeset text); 0 for anything else.
std::size_t blank_length(std::string_view s, std::size_t j) {
    if (j >= s.size()) return 0;
    const char c = s[j];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') return 1;
    if (s.substr(j, 2) == "\xC2\xA0") return 2;
    if (s.substr(j, 3) == "\xE2\x80\x89" || s.substr(j, 3) == "\xE2\x80\xAF") return 3;
    return 0;
}

// 1-based character position of byte `at` of a UTF-8 text.
std::size_t char_position(std::string_view s, std::size_t at) {
    std::size_t n = 1;
    for (std::size_t i = 0; i < at && i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) ++n;
    return n;
}

std::string position(std::string_view s, std::size_t at) {
    return "position " + std::to_string(char_position(s, at));
}

int symbol_exact(std::string_view s) {
    for (int z = 1; z <= kLastZ; ++z)
        if (kNames[z - 1].symbol == s) return z;
    return 0;
}

int symbol_any_case(std::string_view s) {
    for (int z = 1; z <= kLastZ; ++z)
        if (same_letters(kNames[z - 1].symbol, s)) return z;
    return 0;
}

std::string_view symbol_of(int Z) {
    return kNames[Z - 1].symbol;
}
std::string_view name_of(int Z) {
    return kNames[Z - 1].name;
}

// "a", "a and b", "a, b and c"
std::string listing(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? " and " : ", ";
        out += items[i];
    }
    return out;
}

// A number with `digits` significant digits, shortest form, full stop always.
std::string significant(double v, int digits) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, digits);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

std::string fixed(double v, int decimals) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : significant(v, 6);
}

// Three significant digits, trailing zeros kept ("28.0"); exponent form below 0.001.
std::string three_digits(double v) {
    if (!(v >= 1e-3)) return significant(v, 3);
    const int decimals = std::max(0, 2 - static_cast<int>(std::floor(std::log10(v))));
    return fixed(v, decimals);
}

// A share in percent as wt% / ppm / ppb (or at%, ...), four significant digits.
std::string share(double percent, std::string_view kind) {
    const std::string k(kind);
    if (percent >= 0.1) return significant(percent, 4) + " " + k + "%";
    if (percent >= 1e-4)
        return significant(percent * 1e4, 4) + " ppm" + (kind == "at" ? " at." : "");
    return significant(percent * 1e7, 4) + " ppb" + (kind == "at" ? " at." : "");
}

// ---- what the reader gives ----

struct Atom {
    int Z = 0;
    double n = 0.0;      // atoms per formula unit
    std::size_t at = 0;  // byte where the text first names it
};

struct Formula {
    std::vector<Atom> atoms;  // in the order the text names them

    void add(int Z, double n, std::size_t at) {
        for (Atom& a : atoms) {
            if (a.Z == Z) {
                a.n += n;
                return;
            }
        }
        atoms.push_back({Z, n, at});
    }
    void add(const Formula& f, double times) {
        for (const Atom& a : f.atoms) add(a.Z, a.n * times, a.at);
    }
    double weight() const {  // g/mol
        double M = 0.0;
        for (const Atom& a : atoms) M += a.n * xrl::atomic_weight(a.Z);
        return M;
    }
    double count() const {
        double N = 0.0;
        for (const Atom& a : atoms) N += a.n;
        return N;
    }
};

// How an amount counts: none (a compound without amount), percent by weight, atoms
// or moles of formula units, relative weight, or mol per litre of solution.
enum class Kind { none, weight, relative, atoms, moles, molar };

bool percent_kind(Kind k) {
    return k == Kind::weight || k == Kind::atoms || k == Kind::moles;
}

const char* kind_words(Kind k) {
    switch (k) {
        case Kind::weight:
            return "weight percent";
        case Kind::relative:
            return "relative weights (':' without a unit)";
        case Kind::atoms:
            return "atom percent";
        case Kind::moles:
            return "mole percent";
        case Kind::molar:
            return "concentrations (mol/L)";
        case Kind::none:
            break;
    }
    return "no amount";
}

const char* fraction_words(Kind k) {
    switch (k) {
        case Kind::atoms:
            return "atom fractions";
        case Kind::moles:
            return "mole fractions";
        default:
            return "weight fractions";
    }
}

struct Entry {
    Formula formula;
    std::string name;    // the compound as written
    std::size_t at = 0;  // where the compound starts
    Kind kind = Kind::none;
    double amount = 0.0;  // %, relative weight, or mol/L
    std::string amount_text;
    std::size_t amount_at = 0;
};

struct Mixture {
    std::vector<Entry> entries;
    int base = -1;         // the entry after "in"
    double density = 0.0;  // g/cm3 as given; 0 when not
    bool bare_percent = false;
    bool ppm = false;
};

struct Unit {
    std::string_view text;
    Kind kind;
    double factor;  // to % or mol/L
    bool any_case;
};

constexpr Unit kUnits[] = {
    {"wt. %", Kind::weight, 1.0, true},   {"wt.%", Kind::weight, 1.0, true},
    {"wt %", Kind::weight, 1.0, true},    {"wt%", Kind::weight, 1.0, true},
    {"at. %", Kind::atoms, 1.0, true},    {"at.%", Kind::atoms, 1.0, true},
    {"at %", Kind::atoms, 1.0, true},     {"at%", Kind::atoms, 1.0, true},
    {"mol. %", Kind::moles, 1.0, true},   {"mol.%", Kind::moles, 1.0, true},
    {"mol %", Kind::moles, 1.0, true},    {"mol%", Kind::moles, 1.0, true},
    {"ppm", Kind::weight, 1e-4, true},    {"ppb", Kind::weight, 1e-7, true},
    {"%", Kind::weight, 1.0, false},      {"mol/L", Kind::molar, 1.0, false},
    {"mol/l", Kind::molar, 1.0, false},   {"mmol/L", Kind::molar, 1e-3, false},
    {"mmol/l", Kind::molar, 1e-3, false}, {"umol/L", Kind::molar, 1e-6, false},
    {"umol/l", Kind::molar, 1e-6, false}, {"µmol/L", Kind::molar, 1e-6, false},
    {"µmol/l", Kind::molar, 1e-6, false}, {"μmol/L", Kind::molar, 1e-6, false},
    {"μmol/l", Kind::molar, 1e-6, false}, {"nmol/L", Kind::molar, 1e-9, false},
    {"nmol/l", Kind::molar, 1e-9, false}, {"M", Kind::molar, 1.0, false},
    {"mM", Kind::molar, 1e-3, false},     {"uM", Kind::molar, 1e-6, false},
    {"µM", Kind::molar, 1e-6, false},     {"μM", Kind::molar, 1e-6, false},
    {"nM", Kind::molar, 1e-9, false},     {"g/cm3", Kind::none, 1.0, false},
    {"g/mL", Kind::none, 1.0, false},     {"g/ml", Kind::none, 1.0, false},
    {"g/cc", Kind::none, 1.0, false},     {"g/cm^3", Kind::none, 1.0, false},
};

// Thrown inside the reader at the first thing it cannot read; parse_composition
// turns it into the problem.
struct Stop {
    std::string message;
};

// Problems of the composition as a whole, not of one place in its text.
const std::string kWhole = "the composition as a whole: ";

// ---- the reader ----

class Reader {
  public:
    Reader(std::string_view s, std::vector<std::string>& notes) : s_(s), notes_(notes) {}

    Mixture mixture();
    // A whole text that is one formula (the trusted formulas of the NIST table).
    bool formula_only(Formula& f);

  private:
    Entry entry(Mixture& m);
    bool compound(Entry& e);
    Formula formula();
    Formula part(int depth);
    void symbols(Formula& f);
    double optional_count();
    void put(Formula& f, const Formula& inner, double times, std::size_t end);
    void refuse_loose_letters(std::string_view run, std::size_t a) const;
    double count(bool hydrate_aware);
    bool hydrate_dot();
    bool hydrate_after_point(std::size_t j) const;
    void density_clause(Mixture& m);
    const Unit* unit(bool density_units);
    double number();
    void refuse_sign(const char* what);
    void skip_blanks();
    bool blank_at(std::size_t j) const;
    bool word_at(std::size_t j, std::string_view w) const;
    bool number_start(std::size_t j) const;
    bool formula_start(std::size_t j) const;
    bool density_ahead(std::size_t j) const;
    std::string shown(std::size_t j) const;
    std::string unexpected(std::size_t j) const;
    std::string where(std::size_t j) const { return position(s_, j); }

    std::string_view s_;
    std::size_t i_ = 0;
    bool capitals_ = false;  // the compound being read has no small letters
    std::vector<std::string>& notes_;
};

bool Reader::blank_at(std::size_t j) const {
    return blank_length(s_, j) > 0;
}

void Reader::skip_blanks() {
    while (const std::size_t n = blank_length(s_, i_)) i_ += n;
}

// Word w (any case) at j, not followed by a letter or digit.
bool Reader::word_at(std::size_t j, std::string_view w) const {
    if (j + w.size() > s_.size() || !same_letters(s_.substr(j, w.size()), w)) return false;
    return j + w.size() == s_.size() || !alnum(s_[j + w.size()]);
}

bool Reader::number_start(std::size_t j) const {
    if (j >= s_.size()) return false;
    return digit(s_[j]) || (s_[j] == '.' && j + 1 < s_.size() && digit(s_[j + 1]));
}

bool Reader::density_ahead(std::size_t j) const {
    if (j >= s_.size() || s_[j] != '(') return false;
    ++j;
    while (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t')) ++j;
    return word_at(j, "density") || word_at(j, "rho");
}

bool Reader::formula_start(std::size_t j) const {
    if (j >= s_.size()) return false;
    return letter(s_[j]) || s_[j] == '[' || (s_[j] == '(' && !density_ahead(j));
}

// The character at j for a message: quoted, or described when it cannot be shown.
std::string Reader::shown(std::size_t j) const {
    const auto c = static_cast<unsigned char>(s_[j]);
    if (c < 0x20 || c == 0x7F) return "control character " + std::to_string(c);
    const std::size_t n = utf8_length(c);
    bool whole = (c < 0x80 || n > 1) && j + n <= s_.size();
    for (std::size_t k = 1; whole && k < n; ++k)
        whole = (static_cast<unsigned char>(s_[j + k]) & 0xC0) == 0x80;
    if (!whole) {
        const char* hex = "0123456789ABCDEF";
        return std::string("byte 0x") + hex[c >> 4] + hex[c & 15];
    }
    return "'" + std::string(s_.substr(j, n)) + "'";
}

std::string Reader::unexpected(std::size_t j) const {
    if (j >= s_.size()) {
        // The text ends where more should follow: after its last character that is
        // not a blank.
        std::size_t last = s_.size();
        for (std::size_t k = 0; k < s_.size();) {
            const std::size_t n = blank_length(s_, k);
            if (n == 0) last = k;
            k += n > 0 ? n : 1;
        }
        if (last == s_.size()) return "unexpected end of text";
        return "unexpected end of text after " + shown(last) + " at " + where(last);
    }
    if (s_[j] == ')' || s_[j] == ']') return shown(j) + " at " + where(j) + " closes nothing";
    return "unexpected " + shown(j) + " at " + where(j);
}

void Reader::refuse_sign(const char* what) {
    std::size_t j = i_;
    if (j < s_.size() && s_[j] == '-') {
        ++j;
    } else if (s_.substr(j, 3) == "\xE2\x88\x92") {  // minus sign
        j += 3;
    } else {
        return;
    }
    if (!number_start(j)) return;
    throw Stop{std::string("negative ") + what + " at " + where(i_)};
}

// digits [ "." digits ] [ ("e"|"E") [sign] digits ], or "." digits ...
double Reader::number() {
    const std::size_t start = i_;
    while (i_ < s_.size() && digit(s_[i_])) ++i_;
    if (i_ + 1 < s_.size() && s_[i_] == '.' && digit(s_[i_ + 1])) {
        ++i_;
        while (i_ < s_.size() && digit(s_[i_])) ++i_;
    }
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
        std::size_t j = i_ + 1;
        if (j < s_.size() && (s_[j] == '+' || s_[j] == '-')) ++j;
        if (j < s_.size() && digit(s_[j])) {
            i_ = j;
            while (i_ < s_.size() && digit(s_[i_])) ++i_;
        }
    }
    double v = 0.0;
    const auto r = std::from_chars(s_.data() + start, s_.data() + i_, v);
    if (r.ec == std::errc::result_out_of_range)
        throw Stop{"the number at " + where(start) + " is out of range"};
    if (r.ec != std::errc() || r.ptr != s_.data() + i_) throw Stop{unexpected(start)};
    return std::isfinite(v) ? v : 0.0;
}

// The longest unit at i_ (a unit ending in a letter must not run on into one).
const Unit* Reader::unit(bool density_units) {
    const Unit* best = nullptr;
    for (const Unit& u : kUnits) {
        if ((u.kind == Kind::none) != density_units) continue;
        const std::string_view here = s_.substr(i_, u.text.size());
        if (here.size() != u.text.size()) continue;
        if (u.any_case ? !same_letters(here, u.text) : here != u.text) continue;
        const std::size_t end = i_ + u.text.size();
        if (letter(u.text.back()) && end < s_.size() && alnum(s_[end])) continue;
        if (!best || u.text.size() > best->text.size()) best = &u;
    }
    if (best) i_ += best->text.size();
    return best;
}

Mixture Reader::mixture() {
    Mixture m;
    skip_blanks();
    while (true) {
        m.entries.push_back(entry(m));
        skip_blanks();
        if (i_ < s_.size() && (s_[i_] == ',' || s_[i_] == ';' || s_[i_] == '+')) {
            ++i_;
            skip_blanks();
            continue;
        }
        break;
    }
    if (word_at(i_, "in")) {
        const std::size_t in_at = i_;
        i_ += 2;
        skip_blanks();
        Entry base;
        base.at = i_;
        if (i_ >= s_.size()) throw Stop{"missing compound after 'in' at " + where(in_at)};
        if (!compound(base)) throw Stop{unexpected(i_) + ": a compound should follow 'in'"};
        m.entries.push_back(std::move(base));
        m.base = static_cast<int>(m.entries.size()) - 1;
        density_clause(m);
    } else if (m.entries.size() == 1 && m.entries[0].kind == Kind::none) {
        density_clause(m);
    }
    skip_blanks();
    if (i_ < s_.size()) {
        if (density_ahead(i_))
            throw Stop{"the density at " + where(i_) +
                       " belongs after a lone compound or after the compound after 'in'"};
        if (number_start(i_) || formula_start(i_))
            throw Stop{unexpected(i_) + ": separate the parts with ','"};
        throw Stop{unexpected(i_)};
    }
    return m;
}

Entry Reader::entry(Mixture& m) {
    Entry e;
    refuse_sign("amount");
    if (number_start(i_)) {
        e.amount_at = i_;
        e.amount = number();
        skip_blanks();
        const Unit* u = unit(false);
        if (!u) {
            const std::string needs = "the amount at " + where(e.amount_at) +
                                      " needs a unit: wt%, at%, mol%, ppm, ppb, M, mM, µM or nM";
            if (i_ < s_.size() && s_[i_] == '.')
                throw Stop{"full stop at " + where(i_) + " after the amount at " +
                           where(e.amount_at) + ": write the amount without it (5 or 5.0) " +
                           "and a unit"};
            // A character no unit starts with is the fault, not the missing unit.
            if (i_ < s_.size() && !letter(s_[i_])) throw Stop{unexpected(i_) + ": " + needs};
            throw Stop{needs};
        }
        e.kind = u->kind;
        e.amount *= u->factor;
        e.amount_text = std::string(s_.substr(e.amount_at, i_ - e.amount_at));
        m.bare_percent = m.bare_percent || u->text == "%";
        m.ppm = m.ppm || same_letters(u->text, "ppm") || same_letters(u->text, "ppb");
        skip_blanks();
        if (word_at(i_, "of")) {
            i_ += 2;
            skip_blanks();
        }
        e.at = i_;
        if (!compound(e)) {
            if (i_ >= s_.size())
                throw Stop{"missing compound after the amount at " + where(e.amount_at)};
            throw Stop{unexpected(i_) + ": a compound should follow the amount at " +
                       where(e.amount_at)};
        }
        return e;
    }
    e.at = i_;
    if (!compound(e)) {
        if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == ',' || s_[i_] == ';'))
            throw Stop{"missing compound before " + shown(i_) + " at " + where(i_)};
        if (i_ >= s_.size()) throw Stop{unexpected(i_) + ": a compound should follow"};
        throw Stop{unexpected(i_)};
    }
    skip_blanks();
    if (i_ < s_.size() && s_[i_] == ':') {
        const std::size_t colon = i_;
        ++i_;
        skip_blanks();
        refuse_sign("amount");
        if (!number_start(i_)) throw Stop{"missing amount after ':' at " + where(colon)};
        e.amount_at = i_;
        e.amount = number();
        const std::size_t end = i_;
        skip_blanks();
        if (const Unit* u = unit(false)) {
            e.kind = u->kind;
            e.amount *= u->factor;
            m.bare_percent = m.bare_percent || u->text == "%";
            m.ppm = m.ppm || same_letters(u->text, "ppm") || same_letters(u->text, "ppb");
        } else {
            i_ = end;
            e.kind = Kind::relative;
        }
        e.amount_text = std::string(s_.substr(e.amount_at, i_ - e.amount_at));
    }
    return e;
}

bool Reader::compound(Entry& e) {
    const std::size_t start = i_;
    if (word_at(i_, "water")) {
        i_ += 5;
        e.formula.add(1, 2.0, start);
        e.formula.add(8, 1.0, start);
        e.name = "water";
        return true;
    }
    if (!formula_start(i_)) return false;
    std::size_t end = i_;
    while (end < s_.size() && !blank_at(end) &&
           std::string_view(",;:+").find(s_[end]) == std::string_view::npos)
        ++end;
    const std::string_view ahead = s_.substr(i_, end - i_);
    capitals_ = std::none_of(ahead.begin(), ahead.end(), lower);
    e.formula = formula();
    e.name = echo(s_.substr(start, i_ - start));  // for messages: cut when long
    return true;
}

Formula Reader::formula() {
    Formula f = part(0);
    while (true) {
        const std::size_t dot = i_;
        if (!hydrate_dot()) break;
        const double times = number_start(i_) ? count(false) : 1.0;
        if (!formula_start(i_)) throw Stop{"missing formula after the dot at " + where(dot)};
        const Formula water = part(0);
        put(f, water, times, i_);
    }
    return f;
}

Formula Reader::part(int depth) {
    Formula f;
    const std::size_t start = i_;
    while (i_ < s_.size()) {
        const char c = s_[i_];
        if (letter(c)) {
            symbols(f);
        } else if ((c == '(' || c == '[') && !density_ahead(i_)) {
            if (depth >= kMaxDepth)
                throw Stop{"brackets nested too deeply at " + where(i_) + " (at most 8 levels)"};
            const std::size_t open = i_;
            const char close = c == '(' ? ')' : ']';
            ++i_;
            const Formula inner = part(depth + 1);
            if (i_ >= s_.size() || s_[i_] != close) {
                if (i_ < s_.size() && (s_[i_] == ')' || s_[i_] == ']'))
                    throw Stop{std::string("'") + c + "' at " + where(open) + " is closed by '" +
                               s_[i_] + "' at " + where(i_)};
                throw Stop{std::string("missing '") + close + "' for '" + c + "' at " +
                           where(open)};
            }
            ++i_;
            const double times = optional_count();
            put(f, inner, times, i_);
        } else {
            break;
        }
    }
    if (i_ == start) {
        if (depth > 0 && i_ < s_.size() && (s_[i_] == ')' || s_[i_] == ']'))
            throw Stop{"empty brackets at " + where(i_ - 1)};
        if (depth > 0 && i_ >= s_.size())
            throw Stop{unexpected(i_) + ": a formula and its closing bracket should follow"};
        throw Stop{unexpected(i_)};
    }
    return f;
}

// A run of letters read whatever its case: the reading with the fewest symbols,
// two-letter ones first, and another reading where one exists (the chosen one up
// to the last symbol that can be read otherwise, that one the other way, then the
// best rest). Without a reading, `far` is where the unknown symbol starts.
struct AnyCase {
    std::vector<std::pair<int, std::size_t>> best;  // Z, start in the run
    std::vector<int> other;
    bool ok = false;
    std::size_t far = 0;
};

AnyCase read_any_case(std::string_view run) {
    const std::size_t n = run.size();
    std::vector<int> one(n + 1, 0), two(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        one[k] = symbol_any_case(run.substr(k, 1));
        if (k + 1 < n) two[k] = symbol_any_case(run.substr(k, 2));
    }
    constexpr int kNone = 1 << 30;
    std::vector<int> fewest(n + 1, kNone);  // fewest symbols that read run[k..n)
    fewest[n] = 0;
    for (std::size_t k = n; k-- > 0;) {
        if (one[k] && fewest[k + 1] != kNone) fewest[k] = fewest[k + 1] + 1;
        if (two[k] && fewest[k + 2] != kNone) fewest[k] = std::min(fewest[k], fewest[k + 2] + 1);
    }
    AnyCase r;
    if (fewest[0] == kNone) {
        std::vector<bool> reach(n + 1, false);
        reach[0] = true;
        for (std::size_t k = 0; k < n; ++k) {
            if (!reach[k]) continue;
            r.far = k;
            if (one[k]) reach[k + 1] = true;
            if (two[k]) reach[k + 2] = true;
        }
        return r;
    }
    r.ok = true;
    auto best_from = [&](std::size_t k, auto add) {
        while (k < n) {
            const bool pair = two[k] && fewest[k + 2] + 1 == fewest[k];
            add(pair ? two[k] : one[k], k);
            k += pair ? 2 : 1;
        }
    };
    best_from(0, [&](int Z, std::size_t k) { r.best.push_back({Z, k}); });
    for (std::size_t t = r.best.size(); t-- > 0;) {
        const std::size_t k = r.best[t].second;
        const bool was_pair = r.best[t].first == two[k];
        const std::size_t len = was_pair ? 1 : 2;
        const int other = len == 1 ? one[k] : two[k];
        if (other == 0 || fewest[k + len] == kNone) continue;
        for (std::size_t u = 0; u < t; ++u) r.other.push_back(r.best[u].first);
        r.other.push_back(other);
        best_from(k + len, [&](int Z, std::size_t) { r.other.push_back(Z); });
        break;
    }
    return r;
}

// A run of letters and its count. Symbols written with capitals are read exactly;
// a run that is not so readable is read whatever its case. A note tells where the
// other reading of the letters differs (also for a compound written all in capitals).
void Reader::symbols(Formula& f) {
    const std::size_t a = i_;
    while (i_ < s_.size() && letter(s_[i_])) ++i_;
    const std::size_t b = i_;
    const std::string_view run = s_.substr(a, b - a);
    const std::size_t n = run.size();

    std::vector<std::pair<int, std::size_t>> tokens;  // Z, byte
    bool exact = true;
    for (std::size_t k = 0; k < n && exact;) {
        std::size_t e = k + 1;
        while (e < n && lower(run[e])) ++e;
        const int Z = upper(run[k]) && e - k <= 2 ? symbol_exact(run.substr(k, e - k)) : 0;
        exact = Z > 0;
        tokens.push_back({Z, a + k});
        k = e;
    }
    std::vector<int> read, other;
    if (!exact) {
        refuse_loose_letters(run, a);
        const AnyCase any = read_any_case(run);
        if (!any.ok) {
            const std::size_t len = any.far + 1 < n && lower(run[any.far + 1]) ? 2 : 1;
            throw Stop{"unknown element '" + std::string(run.substr(any.far, len)) + "' at " +
                       where(a + any.far)};
        }
        tokens.clear();
        for (const auto& [Z, k] : any.best) {
            tokens.push_back({Z, a + k});
            read.push_back(Z);
        }
        other = any.other;
    } else if (capitals_ && n >= 2) {
        const AnyCase any = read_any_case(run);
        for (const auto& t : tokens) read.push_back(t.first);
        for (const auto& t : any.best) other.push_back(t.first);
        if (other == read) other.clear();
    }
    if (!other.empty()) {
        std::string as_read, written;
        std::vector<std::string> read_names, other_names;
        for (const int Z : read) {
            as_read += symbol_of(Z);
            read_names.emplace_back(name_of(Z));
        }
        for (const int Z : other) {
            written += symbol_of(Z);
            other_names.emplace_back(name_of(Z));
        }
        const bool alone = (a == 0 || !(alnum(s_[a - 1]) || s_[a - 1] == ')')) &&
                           (b == s_.size() || !(alnum(s_[b]) || s_[b] == '(' || s_[b] == '.'));
        const std::string meant =
            alone && written == "CO" ? "carbon monoxide" : listing(other_names);
        const std::string note = "read \"" + echo(run) + "\" as " + listing(read_names) + " (" +
                                 as_read + "); write " + written + " for " + meant;
        if (std::find(notes_.begin(), notes_.end(), note) == notes_.end()) notes_.push_back(note);
    }
    const double times = optional_count();
    Formula these;
    for (std::size_t t = 0; t < tokens.size(); ++t)
        these.add(tokens[t].first, t + 1 == tokens.size() ? times : 1.0, tokens[t].second);
    put(f, these, 1.0, i_);
}

// f += times inner, where the text has been read up to byte `end`. The counts
// multiplied through brackets and hydrates (and added up) give at most 1e6 atoms of
// an element in one formula unit: more is no compound.
void Reader::put(Formula& f, const Formula& inner, double times, std::size_t end) {
    f.add(inner, times);
    for (const Atom& a : f.atoms) {
        if (a.n > kMaxCount)
            throw Stop{"the counts up to " + where(end > 0 ? end - 1 : 0) + " give " +
                       significant(a.n, 7) + " atoms of " + std::string(symbol_of(a.Z)) +
                       " in one formula unit (at most 1000000)"};
    }
}

// Letters that are not symbols as written are read whatever their case only where a
// formula is merely written in the wrong case ("fe2o3", "NACL", "Sio2", "cuSO4"); a
// word, or letters glued to a word, is refused rather than read as symbols:
// - the word water among other letters ("waterH" is not W At Er H);
// - "in" or "of" in small letters glued to a capital ("Fe2O3inSiO2");
// - the name of an element ("iron");
// - more than 6 letters (no formula runs so long without a count or a capital);
// - a capital followed by two or more small letters after the run's first letter
//   ("FeCoo": a symbol is a capital and at most one small letter).
void Reader::refuse_loose_letters(std::string_view run, std::size_t a) const {
    const std::string quoted = "'" + echo(run) + "' at " + where(a);
    for (std::size_t k = 0; k + 5 <= run.size(); ++k) {
        if (same_letters(run.substr(k, 5), "water"))
            throw Stop{quoted +
                       ": the word water runs into other letters; write water alone, or H2O "
                       "in a formula"};
    }
    // Written with capitals, a capital and at most one small letter at a time: the
    // symbol that is not one is the fault ("FeXx"), not the case.
    bool cased = !lower(run[0]);
    for (std::size_t k = 0; cased && k + 2 < run.size(); ++k)
        cased = !(upper(run[k]) && lower(run[k + 1]) && lower(run[k + 2]));
    if (cased && std::any_of(run.begin(), run.end(), lower)) return;
    if (run.size() > 2 && (run.substr(0, 2) == "in" || run.substr(0, 2) == "of") && upper(run[2]))
        throw Stop{"'" + std::string(run.substr(0, 2)) + "' at " + where(a) + " runs into '" +
                   echo(run.substr(2)) + "': leave a blank on each side of '" +
                   std::string(run.substr(0, 2)) + "'"};
    for (const std::string_view name :
         {std::string_view("aluminum"), std::string_view("cesium"), std::string_view("sulphur")}) {
        if (same_letters(run, name))
            throw Stop{quoted + " is the name of an element: write its symbol"};
    }
    for (int z = 1; z <= kLastZ; ++z) {
        if (same_letters(run, name_of(z)))
            throw Stop{quoted + " is the name of " + std::string(name_of(z)) +
                       ": write its symbol, " + std::string(symbol_of(z))};
    }
    if (run.size() > 6)
        throw Stop{quoted + ": " + std::to_string(run.size()) +
                   " letters that are no symbols as written, more than a formula has; write "
                   "the symbols with their capitals (Fe2O3)"};
    for (std::size_t k = 1; k + 2 < run.size(); ++k) {
        if (upper(run[k]) && lower(run[k + 1]) && lower(run[k + 2]))
            throw Stop{"'" + echo(run.substr(k)) + "' at " + where(a + k) +
                       ": a symbol is a capital and at most one small letter"};
    }
}

// A full stop at j followed by digits and "H2O" that ends the formula: a hydrate dot.
bool Reader::hydrate_after_point(std::size_t j) const {
    std::size_t k = j + 1;
    while (k < s_.size() && digit(s_[k])) ++k;
    if (k == j + 1 || k + 3 > s_.size() || !same_letters(s_.substr(k, 3), "h2o")) return false;
    return k + 3 == s_.size() || !alnum(s_[k + 3]);
}

bool Reader::hydrate_dot() {
    for (const std::string_view dot : {"\xC2\xB7", "\xE2\x80\xA2", "\xE2\x8B\x85", "*"}) {
        if (s_.substr(i_, dot.size()) == dot) {
            i_ += dot.size();
            return true;
        }
    }
    if (i_ + 1 >= s_.size() || s_[i_] != '.') return false;
    const char next = s_[i_ + 1];
    if (letter(next) || next == '(' || next == '[' || (digit(next) && hydrate_after_point(i_))) {
        ++i_;
        return true;
    }
    return false;
}

double Reader::optional_count() {
    if (i_ >= s_.size()) return 1.0;
    if (digit(s_[i_]) || (number_start(i_) && !hydrate_after_point(i_))) return count(true);
    return 1.0;
}

// digits [ "." digits ]: above 0, at most 1e6. With hydrate_aware, a full stop
// that starts a hydrate ("4.5H2O") ends the count.
double Reader::count(bool hydrate_aware) {
    const std::size_t start = i_;
    while (i_ < s_.size() && digit(s_[i_])) ++i_;
    if (i_ + 1 < s_.size() && s_[i_] == '.' && digit(s_[i_ + 1]) &&
        !(hydrate_aware && hydrate_after_point(i_))) {
        ++i_;
        while (i_ < s_.size() && digit(s_[i_])) ++i_;
    }
    // "Fe1e3": an exponent has no place in a count (no element is written "e").
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
        std::size_t j = i_ + 1;
        if (j < s_.size() && (s_[j] == '+' || s_[j] == '-')) ++j;
        if (j < s_.size() && digit(s_[j])) {
            while (j < s_.size() && digit(s_[j])) ++j;
            throw Stop{"count " + echo(s_.substr(start, j - start)) + " at " + where(start) +
                       ": a count in a formula is written without an exponent"};
        }
    }
    // "CuSO4.5.5H2O": 4.5 and a hydrate of 5, or 4 and a hydrate of 5.5.
    if (i_ + 1 < s_.size() && s_[i_] == '.' && digit(s_[i_ + 1]) &&
        s_.substr(start, i_ - start).find('.') != std::string_view::npos) {
        std::size_t j = i_ + 1;
        while (j < s_.size() && digit(s_[j])) ++j;
        throw Stop{"count " + echo(s_.substr(start, j - start)) + " at " + where(start) +
                   " has two full stops and reads two ways: write a hydrate with '\xC2\xB7' "
                   "(CuSO4\xC2\xB7"
                   "5H2O) and a count with one decimal point"};
    }
    double v = 0.0;
    const auto r = std::from_chars(s_.data() + start, s_.data() + i_, v);
    const std::string text = echo(s_.substr(start, i_ - start));
    if (r.ec == std::errc::result_out_of_range) {
        // Too many digits for a double: huge with a digit other than 0 before the
        // point, else too small to count.
        const std::string_view digits = s_.substr(start, i_ - start);
        const std::size_t whole = digits.find_first_not_of('0');
        v = whole != std::string_view::npos && digits[whole] != '.' ? 2 * kMaxCount : 0.0;
    }
    if (!(v > 0.0)) throw Stop{"zero count at " + where(start)};
    if (v > kMaxCount)
        throw Stop{"count " + text + " at " + where(start) + " is too large (at most 1000000)"};
    return v;
}

void Reader::density_clause(Mixture& m) {
    skip_blanks();
    if (!density_ahead(i_)) return;
    const std::size_t open = i_;
    ++i_;
    skip_blanks();
    i_ += word_at(i_, "rho") ? 3 : 7;
    skip_blanks();
    if (i_ < s_.size() && (s_[i_] == '=' || s_[i_] == ':')) ++i_;
    skip_blanks();
    refuse_sign("density");
    if (!number_start(i_)) throw Stop{"missing density value at " + where(i_)};
    const std::size_t at = i_;
    const double d = number();
    const std::string text = echo(s_.substr(at, i_ - at));
    skip_blanks();
    unit(true);
    skip_blanks();
    if (i_ >= s_.size() || s_[i_] != ')') {
        if (i_ < s_.size()) throw Stop{unexpected(i_) + " in the density"};
        throw Stop{"missing ')' for '(' at " + where(open)};
    }
    ++i_;
    if (!(d >= kMinDensity && d <= kMaxDensity))
        throw Stop{"density " + text + " at " + where(at) + ": a density lies from " +
                   fixed(kMinDensity, 4) + " to " + significant(kMaxDensity, 3) + " g/cm3"};
    m.density = d;
}

bool Reader::formula_only(Formula& f) {
    if (!formula_start(0)) return false;
    f = formula();
    return i_ == s_.size();
}

// ---- from the mixture to the contents ----

struct Evaluation {
    Evaluation(const Mixture& mixture, std::string_view t, ParsedComposition& result)
        : m(mixture), text(t), r(result) {}

    const Mixture& m;
    std::string_view text;
    ParsedComposition& r;
    Kind kind = Kind::none;
    int balance = -1;    // the compound that takes the rest
    int main_entry = 0;  // the compound the mixture mostly is
    double solvent_density = 0.0;
    std::string solvent_source;

    void problem(std::string message, bool acceptable = false) {
        r.problems.push_back({std::move(message), acceptable});
    }
    std::string where(std::size_t at) const { return position(text, at); }

    bool check_elements();
    bool check_amounts();
    bool find_balance();
    bool moles(std::vector<double>& mol);
    void contents(const std::vector<double>& mol);
    void choose_target(std::string_view chosen);
    void fit_places();
    void suggest_density();
    void describe_reading();
};

bool Evaluation::check_elements() {
    for (const Entry& e : m.entries) {
        for (const Atom& a : e.formula.atoms) {
            if (a.Z > kLastWindowZ) {
                problem(std::string(symbol_of(a.Z)) + " (Z " + std::to_string(a.Z) + ") at " +
                        where(a.at) + ": the window holds the elements up to uranium (Z 92)");
            } else if (a.Z == kActinium) {
                problem("Ac at " + where(a.at) + ": actinium has no data in the window");
            }
        }
    }
    return r.problems.empty();
}

bool Evaluation::check_amounts() {
    const Entry* first = nullptr;
    for (const Entry& e : m.entries) {
        if (e.kind == Kind::none) continue;
        const std::string what =
            "amount " + echo(e.amount_text) + " of " + echo(e.name) + " at " + where(e.amount_at);
        if (!(e.amount > 0.0)) {
            problem("zero amount of " + echo(e.name) + " at " + where(e.amount_at));
        } else if (percent_kind(e.kind) && e.amount > 100.0) {
            problem(what + " is above 100 %");
        } else if (e.kind == Kind::relative && e.amount > kMaxRelative) {
            problem(what + " is too large (at most 1E+15)");
        } else if (e.kind == Kind::molar && e.amount > kMaxMolar) {
            problem(what + " is above 1000 mol/L");
        }
        if (!first) {
            first = &e;
        } else if (e.kind != first->kind) {
            problem(std::string("amounts of two kinds: ") + kind_words(first->kind) + " at " +
                    where(first->amount_at) + " and " + kind_words(e.kind) + " at " +
                    where(e.amount_at) + "; write all amounts the same way");
            break;
        }
    }
    if (first) kind = first->kind;
    return r.problems.empty();
}

bool Evaluation::find_balance() {
    const int n = static_cast<int>(m.entries.size());
    if (n == 1 && m.entries[0].kind == Kind::none) return true;  // one compound alone
    balance = m.base;
    for (int i = 0; i < n; ++i) {
        const Entry& e = m.entries[static_cast<std::size_t>(i)];
        if (e.kind != Kind::none || i == m.base) continue;
        if (balance < 0 && kind != Kind::relative) {
            balance = i;
        } else {
            problem("no amount for " + echo(e.name) + " at " + where(e.at) +
                    (kind == Kind::relative ? ": with ':' weights, every compound needs its weight"
                                            : ""));
            return false;
        }
    }
    if (balance >= 0 && kind == Kind::relative) {
        const Entry& e = m.entries[static_cast<std::size_t>(balance)];
        problem("no amount for " + echo(e.name) + " at " + where(e.at) +
                ": with ':' weights, every compound needs its weight");
        return false;
    }
    if (balance < 0 && kind == Kind::molar) {
        const Entry& e = m.entries.front();
        problem("the concentration at " + where(e.amount_at) +
                " needs a solvent: write '... in H2O'");
        return false;
    }
    return true;
}

// The NIST compound whose atoms are in the proportions of f ("" when none).
std::string nist_name(const Formula& f) {
    auto normalised = [](const Formula& g) {
        std::vector<std::pair<int, double>> v;
        const double N = g.count();
        for (const Atom& a : g.atoms) v.push_back({a.Z, a.n / N});
        std::sort(v.begin(), v.end());
        return v;
    };
    const auto want = normalised(f);
    for (const NistName& entry : kNist) {
        std::vector<std::string> ignored;
        Reader reader(entry.formula, ignored);
        Formula g;
        if (!reader.formula_only(g)) continue;
        const auto have = normalised(g);
        if (have.size() != want.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < have.size() && same; ++k)
            same =
                have[k].first == want[k].first && std::fabs(have[k].second - want[k].second) < 1e-9;
        if (same) return std::string(entry.name);
    }
    return {};
}

bool is_water(const Formula& f) {
    return f.atoms.size() == 2 && nist_name(f) == "Water, Liquid";
}

// Moles of formula units of every compound, in any common unit:
//   by weight  m_i = w_i / M_i,  by atoms  m_i = a_i / N_i,  by moles  m_i = x_i,
//   molar      m_i = c_i (solutes), m_solvent = (1000 rho - sum c_i M_i) / M_solvent,
// with w, a, x the shares in %, M_i the formula weight (g/mol), N_i the atoms of a
// formula unit, c_i in mol/L and rho the solvent's density (g/cm3).
bool Evaluation::moles(std::vector<double>& mol) {
    const std::size_t n = m.entries.size();
    mol.assign(n, 0.0);
    auto M = [&](std::size_t i) { return m.entries[i].formula.weight(); };
    auto name = [&](int i) { return m.entries[static_cast<std::size_t>(i)].name; };
    if (kind == Kind::none) {
        mol[0] = 1.0;
        return true;
    }
    if (kind == Kind::relative) {
        for (std::size_t i = 0; i < n; ++i) mol[i] = m.entries[i].amount / M(i);
        return true;
    }
    if (kind == Kind::molar) {
        const Entry& solvent = m.entries[static_cast<std::size_t>(balance)];
        if (m.density > 0.0) {
            solvent_density = m.density;
            solvent_source = "as given";
        } else if (is_water(solvent.formula)) {
            solvent_density = kWaterDensity;
            solvent_source = "water";
        } else if (const std::string nist = nist_name(solvent.formula); !nist.empty()) {
            solvent_density = xrl::nist_compound(nist).density;
            solvent_source = nist + " in the NIST list";
        }
        if (!(solvent_density > 0.0)) {
            problem("the density of the solvent " + echo(solvent.name) + " at " +
                    where(solvent.at) + " is not known: write '... in " + echo(solvent.name) +
                    " (density 0.8)' with its density in g/cm3");
            return false;
        }
        const double solution = 1000.0 * solvent_density;  // g in a litre
        double solutes = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            if (static_cast<int>(i) == balance) continue;
            mol[i] = m.entries[i].amount;
            solutes += mol[i] * M(i);
        }
        if (!(solutes < solution)) {
            problem(kWhole + "the solutes weigh " + significant(solutes, 4) +
                    " g in a litre of solution, which weighs " + significant(solution, 4) +
                    " g; there is no room for the solvent");
            return false;
        }
        mol[static_cast<std::size_t>(balance)] = (solution - solutes) / M(balance);
        return true;
    }
    std::vector<double> pct(n, 0.0);
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (static_cast<int>(i) == balance) continue;
        pct[i] = m.entries[i].amount;
        sum += pct[i];
    }
    if (balance >= 0) {
        if (!(sum < 100.0)) {
            problem("sum of " + std::string(fraction_words(kind)) + " " + significant(sum, 4) +
                    " % leaves nothing for " + echo(name(balance)) + " at " +
                    where(m.entries[static_cast<std::size_t>(balance)].at));
            return false;
        }
        pct[static_cast<std::size_t>(balance)] = 100.0 - sum;
    } else if (std::fabs(sum - 100.0) > kSumTolerance) {
        problem(kWhole + "sum of " + std::string(fraction_words(kind)) + " " + significant(sum, 4) +
                " %");
        return false;
    } else if (sum != 100.0) {
        r.notes.push_back(std::string("the ") + fraction_words(kind) + " sum to " +
                          significant(sum, 6) + " %; scaled to 100 %");
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double per = kind == Kind::weight  ? M(i)
                           : kind == Kind::atoms ? m.entries[i].formula.count()
                                                 : 1.0;
        mol[i] = pct[i] / per;
    }
    return true;
}

// x_i = m_i / sum m;  content_Z = sum_i x_i n_iZ;  weight % = 100 content_Z A_Z /
// sum (content A);  atom % = 100 content_Z / sum content.
void Evaluation::contents(const std::vector<double>& mol) {
    double total = 0.0;
    for (const double v : mol) total += v;
    Formula mix;
    for (std::size_t i = 0; i < mol.size(); ++i) mix.add(m.entries[i].formula, mol[i] / total);
    double mass = 0.0, atoms = 0.0;
    for (const Atom& a : mix.atoms) {
        mass += a.n * xrl::atomic_weight(a.Z);
        atoms += a.n;
    }
    for (const Atom& a : mix.atoms) {
        CompositionElement e;
        e.Z = a.Z;
        e.symbol = std::string(symbol_of(a.Z));
        e.position = char_position(text, a.at);
        e.content = a.n;
        e.weight_percent = 100.0 * a.n * xrl::atomic_weight(a.Z) / mass;
        e.atom_percent = 100.0 * a.n / atoms;
        r.elements.push_back(e);
        if (!(std::isfinite(e.content) && e.content > 0.0 && std::isfinite(e.weight_percent))) {
            problem(kWhole + "the amounts are too far apart to be written");
        } else if (e.weight_percent / 100.0 < kLeastWeightFraction) {
            problem(e.symbol + " at " + where(a.at) + " would make only " +
                    significant(e.weight_percent / 100.0, 3) +
                    " of the weight; the least that can be written is 1e-15");
        }
    }
    r.formula_weight = mass;
    // The compound the mixture mostly is: the one taking the rest, else the heaviest share.
    if (balance >= 0) {
        main_entry = balance;
    } else {
        double most = -1.0;
        for (std::size_t i = 0; i < mol.size(); ++i) {
            const double w = mol[i] * m.entries[i].formula.weight();
            if (w > most) {
                most = w;
                main_entry = static_cast<int>(i);
            }
        }
    }
}

bool all_blank(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = blank_length(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

bool target_range(int Z) {
    return Z >= kFirstTargetZ && Z <= kLastTargetZ;
}

void Evaluation::choose_target(std::string_view chosen) {
    auto index_of = [&](int Z) {
        for (std::size_t k = 0; k < r.elements.size(); ++k)
            if (r.elements[k].Z == Z) return static_cast<int>(k);
        return -1;
    };
    const std::string range = "the target is an element from calcium (Z 20) to bismuth (Z 83)";
    const std::string wanted = text::trim_blanks(chosen);
    if (!wanted.empty()) {
        int Z = symbol_exact(wanted);
        if (Z == 0) Z = symbol_any_case(wanted);
        const int k = Z > 0 ? index_of(Z) : -1;
        if (k < 0) {
            problem("the target '" + echo(wanted) + "' is not in the composition");
        } else if (!target_range(Z)) {
            problem(std::string(symbol_of(Z)) + " at position " +
                    std::to_string(r.elements[static_cast<std::size_t>(k)].position) +
                    " cannot be the target: " + range);
        } else {
            r.target = k;
            r.target_reason = "as chosen";
        }
        return;
    }
    for (std::size_t i = 0; i < m.entries.size(); ++i) {
        if (static_cast<int>(i) == main_entry) continue;
        for (const Atom& a : m.entries[i].formula.atoms) {
            if (!target_range(a.Z)) continue;
            r.target = index_of(a.Z);
            const char* role = kind == Kind::molar ? "the solute" : "a minor component";
            r.target_reason = "the first element from calcium (Z 20) up in " + std::string(role) +
                              ", " + m.entries[i].name;
            return;
        }
    }
    for (std::size_t k = 0; k < r.elements.size(); ++k) {
        const int Z = r.elements[k].Z;
        if (target_range(Z) &&
            (r.target < 0 || Z > r.elements[static_cast<std::size_t>(r.target)].Z))
            r.target = static_cast<int>(k);
    }
    if (r.target >= 0) {
        r.target_reason = "the heaviest element from calcium (Z 20) up";
    } else {
        problem(kWhole + "no element can be the target: " + range);
    }
}

std::string count_words(std::size_t n) {
    constexpr std::array<const char*, 11> words = {"no",  "one",   "two",   "three", "four", "five",
                                                   "six", "seven", "eight", "nine",  "ten"};
    return n < words.size() ? words[n] : std::to_string(n);
}

// More elements than places: the smallest shares by weight (never the target) are
// left out once the user accepts.
void Evaluation::fit_places() {
    const std::size_t n = r.elements.size();
    if (n <= static_cast<std::size_t>(kPlaces)) return;
    std::vector<std::size_t> order;
    for (std::size_t k = 0; k < n; ++k)
        if (static_cast<int>(k) != r.target) order.push_back(k);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return r.elements[x].weight_percent < r.elements[y].weight_percent;
    });
    const std::size_t drop = n - static_cast<std::size_t>(kPlaces);
    std::vector<std::string> names;
    for (std::size_t k = 0; k < drop && k < order.size(); ++k) {
        r.elements[order[k]].left_out = true;
        names.push_back(r.elements[order[k]].symbol);
    }
    const std::string who =
        drop == 1 ? "the smallest, " + names[0] + ", would"
                  : "the " + count_words(drop) + " smallest, " + listing(names) + ", would";
    problem(kWhole + std::to_string(n) + " elements: the window holds a target and " +
                std::to_string(kRows) + " matrix elements; " + who +
                " be left out \xE2\x80\x94 accept?",
            true);
}

void Evaluation::suggest_density() {
    if (kind == Kind::molar) {
        r.density = solvent_density;
        r.density_source = "the solution, taken as dense as the solvent (" + solvent_source + ")";
        return;
    }
    if (m.density > 0.0) {
        r.density = m.density;
        r.density_source = "as given";
        return;
    }
    const Entry& e = m.entries[static_cast<std::size_t>(main_entry)];
    const std::string of_main = m.entries.size() == 1 ? "" : ", for the main compound " + e.name;
    if (e.formula.atoms.size() == 1) {
        const int Z = e.formula.atoms[0].Z;
        r.density = xrl::element_density(Z);
        r.density_source = "the element " + std::string(name_of(Z)) + of_main;
    } else if (const std::string nist = nist_name(e.formula); !nist.empty()) {
        r.density = xrl::nist_compound(nist).density;
        r.density_source = nist + " in the NIST list" + of_main;
    }
    if (!(r.density > 0.0 && std::isfinite(r.density))) {
        r.density = 0.0;
        r.density_source.clear();
    }
}

void Evaluation::describe_reading() {
    switch (kind) {
        case Kind::none:
            r.reading = "one compound: its formula gives the contents";
            break;
        case Kind::weight:
            r.reading = "amounts by weight";
            if (m.bare_percent) r.reading += "; '%' read as wt%";
            if (m.ppm) r.reading += "; ppm and ppb by weight";
            break;
        case Kind::relative:
            r.reading =
                "amounts by weight: ':' weights without a unit are relative, scaled to 100 %";
            break;
        case Kind::atoms:
            r.reading = "amounts by atoms (at%)";
            break;
        case Kind::moles:
            r.reading = "amounts by moles of formula units (mol%)";
            break;
        case Kind::molar:
            r.reading =
                "moles per litre of solution; a litre of solution weighs as a litre of the "
                "solvent, " +
                significant(solvent_density, 6) + " g/cm3 (" + solvent_source + ")";
            break;
    }
    if (balance >= 0 && kind != Kind::molar)
        r.reading += "; " + m.entries[static_cast<std::size_t>(balance)].name + " takes the rest";
}

}  // namespace

std::string ParsedComposition::blocking_problem(bool accept_problems) const {
    for (const CompositionProblem& p : problems)
        if (!(accept_problems && p.acceptable)) return p.message;
    if (target < 0 || elements.empty()) return "no composition";
    return {};
}

ParsedComposition parse_composition(std::string_view text, std::string_view target_symbol) {
    ParsedComposition r;
    try {
        // Nothing but UTF-8 is read, and nothing else reaches a message.
        if (const std::size_t bad = invalid_utf8_at(text); bad != std::string_view::npos) {
            r.problems.push_back(
                {"invalid UTF-8 at byte " + std::to_string(bad + 1) + ": the text must be UTF-8",
                 false});
            return r;
        }
        const std::size_t chars = char_position(text, text.size()) - 1;
        if (chars > kMaxChars) {
            r.problems.push_back({kWhole + "text too long: " + std::to_string(chars) +
                                      " characters (at most " + std::to_string(kMaxChars) + ")",
                                  false});
            return r;
        }
        if (all_blank(text)) {
            r.problems.push_back(
                {"nothing to read: write a formula such as Fe2O3 or a mixture "
                 "such as 5 wt% Fe2O3, 95 wt% SiO2",
                 false});
            return r;
        }
        Mixture m;
        try {
            Reader reader(text, r.notes);
            m = reader.mixture();
        } catch (const Stop& stop) {
            r.problems.push_back({stop.message, false});
            return r;
        }
        Evaluation ev(m, text, r);
        std::vector<double> mol;
        if (!ev.check_elements() || !ev.check_amounts() || !ev.find_balance() || !ev.moles(mol))
            return r;
        ev.contents(mol);
        ev.describe_reading();
        ev.choose_target(target_symbol);
        ev.fit_places();
        ev.suggest_density();
    } catch (const std::exception&) {
        r = ParsedComposition{};
        r.problems.push_back({kWhole + "the text could not be read", false});
    }
    return r;
}

std::string classic_model_problem(const ParsedComposition& c) {
    for (const CompositionElement& e : c.elements) {
        if (e.left_out || e.Z <= kLastTargetZ) continue;
        return e.symbol + " (Z " + std::to_string(e.Z) + ") at position " +
               std::to_string(e.position) +
               ": the classic model takes elements up to bismuth (Z 83), not polonium (Z 84) "
               "and heavier; the fundamental-parameter model takes them";
    }
    return {};
}

std::vector<std::string> preview_lines(const ParsedComposition& c, bool classic) {
    std::vector<std::string> lines;
    if (!c.elements.empty()) {
        lines.push_back("read as " + c.reading);
        for (std::size_t k = 0; k < c.elements.size(); ++k) {
            const CompositionElement& e = c.elements[k];
            std::string line =
                e.symbol + std::string(3 - std::min<std::size_t>(e.symbol.size(), 2), ' ');
            line += share(e.weight_percent, "wt") + ", " + share(e.atom_percent, "at") +
                    ", content " + text::trim_blanks(text::Str(e.content));
            if (static_cast<int>(k) == c.target) line += " (target)";
            if (e.left_out) line += " (left out)";
            lines.push_back(line);
        }
        lines.push_back("formula weight " + significant(c.formula_weight, 6) +
                        " g/mol for the contents above");
        if (c.density > 0.0)
            lines.push_back("suggested density " + significant(c.density, 4) +
                            " g/cm3: " + c.density_source);
        if (c.target >= 0)
            lines.push_back("target " + c.elements[static_cast<std::size_t>(c.target)].symbol +
                            ": " + c.target_reason);
    }
    for (const std::string& n : c.notes) lines.push_back("note: " + n);
    for (const CompositionProblem& p : c.problems)
        lines.push_back((p.acceptable ? "problem (may be accepted): " : "problem: ") + p.message);
    if (classic) {
        if (const std::string p = classic_model_problem(c); !p.empty())
            lines.push_back("problem under the classic model: " + p);
    }
    return lines;
}

std::string weight_percent_summary(const std::vector<std::pair<int, double>>& atoms) {
    std::vector<std::pair<int, double>> mass;  // Z, grams per formula unit
    double total = 0.0;
    for (const auto& [Z, n] : atoms) {
        if (Z < 1 || Z > kLastZ || !(n > 0.0) || !std::isfinite(n)) continue;
        const double w = n * xrl::atomic_weight(Z);
        if (!(w > 0.0) || !std::isfinite(w)) continue;
        auto it =
            std::find_if(mass.begin(), mass.end(), [Z = Z](const auto& p) { return p.first == Z; });
        if (it == mass.end()) {
            mass.push_back({Z, w});
        } else {
            it->second += w;
        }
        total += w;
    }
    if (!(total > 0.0) || !std::isfinite(total)) return {};
    std::string out;
    for (const auto& [Z, w] : mass) {
        const double p = 100.0 * w / total;
        std::string s = p >= 1.0    ? fixed(p, 1) + " wt%"
                        : p >= 0.1  ? fixed(p, 2) + " wt%"
                        : p >= 1e-5 ? three_digits(p * 1e4) + " ppm"
                                    : three_digits(p * 1e7) + " ppb";
        if (!out.empty()) out += ", ";
        out += std::string(symbol_of(Z)) + " " + s;
    }
    return out;
}

}  // namespace lumetra::window
