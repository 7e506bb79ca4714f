// lumetra-driver: reads a script of user actions from standard input, one command
// a line, runs them on the form and prints what they show. Exit status 1 when any
// command failed.

#include <iostream>
#include <string>

#include "common/process.h"
#include "driver.h"

int main(int argc, char** argv) {
    lumetra::common::ignore_file_size_signal();
    std::ios::sync_with_stdio(false);
    int exit_code = 0;
    {
        lumetra::driver::Driver driver(std::cout, argc, argv);
        std::string line;
        while (std::getline(std::cin, line)) driver.run_line(line);
        exit_code = driver.failed() ? 1 : 0;
    }
    if (!lumetra::common::standard_output_written()) {
        std::cerr << "lumetra-driver: the output could not be written\n";
        return 1;
    }
    return exit_code;
}
