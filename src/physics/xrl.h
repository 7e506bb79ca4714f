#pragma once
// The reference physics library, called through one place. Every function gives a
// defined, finite value: an error inside the library, an unknown element or line,
// or an energy outside 1..150 keV gives 0 (energies where the library's tables end).
// Units as the library's: keV, cm2/g, barn-free.

#include <array>
#include <string>
#include <vector>

namespace lumetra::physics::xrl {

constexpr double kLowestEnergy = 1.0;     // keV
constexpr double kHighestEnergy = 150.0;  // keV
constexpr int kHeaviestElement = 92;      // uranium: the last element the program knows

double atomic_weight(int Z);                          // g/mol
double element_density(int Z);                        // g/cm3
double cs_total(int Z, double E);                     // CS_Total_Kissel, cm2/g
double cs_photo(int Z, double E);                     // CS_Photo_Total, cm2/g
double cs_photo_partial(int Z, int shell, double E);  // cm2/g
double cs_rayleigh(int Z, double E);                  // CS_Rayl, cm2/g
double cs_compton(int Z, double E);                   // CS_Compt, cm2/g
double cs_fluor_line(int Z, int line, double E);      // CS_FluorLine_Kissel_Cascade, cm2/g
double dcsp_rayleigh(int Z, double E, double theta, double phi);  // cm2/g/sr
double dcsp_compton(int Z, double E, double theta, double phi);   // cm2/g/sr
double compton_profile(int Z, double pz);  // electrons per atomic unit of momentum
double line_energy(int Z, int line);       // keV
double edge_energy(int Z, int shell);      // keV
double fluor_yield(int Z, int shell);
double jump_factor(int Z, int shell);
double rad_rate(int Z, int line);

// A compound of the library's NIST list by name: elements and mass fractions.
struct Compound {
    std::vector<int> Z;
    std::vector<double> mass_fraction;
    double density = 0.0;  // g/cm3
};
// Empty (no elements) when the name is not in the list.
Compound nist_compound(const std::string& name);
// A chemical formula parsed by the library ("Al2O3"); empty when it is not one.
Compound formula(const std::string& text);

// The chemical symbol of element Z ("Fe"); empty for an unknown Z.
std::string symbol(int Z);

// Shells as the library numbers them (K_SHELL, L1_SHELL, ...).
constexpr int kShellK = 0, kShellL1 = 1, kShellL2 = 2, kShellL3 = 3, kShellM1 = 4, kShellM2 = 5,
              kShellM3 = 6, kShellM4 = 7, kShellM5 = 8;

// Line codes of the library (KL3_LINE, ...) the program names. The lines it knows
// run from KL1 (-1) to M5P5 (-219): every K, L and M line.
constexpr int kFirstLine = -1, kLastLine = -219;
constexpr int kLineCount = kFirstLine - kLastLine + 1;
constexpr int kKL2 = -2, kKL3 = -3;                      // K-alpha 2, 1
constexpr int kKM2 = -5, kKM3 = -6;                      // K-beta 3, 1
constexpr int kL1M2 = -33, kL1M3 = -34;                  // L-beta 4, 3
constexpr int kL2M1 = -60, kL2M4 = -63, kL2N4 = -68;     // L-eta, L-beta 1, L-gamma 1
constexpr int kL3M1 = -86, kL3M4 = -89, kL3M5 = -90;     // L-l, L-alpha 2, 1
constexpr int kL3N5 = -95;                               // L-beta 2
constexpr int kM4N6 = -187, kM5N6 = -206, kM5N7 = -207;  // M-beta, M-alpha 2, 1

// One line code: the library's name, the shell of the vacancy the line fills, and
// whether it is a line of its own or a combined code, the library's sum of the lines
// first_part down to last_part (but for itself, when it lies among them):
// KO and KP (every KOn, KPn) and L1N67, L1O45, L1P23, L2P23, L3O45, L3P23, L3P45.
// The library's group codes KA_LINE .. LB_LINE (0 .. 3) are sums too; the program
// never asks for them and the table leaves them out.
struct LineInfo {
    int code = 0;
    const char* name = "";
    int shell = kShellK;
    int first_part = 0, last_part = 0;  // 0 for a line of its own
    constexpr bool combined() const { return first_part != 0; }
};

// Every line code from KL1 to M5P5, in the order of the codes (entry i is code -1 - i).
const std::array<LineInfo, kLineCount>& line_table();
// The entry of a line code; nullptr for a code outside KL1 .. M5P5.
const LineInfo* line_info(int line);

// The library's name of a line code from KL1 (-1) to the M lines (-219), e.g. "KL3";
// empty for other codes.
std::string line_name(int line);
// The shell of the vacancy a line fills (kShellK .. kShellM5); -1 for an unknown code.
int line_shell(int line);

// Whether element Z's rate of a line code is a line the model counts: a line of its
// own always; a combined code exactly when none of its parts has a radiative rate of
// its own for Z. The library gives some lines only summed (L3O45 of lead and platinum,
// 2.6 % and 1.6 % of their L-alpha 1): counting the sum then loses nothing and counts
// nothing twice. False for an unknown code.
bool counted_line(int Z, int line);

}  // namespace lumetra::physics::xrl
