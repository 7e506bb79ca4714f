// The planner's settings table and the one check of a setup: every place that shows,
// stores or compares a setting reads this table, so its rows must be complete and
// distinct, and the check must give the same reason whichever way a value arrives.

#include "physics/settings.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>

#include "physics/validate.h"

namespace lumetra::physics {
namespace {

TEST(Settings, EveryRowIsDistinctAndReachesItsOwnValue) {
    std::set<std::string> keys, file_keys, report_keys, fields;
    for (const SettingInfo& s : setting_table()) {
        EXPECT_TRUE(keys.insert(s.key).second) << s.key;
        EXPECT_TRUE(file_keys.insert(s.file_key).second) << s.file_key;
        EXPECT_TRUE(report_keys.insert(s.report_key).second) << s.report_key;
        EXPECT_TRUE(fields.insert(s.field_name).second) << s.field_name;
        EXPECT_EQ(find_setting(s.key), &s);
        if (s.kind != SettingKind::number) continue;
        // Setting one value through its key changes that value alone, and the
        // equality of settings notices it.
        Settings p;
        const Settings before = p;
        ASSERT_TRUE(set_setting(p, s.key, "0.625"));
        EXPECT_DOUBLE_EQ(setting_value(s, p), 0.625) << s.key;
        EXPECT_NE(p, before) << s.key;
        // The model's setup carries the same value.
        physics::Setup setup;
        apply_settings(p, setup);
        EXPECT_DOUBLE_EQ(s.in_setup(setup), 0.625) << s.key;
    }
    EXPECT_EQ(find_setting("detector_area_mm2"), nullptr);
    Settings p;
    EXPECT_FALSE(set_setting(p, "detector", "cdte"));
    ASSERT_TRUE(set_setting(p, "detector", " ge "));
    EXPECT_EQ(p.detector, default_detector(Crystal::ge));
}

TEST(Settings, RefusalsNameTheValueAndItsRule) {
    const auto why = [](const char* key, double v) { return refusal(*find_setting(key), v); };
    EXPECT_EQ(why("flux", 0.0), "The flux must be above 0.");
    EXPECT_EQ(why("area", 0.0), "The detector area must be above 0.");
    EXPECT_EQ(why("deadtime", -1.0), "The dead time must be above 0.");
    EXPECT_EQ(why("polarisation", 1.5), "The polarisation must lie between 0 and 1.");
    EXPECT_EQ(why("window", -0.5), "The beryllium window cannot be negative.");
    EXPECT_EQ(why("countwindow", 0.0), "The counting window must be above 0 and at most 10.");
    EXPECT_EQ(why("flux", std::numeric_limits<double>::quiet_NaN()), "The flux must be above 0.");
    EXPECT_EQ(why("window", 0.0), "");
    EXPECT_EQ(why("polarisation", 1.0), "");
}

// A setup the form and the settings could give, which the model accepts.
Setup copper_in_water() {
    Setup s;
    s.sample = {{29, 0.001}, {1, 2.0}, {8, 1.0}};
    s.E0 = 9.03;
    return s;
}

TEST(Validate, TheModelsRefusalsComeFromTheSameRules) {
    EXPECT_EQ(refusal(copper_in_water()), "");
    Settings p;
    p.flux = 0.0;
    physics::Setup s = copper_in_water();
    apply_settings(p, s);
    EXPECT_EQ(refusal(s), refusal(*find_setting("flux"), 0.0));
    ASSERT_TRUE(refusal(p).has_value());
    EXPECT_EQ(refusal(p)->reason, refusal(s));

    s = copper_in_water();
    s.distance_cm = -3.0;
    EXPECT_EQ(refusal(s), "The distance must be at least 0.1 cm.");
    s.distance_cm = 0.1;
    EXPECT_EQ(refusal(s), "");

    s = copper_in_water();
    s.sample.front().Z = 0;
    EXPECT_EQ(refusal(s), "The target element is unknown.");
    s = copper_in_water();
    s.sample.back().Z = 93;
    EXPECT_EQ(refusal(s), "An element of the sample is unknown.");
    s = copper_in_water();
    s.sample.clear();
    EXPECT_EQ(refusal(s), "The target element is unknown.");
}

}  // namespace
}  // namespace lumetra::physics
