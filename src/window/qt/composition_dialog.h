#pragma once
// "Composition…": a composition written as a lab writes it ("5 wt% Fe2O3 in SiO2",
// "1 mM Cu(NO3)2 in H2O"), with a preview of what will be written before anything
// changes, a choice of the target, and the problems in words.

#include <QDialog>

#include "planning/planner.h"
#include "window/radirido.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumetra::window::qt {

class CompositionDialog : public QDialog {
    Q_OBJECT

  public:
    // The form must outlive the dialog. Apply writes the composition through the
    // form's own handlers; Cancel changes nothing.
    explicit CompositionDialog(planning::Planner& planner, QWidget* parent = nullptr);
    QLineEdit* text_field() const { return text_; }
    QPlainTextEdit* preview() const { return preview_; }
    QPushButton* apply_button() const { return apply_; }

  private:
    void update_preview();
    void apply();

    planning::Planner& planner_;
    RADirido& form_;
    QLineEdit* text_ = nullptr;
    QComboBox* target_ = nullptr;
    QCheckBox* accept_ = nullptr;
    QPlainTextEdit* preview_ = nullptr;
    QPushButton* apply_ = nullptr;
};

}  // namespace lumetra::window::qt
