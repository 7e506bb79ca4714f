#include "window/qt/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace lumetra::window::qt {

namespace {
const QString kTitle = QStringLiteral("Lumetra");
}

QtDialogs::QtDialogs() : last_folder_(QDir::currentPath()) {}

void QtDialogs::message(const std::string& text) { titled_message(kTitle.toStdString(), text); }

void QtDialogs::titled_message(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::question(const std::string& text) {
    QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setTextFormat(Qt::PlainText);
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
