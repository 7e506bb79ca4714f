// Lumetra: the window RADirido with its Qt face. The command line is ours alone
// (command_line.h); Qt takes its settings from the environment (QT_QPA_PLATFORM...).

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <clocale>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/named_file.h"
#include "common/process.h"
#include "window/qt/main_window.h"
#include "window/qt/quick_guide.h"
#include "window/qt/qt_dialogs.h"
#include "window/radirido.h"

#ifndef LUMETRA_VERSION
#error "LUMETRA_VERSION: the build passes the project's version"
#endif

namespace {

// The exit status of a run that only prints: 1 when the text could not be written.
int output_written() {
    if (lumetra::common::standard_output_written()) return 0;
    std::cerr << "lumetra: the output could not be written\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    lumetra::common::ignore_file_size_signal();
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
            return output_written();
        case Action::version:
            std::cout << "Lumetra " << LUMETRA_VERSION << '\n';
            return output_written();
        case Action::quick_guide: {
            // The page's layout needs fonts, not a screen.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            char program[] = "lumetra";
            char* qt_argv[] = {program, nullptr};
            int qt_argc = 1;
            const QGuiApplication app(qt_argc, qt_argv);
            const QString guide = lumetra::window::qt::quick_guide_text();
            if (guide.trimmed().isEmpty()) {
                std::cerr << "lumetra: this build holds no quick guide\n";
                return 1;
            }
            std::cout << guide.toStdString() << '\n';
            return output_written();
        }
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
    lumetra::planning::Planner planner(dialogs);
    lumetra::window::qt::MainWindow window(planner, dialogs);
    dialogs.set_parent(&window);
    window.show();
    if (!command.file.empty())
        QTimer::singleShot(0, &window,
                           [&] { lumetra::app::open_named_file(planner, dialogs, command.file); });
    return app.exec();
}
