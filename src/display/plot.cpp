// The spectrum plot: its axes, then the passes of its layers (see layers.h), later
// layers over earlier ones.

#include "display/plot.h"

#include <cmath>

#include "display/strokes.h"
#include "engine/finite.h"

namespace lumetra::display {
namespace {

constexpr double kLogBase = 500.0;
constexpr double kLogDecade = 1500.0;  // plot units per decade

const double kLogFactor = kLogDecade / std::log(10.0);

class PictureSink : public StrokeSink {
  public:
    explicit PictureSink(Picture& pic) : pic_(pic) {}
    void line(float x1, float y1, float x2, float y2, common::Rgb c) override {
        pic_.Line(x1, y1, x2, y2, c);
    }
    void point(float x, float y, common::Rgb c) override { pic_.PSet(x, y, c); }
    void line_to(float x, float y, common::Rgb c) override { pic_.LineTo(x, y, c); }

  private:
    Picture& pic_;
};

}  // namespace

double linear_y(double v) {
    return v + 0.001;
}

double log_y(double v) {
    const double x = engine::finite::held(v / 0.001) + 1.0;
    if (!(x > 0.0)) return kLogBase;  // below the scale's domain: on the base line
    return kLogBase + kLogFactor * std::log(x);
}

double log_value(double y) {
    if (!(y > kLogBase)) return 0.0;
    const double v = 0.001 * std::expm1((y - kLogBase) / kLogFactor);
    return engine::finite::held(v);
}

void Plot_spectrum(Picture& pic, const engine::CalcState& st, const ViewState& view,
                   const PlotOptions& options) {
    pic.Cls();
    pic.Line(0.0f, 0.0f, 1026.0f, 0.0f);
    pic.Line(0.0f, 0.0f, 0.0f, 11600.0f);
    const PlotLayers layers = plot_layers(st, view, options);
    PictureSink sink(pic);
    for (const Pass& pass : layers.passes)
        draw_pass(sink, layers.layers[pass.layer], pass.stroke, layers.linear, view);
}

}  // namespace lumetra::display
