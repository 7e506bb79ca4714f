// The random session's actions: typing, clicks, the plot, menus, resizes, the
// composition dialog and the panel.

#include "qt/random_session.h"

namespace lumetra::window::qt {
namespace random_session {

void Session::make_files() {
    auto write = [this](const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    };
    write("valid.txt", "2\r\n\"Fe\",\"10\"\r\n\"O\",\"60\"\r\n\"Si\",\"20\"\r\n");
    write("eleven.txt",
          "11\r\n\"Cu\",\"5\"\r\n\"O\",\"50\"\r\n\"Si\",\"20\"\r\n\"Al\",\"10\"\r\n"
          "\"Ca\",\"3\"\r\n\"Ti\",\"1\"\r\n\"Fe\",\"2\"\r\n\"Zn\",\"0.5\"\r\n\"Sr\",\"0.1\"\r\n"
          "\"Ba\",\"0.2\"\r\n\"Pb\",\"0.05\"\r\n\"U\",\"0.01\"\r\n");
    write("odd.txt",
          "4\r\n\" Pb \",\"1e400\"\r\n\"fe\",\"-5\"\r\n\"\",\"abc\"\r\n\"Xx\",\"1,5\"\r\n");
    write("heavy.txt", "0\r\n\"Po\",\"1\"\r\n");
    write("broken.json", "{\"format\": \"lumetra-setup\", \"version\": 1, \"edge\": ");
    QByteArray garbage;
    for (int i = 0; i < 300; ++i) garbage += char(rng_.below(256));
    write("garbage.bin", garbage);
    QDir(dir_.path()).mkdir(QStringLiteral("adir"));
}

std::string Session::load_name() {
    const char* const names[] = {"valid.txt",   "eleven.txt",  "odd.txt",    "heavy.txt",
                                 "broken.json", "garbage.bin", "setup.json", "saved.txt",
                                 "missing.txt", "adir"};
    return path(rng_.pick(names)).toStdString();
}

std::string Session::save_name(const char* good) {
    const double r = rng_.unit();
    if (r < 0.06) return path("nodir/x.txt").toStdString();
    if (r < 0.10) return path("adir").toStdString();
    return path(good).toStdString();
}

void Session::log(const std::string& line) {
    if (log_.size() == kLogLength) log_.pop_front();
    log_.push_back(line);
    if (trace_) std::fprintf(stderr, "random %u #%ld %s\n", seed_, index_, line.c_str());
}

std::string Session::history() const {
    std::ostringstream out;
    out << "random session seed " << seed_ << ", action #" << index_ << "\n"
        << "replay: LUMETRA_RANDOM_SEED=" << seed_ << " LUMETRA_RANDOM_ACTIONS=" << index_ + 1
        << " LUMETRA_RANDOM_TRACE=1 test_qt --gtest_filter=QtRandomSession.RealWidgets\n"
        << "last actions:\n";
    for (const std::string& line : log_) out << "  " << line << "\n";
    return out.str();
}

std::string Session::run() {
    for (; index_ < actions_; ++index_) {
        const std::string failure = step();
        progress.store(index_ + 1);
        if (!failure.empty()) return failure + "\n" + history();
    }
    return {};
}

std::string Session::step() {
    QElapsedTimer clock;
    clock.start();
    expected_file_.clear();
    if (dialogs_.pending() == 0) maybe_queue_reply();
    random_action();
    close_popups();
    input_.release_all(view_);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const common::DialogRecord& d : dialogs_.shown()) {
        log("    dialog: " + describe_text(d.text));
        if (d.kind == common::DialogRecord::Kind::Message && d.text.empty())
            return "a message box without a text";
        if (d.kind == common::DialogRecord::Kind::Message && !expected_file_.isEmpty())
            expected_file_.clear();  // it says why nothing was written
    }
    reached_.dialogs += static_cast<long>(dialogs_.shown().size());
    dialogs_.clear_shown();
    if (form_.st.Calc_state == 10) {
        ++reached_.calculations;
        if (planner_.session().settings.model == planning::Model::fp) ++reached_.fp_calculations;
        if (form_.Picture1.picture().scale().bottom == 0.0f) ++reached_.zoomed;
    }
    reached_.most_rows = std::max<int>(reached_.most_rows, form_.st.Elem_count);
    if (!modal_failure_.empty()) return modal_failure_;
    if (clock.elapsed() > kSlowActionSeconds * 1000)
        return "the window did not answer for " + std::to_string(clock.elapsed()) + " ms";
    return check();
}

// ---------------------------------------------------------------------------
// Actions

void Session::random_action() {
    const double r = rng_.unit();
    if (r < 0.30) {
        std::vector<Control*> fields = usable_of(ControlKind::TextBox);
        for (Control* c : usable_of(ControlKind::ComboBox)) fields.push_back(c);
        if (fields.empty()) return click_button();
        return type_into(*lumetra::testing::field_favouring_the_sample(rng_, fields));
    }
    if (r < 0.42) return click_button();
    if (r < 0.49) return click_option_or_check();
    if (r < 0.55) return mouse_on_text_box();
    if (r < 0.59) return pick_from_list(rng_.chance(0.5) ? form_.Combo1 : form_.Combo2);
    if (r < 0.71) return plot_mouse();
    if (r < 0.74) return hover_form();
    if (r < 0.75) return click_label();
    if (r < 0.83) return menu_action();
    if (r < 0.86) return resize_window();
    if (r < 0.89) return composition();
    if (r < 0.95) return panel();
    return compose_sample();
}

void Session::maybe_queue_reply() {
    if (!rng_.chance(0.12)) return;
    switch (rng_.below(5)) {
        case 0:
            dialogs_.queue_ok();
            break;
        case 1:
            dialogs_.queue_yes();
            break;
        case 2:
            dialogs_.queue_no();
            break;
        case 3: {
            const char* const widths[] = {"0", "0.003", "abc", "0.02", "0.5", "", "1e400", "-1"};
            dialogs_.queue_text(rng_.chance(0.7) ? rng_.pick(widths) : any_text(rng_));
            break;
        }
        default:
            dialogs_.queue_cancel();
            break;
    }
}

// Focus by a click or by the keyboard, then: select all and type, type at the end,
// backspace a few times, or paste a text over the field.
void Session::type_into(Control& c) {
    QWidget* w = widget_of(c);
    QWidget* edit = w;
    if (auto* combo = qobject_cast<QComboBox*>(w)) edit = combo->lineEdit();
    if (!edit) return;
    std::string t = rng_.chance(0.4) ? any_text(rng_) : "";
    if (t.empty() && !rng_.chance(0.1)) {
        if (&c == &form_.Combo1)
            t = rng_.pick(kLines);
        else if (&c == &form_.Text1 || c.name().rfind("Text2(", 0) == 0)
            t = rng_.pick(kSymbols);
        else if (c.name() == "FilterText")
            t = rng_.pick(kFilters);
        else
            t = rng_.pick(kNumbers);
    }
    const bool by_click = rng_.chance(0.5);
    const double mode = rng_.unit();
    const char* how = t.size() > 40 ? "paste"
                      : mode < 0.5  ? "type"
                      : mode < 0.7  ? "append"
                      : mode < 0.85 ? "backspace"
                                    : "paste";
    log(std::string(how) + " " + c.name() + (by_click ? " (clicked) " : " ") + describe_text(t));
    if (by_click) {
        input_.click(edit, inside(edit));
    } else {
        edit->setFocus(Qt::TabFocusReason);
    }
    const QString text = QString::fromStdString(t);
    if (std::string(how) == "type") {
        input_.key(edit, Qt::Key_A, Qt::ControlModifier);
        input_.type(edit, text);
    } else if (std::string(how) == "append") {
        input_.key(edit, Qt::Key_End);
        input_.type(edit, text);
    } else if (std::string(how) == "backspace") {
        input_.key(edit, Qt::Key_End);
        for (int n = rng_.between(1, 3); n > 0; --n) input_.key(edit, Qt::Key_Backspace);
    } else {
        input_.key(edit, Qt::Key_A, Qt::ControlModifier);
        input_.paste(edit, text);
    }
    if (rng_.chance(0.2)) input_.key(edit, rng_.chance(0.5) ? Qt::Key_Return : Qt::Key_Tab);
}

void Session::click_button() {
    std::vector<Control*> buttons = usable_of(ControlKind::CommandButton);
    if (buttons.empty()) return log("no button");
    Control* b = buttons[rng_.below(buttons.size())];
    if ((b == &form_.Command5 || b == &form_.Command6) && rng_.chance(0.8)) {
        dialogs_.queue_file(b == &form_.Command5 ? save_name("saved.txt") : load_name());
    }
    log("click " + b->name() + " " + describe_text(b->caption()));
    QWidget* w = widget_of(*b);
    if (rng_.chance(0.85)) {
        input_.click(w, inside(w));
    } else {  // from the keyboard
        w->setFocus(Qt::TabFocusReason);
        input_.key(w, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    }
}

void Session::click_option_or_check() {
    std::vector<Control*> boxes = usable_of(ControlKind::OptionButton);
    for (Control* c : usable_of(ControlKind::CheckBox)) boxes.push_back(c);
    if (boxes.empty()) return log("no option or check box");
    Control* c = boxes[rng_.below(boxes.size())];
    log("click " + c->name());
    QWidget* w = widget_of(*c);
    // On the box itself: a click on the empty part of the widget beside it may
    // miss, as it does for a user.
    input_.click(
        w, rng_.chance(0.8) ? QPoint(std::min(6, w->width() - 1), w->height() / 2) : inside(w));
}

void Session::mouse_on_text_box() {
    std::vector<Control*> boxes = usable_of(ControlKind::TextBox);
    std::vector<Control*> rows;
    for (Control* c : boxes)
        if (c->name().rfind("Text2(", 0) == 0) rows.push_back(c);
    if (!rows.empty() && rng_.chance(0.8)) boxes = rows;
    if (boxes.empty()) return log("no text box");
    Control* c = boxes[rng_.below(boxes.size())];
    QWidget* w = widget_of(*c);
    const QPoint at = inside(w);
    switch (rng_.below(3)) {
        case 0:
            log("left click " + c->name());
            input_.click(w, at);
            break;
        case 1:
            log("right click " + c->name());
            input_.click(w, at, Qt::RightButton);  // a context menu may open
            if (QWidget* popup = QApplication::activePopupWidget()) {
                if (auto* menu = qobject_cast<QMenu*>(popup); menu && rng_.chance(0.5)) {
                    std::vector<QAction*> items;
                    for (QAction* a : menu->actions())
                        if (a->isEnabled() && !a->isSeparator()) items.push_back(a);
                    if (!items.empty()) {
                        QAction* a = items[rng_.below(items.size())];
                        log("    context menu: " + text_of(a).toStdString());
                        input_.click(menu, menu->actionGeometry(a).center());
                    }
                }
            }
            break;
        default:
            if (dialogs_.pending() == 0 && rng_.chance(0.8))
                rng_.chance(0.6) ? dialogs_.queue_yes() : dialogs_.queue_no();
            log("double click " + c->name());
            input_.double_click(w, at);
            break;
    }
}

// A list item by the keyboard (up and down walk the list) or from the opened list.
void Session::pick_from_list(ComboBox& c) {
    auto* combo = qobject_cast<QComboBox*>(widget_of(c));
    if (!combo || !usable(c) || combo->count() == 0) return log("no list " + c.name());
    if (rng_.chance(0.5)) {
        const bool down = rng_.chance(0.6);
        log(std::string("list ") + c.name() + (down ? " down" : " up"));
        combo->setFocus(Qt::TabFocusReason);
        input_.key(combo, down ? Qt::Key_Down : Qt::Key_Up);
        return;
    }
    const int i = static_cast<int>(rng_.below(static_cast<std::size_t>(combo->count())));
    log("list " + c.name() + " pick " + describe_text(combo->itemText(i).toStdString()));
    // The arrow at the right end opens the list.
    input_.click(combo, QPoint(combo->width() - 4, combo->height() / 2));
    if (!combo->view()->isVisible()) combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QRect item = list->visualRect(combo->model()->index(i, 0));
    if (list->isVisible() && item.isValid()) {
        input_.move(list->viewport(), item.center());
        input_.click(list->viewport(), item.center());
    }
}

// The plot: drags (zoom), right clicks (whole scale), the pointer moving over it,
// and single presses or releases, also beyond the widget's edges.
void Session::plot_mouse() {
    PlotWidget* plot = view_->plot();
    if (!plot->isVisible()) return log("no plot");
    auto anywhere = [&] {
        if (rng_.chance(0.85)) return inside(plot);
        return QPoint(rng_.between(-60, plot->width() + 60),
                      rng_.between(-60, plot->height() + 60));
    };
    auto at = [](QPoint p) { return std::to_string(p.x()) + " " + std::to_string(p.y()); };
    // A press beside the plot may land on the window's scroll bar, whose context menu
    // runs its own event loop until closed, as a user would close it.
    QTimer::singleShot(0, plot, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) menu->close();
    });
    const double r = rng_.unit();
    if (r < 0.45) {
        const QPoint from = anywhere();
        QPoint to = anywhere();
        if (rng_.chance(0.1)) to = from;  // a click, no drag
        log("plot drag " + at(from) + " to " + at(to));
        input_.move(plot, from);
        input_.press(plot, from, Qt::LeftButton);
        for (int n = rng_.between(0, 3); n > 0; --n) input_.move(plot, anywhere());
        input_.move(plot, to);
        input_.release(plot, to, Qt::LeftButton);
    } else if (r < 0.6) {
        const QPoint p = anywhere();
        log("plot right click " + at(p));
        input_.click(plot, p, Qt::RightButton);
    } else if (r < 0.9) {
        const QPoint p = anywhere();
        log("plot move " + at(p));
        input_.move(plot, p);
    } else {
        const QPoint p = anywhere();
        const Qt::MouseButton b = rng_.chance(0.5) ? Qt::LeftButton : Qt::RightButton;
        const bool press = rng_.chance(0.5);
        log(std::string("plot ") + (press ? "press " : "release ") +
            (b == Qt::LeftButton ? "left " : "right ") + at(p));
        if (press)
            input_.press(plot, p, b);
        else if (input_.held() & b)
            input_.release(plot, p, b);
    }
}

void Session::hover_form() {
    const QPoint p(rng_.between(-20, view_->width() + 20), rng_.between(-20, view_->height() + 20));
    log("move over window " + std::to_string(p.x()) + " " + std::to_string(p.y()));
    input_.move(view_, p);
}

void Session::click_label() {
    std::vector<Control*> labels;
    for (Control* c : usable_of(ControlKind::Label))
        if (static_cast<Label*>(c)->on_click) labels.push_back(c);
    if (labels.empty()) return log("no clickable label");
    Control* l = labels[rng_.below(labels.size())];
    log("click " + l->name());
    input_.click(widget_of(*l));
}

// A menu item from the menu bar, by its shortcut, or triggered. File dialogs get a
// name in the session's folder (or a bad one, or none).
void Session::menu_action() {
    QAction* a = actions_list_[rng_.below(actions_list_.size())];
    const QString t = text_of(a);
    if (t.contains(QStringLiteral("composition")) || t.contains(QStringLiteral("setup")) ||
        t.startsWith(QStringLiteral("Export"))) {
        if (rng_.chance(0.85)) {
            const bool saving =
                t.startsWith(QStringLiteral("Save")) || t.startsWith(QStringLiteral("Export"));
            std::string name;
            if (!saving) {
                name = load_name();
            } else if (t == QStringLiteral("Save setup")) {
                name = save_name("setup.json");
            } else if (t == QStringLiteral("Export spectrum")) {
                name = save_name("spectrum.csv");
            } else if (t == QStringLiteral("Export picture")) {
                const char* const pictures[] = {"figure.png", "figure.svg", "figure.pdf",
                                                "figure.PNG", "figure"};
                name = save_name(rng_.pick(pictures));
            } else {
                name = save_name("saved.txt");
            }
            // Only an answer that the file dialog gets first tells what it must write.
            const bool first = dialogs_.pending() == 0;
            dialogs_.queue_file(name);
            if (first && saving && t.startsWith(QStringLiteral("Export")) &&
                name.find("nodir") == std::string::npos && name.find("adir") == std::string::npos)
                expected_file_ = QString::fromStdString(name);
        } else {
            dialogs_.queue_cancel();
        }
    }
    const double how = rng_.unit();
    QMenu* menu = nullptr;
    for (QAction* top : window_->menuBar()->actions())
        if (top->menu() && top->menu()->actions().contains(a)) menu = top->menu();
    // A menu the bar has no room for sits behind its extension button, which opens a
    // popup of its own that the session cannot work: such a menu is left to the
    // shortcut or the trigger.
    if (how < 0.4 && menu && !window_->menuBar()->actionGeometry(menu->menuAction()).isEmpty()) {
        log("menu " + text_of(menu->menuAction()).toStdString() + " > " + t.toStdString());
        QMenuBar* bar = window_->menuBar();
        input_.click(bar, bar->actionGeometry(menu->menuAction()).center());
        if (menu->isVisible() && a->isVisible()) {
            const QPoint item = menu->actionGeometry(a).center();
            input_.move(menu, item);
            input_.click(menu, item);
        }
        if (!menu->isVisible() || !expected_file_.isEmpty()) return;
        return;
    }
    if (how < 0.6 && !a->shortcut().isEmpty() && !t.startsWith(QStringLiteral("Copy spectrum"))) {
        log("shortcut " + a->shortcut().toString().toStdString() + " (" + t.toStdString() + ")");
        const QKeyCombination k = a->shortcut()[0];
        input_.key(window_.get(), k.key(), k.keyboardModifiers());
        return;
    }
    log("trigger " + t.toStdString());
    a->trigger();
}

void Session::resize_window() {
    const double r = rng_.unit();
    if (r < 0.1) {
        log("maximise");
        window_->showMaximized();
    } else if (r < 0.2) {
        log("normal size");
        window_->showNormal();
    } else {
        const int w = rng_.between(50, 3800), h = rng_.between(50, 2200);
        log("resize " + std::to_string(w) + " x " + std::to_string(h));
        window_->resize(w, h);
    }
}

// Opens the dialog with the button beside Target or from the Edit menu; the
// driver types into it while it runs.
void Session::composition() {
    if (usable(form_.CompositionButton) && rng_.chance(0.6)) {
        log("composition (button)");
        input_.click(widget_of(form_.CompositionButton));
    } else {
        log("composition (Edit menu)");
        window_->action(QStringLiteral("Composition"))->trigger();
    }
}

void Session::answer_modal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || driving_) return;
    driving_ = true;
    if (auto* dialog = qobject_cast<CompositionDialog*>(modal)) {
        drive_composition(dialog);
    } else {
        modal_failure_ = std::string("a real modal dialog opened: ") +
                         modal->metaObject()->className() + " \"" +
                         modal->windowTitle().toStdString() + "\"";
        if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
        else
            modal->close();
    }
    driving_ = false;
}

void Session::drive_composition(CompositionDialog* dialog) {
    ++reached_.compositions;
    QPointer<CompositionDialog> alive(dialog);
    for (int round = 0; round < 3 && alive && dialog->isVisible(); ++round) {
        const std::string t = rng_.chance(0.75) ? rng_.pick(kCompositions) : any_text(rng_);
        log("    composition text " + describe_text(t));
        QLineEdit* field = dialog->text_field();
        input_.click(field, inside(field));
        input_.key(field, Qt::Key_A, Qt::ControlModifier);
        if (rng_.chance(0.5))
            input_.type(field, QString::fromStdString(t));
        else
            input_.paste(field, QString::fromStdString(t));
        if (!alive) return;
        if (auto* accept = dialog->findChild<QCheckBox*>();
            accept && accept->isVisible() && rng_.chance(0.5)) {
            log("    accept the problem");
            input_.click(accept, QPoint(6, accept->height() / 2));
        }
        if (auto* target = dialog->findChild<QComboBox*>();
            target && target->count() > 1 && rng_.chance(0.3)) {
            log("    target down");
            target->setFocus(Qt::TabFocusReason);
            input_.key(target, Qt::Key_Down);
        }
        if (!alive) return;
        const double r = rng_.unit();
        if (r < 0.6 && dialog->apply_button()->isEnabled()) {
            log("    Apply");
            input_.click(dialog->apply_button());
        } else if (r < 0.75) {
            log("    Escape");
            input_.key(field, Qt::Key_Escape);
        } else if (r < 0.9) {
            log("    Cancel");
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b != dialog->apply_button() && b->isVisible()) {
                    input_.click(b);
                    break;
                }
        }
    }
    if (alive && dialog->isVisible()) {
        log("    Cancel (last)");
        input_.key(dialog->text_field(), Qt::Key_Escape);
    }
}

// The planning panel: the model switch, the detector and the settings' fields.
void Session::panel() {
    planning::Panel& p = planner_.panel;
    const double r = rng_.unit();
    if (r < 0.35) {
        OptionButton& o = rng_.chance(0.5) ? p.ModelFp : p.ModelClassic;
        if (!usable(o)) return log("no model switch");
        log("click " + o.name());
        QWidget* w = widget_of(o);
        input_.click(w, QPoint(std::min(6, w->width() - 1), w->height() / 2));
    } else if (r < 0.45) {
        pick_from_list(p.DetectorCombo);
    } else {
        planning::PanelSetting& s = p.settings[rng_.below(p.settings.size())];
        if (!usable(*s.field)) return log("no field " + s.field->name());
        type_into(*s.field);
    }
    if (rng_.chance(0.4) && usable(form_.Command1)) {
        log("click Command1 (Plot)");
        input_.click(widget_of(form_.Command1));
    }
}

// A whole sample typed in one go, then "Plot".
void Session::compose_sample() {
    auto type = [&](TextBox& box, const std::string& t) {
        if (!usable(box)) return false;
        QWidget* w = widget_of(box);
        log("type " + box.name() + " " + describe_text(t));
        input_.click(w, inside(w));
        input_.key(w, Qt::Key_A, Qt::ControlModifier);
        input_.type(w, QString::fromStdString(t));
        return true;
    };
    if (!type(form_.Text1, rng_.pick(kTargets))) return;
    if (!type(form_.Text51, std::to_string(rng_.between(1, 60)))) return;
    for (int i = 0, rows = rng_.between(0, kRows); i < rows; ++i) {
        if (!type(*form_.Text2[i], rng_.pick(kMatrix))) break;
        if (!type(*form_.Text52[i], std::to_string(rng_.between(1, 90)))) break;
    }
    if (usable(form_.Command1)) {
        log("click Command1 (Plot)");
        input_.click(widget_of(form_.Command1));
    }
}

// An open menu or list is closed with Escape, as a user does before going on; the
// quick guide with its Close button, and a closed window is opened again.
void Session::close_popups() {
    for (int n = 0; n < 4; ++n) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) break;
        input_.key(popup, Qt::Key_Escape);
        if (QApplication::activePopupWidget() == popup) popup->close();
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == window_.get() || !top->isVisible() || !qobject_cast<QDialog*>(top)) continue;
        if (QApplication::activeModalWidget() == top) continue;
        log("    close " + top->windowTitle().toStdString());
        for (QPushButton* b : top->findChildren<QPushButton*>())
            if (b->isVisible()) {
                input_.click(b);
                break;
            }
        if (top->isVisible()) top->close();
    }
    if (!window_->isVisible()) {
        log("    open the window again");
        window_->show();
    }
    window_->activateWindow();
}

// ---------------------------------------------------------------------------
// Invariants

}  // namespace random_session
}  // namespace lumetra::window::qt
