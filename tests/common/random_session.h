#pragma once
// What the random sessions (the monkey on the form, the session on the real window)
// share: the choice of the next field to type into, how a text is logged, and the
// check of the state's codes.

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine/calc_state.h"

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

// The state's codes that are none the form sets: the element count outside -10 and
// 0..11, and the calculation, edge and sample codes outside their two or three values.
inline std::string state_code_faults(const engine::CalcState& st) {
    std::ostringstream out;
    if (!(st.Elem_count == -10 || (st.Elem_count >= 0 && st.Elem_count <= 11)))
        out << "Elem_count is " << st.Elem_count << "; ";
    if (!(st.Calc_state == -10 || st.Calc_state == 0 || st.Calc_state == 10))
        out << "Calc_state is " << st.Calc_state << "; ";
    if (st.Edge_mode != 10 && st.Edge_mode != -10) out << "Edge_mode is " << st.Edge_mode << "; ";
    if (st.Sample_form != 10 && st.Sample_form != -10)
        out << "Sample_form is " << st.Sample_form << "; ";
    return out.str();
}

}  // namespace lumetra::testing
