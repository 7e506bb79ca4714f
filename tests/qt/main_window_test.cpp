// The main window: menus with their shortcuts run the form's own handlers, the tab
// order follows the work, and the form scales with the window while the plot keeps
// mapping the pointer to the right channel.

#include "window/qt/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/dialogs.h"
#include "window/qt/composition_dialog.h"
#include "window/qt/form_view.h"
#include "window/qt/plot_widget.h"
#include "window/qt/tooltips.h"
#include "user_input.h"

namespace lumetra::window::qt {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    common::ScriptedDialogs dialogs;
    planning::Planner planner{dialogs};
    RADirido& form = planner.form();
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(planner, dialogs);

    QAction* action(const char* text) {
        QAction* a = window->action(QString::fromUtf8(text));
        EXPECT_NE(a, nullptr) << text;
        return a;
    }
    // The readout of a pointer at the middle of the plot widget, whatever its size.
    std::string readout_at_middle() {
        PlotWidget* plot = window->view()->plot();
        const QPointF at(plot->width() / 2.0, plot->height() / 2.0);
        QMouseEvent e(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(plot, &e);
        return form.Lvolt_p.caption();
    }
};

TEST_F(MainWindowTest, MenusRunTheButtonsHandlersWithTheirShortcuts) {
    struct Case {
        const char* text;
        QKeySequence keys;
    };
    // Quit is Ctrl+Q where the desktop names no key of its own.
    const QKeySequence quit = QKeySequence::keyBindings(QKeySequence::Quit).value(0, QKeySequence("Ctrl+Q"));
    for (const Case& c :
         {Case{"Load composition", QKeySequence::Open},
          Case{"Save composition", QKeySequence::Save}, Case{"Quit", quit},
          Case{"Export spectrum", QKeySequence("Ctrl+E")}, Case{"Print", QKeySequence::Print},
          Case{"Quick guide", QKeySequence::HelpContents}}) {
        EXPECT_EQ(action(c.text)->shortcut(), QKeySequence(c.keys)) << c.text;
    }
    // Save without a target: the button's own message.
    action("Save composition")->trigger();
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown().back().text, "insufficient parameter !");

    action("Logarithmic")->trigger();
    EXPECT_TRUE(form.Option4.value());
    action("Linear")->trigger();
    EXPECT_TRUE(form.Option3.value());
    action("Pile up")->trigger();
    EXPECT_EQ(form.Check3.value(), 1);
}

class GreedyField : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }
};

// Each menu shortcut with the focus in a text field of the form, of the matrix and
// of the panel: the menu's action runs (its dialog is answered by the scripted
// dialogs, the printer's by a stand-in), the field keeps its text.
TEST_F(MainWindowTest, EveryMenuShortcutWorksWhateverTextFieldHasTheFocus) {
    int printers_asked = 0;
    window->choose_printer = [&printers_asked](QPrinter&) {
        ++printers_asked;
        return false;
    };
    form.Text1.set_text("Fe");
    form.Text51.set_text("10");  // opens the first matrix row
    planner.set_model(planning::Model::fp);   // the panel's fields take input
    window->show();
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
    std::vector<QAction*> with_keys;
    for (QAction* a : window->findChildren<QAction*>())
        if (!a->shortcut().isEmpty() && a->shortcutContext() != Qt::WidgetShortcut)
            with_keys.push_back(a);
    ASSERT_GE(with_keys.size(), 6u);  // load, save, export spectrum, print, quit, quick guide
    // Some desktops' key schemes give a text field keys that menus use (Ctrl+E, the end
    // of the line): this field claims every key as such a field claims those.
    auto* greedy = new GreedyField(window->view());
    greedy->setGeometry(0, 0, 60, 20);
    greedy->show();
    lumetra::testing::UserInput input;
    for (const char* name : {"Text1", "Text11", "Text2(0)", "FluxText", "greedy"}) {
        for (QAction* a : with_keys) {
            window->show();
            QApplication::setActiveWindow(window.get());
            QWidget* field = std::string(name) == "greedy" ? greedy : window->view()->widget(name);
            ASSERT_NE(field, nullptr) << name;
            field->setFocus(Qt::OtherFocusReason);
            QApplication::processEvents();
            ASSERT_EQ(QApplication::focusWidget(), field) << name;
            const QString before = static_cast<QLineEdit*>(field)->text();
            int ran = 0;
            const auto connection = QObject::connect(a, &QAction::triggered, [&ran] { ++ran; });
            const std::size_t dialogs_before = dialogs.shown().size();
            const int printers_before = printers_asked;
            dialogs.queue_cancel();
            const QKeyCombination keys = a->shortcut()[0];
            input.key(field, keys.key(), keys.keyboardModifiers());
            QApplication::processEvents();
            QObject::disconnect(connection);
            EXPECT_EQ(ran, 1) << name << ": " << a->shortcut().toString().toStdString();
            const QString text = a->text().remove('&');
            if (text.startsWith("Print")) {
                EXPECT_EQ(printers_asked, printers_before + 1) << name;
            } else if (text.startsWith("Quit")) {
                EXPECT_FALSE(window->isVisible()) << name;
            } else if (text.startsWith("Quick")) {
                bool shown = false;
                for (QDialog* d : window->findChildren<QDialog*>()) {
                    shown = shown || d->isVisible();
                    d->close();
                }
                EXPECT_TRUE(shown) << name;
            } else {
                EXPECT_GT(dialogs.shown().size(), dialogs_before) << name << ": " << text.toStdString();
            }
            EXPECT_EQ(static_cast<QLineEdit*>(field)->text(), before) << name;
            while (dialogs.pending() > 0) dialogs.message("");  // an unused answer goes
        }
    }
}

// In a text field Ctrl+C copies the selected text, not the spectrum.
TEST_F(MainWindowTest, CtrlCInATextFieldCopiesItsText) {
    form.Text1.set_text("Cu");
    form.Text51.set_text("1");
    form.Command1.click();
    window->show();
    QApplication::setActiveWindow(window.get());
    auto* field = static_cast<QLineEdit*>(window->view()->widget("Text11"));
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    QApplication::processEvents();
    lumetra::testing::UserInput().key(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), field->text());
}

TEST_F(MainWindowTest, ExportReportAsksForANameAndSaysWhyNot) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    form.Text1.set_text("Fe");
    form.Text51.set_text("10");
    form.Command1.click();
    const std::string file = dir.filePath("r.pdf").toStdString();
    dialogs.queue_file(file);
    action("Export report")->trigger();
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::FileSave);
    QFile pdf(QString::fromStdString(file));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");

    dialogs.clear_shown();
    dialogs.queue_file(dir.filePath("missing/r.pdf").toStdString());
    action("Export report")->trigger();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::Message);
    EXPECT_NE(dialogs.shown().back().text.find("missing"), std::string::npos);

    dialogs.clear_shown();
    dialogs.queue_cancel();
    action("Export report")->trigger();
    EXPECT_EQ(dialogs.shown().size(), 1u);  // the file dialog alone
}

// Print lays the report out on the printer the dialog gives: here one that writes a
// PDF file, which then holds the report's pages.
TEST_F(MainWindowTest, PrintPaintsTheReportOnTheChosenPrinter) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    form.Text1.set_text("Fe");
    form.Text51.set_text("10");
    form.Command1.click();
    const QString file = dir.filePath("printed.pdf");
    window->choose_printer = [&file](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return true;
    };
    window->print();
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_GT(bytes.size(), 10000);  // the figure and the text, not an empty page

    window->choose_printer = [](QPrinter&) { return false; };  // cancelled
    QFile::remove(file);
    window->print();
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(MainWindowTest, TabFollowsTheWork) {
    FormView& v = *window->view();
    const char* order[] = {
        "Text1",      "Text51",   "Text2(0)", "Text52(0)", "Text2(1)", "Text52(1)",     "Text2(10)",
        "Text52(10)", "Command1", "Text11",   "Text12",    "Combo2",   "Text16",        "Text21",
        "Text22",     "Text23",   "Text24",   "Text19",    "Text20",   "DetectorCombo", "FluxText"};
    // Each field's successor in the focus chain is the next one of the work, apart
    // from the rows between 1 and 10, which follow one another the same way.
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        if (std::string(order[i]) == "Text52(1)") continue;
        QWidget* w = v.widget(order[i]);
        ASSERT_NE(w, nullptr) << order[i];
        QWidget* next = w->nextInFocusChain();
        // Tab passes over what takes no keyboard focus (labels) and the parts of a
        // list box.
        while (next && next != w &&
               (!(next->focusPolicy() & Qt::TabFocus) || w->isAncestorOf(next)))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, v.widget(order[i + 1])) << order[i];
    }
}

TEST_F(MainWindowTest, TheFormScalesAndThePlotMapsTheSameChannel) {
    form.Text1.set_text("Fe");
    form.Text51.set_text("10");
    form.Command1.click();
    window->show();
    const std::string at_design = readout_at_middle();
    for (QSize size : {QSize(1920, 1200), QSize(640, 400), QSize(3840, 2160)}) {
        window->resize(size);
        QApplication::processEvents();
        EXPECT_EQ(readout_at_middle(), at_design) << size.width();
    }
    window->resize(1920, 1200);
    QApplication::processEvents();
    EXPECT_GT(window->view()->scale(), 1.3);
    EXPECT_GT(window->view()->plot()->width(), 553 * 1.3);
}

TEST_F(MainWindowTest, CompositionDialogPreviewsAndApplies) {
    CompositionDialog dialog(planner, window.get());
    dialog.text_field()->setText(QStringLiteral("5 wt% Fe2O3 in SiO2"));
    EXPECT_TRUE(dialog.preview()->toPlainText().contains(QStringLiteral("Fe")));
    EXPECT_TRUE(dialog.apply_button()->isEnabled());
    EXPECT_EQ(form.Text1.text(), "");  // nothing changes before Apply
    dialog.text_field()->setText(QStringLiteral("5 wt% Xx2O3 in SiO2"));
    EXPECT_FALSE(dialog.apply_button()->isEnabled());
    dialog.text_field()->setText(QStringLiteral("1 mM Cu(NO3)2 in H2O"));
    dialog.apply_button()->click();
    EXPECT_EQ(form.Text1.text(), "Cu");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(MainWindowTest, CompositionDialogOffersTheFundamentalParameterModelAboveBismuth) {
    CompositionDialog dialog(planner, window.get());
    dialog.text_field()->setText(QStringLiteral("5 wt% Fe2O3 in ThO2"));
    const std::string thorium =
        "Th (Z 90) at position 16: the classic model takes elements up to bismuth (Z 83), not "
        "polonium (Z 84) and heavier; the fundamental-parameter model takes them";
    EXPECT_TRUE(dialog.preview()->toPlainText().contains(
        QString::fromStdString("problem under the classic model: " + thorium)));
    EXPECT_TRUE(dialog.apply_button()->isEnabled());

    // No: nothing changes, the dialog stays open.
    dialogs.queue_no();
    dialog.apply_button()->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::Question);
    EXPECT_EQ(dialogs.shown().back().text,
              thorium + ".\n\nSwitch to the fundamental-parameter model?");
    EXPECT_EQ(planner.session().settings.model, planning::Model::classic);
    EXPECT_EQ(form.Text1.text(), "");
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    // Yes: the model switches and the composition is written.
    dialogs.queue_yes();
    dialog.apply_button()->click();
    EXPECT_EQ(planner.session().settings.model, planning::Model::fp);
    EXPECT_TRUE(planner.panel.ModelFp.value());
    EXPECT_EQ(form.Text1.text(), "Fe");
    EXPECT_EQ(form.Text2[1]->text(), "Th");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // Under that model the preview has no such problem.
    CompositionDialog again(planner, window.get());
    again.text_field()->setText(QStringLiteral("5 wt% Fe2O3 in ThO2"));
    EXPECT_FALSE(again.preview()->toPlainText().contains(QStringLiteral("classic")));
}

TEST(Tooltips, EveryInputExplainsItself) {
    for (const char* name : {"Text1", "Text51", "Text11", "Command11", "Command4", "Text20",
                             "Text2(4)", "Text52(10)", "FluxText", "ModelFp"})
        EXPECT_FALSE(tooltip_for(name).empty()) << name;
    EXPECT_EQ(tooltip_for("Command11"), "Set the energy 50 eV above the edge");
    EXPECT_TRUE(tooltip_for("Label18").empty());  // a caption says what it is
}

}  // namespace
}  // namespace lumetra::window::qt

namespace lumetra::window::qt {
namespace {

// Random resizes and menu actions (fixed seed): the window stays usable, the plot
// keeps its mapping, every spectrum stays finite. Modal dialogs of the desktop (About,
// Print) are left out: no test may block on one.
TEST_F(MainWindowTest, RandomResizesAndMenus) {
    std::vector<QAction*> actions;
    for (QAction* a : window->findChildren<QAction*>()) {
        QString t = a->text();
        t.remove(QLatin1Char('&'));
        if (a->menu() || a->isSeparator() || t.startsWith(QStringLiteral("About")) ||
            t.startsWith(QStringLiteral("Print")) || t.startsWith(QStringLiteral("Quit")) ||
            t.startsWith(QStringLiteral("Quick")) || t.startsWith(QStringLiteral("Composition")))
            continue;
        actions.push_back(a);
    }
    ASSERT_GT(actions.size(), 8u);
    form.Text1.set_text("Cu");
    form.Text51.set_text("1");
    form.Command1.click();
    window->show();
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < 60; ++i) {
        if (next(3) == 0) {
            window->resize(50 + static_cast<int>(next(3800)), 50 + static_cast<int>(next(2200)));
        } else {
            dialogs.queue_cancel();  // a file dialog is cancelled
            actions[next(static_cast<std::uint32_t>(actions.size()))]->trigger();
        }
        QApplication::processEvents();
        PlotWidget* plot = window->view()->plot();
        if (plot->width() > 2 && plot->height() > 2) {
            const QPointF corner =
                plot->to_pixel(plot->to_user(QPointF(1, 1)).x(), plot->to_user(QPointF(1, 1)).y());
            ASSERT_NEAR(corner.x(), 1.0, 1e-3) << i;
        }
        for (double v : form.st.Spec_total) ASSERT_TRUE(std::isfinite(v)) << i;
    }
}

}  // namespace
}  // namespace lumetra::window::qt
