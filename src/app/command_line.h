#pragma once
// The program's command line, lumetra [--help | --version | --quick-guide] [--] [FILE], and which
// loader a file named there goes to. Pure functions of their arguments; main does
// the printing and the reading.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::app {

inline constexpr std::string_view kUsage =
    "usage: lumetra [--help | --version | --quick-guide] [--] [FILE]";

struct CommandLine {
    enum class Action { run, help, version, quick_guide, usage_error };
    Action action = Action::run;
    std::string file;     // to open once the window shows; "" for none
    std::string problem;  // what is wrong, for usage_error
};

// The arguments after the program's name. Every argument before "--" that starts
// with "-" is an option; the others name files, at most one. Any fault wins over
// --help, --help over --version, and --version over --quick-guide.
inline CommandLine parse_command_line(const std::vector<std::string>& args) {
    CommandLine c;
    bool help = false, version = false, guide = false, options_end = false;
    int files = 0;
    for (const std::string& a : args) {
        if (!options_end && !a.empty() && a[0] == '-') {
            if (a == "--") {
                options_end = true;
            } else if (a == "--help" || a == "-h") {
                help = true;
            } else if (a == "--version") {
                version = true;
            } else if (a == "--quick-guide") {
                guide = true;
            } else if (c.problem.empty()) {
                c.problem = "unknown option " + a;
            }
            continue;
        }
        if (a.empty() && c.problem.empty()) c.problem = "an empty file name";
        if (++files == 2 && c.problem.empty()) c.problem = "more than one file";
        c.file = a;
    }
    if (!c.problem.empty()) {
        c.action = CommandLine::Action::usage_error;
        c.file.clear();
    } else if (help || version || guide) {
        c.action = help      ? CommandLine::Action::help
                   : version ? CommandLine::Action::version
                             : CommandLine::Action::quick_guide;
        c.file.clear();
    }
    return c;
}

enum class FileKind { setup, composition };

// A setup file is JSON: its first character past a UTF-8 byte-order mark and JSON
// white space is "{", which no composition file starts with. `head` is the file's
// first bytes, or nothing when it could not be read; when they tell nothing (none
// or only blanks) the name decides: *.json is a setup file.
inline FileKind file_kind(const std::optional<std::string>& head, std::string_view name) {
    if (head) {
        std::string_view h = *head;
        if (h.substr(0, 3) == "\xEF\xBB\xBF") h.remove_prefix(3);
        const std::size_t first = h.find_first_not_of(" \t\r\n");
        if (first != std::string_view::npos)
            return h[first] == '{' ? FileKind::setup : FileKind::composition;
    }
    constexpr std::string_view json = ".json";
    const bool json_name =
        name.size() >= json.size() && name.substr(name.size() - json.size()) == json;
    return json_name ? FileKind::setup : FileKind::composition;
}

}  // namespace lumetra::app
