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

int shell_code(Shell shell) {
    switch (shell) {
        case Shell::K: return K_SHELL;
        case Shell::L1: return L1_SHELL;
        case Shell::L2: return L2_SHELL;
        case Shell::L3: return L3_SHELL;
        case Shell::M1: return M1_SHELL;
        case Shell::M2: return M2_SHELL;
        case Shell::M3: return M3_SHELL;
        case Shell::M4: return M4_SHELL;
        case Shell::M5: return M5_SHELL;
    }
    return K_SHELL;
}

int line_code(Line line) {
    switch (line) {
        case Line::KL3: return KL3_LINE;
        case Line::KL2: return KL2_LINE;
        case Line::KM3: return KM3_LINE;
        case Line::KM2: return KM2_LINE;
        case Line::KN2: return KN2_LINE;
        case Line::KN3: return KN3_LINE;
        case Line::KO2: return KO2_LINE;
        case Line::KO3: return KO3_LINE;
        case Line::KM4: return KM4_LINE;
        case Line::KM5: return KM5_LINE;
        case Line::L3M5: return L3M5_LINE;
        case Line::L3M4: return L3M4_LINE;
        case Line::L3N5: return L3N5_LINE;
        case Line::L3M1: return L3M1_LINE;
        case Line::L3N4: return L3N4_LINE;
        case Line::L3O4: return L3O4_LINE;
        case Line::L3O5: return L3O5_LINE;
        case Line::L2M4: return L2M4_LINE;
        case Line::L2M1: return L2M1_LINE;
        case Line::L2N4: return L2N4_LINE;
        case Line::L2O4: return L2O4_LINE;
        case Line::L1M3: return L1M3_LINE;
        case Line::L1M2: return L1M2_LINE;
        case Line::L1N2: return L1N2_LINE;
        case Line::L1N3: return L1N3_LINE;
    }
    return KL3_LINE;
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
