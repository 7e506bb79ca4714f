// Reading mixtures: entries with their amounts and units, the compound after "in",
// and a density clause.

#include <algorithm>
#include <array>
#include <utility>

#include "chem/limits.h"
#include "chem/reader.h"
#include "chem/wording.h"

namespace lumetra::chem::detail {

namespace {

// A leading 'u' also stands for the micro sign (U+00B5) and the Greek mu (U+03BC), a
// final 'L' also for 'l' (unit_length).
constexpr std::array<Unit, 38> kUnits = {{
    {"wt. %", Kind::weight, 1.0, true},      {"wt.%", Kind::weight, 1.0, true},
    {"wt %", Kind::weight, 1.0, true},       {"wt%", Kind::weight, 1.0, true},
    {"at. %", Kind::atoms, 1.0, true},       {"at.%", Kind::atoms, 1.0, true},
    {"at %", Kind::atoms, 1.0, true},        {"at%", Kind::atoms, 1.0, true},
    {"mol. %", Kind::moles, 1.0, true},      {"mol.%", Kind::moles, 1.0, true},
    {"mol %", Kind::moles, 1.0, true},       {"mol%", Kind::moles, 1.0, true},
    {"ppm", Kind::weight, 1e-4, true},       {"ppb", Kind::weight, 1e-7, true},
    {"mg/kg", Kind::weight, 1e-4, false},    {"ug/g", Kind::weight, 1e-4, false},
    {"ug/kg", Kind::weight, 1e-7, false},    {"ng/g", Kind::weight, 1e-7, false},
    {"%", Kind::weight, 1.0, false},         {"mol/L", Kind::molar, 1.0, false},
    {"mmol/L", Kind::molar, 1e-3, false},    {"umol/L", Kind::molar, 1e-6, false},
    {"nmol/L", Kind::molar, 1e-9, false},    {"M", Kind::molar, 1.0, false},
    {"mM", Kind::molar, 1e-3, false},        {"uM", Kind::molar, 1e-6, false},
    {"nM", Kind::molar, 1e-9, false},        {"g/L", Kind::per_litre, 1.0, false},
    {"mg/L", Kind::per_litre, 1e-3, false},  {"ug/L", Kind::per_litre, 1e-6, false},
    {"ng/L", Kind::per_litre, 1e-9, false},  {"mg/mL", Kind::per_litre, 1.0, false},
    {"ug/mL", Kind::per_litre, 1e-3, false}, {"g/cm3", Kind::none, 1.0, false},
    {"g/mL", Kind::none, 1.0, false},        {"g/cc", Kind::none, 1.0, false},
    {"g/cm^3", Kind::none, 1.0, false},      {"kg/L", Kind::none, 1.0, false},
}};

// The bytes of unit u at byte j of s, 0 when it does not stand there.
std::size_t unit_length(std::string_view s, std::size_t j, const Unit& u) {
    std::size_t k = j;
    for (std::size_t c = 0; c < u.text.size(); ++c) {
        const char want = u.text[c];
        if (c == 0 && want == 'u') {
            const std::string_view here = s.substr(k, 2);
            if (here == "\xC2\xB5" || here == "\xCE\xBC") {
                k += 2;
                continue;
            }
        }
        if (k >= s.size()) return 0;
        const bool same = u.any_case || (want == 'L' && c + 1 == u.text.size())
                              ? lower_of(s[k]) == lower_of(want)
                              : s[k] == want;
        if (!same) return 0;
        ++k;
    }
    if (letter(u.text.back()) && k < s.size() && alnum(s[k])) return 0;
    return k - j;
}

// What the reading says of the units of a mixture.
void note_unit(Mixture& m, const Unit& u) {
    m.bare_percent = m.bare_percent || u.text == "%";
    m.ppm = m.ppm || (u.kind == Kind::weight && u.factor < 1.0);
}

}  // namespace

const char* kind_words(Kind k) {
    switch (k) {
        case Kind::weight:
            return "weight percent";
        case Kind::relative:
            return "relative weights (':' without a unit)";
        case Kind::atoms:
            return "atom percent";
        case Kind::moles:
            return "mole percent";
        case Kind::molar:
            return "concentrations (mol/L)";
        case Kind::per_litre:
            return "concentrations (g/L)";
        case Kind::none:
            break;
    }
    return "no amount";
}

const char* fraction_words(Kind k) {
    switch (k) {
        case Kind::atoms:
            return "atom fractions";
        case Kind::moles:
            return "mole fractions";
        default:
            return "weight fractions";
    }
}

const Unit* Reader::unit(bool density_units) {
    const Unit* best = nullptr;
    std::size_t length = 0;
    for (const Unit& u : kUnits) {
        if ((u.kind == Kind::none) != density_units) continue;
        if (const std::size_t n = unit_length(s_, i_, u); n > length) {
            length = n;
            best = &u;
        }
    }
    i_ += length;
    return best;
}

Mixture Reader::mixture() {
    Mixture m = items();
    skip_blanks();
    if (i_ < s_.size()) refuse_rest();
    return m;
}

// The entries, the compound (or mixture in brackets) after "in" and a density, up to
// the first thing that belongs to none of them.
Mixture Reader::items() {
    Mixture m;
    skip_blanks();
    while (true) {
        m.entries.push_back(entry(m));
        skip_blanks();
        if (i_ < s_.size() && (s_[i_] == ',' || s_[i_] == ';' || s_[i_] == '+')) {
            ++i_;
            skip_blanks();
            continue;
        }
        break;
    }
    if (word_at(i_, "in")) {
        const std::size_t in_at = i_;
        i_ += 2;
        skip_blanks();
        Entry base;
        base.at = i_;
        if (i_ >= s_.size()) throw Stop{"missing compound after 'in' at " + where(in_at)};
        if (nested_ahead(i_)) {
            nested(base);
        } else if (!compound(base)) {
            throw Stop{unexpected(i_) + ": a compound should follow 'in'"};
        }
        m.entries.push_back(std::move(base));
        m.base = static_cast<int>(m.entries.size()) - 1;
        density_clause(m);
    } else if (m.entries.size() == 1 && m.entries[0].kind == Kind::none) {
        density_clause(m);
    }
    return m;
}

// What stands at i_ where the mixture has ended.
void Reader::refuse_rest() {
    if (density_ahead(i_))
        throw Stop{"the density at " + where(i_) +
                   " belongs after a lone compound or after the compound after 'in'"};
    if (number_start(i_) || formula_start(i_))
        throw Stop{unexpected(i_) + ": separate the parts with ','"};
    throw Stop{unexpected(i_)};
}

Entry Reader::entry(Mixture& m) {
    Entry e;
    refuse_sign("amount");
    if (number_start(i_) && !material_ahead(i_)) {
        e.amount_at = i_;
        e.amount = number();
        skip_blanks();
        const Unit* u = unit(false);
        if (!u) {
            const std::string needs = "the amount at " + where(e.amount_at) +
                                      " needs a unit: wt%, at%, mol%, ppm, ppb, M, mM, µM or nM";
            if (i_ < s_.size() && s_[i_] == '.')
                throw Stop{"full stop at " + where(i_) + " after the amount at " +
                           where(e.amount_at) + ": write the amount without it (5 or 5.0) " +
                           "and a unit"};
            // A character no unit starts with is the fault, not the missing unit.
            if (i_ < s_.size() && !letter(s_[i_])) throw Stop{unexpected(i_) + ": " + needs};
            throw Stop{needs};
        }
        e.kind = u->kind;
        e.amount *= u->factor;
        e.amount_text = std::string(s_.substr(e.amount_at, i_ - e.amount_at));
        note_unit(m, *u);
        skip_blanks();
        if (word_at(i_, "of")) {
            i_ += 2;
            skip_blanks();
        }
        e.at = i_;
        if (!compound(e)) {
            if (i_ >= s_.size())
                throw Stop{"missing compound after the amount at " + where(e.amount_at)};
            throw Stop{unexpected(i_) + ": a compound should follow the amount at " +
                       where(e.amount_at)};
        }
        return e;
    }
    e.at = i_;
    if (!compound(e)) {
        if (i_ < s_.size() &&
            (s_[i_] == '+' || s_[i_] == ',' || s_[i_] == ';' || (s_[i_] == ')' && nesting_ > 0)))
            throw Stop{"missing compound before " + shown(i_) + " at " + where(i_)};
        if (i_ >= s_.size()) throw Stop{unexpected(i_) + ": a compound should follow"};
        throw Stop{unexpected(i_)};
    }
    skip_blanks();
    if (i_ < s_.size() && s_[i_] == ':') {
        const std::size_t colon = i_;
        ++i_;
        skip_blanks();
        refuse_sign("amount");
        if (!number_start(i_)) throw Stop{"missing amount after ':' at " + where(colon)};
        e.amount_at = i_;
        e.amount = number();
        const std::size_t end = i_;
        skip_blanks();
        if (const Unit* u = unit(false)) {
            e.kind = u->kind;
            e.amount *= u->factor;
            note_unit(m, *u);
        } else {
            i_ = end;
            e.kind = Kind::relative;
        }
        e.amount_text = std::string(s_.substr(e.amount_at, i_ - e.amount_at));
    }
    return e;
}

bool Reader::compound(Entry& e) {
    const std::size_t start = i_;
    if (material(e)) return true;
    if (word_at(i_, "water")) {
        i_ += 5;
        e.formula.add(1, 2.0, start);
        e.formula.add(8, 1.0, start);
        e.name = "water";
        return true;
    }
    if (!formula_start(i_)) return false;
    std::size_t end = i_;
    while (end < s_.size() && !blank_at(end) &&
           std::string_view(",;:+").find(s_[end]) == std::string_view::npos)
        ++end;
    const std::string_view ahead = s_.substr(i_, end - i_);
    capitals_ = std::none_of(ahead.begin(), ahead.end(), lower);
    e.formula = formula();
    e.name = echo(s_.substr(start, i_ - start));  // for messages: cut when long
    return true;
}

void Reader::density_clause(Mixture& m) {
    skip_blanks();
    if (!density_ahead(i_)) return;
    const std::size_t open = i_;
    ++i_;
    skip_blanks();
    i_ += word_at(i_, "rho") ? 3 : 7;
    skip_blanks();
    if (i_ < s_.size() && (s_[i_] == '=' || s_[i_] == ':')) ++i_;
    skip_blanks();
    refuse_sign("density");
    if (!number_start(i_)) throw Stop{"missing density value at " + where(i_)};
    const std::size_t at = i_;
    const double d = number();
    const std::string text = echo(s_.substr(at, i_ - at));
    skip_blanks();
    unit(true);
    skip_blanks();
    if (i_ >= s_.size() || s_[i_] != ')') {
        if (i_ < s_.size()) throw Stop{unexpected(i_) + " in the density"};
        throw Stop{"missing ')' for '(' at " + where(open)};
    }
    ++i_;
    if (!(d >= kMinDensity && d <= kMaxDensity))
        throw Stop{"density " + text + " at " + where(at) + ": a density lies from " +
                   fixed(kMinDensity, 4) + " to " + significant(kMaxDensity, 3) + " g/cm3"};
    m.density = d;
}

}  // namespace lumetra::chem::detail
