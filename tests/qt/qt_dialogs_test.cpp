// The Qt dialogs answer what the user chose; a timer plays the user.

#include "window/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace lumetra::window::qt {
namespace {

// Runs `act` on the modal dialog as soon as it is open.
void when_open(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

TEST(QtDialogs, MessageAndQuestionShowThePlainTextAndAnswer) {
    QtDialogs dialogs;
    QString shown;
    when_open([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.message("<b>too light element</b>");
    EXPECT_EQ(shown, QString("<b>too light element</b>"));

    when_open([](QWidget* w) {
        qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(dialogs.question("  Change target from Fe to W"));
    when_open([](QWidget* w) {
        qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(dialogs.question("  Change target from Fe to W"));
}

// The fine-gain message says only a number: the box must still be wide enough for
// its title, or the title bar cuts it.
TEST(QtDialogs, AShortMessageLeavesRoomForItsTitle) {
    QtDialogs dialogs;
    int width = 0, title = 0;
    when_open([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QString("Fine gain needed"));
        width = box->width();
        title = QFontMetrics(box->font()).horizontalAdvance(box->windowTitle());
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.titled_message("Fine gain needed", "1.3");
    EXPECT_GE(width, title + 120);
}

TEST(QtDialogs, PromptGivesTheTypedTextOrNothingOnCancel) {
    QtDialogs dialogs;
    when_open([](QWidget* w) {
        auto* input = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(input, nullptr);
        input->setTextValue("0.25");
        input->accept();
    });
    EXPECT_EQ(dialogs.prompt("Width must be larger than 0.01 "), "0.25");
    when_open([](QWidget* w) {
        auto* input = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(input, nullptr);
        input->setTextValue("typed, then cancelled");
        input->reject();
    });
    EXPECT_EQ(dialogs.prompt("Width must be larger than 0.01 "), "");
}

TEST(QtDialogs, FileDialogsStartInTheFolderUsedLast) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString chosen = QDir(folder.path()).filePath("sample.txt");
    QtDialogs dialogs;

    QString preset;
    when_open([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        preset = dialog->selectedFiles().value(0);
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept runs
    });
    EXPECT_EQ(dialogs.save_file_name("Fe10.txt"), QDir::toNativeSeparators(chosen).toStdString());
    EXPECT_TRUE(preset.endsWith("Fe10.txt")) << preset.toStdString();

    QString start;
    when_open([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        start = dialog->directory().absolutePath();
        dialog->reject();
    });
    EXPECT_EQ(dialogs.load_file_name(), "");  // cancelled
    EXPECT_EQ(QDir(start).canonicalPath(), QDir(folder.path()).canonicalPath());
}

}  // namespace
}  // namespace lumetra::window::qt
