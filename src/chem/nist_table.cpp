// The compounds of the NIST list with their densities, and finding the one a
// formula names.

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "chem/compounds.h"
#include "chem/reader.h"

namespace lumetra::chem::detail {

namespace {

constexpr std::array<NistCompound, kNistCount> kNist = {{
    {"H2O", "Water, Liquid", 1.0},
    {"SiO2", "Silicon Dioxide", 2.32},
    {"Al2O3", "Aluminum Oxide", 3.97},
    {"Fe2O3", "Ferric Oxide", 5.2},
    {"FeO", "Ferrous Oxide", 5.7},
    {"TiO2", "Titanium Dioxide", 4.26},
    {"CaCO3", "Calcium Carbonate", 2.8},
    {"CaO", "Calcium Oxide", 3.3},
    {"CaF2", "Calcium Fluoride", 3.18},
    {"CaSO4", "Calcium Sulfate", 2.96},
    {"CaSO4·2H2O", "Gypsum, Plaster of Paris", 2.32},
    {"CaWO4", "Calcium Tungstate", 6.062},
    {"MgO", "Magnesium Oxide", 3.58},
    {"MgCO3", "Magnesium Carbonate", 2.958},
    {"MgF2", "Magnesium Fluoride", 3.0},
    {"MgB4O7", "Magnesium Tetraborate", 2.53},
    {"BaSO4", "Barium Sulfate", 4.5},
    {"BaF2", "Barium Fluoride", 4.89},
    {"BeO", "Beryllium oxide", 3.01},
    {"B4C", "Boron Carbide", 2.52},
    {"B2O3", "Boron Oxide", 1.812},
    {"CdTe", "Cadmium Telluride", 6.2},
    {"CdWO4", "Cadmium Tungstate", 7.9},
    {"CsI", "Cesium Iodide", 4.51},
    {"CsF", "Cesium Fluoride", 4.115},
    {"GaAs", "Gallium Arsenide", 5.31},
    {"PbO", "Lead Oxide", 9.53},
    {"LiF", "Lithium Fluoride", 2.635},
    {"LiI", "Lithium Iodide", 3.494},
    {"Li2O", "Lithium Oxide", 2.013},
    {"Li2CO3", "Lithium Carbonate", 2.11},
    {"Li2B4O7", "Lithium Tetraborate", 2.44},
    {"LiH", "Lithium Hydride", 0.82},
    {"HgI2", "Mercuric Iodide", 6.36},
    {"KI", "Potassium Iodide", 3.13},
    {"K2O", "Potassium Oxide", 2.32},
    {"NaI", "Sodium Iodide", 3.667},
    {"Na2CO3", "Sodium Carbonate", 2.532},
    {"Na2O", "Sodium Monoxide", 2.27},
    {"NaNO3", "Sodium Nitrate", 2.261},
    {"AgBr", "Silver Bromide", 6.473},
    {"AgCl", "Silver Chloride", 5.56},
    {"AgI", "Silver Iodide", 6.01},
    {"TlCl", "Thallium Chloride", 7.004},
    {"WF6", "Tungsten Hexafluoride", 2.4},
    {"UO2", "Uranium Oxide", 10.96},
    {"UC2", "Uranium Dicarbide", 11.28},
    {"UC", "Uranium Monocarbide", 13.63},
    {"Bi4Ge3O12", "Bismuth Germanium oxide", 7.13},
    {"Gd2O2S", "Gadolinium Oxysulfide", 7.44},
    {"La2O2S", "Lanthanum Oxysulfide", 5.86},
    {"LaOBr", "Lanthanum Oxybromide", 6.28},
    {"CH4O", "Methanol", 0.7914},
    {"C2H6O", "Ethyl Alcohol", 0.7893},
    {"C3H6O", "Acetone", 0.7899},
    {"C6H6", "Benzene", 0.87865},
    {"C7H8", "Toluene", 0.8669},
    {"C3H8O3", "Glycerol", 1.2613},
    {"CHCl3", "Chloroform", 1.4832},
    {"CCl4", "Carbon Tetrachloride", 1.594},
    {"C22H10N2O5", "Kapton Polyimide Film", 1.42},
    {"C10H8O4", "Polyethylene Terephthalate (Mylar)", 1.4},
}};

// The elements of g with their shares of its atoms, by atomic number.
std::vector<std::pair<int, double>> normalised(const Formula& g) {
    std::vector<std::pair<int, double>> v;
    const double N = g.count();
    for (const Atom& a : g.atoms) v.push_back({a.Z, a.n / N});
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

const std::array<NistCompound, kNistCount>& nist_compounds() {
    return kNist;
}

const NistCompound* nist_compound_of(const Formula& f) {
    const auto want = normalised(f);
    for (const NistCompound& entry : kNist) {
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
        if (same) return &entry;
    }
    return nullptr;
}

bool is_water(const Formula& f) {
    const NistCompound* c = f.atoms.size() == 2 ? nist_compound_of(f) : nullptr;
    return c && c->name == "Water, Liquid";
}

}  // namespace lumetra::chem::detail
