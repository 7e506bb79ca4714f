#pragma once
// Mouse and keyboard input as the window system delivers it: every event enters Qt
// where a real pointer or keyboard would (the top-level window under it), so Qt
// itself finds the widget under the pointer, gives focus on a click, synthesizes
// double clicks, enter and leave, context menus and shortcuts, routes everything
// to an open popup and drops what a modal dialog blocks.
//
// The entry points are QtGui's own synchronous injectors of window-system events,
// the ones the Qt test library uses for its window-level events; they are declared
// here so that the tests need nothing beyond QtWidgets.

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <QWindow>

QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);
QT_END_NAMESPACE

namespace lumetra::testing {

class UserInput {
  public:
    // Positions are in the widget's own pixels; they may lie outside it (a drag
    // that leaves the plot), the event then goes to the window at that place.
    void press(QWidget* w, QPoint at, Qt::MouseButton b) {
        held_ |= b;
        mouse(w, at, b, QEvent::MouseButtonPress);
    }
    void release(QWidget* w, QPoint at, Qt::MouseButton b) {
        held_ &= ~Qt::MouseButtons(b);
        mouse(w, at, b, QEvent::MouseButtonRelease);
        time_ += 1000;  // the next press is no double click
    }
    void move(QWidget* w, QPoint at) { mouse(w, at, Qt::NoButton, QEvent::MouseMove); }
    void click(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
        QPointer<QWidget> alive(w);
        move(w, at);
        if (alive) press(w, at, b);
        if (alive) release(w, at, b);
    }
    void click(QWidget* w) { click(w, w->rect().center()); }
    // Press, release, press, release within the double-click time: Qt makes the
    // second press a double click.
    void double_click(QWidget* w, QPoint at) {
        QPointer<QWidget> alive(w);
        move(w, at);
        if (!alive) return;
        held_ |= Qt::LeftButton;
        mouse(w, at, Qt::LeftButton, QEvent::MouseButtonPress);
        held_ &= ~Qt::MouseButtons(Qt::LeftButton);
        if (alive) mouse(w, at, Qt::LeftButton, QEvent::MouseButtonRelease);
        if (alive) press(w, at, Qt::LeftButton);
        if (alive) release(w, at, Qt::LeftButton);
    }
    Qt::MouseButtons held() const { return held_; }
    // Lets go of whatever button is still down (a drag cut short).
    void release_all(QWidget* w) {
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton})
            if (held_ & b) release(w, QPoint(0, 0), b);
    }

    // A key pressed and released in the window of `w`; it reaches that window's
    // focus widget, or a shortcut.
    void key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
             const QString& text = QString()) {
        QWindow* win = window_of(w);
        if (!win) return;
        QPointer<QWindow> alive(win);
        qt_handleKeyEvent(win, QEvent::KeyPress, key, mods, text, false, 1);
        if (alive) qt_handleKeyEvent(win, QEvent::KeyRelease, key, mods, text, false, 1);
    }
    // Types the text key by key (a character outside the basic plane is one key).
    void type(QWidget* w, const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            QString one(text[i]);
            if (text[i].isHighSurrogate() && i + 1 < text.size()) one += text[++i];
            key(w, key_of(one[0]), Qt::NoModifier,
                key_of(one[0]) == Qt::Key_Backspace ? QString() : one);
        }
    }
    // Pastes through the clipboard, as a user pastes a long text.
    void paste(QWidget* w, const QString& text) {
        QApplication::clipboard()->setText(text);
        key(w, Qt::Key_V, Qt::ControlModifier);
    }

  private:
    static QWindow* window_of(QWidget* w) {
        if (!w) return nullptr;
        QWidget* top = w->window();
        return top->windowHandle();
    }
    static int key_of(QChar c) {
        const char16_t u = c.unicode();
        if (u == '\t') return Qt::Key_Tab;
        if (u == '\n' || u == '\r') return Qt::Key_Return;
        if (u == '\b') return Qt::Key_Backspace;
        if (u >= 'a' && u <= 'z') return Qt::Key_A + (u - 'a');
        if (u >= 0x20 && u < 0x7f) return u;  // Qt's codes of the other ASCII keys
        return Qt::Key_unknown;
    }
    void mouse(QWidget* w, QPoint at, Qt::MouseButton b, QEvent::Type type) {
        QWindow* win = window_of(w);
        if (!win) return;
        const QPointF local = w->mapTo(w->window(), QPointF(at));
        const QPointF global = w->window()->mapToGlobal(local);
        time_ += 5;
        qt_handleMouseEvent(win, local, global, held_, b, type, Qt::NoModifier, time_);
    }

    Qt::MouseButtons held_;
    int time_ = 100000;
};

}  // namespace lumetra::testing
