#pragma once
// The Qt face of the window RADirido: one widget per model control at its place
// (twips / 15 = pixels), mirroring every property change of the model and turning
// the user's actions into model calls, which run the form's handlers.

#include <QTimer>
#include <QWidget>
#include <string>
#include <unordered_map>

#include "planning/planner.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

class PlotWidget;

class FormView : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTwipsPerPixel = 15;

    // Builds the widgets from the current state of the form and starts observing
    // it. The form must outlive the view.
    explicit FormView(planning::Planner& planner, QWidget* parent = nullptr);
    ~FormView() override;

    // The widget that shows the control NAME ("Text2(3)"), or nullptr (also for
    // the rules and the rectangle, which are painted on the window itself).
    QWidget* widget(const std::string& name) const;
    PlotWidget* plot() const { return plot_; }

    // The size the design is drawn at when the scale is 1 (form and panel), pixels.
    static QSize design_size();
    // The smallest scale at which every caption is readable; below it the view stays
    // that large and its window scrolls.
    static constexpr double kMinimumScale = 1.0;
    double scale() const { return scale_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void create(Control& c);
    void mirror(Control& c);
    void set_tab_order();
    // Where a control lies: the form's fixed controls, the spectrum plot with its
    // axis marks, or the planning panel.
    enum class Region { form, plot, panel };
    Region region_of(const Control& c) const;
    // A point of the design (twips) in pixels, for a control of the region.
    QPoint at(int x_twips, int y_twips, Region region = Region::form) const;
    QRect place(const Control& c) const;  // a control's rectangle in pixels

    planning::Planner& planner_;
    RADirido& form_;
    PlotWidget* plot_ = nullptr;
    double scale_ = 1.0;  // pixels per design pixel, the same for width and height
    // What the window gives beyond the design at that scale, pixels: the plot takes
    // the extra width and height, the scan preview the panel's extra height.
    int extra_width_ = 0;
    int extra_height_ = 0;
    QTimer* preview_timer_ = nullptr;  // computes the scan preview in idle moments
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<std::string, QWidget*> by_name_;
};

}  // namespace lumetra::window::qt
