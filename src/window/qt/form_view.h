#pragma once
// The Qt face of the window RADirido: one widget per model control at its place
// (twips / 15 = pixels), mirroring every property change of the model and turning
// the user's actions into model calls, which run the form's handlers.

#include <QTimer>
#include <QWidget>
#include <string>
#include <unordered_map>

#include "window/radirido.h"

namespace lumetra::window::qt {

class PlotWidget;

class FormView : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTwipsPerPixel = 15;

    // Builds the widgets from the current state of the form and starts observing
    // it. The form must outlive the view.
    explicit FormView(RADirido& form, QWidget* parent = nullptr);
    ~FormView() override;

    // The widget that shows the control NAME ("Text2(3)"), or nullptr (also for
    // the rules and the rectangle, which are painted on the window itself).
    QWidget* widget(const std::string& name) const;
    PlotWidget* plot() const { return plot_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void create(Control& c);
    void mirror(Control& c);

    RADirido& form_;
    PlotWidget* plot_ = nullptr;
    QTimer* preview_timer_ = nullptr;  // computes the scan preview in idle moments
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<std::string, QWidget*> by_name_;
};

}  // namespace lumetra::window::qt
