#pragma once
// The field a random session types into next: any of the given ones, but in four
// draws out of ten one of the target and the matrix rows, where a session grows a
// sample. Rng has below(n) and chance(p); Field has name().

#include <string>
#include <vector>

namespace lumetra::testing {

inline bool is_sample_field(const std::string& name) {
    return name == "Text1" || name == "Text51" || name.rfind("Text2(", 0) == 0 ||
           name.rfind("Text52(", 0) == 0;
}

// fields must not be empty.
template <class Rng, class Field>
Field* field_favouring_the_sample(Rng& rng, const std::vector<Field*>& fields) {
    Field* chosen = fields[rng.below(fields.size())];
    if (rng.chance(0.4)) {
        std::vector<Field*> sample;
        for (Field* f : fields)
            if (is_sample_field(f->name())) sample.push_back(f);
        if (!sample.empty()) chosen = sample[rng.below(sample.size())];
    }
    return chosen;
}

}  // namespace lumetra::testing
