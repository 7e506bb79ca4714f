// The setup file: a strict JSON reader and writer, the decoding of the setup's keys
// and the rules of their values (see setup_format.h).

#include "io/setup_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <system_error>
#include <tuple>

#include "common/numtext.h"
#include "common/amplifier.h"
#include "physics/setup.h"

namespace lumetra::io {

using Planning = physics::Settings;
using Model = physics::ModelKind;

namespace {

constexpr std::string_view kFormatName = "lumetra-setup";
constexpr int kMaxDepth = 32;
constexpr std::array<int, 8> kCoarseSteps = {5, 10, 20, 50, 100, 200, 500, 1000};
constexpr double kLargestWhole = 1e9;  // whole numbers beyond are refused before any range
// JSON's one-letter escapes and the characters they stand for.
constexpr std::string_view kEscapeLetters = "\"\\/bfnrt";
constexpr std::string_view kEscaped = "\"\\/\b\f\n\r\t";

// ---- UTF-8 ----

// The length of the valid UTF-8 sequence at s[i] (shortest form, no surrogates, at
// most U+10FFFF), or 0 when the bytes there are not one.
std::size_t utf8_length(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) {
        return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u;
    };
    const auto follows = [&](std::size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
        return byte(k) >= lo && byte(k) <= hi;
    };
    const unsigned c = byte(i);
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return follows(i + 1) ? 2 : 0;
    if (c == 0xE0) return follows(i + 1, 0xA0) && follows(i + 2) ? 3 : 0;
    if (c == 0xED) return follows(i + 1, 0x80, 0x9F) && follows(i + 2) ? 3 : 0;
    if (c >= 0xE1 && c <= 0xEF) return follows(i + 1) && follows(i + 2) ? 3 : 0;
    if (c == 0xF0) return follows(i + 1, 0x90) && follows(i + 2) && follows(i + 3) ? 4 : 0;
    if (c >= 0xF1 && c <= 0xF3) return follows(i + 1) && follows(i + 2) && follows(i + 3) ? 4 : 0;
    if (c == 0xF4) return follows(i + 1, 0x80, 0x8F) && follows(i + 2) && follows(i + 3) ? 4 : 0;
    return 0;
}

bool valid_utf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8_length(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

void append_utf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The shortest text that reads back as the same double ("1e+12", "0.95", "-10").
std::string number_text(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

// ---- JSON ----

struct Json {
    enum class Kind { null, boolean, number, text, array, object };
    Kind kind = Kind::null;
    int line = 1;  // where the value starts
    bool flag = false;
    double number = 0.0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;  // in file order, no key twice

    const Json* member(std::string_view key) const {
        for (const auto& [k, v] : members)
            if (k == key) return &v;
        return nullptr;
    }
};

// Reads one JSON document (RFC 8259) and refuses anything outside the grammar.
class JsonReader {
  public:
    explicit JsonReader(std::string_view bytes) : s_(bytes) {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (s_.substr(0, kByteOrderMark.size()) == kByteOrderMark) i_ = kByteOrderMark.size();
    }

    // The document's value, or false with the reason in error().
    bool read(Json& out) {
        skip_space();
        if (at_end()) return fail("the file is empty");
        if (!value(out, 0)) return false;
        skip_space();
        if (!at_end()) return fail("there is more text after the end of the setup");
        return true;
    }
    const std::string& error() const { return error_; }

  private:
    bool at_end() const { return i_ >= s_.size(); }
    char peek() const { return at_end() ? '\0' : s_[i_]; }

    bool fail(const std::string& why) {
        error_ = "Setup file line " + std::to_string(line_) + ": " + why + ".";
        return false;
    }

    void skip_space() {
        while (!at_end()) {
            const char c = s_[i_];
            if (c == '\n' || (c == '\r' && (i_ + 1 >= s_.size() || s_[i_ + 1] != '\n'))) {
                ++line_;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
            ++i_;
        }
    }

    bool value(Json& out, int depth) {
        if (depth > kMaxDepth) return fail("more than 32 levels of nesting");
        out.line = line_;
        if (at_end()) return fail("the file ends where a value should be");
        const char c = s_[i_];
        if (c == '{') return object(out, depth);
        if (c == '[') return array(out, depth);
        if (c == '"') {
            out.kind = Json::Kind::text;
            return text(out.text);
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            out.kind = Json::Kind::number;
            return number(out.number);
        }
        if (word("true")) {
            out.kind = Json::Kind::boolean;
            out.flag = true;
            return true;
        }
        if (word("false")) {
            out.kind = Json::Kind::boolean;
            return true;
        }
        if (word("null")) return true;
        const bool printable = c > ' ' && c < 127;
        return fail(printable ? std::string("'") + c + "' where a value should be"
                              : "a character that starts no value");
    }

    bool word(std::string_view w) {
        if (s_.substr(i_, w.size()) != w) return false;
        i_ += w.size();
        return true;
    }

    bool object(Json& out, int depth) {
        out.kind = Json::Kind::object;
        ++i_;
        skip_space();
        if (peek() == '}') {
            ++i_;
            return true;
        }
        std::set<std::string> keys;
        for (;;) {
            if (at_end()) return fail("the file ends inside an object");
            if (peek() != '"') return fail("a key in double quotes was expected");
            std::string key;
            if (!text(key)) return false;
            if (!keys.insert(key).second) return fail("the key \"" + key + "\" appears twice");
            skip_space();
            if (peek() != ':') return fail("a colon was expected after the key \"" + key + "\"");
            ++i_;
            skip_space();
            Json v;
            if (!value(v, depth + 1)) return false;
            out.members.emplace_back(std::move(key), std::move(v));
            skip_space();
            if (at_end()) return fail("the file ends inside an object");
            if (peek() == '}') {
                ++i_;
                return true;
            }
            if (peek() != ',') return fail("a comma or } was expected after a value");
            ++i_;
            skip_space();
        }
    }

    bool array(Json& out, int depth) {
        out.kind = Json::Kind::array;
        ++i_;
        skip_space();
        if (peek() == ']') {
            ++i_;
            return true;
        }
        for (;;) {
            Json v;
            if (!value(v, depth + 1)) return false;
            out.items.push_back(std::move(v));
            skip_space();
            if (at_end()) return fail("the file ends inside a list");
            if (peek() == ']') {
                ++i_;
                return true;
            }
            if (peek() != ',') return fail("a comma or ] was expected after a value");
            ++i_;
            skip_space();
        }
    }

    // A text in double quotes, s_[i_] being the opening quote.
    bool text(std::string& out) {
        ++i_;
        for (;;) {
            if (at_end()) return fail("the file ends inside a text");
            const auto c = static_cast<unsigned char>(s_[i_]);
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c == '\\') {
                if (!escape(out)) return false;
            } else if (c < 0x20) {
                return fail("a text holds a control character (write it as an escape such as \\n)");
            } else {
                const std::size_t n = utf8_length(s_, i_);
                if (n == 0) return fail("a text holds bytes that are not UTF-8");
                out.append(s_.substr(i_, n));
                i_ += n;
            }
        }
    }

    bool escape(std::string& out) {
        ++i_;
        if (at_end()) return fail("the file ends inside a text");
        const char c = s_[i_++];
        const std::size_t k = kEscapeLetters.find(c);
        if (k != std::string_view::npos) {
            out += kEscaped[k];
            return true;
        }
        if (c != 'u') return fail("a text holds an unknown escape");
        unsigned cp = 0;
        if (!hex4(cp)) return false;
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            return fail("a text holds a lone low surrogate \\u escape");
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            unsigned low = 0;
            if (!word("\\u") || !hex4(low) || low < 0xDC00 || low > 0xDFFF)
                return fail("a high surrogate \\u escape is not followed by a low one");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        append_utf8(out, cp);
        return true;
    }

    bool hex4(unsigned& cp) {
        for (int k = 0; k < 4; ++k, ++i_) {
            const char h = peek();
            const int d = h >= '0' && h <= '9'   ? h - '0'
                          : h >= 'a' && h <= 'f' ? h - 'a' + 10
                          : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                 : -1;
            if (d < 0) return fail("\\u must be followed by four hexadecimal digits");
            cp = cp * 16 + static_cast<unsigned>(d);
        }
        return true;
    }

    bool digits() {
        const std::size_t start = i_;
        while (peek() >= '0' && peek() <= '9') ++i_;
        return i_ > start;
    }

    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?, within the range of a double.
    bool number(double& out) {
        const std::size_t start = i_;
        if (peek() == '-') ++i_;
        if (peek() == '0') {
            ++i_;
            if (peek() >= '0' && peek() <= '9')
                return fail("a number starts with 0 and more digits");
        } else if (!digits()) {
            return fail("a minus sign without digits");
        }
        if (peek() == '.') {
            ++i_;
            if (!digits()) return fail("a number has no digits after its decimal point");
        }
        if (peek() == 'e' || peek() == 'E') {
            ++i_;
            if (peek() == '+' || peek() == '-') ++i_;
            if (!digits()) return fail("a number has no digits in its exponent");
        }
        const char* first = s_.data() + start;
        const char* last = s_.data() + i_;
        const auto r = std::from_chars(first, last, out);
        if (r.ec != std::errc() || r.ptr != last || !std::isfinite(out)) {
            return fail("the number " + std::string(first, std::min<std::size_t>(i_ - start, 40)) +
                        " is outside the range of numbers this program reads");
        }
        return true;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    int line_ = 1;
    std::string error_;
};

// ---- the rules of the values ----

struct Problem {
    std::string path;  // the key it concerns ("planning.flux"); "" for the file
    std::string text;
};

std::string quoted_key(const std::string& path) {
    return "\"" + path + "\"";
}

std::optional<Problem> range_problem(const std::string& path, double v, const char* rule) {
    return Problem{path,
                   quoted_key(path) + " must be " + rule + " (found " + number_text(v) + ")."};
}

std::optional<Problem> check(const WindowSetup& s) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"target.symbol", &s.target_symbol},
        {"target.content", &s.target_content},
        {"line", &s.line},
        {"energy", &s.energy},
        {"step", &s.step},
        {"fine_gain", &s.fine_gain},
        {"width", &s.width},
        {"incidence", &s.incidence},
        {"takeoff", &s.takeoff},
        {"film_density", &s.film_density},
        {"film_thickness", &s.film_thickness},
        {"distance", &s.distance},
        {"al_filter", &s.al_filter},
        {"planning.filter", &s.planning.filter}};
    for (const auto& [path, t] : texts) {
        if (!valid_utf8(*t))
            return Problem{path, quoted_key(path) + " holds bytes that are not UTF-8 text."};
    }
    for (std::size_t i = 0; i < s.matrix.size(); ++i) {
        if (!valid_utf8(s.matrix[i].first) || !valid_utf8(s.matrix[i].second)) {
            return Problem{"matrix", "matrix row " + std::to_string(i + 1) +
                                         " holds bytes that are not UTF-8 text."};
        }
    }

    const auto rows = static_cast<int>(std::min<std::size_t>(s.matrix.size(), 1000000));
    if (rows > kMaxSetupRows) {
        return Problem{"matrix",
                       "\"matrix\" holds " + std::to_string(rows) + " rows; the window has 11."};
    }
    if (const auto& n = s.element_count) {
        if (*n != -10 && (*n < 0 || *n > kMaxSetupRows))
            return range_problem("element_count", *n, "-10 or a whole number from 0 to 11");
        if (std::max(*n, 0) != rows) {
            return Problem{"element_count", "\"element_count\" is " + std::to_string(*n) +
                                                " but \"matrix\" holds " + std::to_string(rows) +
                                                " rows."};
        }
    }
    const std::vector<std::string>& lines = edge_lines(s.l3_edge);
    if (std::find(lines.begin(), lines.end(), s.line) == lines.end()) {
        std::string list;
        for (const std::string& l : lines) list += (list.empty() ? "\"" : ", \"") + l + "\"";
        return Problem{"line", std::string("\"line\" must be one of the ") +
                                   (s.l3_edge ? "L3" : "K") + " edge's lines: " + list + "."};
    }
    if (s.coarse_gain_index < 0 || s.coarse_gain_index > 7)
        return range_problem("coarse_gain_index", s.coarse_gain_index, "from 0 to 7");
    if (std::find(kCoarseSteps.begin(), kCoarseSteps.end(), s.coarse_gain) == kCoarseSteps.end()) {
        return range_problem("coarse_gain", s.coarse_gain,
                             "one of 5, 10, 20, 50, 100, 200, 500 and 1000");
    }
    const double g = text::Val(s.fine_gain);
    if (!(g > 0) || !std::isfinite(common::full_energy(s.coarse_gain, g))) {
        return Problem{"fine_gain",
                       "\"fine_gain\" must read as a number above 0 that gives a finite full "
                       "scale."};
    }
    if (s.marked_row < 0 || s.marked_row > kMaxSetupRows)
        return range_problem("marked_row", s.marked_row, "from 0 (none) to 11");
    const int shown = last_markable_row(s.element_count.value_or(rows));
    if (s.marked_row > shown) {
        return Problem{"marked_row", "\"marked_row\" is " + std::to_string(s.marked_row) +
                                         " but the matrix editor shows " +
                                         std::to_string(shown) +
                                         " rows; write 0 for no marked row."};
    }

    const Planning& p = s.planning;
    const physics::Detector& d = p.detector;
    if (!(p.polarisation >= 0.0 && p.polarisation <= 1.0))
        return range_problem("planning.polarisation", p.polarisation, "from 0 to 1");
    const std::pair<const char*, double> amounts[] = {
        {"planning.flux", p.flux},
        {"planning.area_mm2", d.area_mm2},
        {"planning.window_um", d.window_um},
        {"planning.crystal_mm", d.crystal_mm},
        {"planning.resolution_eV", d.resolution_eV},
        {"planning.dead_time_us", d.dead_time_us},
        {"planning.pulse_pair_us", d.pulse_pair_us},
        {"planning.peak_to_background", d.peak_to_background},
        {"planning.filter_thickness_um", p.filter_thickness_um}};
    for (const auto& [path, v] : amounts) {
        if (!(std::isfinite(v) && v >= 0.0))
            return range_problem(path, v, "a finite number of 0 or more");
    }
    return std::nullopt;
}

// ---- decoding ----

// Reads the known keys of the file's object into a setup; remembers the line of
// each key read, so that a rule broken later can name it.
class Decoder {
  public:
    bool decode(const Json& top, WindowSetup& s) {
        if (top.kind != Json::Kind::object)
            return fail(top, "a setup file is one JSON object, { ... }");
        const Json* format = top.member("format");
        if (!format || format->kind != Json::Kind::text || format->text != kFormatName) {
            return fail(
                format ? *format : top,
                "this is not a Lumetra setup file (it has no \"format\": \"lumetra-setup\")");
        }
        if (!version(top)) return false;

        Json none;
        none.kind = Json::Kind::object;
        const Json* target = nullptr;
        if (!get(top, "", "target", Json::Kind::object, target)) return false;
        const Json& t = target ? *target : none;
        if (!text(t, "target.", "symbol", s.target_symbol) ||
            !text(t, "target.", "content", s.target_content) || !matrix(top, s)) {
            return false;
        }
        const Json* count = nullptr;
        if (!get(top, "", "element_count", Json::Kind::number, count)) return false;
        if (count) {
            int n = 0;
            if (!whole(*count, "element_count", n)) return false;
            s.element_count = n;
        }
        if (!choice(top, "edge", "K", "L3", s.l3_edge)) return false;
        s.line = edge_lines(s.l3_edge).front();  // the line the window lists first
        if (!text(top, "", "line", s.line) || !text(top, "", "energy", s.energy) ||
            !text(top, "", "step", s.step) || !gains(top, s) || !flag(top, "", "fix", s.fix) ||
            !text(top, "", "width", s.width) || !text(top, "", "incidence", s.incidence) ||
            !text(top, "", "takeoff", s.takeoff) ||
            !choice(top, "sample", "bulk", "film", s.film) ||
            !text(top, "", "film_density", s.film_density) ||
            !text(top, "", "film_thickness", s.film_thickness) ||
            !text(top, "", "distance", s.distance) || !text(top, "", "al_filter", s.al_filter) ||
            !whole_key(top, "marked_row", s.marked_row) ||
            !choice(top, "scale", "linear", "log", s.log_scale)) {
            return false;
        }
        const Json* layers = nullptr;
        if (!get(top, "", "layers", Json::Kind::object, layers)) return false;
        const Json& l = layers ? *layers : none;
        if (!flag(l, "layers.", "argon", s.argon) || !flag(l, "layers.", "elastic", s.elastic) ||
            !flag(l, "layers.", "escape", s.escape) || !flag(l, "layers.", "pileup", s.pileup)) {
            return false;
        }
        bool fp = false;
        if (!choice(top, "model", "classic", "fp", fp)) return false;
        s.planning.model = fp ? Model::fp : Model::classic;
        return planning(top, none, s.planning);
    }

    // The line of a key read, or of the object when the key was missing.
    int line_of(const std::string& path) const {
        const auto it = lines_.find(path);
        return it == lines_.end() ? 1 : it->second;
    }
    const std::string& error() const { return error_; }

  private:
    bool fail(const Json& at, const std::string& why) {
        error_ = "Setup file line " + std::to_string(at.line) + ": " + why + ".";
        return false;
    }

    // The version: whole, 1 or more; a newer one is refused before any other key.
    bool version(const Json& top) {
        const Json* v = top.member("version");
        if (!v) return fail(top, "the setup file has no \"version\"");
        if (v->kind != Json::Kind::number || !(v->number >= 1) ||
            v->number != std::floor(v->number))
            return fail(*v, "\"version\" must be a whole number from 1");
        if (v->number > kSetupFormatVersion) {
            error_ = "This setup file was written by a newer Lumetra (format version " +
                     number_text(v->number) + "); this one reads version " +
                     std::to_string(kSetupFormatVersion) + ".";
            return false;
        }
        return true;
    }

    // The member `key` of obj when it has the kind (nullptr when missing); false
    // for a member of another kind.
    bool get(const Json& obj, const std::string& prefix, const char* key, Json::Kind kind,
             const Json*& found) {
        found = obj.member(key);
        if (!found) return true;
        lines_[prefix + key] = found->line;
        if (found->kind == kind) return true;
        static constexpr std::array<const char*, 6> kNames = {
            "null",           "true or false",    "a number", "a text in double quotes",
            "a list [ ... ]", "an object { ... }"};
        return fail(*found, quoted_key(prefix + key) + " must be " +
                                kNames[static_cast<std::size_t>(kind)]);
    }

    bool text(const Json& obj, const std::string& prefix, const char* key, std::string& out) {
        const Json* v = nullptr;
        if (!get(obj, prefix, key, Json::Kind::text, v)) return false;
        if (v) out = v->text;
        return true;
    }

    bool flag(const Json& obj, const std::string& prefix, const char* key, bool& out) {
        const Json* v = nullptr;
        if (!get(obj, prefix, key, Json::Kind::boolean, v)) return false;
        if (v) out = v->flag;
        return true;
    }

    bool number(const Json& obj, const char* key, double& out) {
        const Json* v = nullptr;
        if (!get(obj, "planning.", key, Json::Kind::number, v)) return false;
        if (v) out = v->number;
        return true;
    }

    bool whole(const Json& v, const std::string& path, int& out) {
        if (v.number != std::floor(v.number) || std::fabs(v.number) > kLargestWhole)
            return fail(v, quoted_key(path) + " must be a whole number (found " +
                               number_text(v.number) + ")");
        out = static_cast<int>(v.number);
        return true;
    }

    bool whole_key(const Json& obj, const char* key, int& out, bool* given = nullptr) {
        const Json* v = nullptr;
        if (!get(obj, "", key, Json::Kind::number, v)) return false;
        if (given) *given = v != nullptr;
        return !v || whole(*v, key, out);
    }

    // A text that is one of two words; `second` tells which.
    bool choice(const Json& obj, const char* key, const char* first, const char* other,
                bool& second, const std::string& prefix = "") {
        const Json* v = nullptr;
        if (!get(obj, prefix, key, Json::Kind::text, v)) return false;
        if (!v) return true;
        if (v->text != first && v->text != other) {
            return fail(
                *v, quoted_key(prefix + key) + " must be \"" + first + "\" or \"" + other + "\"");
        }
        second = v->text == other;
        return true;
    }

    bool matrix(const Json& top, WindowSetup& s) {
        const Json* m = nullptr;
        if (!get(top, "", "matrix", Json::Kind::array, m)) return false;
        if (!m) return true;
        for (std::size_t i = 0; i < m->items.size(); ++i) {
            const Json& row = m->items[i];
            const bool pair = row.kind == Json::Kind::array && row.items.size() == 2 &&
                              row.items[0].kind == Json::Kind::text &&
                              row.items[1].kind == Json::Kind::text;
            if (!pair) {
                return fail(row, "matrix row " + std::to_string(i + 1) +
                                     " must be a list of two texts, [\"symbol\", \"content\"]");
            }
            s.matrix.emplace_back(row.items[0].text, row.items[1].text);
        }
        return true;
    }

    // The coarse gain and its index: either one given alone brings the other along.
    bool gains(const Json& top, WindowSetup& s) {
        bool index_given = false, gain_given = false;
        if (!whole_key(top, "coarse_gain_index", s.coarse_gain_index, &index_given) ||
            !whole_key(top, "coarse_gain", s.coarse_gain, &gain_given) ||
            !text(top, "", "fine_gain", s.fine_gain)) {
            return false;
        }
        const int index = s.coarse_gain_index;
        if (index_given && !gain_given && index >= 0 &&
            index < static_cast<int>(kCoarseSteps.size()))
            s.coarse_gain = kCoarseSteps[static_cast<std::size_t>(index)];
        const auto step = std::find(kCoarseSteps.begin(), kCoarseSteps.end(), s.coarse_gain);
        if (gain_given && !index_given && step != kCoarseSteps.end())
            s.coarse_gain_index = static_cast<int>(step - kCoarseSteps.begin());
        return true;
    }

    // The planning settings; a detector named without its thickness or resolution
    // takes that crystal's.
    bool planning(const Json& top, const Json& none, Planning& p) {
        const Json* obj = nullptr;
        if (!get(top, "", "planning", Json::Kind::object, obj)) return false;
        const Json& o = obj ? *obj : none;
        bool ge = false;
        if (!choice(o, "detector", "si", "ge", ge, "planning.")) return false;
        const physics::Detector fresh =
            physics::default_detector(ge ? physics::Crystal::ge : physics::Crystal::si);
        physics::Detector& d = p.detector;
        d.crystal = fresh.crystal;
        d.crystal_mm = fresh.crystal_mm;
        d.resolution_eV = fresh.resolution_eV;
        return number(o, "flux", p.flux) && number(o, "polarisation", p.polarisation) &&
               number(o, "area_mm2", d.area_mm2) && number(o, "window_um", d.window_um) &&
               number(o, "crystal_mm", d.crystal_mm) &&
               number(o, "resolution_eV", d.resolution_eV) &&
               number(o, "dead_time_us", d.dead_time_us) &&
               number(o, "pulse_pair_us", d.pulse_pair_us) &&
               number(o, "peak_to_background", d.peak_to_background) &&
               text(o, "planning.", "filter", p.filter) &&
               number(o, "filter_thickness_um", p.filter_thickness_um);
    }

    std::map<std::string, int> lines_;
    std::string error_;
};

// ---- writing ----

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        const std::size_t k = kEscaped.find(c);
        if (k != std::string_view::npos && c != '/') {
            out += '\\';
            out += kEscapeLetters[k];
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string boolean(bool b) {
    return b ? "true" : "false";
}

using Entries = std::vector<std::pair<std::string, std::string>>;  // key, JSON text

// An object with one key per line, nested values indented by two more blanks.
std::string object_text(const Entries& entries, const std::string& indent) {
    std::string out = "{\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out += indent + "  " + quoted(entries[i].first) + ": " + entries[i].second;
        out += i + 1 < entries.size() ? ",\n" : "\n";
    }
    return out + indent + "}";
}

}  // namespace

bool operator==(const WindowSetup& a, const WindowSetup& b) {
    const auto fields = [](const WindowSetup& s) {
        const Planning& p = s.planning;
        const physics::Detector& d = p.detector;
        return std::tie(s.target_symbol, s.target_content, s.matrix, s.element_count, s.l3_edge,
                        s.line, s.energy, s.step, s.coarse_gain_index, s.coarse_gain, s.fine_gain,
                        s.fix, s.width, s.incidence, s.takeoff, s.film, s.film_density,
                        s.film_thickness, s.distance, s.al_filter, s.marked_row, s.log_scale,
                        s.argon, s.elastic, s.escape, s.pileup, p.model, p.flux, p.polarisation,
                        d.crystal, d.area_mm2, d.window_um, d.crystal_mm, d.resolution_eV,
                        d.dead_time_us, d.pulse_pair_us, d.peak_to_background, p.filter,
                        p.filter_thickness_um);
    };
    return fields(a) == fields(b);
}

const std::vector<std::string>& edge_lines(bool l3_edge) {
    static const std::vector<std::string> k = {"K-alpha 1&2", "(K-alpha 1)", "(K-alpha 2)",
                                               "K -beta 1&3", "(K -beta 1)", "(K -beta 3)"};
    static const std::vector<std::string> l3 = {"L-alpha 1&2", "(L-alpha 1)", "(L-alpha 2)",
                                                "L- beta 2"};
    return l3_edge ? l3 : k;
}

std::string check_setup(const WindowSetup& s) {
    const std::optional<Problem> p = check(s);
    return p ? p->text : std::string();
}

std::string format_setup(const WindowSetup& s) {
    const Planning& p = s.planning;
    const physics::Detector& d = p.detector;
    std::string matrix = "[]";
    if (!s.matrix.empty()) {
        matrix = "[\n";
        for (std::size_t i = 0; i < s.matrix.size(); ++i) {
            matrix += "    [" + quoted(s.matrix[i].first) + ", " + quoted(s.matrix[i].second) + "]";
            matrix += i + 1 < s.matrix.size() ? ",\n" : "\n";
        }
        matrix += "  ]";
    }
    const Entries target = {{"symbol", quoted(s.target_symbol)},
                            {"content", quoted(s.target_content)}};
    const Entries layers = {{"argon", boolean(s.argon)},
                            {"elastic", boolean(s.elastic)},
                            {"escape", boolean(s.escape)},
                            {"pileup", boolean(s.pileup)}};
    const Entries planning = {{"flux", number_text(p.flux)},
                              {"polarisation", number_text(p.polarisation)},
                              {"detector", quoted(d.crystal == physics::Crystal::ge ? "ge" : "si")},
                              {"area_mm2", number_text(d.area_mm2)},
                              {"window_um", number_text(d.window_um)},
                              {"crystal_mm", number_text(d.crystal_mm)},
                              {"resolution_eV", number_text(d.resolution_eV)},
                              {"dead_time_us", number_text(d.dead_time_us)},
                              {"pulse_pair_us", number_text(d.pulse_pair_us)},
                              {"peak_to_background", number_text(d.peak_to_background)},
                              {"filter", quoted(p.filter)},
                              {"filter_thickness_um", number_text(p.filter_thickness_um)}};

    Entries top = {{"format", quoted(kFormatName)},
                   {"version", std::to_string(kSetupFormatVersion)},
                   {"target", object_text(target, "  ")},
                   {"matrix", matrix}};
    if (s.element_count) top.emplace_back("element_count", std::to_string(*s.element_count));
    const Entries rest = {{"edge", quoted(s.l3_edge ? "L3" : "K")},
                          {"line", quoted(s.line)},
                          {"energy", quoted(s.energy)},
                          {"step", quoted(s.step)},
                          {"coarse_gain_index", std::to_string(s.coarse_gain_index)},
                          {"coarse_gain", std::to_string(s.coarse_gain)},
                          {"fine_gain", quoted(s.fine_gain)},
                          {"fix", boolean(s.fix)},
                          {"width", quoted(s.width)},
                          {"incidence", quoted(s.incidence)},
                          {"takeoff", quoted(s.takeoff)},
                          {"sample", quoted(s.film ? "film" : "bulk")},
                          {"film_density", quoted(s.film_density)},
                          {"film_thickness", quoted(s.film_thickness)},
                          {"distance", quoted(s.distance)},
                          {"al_filter", quoted(s.al_filter)},
                          {"marked_row", std::to_string(s.marked_row)},
                          {"scale", quoted(s.log_scale ? "log" : "linear")},
                          {"layers", object_text(layers, "  ")},
                          {"model", quoted(p.model == Model::fp ? "fp" : "classic")},
                          {"planning", object_text(planning, "  ")}};
    top.insert(top.end(), rest.begin(), rest.end());
    return object_text(top, "") + "\n";
}

SetupParse parse_setup(std::string_view bytes) {
    SetupParse r;
    if (bytes.size() > kMaxSetupFileSize) {
        r.error = "This file is larger than 256 KiB, too large for a setup file.";
        return r;
    }
    JsonReader reader(bytes);
    Json top;
    if (!reader.read(top)) {
        r.error = reader.error();
        return r;
    }
    Decoder decoder;
    WindowSetup s;
    if (!decoder.decode(top, s)) {
        r.error = decoder.error();
        return r;
    }
    if (const std::optional<Problem> p = check(s)) {
        r.error = "Setup file line " + std::to_string(decoder.line_of(p->path)) + ": " + p->text;
        return r;
    }
    r.setup = std::move(s);
    return r;
}

}  // namespace lumetra::io
