#include "window/qt/composition_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "chem/composition.h"

namespace lumetra::window::qt {

namespace {
const QString kDefaultTarget = QStringLiteral("(default)");
}

CompositionDialog::CompositionDialog(planning::Planner& planner, QWidget* parent)
    : QDialog(parent), planner_(planner), form_(planner.form()) {
    setWindowTitle(tr("Composition"));
    auto* layout = new QVBoxLayout(this);
    auto* now = new QLabel(
        tr("Now: %1").arg(QString::fromStdString(form_.composition_in_weight_percent())), this);
    now->setWordWrap(true);
    layout->addWidget(now);
    auto* fields = new QFormLayout;
    text_ = new QLineEdit(this);
    text_->setPlaceholderText(
        tr("e.g. 5 wt% Fe2O3 in SiO2, 1 mM Cu(NO3)2 in H2O, 25 mg/L Zn in water, 50 ppm As in "
           "kapton"));
    fields->addRow(tr("Composition"), text_);
    target_ = new QComboBox(this);
    target_->addItem(kDefaultTarget);
    fields->addRow(tr("Target"), target_);
    layout->addLayout(fields);
    preview_ = new QPlainTextEdit(this);
    preview_->setReadOnly(true);
    preview_->setMinimumSize(520, 240);
    layout->addWidget(preview_);
    accept_ = new QCheckBox(tr("Accept the problem shown and go on"), this);
    accept_->setVisible(false);
    layout->addWidget(accept_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    apply_ = buttons->addButton(tr("Apply"), QDialogButtonBox::AcceptRole);
    layout->addWidget(buttons);

    connect(text_, &QLineEdit::textChanged, this, &CompositionDialog::update_preview);
    connect(target_, &QComboBox::currentTextChanged, this, &CompositionDialog::update_preview);
    connect(accept_, &QCheckBox::toggled, this, &CompositionDialog::update_preview);
    connect(buttons, &QDialogButtonBox::accepted, this, &CompositionDialog::apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    update_preview();
}

void CompositionDialog::update_preview() {
    const std::string chosen = target_->currentText() == kDefaultTarget
                                   ? std::string()
                                   : target_->currentText().toStdString();
    const chem::ParsedComposition c = chem::parse_composition(text_->text().toStdString(), chosen);
    QString lines;
    // Under the classic model the preview also says which element it cannot take;
    // Apply then offers the fundamental-parameter model.
    for (const std::string& l : chem::preview_lines(c, !form_.hooked_model()))
        lines += QString::fromStdString(l) + '\n';
    preview_->setPlainText(lines);
    // The target list offers every element of the text the window can take as one.
    const QSignalBlocker block(target_);
    const QString current = target_->currentText();
    target_->clear();
    target_->addItem(kDefaultTarget);
    for (const chem::CompositionElement& e : c.elements)
        if (e.Z >= 20 && e.Z <= 83) target_->addItem(QString::fromStdString(e.symbol));
    target_->setCurrentIndex(std::max(0, target_->findText(current)));
    bool acceptable = !c.problems.empty();
    for (const chem::CompositionProblem& p : c.problems) acceptable = acceptable && p.acceptable;
    accept_->setVisible(acceptable);
    apply_->setEnabled(!text_->text().trimmed().isEmpty() &&
                       c.blocking_problem(accept_->isChecked()).empty());
}

// Polonium and heavier under the classic model: the question whether to calculate
// with the fundamental-parameter model instead; No applies nothing and changes
// nothing.
void CompositionDialog::apply() {
    const std::string chosen = target_->currentText() == kDefaultTarget
                                   ? std::string()
                                   : target_->currentText().toStdString();
    const std::string text = text_->text().toStdString();
    if (!form_.hooked_model()) {
        const chem::ParsedComposition c = chem::parse_composition(text, chosen);
        const std::string heavy = c.blocking_problem(accept_->isChecked()).empty()
                                      ? chem::classic_model_problem(c)
                                      : std::string();
        if (!heavy.empty()) {
            if (!form_.dialogs().question(heavy +
                                          ".\n\nSwitch to the fundamental-parameter model?"))
                return;
            planner_.set_model(planning::Model::fp);
        }
    }
    const std::string problem = form_.apply_composition(text, accept_->isChecked(), chosen);
    if (!problem.empty()) {
        preview_->appendPlainText(QString::fromStdString(problem));
        return;
    }
    accept();
}

}  // namespace lumetra::window::qt
