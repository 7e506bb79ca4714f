// The random session's checks after every action, its crash and hang reports, and
// the test that runs it (the session is described in qt/random_session.h).

#include "qt/random_session.h"

namespace lumetra::window::qt {
namespace random_session {
std::string Session::check() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return std::string("a modal dialog was left open: ") + modal->metaObject()->className();
    if (QApplication::activePopupWidget()) return "a menu or list stays open";
    if (!window_->isVisible()) return "the window is gone";
    for (const std::string& failure : {check_state(), check_view(), check_plot(), check_files()})
        if (!failure.empty()) return failure;
    if (dialogs_.pending() > 16)
        return "dialog answers pile up: " + std::to_string(dialogs_.pending());
    return {};
}

std::string Session::check_state() const {
    const engine::CalcState& st = form_.st;
    std::ostringstream out;
    out << lumetra::testing::state_code_faults(st);
    if (form_.Option1.value() == form_.Option2.value()) out << "edge options alike; ";
    if (form_.Option3.value() == form_.Option4.value()) out << "scale options alike; ";
    if (form_.Option5.value() == form_.Option6.value()) out << "sample options alike; ";
    if (planner_.panel.ModelClassic.value() == planner_.panel.ModelFp.value())
        out << "model options alike; ";
    if (planner_.panel.ModelFp.value() !=
        (planner_.session().settings.model == planning::Model::fp))
        out << "model option differs from the model; ";
    const std::pair<const char*, const engine::Spectrum*> arrays[] = {
        {"Spec_total", &st.Spec_total},   {"Spec_target", &st.Spec_target},
        {"Spec_line", &st.Spec_line},     {"Spec_mark", &st.Spec_mark},
        {"Spec_argon", &st.Spec_argon},   {"Spec_elastic", &st.Spec_elastic},
        {"Spec_escape", &st.Spec_escape}, {"Spec_pileup", &st.Spec_pileup}};
    for (const auto& [name, a] : arrays)
        for (std::size_t k = 0; k < a->size(); ++k)
            if (!std::isfinite((*a)[k])) {
                out << name << "(" << k << ") = " << (*a)[k] << "; ";
                break;
            }
    return out.str();
}

// What the window shows is what the model holds, and no figure shown is NaN or
// infinite.
std::string Session::check_view() const {
    for (Control* c : form_.controls()) {
        QWidget* w = view_->widget(c->name());
        if (!w) continue;
        if (w->isVisibleTo(view_) != c->visible())
            return c->name() + (c->visible() ? " is hidden in the window" : " shows in the window");
        if (w->isEnabled() != c->enabled()) return c->name() + " differs in being enabled";
        const QString model = QString::fromStdString(c->caption());
        switch (c->kind()) {
            case ControlKind::Label: {
                const QString shown = static_cast<QLabel*>(w)->text();
                if (shown != model)
                    return c->name() + " shows " + describe_text(shown.toStdString()) + " for " +
                           describe_text(c->caption());
                if (c->visible() && shows_nan_or_inf(shown))
                    return c->name() + " shows " + describe_text(shown.toStdString());
                break;
            }
            case ControlKind::TextBox: {
                auto* edit = static_cast<QLineEdit*>(w);
                if (model.size() <= edit->maxLength() && edit->text() != model)
                    return c->name() + " shows " + describe_text(edit->text().toStdString()) +
                           " for " + describe_text(c->caption());
                break;
            }
            case ControlKind::ComboBox: {
                auto* combo = static_cast<QComboBox*>(w);
                if (combo->currentText() != model)
                    return c->name() + " shows " +
                           describe_text(combo->currentText().toStdString()) + " for " +
                           describe_text(c->caption());
                break;
            }
            case ControlKind::OptionButton:
                if (static_cast<QRadioButton*>(w)->isChecked() !=
                    static_cast<OptionButton*>(c)->value())
                    return c->name() + " shows the other state";
                break;
            case ControlKind::CheckBox:
                if (static_cast<QCheckBox*>(w)->isChecked() !=
                    (static_cast<CheckBox*>(c)->value() != 0))
                    return c->name() + " shows the other state";
                break;
            default:
                break;
        }
    }
    return {};
}

// The plot's scale is finite and its pixel mapping goes both ways; the plot lies
// within the window.
std::string Session::check_plot() const {
    const display::Picture& pic = form_.Picture1.picture();
    const display::UserScale& s = pic.scale();
    for (float v : {s.left, s.top, s.right, s.bottom})
        if (!std::isfinite(v)) return "the plot's scale is not finite";
    for (const display::PlotOp& op : pic.ops())
        if (!std::isfinite(op.x1) || !std::isfinite(op.y1) || !std::isfinite(op.x2) ||
            !std::isfinite(op.y2))
            return "a drawing operation of the plot is not finite";
    PlotWidget* plot = view_->plot();
    if (!view_->rect().contains(plot->geometry()) && view_->width() > 200 && view_->height() > 100)
        return "the plot reaches outside the window";
    const double sw = double(s.right) - s.left, sh = double(s.bottom) - s.top;
    if (plot->width() > 2 && plot->height() > 2 && sw != 0.0 && sh != 0.0 && std::fabs(sw) < 1e12 &&
        std::fabs(sh) < 1e12) {
        for (const QPointF px : {QPointF(1, 1), QPointF(plot->width() - 1.0, plot->height() / 2.0),
                                 QPointF(plot->width() / 3.0, plot->height() - 1.0)}) {
            const QPointF u = plot->to_user(px);
            const QPointF back = plot->to_pixel(u.x(), u.y());
            if (std::fabs(back.x() - px.x()) > 1e-3 || std::fabs(back.y() - px.y()) > 1e-3)
                return "the plot maps pixel " + std::to_string(px.x()) + "," +
                       std::to_string(px.y()) + " back to " + std::to_string(back.x()) + "," +
                       std::to_string(back.y());
        }
    }
    return {};
}

std::string Session::check_files() {
    for (const QFileInfo& f : QDir(dir_.path()).entryInfoList(QDir::Files | QDir::Hidden))
        if (f.fileName().contains(QStringLiteral(".saving-")))
            return "a half-written file was left behind: " + f.fileName().toStdString();
    if (!expected_file_.isEmpty()) {
        const QFileInfo f(expected_file_);
        if (!f.exists() || f.size() == 0)
            return "the export reported nothing wrong but wrote no " + f.fileName().toStdString();
        QFile::remove(expected_file_);  // the next export must write it anew
    }
    return {};
}

// ---------------------------------------------------------------------------
// A crash or a hang still tells which action it was.

#ifdef LUMETRA_RANDOM_SANITIZED
void report_death() {
    if (g_session) std::fputs(g_session->history().c_str(), stderr);
}
#else
extern "C" void report_signal(int sig) {
    if (g_session) {
        const std::string h = g_session->history();
        if (::write(2, h.data(), h.size()) < 0) {
        }
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}
#endif

void install_crash_report() {
#ifdef LUMETRA_RANDOM_SANITIZED
    __sanitizer_set_death_callback(report_death);
#else
    for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) std::signal(sig, report_signal);
#endif
}

// Aborts with the log when the session makes no progress for kHangSeconds.
class HangGuard {
  public:
    explicit HangGuard(Session& s) : session_(s), thread_([this] { watch(); }) {}
    ~HangGuard() {
        {
            std::lock_guard<std::mutex> lock(m_);
            stop_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

  private:
    void watch() {
        long last = -1;
        auto since = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> lock(m_);
        while (!cv_.wait_for(lock, std::chrono::seconds(1), [this] { return stop_; })) {
            const long now = session_.progress.load();
            if (now != last) {
                last = now;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since >
                       std::chrono::seconds(kHangSeconds)) {
                std::fprintf(stderr,
                             "random session hangs after %ld actions (no progress for %d s)\n%s",
                             now, kHangSeconds, session_.history().c_str());
                std::abort();
            }
        }
    }
    Session& session_;
    std::mutex m_;
    std::condition_variable cv_;
    bool stop_ = false;
    std::thread thread_;
};

// The offscreen platform says, again and again, what it cannot do (raise a window,
// grab the keyboard); the rest of Qt's messages pass.
QtMessageHandler g_previous_handler = nullptr;
void quiet_platform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("This plugin does not support"))) return;
    if (g_previous_handler) g_previous_handler(type, context, text);
}

TEST(QtRandomSession, RealWidgets) {
    const auto seed = static_cast<unsigned>(env_long("LUMETRA_RANDOM_SEED", kDefaultSeed));
    const long actions = env_long("LUMETRA_RANDOM_ACTIONS", kDefaultActions);
    const char* trace = std::getenv("LUMETRA_RANDOM_TRACE");
    install_crash_report();
    g_previous_handler = qInstallMessageHandler(quiet_platform);
    QElapsedTimer clock;
    clock.start();
    Session session(seed, actions, trace && *trace && *trace != '0');
    std::string failure;
    {
        HangGuard guard(session);
        failure = session.run();
    }
    const Session::Reached& r = session.reached();
    std::printf(
        "random session seed %u: %ld actions in %.1f s; %ld with a spectrum (%ld fundamental-"
        "parameter, %ld zoomed), %ld menu items, %ld composition dialogs, %ld form dialogs, "
        "%d rows at most\n",
        seed, session.done(), clock.elapsed() / 1000.0, r.calculations, r.fp_calculations, r.zoomed,
        r.menu_items, r.compositions, r.dialogs, r.most_rows);
    qInstallMessageHandler(g_previous_handler);
    EXPECT_TRUE(failure.empty()) << failure;
    EXPECT_GT(r.calculations, 0);
}

}  // namespace random_session
}  // namespace lumetra::window::qt
