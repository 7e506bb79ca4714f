// Speed as the user feels it, in the real Qt window on the offscreen platform:
// the replay of a whole plot into an image, and the time from a keystroke, a
// click or a drag until the plot widget has painted the new picture. Also the
// time to the first painted window and the peak memory.
//
//   bench_qt [benchmark flags]   the benchmarks; the peak memory at the end
//   bench_qt --cold_start        one start-up of this process to its first
//                                painted window, then the peak memory; exits
//
// Every interaction goes through real Qt events (key, mouse) to the widgets, so
// the whole route runs: widget -> model -> handlers -> recalculation -> mirror ->
// paint. The clock stops when the plot widget has painted the picture's latest
// revision; a benchmark that does not get there stops with an error.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "window/qt/form_view.h"
#include "window/qt/plot_widget.h"
#include "window/radirido.h"

namespace {

using namespace lumetra;
using Clock = std::chrono::steady_clock;
using window::RADirido;
using window::qt::FormView;
using window::qt::PlotWidget;

// Counts the paint events of a widget and remembers which revision of the
// picture the last one showed (the filter runs just before the widget paints).
class PaintWatch : public QObject {
  public:
    PaintWatch(QWidget* w, const display::Picture* pic) : pic_(pic) { w->installEventFilter(this); }
    int paints = 0;
    unsigned long painted_revision = ~0UL;

    bool up_to_date() const { return pic_ == nullptr ? paints > 0 : painted_revision == pic_->revision(); }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            if (pic_ != nullptr) painted_revision = pic_->revision();
        }
        return false;
    }

  private:
    const display::Picture* pic_;
};

// The target, its content and eleven matrix rows: a silicate rock with a little
// iron, the sample of the engine benchmarks.
struct Row {
    const char* symbol;
    const char* content;
};
constexpr Row kMatrix[window::kRows] = {{"O", "60"},  {"Si", "20"},  {"Al", "8"},  {"Ca", "3"},
                                        {"Mg", "2"},  {"Na", "2"},   {"K", "1"},   {"Ti", ".5"},
                                        {"Mn", ".2"}, {"Cu", ".1"},  {"Zn", ".1"}};

// One window as the program shows it: the form, its Qt face shown on the
// (offscreen) screen, and watches on the plot and on the window.
class Session {
  public:
    Session()
        : planner_(dialogs_),
          form_(planner_.form()),
          view_(planner_),
          plot_watch_(view_.plot(), &form_.Picture1.picture()),
          window_watch_(&view_, nullptr) {}

    RADirido& form() { return form_; }
    planning::Planner& planner() { return planner_; }
    FormView& view() { return view_; }
    PlotWidget& plot() { return *view_.plot(); }
    const PaintWatch& plot_watch() const { return plot_watch_; }

    // Shows the window and runs the event loop until the window and the plot
    // have been painted.
    bool show() {
        view_.show();
        return settle(true);
    }

    // Runs the event loop until the plot shows the picture's latest revision
    // (and, if asked, the window has painted at least once). False if that never
    // happens.
    bool settle(bool window_too = false) {
        for (int i = 0; i < 1000; ++i) {
            if (plot_watch_.up_to_date() && (!window_too || window_watch_.paints > 0)) return true;
            QCoreApplication::processEvents();
        }
        return false;
    }

    // Iron, its content and the eleven matrix rows, typed into the model, then
    // "Plot": a twelve-element sample shown.
    bool twelve_elements() {
        form_.Text1.set_text("Fe");
        form_.Text51.set_text("2");
        for (int i = 0; i < window::kRows; ++i) {
            form_.Text2[i]->set_text(kMatrix[i].symbol);
            form_.Text52[i]->set_text(kMatrix[i].content);
        }
        form_.Command1.click();
        forget_dialogs();
        return form_.st.Calc_state == 10 && form_.st.Elem_count == 11 && settle();
    }

    template <class W>
    W* widget(const std::string& name) {
        return qobject_cast<W*>(view_.widget(name));
    }

    // Messages answered by the scripted dialogs are kept; a long run drops them.
    void forget_dialogs() { dialogs_.clear_shown(); }

  private:
    common::ScriptedDialogs dialogs_;
    planning::Planner planner_;
    RADirido& form_;
    FormView view_;
    PaintWatch plot_watch_;
    PaintWatch window_watch_;
};

void key(QWidget* w, Qt::Key k, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, k, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, mods, text);
    QApplication::sendEvent(w, &release);
}

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
           QPointF at) {
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void click(QWidget* w) {
    const QPointF centre(w->width() / 2.0, w->height() / 2.0);
    mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, centre);
    mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, centre);
}

// Per-iteration times: the benchmark reports their mean; the counters add the
// median and the 95th percentile of the single interactions, in milliseconds.
class Samples {
  public:
    void add(Clock::duration d, benchmark::State& state) {
        const double s = std::chrono::duration<double>(d).count();
        state.SetIterationTime(s);
        seconds_.push_back(s);
    }
    void report(benchmark::State& state) {
        if (seconds_.empty()) return;
        std::sort(seconds_.begin(), seconds_.end());
        auto at = [&](double q) {
            return seconds_[static_cast<std::size_t>(q * double(seconds_.size() - 1) + 0.5)];
        };
        state.counters["p50_ms"] = at(0.5) * 1e3;
        state.counters["p95_ms"] = at(0.95) * 1e3;
    }

  private:
    std::vector<double> seconds_;
};

bool prepared(benchmark::State& state, Session& s) {
    if (!s.show() || !s.twelve_elements()) {
        state.SkipWithError("the twelve-element sample did not show");
        return false;
    }
    return true;
}

// ---- the replay of a whole plot into an image of the plot widget's size ----

// Args: linear (1) or logarithmic (0), zoomed to a narrow window (1) or not (0).
void BM_ReplayPlot(benchmark::State& state) {
    Session s;
    if (!prepared(state, s)) return;
    RADirido& f = s.form();
    if (state.range(0) == 0) f.Option4.user_click();  // logarithmic, redrawn
    if (state.range(1) == 1) {
        // A drag over about 100 channels around the iron lines: filled bars.
        f.Picture1_MouseDown(window::MouseButton::Left, 300.0f, 6000.0f);
        f.Picture1_MouseUp(window::MouseButton::Left, 400.0f, 6000.0f);
    }
    if (f.view.Zoom_steps != (state.range(1) == 1 ? 4 : 1) || !s.settle()) {
        state.SkipWithError("the view did not take the scale or zoom");
        return;
    }
    QImage image(s.plot().size(), QImage::Format_RGB32);
    for (auto _ : state) {
        s.plot().render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["ops"] = static_cast<double>(f.Picture1.picture().ops().size());
}
BENCHMARK(BM_ReplayPlot)
    ->ArgNames({"linear", "zoomed"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Unit(benchmark::kMicrosecond);

// ---- interactions, from the event to the painted plot ----

// A keystroke in the X-ray energy field: "10." <-> "10.5", one key at a time
// (a digit typed, then rubbed out), each a recalculation at about 10 keV. Arg: the
// classic model (0) or the fundamental-parameter model with its scan preview
// finished beforehand (1; the energy moves only the preview's marker); the window at
// its design size (0) or at 1920 x 1200 (1).
void BM_KeystrokeEnergy(benchmark::State& state) {
    Session s;
    if (!prepared(state, s)) return;
    if (state.range(0) == 1) {
        s.planner().set_planning("flux", "1e9");
        s.planner().set_model(planning::Model::fp);
        s.planner().preview_finish();
    }
    if (state.range(1) == 1) {  // a large window (with QT_SCALE_FACTOR=2: a sharp one)
        s.view().resize(1920, 1200);
        QCoreApplication::processEvents();
    }
    s.form().Text11.set_text("10.");
    auto* edit = s.widget<QLineEdit>("Text11");
    if (edit == nullptr || !s.settle() || s.form().st.Calc_state != 10) {
        state.SkipWithError("no energy field");
        return;
    }
    edit->setCursorPosition(int(edit->text().size()));
    Samples samples;
    bool digit = true;
    for (auto _ : state) {
        const int paints = s.plot_watch().paints;
        const auto t0 = Clock::now();
        if (digit) {
            key(edit, Qt::Key_5, QStringLiteral("5"));
        } else {
            key(edit, Qt::Key_Backspace, QString());
        }
        const bool ok = s.settle();
        samples.add(Clock::now() - t0, state);
        if (!ok || s.plot_watch().paints == paints) {
            state.SkipWithError("the plot was not repainted");
            break;
        }
        digit = !digit;
    }
    if (s.form().Text11.text() != "10." && s.form().Text11.text() != "10.5") {
        state.SkipWithError("the keys did not reach the model");
    }
    samples.report(state);
}
BENCHMARK(BM_KeystrokeEnergy)
    ->ArgNames({"fp", "large"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A click on the coarse gain's up arrow, then on its down arrow, and so on:
// gain, full scale, recalculation and redraw each time.
void BM_CoarseGainClick(benchmark::State& state) {
    Session s;
    if (!prepared(state, s)) return;
    auto* up = s.widget<QPushButton>("Command23");
    auto* down = s.widget<QPushButton>("Command24");
    if (up == nullptr || down == nullptr || !up->isVisible() || !down->isVisible()) {
        state.SkipWithError("no coarse gain buttons");
        return;
    }
    Samples samples;
    bool going_up = true;
    for (auto _ : state) {
        const int paints = s.plot_watch().paints;
        const std::string gain = s.form().Label9.caption();
        const auto t0 = Clock::now();
        click(going_up ? up : down);
        const bool ok = s.settle();
        samples.add(Clock::now() - t0, state);
        if (!ok || s.plot_watch().paints == paints || s.form().Label9.caption() == gain) {
            state.SkipWithError("the click did not change the gain and the plot");
            break;
        }
        going_up = !going_up;
        s.forget_dialogs();
    }
    samples.report(state);
}
BENCHMARK(BM_CoarseGainClick)->UseManualTime()->Unit(benchmark::kMillisecond);

// A drag over the plot: press, a move, release. Timed from the release (the
// zoom and the redraw) to the painted plot; the right click that brings the
// whole scale back between drags is not timed. Arg: the drag's width in pixels
// (60: a narrow window drawn with filled bars; 200: a wide one).
void BM_DragZoom(benchmark::State& state) {
    Session s;
    if (!prepared(state, s)) return;
    PlotWidget& plot = s.plot();
    const double from = 150.0;
    const double to = from + double(state.range(0));
    const double y = plot.height() / 3.0;
    Samples samples;
    for (auto _ : state) {
        mouse(&plot, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPointF(from, y));
        mouse(&plot, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPointF(to, y));
        if (!s.settle()) {
            state.SkipWithError("the plot did not settle before the release");
            break;
        }
        const int paints = s.plot_watch().paints;
        const auto t0 = Clock::now();
        mouse(&plot, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPointF(to, y));
        const bool ok = s.settle();
        samples.add(Clock::now() - t0, state);
        if (!ok || s.plot_watch().paints == paints ||
            s.form().Picture1.picture().scale().left <= -10.0f) {
            state.SkipWithError("the drag did not zoom");
            break;
        }
        mouse(&plot, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, QPointF(from, y));
        mouse(&plot, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, QPointF(from, y));
        if (!s.settle()) {
            state.SkipWithError("the right click did not restore the whole scale");
            break;
        }
    }
    samples.report(state);
}
BENCHMARK(BM_DragZoom)->ArgName("px")->Arg(60)->Arg(200)->UseManualTime()->Unit(
    benchmark::kMillisecond);

// The pointer moving over the plot: the readout above it follows (no redraw of
// the plot itself). Timed until the event loop is idle again.
void BM_PointerOverPlot(benchmark::State& state) {
    Session s;
    if (!prepared(state, s)) return;
    PlotWidget& plot = s.plot();
    Samples samples;
    int step = 0;
    for (auto _ : state) {
        const QPointF at(50.0 + (step++ % 400), plot.height() / 2.0);
        const auto t0 = Clock::now();
        mouse(&plot, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        QCoreApplication::processEvents();
        samples.add(Clock::now() - t0, state);
    }
    if (s.form().Lvolt_p.caption().find("(V)") == std::string::npos) {
        state.SkipWithError("the readout did not follow the pointer");
    }
    samples.report(state);
}
BENCHMARK(BM_PointerOverPlot)->UseManualTime()->Unit(benchmark::kMillisecond);

// A new target typed into the element field: select all, then "Fe" or "Co".
// Timed: the keystroke that completes the symbol (edge, energy, target yield,
// automatic gain, cleared plot) until the plot has painted.
void BM_TargetChange(benchmark::State& state) {
    Session s;
    if (!prepared(state, s)) return;
    auto* edit = s.widget<QLineEdit>("Text1");
    if (edit == nullptr) {
        state.SkipWithError("no element field");
        return;
    }
    Samples samples;
    bool cobalt = true;
    for (auto _ : state) {
        key(edit, Qt::Key_A, QString(), Qt::ControlModifier);  // select all
        key(edit, cobalt ? Qt::Key_C : Qt::Key_F, cobalt ? QStringLiteral("C") : QStringLiteral("F"));
        if (!s.settle()) {
            state.SkipWithError("the plot did not settle after the first letter");
            break;
        }
        const auto t0 = Clock::now();
        key(edit, cobalt ? Qt::Key_O : Qt::Key_E, cobalt ? QStringLiteral("o") : QStringLiteral("e"));
        const bool ok = s.settle();
        samples.add(Clock::now() - t0, state);
        if (!ok || s.form().st.Elem_z[0] != (cobalt ? 27 : 26)) {
            state.SkipWithError("the target did not change");
            break;
        }
        cobalt = !cobalt;
        s.forget_dialogs();
    }
    samples.report(state);
}
BENCHMARK(BM_TargetChange)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Plot" pressed after a target change (the change itself is not timed):
// recalculation of the twelve-element sample and its redraw.
void BM_PlotClick(benchmark::State& state) {
    Session s;
    if (!prepared(state, s)) return;
    auto* edit = s.widget<QLineEdit>("Text1");
    auto* plot_button = s.widget<QPushButton>("Command1");
    if (edit == nullptr || plot_button == nullptr || !plot_button->isVisible() ||
        !plot_button->isEnabled()) {
        state.SkipWithError("no element field or no Plot button");
        return;
    }
    Samples samples;
    bool cobalt = true;
    for (auto _ : state) {
        key(edit, Qt::Key_A, QString(), Qt::ControlModifier);
        key(edit, cobalt ? Qt::Key_C : Qt::Key_F, cobalt ? QStringLiteral("C") : QStringLiteral("F"));
        key(edit, cobalt ? Qt::Key_O : Qt::Key_E, cobalt ? QStringLiteral("o") : QStringLiteral("e"));
        if (!s.settle() || s.form().st.Calc_state != -10) {
            state.SkipWithError("the target change did not settle");
            break;
        }
        const int paints = s.plot_watch().paints;
        const auto t0 = Clock::now();
        click(plot_button);
        const bool ok = s.settle();
        samples.add(Clock::now() - t0, state);
        if (!ok || s.plot_watch().paints == paints || s.form().st.Calc_state != 10) {
            state.SkipWithError("Plot did not recalculate and redraw");
            break;
        }
        cobalt = !cobalt;
        s.forget_dialogs();
    }
    samples.report(state);
}
BENCHMARK(BM_PlotClick)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- start-up ----

// The form with its defaults, its Qt face, shown, until the window and the plot
// have painted. The application object and the fonts already exist (see
// --cold_start for a first start-up of a process).
void BM_StartupToPaintedWindow(benchmark::State& state) {
    for (auto _ : state) {
        const auto t0 = Clock::now();
        auto s = std::make_unique<Session>();
        const bool ok = s->show();
        const auto t1 = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        if (!ok) {
            state.SkipWithError("the window was not painted");
            break;
        }
        s.reset();
        // Outside an event loop's exec() deferred deletes wait for an explicit call.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_StartupToPaintedWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- memory ----

// Peak resident set of this process in kB (0 if unknown).
long peak_rss_kb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

// One start-up of this process: the application object, the form and its
// window, until painted; then a short session on a twelve-element sample.
int cold_start(int argc, char** argv, Clock::time_point entered) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    Session s;
    if (!s.show()) {
        std::fprintf(stderr, "the window was not painted\n");
        return 1;
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - entered).count();
    const long after_start = peak_rss_kb();
    if (!s.twelve_elements()) {
        std::fprintf(stderr, "the twelve-element sample did not show\n");
        return 1;
    }
    s.form().Option4.user_click();
    s.form().Picture1_MouseDown(window::MouseButton::Left, 300.0f, 6000.0f);
    s.form().Picture1_MouseUp(window::MouseButton::Left, 400.0f, 6000.0f);
    s.settle();
    std::printf("start-up to first painted window: %.1f ms (from main, libraries loaded)\n", ms);
    std::printf("peak resident memory: %ld kB after start-up, %ld kB after a twelve-element plot\n",
                after_start, peak_rss_kb());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto entered = Clock::now();
    // No screen needed, and none used if there is one.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cold_start") == 0) return cold_start(argc, argv, entered);
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::fprintf(stderr, "peak resident memory of the whole run: %ld kB\n", peak_rss_kb());
    return 0;
}
