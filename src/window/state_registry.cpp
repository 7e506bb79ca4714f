#include "window/state_registry.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "common/numtext.h"
#include "common/shortest.h"
#include "window/radirido.h"

namespace lumetra::window {

std::string format_number(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return common::shortest(v);
}

bool parse_number(std::string_view s, double& v) {
    std::string_view body = s;
    if (!body.empty() && body.front() == '+') {
        body.remove_prefix(1);
        if (!body.empty() && body.front() == '-') return false;
    }
    // from_chars would also take "inf", "nan" and "infinity"; a script means numbers.
    if (body.empty()) return false;
    const std::string_view digits = body.front() == '-' ? body.substr(1) : body;
    if (digits.empty() || !(std::isdigit(static_cast<unsigned char>(digits.front())) ||
                            digits.front() == '.')) {
        return false;
    }
    double x = 0.0;
    const auto res =
        std::from_chars(body.data(), body.data() + body.size(), x, std::chars_format::general);
    if (res.ptr != body.data() + body.size()) return false;
    if (res.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the text rule saturates a huge
        // magnitude at the largest finite double and reads a tiny one as 0.
        x = text::Val(body);
    } else if (res.ec != std::errc()) {
        return false;
    }
    if (!std::isfinite(x)) return false;
    v = x;
    return true;
}

namespace {

bool parse_index(std::string_view s, long long& out) {
    if (s.empty()) return false;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), out);
    return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

}  // namespace

bool split_variable(std::string_view text, VariableRef& ref) {
    ref = VariableRef{};
    const std::size_t open = text.find('(');
    const std::string_view base = text.substr(0, open);
    if (base.empty()) return false;
    for (char c : base) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    }
    ref.base = std::string(base);
    if (open == std::string_view::npos) return true;
    if (text.back() != ')') return false;
    std::string_view inside = text.substr(open + 1, text.size() - open - 2);
    const std::size_t comma = inside.find(',');
    if (comma == std::string_view::npos) {
        ref.index_count = 1;
        return parse_index(inside, ref.index[0]);
    }
    ref.index_count = 2;
    return parse_index(inside.substr(0, comma), ref.index[0]) &&
           parse_index(inside.substr(comma + 1), ref.index[1]);
}

namespace {

enum class VarType { Int16, Double, Variant, Text };

struct Target {
    VarType type = VarType::Int16;
    void* ptr = nullptr;
};

Target of(std::int16_t& v) { return {VarType::Int16, &v}; }
Target of(double& v) { return {VarType::Double, &v}; }
Target of(common::Variant& v) { return {VarType::Variant, &v}; }
Target of(std::string& v) { return {VarType::Text, &v}; }

class Resolver {
  public:
    Resolver(const VariableRef& ref, std::string& error) : ref_(ref), error_(error) {}

    template <class T>
    bool scalar(std::string_view name, T& v, Target& t) {
        if (ref_.base != name) return false;
        if (ref_.index_count != 0) {
            fail("takes no index");
        } else {
            t = of(v);
            found_ = true;
        }
        return true;
    }

    template <class T, std::size_t N>
    bool array(std::string_view name, std::array<T, N>& a, Target& t) {
        if (ref_.base != name) return false;
        if (ref_.index_count != 1) {
            fail("needs one index");
        } else if (ref_.index[0] < 0 || ref_.index[0] >= static_cast<long long>(N)) {
            fail("index out of range 0.." + std::to_string(N - 1));
        } else {
            t = of(a[static_cast<std::size_t>(ref_.index[0])]);
            found_ = true;
        }
        return true;
    }

    template <class T, std::size_t N, std::size_t M>
    bool table(std::string_view name, std::array<std::array<T, M>, N>& a, Target& t) {
        if (ref_.base != name) return false;
        if (ref_.index_count != 2) {
            fail("needs two indices");
        } else if (ref_.index[0] < 0 || ref_.index[0] >= static_cast<long long>(N) ||
                   ref_.index[1] < 0 || ref_.index[1] >= static_cast<long long>(M)) {
            fail("index out of range 0.." + std::to_string(N - 1) + ",0.." +
                 std::to_string(M - 1));
        } else {
            t = of(a[static_cast<std::size_t>(ref_.index[0])]
                    [static_cast<std::size_t>(ref_.index[1])]);
            found_ = true;
        }
        return true;
    }

    bool found() const { return found_; }

  private:
    void fail(const std::string& why) { error_ = ref_.base + " " + why; }
    const VariableRef& ref_;
    std::string& error_;
    bool found_ = false;
};

// Finds the variable NAME of the form; false with a reason when there is none.
bool resolve(RADirido& form, std::string_view name, Target& t, std::string& error) {
    VariableRef ref;
    if (!split_variable(name, ref)) {
        error = "bad variable name " + std::string(name);
        return false;
    }
    engine::CalcState& st = form.st;
    display::ViewState& view = form.view;
    Resolver r(ref, error);
    const bool named =  // the first match decides
        r.scalar("Elem_count", st.Elem_count, t) || r.array("Elem_z", st.Elem_z, t) ||
        r.array("Elem_mass", st.Elem_mass, t) || r.array("Elem_content", st.Elem_content, t) ||
        r.scalar("Elem_mark", st.Elem_mark, t) || r.scalar("Target_line", st.Target_line, t) ||
        r.scalar("Edge_mode", st.Edge_mode, t) || r.scalar("Sample_form", st.Sample_form, t) ||
        r.table("Line_energy", st.Line_energy, t) || r.table("Line_yield", st.Line_yield, t) ||
        r.scalar("Areal_factor", st.Areal_factor, t) ||
        r.scalar("Calc_state", st.Calc_state, t) ||
        r.scalar("Coarse_index", view.Coarse_index, t) ||
        r.array("Coarse_step", view.Coarse_step, t) ||
        r.array("Fine_text", view.Fine_text, t) || r.scalar("Drag_x", view.Drag_x, t) ||
        r.scalar("Drag_y", view.Drag_y, t) || r.scalar("Zoom_steps", view.Zoom_steps, t) ||
        r.scalar("Y_top", view.Y_top, t) || r.array("Line_label", form.Line_label, t) ||
        r.array("Spec_total", st.Spec_total, t) || r.array("Spec_target", st.Spec_target, t) ||
        r.array("Spec_line", st.Spec_line, t) || r.array("Spec_mark", st.Spec_mark, t) ||
        r.array("Spec_argon", st.Spec_argon, t) ||
        r.array("Spec_elastic", st.Spec_elastic, t) ||
        r.array("Spec_escape", st.Spec_escape, t) || r.array("Spec_pileup", st.Spec_pileup, t);
    if (!named) {
        error = "unknown variable " + ref.base;
        return false;
    }
    return r.found();
}

}  // namespace

bool StateRegistry::read(std::string_view name, std::string& value, std::string& error) const {
    Target t;
    if (!resolve(form_, name, t, error)) return false;
    switch (t.type) {
        case VarType::Int16:
            value = std::to_string(*static_cast<std::int16_t*>(t.ptr));
            break;
        case VarType::Double:
            value = format_number(*static_cast<double*>(t.ptr));
            break;
        case VarType::Variant: {
            const auto& v = *static_cast<common::Variant*>(t.ptr);
            value = v.empty() ? std::string() : format_number(v.num());
            break;
        }
        case VarType::Text:
            value = *static_cast<std::string*>(t.ptr);
            break;
    }
    return true;
}

bool StateRegistry::write(std::string_view name, std::string_view value, std::string& error) {
    Target t;
    if (!resolve(form_, name, t, error)) return false;
    if (t.type == VarType::Text) {
        *static_cast<std::string*>(t.ptr) = std::string(value);
        return true;
    }
    if (t.type == VarType::Variant && (value == "Empty" || value == "empty")) {
        static_cast<common::Variant*>(t.ptr)->clear();
        return true;
    }
    double x = 0.0;
    if (!parse_number(value, x)) {
        error = "not a number: " + std::string(value);
        return false;
    }
    switch (t.type) {
        case VarType::Int16:
            *static_cast<std::int16_t*>(t.ptr) = text::to_int16(x);
            break;
        case VarType::Double:
            *static_cast<double*>(t.ptr) = x;
            break;
        case VarType::Variant:
            *static_cast<common::Variant*>(t.ptr) = x;
            break;
        case VarType::Text:
            break;
    }
    return true;
}

const engine::Spectrum* StateRegistry::spectrum(std::string_view name) const {
    const engine::CalcState& st = form_.st;
    if (name == "Spec_total") return &st.Spec_total;
    if (name == "Spec_target") return &st.Spec_target;
    if (name == "Spec_line") return &st.Spec_line;
    if (name == "Spec_mark") return &st.Spec_mark;
    if (name == "Spec_argon") return &st.Spec_argon;
    if (name == "Spec_elastic") return &st.Spec_elastic;
    if (name == "Spec_escape") return &st.Spec_escape;
    if (name == "Spec_pileup") return &st.Spec_pileup;
    return nullptr;
}

}  // namespace lumetra::window
