#pragma once
// The exports' tests start from the copper-in-water example, calculated, with a
// temporary folder for the files they write.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <string>

#include "common/dialogs.h"
#include "planning/planner.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

class CopperInWater : public ::testing::Test {
  protected:
    common::ScriptedDialogs dialogs;
    planning::Planner planner{dialogs};
    RADirido& form = planner.form();
    QTemporaryDir dir;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        dialogs.queue_file(std::string(LUMETRA_EXAMPLES_DIR) + "/copper-in-water.txt");
        form.Command6.click();
        ASSERT_GT(form.st.Calc_state, 0);
    }
    QString file(const char* name) const { return dir.filePath(name); }
};

// Share of the image's pixels of exactly this colour.
inline double share_of(const QImage& image, QColor c) {
    long n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == c;
    return double(n) / (double(image.width()) * image.height());
}

}  // namespace lumetra::window::qt
