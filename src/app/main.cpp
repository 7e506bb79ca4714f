// Lumetra: the window RADirido with its Qt face.

#include <QApplication>
#include <clocale>

#include "window/qt/form_view.h"
#include "window/qt/qt_dialogs.h"
#include "window/radirido.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Numbers are written and read with a full stop whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");

    lumetra::window::qt::QtDialogs dialogs;
    lumetra::window::RADirido form(dialogs);
    lumetra::window::qt::FormView view(form);
    dialogs.set_parent(&view);
    view.show();
    return app.exec();
}
