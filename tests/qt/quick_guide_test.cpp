// The quick guide is compiled into the program: Help > Quick guide shows its page
// (a resource a static library once lost on the way into the programs).

#include "window/qt/quick_guide.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBrowser>
#include <memory>

#include "common/dialogs.h"
#include "window/qt/main_window.h"

namespace lumetra::window::qt {
namespace {

TEST(QuickGuide, HelpShowsTheWholePage) {
    const QString html = quick_guide_html();
    ASSERT_TRUE(html.contains(QStringLiteral("<h2>Lumetra quick guide</h2>")));
    EXPECT_TRUE(html.trimmed().endsWith(QStringLiteral("</html>")));
    const QString text = quick_guide_text();
    EXPECT_FALSE(text.contains(QLatin1Char('<')));
    EXPECT_GT(text.size(), 2000);

    common::ScriptedDialogs dialogs;
    planning::Planner planner{dialogs};
    auto window = std::make_unique<MainWindow>(planner, dialogs);
    window->show();
    QAction* help = window->action(QStringLiteral("Quick guide"));
    ASSERT_NE(help, nullptr);
    help->trigger();
    QTextBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !browser) browser = w->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->toPlainText(), text);
    browser->window()->close();
}

}  // namespace
}  // namespace lumetra::window::qt
