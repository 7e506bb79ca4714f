// Reading formulas: symbols in their case or in any case, counts, brackets and
// hydrates, and the letters that are words rather than a formula.

#include <algorithm>
#include <charconv>
#include <system_error>
#include <utility>

#include "chem/limits.h"
#include "chem/reader.h"
#include "chem/wording.h"

namespace lumetra::chem::detail {

Formula Reader::formula() {
    Formula f = part(0);
    while (true) {
        const std::size_t dot = i_;
        if (!hydrate_dot()) break;
        const double times = number_start(i_) ? count(false) : 1.0;
        if (!formula_start(i_)) throw Stop{"missing formula after the dot at " + where(dot)};
        const Formula water = part(0);
        put(f, water, times, i_);
    }
    return f;
}

Formula Reader::part(int depth) {
    Formula f;
    const std::size_t start = i_;
    while (i_ < s_.size()) {
        const char c = s_[i_];
        if (letter(c)) {
            symbols(f);
        } else if ((c == '(' || c == '[') && !density_ahead(i_)) {
            if (depth >= kMaxDepth)
                throw Stop{"brackets nested too deeply at " + where(i_) + " (at most 8 levels)"};
            const std::size_t open = i_;
            const char close = c == '(' ? ')' : ']';
            ++i_;
            const Formula inner = part(depth + 1);
            if (i_ >= s_.size() || s_[i_] != close) {
                if (i_ < s_.size() && (s_[i_] == ')' || s_[i_] == ']'))
                    throw Stop{std::string("'") + c + "' at " + where(open) + " is closed by '" +
                               s_[i_] + "' at " + where(i_)};
                throw Stop{std::string("missing '") + close + "' for '" + c + "' at " +
                           where(open)};
            }
            ++i_;
            const double times = optional_count();
            put(f, inner, times, i_);
        } else {
            break;
        }
    }
    if (i_ == start) {
        if (depth > 0 && i_ < s_.size() && (s_[i_] == ')' || s_[i_] == ']'))
            throw Stop{"empty brackets at " + where(i_ - 1)};
        if (depth > 0 && i_ >= s_.size())
            throw Stop{unexpected(i_) + ": a formula and its closing bracket should follow"};
        throw Stop{unexpected(i_)};
    }
    return f;
}

namespace {

// A run of letters read whatever its case: the reading with the fewest symbols,
// two-letter ones first, and another reading where one exists (the chosen one up
// to the last symbol that can be read otherwise, that one the other way, then the
// best rest). Without a reading, `far` is where the unknown symbol starts.
struct AnyCase {
    std::vector<std::pair<int, std::size_t>> best;  // Z, start in the run
    std::vector<int> other;
    bool ok = false;
    std::size_t far = 0;
};

AnyCase read_any_case(std::string_view run) {
    const std::size_t n = run.size();
    std::vector<int> one(n + 1, 0), two(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        one[k] = symbol_any_case(run.substr(k, 1));
        if (k + 1 < n) two[k] = symbol_any_case(run.substr(k, 2));
    }
    constexpr int kNone = 1 << 30;
    std::vector<int> fewest(n + 1, kNone);  // fewest symbols that read run[k..n)
    fewest[n] = 0;
    for (std::size_t k = n; k-- > 0;) {
        if (one[k] && fewest[k + 1] != kNone) fewest[k] = fewest[k + 1] + 1;
        if (two[k] && fewest[k + 2] != kNone) fewest[k] = std::min(fewest[k], fewest[k + 2] + 1);
    }
    AnyCase r;
    if (fewest[0] == kNone) {
        std::vector<bool> reach(n + 1, false);
        reach[0] = true;
        for (std::size_t k = 0; k < n; ++k) {
            if (!reach[k]) continue;
            r.far = k;
            if (one[k]) reach[k + 1] = true;
            if (two[k]) reach[k + 2] = true;
        }
        return r;
    }
    r.ok = true;
    auto best_from = [&](std::size_t k, auto add) {
        while (k < n) {
            const bool pair = two[k] && fewest[k + 2] + 1 == fewest[k];
            add(pair ? two[k] : one[k], k);
            k += pair ? 2 : 1;
        }
    };
    best_from(0, [&](int Z, std::size_t k) { r.best.push_back({Z, k}); });
    for (std::size_t t = r.best.size(); t-- > 0;) {
        const std::size_t k = r.best[t].second;
        const bool was_pair = r.best[t].first == two[k];
        const std::size_t len = was_pair ? 1 : 2;
        const int other = len == 1 ? one[k] : two[k];
        if (other == 0 || fewest[k + len] == kNone) continue;
        for (std::size_t u = 0; u < t; ++u) r.other.push_back(r.best[u].first);
        r.other.push_back(other);
        best_from(k + len, [&](int Z, std::size_t) { r.other.push_back(Z); });
        break;
    }
    return r;
}

}  // namespace

// A run of letters and its count. Symbols written with capitals are read exactly;
// a run that is not so readable is read whatever its case. A note tells where the
// other reading of the letters differs (also for a compound written all in capitals).
void Reader::symbols(Formula& f) {
    const std::size_t a = i_;
    while (i_ < s_.size() && letter(s_[i_])) ++i_;
    const std::size_t b = i_;
    const std::string_view run = s_.substr(a, b - a);
    const std::size_t n = run.size();

    std::vector<std::pair<int, std::size_t>> tokens;  // Z, byte
    bool exact = true;
    for (std::size_t k = 0; k < n && exact;) {
        std::size_t e = k + 1;
        while (e < n && lower(run[e])) ++e;
        const int Z = upper(run[k]) && e - k <= 2 ? symbol_exact(run.substr(k, e - k)) : 0;
        exact = Z > 0;
        tokens.push_back({Z, a + k});
        k = e;
    }
    std::vector<int> read, other;
    if (!exact) {
        if (material_ahead(a))
            throw Stop{"'" + echo(run) + "' at " + where(a) +
                       " names a material: write it alone, not inside a formula"};
        refuse_loose_letters(run, a);
        const AnyCase any = read_any_case(run);
        if (!any.ok) {
            if (whole_word(a, b))
                throw Stop{"unknown material or element '" + echo(run) + "' at " + where(a)};
            const std::size_t len = any.far + 1 < n && lower(run[any.far + 1]) ? 2 : 1;
            throw Stop{"unknown element '" + std::string(run.substr(any.far, len)) + "' at " +
                       where(a + any.far)};
        }
        tokens.clear();
        for (const auto& [Z, k] : any.best) {
            tokens.push_back({Z, a + k});
            read.push_back(Z);
        }
        other = any.other;
    } else if (capitals_ && n >= 2) {
        const AnyCase any = read_any_case(run);
        for (const auto& t : tokens) read.push_back(t.first);
        for (const auto& t : any.best) other.push_back(t.first);
        if (other == read) other.clear();
    }
    if (!other.empty()) {
        std::string as_read, written;
        std::vector<std::string> read_names, other_names;
        for (const int Z : read) {
            as_read += symbol_of(Z);
            read_names.emplace_back(name_of(Z));
        }
        for (const int Z : other) {
            written += symbol_of(Z);
            other_names.emplace_back(name_of(Z));
        }
        const bool alone = (a == 0 || !(alnum(s_[a - 1]) || s_[a - 1] == ')')) &&
                           (b == s_.size() || !(alnum(s_[b]) || s_[b] == '(' || s_[b] == '.'));
        const std::string meant =
            alone && written == "CO" ? "carbon monoxide" : listing(other_names);
        const std::string note = "read \"" + echo(run) + "\" as " + listing(read_names) + " (" +
                                 as_read + "); write " + written + " for " + meant;
        if (std::find(notes_.begin(), notes_.end(), note) == notes_.end()) notes_.push_back(note);
    }
    const double times = optional_count();
    Formula these;
    for (std::size_t t = 0; t < tokens.size(); ++t)
        these.add(tokens[t].first, t + 1 == tokens.size() ? times : 1.0, tokens[t].second);
    put(f, these, 1.0, i_);
}

// f += times inner, where the text has been read up to byte `end`. The counts
// multiplied through brackets and hydrates (and added up) give at most 1e6 atoms of
// an element in one formula unit: more is no compound.
void Reader::put(Formula& f, const Formula& inner, double times, std::size_t end) {
    f.add(inner, times);
    for (const Atom& a : f.atoms) {
        if (a.n > kMaxCount)
            throw Stop{"the counts up to " + where(end > 0 ? end - 1 : 0) + " give " +
                       significant(a.n, 7) + " atoms of " + std::string(symbol_of(a.Z)) +
                       " in one formula unit (at most 1000000)"};
    }
}

// Letters that are not symbols as written are read whatever their case only where a
// formula is merely written in the wrong case ("fe2o3", "NACL", "Sio2", "cuSO4"); a
// word, or letters glued to a word, is refused rather than read as symbols:
// - the word water among other letters ("waterH" is not W At Er H);
// - "in" or "of" in small letters glued to a capital ("Fe2O3inSiO2");
// - the name of an element ("iron");
// - more than 6 letters (no formula runs so long without a count or a capital);
// - a capital followed by two or more small letters after the run's first letter
//   ("FeCoo": a symbol is a capital and at most one small letter).
void Reader::refuse_loose_letters(std::string_view run, std::size_t a) const {
    const std::string quoted = "'" + echo(run) + "' at " + where(a);
    for (std::size_t k = 0; k + 5 <= run.size(); ++k) {
        if (same_letters(run.substr(k, 5), "water"))
            throw Stop{quoted +
                       ": the word water runs into other letters; write water alone, or H2O "
                       "in a formula"};
    }
    // Written with capitals, a capital and at most one small letter at a time: the
    // symbol that is not one is the fault ("FeXx"), not the case.
    bool cased = !lower(run[0]);
    for (std::size_t k = 0; cased && k + 2 < run.size(); ++k)
        cased = !(upper(run[k]) && lower(run[k + 1]) && lower(run[k + 2]));
    if (cased && std::any_of(run.begin(), run.end(), lower)) return;
    if (run.size() > 2 && (run.substr(0, 2) == "in" || run.substr(0, 2) == "of") && upper(run[2]))
        throw Stop{"'" + std::string(run.substr(0, 2)) + "' at " + where(a) + " runs into '" +
                   echo(run.substr(2)) + "': leave a blank on each side of '" +
                   std::string(run.substr(0, 2)) + "'"};
    for (const std::string_view name :
         {std::string_view("aluminum"), std::string_view("cesium"), std::string_view("sulphur")}) {
        if (same_letters(run, name))
            throw Stop{quoted + " is the name of an element: write its symbol"};
    }
    for (int z = 1; z <= kLastZ; ++z) {
        if (same_letters(run, name_of(z)))
            throw Stop{quoted + " is the name of " + std::string(name_of(z)) +
                       ": write its symbol, " + std::string(symbol_of(z))};
    }
    if (run.size() > 6)
        throw Stop{quoted + ": " + std::to_string(run.size()) +
                   " letters that are no symbols as written, more than a formula has; write "
                   "the symbols with their capitals (Fe2O3)"};
    for (std::size_t k = 1; k + 2 < run.size(); ++k) {
        if (upper(run[k]) && lower(run[k + 1]) && lower(run[k + 2]))
            throw Stop{"'" + echo(run.substr(k)) + "' at " + where(a + k) +
                       ": a symbol is a capital and at most one small letter"};
    }
}

// Letters from a to b that stand alone as a word ("soil", "Sand"): at least three,
// no capital after the first, with nothing of a formula before or after them.
bool Reader::whole_word(std::size_t a, std::size_t b) const {
    if (b - a < 3 || std::any_of(s_.begin() + static_cast<std::ptrdiff_t>(a) + 1,
                                 s_.begin() + static_cast<std::ptrdiff_t>(b), upper))
        return false;
    bool before = a == 0 || std::string_view(",;+(").find(s_[a - 1]) != std::string_view::npos;
    for (std::size_t n = 1; n <= 3 && n <= a && !before; ++n) before = blank_length(s_, a - n) == n;
    const bool after = b == s_.size() || blank_at(b) ||
                       std::string_view(",;:+)").find(s_[b]) != std::string_view::npos;
    return before && after;
}

// A full stop at j followed by digits and "H2O" that ends the formula: a hydrate dot.
bool Reader::hydrate_after_point(std::size_t j) const {
    std::size_t k = j + 1;
    while (k < s_.size() && digit(s_[k])) ++k;
    if (k == j + 1 || k + 3 > s_.size() || !same_letters(s_.substr(k, 3), "h2o")) return false;
    return k + 3 == s_.size() || !alnum(s_[k + 3]);
}

bool Reader::hydrate_dot() {
    for (const std::string_view dot : {"\xC2\xB7", "\xE2\x80\xA2", "\xE2\x8B\x85", "*"}) {
        if (s_.substr(i_, dot.size()) == dot) {
            i_ += dot.size();
            return true;
        }
    }
    if (i_ + 1 >= s_.size() || s_[i_] != '.') return false;
    const char next = s_[i_ + 1];
    if (letter(next) || next == '(' || next == '[' || (digit(next) && hydrate_after_point(i_))) {
        ++i_;
        return true;
    }
    return false;
}

double Reader::optional_count() {
    if (i_ >= s_.size()) return 1.0;
    if (digit(s_[i_]) || (number_start(i_) && !hydrate_after_point(i_))) return count(true);
    return 1.0;
}

// digits [ "." digits ]: above 0, at most 1e6. With hydrate_aware, a full stop
// that starts a hydrate ("4.5H2O") ends the count.
double Reader::count(bool hydrate_aware) {
    const std::size_t start = i_;
    i_ = digits_end(i_);
    if (i_ + 1 < s_.size() && s_[i_] == '.' && digit(s_[i_ + 1]) &&
        !(hydrate_aware && hydrate_after_point(i_)))
        i_ = digits_end(i_ + 1);
    // "Fe1e3": an exponent has no place in a count (no element is written "e").
    if (const std::size_t j = exponent_end(i_); j != i_)
        throw Stop{"count " + echo(s_.substr(start, j - start)) + " at " + where(start) +
                   ": a count in a formula is written without an exponent"};
    // "CuSO4.5.5H2O": 4.5 and a hydrate of 5, or 4 and a hydrate of 5.5.
    if (i_ + 1 < s_.size() && s_[i_] == '.' && digit(s_[i_ + 1]) &&
        s_.substr(start, i_ - start).find('.') != std::string_view::npos) {
        const std::size_t j = digits_end(i_ + 1);
        throw Stop{"count " + echo(s_.substr(start, j - start)) + " at " + where(start) +
                   " has two full stops and reads two ways: write a hydrate with '\xC2\xB7' "
                   "(CuSO4\xC2\xB7"
                   "5H2O) and a count with one decimal point"};
    }
    double v = 0.0;
    const auto r = std::from_chars(s_.data() + start, s_.data() + i_, v);
    const std::string text = echo(s_.substr(start, i_ - start));
    if (r.ec == std::errc::result_out_of_range) {
        // Too many digits for a double: huge with a digit other than 0 before the
        // point, else too small to count.
        const std::string_view digits = s_.substr(start, i_ - start);
        const std::size_t whole = digits.find_first_not_of('0');
        v = whole != std::string_view::npos && digits[whole] != '.' ? 2 * kMaxCount : 0.0;
    }
    if (!(v > 0.0)) throw Stop{"zero count at " + where(start)};
    if (v > kMaxCount)
        throw Stop{"count " + text + " at " + where(start) + " is too large (at most 1000000)"};
    return v;
}

bool Reader::formula_only(Formula& f) {
    if (!formula_start(0)) return false;
    f = formula();
    return i_ == s_.size();
}

}  // namespace lumetra::chem::detail
