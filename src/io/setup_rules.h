#pragma once
// The rules of a setup's values (see setup_format.h), shared by Save and Load.

#include <optional>
#include <string>

#include "io/setup_format.h"

namespace lumetra::io {

struct SetupProblem {
    std::string path;  // the key it concerns ("planning.flux"); "" for the file
    std::string text;  // a sentence for the user
};

// The first value the rules refuse. The planning settings follow the model's own
// rule, with its reason.
std::optional<SetupProblem> setup_problem(const WindowSetup& s);

}  // namespace lumetra::io
