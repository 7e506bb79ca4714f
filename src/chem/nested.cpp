// Reading what stands in place of a formula: a named material, and after "in" a
// mixture in brackets, read with the rules of a whole composition.

#include <string_view>
#include <utility>

#include "chem/limits.h"
#include "chem/materials.h"
#include "chem/reader.h"

namespace lumetra::chem::detail {

bool Reader::material(Entry& e) {
    std::size_t length = 0;
    std::optional<NamedMaterial> found = material_at(s_, i_, length);
    if (!found) return false;
    e.formula = std::move(found->formula);
    e.by_weight = found->by_weight;
    e.density = found->density;
    e.density_known = e.density > 0.0;
    e.density_source = std::move(found->source);
    // The name as written, for messages on one line: each run of blanks one space.
    std::string name;
    for (std::size_t k = i_; k < i_ + length;) {
        if (const std::size_t n = blank_length(s_, k)) {
            if (name.empty() || name.back() != ' ') name += ' ';
            k += n;
        } else {
            name += s_[k++];
        }
    }
    e.name = echo(name);
    i_ += length;
    return true;
}

bool Reader::material_ahead(std::size_t j) const {
    std::size_t length = 0;
    return material_at(s_, j, length).has_value();
}

// A bracket after "in" holds a mixture when what it holds cannot be a formula: it
// starts with an amount, a material's name or water, or holds a blank, a separator
// or a ':' outside inner brackets. "(NH4)2SO4" stays a formula.
bool Reader::nested_ahead(std::size_t j) const {
    if (j >= s_.size() || s_[j] != '(' || density_ahead(j)) return false;
    std::size_t k = j + 1;
    while (const std::size_t n = blank_length(s_, k)) k += n;
    if (k >= s_.size()) return false;
    if (number_start(k) || s_[k] == '-' || material_ahead(k) || word_at(k, "water")) return true;
    int depth = 1;
    for (k = j + 1; k < s_.size(); ++k) {
        const char c = s_[k];
        if (c == '(' || c == '[') {
            ++depth;
        } else if (c == ')' || c == ']') {
            if (--depth == 0) return false;
        } else if (depth == 1 &&
                   (blank_at(k) || std::string_view(",;:+").find(c) != std::string_view::npos)) {
            return true;
        }
    }
    return false;
}

void Reader::nested(Entry& base) {
    const std::size_t open = i_;
    if (nesting_ >= kMaxDepth)
        throw Stop{"mixtures in brackets nested too deeply at " + where(open) +
                   " (at most 8 levels)"};
    ++i_;
    ++nesting_;
    Mixture inner = items();
    --nesting_;
    skip_blanks();
    if (i_ >= s_.size()) throw Stop{"missing ')' for '(' at " + where(open)};
    if (s_[i_] != ')') refuse_rest();
    ++i_;
    base.name = echo(s_.substr(open, i_ - open));
    base.by_weight = true;
    base.inner.push_back(std::move(inner));
}

}  // namespace lumetra::chem::detail
