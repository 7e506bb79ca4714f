#include "window/qt/quick_guide.h"

#include <QFile>
#include <QTextDocumentFragment>

namespace lumetra::window::qt {

QString quick_guide_html() {
    QFile guide(QStringLiteral(":/help/quick_guide.html"));
    if (!guide.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(guide.readAll());
}

QString quick_guide_text() {
    return QTextDocumentFragment::fromHtml(quick_guide_html()).toPlainText();
}

}  // namespace lumetra::window::qt
