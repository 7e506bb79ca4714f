// The setup file's JSON reading on its own: what the library's parser accepts but
// the files refuse, the line each refusal names, and the model's reasons for the
// planning values.

#include "io/json_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "io/setup_format.h"

namespace lumetra::io {
namespace {

const std::string kHead = "{\"format\": \"lumetra-setup\", \"version\": 1";

std::string refusal_of(const std::string& bytes) {
    const SetupParse r = parse_setup(bytes);
    EXPECT_FALSE(r.setup) << bytes.substr(0, 80);
    return r.error;
}

TEST(JsonReader, RefusesWhatTheFilesMustNotHoldWithTheLine) {
    struct Case {
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {kHead + ",\n\n\"fix\": true,\n\"fix\": false}",
         "Setup file line 4: the key \"fix\" appears twice."},
        {kHead + ",\n\"x\": " + std::string(32, '[') + std::string(32, ']') + "}", ""},
        {kHead + ",\n\"x\": " + std::string(33, '[') + std::string(33, ']') + "}",
         "Setup file line 2: more than 32 levels of nesting."},
        {std::string(kMaxSetupFileSize + 1, ' '), "This file is larger than 256 KiB"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF" + kHead + "}",
         "Setup file line 1: a character that starts no value."},
        {kHead + ",\n\"energy\": \"\xED\xA0\x80\"}",
         "Setup file line 2: a text holds bytes that are not UTF-8."},
        {kHead + ",\n\"energy\": \"\\ud800\"}", "Setup file line 2: a high surrogate"},
        {kHead + ",\n\n\"planning\": {\"flux\": 1e-400}}",
         "Setup file line 3: the number 1e-400 is outside"},
        {kHead + ",\n\"planning\": {\"flux\": -1e309}}",
         "Setup file line 2: the number -1e309 is outside"},
        {kHead + "}\n\n{}", "Setup file line 3: there is more text after the end of the setup."},
        {kHead + ", \"coarse_gain\": -05}", "Setup file line 1: a number starts with 0"},
        {kHead + ",\r\n\"fix\": nul}", "Setup file line 2: 'n' where a value should be."},
        {kHead + ",\r\"fix\" true}",
         "Setup file line 2: a colon was expected after the key \"fix\"."},
        {kHead + ",\n\"matrix\": [1 2]}", "Setup file line 2: a comma or ] was expected"},
        {kHead + ",\n\"fix\": \x01}", "Setup file line 2: a character that starts no value."},
        {kHead + ",\n", "Setup file line 2: the file ends inside an object."},
        {kHead + ", \"energy\": \"5", "Setup file line 1: the file ends inside a text."},
        {"\n \n", "Setup file line 3: the file is empty."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 80));
        const SetupParse r = parse_setup(c.bytes);
        if (c.message.empty()) {
            EXPECT_TRUE(r.setup) << r.error;
        } else {
            EXPECT_EQ(r.error.substr(0, c.message.size()), c.message);
        }
    }
}

TEST(JsonReader, ByteOrderMarkSurrogatePairsAndLinesOfValues) {
    const JsonRead r =
        read_json("\xEF\xBB\xBF{\"a\":\r\n[1,\n\"\\ud83d\\ude00\"],\r\"b\": -0.5e1}", 32);
    ASSERT_TRUE(r.value) << r.reason;
    const Json* a = r.value->member("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->line, 2);
    ASSERT_EQ(a->items.size(), 2u);
    EXPECT_EQ(a->items[0].number, 1.0);
    EXPECT_EQ(a->items[1].line, 3);
    EXPECT_EQ(a->items[1].text, "\xF0\x9F\x98\x80");
    const Json* b = r.value->member("b");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->line, 4);
    EXPECT_EQ(b->number, -5.0);
}

// The planning settings are refused by the model's rule, with its reason and the key;
// what the model accepts loads, and a wrong type keeps its own message.
TEST(SetupRules, PlanningValuesFollowTheModel) {
    WindowSetup s;
    ASSERT_EQ(check_setup(s), "");
    s.planning.detector.area_mm2 = 0.0;
    EXPECT_EQ(check_setup(s), "\"planning.area_mm2\" is 0: The detector area must be above 0.");
    s.planning.detector.area_mm2 = 50.0;
    s.planning.polarisation = 1.5;
    EXPECT_EQ(check_setup(s),
              "\"planning.polarisation\" is 1.5: The polarisation must lie between 0 and 1.");

    const std::string file = format_setup(WindowSetup{});
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string b = file;
        b.replace(b.find(from), from.size(), to);
        return b;
    };
    EXPECT_NE(refusal_of(with("\"dead_time_us\": 1", "\"dead_time_us\": 0"))
                  .find("\"planning.dead_time_us\" is 0: The dead time must be above 0."),
              std::string::npos);
    EXPECT_EQ(refusal_of(with("\"window_um\": 12.5", "\"window_um\": true")).substr(0, 20),
              "Setup file line 39: ");
    EXPECT_NE(refusal_of(with("\"window_um\": 12.5", "\"window_um\": true"))
                  .find("\"planning.window_um\" must be a number."),
              std::string::npos);
    const SetupParse zero_window = parse_setup(with("\"window_um\": 12.5", "\"window_um\": 0"));
    ASSERT_TRUE(zero_window.setup) << zero_window.error;
    EXPECT_EQ(zero_window.setup->planning.detector.window_um, 0.0);
    EXPECT_EQ(format_setup(*zero_window.setup), with("\"window_um\": 12.5", "\"window_um\": 0"));
}

// The counting window is a planning setting like the others: saved, read back, checked
// by the model's rule; a file saved before it existed loads with one FWHM.
TEST(SetupRules, TheCountingWindowIsStoredAndAnOlderFileKeepsOneFwhm) {
    WindowSetup s;
    s.planning.count_window_fwhm = 2.5;
    const std::string file = format_setup(s);
    ASSERT_NE(file.find("\"count_window_fwhm\": 2.5,\n"), std::string::npos) << file;
    const SetupParse back = parse_setup(file);
    ASSERT_TRUE(back.setup) << back.error;
    EXPECT_EQ(back.setup->planning.count_window_fwhm, 2.5);
    EXPECT_TRUE(*back.setup == s);
    EXPECT_FALSE(*back.setup == WindowSetup{});

    std::string older = file;
    const std::size_t at = older.find("\n    \"count_window_fwhm\"");
    ASSERT_NE(at, std::string::npos);
    older.erase(at, older.find('\n', at + 1) - at);
    const SetupParse old = parse_setup(older);
    ASSERT_TRUE(old.setup) << old.error << older;
    EXPECT_EQ(old.setup->planning.count_window_fwhm, 1.0);

    std::string wide = file;
    const std::string key = "\"count_window_fwhm\": ";
    wide.replace(wide.find(key + "2.5"), key.size() + 3, key + "11");
    EXPECT_NE(refusal_of(wide).find("\"planning.count_window_fwhm\" is 11: "), std::string::npos)
        << refusal_of(wide);
}

}  // namespace
}  // namespace lumetra::io
