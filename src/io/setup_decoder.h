#pragma once
// The setup file's keys read from its JSON tree into a setup (see setup_format.h).

#include <map>
#include <optional>
#include <string>

#include "io/json_reader.h"
#include "io/setup_format.h"

namespace lumetra::io {

struct DecodedSetup {
    std::optional<WindowSetup> setup;  // when every key has its type
    std::string error;                 // else why not: "Setup file line 3: ..."
    std::map<std::string, int> lines;  // the line of each key read ("planning.flux")
};

// Known keys are read, unknown ones ignored and missing ones keep their defaults; a
// key of the wrong type refuses the file. The values' rules are not applied here.
DecodedSetup decode_setup(const Json& top);

}  // namespace lumetra::io
