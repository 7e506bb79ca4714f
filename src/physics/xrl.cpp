// The one translation unit that calls the reference physics library.

#include "physics/xrl.h"

#include <xraylib/xraylib.h>

#include <array>
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

constexpr std::array<const char*, 219> kLineNames = {
    "KL1",   "KL2",  "KL3",   "KM1",   "KM2",   "KM3",  "KM4",  "KM5",  "KN1",   "KN2",   "KN3",
    "KN4",   "KN5",  "KN6",   "KN7",   "KO",    "KO1",  "KO2",  "KO3",  "KO4",   "KO5",   "KO6",
    "KO7",   "KP",   "KP1",   "KP2",   "KP3",   "KP4",  "KP5",  "L1L2", "L1L3",  "L1M1",  "L1M2",
    "L1M3",  "L1M4", "L1M5",  "L1N1",  "L1N2",  "L1N3", "L1N4", "L1N5", "L1N6",  "L1N67", "L1N7",
    "L1O1",  "L1O2", "L1O3",  "L1O4",  "L1O45", "L1O5", "L1O6", "L1O7", "L1P1",  "L1P2",  "L1P23",
    "L1P3",  "L1P4", "L1P5",  "L2L3",  "L2M1",  "L2M2", "L2M3", "L2M4", "L2M5",  "L2N1",  "L2N2",
    "L2N3",  "L2N4", "L2N5",  "L2N6",  "L2N7",  "L2O1", "L2O2", "L2O3", "L2O4",  "L2O5",  "L2O6",
    "L2O7",  "L2P1", "L2P2",  "L2P23", "L2P3",  "L2P4", "L2P5", "L2Q1", "L3M1",  "L3M2",  "L3M3",
    "L3M4",  "L3M5", "L3N1",  "L3N2",  "L3N3",  "L3N4", "L3N5", "L3N6", "L3N7",  "L3O1",  "L3O2",
    "L3O3",  "L3O4", "L3O45", "L3O5",  "L3O6",  "L3O7", "L3P1", "L3P2", "L3P23", "L3P3",  "L3P4",
    "L3P45", "L3P5", "L3Q1",  "M1M2",  "M1M3",  "M1M4", "M1M5", "M1N1", "M1N2",  "M1N3",  "M1N4",
    "M1N5",  "M1N6", "M1N7",  "M1O1",  "M1O2",  "M1O3", "M1O4", "M1O5", "M1O6",  "M1O7",  "M1P1",
    "M1P2",  "M1P3", "M1P4",  "M1P5",  "M2M3",  "M2M4", "M2M5", "M2N1", "M2N2",  "M2N3",  "M2N4",
    "M2N5",  "M2N6", "M2N7",  "M2O1",  "M2O2",  "M2O3", "M2O4", "M2O5", "M2O6",  "M2O7",  "M2P1",
    "M2P2",  "M2P3", "M2P4",  "M2P5",  "M3M4",  "M3M5", "M3N1", "M3N2", "M3N3",  "M3N4",  "M3N5",
    "M3N6",  "M3N7", "M3O1",  "M3O2",  "M3O3",  "M3O4", "M3O5", "M3O6", "M3O7",  "M3P1",  "M3P2",
    "M3P3",  "M3P4", "M3P5",  "M3Q1",  "M4M5",  "M4N1", "M4N2", "M4N3", "M4N4",  "M4N5",  "M4N6",
    "M4N7",  "M4O1", "M4O2",  "M4O3",  "M4O4",  "M4O5", "M4O6", "M4O7", "M4P1",  "M4P2",  "M4P3",
    "M4P4",  "M4P5", "M5N1",  "M5N2",  "M5N3",  "M5N4", "M5N5", "M5N6", "M5N7",  "M5O1",  "M5O2",
    "M5O3",  "M5O4", "M5O5",  "M5O6",  "M5O7",  "M5P1", "M5P2", "M5P3", "M5P4",  "M5P5",
};

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

std::string line_name(int line) {
    if (line > -1 || line < -219) return {};
    return kLineNames[static_cast<std::size_t>(-line - 1)];
}

}  // namespace lumetra::physics::xrl
