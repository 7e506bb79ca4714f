#include "physics/cross_sections.h"

#include <functional>

#include "physics/xrl.h"

namespace lumetra::physics {

std::size_t CrossSections::Hash::operator()(const Key& k) const {
    const std::size_t h = std::hash<double>{}(k.E);
    return h ^ (std::hash<int>{}(k.Z * 512 + k.line) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2));
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

}  // namespace lumetra::physics
