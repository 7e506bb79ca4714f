// What the random user types and where the mouse goes: texts suited to a field
// most of the time and anything otherwise, coordinates on the plot and far off it.

#include "monkey/inputs.h"

#include <cfloat>
#include <cstdio>

namespace lumetra::monkey {

using window::Control;
using window::MouseButton;
using window::RADirido;

namespace {

// Texts a user might type

const char* const kSymbols[] = {
    "Fe",   "U",   "Po", "Ac",  "Ar",  "H",   "fe",  " Pb ", "Cu", "Zn",   "Ca",     "Te",
    "W",    "Au",  "Bi", "At",  "Rn",  "O",   "Si",  "Al",   "Ni", "Mn",   "Ti",     "Se",
    "Sr",   "Mo",  "Ag", "Sn",  "I",   "Ba",  "La",  "Ce",   "Gd", "Pt",   "Hg",     "Pb",
    "Ge",   "Ga",  "As", "Br",  "Kr",  "Xe",  "Cs",  "Th",   "Pa", "Np",   "Pu",     "Fr",
    "Ra",   "K",   "Na", "C",   "N",   "S",   "P",   "Cl",   "Sc", "V",    "Cr",     "Co",
    "Rb",   "Y",   "Zr", "Nb",  "Tc",  "Ru",  "Rh",  "Pd",   "Cd", "In",   "Sb",     "Nd",
    "Sm",   "Eu",  "Yb", "Lu",  "Hf",  "Ta",  "Re",  "Os",   "Ir", "Tl",   "Li",     "Be",
    "B",    "F",   "Ne", "Mg",  "He",  "Sb ", " Cu", "Xx",   "Q",  "ZZ",   "F e",    "Fe\t",
    "\tFe", "Fee", "1",  "Ac ", "FE",  "fE",  "Uu",  "Og",   "J",  "Fe\n", "Fe\r\n", "\"Fe\"",
    "Fe,",  ",",   "\"", "Fé",  "Ｆｅ"};

const char* const kSpecialNumbers[] = {"0",
                                       "-0",
                                       "0.0",
                                       ".5",
                                       "5.",
                                       "-1",
                                       "-30",
                                       "1e308",
                                       "1e400",
                                       "-1e308",
                                       "-1e400",
                                       "1.7976931348623157e308",
                                       "1.8e308",
                                       "4.9e-324",
                                       "1e-320",
                                       "1e-400",
                                       "2.2250738585072014e-308",
                                       "1D5",
                                       "1d-3",
                                       "2.5D+2",
                                       "1E",
                                       "1E+",
                                       "E5",
                                       "e",
                                       "D",
                                       "-",
                                       ".",
                                       "+",
                                       "+.",
                                       "-.5",
                                       "--5",
                                       "+-5",
                                       "1..5",
                                       "1.2.3",
                                       "1 0",
                                       "  7  ",
                                       "1,5",
                                       "1,000",
                                       "12abc",
                                       "abc",
                                       "0x1A",
                                       "inf",
                                       "-inf",
                                       "nan",
                                       "NaN",
                                       "Infinity",
                                       "1e-16",
                                       "9.9e-17",
                                       "1e15",
                                       "999999999999999",
                                       "1e16",
                                       "32767",
                                       "32768",
                                       "-32768",
                                       "-32769",
                                       "65536",
                                       "2147483648",
                                       "9223372036854775808",
                                       "1e19",
                                       "0.0101",
                                       "0.01",
                                       "0.011",
                                       "0.003",
                                       "0.1",
                                       "0.11",
                                       "90",
                                       "-90",
                                       "89.999",
                                       "45.0",
                                       "2.20",
                                       "50.0",
                                       "5",
                                       "4.99",
                                       "5.0",
                                       "60",
                                       "60.1",
                                       "61",
                                       "100",
                                       "101",
                                       "1e3",
                                       "-5",
                                       "\t5",
                                       "5\n",
                                       "5\r",
                                       " . ",
                                       "1e2147483648",
                                       "1e-2147483649",
                                       "1e99999999999999999999",
                                       "-.0001",
                                       "1E-05",
                                       " 1.5E-05",
                                       "1E+15",
                                       "0.00001",
                                       "3D",
                                       "7d7",
                                       "1e+",
                                       "6.0221e23",
                                       "-1e-320",
                                       "  -  5",
                                       "+ 5",
                                       "5-",
                                       "1e3e3"};

const char* const kLineTexts[] = {"K-alpha 1&2",
                                  "(K-alpha 1)",
                                  "(K-alpha 2)",
                                  "K -beta 1&3",
                                  "(K -beta 1)",
                                  "(K -beta 3)",
                                  "L-alpha 1&2",
                                  "(L-alpha 1)",
                                  "(L-alpha 2)",
                                  "L- beta 2",
                                  "K",
                                  "k-alpha 1&2",
                                  "K-alpha 1&2 ",
                                  "",
                                  "L",
                                  "(K-alpha 1"};

const char* const kFineTexts[] = {"0.5", "0.6",    "0.7",   "0.8",    "0.9", "1.0", "1.1",
                                  "1.2", "1.3",    "1.4",   "1.5",    "1",   "0",   "2",
                                  "-1",  "1e-300", "1e300", "0.0001", "abc", ""};

const char* const kNonAscii[] = {"５",
                                 "Fé",
                                 "µ",
                                 "日本語",
                                 "\xC3\xA9",
                                 "\xE2\x88\x92"
                                 "5",
                                 "1\xC2\xA0"
                                 "5",
                                 "\xEF\xBB\xBF"
                                 "12",
                                 "\xF0\x9F\x98\x80",
                                 "\xFF\xFE",
                                 "\x80",
                                 "5\xC3",
                                 "Ω",
                                 "Å",
                                 "ﬀ",
                                 "\xE2\x80\x8B"
                                 "7"};

// Targets that can be calculated (atomic numbers 20 to 83), light ones and heavy ones.
const char* const kTargets[] = {"Ca", "Ti", "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ge",
                                "Se", "Sr", "Zr", "Mo", "Ag", "Sn", "Sb", "Te", "I",  "Ba",
                                "La", "Gd", "W",  "Pt", "Au", "Hg", "Pb", "Bi", "Ac", "U"};
const char* const kMatrixElements[] = {"O",  "Si", "Al", "C",  "N",  "H",  "Na", "Mg", "S",
                                       "Cl", "K",  "Ca", "Ti", "Fe", "Cu", "Zn", "Sr", "Ba",
                                       "Pb", "W",  "Ar", "Bi", "Te", "Po", "U",  "Xx", "Ac"};

}  // namespace

const char* target_symbol(Rng& rng) {
    return pick(rng, kTargets);
}

const char* matrix_symbol(Rng& rng) {
    return pick(rng, kMatrixElements);
}

namespace {

std::string digits(Rng& rng, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('0' + rng.below(10));
    return s;
}

std::string number_text(Rng& rng) {
    const double r = rng.unit();
    if (r < 0.25) return pick(rng, kSpecialNumbers);
    if (r < 0.45) return std::to_string(rng.below(120));
    if (r < 0.65) {  // a decimal such as 7.1609 or 0.05
        std::string s = std::to_string(rng.below(rng.chance(0.5) ? 10 : 150)) + "." +
                        digits(rng, 1 + rng.below(5));
        if (rng.chance(0.2)) s = "-" + s;
        if (rng.chance(0.2)) s = " " + s;
        return s;
    }
    if (r < 0.8) {  // mantissa and exponent
        std::string s = rng.chance(0.3) ? "-" : "";
        s += digits(rng, 1 + rng.below(3));
        if (rng.chance(0.5)) s += "." + digits(rng, rng.below(4));
        const char letters[] = {'E', 'e', 'D', 'd'};
        s += letters[rng.below(4)];
        if (rng.chance(0.6)) s += rng.chance(0.5) ? '-' : '+';
        s += rng.chance(0.1) ? digits(rng, 12 + rng.below(12)) : std::to_string(rng.below(420));
        return s;
    }
    if (r < 0.9) {  // many digits, the point anywhere
        std::string s = digits(rng, 1 + rng.below(400));
        if (rng.chance(0.6)) s.insert(rng.below(s.size() + 1), ".");
        return s;
    }
    // Digits mixed with blanks, tabs, commas and letters.
    std::string s;
    const char extras[] = {' ', '\t', ',', 'x', 'E', '.', '-', '\n'};
    for (std::size_t i = 0, n = 1 + rng.below(10); i < n; ++i)
        s += rng.chance(0.6) ? static_cast<char>('0' + rng.below(10)) : extras[rng.below(8)];
    return s;
}

}  // namespace

// A content as a user would give it: mostly a plain positive number.
std::string content_text(Rng& rng) {
    if (rng.chance(0.85)) {
        std::string s = std::to_string(1 + rng.below(99));
        if (rng.chance(0.4)) s += "." + digits(rng, 1 + rng.below(3));
        return s;
    }
    return number_text(rng);
}

std::string symbol_text(Rng& rng) {
    if (rng.chance(0.8)) return pick(rng, kSymbols);
    // Any one or two letters.
    std::string s(1, static_cast<char>('A' + rng.below(26)));
    if (rng.chance(0.7)) s += static_cast<char>('a' + rng.below(26));
    return s;
}

namespace {

std::string junk_text(Rng& rng) {
    static const char chars[] = "abcXYZ \t\n\r\",.;:!?#$%&'()*+-/<=>@[\\]^_`{|}~0123456789";
    std::string s;
    for (std::size_t i = 0, n = rng.below(24); i < n; ++i) s += chars[rng.below(sizeof chars - 1)];
    if (rng.chance(0.1)) s += '\0';
    if (rng.chance(0.1)) s += "\r\n";
    return s;
}

std::string long_text(Rng& rng) {
    const std::size_t n = 10000;
    switch (rng.below(7)) {
        case 0:
            return std::string(n, '1');
        case 1:
            return "0." + std::string(n, '0') + "1";
        case 2:
            return std::string(n, 'a');
        case 3:
            return std::string(n, ' ');
        case 4:
            return "Fe" + std::string(n, ' ');
        case 5:
            return "1" + std::string(n, '0') + "E-" + std::string(40, '9');
        default: {
            std::string s;
            for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(32 + rng.below(95));
            return s;
        }
    }
}

std::string blank_text(Rng& rng) {
    const char* const blanks[] = {"", " ", "  ", "\t", "\n", " \t \n "};
    return pick(rng, blanks);
}

}  // namespace

std::string any_text(Rng& rng) {
    const double r = rng.unit();
    if (r < 0.30) return symbol_text(rng);
    if (r < 0.65) return number_text(rng);
    if (r < 0.72) return blank_text(rng);
    if (r < 0.80) return junk_text(rng);
    if (r < 0.85) return pick(rng, kNonAscii);
    if (r < 0.87) return long_text(rng);
    if (r < 0.93) return pick(rng, kLineTexts);
    return pick(rng, kFineTexts);
}

// A text suited to the field most of the time, anything otherwise.
std::string text_for(const RADirido& form, const Control& c, Rng& rng) {
    if (rng.chance(0.35)) return any_text(rng);
    if (&c == &form.Combo1) return pick(rng, kLineTexts);
    if (&c == &form.Combo2) return pick(rng, kFineTexts);
    if (&c == &form.Text1 || c.name().rfind("Text2(", 0) == 0) return symbol_text(rng);
    return number_text(rng);
}

// Splits a text into keystrokes: a multi-byte UTF-8 character is one keystroke.
std::vector<std::string> keystrokes(const std::string& s) {
    std::vector<std::string> keys;
    for (char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b & 0xC0) == 0x80 && !keys.empty())
            keys.back() += ch;
        else
            keys.emplace_back(1, ch);
    }
    return keys;
}

// ---------------------------------------------------------------------------
// Coordinates of the mouse

float plot_x(Rng& rng) {
    if (rng.chance(0.85)) return static_cast<float>(-10.0 + rng.unit() * 1038.0);
    const float extremes[] = {FLT_MAX,  -FLT_MAX,    1e30f,         -1e30f,  1e10f,
                              -1e10f,   0.0f,        -0.0f,         FLT_MIN, 1e-40f,
                              32768.5f, -32768.5f,   1023.5f,       1024.0f, 1e6f,
                              -0.5f,    0.49999997f, 2147483648.0f, 9.3e18f};
    return extremes[rng.below(sizeof extremes / sizeof extremes[0])];
}

float plot_y(Rng& rng) {
    if (rng.chance(0.85)) return static_cast<float>(-500.0 + rng.unit() * 12250.0);
    const float extremes[] = {FLT_MAX, -FLT_MAX, 1e30f,  -1e30f,    0.0f, 499.0f,
                              500.0f,  11750.0f, 1e-40f, -32769.0f, 1e9f};
    return extremes[rng.below(sizeof extremes / sizeof extremes[0])];
}

MouseButton random_button(Rng& rng) {
    const MouseButton b[] = {MouseButton::None, MouseButton::Left, MouseButton::Right};
    return b[rng.below(3)];
}

const char* button_name(MouseButton b) {
    switch (b) {
        case MouseButton::Left:
            return "left";
        case MouseButton::Right:
            return "right";
        default:
            return "none";
    }
}

std::string fmt_float(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

}  // namespace lumetra::monkey
