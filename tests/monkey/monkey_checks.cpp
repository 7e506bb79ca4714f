// The invariants a session checks after every action: the form's state, spectra,
// labels, fields, visibility, picture and the files on disk.

#include <cctype>
#include <cmath>
#include <optional>
#include <sstream>

#include "common/numtext.h"
#include "io/setup_format.h"
#include "monkey/inputs.h"
#include "monkey/session.h"

namespace lumetra::monkey {

namespace {

bool has_nan_or_inf(const std::string& s) {
    std::string lower(s);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The number-to-text form: a blank or minus, digits with at most one point, and
// an optional exponent "E+dd" / "E-dd"; reading it back and writing it again gives
// the same text.
bool number_form(const std::string& s) {
    if (s.size() < 2 || (s[0] != ' ' && s[0] != '-')) return false;
    std::size_t i = 1;
    int count = 0;
    bool point = false;
    for (; i < s.size() && (is_digit(s[i]) || (s[i] == '.' && !point)); ++i) {
        if (s[i] == '.')
            point = true;
        else
            ++count;
    }
    if (count == 0) return false;
    if (i < s.size()) {
        if (s[i] != 'E' || i + 2 >= s.size() || (s[i + 1] != '+' && s[i + 1] != '-')) return false;
        i += 2;
        const std::size_t first = i;
        while (i < s.size() && is_digit(s[i])) ++i;
        if (i != s.size() || i - first < 2) return false;
    }
    return text::Str(text::Val(s)) == s;
}

}  // namespace

std::string Session::check() {
    for (std::string failure : {check_state(), check_spectra(), check_labels(),
                                check_written_fields(), check_visibility(), check_picture()}) {
        if (!failure.empty()) return failure;
    }
    if (dialogs_.pending() > 16)
        return "dialog replies pile up: " + std::to_string(dialogs_.pending());
    return {};
}

std::string Session::check_state() const {
    const auto& st = form_->st;
    std::ostringstream out;
    out << lumetra::testing::state_code_faults(st);
    if (form_->view.Coarse_index < 0 || form_->view.Coarse_index > 7)
        out << "Coarse_index is " << form_->view.Coarse_index << "; ";
    // The option groups agree with the state they choose.
    if (form_->Option1.value() == form_->Option2.value()) out << "edge options both alike; ";
    if (form_->Option2.value() != (st.Edge_mode == -10))
        out << "L3 option " << form_->Option2.value() << " with Edge_mode " << st.Edge_mode << "; ";
    if (form_->Option3.value() == form_->Option4.value()) out << "scale options both alike; ";
    if (form_->Option5.value() == form_->Option6.value()) out << "sample options both alike; ";
    if (form_->Option6.value() != (st.Sample_form == -10))
        out << "film option " << form_->Option6.value() << " with Sample_form " << st.Sample_form
            << "; ";
    for (int i = 0; i < engine::kElements; ++i) {
        if (!std::isfinite(st.Elem_content[i].num()) || !std::isfinite(st.Elem_mass[i]))
            out << "element " << i << " has a content or mass that is not finite; ";
        for (int j = 0; j < engine::kSlots; ++j)
            if (!std::isfinite(st.Line_energy[i][j]) || !std::isfinite(st.Line_yield[i][j]))
                out << "line " << i << "," << j << " not finite; ";
    }
    if (!std::isfinite(st.Areal_factor)) out << "Areal_factor not finite; ";
    return out.str();
}

std::string Session::check_spectra() const {
    const auto& st = form_->st;
    const std::pair<const char*, const engine::Spectrum*> arrays[] = {
        {"Spec_total", &st.Spec_total},   {"Spec_target", &st.Spec_target},
        {"Spec_line", &st.Spec_line},     {"Spec_mark", &st.Spec_mark},
        {"Spec_argon", &st.Spec_argon},   {"Spec_elastic", &st.Spec_elastic},
        {"Spec_escape", &st.Spec_escape}, {"Spec_pileup", &st.Spec_pileup}};
    for (const auto& [name, a] : arrays) {
        for (std::size_t k = 0; k < a->size(); ++k) {
            if (!std::isfinite((*a)[k]))
                return std::string(name) + "(" + std::to_string(k) + ") = " + fmt_float((*a)[k]);
        }
    }
    return {};
}

std::string Session::check_labels() const {
    // Labels are written only by the program.
    for (Control* c : form_->controls()) {
        if (c->kind() != ControlKind::Label) continue;
        if (has_nan_or_inf(c->caption()))
            return c->name() + " shows " + describe_text(c->caption());
    }
    // These always hold a number in the number-to-text form; the four ratios start
    // as the plain "1" of the start-up.
    for (const Label* l : {&form_->Label8, &form_->Label9, &form_->Label25, &form_->Label34,
                           &form_->Label35, &form_->Label37}) {
        const bool start_up_ratio =
            l != &form_->Label8 && l != &form_->Label9 && l->caption() == "1";
        if (!start_up_ratio && !number_form(l->caption()))
            return l->name() + " is not a number: " + describe_text(l->caption());
    }
    // The edge energy: a number, or empty while there is no valid target.
    const std::string& edge = form_->Label30.caption();
    if (!edge.empty() && !number_form(edge))
        return "Label30 is not a number: " + describe_text(edge);
    return {};
}

std::string Session::check_written_fields() const {
    // Fields the program writes into as well as the user: what the program wrote
    // (anything but the user's last typing or a prompt answer) is a finite number.
    for (const TextBox* t : {&form_->Text11, &form_->Text16, &form_->Text19, &form_->Text20}) {
        auto it = typed_.find(t);
        if (it != typed_.end() && it->second == t->text()) continue;
        if (t == &form_->Text16 && answers_.count(t->text())) continue;
        if (has_nan_or_inf(t->text())) return t->name() + " was set to " + describe_text(t->text());
    }
    return {};
}

std::string Session::check_visibility() const {
    const RADirido& f = *form_;
    const bool film = f.st.Sample_form == -10;
    for (const Control* c :
         {static_cast<const Control*>(&f.Text23), static_cast<const Control*>(&f.Text24),
          static_cast<const Control*>(&f.Label49), static_cast<const Control*>(&f.Label50)}) {
        if (c->visible() != film)
            return c->name() + (c->visible() ? " visible" : " hidden") + " with Sample_form " +
                   std::to_string(f.st.Sample_form);
    }
    return {};
}

std::string Session::check_picture() const {
    const display::Picture& pic = form_->Picture1.picture();
    const display::UserScale& s = pic.scale();
    if (!std::isfinite(s.left) || !std::isfinite(s.top) || !std::isfinite(s.right) ||
        !std::isfinite(s.bottom))
        return "plot scale not finite: " + fmt_float(s.left) + " " + fmt_float(s.top) + " " +
               fmt_float(s.right) + " " + fmt_float(s.bottom);
    for (const display::PlotOp& op : pic.ops()) {
        if (!std::isfinite(op.x1) || !std::isfinite(op.y1) || !std::isfinite(op.x2) ||
            !std::isfinite(op.y2))
            return "plot operation with a coordinate that is not finite";
    }
    return {};
}

std::string Session::composition_mismatch(const io::Composition& c) const {
    const RADirido& f = *form_;
    const int rows = std::clamp<int>(f.st.Elem_count, 0, window::kRows);
    const int count = f.st.Elem_count > window::kRows ? window::kRows : f.st.Elem_count;
    if (c.count != count)
        return "count " + std::to_string(c.count) + " for Elem_count " +
               std::to_string(f.st.Elem_count);
    if (c.target_symbol != f.Text1.text() || c.target_content != f.Text51.text())
        return "target line differs from the fields";
    if (static_cast<int>(c.rows.size()) != rows) return "row count differs";
    for (int i = 0; i < rows; ++i) {
        if (c.rows[i].first != f.Text2[i]->text() || c.rows[i].second != f.Text52[i]->text())
            return "row " + std::to_string(i) + " differs from the fields";
    }
    return {};
}

std::string Session::check_files(bool saving) {
    Snapshot now;
    snapshot_files(now);
    std::string failure;
    for (const auto& [name, bytes] : now) {
        // Save writes ".NAME.saving-XXXXXX" first and renames it over NAME.
        if (name.size() > 1 && name[0] == '.' && name.find(".saving-") != std::string::npos) {
            failure = "a half-written file was left behind: " + name;
            break;
        }
        auto old = snapshot_.find(name);
        if (old != snapshot_.end() && old->second == bytes) continue;
        // A setup file holds JSON, not a composition: whatever was saved reads back.
        if (name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0) {
            const io::SetupParse setup = io::parse_setup(bytes);
            if (!setup.setup) {
                failure = "saved setup " + name + " does not read back: " + setup.error;
                break;
            }
            continue;
        }
        // A new or changed file: only Save writes, and only a complete composition,
        // the one the fields hold.
        if (!saving) {
            failure = name + " changed without a Save";
            break;
        }
        const io::ParseResult parsed = io::parse_parameters(bytes);
        if (!parsed.composition) {
            failure = "saved file " + name + " does not read back: " + parsed.error;
            break;
        }
        const std::string mismatch = composition_mismatch(*parsed.composition);
        if (!mismatch.empty()) {
            failure = "saved file " + name + ": " + mismatch;
            break;
        }
        ++result_.saves;
    }
    if (failure.empty()) {
        for (const auto& [name, bytes] : snapshot_) {
            if (!now.count(name)) {
                failure = name + " disappeared";
                break;
            }
        }
    }
    snapshot_ = std::move(now);
    return failure;
}

}  // namespace lumetra::monkey
