// A value the model refuses is refused everywhere with the model's reason: typed into
// the panel (red, the reason in the panel's note and on the plot) and read from a
// setup file (the file is refused, naming the key and the reason). A distance below
// the model's minimum is refused, not moved to it.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "planning/planner_fixture.h"

namespace lumetra::window::testing {
namespace {

namespace fs = std::filesystem;

class Refusals : public PlannerTest {
  protected:
    fs::path file =
        fs::temp_directory_path() / ("lumetra-refusals-" + std::to_string(::getpid()) + ".json");
    void TearDown() override { fs::remove(file); }

    void copper_in_water_fp() {
        enter_sample("Cu", "0.001", {{"O", "1"}, {"H", "2"}});
        planner.set_model(Model::fp);
        form.Command1.click();
        ASSERT_TRUE(planner.fp_result().ok);
    }
    // The plot's printed lines.
    bool plot_says(const std::string& text) const {
        for (const auto& op : form.Picture1.picture().ops())
            if (op.text.find(text) != std::string::npos) return true;
        return false;
    }
    // A saved setup with one planning key's value replaced.
    std::string file_with(const std::string& key, const std::string& value) {
        EXPECT_EQ(planner.save_setup(file.string()), "");
        std::ifstream in(file);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string quoted = "\"" + key + "\": ";
        const std::size_t at = bytes.find(quoted);
        EXPECT_NE(at, std::string::npos) << key;
        const std::size_t end = bytes.find_first_of(",\n", at);
        bytes.replace(at + quoted.size(), end - at - quoted.size(), value);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        return file.string();
    }
};

TEST_F(Refusals, TheSameReasonInThePanelThePlotAndTheSetupFile) {
    struct Case {
        const char* key;       // of the panel field
        const char* file_key;  // under "planning" in the setup file
        const char* reason;
    };
    const Case cases[] = {{"flux", "flux", "The flux must be above 0."},
                          {"area", "area_mm2", "The detector area must be above 0."},
                          {"deadtime", "dead_time_us", "The dead time must be above 0."}};
    copper_in_water_fp();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        // The setup file refuses the value and changes nothing.
        const std::string message = planner.load_setup(file_with(c.file_key, "0"));
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_NE(message.find(std::string("planning.") + c.file_key), std::string::npos)
            << message;
        EXPECT_TRUE(planner.fp_result().ok);

        // Typed into the panel: red, and the model refuses it with the same words.
        TextBox& field = *panel.field(c.key);
        const std::string before = field.text();
        field.set_text("0");
        EXPECT_EQ(field.fore_color(), common::colours::red);
        EXPECT_FALSE(planner.fp_result().ok);
        EXPECT_EQ(planner.fp_result().reason, c.reason);
        EXPECT_EQ(panel.Note.caption(), c.reason);
        EXPECT_TRUE(plot_says(c.reason));
        field.set_text(before);
        EXPECT_EQ(field.fore_color(), common::colours::black);
        ASSERT_TRUE(planner.fp_result().ok);
    }
}

TEST_F(Refusals, ADistanceTooCloseIsRefusedNotMoved) {
    copper_in_water_fp();
    const char* reason = "The distance must be at least 0.1 cm.";
    form.Text19.set_text("-3");
    form.Command1.click();
    EXPECT_FALSE(planner.fp_result().ok);
    EXPECT_EQ(panel.Note.caption(), reason);
    EXPECT_TRUE(plot_says(reason));

    // A setup file keeps the field as typed; loading it gives the same refusal.
    form.Text19.set_text("5.0");
    form.Command1.click();
    ASSERT_TRUE(planner.fp_result().ok);
    ASSERT_EQ(planner.load_setup(file_with("distance", "\"-3\"")), "");
    EXPECT_EQ(form.Text19.text(), "-3");
    EXPECT_FALSE(planner.fp_result().ok);
    EXPECT_EQ(planner.fp_result().reason, reason);
}

}  // namespace
}  // namespace lumetra::window::testing
