// Wrapper around the xraylib C interface.

#include "reference.h"

#include <xraylib/xraylib.h>

namespace lumetra::gen {

namespace {

constexpr double kAvogadro = 6.02214e23;

// The value, or 0 when the library reported an error.
double checked(double value, xrl_error* error) {
    if (error == nullptr) return value;
    xrl_error_free(error);
    return 0.0;
}

// Library codes in the order of the enumerations.
constexpr int kShellCodes[] = {K_SHELL,  L1_SHELL, L2_SHELL, L3_SHELL, M1_SHELL,
                               M2_SHELL, M3_SHELL, M4_SHELL, M5_SHELL};
// clang-format off
constexpr int kLineCodes[] = {
    KL3_LINE, KL2_LINE, KM3_LINE, KM2_LINE, KN2_LINE, KN3_LINE, KO2_LINE, KO3_LINE, KM4_LINE, KM5_LINE,
    L3M5_LINE, L3M4_LINE, L3N5_LINE, L3M1_LINE, L3N4_LINE, L3O4_LINE, L3O5_LINE,
    L2M4_LINE, L2M1_LINE, L2N4_LINE, L2O4_LINE,
    L1M3_LINE, L1M2_LINE, L1N2_LINE, L1N3_LINE,
};
// clang-format on

int shell_code(Shell shell) {
    return kShellCodes[static_cast<int>(shell)];
}
int line_code(Line line) {
    return kLineCodes[static_cast<int>(line)];
}

}  // namespace

double atomic_weight(int z) {
    xrl_error* error = nullptr;
    const double value = AtomicWeight(z, &error);
    return checked(value, error);
}

double photo_per_atom(int z, double energy) {
    xrl_error* error = nullptr;
    const double value = CS_Photo(z, energy, &error);
    return checked(value, error) * atomic_weight(z) / kAvogadro;
}

double edge_energy(int z, Shell shell) {
    xrl_error* error = nullptr;
    const double value = EdgeEnergy(z, shell_code(shell), &error);
    return checked(value, error);
}

double k_jump_factor(int z) {
    xrl_error* error = nullptr;
    const double value = JumpFactor(z, K_SHELL, &error);
    return checked(value, error);
}

double line_energy(int z, Line line) {
    xrl_error* error = nullptr;
    const double value = LineEnergy(z, line_code(line), &error);
    return checked(value, error);
}

double radiative_rate(int z, Line line) {
    xrl_error* error = nullptr;
    const double value = RadRate(z, line_code(line), &error);
    return checked(value, error);
}

double line_production(int z, Line line, double energy) {
    xrl_error* error = nullptr;
    const double value = CS_FluorLine_Kissel_Cascade(z, line_code(line), energy, &error);
    return checked(value, error);
}

}  // namespace lumetra::gen
