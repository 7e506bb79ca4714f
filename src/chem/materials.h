#pragma once
// Materials a composition may name instead of writing a formula: every material of
// the NIST list by its name, and the short names a laboratory uses for a few.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "chem/formula.h"

namespace lumetra::chem::detail {

struct MaterialShare {
    int Z;
    double fraction;  // of the material's weight
};

struct NistMaterial {
    std::string_view name;  // as the NIST list names it
    double density;         // g/cm3
    std::size_t first;      // its shares in nist_shares()
    std::size_t count;
};

constexpr std::size_t kNistMaterialCount = 180;
constexpr std::size_t kNistShareCount = 633;

// The list in its order, with the weight shares of every material's elements.
const std::array<NistMaterial, kNistMaterialCount>& nist_materials();
const std::array<MaterialShare, kNistShareCount>& nist_shares();

// A short name and what it stands for: a material of the NIST list, or a formula
// with a density where the list has none.
struct ShortName {
    std::string_view name;  // small letters, one space between words
    std::string_view nist;  // "" when given by formula and density
    std::string_view formula;
    double density;  // g/cm3, with the formula
    std::string_view source;
};

constexpr std::size_t kShortNameCount = 5;
const std::array<ShortName, kShortNameCount>& short_names();

// A material as a text names it: its atoms, its density and where that comes from.
struct NamedMaterial {
    Formula formula;
    // Given by the weights of its elements, not by a formula: its formula unit is 100
    // atoms in the proportions of the weights, which counts atoms and weight rightly
    // but has no meaning for moles.
    bool by_weight = false;
    double density = 0.0;  // g/cm3
    std::string source;    // of the density, for the preview
};

// The material named at byte j of s: the longest name of the NIST list or of the
// short names that starts there, in any case, a space of the name standing for any
// blanks of the text, and not followed by a letter or a digit. The material's atoms
// are placed at byte j. length receives the bytes of the name in s.
std::optional<NamedMaterial> material_at(std::string_view s, std::size_t j, std::size_t& length);

}  // namespace lumetra::chem::detail
