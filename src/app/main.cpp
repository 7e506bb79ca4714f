// Lumetra: the window RADirido with its Qt face.

#include <QApplication>
#include <clocale>

#include "window/qt/main_window.h"
#include "window/qt/qt_dialogs.h"
#include "window/radirido.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Numbers are written and read with a full stop whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");

    lumetra::window::qt::QtDialogs dialogs;
    lumetra::window::RADirido form(dialogs);
    lumetra::window::qt::MainWindow window(form, dialogs);
    dialogs.set_parent(&window);
    window.show();
    return app.exec();
}
