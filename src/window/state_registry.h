#pragma once
// Name-based access to the window-level variables of RADirido, for scripts and
// checks: "Elem_count", "Elem_z(3)", "Line_energy(0,15)", "Fine_text(5)",
// "Spec_total(512)". Reading gives the value as text; writing stores a number
// (clamped like the form's own 16-bit conversions) or, for text variables, a text.
// No handler runs on a write.

#include <string>
#include <string_view>

#include "engine/calc_state.h"

namespace lumetra::window {

class RADirido;

// The shortest decimal text that reads back to the same double ("19.491", "-10",
// "1e-05"). NaN prints as "nan", infinities as "inf" / "-inf".
std::string format_number(double v);

// A number as a script writes it: optional sign, digits, full stop, exponent with
// e or E; nothing else around it. Magnitudes beyond the double range read as the
// largest finite double of their sign, tiny ones as 0. "inf", "nan", hex, blanks
// and trailing characters are refused. Independent of the C locale.
bool parse_number(std::string_view s, double& v);

// A variable name with up to two indices in parentheses.
struct VariableRef {
    std::string base;
    int index_count = 0;  // 0, 1 or 2
    long long index[2] = {0, 0};
};

// Splits "Name", "Name(i)" or "Name(i,j)"; false for anything else (blanks,
// missing parenthesis, an index that is no integer or does not fit 64 bits).
bool split_variable(std::string_view text, VariableRef& ref);

class StateRegistry {
  public:
    explicit StateRegistry(RADirido& form) : form_(form) {}

    // The value of the variable NAME as text: numbers in the shortest form, an
    // Empty variant as nothing, text variables verbatim. False with a reason in
    // `error` for an unknown name, a missing or surplus index or one out of range.
    bool read(std::string_view name, std::string& value, std::string& error) const;

    // Stores VALUE into the variable NAME. Number variables need a number
    // (parse_number); 16-bit ones take it rounded half to even and clamped to
    // -32768..32767; variants also take "Empty". Text variables take VALUE as it is.
    bool write(std::string_view name, std::string_view value, std::string& error);

    // The spectrum array called NAME ("Spec_total", ...), or nullptr.
    const engine::Spectrum* spectrum(std::string_view name) const;

  private:
    RADirido& form_;
};

}  // namespace lumetra::window
