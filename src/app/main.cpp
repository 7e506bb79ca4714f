// Lumetra: the window RADirido with its Qt face. The command line is ours alone
// (command_line.h); Qt takes its settings from the environment (QT_QPA_PLATFORM...).

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <clocale>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/command_line.h"
#include "window/file_io.h"
#include "window/qt/main_window.h"
#include "window/qt/qt_dialogs.h"
#include "window/radirido.h"

#ifndef LUMETRA_VERSION
#error "LUMETRA_VERSION: the build passes the project's version"
#endif

namespace {

using lumetra::app::FileKind;

// Opens a file named on the command line as the File menu's Load setup or Load
// would, with the same message when it cannot. Only a regular file is read to
// tell its kind (a pipe would lose what was read).
void open_named_file(lumetra::window::RADirido& form, lumetra::common::Dialogs& dialogs,
                     const std::string& path) {
    std::error_code ec;
    std::optional<std::string> head;
    if (std::filesystem::is_regular_file(path, ec))
        head = lumetra::window::read_small_file(path, 4096);
    if (lumetra::app::file_kind(head, path) == FileKind::setup) {
        const std::string problem = form.load_setup(path);
        if (!problem.empty()) dialogs.titled_message("Load setup", problem);
    } else {
        const std::string problem = form.load_composition(path);
        if (!problem.empty()) dialogs.message(problem);
    }
}

}  // namespace

int main(int argc, char** argv) {
    using Action = lumetra::app::CommandLine::Action;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    const lumetra::app::CommandLine command = lumetra::app::parse_command_line(args);
    switch (command.action) {
        case Action::usage_error:
            std::cerr << "lumetra: " << command.problem << "; " << lumetra::app::kUsage << '\n';
            return 2;
        case Action::help:
            std::cout << lumetra::app::kUsage << "\n"
                      << "Opens FILE, a setup (JSON) or a composition file, once the window "
                         "shows.\n";
            return 0;
        case Action::version:
            std::cout << "Lumetra " << LUMETRA_VERSION << '\n';
            return 0;
        case Action::run:
            break;
    }

    char program[] = "lumetra";
    char* qt_argv[] = {program, nullptr};
    int qt_argc = 1;
    QApplication app(qt_argc, qt_argv);
    // Numbers are written and read with a full stop whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setDesktopFileName(QStringLiteral("io.lumetra.Lumetra"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("lumetra")));

    lumetra::window::qt::QtDialogs dialogs;
    lumetra::window::RADirido form(dialogs);
    lumetra::window::qt::MainWindow window(form, dialogs);
    dialogs.set_parent(&window);
    window.show();
    if (!command.file.empty())
        QTimer::singleShot(0, &window, [&] { open_named_file(form, dialogs, command.file); });
    return app.exec();
}
