#include "io/json_text.h"

#include <nlohmann/json.hpp>

namespace lumetra::io {

bool valid_utf8(std::string_view s) {
    try {
        (void)nlohmann::json(std::string(s)).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

std::string quoted(std::string_view s) {
    return nlohmann::json(std::string(s))
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace lumetra::io
