#pragma once
// The reader of a composition text: a small recursive-descent reader of formulas
// (formula.cpp) and mixtures (mixture.cpp) on the scanning of reader.cpp. It stops
// at the first thing it cannot read by throwing Stop with the message.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "chem/formula.h"
#include "chem/mixture.h"
#include "chem/text_scan.h"

namespace lumetra::chem::detail {

// Thrown inside the reader at the first thing it cannot read; parse_composition
// turns it into the problem.
struct Stop {
    std::string message;
};

// Problems of the composition as a whole, not of one place in its text.
constexpr std::string_view kWhole = "the composition as a whole: ";

class Reader {
  public:
    // The reader keeps s and notes by reference: both must outlive it.
    Reader(std::string_view s, std::vector<std::string>& notes) : s_(s), notes_(notes) {}

    Mixture mixture();
    // A whole text that is one formula (the trusted formulas of the NIST table).
    bool formula_only(Formula& f);

  private:
    // mixture.cpp
    Mixture items();
    void refuse_rest();
    Entry entry(Mixture& m);
    bool compound(Entry& e);
    void density_clause(Mixture& m);
    const Unit* unit(bool density_units);

    // nested.cpp: a named material, a mixture in brackets after "in"
    bool material(Entry& e);
    bool material_ahead(std::size_t j) const;
    bool nested_ahead(std::size_t j) const;
    void nested(Entry& base);

    // formula.cpp
    Formula formula();
    Formula part(int depth);
    void symbols(Formula& f);
    double optional_count();
    void put(Formula& f, const Formula& inner, double times, std::size_t end);
    void refuse_loose_letters(std::string_view run, std::size_t a) const;
    bool whole_word(std::size_t a, std::size_t b) const;
    double count(bool hydrate_aware);
    bool hydrate_dot();
    bool hydrate_after_point(std::size_t j) const;

    // reader.cpp
    double number();
    // Where a run of digits from j ends; where an exponent ("e" or "E", a sign,
    // digits) starting at j ends, or j when none starts there.
    std::size_t digits_end(std::size_t j) const;
    std::size_t exponent_end(std::size_t j) const;
    void refuse_sign(const char* what);
    void skip_blanks();
    bool blank_at(std::size_t j) const;
    bool word_at(std::size_t j, std::string_view w) const;
    bool number_start(std::size_t j) const;
    bool formula_start(std::size_t j) const;
    bool density_ahead(std::size_t j) const;
    std::string shown(std::size_t j) const;
    std::string unexpected(std::size_t j) const;
    std::string where(std::size_t j) const { return position(s_, j); }

    std::string_view s_;
    std::size_t i_ = 0;
    bool capitals_ = false;  // the compound being read has no small letters
    int nesting_ = 0;        // mixtures in brackets around the place being read
    std::vector<std::string>& notes_;
};

}  // namespace lumetra::chem::detail
