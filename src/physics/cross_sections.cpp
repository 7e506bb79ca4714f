#include "physics/cross_sections.h"

#include <cstdint>
#include <cstring>

#include "physics/xrl.h"

namespace lumetra::physics {

std::size_t CrossSections::Hash::operator()(const Key& k) const {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &k.E, sizeof bits);
    std::uint64_t h = bits ^ (static_cast<std::uint64_t>(k.Z * 512 - k.line) << 52);
    h ^= h >> 33;  // a 64-bit finaliser: every bit of the energy reaches the bucket
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return static_cast<std::size_t>(h);
}

template <typename F>
double CrossSections::remembered(Table& t, const Key& k, F&& ask) {
    if (auto it = t.find(k); it != t.end()) return it->second;
    if (t.size() >= kMostEntries) t.clear();
    return t[k] = ask();
}

double CrossSections::total(int Z, double E) {
    return remembered(total_, {Z, 0, E}, [&] { return xrl::cs_total(Z, E); });
}

double CrossSections::fluor_line(int Z, int line, double E) {
    return remembered(fluor_, {Z, line, E}, [&] { return xrl::cs_fluor_line(Z, line, E); });
}

double CrossSections::line_energy(int Z, int line) {
    return remembered(energy_, {Z, line, 0.0}, [&] { return xrl::line_energy(Z, line); });
}

double CrossSections::photo(int Z, double E) {
    return remembered(photo_, {Z, 0, E}, [&] { return xrl::cs_photo(Z, E); });
}

const std::vector<CrossSections::Line>& CrossSections::lines_of(int Z) {
    auto it = lines_.find(Z);
    if (it != lines_.end()) return it->second;
    std::vector<Line> found;
    for (int code = xrl::kFirstLine; code >= xrl::kLastLine; --code) {
        const double E = xrl::line_energy(Z, code);
        if (E > xrl::kLowestEnergy && E <= xrl::kHighestEnergy) found.push_back({code, E});
    }
    return lines_[Z] = std::move(found);
}

}  // namespace lumetra::physics
