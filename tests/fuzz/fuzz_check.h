#pragma once
// What a fuzz target does when a property fails: print the input and abort, so
// that libFuzzer stores the input as a crash.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace lumetra::fuzz {

inline void print_escaped(std::string_view s) {
    for (unsigned char c : s) {
        if (c >= 32 && c < 127 && c != '\\')
            std::fputc(c, stderr);
        else
            std::fprintf(stderr, "\\x%02X", c);
    }
}

inline void require(bool ok, const char* what, std::string_view input) {
    if (ok) return;
    std::fprintf(stderr, "property failed: %s\ninput: \"", what);
    print_escaped(input);
    std::fprintf(stderr, "\"\n");
    std::abort();
}

}  // namespace lumetra::fuzz
