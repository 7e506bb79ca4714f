// Symbols, names, atomic weights and densities of hydrogen to californium, and the
// lookups by symbol and by atomic number.
// Fixed data of the program; the weights and densities are the reference physics
// library's (a test compares them).

#include <array>

#include "chem/elements.h"
#include "chem/text_scan.h"

namespace lumetra::chem {

namespace {

struct Element {
    std::string_view symbol, name;
    double weight;   // g/mol
    double density;  // g/cm3
};

constexpr std::array<Element, kLastZ> kElements = {{
    {"H", "hydrogen", 1.01, 8.4e-05},       // 1
    {"He", "helium", 4.0, 0.000166},        // 2
    {"Li", "lithium", 6.94, 0.534},         // 3
    {"Be", "beryllium", 9.01, 1.848},       // 4
    {"B", "boron", 10.81, 2.37},            // 5
    {"C", "carbon", 12.01, 2.0},            // 6
    {"N", "nitrogen", 14.01, 0.001165},     // 7
    {"O", "oxygen", 16.0, 0.001332},        // 8
    {"F", "fluorine", 19.0, 0.00158},       // 9
    {"Ne", "neon", 20.18, 0.000839},        // 10
    {"Na", "sodium", 23.0, 0.971},          // 11
    {"Mg", "magnesium", 24.32, 1.74},       // 12
    {"Al", "aluminium", 26.97, 2.6989},     // 13
    {"Si", "silicon", 28.09, 2.33},         // 14
    {"P", "phosphorus", 30.98, 2.2},        // 15
    {"S", "sulfur", 32.07, 2.0},            // 16
    {"Cl", "chlorine", 35.46, 0.002995},    // 17
    {"Ar", "argon", 39.94, 0.001662},       // 18
    {"K", "potassium", 39.1, 0.862},        // 19
    {"Ca", "calcium", 40.08, 1.55},         // 20
    {"Sc", "scandium", 44.96, 2.989},       // 21
    {"Ti", "titanium", 47.9, 4.54},         // 22
    {"V", "vanadium", 50.94, 6.11},         // 23
    {"Cr", "chromium", 52.0, 7.18},         // 24
    {"Mn", "manganese", 54.94, 7.44},       // 25
    {"Fe", "iron", 55.85, 7.874},           // 26
    {"Co", "cobalt", 58.93, 8.9},           // 27
    {"Ni", "nickel", 58.69, 8.902},         // 28
    {"Cu", "copper", 63.54, 8.96},          // 29
    {"Zn", "zinc", 65.38, 7.133},           // 30
    {"Ga", "gallium", 69.72, 5.904},        // 31
    {"Ge", "germanium", 72.59, 5.323},      // 32
    {"As", "arsenic", 74.92, 5.73},         // 33
    {"Se", "selenium", 78.96, 4.5},         // 34
    {"Br", "bromine", 79.92, 0.007072},     // 35
    {"Kr", "krypton", 83.8, 0.003478},      // 36
    {"Rb", "rubidium", 85.48, 1.532},       // 37
    {"Sr", "strontium", 87.62, 2.54},       // 38
    {"Y", "yttrium", 88.9, 4.469},          // 39
    {"Zr", "zirconium", 91.22, 6.506},      // 40
    {"Nb", "niobium", 92.91, 8.57},         // 41
    {"Mo", "molybdenum", 95.95, 10.22},     // 42
    {"Tc", "technetium", 99.0, 11.5},       // 43
    {"Ru", "ruthenium", 101.07, 12.41},     // 44
    {"Rh", "rhodium", 102.91, 12.41},       // 45
    {"Pd", "palladium", 106.4, 12.02},      // 46
    {"Ag", "silver", 107.88, 10.5},         // 47
    {"Cd", "cadmium", 112.41, 8.65},        // 48
    {"In", "indium", 114.82, 7.31},         // 49
    {"Sn", "tin", 118.69, 7.31},            // 50
    {"Sb", "antimony", 121.76, 6.691},      // 51
    {"Te", "tellurium", 127.6, 6.24},       // 52
    {"I", "iodine", 126.91, 4.93},          // 53
    {"Xe", "xenon", 131.3, 0.005485},       // 54
    {"Cs", "caesium", 132.91, 1.873},       // 55
    {"Ba", "barium", 137.36, 3.5},          // 56
    {"La", "lanthanum", 138.92, 6.154},     // 57
    {"Ce", "cerium", 140.13, 6.657},        // 58
    {"Pr", "praseodymium", 140.92, 6.71},   // 59
    {"Nd", "neodymium", 144.27, 6.9},       // 60
    {"Pm", "promethium", 147.0, 7.22},      // 61
    {"Sm", "samarium", 150.35, 7.46},       // 62
    {"Eu", "europium", 152.0, 5.243},       // 63
    {"Gd", "gadolinium", 157.26, 7.9004},   // 64
    {"Tb", "terbium", 158.93, 8.229},       // 65
    {"Dy", "dysprosium", 162.51, 8.55},     // 66
    {"Ho", "holmium", 164.94, 8.795},       // 67
    {"Er", "erbium", 167.27, 9.066},        // 68
    {"Tm", "thulium", 167.27, 9.321},       // 69
    {"Yb", "ytterbium", 173.04, 6.73},      // 70
    {"Lu", "lutetium", 174.99, 9.84},       // 71
    {"Hf", "hafnium", 178.5, 13.31},        // 72
    {"Ta", "tantalum", 180.95, 16.654},     // 73
    {"W", "tungsten", 183.92, 19.3},        // 74
    {"Re", "rhenium", 186.2, 21.02},        // 75
    {"Os", "osmium", 190.2, 22.57},         // 76
    {"Ir", "iridium", 192.2, 22.42},        // 77
    {"Pt", "platinum", 195.09, 21.45},      // 78
    {"Au", "gold", 197.2, 19.32},           // 79
    {"Hg", "mercury", 200.61, 13.546},      // 80
    {"Tl", "thallium", 204.39, 11.72},      // 81
    {"Pb", "lead", 207.21, 11.35},          // 82
    {"Bi", "bismuth", 209.0, 9.747},        // 83
    {"Po", "polonium", 209.0, 9.32},        // 84
    {"At", "astatine", 210.0, 9.32},        // 85
    {"Rn", "radon", 222.0, 0.009066},       // 86
    {"Fr", "francium", 223.0, 1.0},         // 87
    {"Ra", "radium", 226.02, 5.0},          // 88
    {"Ac", "actinium", 227.0, 10.07},       // 89
    {"Th", "thorium", 232.0, 11.72},        // 90
    {"Pa", "protactinium", 231.04, 15.37},  // 91
    {"U", "uranium", 238.07, 18.95},        // 92
    {"Np", "neptunium", 237.0, 20.25},      // 93
    {"Pu", "plutonium", 239.1, 19.84},      // 94
    {"Am", "americium", 243.0, 13.67},      // 95
    {"Cm", "curium", 247.0, 13.51},         // 96
    {"Bk", "berkelium", 249.0, 14.0},       // 97
    {"Cf", "californium", 251.0, 10.0},     // 98
}};

bool known(int Z) {
    return Z >= 1 && Z <= kLastZ;
}

const Element& element(int Z) {
    return kElements[static_cast<std::size_t>(Z - 1)];
}

}  // namespace

int symbol_exact(std::string_view s) {
    for (int z = 1; z <= kLastZ; ++z)
        if (element(z).symbol == s) return z;
    return 0;
}

int symbol_any_case(std::string_view s) {
    for (int z = 1; z <= kLastZ; ++z)
        if (detail::same_letters(element(z).symbol, s)) return z;
    return 0;
}

std::string_view symbol_of(int Z) {
    return known(Z) ? element(Z).symbol : std::string_view();
}

std::string_view name_of(int Z) {
    return known(Z) ? element(Z).name : std::string_view();
}

double atomic_weight(int Z) {
    return known(Z) ? element(Z).weight : 0.0;
}

double element_density(int Z) {
    return known(Z) ? element(Z).density : 0.0;
}

}  // namespace lumetra::chem
