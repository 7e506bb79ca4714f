// The one translation unit that calls the reference physics library.

#include "physics/xrl.h"

#include <xraylib/xraylib.h>

#include <cmath>
#include <memory>

namespace lumetra::physics::xrl {
namespace {

// Calls a library function with an error argument; an error or a value that is not
// finite gives 0.
template <typename F>
double guarded(F&& call) {
    xrl_error* error = nullptr;
    const double v = call(&error);
    if (error) {
        xrl_error_free(error);
        return 0.0;
    }
    return std::isfinite(v) ? v : 0.0;
}

bool in_range(double E) {
    return E >= kLowestEnergy && E <= kHighestEnergy;
}
bool element(int Z) {
    return Z >= 1 && Z <= 98;
}

// The program's names of the library's codes.
static_assert(kShellK == K_SHELL && kShellL1 == L1_SHELL && kShellL3 == L3_SHELL &&
              kShellM1 == M1_SHELL && kShellM5 == M5_SHELL);
static_assert(kFirstLine == KL1_LINE && kLastLine == M5P5_LINE);
static_assert(kKL2 == KL2_LINE && kKL3 == KL3_LINE && kKM2 == KM2_LINE && kKM3 == KM3_LINE);
static_assert(kL1M2 == L1M2_LINE && kL1M3 == L1M3_LINE && kL2M1 == L2M1_LINE &&
              kL2M4 == L2M4_LINE && kL2N4 == L2N4_LINE);
static_assert(kL3M1 == L3M1_LINE && kL3M4 == L3M4_LINE && kL3M5 == L3M5_LINE && kL3N5 == L3N5_LINE);
static_assert(kM4N6 == M4N6_LINE && kM5N6 == M5N6_LINE && kM5N7 == M5N7_LINE);

}  // namespace

double atomic_weight(int Z) {
    return element(Z) ? guarded([&](xrl_error** e) { return AtomicWeight(Z, e); }) : 0.0;
}

double element_density(int Z) {
    return element(Z) ? guarded([&](xrl_error** e) { return ElementDensity(Z, e); }) : 0.0;
}

double cs_total(int Z, double E) {
    if (!element(Z) || !in_range(E)) return 0.0;
    return guarded([&](xrl_error** e) { return CS_Total_Kissel(Z, E, e); });
}

double cs_photo(int Z, double E) {
    if (!element(Z) || !in_range(E)) return 0.0;
    return guarded([&](xrl_error** e) { return CS_Photo_Total(Z, E, e); });
}

double cs_rayleigh(int Z, double E) {
    if (!element(Z) || !in_range(E)) return 0.0;
    return guarded([&](xrl_error** e) { return CS_Rayl(Z, E, e); });
}

double cs_compton(int Z, double E) {
    if (!element(Z) || !in_range(E)) return 0.0;
    return guarded([&](xrl_error** e) { return CS_Compt(Z, E, e); });
}

double cs_photo_partial(int Z, int shell, double E) {
    if (!element(Z) || !in_range(E)) return 0.0;
    return guarded([&](xrl_error** e) { return CS_Photo_Partial(Z, shell, E, e); });
}

double cs_fluor_line(int Z, int line, double E) {
    if (!element(Z) || !in_range(E)) return 0.0;
    return guarded([&](xrl_error** e) { return CS_FluorLine_Kissel_Cascade(Z, line, E, e); });
}

double dcsp_rayleigh(int Z, double E, double theta, double phi) {
    if (!element(Z) || !in_range(E)) return 0.0;
    return guarded([&](xrl_error** e) { return DCSP_Rayl(Z, E, theta, phi, e); });
}

double dcsp_compton(int Z, double E, double theta, double phi) {
    if (!element(Z) || !in_range(E)) return 0.0;
    return guarded([&](xrl_error** e) { return DCSP_Compt(Z, E, theta, phi, e); });
}

double compton_profile(int Z, double pz) {
    if (!element(Z) || !(pz >= 0.0) || !std::isfinite(pz)) return 0.0;
    return guarded([&](xrl_error** e) { return ComptonProfile(Z, pz, e); });
}

double line_energy(int Z, int line) {
    return element(Z) ? guarded([&](xrl_error** e) { return LineEnergy(Z, line, e); }) : 0.0;
}

double edge_energy(int Z, int shell) {
    return element(Z) ? guarded([&](xrl_error** e) { return EdgeEnergy(Z, shell, e); }) : 0.0;
}

double fluor_yield(int Z, int shell) {
    return element(Z) ? guarded([&](xrl_error** e) { return FluorYield(Z, shell, e); }) : 0.0;
}

double jump_factor(int Z, int shell) {
    return element(Z) ? guarded([&](xrl_error** e) { return JumpFactor(Z, shell, e); }) : 0.0;
}

double rad_rate(int Z, int line) {
    return element(Z) ? guarded([&](xrl_error** e) { return RadRate(Z, line, e); }) : 0.0;
}

Compound nist_compound(const std::string& name) {
    Compound c;
    xrl_error* error = nullptr;
    compoundDataNIST* data = GetCompoundDataNISTByName(name.c_str(), &error);
    if (error) xrl_error_free(error);
    if (!data) return c;
    for (int i = 0; i < data->nElements; ++i) {
        c.Z.push_back(data->Elements[i]);
        c.mass_fraction.push_back(data->massFractions[i]);
    }
    c.density = data->density;
    FreeCompoundDataNIST(data);
    return c;
}

Compound formula(const std::string& text) {
    Compound c;
    xrl_error* error = nullptr;
    compoundData* data = CompoundParser(text.c_str(), &error);
    if (error) xrl_error_free(error);
    if (!data) return c;
    for (int i = 0; i < data->nElements; ++i) {
        c.Z.push_back(data->Elements[i]);
        c.mass_fraction.push_back(data->massFractions[i]);
    }
    FreeCompoundData(data);
    return c;
}

std::string symbol(int Z) {
    if (!element(Z)) return {};
    xrl_error* error = nullptr;
    char* s = AtomicNumberToSymbol(Z, &error);
    if (error) xrl_error_free(error);
    if (!s) return {};
    std::string out(s);
    xrlFree(s);
    return out;
}

}  // namespace lumetra::physics::xrl
