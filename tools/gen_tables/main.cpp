// gen_tables: rebuilds the photoabsorption and emission-line tables of src/data from
// the xraylib library.
//
//   gen_tables DIR     writes DIR/absorption_table.cpp and DIR/line_table.cpp and
//                      prints every fit and the quality figures of the table
//
// The output depends only on the library's data, so a second run rewrites the same
// bytes. The exit status is 1 when the fit quality misses its targets.

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "common/process.h"
#include "tables.h"

namespace lumetra::gen {

std::string format(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, pattern, copy);
    va_end(copy);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), pattern, args);
    va_end(args);
    out.pop_back();
    return out;
}

std::string shortest(double value) {
    // Plain notation for ordinary magnitudes (100 rather than 1e+02).
    const bool plain = std::fabs(value) >= 1e-4 && std::fabs(value) < 1e15;
    for (int digits = 1; digits < 17; ++digits) {
        std::string text = format("%.*g", digits, value);
        if (plain && text.find('e') != std::string::npos) continue;
        if (std::strtod(text.c_str(), nullptr) == value) return text;
    }
    return format("%.17g", value);
}

namespace {

bool write_file(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::fprintf(stderr, "gen_tables: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("wrote %s\n", path.c_str());
    return true;
}

}  // namespace

}  // namespace lumetra::gen

int main(int argc, char** argv) {
    lumetra::common::ignore_file_size_signal();
    using namespace lumetra::gen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_tables DIR   (DIR is src/data of the source tree)\n");
        return 2;
    }
    const std::string dir = argv[1];
    const VictoreenTable victoreen = build_victoreen_table();
    const LineTable lines = build_line_table();
    if (!write_file(dir + "/absorption_table.cpp", victoreen_source(victoreen)) ||
        !write_file(dir + "/line_table.cpp", line_source(lines)))
        return 2;
    return report_victoreen_quality(victoreen) ? 0 : 1;
}
