#include "reference.h"

#include <xraylib/xraylib.h>

#include <initializer_list>

namespace lumetra::data::reference {

namespace {

double checked(double value, xrl_error* error) {
    if (error == nullptr) return value;
    xrl_error_free(error);
    return 0.0;
}

}  // namespace

double photo_per_atom(int z, double energy) {
    xrl_error* error = nullptr;
    const double per_gram = checked(CS_Photo(z, energy, &error), error);
    error = nullptr;
    return per_gram * checked(AtomicWeight(z, &error), error) / 6.02214e23;
}

double edge(int z, Shell shell) {
    static const int codes[] = {K_SHELL,  L1_SHELL, L2_SHELL, L3_SHELL, M1_SHELL,
                                M2_SHELL, M3_SHELL, M4_SHELL, M5_SHELL};
    xrl_error* error = nullptr;
    return checked(EdgeEnergy(z, codes[static_cast<int>(shell)], &error), error);
}

double k_jump_factor(int z) {
    xrl_error* error = nullptr;
    return checked(JumpFactor(z, K_SHELL, &error), error);
}

std::vector<double> slot_line_energies(int z, int slot) {
    static const std::initializer_list<int> lines[21] = {
        {L3M5_LINE}, {L3M4_LINE}, {L3N5_LINE}, {L3M1_LINE}, {L3N4_LINE}, {L3O4_LINE, L3O5_LINE},
        {L2M4_LINE}, {L2M1_LINE}, {L2N4_LINE}, {L2O4_LINE},
        {L1M3_LINE}, {L1M2_LINE}, {L1N2_LINE}, {L1N3_LINE},
        {KL3_LINE},  {KL2_LINE},  {KM3_LINE},  {KN2_LINE, KN3_LINE}, {KM2_LINE},
        {KO2_LINE, KO3_LINE}, {KM4_LINE, KM5_LINE},
    };
    std::vector<double> energies;
    for (int line : lines[slot - 1]) {
        xrl_error* error = nullptr;
        const double e = checked(LineEnergy(z, line, &error), error);
        if (e > 0) energies.push_back(e);
    }
    return energies;
}

}  // namespace lumetra::data::reference
