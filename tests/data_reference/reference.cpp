#include "reference.h"

#include <xraylib/xraylib.h>

#include <initializer_list>

namespace lumetra::data::reference {

namespace {

// Runs one library call; 0 when the library reports an error.
template <typename Call>
double checked(Call call) {
    xrl_error* error = nullptr;
    const double value = call(&error);
    if (error == nullptr) return value;
    xrl_error_free(error);
    return 0.0;
}

}  // namespace

double photo_per_atom(int z, double energy) {
    const double per_gram = checked([&](xrl_error** e) { return CS_Photo(z, energy, e); });
    return per_gram * checked([&](xrl_error** e) { return AtomicWeight(z, e); }) / 6.02214e23;
}

double edge(int z, Shell shell) {
    static const int codes[] = {K_SHELL,  L1_SHELL, L2_SHELL, L3_SHELL, M1_SHELL,
                                M2_SHELL, M3_SHELL, M4_SHELL, M5_SHELL};
    return checked([&](xrl_error** e) { return EdgeEnergy(z, codes[static_cast<int>(shell)], e); });
}

double k_jump_factor(int z) {
    return checked([&](xrl_error** e) { return JumpFactor(z, K_SHELL, e); });
}

std::vector<double> slot_line_energies(int z, int slot) {
    static const std::initializer_list<int> lines[21] = {
        {L3M5_LINE}, {L3M4_LINE},          {L3N5_LINE},
        {L3M1_LINE}, {L3N4_LINE},          {L3O4_LINE, L3O5_LINE},
        {L2M4_LINE}, {L2M1_LINE},          {L2N4_LINE},
        {L2O4_LINE}, {L1M3_LINE},          {L1M2_LINE},
        {L1N2_LINE}, {L1N3_LINE},          {KL3_LINE},
        {KL2_LINE},  {KM3_LINE},           {KN2_LINE, KN3_LINE},
        {KM2_LINE},  {KO2_LINE, KO3_LINE}, {KM4_LINE, KM5_LINE},
    };
    std::vector<double> energies;
    for (int line : lines[slot - 1]) {
        const double energy = checked([&](xrl_error** e) { return LineEnergy(z, line, e); });
        if (energy > 0) energies.push_back(energy);
    }
    return energies;
}

}  // namespace lumetra::data::reference
