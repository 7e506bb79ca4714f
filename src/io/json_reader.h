#pragma once
// A strict reader of one JSON document (RFC 8259) into a small tree that remembers
// the line each value starts on. The JSON library's SAX parser reads the grammar,
// the escapes and UTF-8; this reader adds what the files of this program need: no
// key twice in one object, a bound on nesting, numbers within the range of a double,
// and reasons a user can act on with the line where the problem is.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumetra::io {

struct Json {
    enum class Kind { null, boolean, number, text, array, object };
    Kind kind = Kind::null;
    int line = 1;  // where the value starts
    bool flag = false;
    double number = 0.0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;  // in file order, no key twice

    const Json* member(std::string_view key) const {
        for (const auto& [k, v] : members)
            if (k == key) return &v;
        return nullptr;
    }
};

struct JsonRead {
    std::optional<Json> value;  // set when the bytes are one valid document
    int line = 1;               // of the first problem
    std::string reason;         // "the key \"fix\" appears twice", without a full stop
};

// Reads the bytes as one JSON document; a UTF-8 byte-order mark at the start is
// skipped. A value nested deeper than max_depth (the document's own value is at
// depth 0) is refused.
JsonRead read_json(std::string_view bytes, int max_depth);

}  // namespace lumetra::io
