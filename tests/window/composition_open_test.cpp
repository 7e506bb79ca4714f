// Opening a composition file by name (a file named on the command line): the same
// form and the same messages as the menu's Load, and no dialog of its own.

#include <filesystem>
#include <fstream>

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

using CompositionOpen = FormTest;

TEST_F(CompositionOpen, GivesTheFormTheMenusLoadGives) {
    const std::string example = std::string(LUMETRA_EXAMPLES_DIR) + "/copper-in-water.txt";
    EXPECT_EQ(form.load_composition(example), "");

    common::ScriptedDialogs menu_dialogs;
    RADirido menu_form{menu_dialogs};
    menu_dialogs.queue_file(example);
    menu_form.Command6.click();
    // The menu's file dialog, then the messages the calculation shows (the fine gain).
    ASSERT_EQ(menu_dialogs.shown().size(), dialogs.shown().size() + 1);
    for (std::size_t i = 0; i < dialogs.shown().size(); ++i)
        EXPECT_EQ(dialogs.shown()[i].text, menu_dialogs.shown()[i + 1].text);
    EXPECT_EQ(form.Text1.text(), "Cu");
    EXPECT_EQ(form.st.Elem_count, 2);
    EXPECT_FALSE(form.Label38.caption().empty());
    EXPECT_EQ(form.Label38.caption(), menu_form.Label38.caption());
    EXPECT_EQ(form.st.Spec_total, menu_form.st.Spec_total);
}

TEST_F(CompositionOpen, UnreadableOrForeignFilesGiveTheMessageAndChangeNothing) {
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / "lumetra-composition-open";
    std::filesystem::create_directories(dir);
    const std::string folder = dir.string(), missing = (dir / "missing.txt").string(),
                      setup = (dir / "setup1.json").string();
    std::ofstream(setup) << "{\"format\": \"lumetra-setup\", \"version\": 1}\n";
    enter_sample("Fe", "10", {{"O", "60"}});
    dialogs.clear_shown();
    const std::pair<std::string, std::string> cases[] = {
        {missing, "Cannot read " + missing + ": no such file or folder."},
        {folder, "Cannot read " + folder + ": it is a folder, not a file."},
        {setup,
         "This is not a parameter file: line 1 has a double quote inside an unquoted item. (" +
             setup + ")"},
    };
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(form.load_composition(path), message);
        EXPECT_EQ(form.Text1.text(), "Fe");
        EXPECT_EQ(form.Text2[0]->text(), "O");
    }
    EXPECT_TRUE(dialogs.shown().empty());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumetra::window::testing
