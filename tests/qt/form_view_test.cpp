// The Qt view mirrors the control model and routes real widget events to it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "window/qt/form_view.h"
#include "window/qt/plot_widget.h"
#include "window/radirido.h"

namespace lumetra::window::qt {
namespace {

QColor qcolor(common::Rgb c) { return QColor(c.r, c.g, c.b); }

class FormViewTest : public ::testing::Test {
  protected:
    common::ScriptedDialogs dialogs;
    planning::Planner planner{dialogs};
    RADirido& form = planner.form();
    std::unique_ptr<FormView> view = std::make_unique<FormView>(planner);

    template <class W>
    W* get(const std::string& name) {
        auto* w = qobject_cast<W*>(view->widget(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    static void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button,
                      QPointF at = QPointF(3, 3)) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static void type_text(QWidget* w, const QString& text) {
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
            QApplication::sendEvent(w, &press);
        }
    }
};

// ---- model to view ----

TEST_F(FormViewTest, WidgetsStandWhereTheDesignPutsThem) {
    // The form's 744 x 539 pixels and the planning panel beside it.
    EXPECT_EQ(view->size(), QSize(1280, 539));
    EXPECT_EQ(view->widget("FluxText")->x(), 11280 / 15 + 2280 / 15);
    EXPECT_EQ(view->windowTitle(), QString("Lumetra (ver. 1.33)"));
    EXPECT_EQ(get<QLineEdit>("Text2(0)")->geometry(), QRect(32, 224, 41, 18));
    EXPECT_EQ(get<QLineEdit>("Text52(10)")->geometry(), QRect(80, 464, 41, 18));
    ASSERT_NE(view->plot(), nullptr);
    EXPECT_EQ(view->plot()->geometry(), QRect(168, 224, 553, 273));
    EXPECT_EQ(view->widget("Line1"), nullptr);  // rules are painted, not widgets
}

// A large window: the form keeps its layout at one scale, the plot and the scan
// preview take the rest, and nothing leaves the window.
TEST_F(FormViewTest, APlotAndPanelTakeTheSpaceALargeWindowGives) {
    view->show();
    view->resize(1920, 1200);
    ASSERT_DOUBLE_EQ(view->scale(), 1.5);
    EXPECT_EQ(get<QLineEdit>("Text2(0)")->geometry(), QRect(48, 336, 62, 27));
    EXPECT_EQ(get<QLineEdit>("Text52(10)")->geometry(), QRect(120, 696, 62, 27));
    const QRect plot = view->plot()->geometry();
    EXPECT_EQ(plot.topLeft(), QPoint(252, 336));
    EXPECT_EQ(plot.width(), 830);
    EXPECT_GT(plot.height(), 273 * 1.5 + 350);
    // The energy marks stay under the plot, the panel's lower part under the preview.
    ASSERT_NE(view->widget("Label14"), nullptr);
    EXPECT_GT(view->widget("Label14")->y(), plot.bottom());
    ASSERT_NE(view->widget("ScanPicture"), nullptr);
    const QRect scan = view->widget("ScanPicture")->geometry();
    EXPECT_GT(scan.height(), 200 * 1.5 + 350);
    const Control& preview = planner.panel.ScanPicture;
    for (Control* c : form.controls()) {
        QWidget* w = view->widget(c->name());
        if (!w) continue;
        EXPECT_TRUE(view->rect().contains(w->geometry())) << c->name();
        if (c->left() >= planning::Panel::kLeft && c->top() >= preview.top() + preview.height()) {
            EXPECT_GT(w->y(), scan.bottom()) << c->name();
        }
    }
    // A window wider than the design's proportions widens the plot; the panel keeps
    // its width at the right edge.
    view->resize(4000, 1078);
    EXPECT_DOUBLE_EQ(view->scale(), 2.0);
    EXPECT_EQ(view->plot()->width(), 1106 + 4000 - 2560);
    const QRect flux = view->widget("FluxText")->geometry();
    EXPECT_EQ(flux, QRect((11280 + 2280) * 2 / 15 + 4000 - 2560, 112, 133, 36));
}

TEST_F(FormViewTest, StartStateShowsInTheWidgets) {
    EXPECT_EQ(get<QLabel>("Label8")->text(), QString(" 19.491"));
    EXPECT_EQ(get<QLineEdit>("Text16")->text(), QString(" .3"));
    auto* combo = get<QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText(), QString("K-alpha 1&2"));
    EXPECT_EQ(combo->count(), 6);
    EXPECT_TRUE(get<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("Option3")->isChecked());
    EXPECT_FALSE(get<QRadioButton>("Option4")->isChecked());
    EXPECT_FALSE(get<QPushButton>("Command1")->isVisibleTo(view.get()));
    EXPECT_EQ(get<QPushButton>("Command9")->text(), QString::fromUtf8("\u25B2"));
}

TEST_F(FormViewTest, CodeWritesVisibilityAndColoursFollow) {
    auto* edit = get<QLineEdit>("Text12");
    form.Text12.set_text("0.7");
    EXPECT_EQ(edit->text(), QString("0.7"));

    auto* content = get<QLineEdit>("Text51");
    EXPECT_FALSE(content->isVisibleTo(view.get()));
    form.Text51.set_visible(true);
    EXPECT_TRUE(content->isVisibleTo(view.get()));

    form.Text12.set_fore_color(common::rgb(10, 20, 30));
    form.Text12.set_back_color(common::rgb(200, 210, 220));
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), QColor(10, 20, 30));
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), QColor(200, 210, 220));

    form.Label38.set_caption("<b>12</b>");  // shown as plain text
    auto* share = get<QLabel>("Label38");
    EXPECT_EQ(share->text(), QString("<b>12</b>"));
    EXPECT_EQ(share->textFormat(), Qt::PlainText);

    form.Command1.move(1200, 3360 + 360 * 4);
    EXPECT_EQ(get<QPushButton>("Command1")->pos(), QPoint(80, 320));
    form.Text19.set_enabled(false);
    EXPECT_FALSE(get<QLineEdit>("Text19")->isEnabled());
}

TEST_F(FormViewTest, ComboListAndTextFollowTheModel) {
    auto* combo = get<QComboBox>("Combo1");
    form.Combo1.clear_list();
    form.Combo1.add_item("L-alpha 1&2");
    form.Combo1.add_item("L- beta 2");
    EXPECT_EQ(combo->count(), 2);
    // Emptying the list keeps the model's text; so does the widget.
    EXPECT_EQ(combo->currentText(), QString("K-alpha 1&2"));
    form.Combo1.set_text("L- beta 2");
    EXPECT_EQ(combo->currentText(), QString("L- beta 2"));
}

TEST_F(FormViewTest, ObserversAreDetachedWithTheView) {
    view.reset();
    for (Control* c : form.controls()) EXPECT_FALSE(c->observer) << c->name();
    form.Text12.set_text("0.2");  // no view left to call
    EXPECT_EQ(form.Text12.text(), "0.2");
}

// ---- user to model ----

TEST_F(FormViewTest, TypingReachesTheModelAndRunsItsChange) {
    auto* edit = get<QLineEdit>("Text12");
    edit->selectAll();
    type_text(edit, "2");
    EXPECT_EQ(form.Text12.text(), "2");
    EXPECT_EQ(form.Text12.fore_color(), common::colours::black);
    type_text(edit, "0");
    EXPECT_EQ(form.Text12.text(), "20");
    EXPECT_EQ(form.Text12.fore_color(), common::colours::red);  // step above 10
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), qcolor(common::colours::red));
}

TEST_F(FormViewTest, TypingInTheMiddleKeepsTheCursor) {
    auto* edit = get<QLineEdit>("Text12");
    ASSERT_EQ(edit->text(), QString("0.1"));
    edit->setCursorPosition(1);
    type_text(edit, "5");
    EXPECT_EQ(form.Text12.text(), "05.1");
    EXPECT_EQ(edit->cursorPosition(), 2);
}

// A long content written by the program, or left by the user, reads from its start.
TEST_F(FormViewTest, BoxesWithoutFocusShowTheStartOfTheirText) {
    view->show();
    view->activateWindow();
    QApplication::processEvents();
    auto* content = get<QLineEdit>("Text51");
    form.Text51.set_text(".711672696555731");
    EXPECT_EQ(content->cursorPosition(), 0);

    auto* energy = get<QLineEdit>("Text11");
    energy->setFocus(Qt::MouseFocusReason);
    energy->end(false);
    type_text(energy, "1");
    form.Text11.set_text("7.1234567890123456789");  // the program writes while the user is in
    EXPECT_NE(energy->cursorPosition(), 0);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(energy, &out);
    EXPECT_EQ(energy->cursorPosition(), 0);
}

TEST_F(FormViewTest, TextBoxMouseGivesThePlatformOrder) {
    std::vector<std::string> events;
    TextBox& box = *form.Text2[0];
    box.on_mouse_up = [&](MouseButton b) {
        events.push_back("up" + std::to_string(static_cast<int>(b)));
    };
    box.on_click = [&] { events.push_back("click"); };
    box.on_dbl_click = [&] { events.push_back("dbl"); };
    form.Text2[0]->set_visible(true);
    auto* edit = get<QLineEdit>("Text2(0)");

    mouse(edit, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(edit, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(events, (std::vector<std::string>{"up1", "click"}));

    events.clear();
    mouse(edit, QEvent::MouseButtonPress, Qt::RightButton);
    mouse(edit, QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(events, (std::vector<std::string>{"up2"}));

    events.clear();
    mouse(edit, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(edit, QEvent::MouseButtonRelease, Qt::LeftButton);
    mouse(edit, QEvent::MouseButtonDblClick, Qt::LeftButton);
    mouse(edit, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(events, (std::vector<std::string>{"up1", "click", "dbl", "up1"}));

    // The next single click is an ordinary one again.
    events.clear();
    mouse(edit, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(edit, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(events, (std::vector<std::string>{"up1", "click"}));
}

TEST_F(FormViewTest, RightReleaseOnAMatrixBoxRunsOnlyItsMouseUp) {
    // A matrix row with an element: the right button marks it without the
    // left-click colouring of both columns.
    form.Text1.set_text("Fe");
    form.Text51.set_text("10");
    form.Text2[0]->set_text("O");
    form.Text52[0]->set_text("60");
    dialogs.clear_shown();
    auto* edit = get<QLineEdit>("Text2(0)");
    mouse(edit, QEvent::MouseButtonPress, Qt::RightButton);
    mouse(edit, QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(form.st.Elem_mark, 1);
    EXPECT_EQ(form.Text2[0]->back_color(), common::rgb(255, 255, 0));
    // Text2_Click would have painted the content box of the row yellow as well.
    EXPECT_NE(form.Text52[0]->back_color(), common::rgb(255, 255, 0));

    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(3, 3), edit->mapToGlobal(QPoint(3, 3)));
    menu.ignore();
    QApplication::sendEvent(edit, &menu);
    EXPECT_TRUE(menu.isAccepted());  // taken without a menu

    auto* content = get<QLineEdit>("Text52(0)");
    QContextMenuEvent content_menu(QContextMenuEvent::Mouse, QPoint(3, 3),
                                   content->mapToGlobal(QPoint(3, 3)));
    content_menu.ignore();
    QApplication::sendEvent(content, &content_menu);
    EXPECT_TRUE(content_menu.isAccepted());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(FormViewTest, OptionAndCheckFollowTheModelNotQtsToggle) {
    auto* linear = get<QRadioButton>("Option3");
    auto* log = get<QRadioButton>("Option4");
    log->click();
    EXPECT_TRUE(form.Option4.value());
    EXPECT_FALSE(form.Option3.value());
    EXPECT_FALSE(linear->isChecked());
    EXPECT_TRUE(log->isChecked());
    // A press on the selected option leaves it selected.
    log->click();
    EXPECT_TRUE(form.Option4.value());
    EXPECT_TRUE(log->isChecked());
    // Options of other groups are untouched.
    EXPECT_TRUE(get<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("Option5")->isChecked());

    auto* argon = get<QCheckBox>("Check1");
    argon->click();
    EXPECT_EQ(form.Check1.value(), 1);
    EXPECT_TRUE(argon->isChecked());
    EXPECT_EQ(form.Label6.fore_color(), common::rgb(16, 16, 255));  // its Click ran
    argon->click();
    EXPECT_EQ(form.Check1.value(), 0);
    EXPECT_FALSE(argon->isChecked());
}

TEST_F(FormViewTest, ButtonsLabelsAndListPicksRunTheirHandlers) {
    int label_clicks = 0;
    form.Label37.on_click = [&] { ++label_clicks; };
    auto* label = get<QLabel>("Label37");
    mouse(label, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(label, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(label_clicks, 1);

    get<QPushButton>("Command23")->click();  // coarse gain up
    EXPECT_EQ(form.view.Coarse_index, 5);
    EXPECT_EQ(get<QLabel>("Label9")->text(), QString(" 200"));

    auto* combo = get<QComboBox>("Combo1");
    emit combo->activated(1);
    EXPECT_EQ(form.Combo1.text(), "(K-alpha 1)");
    EXPECT_EQ(form.st.Target_line, 15);

    auto* fine = get<QComboBox>("Combo2");
    fine->lineEdit()->selectAll();
    type_text(fine->lineEdit(), "1.55");
    EXPECT_EQ(form.Combo2.text(), "1.55");
    // Enter does not add the typed text to the list: the list stays the model's.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(fine->lineEdit(), &enter);
    EXPECT_EQ(fine->count(), 11);
    EXPECT_EQ(form.Combo2.items().size(), 11u);
    EXPECT_EQ(fine->currentText(), QString("1.55"));
}

// ---- the plot ----

TEST_F(FormViewTest, PlotMapsPixelsToUserCoordinatesBothWays) {
    PlotWidget* plot = view->plot();
    display::Picture& pic = form.Picture1.picture();
    pic.Scale(-10.0f, 11750.0f, 1028.0f, -500.0f);  // y runs upward
    const QPointF origin = plot->to_pixel(-10, 11750);
    EXPECT_NEAR(origin.x(), 0.0, 1e-9);
    EXPECT_NEAR(origin.y(), 0.0, 1e-9);
    const QPointF corner = plot->to_pixel(1028, -500);
    EXPECT_NEAR(corner.x(), plot->width(), 1e-9);
    EXPECT_NEAR(corner.y(), plot->height(), 1e-9);
    for (QPointF u : {QPointF(0, 0), QPointF(512, 5000), QPointF(1024, -250)}) {
        const QPointF back = plot->to_user(plot->to_pixel(u.x(), u.y()));
        EXPECT_NEAR(back.x(), u.x(), 1e-6);
        EXPECT_NEAR(back.y(), u.y(), 1e-6);
    }

    // A degenerate scale maps to the edge instead of dividing by zero.
    pic.Scale(5.0f, 5.0f, 5.0f, 5.0f);
    const QPointF flat = plot->to_pixel(100, 100);
    EXPECT_EQ(flat, QPointF(0, 0));
}

TEST_F(FormViewTest, PlotMouseArrivesInUserCoordinates) {
    PlotWidget* plot = view->plot();
    form.Picture1.picture().Scale(0.0f, 100.0f, 1000.0f, 0.0f);
    struct Seen {
        MouseButton button;
        float x, y;
    };
    std::vector<Seen> down, up;
    form.Picture1.on_mouse_down = [&](MouseButton b, float x, float y) {
        down.push_back({b, x, y});
    };
    form.Picture1.on_mouse_up = [&](MouseButton b, float x, float y) { up.push_back({b, x, y}); };
    const QPointF middle(plot->width() / 2.0, plot->height() / 2.0);
    mouse(plot, QEvent::MouseButtonPress, Qt::LeftButton, middle);
    mouse(plot, QEvent::MouseButtonRelease, Qt::RightButton, QPointF(0, 0));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].button, MouseButton::Left);
    EXPECT_NEAR(down[0].x, 500.0f, 1e-3);
    EXPECT_NEAR(down[0].y, 50.0f, 1e-3);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].button, MouseButton::Right);
    EXPECT_NEAR(up[0].x, 0.0f, 1e-3);
    EXPECT_NEAR(up[0].y, 100.0f, 1e-3);
}

TEST_F(FormViewTest, PlotRepaintsTheRecordedDrawing) {
    PlotWidget* plot = view->plot();
    display::Picture& pic = form.Picture1.picture();
    pic.Cls();
    pic.Scale(0.0f, 100.0f, 100.0f, 0.0f);
    pic.Line(0.0f, 50.0f, 100.0f, 50.0f, common::rgb(255, 0, 0));
    pic.Line(50.0f, 0.0f, 50.0f, 1e30f, common::rgb(0, 255, 0));  // far outside: clipped
    form.Picture1.drawing_changed();
    const QImage img = plot->grab().toImage();
    const int y = static_cast<int>(plot->to_pixel(0, 50).y());
    EXPECT_EQ(img.pixelColor(plot->width() / 4, y), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(3, 3), QColor(64, 64, 64));
    const int x = static_cast<int>(plot->to_pixel(50, 0).x());
    EXPECT_EQ(img.pixelColor(x, plot->height() / 4), QColor(0, 255, 0));
}

TEST_F(FormViewTest, LeavingThePlotDashesTheReadoutsOut) {
    form.Lvolt_p.set_caption("1 (V)");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view->plot(), &leave);
    EXPECT_EQ(form.Lvolt_p.caption(), "        ---     ");
    EXPECT_EQ(form.LY_p.caption(), "---");
    EXPECT_EQ(get<QLabel>("LY_p")->text(), QString("---"));
}

}  // namespace
}  // namespace lumetra::window::qt
