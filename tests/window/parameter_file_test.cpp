// Saving and loading compositions: the exact file bytes, the round trip, and
// files that are not parameter files.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "io/parameter_format.h"
#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

namespace fs = std::filesystem;
using namespace lumetra::io;

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

class ParameterFile : public FormTest {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("lumetra-params-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    void save_as(const std::string& p) {
        dialogs.queue_file(p);
        form.Command5.click();
    }
    void load(const std::string& p) {
        dialogs.queue_file(p);
        form.Command6.click();
    }
};

TEST_F(ParameterFile, SavesTheExampleByteForByte) {
    enter_sample("Fe", "10", {{"O", "60"}, {"Si", "20"}});
    save_as(path("sample1"));
    EXPECT_EQ(read_file(path("sample1")), "2\r\n\"Fe\",\"10\"\r\n\"O\",\"60\"\r\n\"Si\",\"20\"\r\n");
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::FileSave);
}

TEST_F(ParameterFile, OnlyCompletedRowsAndTextsAsTyped) {
    enter_sample("Fe", " 10", {{"O", "60"}});
    form.Text2[1]->set_text("Si");  // open row without content: not saved
    save_as(path("a"));
    EXPECT_EQ(read_file(path("a")), "1\r\n\"Fe\",\" 10\"\r\n\"O\",\"60\"\r\n");
}

TEST_F(ParameterFile, SaveNeedsATargetAndAPositiveContent) {
    save_as(path("none"));
    EXPECT_EQ(shown_texts(), (std::vector<std::string>{"insufficient parameter !"}));
    EXPECT_FALSE(fs::exists(path("none")));  // the file dialog never opened
}

TEST_F(ParameterFile, RoundTripRestoresTheSameFormState) {
    enter_sample("Cu", "3", {{"O", "60"}, {"Si", "20"}, {"Ca", "1.5"}});
    form.Command1.click();
    save_as(path("rt"));
    common::ScriptedDialogs d2;
    RADirido other(d2);
    d2.queue_file(path("rt"));
    other.Command6.click();
    for (const char* name : {"Text1", "Text51", "Text2(0)", "Text52(0)", "Text2(2)", "Text52(2)",
                             "Text2(3)", "Label30", "Text11", "Label8", "Label38"}) {
        EXPECT_EQ(other.find(name)->caption(), form.find(name)->caption()) << name;
    }
    EXPECT_EQ(other.st.Elem_count, 3);
    EXPECT_EQ(other.st.Calc_state, 10);  // "Plot" ran after the load
    EXPECT_EQ(other.Command1.top(), 3360 + 3 * 360);
}

TEST_F(ParameterFile, LoadOfAFileWithoutRowsShowsTheEmptyFirstRow) {
    write_file(path("t"), "0\r\n\"Zn\",\"1\"\r\n");
    load(path("t"));
    EXPECT_EQ(form.st.Elem_count, 0);
    EXPECT_TRUE(form.Text2[0]->visible());
    EXPECT_EQ(form.Text2[0]->text(), "");
    EXPECT_EQ(form.Command1.top(), 3360);
    EXPECT_EQ(form.st.Calc_state, 10);
}

TEST_F(ParameterFile, ElevenRowsPutPlotBelowTheLastRow) {
    std::string bytes = "11\r\n\"Pb\",\"1\"\r\n";
    for (const char* s : {"O", "Si", "Al", "Na", "Mg", "K", "Ca", "Ti", "Mn", "P", "S"}) {
        bytes += std::string("\"") + s + "\",\"2\"\r\n";
    }
    write_file(path("eleven"), bytes);
    load(path("eleven"));
    EXPECT_EQ(form.st.Elem_count, 11);
    EXPECT_EQ(form.Command1.left(), 600);
    EXPECT_EQ(form.Command1.top(), 7320);
}

TEST_F(ParameterFile, BadFilesChangeNothing) {
    enter_sample("Fe", "10", {{"O", "60"}});
    form.Command1.click();
    const std::string share = form.Label38.caption();
    const auto ops = form.Picture1.picture().ops().size();
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;  // part of the message
    };
    const Case cases[] = {
        {"empty", "", "it is empty"},
        {"blank lines only", "\r\n \r\n\t\n", "it is empty"},
        {"short", "2\r\n\"Cu\",\"1\"\r\n\"O\",\"1\"\r\n", "names 2 matrix rows but holds fewer"},
        {"short by one item", "1,Cu,1,O", "names 1 matrix rows but holds fewer"},
        {"no target content", "0\r\n\"Cu\",\r\n", "the target is missing"},
        {"count above 11", "12\r\n\"Cu\",\"1\"\r\n", "first item"},
        {"count not a number", "two\r\n\"Cu\",\"1\"\r\n", "first item"},
        {"open quote", "0\r\n\"Cu,\"1\r\n", "line 2 has text after a closing quote"},
        {"quote closed on the next line", "0\r\n\"Cu\r\n\",1", "line 2 has a quote that is not"},
        {"quote closed after a CR", "0\r\"Cu\rx\",1", "line 2 has a quote that is not"},
        {"quote inside an unquoted item", "0,Cu,1\"0\"", "line 1 has a double quote inside"},
        {"binary", std::string("\0\1\2", 3), "first item"},
    };
    for (const Case& c : cases) {
        dialogs.clear_shown();
        write_file(path("bad"), c.bytes);
        load(path("bad"));
        ASSERT_EQ(dialogs.shown().size(), 2u) << c.name;  // file dialog, then the message
        EXPECT_NE(dialogs.shown()[1].text.find(c.reason), std::string::npos)
            << c.name << ": " << dialogs.shown()[1].text;
        EXPECT_EQ(form.Text1.text(), "Fe") << c.name;
        EXPECT_EQ(form.Text2[0]->text(), "O") << c.name;
        EXPECT_EQ(form.st.Elem_count, 1) << c.name;
        EXPECT_EQ(form.Label38.caption(), share) << c.name;
        EXPECT_EQ(form.Picture1.picture().ops().size(), ops) << c.name;
    }
    dialogs.clear_shown();
    load(path("missing"));
    EXPECT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(form.Text1.text(), "Fe");
}

TEST_F(ParameterFile, CancelledDialogs) {
    enter_sample("Fe", "10");
    dialogs.queue_cancel();
    form.Command5.click();
    EXPECT_TRUE(fs::is_empty(dir));
    dialogs.queue_cancel();
    form.Command6.click();  // nothing read, nothing cleared; "Plot" still runs
    EXPECT_EQ(form.Text1.text(), "Fe");
    EXPECT_EQ(form.st.Calc_state, 10);
}

TEST_F(ParameterFile, FailedSaveKeepsTheOldFile) {
    write_file(path("keep"), "old");
    enter_sample("Fe", "10");
    form.Text2[0]->set_text("O\"x");  // a quote cannot be stored: refused
    form.Text52[0]->set_text("1");
    dialogs.clear_shown();
    save_as(path("keep"));
    EXPECT_EQ(read_file(path("keep")), "old");
    ASSERT_EQ(dialogs.shown().size(), 1u);  // the refusal; no file dialog
    EXPECT_EQ(dialogs.shown()[0].kind, common::DialogRecord::Kind::Message);

    form.Text2[0]->set_text("O");
    form.Text52[0]->set_text("1");
    dialogs.clear_shown();
    save_as((dir / "no-such-dir" / "x").string());
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::Message);
    save_as(path("keep"));
    EXPECT_EQ(read_file(path("keep")), "1\r\n\"Fe\",\"10\"\r\n\"O\",\"1\"\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// Save changes a file's contents and nothing else about it: a link stays a link,
// the permission bits stay, a file with the temporary's old name is not touched,
// and no temporary file is left behind, not even by a save that fails.
TEST_F(ParameterFile, SaveChangesOnlyTheContents) {
    const std::string saved = "0\r\n\"Fe\",\"10\"\r\n";
    enter_sample("Fe", "10");
    auto mode_of = [](const std::string& p) {
        return static_cast<int>(fs::status(p).permissions());
    };

    // A chain of links, one relative: the file at its end gets the bytes; a dangling
    // link creates its target with the usual mode of a new file.
    fs::create_directories(dir / "real");
    write_file(dir / "real" / "p.txt", "old");
    fs::create_symlink("real/p.txt", dir / "hop");
    fs::create_symlink(dir / "hop", dir / "link.txt");
    fs::create_symlink("real/new.txt", dir / "dangling");
    save_as(path("link.txt"));
    save_as(path("dangling"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(read_file(dir / "real" / "p.txt"), saved);
    EXPECT_EQ(read_file(dir / "real" / "new.txt"), saved);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(mode_of(path("real/new.txt")), static_cast<int>(0666 & ~mask));

    write_file(path("g.txt"), "old");
    fs::permissions(path("g.txt"), static_cast<fs::perms>(0640));
    write_file(path("g.txt.saving"), "mine");
    save_as(path("g.txt"));
    EXPECT_EQ(read_file(path("g.txt")), saved);
    EXPECT_EQ(mode_of(path("g.txt")), 0640);
    EXPECT_EQ(read_file(path("g.txt.saving")), "mine");

    // A read-only file: only a user who may write it anyway (root) replaces it, and
    // it stays read-only.
    write_file(path("ro.txt"), "old");
    fs::permissions(path("ro.txt"), static_cast<fs::perms>(0444));
    dialogs.clear_shown();
    save_as(path("ro.txt"));
    EXPECT_EQ(mode_of(path("ro.txt")), 0444);
    EXPECT_EQ(read_file(path("ro.txt")), ::geteuid() == 0 ? saved : "old");
    EXPECT_EQ(dialogs.shown().size(), ::geteuid() == 0 ? 1u : 2u);

    // Refused: a folder, a loop of links, and (by the file size limit) a failed write.
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    rlimit old_limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit small = old_limit;
    small.rlim_cur = 4;
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    for (const char* name : {"real", "loop1", "g.txt"}) {
        if (name == std::string("g.txt")) ::setrlimit(RLIMIT_FSIZE, &small);
        dialogs.clear_shown();
        save_as(path(name));
        ::setrlimit(RLIMIT_FSIZE, &old_limit);
        ASSERT_EQ(dialogs.shown().size(), 2u) << name;
        EXPECT_EQ(shown_texts().back().rfind("Cannot write " + path(name), 0), 0u) << name;
    }
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(read_file(path("g.txt")), saved);
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        names.push_back(e.path().lexically_relative(dir).string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dangling", "g.txt", "g.txt.saving", "hop",
                                               "link.txt", "loop1", "loop2", "real", "real/new.txt",
                                               "real/p.txt", "ro.txt"}));
}

// A file whose row count is negative but not -10 left Elem_count at that value
// (-3, -32768), a state the matrix editor never has. Every negative count means
// "no rows" and loads as the editor's own value for that, -10.
TEST_F(ParameterFile, NegativeRowCountsLoadAsNoRows) {
    for (const char* count : {"-3", "-1", "-32768", "-10"}) {
        SCOPED_TRACE(count);
        write_file(path("neg.txt"), std::string(count) + "\r\n\"Fe\",\"10\"\r\n");
        load(path("neg.txt"));
        EXPECT_EQ(form.st.Elem_count, -10);
        EXPECT_EQ(form.Text1.text(), "Fe");
        EXPECT_EQ(form.Text51.text(), "10");
    }
    // 0 stays 0: the editor has started with no completed row.
    write_file(path("zero.txt"), "0\r\n\"Fe\",\"10\"\r\n");
    load(path("zero.txt"));
    EXPECT_EQ(form.st.Elem_count, 0);
}

// Save wrote any composition, however long its texts, but Load reads at most
// kMaxParameterFileSize bytes: a symbol typed with 70000 trailing blanks (still a
// valid "Fe") gave a file that its own Load refused. Save now refuses what Load
// could not read, and leaves the file that was there.
TEST_F(ParameterFile, SaveRefusesACompositionTooLongToLoad) {
    const std::string old_file = "0\r\n\"Cu\",\"1\"\r\n";
    write_file(path("s.txt"), old_file);
    enter_sample("Fe" + std::string(70000, ' '), "10");
    ASSERT_EQ(form.Text1.fore_color(), common::colours::black);  // a valid target
    dialogs.clear_shown();
    save_as(path("s.txt"));
    EXPECT_TRUE(read_file(path("s.txt")) == old_file) << "the old file was replaced";
    ASSERT_EQ(dialogs.shown().size(), 1u) << "a message, and no file dialog";
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::Message);

    // Just below the limit the file is written, and loads back as it was typed.
    const std::string longest = "Fe" + std::string(kMaxParameterFileSize - 32, ' ');
    form.Text1.set_text(longest);
    Composition c;
    c.target_symbol = longest;
    c.target_content = form.Text51.text();
    c.count = form.st.Elem_count;
    ASSERT_LE(format_parameters(c).size(), kMaxParameterFileSize);
    dialogs.clear_shown();
    save_as(path("s.txt"));
    const ParseResult parsed = parse_parameters(read_file(path("s.txt")));
    ASSERT_TRUE(parsed.composition.has_value()) << parsed.error;
    EXPECT_EQ(parsed.composition->target_symbol, longest);
    load(path("s.txt"));
    EXPECT_EQ(form.Text1.text(), longest);
    EXPECT_EQ(form.Text51.text(), "10");
}

TEST(ParameterFormat, ParsesWhatItFormatsAndToleratesBareLineFeeds) {
    Composition c;
    c.count = 2;
    c.target_symbol = " Fe ";
    c.target_content = "1e-3";
    c.rows = {{"O", "60"}, {"Si", ""}};
    const ParseResult r = parse_parameters(format_parameters(c));
    ASSERT_TRUE(r.composition) << r.error;
    EXPECT_EQ(r.composition->target_symbol, " Fe ");
    EXPECT_EQ(r.composition->rows[1].second, "");

    const ParseResult lf = parse_parameters("-10\n  \"Cu\" , \"2\"\n");
    ASSERT_TRUE(lf.composition) << lf.error;
    EXPECT_EQ(lf.composition->count, -10);
    EXPECT_TRUE(lf.composition->rows.empty());
    EXPECT_FALSE(parse_parameters(std::string(kMaxParameterFileSize + 1, ' ')).composition);
}

// Every layout of the items that the reading rule allows gives the composition.
TEST(ParameterFormat, ReadsItemsInEveryLayoutTheRuleAllows) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string target_content = "10";  // the others are always 1, Fe, O and 60
    };
    const Case cases[] = {
        {"unquoted", "1\r\nFe,10\r\nO,60\r\n"},
        {"unquoted with blanks", "1 \r\n  Fe\t, 10  \r\n O ,60\t"},
        {"one line", "1,\"Fe\",\"10\",\"O\",\"60\""},
        {"split anyhow", "1\r\n\"Fe\"\r\n\"10\",\"O\"\r\n60"},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "1\r\n\"Fe\",\"10\"\r\n\"O\",\"60\"\r\n"},
        {"CR line ends", "1\r\"Fe\",\"10\"\r\"O\",\"60\"\r"},
        {"mixed line ends", "1\n\"Fe\" ,\"10\"\r\"O\",\"60\"\t\r\n"},
        {"blank lines and trailing commas", "\r\n1,\r\n\r\n \t\r\n\"Fe\",\r\n10,\n\nO,\r60,"},
        {"two commas are an empty item", "1,Fe,,O,60", ""},
        {"a comma starts a line", "1,Fe\r\n,O,60", ""},
        {"quoted blanks and comma kept", "1\r\n\"Fe\",\" 1,0 \"\r\n\"O\",\"60\"", " 1,0 "},
        {"items after the last are not read", "1,Fe,10,O,60,\"open,x\"y\r\n\"z"},
    };
    for (const Case& c : cases) {
        const ParseResult r = parse_parameters(c.bytes);
        ASSERT_TRUE(r.composition) << c.name << ": " << r.error;
        EXPECT_EQ(r.composition->count, 1) << c.name;
        EXPECT_EQ(r.composition->target_symbol, "Fe") << c.name;
        EXPECT_EQ(r.composition->target_content, c.target_content) << c.name;
        EXPECT_EQ(r.composition->rows,
                  (std::vector<std::pair<std::string, std::string>>{{"O", "60"}}))
            << c.name;
    }
}

// The count is read as a number, but only a whole one in range is a row count.
TEST(ParameterFormat, CountIsAWholeNumberInRange) {
    std::string rows = "\"Cu\",\"1\"\r\n";
    for (int i = 0; i < kMaxParameterRows; ++i) rows += "O,1\r\n";
    const std::pair<const char*, int> whole[] = {
        {"2.0", 2},     {"+2", 2},          {"2E0", 2},    {"2e+0", 2},
        {"200e-2", 2},  {"0011", 11},       {"1.1E1", 11}, {"2.", 2},
        {"-10.0", -10}, {"-32768", -32768}, {"-0", 0},     {"0.0e99999999999", 0},
        {"\" 3 \"", 3}, {".3e1", 3}};
    for (const auto& [count, value] : whole) {
        const ParseResult r = parse_parameters(std::string(count) + "\r\n" + rows);
        ASSERT_TRUE(r.composition) << count << ": " << r.error;
        EXPECT_EQ(r.composition->count, value) << count;
        EXPECT_EQ(r.composition->rows.size(), static_cast<std::size_t>(std::max(value, 0)));
    }
    for (const char* count :
         {"2.5", "1e-1", "12", "1.2e1", "11.000001", "-32769", "1e99999999999", "-1e5", ",", "two",
          ".", "2e", "e2", "+-2", "0x2", "inf", "nan", "2 0"}) {
        const ParseResult r = parse_parameters(std::string(count) + "\r\n" + rows);
        EXPECT_FALSE(r.composition) << count;
        EXPECT_NE(r.error.find("first item"), std::string::npos) << count << ": " << r.error;
    }
}

}  // namespace
}  // namespace lumetra::window::testing
