// Symbol lookup: chemical symbol to atomic number and atomic mass.

#include "data/symbols.h"

#include <string_view>

#include "data/symbol_table.h"

namespace lumetra::data {

namespace {

constexpr int kActinium = 89;

// The text without the space characters at both ends (tabs and inner blanks stay).
std::string_view trim_spaces(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

}  // namespace

// Z: atomic number; Mass: g/mol.
void Z_of_symbol(const std::string& Symbol, std::int16_t& Z, double& Mass,
                 common::Dialogs& dialogs) {
    const std::string_view symbol = trim_spaces(Symbol);
    Z = 0;
    Mass = 0;
    if (symbol.size() != 1 && symbol.size() != 2) return;

    for (int i = 0; i < kSymbolCount; ++i) {
        const ElementSymbol& entry = kElementSymbols[static_cast<std::size_t>(i)];
        if (entry.symbol != symbol) continue;
        if (i + 1 == kActinium) {
            // Known, but without data: the callers accept the number, the mass stays 0.
            dialogs.titled_message("Element symbol", "Ac is not supported");
            Z = kActinium;
            return;
        }
        Z = static_cast<std::int16_t>(i + 1);
        Mass = entry.mass;
        return;
    }
    // Only a two-character text is reported as an unknown symbol.
    if (symbol.size() == 2) {
        Z = -10;
        Mass = -10;
    }
}

}  // namespace lumetra::data
