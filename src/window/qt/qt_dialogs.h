#pragma once
// The window's modal dialogs as Qt message boxes, input dialogs and file dialogs.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "common/dialogs.h"

namespace lumetra::window::qt {

class QtDialogs : public common::Dialogs {
  public:
    QtDialogs();
    // The window the dialogs belong to (they centre on it); may be set late.
    void set_parent(QWidget* parent) { parent_ = parent; }

    void message(const std::string& text) override;
    void titled_message(const std::string& title, const std::string& text) override;
    bool question(const std::string& text) override;
    std::string prompt(const std::string& text) override;
    // Both file dialogs start in the folder used last.
    std::string save_file_name(const std::string& preset_name) override;
    std::string load_file_name() override;

  private:
    std::string remember_folder(const QString& chosen);

    QPointer<QWidget> parent_;
    QString last_folder_;
};

}  // namespace lumetra::window::qt
