#pragma once
// The library's cross-sections and line energies, remembered by their arguments.
// A recalculation after a change of contents, angles, distance or detector asks
// for the same values as the one before, so it reads them from here instead of
// the library; a change of the incident energy asks only a few new ones.

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace lumetra::physics {

class CrossSections {
  public:
    double total(int Z, double E);                 // CS_Total_Kissel, cm2/g
    double fluor_line(int Z, int line, double E);  // CS_FluorLine_Kissel_Cascade, cm2/g
    double line_energy(int Z, int line);           // keV
    double photo(int Z, double E);                 // CS_Photo_Total, cm2/g

    // The lines of element Z with an energy of 1 to 150 keV: code and energy, keV,
    // from KL1 through the M lines.
    struct Line {
        int code = 0;
        double energy = 0.0;
    };
    const std::vector<Line>& lines_of(int Z);

  private:
    struct Key {
        int Z = 0, line = 0;
        double E = 0.0;
        bool operator==(const Key& o) const { return Z == o.Z && line == o.line && E == o.E; }
    };
    struct Hash {
        std::size_t operator()(const Key& k) const;
    };
    using Table = std::unordered_map<Key, double, Hash>;
    Table total_, fluor_, energy_, photo_;
    std::unordered_map<int, std::vector<Line>> lines_;

    // Looks the arguments up, or asks the library once. A table that has grown
    // large (a long session of many elements and energies) starts afresh.
    template <typename F>
    double remembered(Table& t, const Key& k, F&& ask);
    static constexpr std::size_t kMostEntries = 1u << 18;
};

}  // namespace lumetra::physics
