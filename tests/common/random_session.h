#pragma once
// What the random sessions (the monkey on the form, the session on the real window)
// share: the choice of the next field to type into, and how a text is logged.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace lumetra::testing {

// A text as it appears in an action log: escaped, long texts shortened.
inline std::string describe_text(const std::string& s) {
    std::string out = "\"";
    const std::size_t shown = std::min<std::size_t>(s.size(), 40);
    for (std::size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    out += '"';
    if (s.size() > shown) out += "... (" + std::to_string(s.size()) + " bytes)";
    return out;
}

inline bool is_sample_field(const std::string& name) {
    return name == "Text1" || name == "Text51" || name.rfind("Text2(", 0) == 0 ||
           name.rfind("Text52(", 0) == 0;
}

// The field to type into next: any of the given ones (not empty), but in four draws
// out of ten one of the target and the matrix rows, where a session grows a sample.
// Rng has below(n) and chance(p); Field has name().
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
