// The program's command line and the choice of loader for a file named on it.

#include "app/command_line.h"

#include <gtest/gtest.h>

namespace lumetra::app {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, ArgumentsGiveTheirActionFileAndProblem) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string file;
        std::string problem;
    };
    const Case cases[] = {
        {{}, Action::run, "", ""},
        {{"copper.txt"}, Action::run, "copper.txt", ""},
        {{"--", "-odd name"}, Action::run, "-odd name", ""},
        {{"--", "--"}, Action::run, "--", ""},
        {{"--version"}, Action::version, "", ""},
        {{"--version", "a.txt"}, Action::version, "", ""},
        {{"--version", "--help"}, Action::help, "", ""},
        {{"-h"}, Action::help, "", ""},
        {{"--quick-guide"}, Action::quick_guide, "", ""},
        {{"--quick-guide", "--version"}, Action::version, "", ""},
        {{"--quick-guide", "a.txt"}, Action::quick_guide, "", ""},
        {{"--bogus"}, Action::usage_error, "", "unknown option --bogus"},
        {{"-"}, Action::usage_error, "", "unknown option -"},
        {{"--help", "-x", "--version"}, Action::usage_error, "", "unknown option -x"},
        {{"a.txt", "b.txt"}, Action::usage_error, "", "more than one file"},
        {{"a.txt", "--", "b.txt"}, Action::usage_error, "", "more than one file"},
        {{"--version", "a", "b"}, Action::usage_error, "", "more than one file"},
        {{""}, Action::usage_error, "", "an empty file name"},
    };
    for (const Case& c : cases) {
        const CommandLine got = parse_command_line(c.args);
        const std::string label = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(got.action, c.action) << label;
        EXPECT_EQ(got.file, c.file) << label;
        EXPECT_EQ(got.problem, c.problem) << label;
    }
}

TEST(CommandLine, FileKindByFirstCharacterThenByName) {
    struct Case {
        std::optional<std::string> head;
        std::string name;
        FileKind kind;
    };
    const Case cases[] = {
        {"{\n    \"format\": \"lumetra-setup\"", "setup1.json", FileKind::setup},
        {"{", "no-extension", FileKind::setup},
        {"\xEF\xBB\xBF \r\n\t{", "a.txt", FileKind::setup},
        {"2\n\"Cu\",\"0.001\"", "setup.json", FileKind::composition},
        {"\"2\"", "a.json", FileKind::composition},
        {"\xEF\xBB\xBF[", "a.json", FileKind::composition},
        {" \n\t", "a.json", FileKind::setup},  // blank: the name decides
        {"", "a.txt", FileKind::composition},
        {std::nullopt, "/missing/setup.json", FileKind::setup},
        {std::nullopt, "/missing/sample1", FileKind::composition},
        {std::nullopt, "json", FileKind::composition},
    };
    for (const Case& c : cases) EXPECT_EQ(file_kind(c.head, c.name), c.kind) << c.name;
}

}  // namespace
}  // namespace lumetra::app
