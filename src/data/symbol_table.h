#pragma once
// Symbol table of the elements hydrogen (1) to uranium (92), indexed by Z - 1.

#include <array>
#include <string_view>

namespace lumetra::data {

constexpr int kSymbolCount = 92;

struct ElementSymbol {
    std::string_view symbol;  // one capital, or a capital and a small letter
    double mass;              // atomic mass, g/mol
};

extern const std::array<ElementSymbol, kSymbolCount> kElementSymbols;

}  // namespace lumetra::data
