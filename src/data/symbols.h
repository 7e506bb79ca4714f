#pragma once
// Element symbols, atomic numbers and atomic masses, hydrogen to uranium.

#include <cstdint>
#include <string>

#include "common/dialogs.h"

namespace lumetra::data {

// Looks up a chemical symbol (blanks at both ends ignored, compared exactly).
// Z: atomic number; 0 for an empty or other non-symbol text, -10 for a
// two-character text that is no symbol. Mass: atomic mass in g/mol (0 / -10 likewise).
// "Ac" shows "Ac is not supported" and gives Z 89 with Mass 0.
void Z_of_symbol(const std::string& Symbol, std::int16_t& Z, double& Mass,
                 common::Dialogs& dialogs);

}  // namespace lumetra::data
