#include "physics/neighbours.h"

#include <algorithm>
#include <array>

#include "physics/stack.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

struct Known {
    int line;
    const char* label;  // as a planner writes it
    const char* short_label;
};
constexpr std::array<Known, 16> kKnown = {{{xrl::kKL3, "K-alpha 1", "Ka1"},
                                           {xrl::kKL2, "K-alpha 2", "Ka2"},
                                           {xrl::kKM3, "K-beta 1", "Kb1"},
                                           {xrl::kKM2, "K-beta 3", "Kb3"},
                                           {xrl::kL3M5, "L-alpha 1", "La1"},
                                           {xrl::kL3M4, "L-alpha 2", "La2"},
                                           {xrl::kL2M4, "L-beta 1", "Lb1"},
                                           {xrl::kL3N5, "L-beta 2", "Lb2"},
                                           {xrl::kL1M3, "L-beta 3", "Lb3"},
                                           {xrl::kL1M2, "L-beta 4", "Lb4"},
                                           {xrl::kL2M1, "L-eta", "Le"},
                                           {xrl::kL3M1, "L-l", "Ll"},
                                           {xrl::kL2N4, "L-gamma 1", "Lg1"},
                                           {xrl::kM5N7, "M-alpha 1", "Ma1"},
                                           {xrl::kM5N6, "M-alpha 2", "Ma2"},
                                           {xrl::kM4N6, "M-beta", "Mb"}}};

const Known* known(int line) {
    for (const Known& k : kKnown)
        if (k.line == line) return &k;
    return nullptr;
}

// A source of a part of B by name: "Fe K-alpha 1", "Rayleigh", "Compton"; short,
// for the two of a pile-up peak: "Fe Ka1". A layer's line says which layer: "Fe K-alpha
// 1 (back layer 1)".
std::string source_name(const Result& r, int source, bool short_form) {
    if (source == BackgroundPart::kRayleigh) return "Rayleigh";
    if (source == BackgroundPart::kCompton) return "Compton";
    if (source < 0 || static_cast<std::size_t>(source) >= r.lines.size()) return "?";
    const LineRate& l = r.lines[static_cast<std::size_t>(source)];
    const Known* k = known(l.line);
    const std::string label = k ? (short_form ? k->short_label : k->label) : xrl::line_name(l.line);
    const std::string where = l.in_sample() ? "" : " (" + layer_name(l.layer) + ")";
    return xrl::symbol(l.Z) + " " + label + where;
}

std::string name_of(const Result& r, const BackgroundPart& p) {
    switch (p.kind) {
        case BackgroundPart::Kind::escape:
            return source_name(r, p.source, false) + " escape";
        case BackgroundPart::Kind::pileup:
            return "pile-up " + source_name(r, p.source, true) + " + " +
                   source_name(r, p.partner, true);
        case BackgroundPart::Kind::shelf:
            return "incomplete charge (all peaks)";
        case BackgroundPart::Kind::peak:
            break;
    }
    return source_name(r, p.source, false);
}

}  // namespace

std::string line_label(int line) {
    const Known* k = known(line);
    return k ? k->label : xrl::line_name(line);
}

std::string beyond_scale(const Setup& setup, const Result& result) {
    const double end = setup.full_energy;
    if (!result.ok || !(end > 0.0)) return {};
    const std::vector<int>& counted = setup.target_lines;
    auto is_counted = [&](const LineRate& l) {
        return l.in_sample() && l.element == 0 &&
               std::find(counted.begin(), counted.end(), l.line) != counted.end();
    };
    double target = 0.0;
    for (const LineRate& l : result.lines)
        if (is_counted(l)) target += l.total();
    std::vector<std::size_t> stronger;
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
        const LineRate& l = result.lines[i];
        if (!is_counted(l) && l.energy > end && l.total() > target) stronger.push_back(i);
    }
    std::sort(stronger.begin(), stronger.end(), [&](std::size_t a, std::size_t b) {
        return result.lines[a].total() > result.lines[b].total();
    });
    const bool elastic = result.rayleigh.rate > 0.0 && result.rayleigh.energy > end;
    const bool compton = result.compton.rate > 0.0 && result.compton.energy > end;
    std::string parts;
    if (elastic || compton)
        parts = elastic && compton ? "elastic and Compton scatter"
                : elastic          ? "elastic scatter"
                                   : "Compton scatter";
    constexpr std::size_t kNamed = 3;
    for (std::size_t k = 0; k < stronger.size() && k < kNamed; ++k)
        parts +=
            (parts.empty() ? "" : ", ") + source_name(result, static_cast<int>(stronger[k]), false);
    if (stronger.size() > kNamed)
        parts += " and " + std::to_string(stronger.size() - kNamed) + " more lines";
    if (!stronger.empty()) parts += " (stronger than the target)";
    return parts.empty() ? std::string() : "Beyond the scale: " + parts;
}

std::vector<Neighbour> neighbours(const Result& result, int n) {
    std::vector<Neighbour> found;
    if (!result.ok) return found;
    const std::vector<BackgroundPart>& parts = result.background_parts;
    const std::size_t count = std::min(parts.size(), static_cast<std::size_t>(std::max(n, 0)));
    for (std::size_t i = 0; i < count; ++i) {
        const BackgroundPart& p = parts[i];
        found.push_back({name_of(result, p), p.energy, p.rate, p.share});
    }
    return found;
}

}  // namespace lumetra::physics
