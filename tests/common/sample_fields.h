#pragma once
// The fields a random session favours: the target and the matrix rows, where a
// session grows a sample.

#include <string>

namespace lumetra::testing {

inline bool is_sample_field(const std::string& name) {
    return name == "Text1" || name == "Text51" || name.rfind("Text2(", 0) == 0 ||
           name.rfind("Text52(", 0) == 0;
}

}  // namespace lumetra::testing
