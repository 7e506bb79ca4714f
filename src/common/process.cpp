// Start-up settings and the end of the output of the project's programs.

#include "common/process.h"

#include <csignal>
#include <cstdio>
#include <iostream>

namespace lumetra::common {

void ignore_file_size_signal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

bool standard_output_written() {
    std::cout.flush();
    const bool stream_ok = static_cast<bool>(std::cout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) && stream_ok;
}

}  // namespace lumetra::common
