#include "window/qt/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>

namespace lumetra::window::qt {

namespace {
const QString kTitle = QStringLiteral("Lumetra");

// A box is as wide as its text asks, and a short text ("1.3") would leave the title
// bar too narrow for its title, which the desktop then cuts ("Fin…ded"). The
// title's width, a little larger than the box's own font as title bars are, plus
// room for the bar's icon and buttons, holds the box open.
void make_room_for_title(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont title_font = box.font();
    title_font.setPointSizeF(title_font.pointSizeF() * 1.25);
    title_font.setBold(true);
    const int title = QFontMetrics(title_font).horizontalAdvance(box.windowTitle());
    grid->addItem(new QSpacerItem(title + 160, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}
}  // namespace

QtDialogs::QtDialogs() : last_folder_(QDir::currentPath()) {}

void QtDialogs::message(const std::string& text) { titled_message(kTitle.toStdString(), text); }

void QtDialogs::titled_message(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::Ok);
    make_room_for_title(box);
    box.exec();
}

bool QtDialogs::question(const std::string& text) {
    QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setTextFormat(Qt::PlainText);
    make_room_for_title(box);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::string QtDialogs::prompt(const std::string& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, kTitle, QString::fromStdString(text),
                                                 QLineEdit::Normal, QString(), &ok);
    return ok ? answer.toStdString() : std::string();
}

std::string QtDialogs::remember_folder(const QString& chosen) {
    if (chosen.isEmpty()) return {};
    last_folder_ = QFileInfo(chosen).absolutePath();
    return QDir::toNativeSeparators(chosen).toStdString();
}

std::string QtDialogs::save_file_name(const std::string& preset_name) {
    const QString start = QDir(last_folder_).filePath(QString::fromStdString(preset_name));
    return remember_folder(QFileDialog::getSaveFileName(parent_, QStringLiteral("Save"), start));
}

std::string QtDialogs::load_file_name() {
    return remember_folder(
        QFileDialog::getOpenFileName(parent_, QStringLiteral("Load"), last_folder_));
}

}  // namespace lumetra::window::qt
