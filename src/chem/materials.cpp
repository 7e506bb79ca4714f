// Named materials: the short names, finding a name in a text, and a material's atoms
// from its formula or from the weights of its elements.

#include "chem/materials.h"

#include <vector>

#include "chem/compounds.h"
#include "chem/reader.h"
#include "chem/text_scan.h"

namespace lumetra::chem::detail {

namespace {

// Cellulose and boron nitride are not in the list: cellulose (C6H10O5)n at the density
// of its fibres, boron nitride in its common hexagonal form.
constexpr std::array<ShortName, kShortNameCount> kShort = {{
    {"kapton", "Kapton Polyimide Film", "", 0.0, ""},
    {"mylar", "Polyethylene Terephthalate (Mylar)", "", 0.0, ""},
    {"air", "Air, Dry (near sea level)", "", 0.0, ""},
    {"cellulose", "", "C6H10O5", 1.5, "cellulose, C6H10O5"},
    {"boron nitride", "", "BN", 2.1, "hexagonal boron nitride, BN"},
}};

// The bytes of name at byte j of s, 0 when it does not stand there: letters in any
// case, a space for one or more blanks, anything else as written; not followed by a
// letter or digit.
std::size_t name_length(std::string_view s, std::size_t j, std::string_view name) {
    std::size_t k = j;
    for (const char c : name) {
        if (c == ' ') {
            const std::size_t first = blank_length(s, k);
            if (first == 0) return 0;
            k += first;
            while (const std::size_t n = blank_length(s, k)) k += n;
        } else if (k < s.size() && (letter(c) ? lower_of(s[k]) == lower_of(c) : s[k] == c)) {
            ++k;
        } else {
            return 0;
        }
    }
    if (k < s.size() && alnum(s[k])) return 0;
    return k - j;
}

// The formula that the composition language writes for a compound of the list.
const NistCompound* compound_named(std::string_view name) {
    for (const NistCompound& c : nist_compounds())
        if (c.name == name) return &c;
    return nullptr;
}

Formula formula_of(std::string_view text, std::size_t at) {
    std::vector<std::string> ignored;
    Reader reader(text, ignored);
    Formula read, placed;
    reader.formula_only(read);  // the tables' formulas are checked to read
    for (const Atom& a : read.atoms) placed.add(a.Z, a.n, at);
    return placed;
}

// 100 atoms in the proportions that the weights give: n_Z = w_Z / A_Z, scaled.
Formula formula_by_weight(const NistMaterial& m, std::size_t at) {
    Formula f;
    double atoms = 0.0;
    for (std::size_t k = m.first; k < m.first + m.count; ++k) {
        const MaterialShare& s = nist_shares()[k];
        f.add(s.Z, s.fraction / atomic_weight(s.Z), at);
        atoms += s.fraction / atomic_weight(s.Z);
    }
    for (Atom& a : f.atoms) a.n *= 100.0 / atoms;
    return f;
}

NamedMaterial from_list(const NistMaterial& m, std::size_t at) {
    NamedMaterial out;
    if (const NistCompound* c = compound_named(m.name)) {
        out.formula = formula_of(c->formula, at);
    } else {
        out.formula = formula_by_weight(m, at);
        out.by_weight = true;
    }
    out.density = m.density;
    out.source = std::string(m.name) + " in the NIST list";
    return out;
}

}  // namespace

const std::array<ShortName, kShortNameCount>& short_names() {
    return kShort;
}

std::optional<NamedMaterial> material_at(std::string_view s, std::size_t j, std::size_t& length) {
    const NistMaterial* best = nullptr;
    const ShortName* best_short = nullptr;
    length = 0;
    for (const NistMaterial& m : nist_materials()) {
        if (const std::size_t n = name_length(s, j, m.name); n > length) {
            length = n;
            best = &m;
        }
    }
    for (const ShortName& m : kShort) {
        if (const std::size_t n = name_length(s, j, m.name); n > length) {
            length = n;
            best_short = &m;
            best = nullptr;
        }
    }
    if (best) return from_list(*best, j);
    if (!best_short) return std::nullopt;
    if (!best_short->nist.empty()) {
        for (const NistMaterial& m : nist_materials())
            if (m.name == best_short->nist) return from_list(m, j);
        return std::nullopt;  // every short name's material is checked to be listed
    }
    NamedMaterial out;
    out.formula = formula_of(best_short->formula, j);
    out.density = best_short->density;
    out.source = std::string(best_short->source);
    return out;
}

}  // namespace lumetra::chem::detail
