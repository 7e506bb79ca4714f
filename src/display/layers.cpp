// Which layers the plot draws, in which passes and colours (see layers.h).

#include "display/layers.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "display/strokes.h"

namespace lumetra::display {
namespace {

using common::Rgb;
using namespace layer_colours;

// Colours closer than this (sum of the channels' differences) look the same on the
// plot's dark grey.
constexpr int kAlike = 60;

bool alike(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) < kAlike;
}

// Whether a pass puts anything off the base line: a bar of some height, a line that
// leaves the base.
class SeenSink : public StrokeSink {
  public:
    explicit SeenSink(float base) : base_(base) {}
    void line(float, float y1, float, float y2, Rgb) override {
        seen_ |= y1 != base_ || y2 != base_;
    }
    void point(float, float y, Rgb) override { seen_ |= y != base_; }
    void line_to(float, float y, Rgb) override { seen_ |= y != base_; }
    bool seen() const { return seen_; }

  private:
    float base_;
    bool seen_ = false;
};

class Builder {
  public:
    Builder(const engine::CalcState& st, const LayerNames& names, bool linear)
        : st_(st), names_(names) {
        out_.linear = linear;
    }

    void pass(LayerId id, Stroke stroke) {
        const auto at = std::find_if(out_.layers.begin(), out_.layers.end(),
                                     [id](const Layer& l) { return l.id == id; });
        std::size_t index = static_cast<std::size_t>(at - out_.layers.begin());
        if (at == out_.layers.end()) out_.layers.push_back(make(id));
        Layer& l = out_.layers[index];
        if (stroke == Stroke::Outline) l.outline = id == LayerId::Total ? kTotalOutline : l.bars;
        if (stroke == Stroke::TotalBars) l.segments = kTotalSegment;
        out_.passes.push_back(Pass{index, stroke});
    }

    PlotLayers finish(const ViewState& view) {
        for (const Pass& p : out_.passes) {
            Layer& l = out_.layers[p.layer];
            if (l.seen) continue;
            SeenSink sink(base_line(out_.linear));
            draw_pass(sink, l, p.stroke, out_.linear, view);
            l.seen = sink.seen();
        }
        add_traces();
        return std::move(out_);
    }

  private:
    Layer make(LayerId id) const {
        const bool lin = out_.linear;
        Layer l;
        l.id = id;
        switch (id) {
            case LayerId::Total:
                return named(l, "total", st_.Spec_total, kTotalBar);
            case LayerId::Target:
                return named(l, names_.target + ", all lines", st_.Spec_target, kTarget);
            case LayerId::Line:
                return named(l, names_.target + " " + names_.line, st_.Spec_line, kLine);
            case LayerId::Mark:
                return named(l, names_.marked, st_.Spec_mark, kMark);
            case LayerId::Argon:
                return named(l, "argon", st_.Spec_argon, lin ? kArgonLinear : kArgonLog);
            case LayerId::Elastic:
                return named(l, "elastic scatter", st_.Spec_elastic,
                             lin ? kElasticLinear : kElasticLog);
            case LayerId::Escape:
                return named(l, "escape", st_.Spec_escape, kEscape);
            case LayerId::Pileup:
                return named(l, "pile-up", st_.Spec_pileup, kPileup);
        }
        return l;
    }

    static Layer named(Layer l, std::string name, const engine::Spectrum& values, Rgb bars) {
        l.name = std::move(name);
        l.values = &values;
        l.bars = bars;
        return l;
    }

    // A layer whose bars look like another shown layer's drawing gets a trace of its
    // own colour (the total is the reference and keeps its colours).
    void add_traces() {
        std::vector<Layer>& ls = out_.layers;
        for (Layer& e : ls) {
            if (!e.seen || e.id == LayerId::Total) continue;
            const bool shared = std::any_of(ls.begin(), ls.end(), [&e](const Layer& o) {
                if (&o == &e || !o.seen) return false;
                return alike(o.bars, e.bars) || (o.outline && alike(*o.outline, e.bars)) ||
                       (o.segments && alike(*o.segments, e.bars));
            });
            if (!shared) continue;
            if (e.id == LayerId::Mark) e.trace = kMarkTrace;
            if (e.id == LayerId::Escape) e.trace = kEscapeTrace;
            if (e.id == LayerId::Pileup) e.trace = kPileupTrace;
        }
    }

    const engine::CalcState& st_;
    const LayerNames& names_;
    PlotLayers out_;
};

// Linear scale: the total (bars, segments), target, marked element and line from
// the base line, the line's outline, argon and elastic peaks when their boxes are
// ticked, the total's outline, then escape and pile-up bars when theirs are.
void linear_passes(Builder& b, const PlotOptions& o) {
    b.pass(LayerId::Total, Stroke::TotalBars);
    b.pass(LayerId::Target, Stroke::FilledBars);
    b.pass(LayerId::Mark, Stroke::FilledBars);
    b.pass(LayerId::Line, Stroke::FilledBars);
    b.pass(LayerId::Line, Stroke::Outline);
    if (o.argon >= 0.5) b.pass(LayerId::Argon, Stroke::Peaks);
    if (o.elastic >= 0.5) b.pass(LayerId::Elastic, Stroke::Peaks);
    b.pass(LayerId::Total, Stroke::Outline);
    if (o.escape == 1) b.pass(LayerId::Escape, Stroke::Bars);
    if (o.pileup >= 0.5) b.pass(LayerId::Pileup, Stroke::Bars);
}

// Log scale: escape whatever its box says, under the total, target, line and marked
// element; the outlines of the line and the total; argon, elastic and pile-up peaks
// when their boxes are ticked.
void log_passes(Builder& b, const PlotOptions& o) {
    b.pass(LayerId::Escape, Stroke::FilledBars);
    b.pass(LayerId::Total, Stroke::FilledBars);
    b.pass(LayerId::Target, Stroke::FilledBars);
    b.pass(LayerId::Line, Stroke::FilledBars);
    b.pass(LayerId::Mark, Stroke::FilledBars);
    b.pass(LayerId::Line, Stroke::Outline);
    b.pass(LayerId::Total, Stroke::Outline);
    if (o.argon >= 0.5) b.pass(LayerId::Argon, Stroke::Peaks);
    if (o.elastic >= 0.5) b.pass(LayerId::Elastic, Stroke::Peaks);
    if (o.pileup >= 0.5) b.pass(LayerId::Pileup, Stroke::Peaks);
}

}  // namespace

std::vector<Layer> PlotLayers::shown() const {
    std::vector<Layer> out;
    std::copy_if(layers.begin(), layers.end(), std::back_inserter(out),
                 [](const Layer& l) { return l.seen; });
    return out;
}

PlotLayers plot_layers(const engine::CalcState& st, const ViewState& view,
                       const PlotOptions& options, const LayerNames& names) {
    Builder b(st, names, options.linear);
    if (options.linear)
        linear_passes(b, options);
    else
        log_passes(b, options);
    return b.finish(view);
}

}  // namespace lumetra::display
