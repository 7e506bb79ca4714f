// The JSON reader: the library's SAX parser feeds a handler that builds the tree,
// refuses what the library accepts but the files must not hold, and turns the
// library's parse errors into reasons for the user.

#include "io/json_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <system_error>

namespace lumetra::io {

namespace {

using nlohmann::json;

// An iterator over the bytes that counts how many the parser has taken, so that the
// handler knows where in the file each of its events happens.
class CountingIterator {
  public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator(const char* at, std::size_t* taken) : at_(at), taken_(taken) {}
    reference operator*() const { return *at_; }
    CountingIterator& operator++() {
        ++at_;
        ++*taken_;
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& o) const { return at_ == o.at_; }
    bool operator!=(const CountingIterator& o) const { return at_ != o.at_; }

  private:
    const char* at_;
    std::size_t* taken_;
};

// The line of a byte position, counting LF, CR LF and a lone CR as one line end.
// Positions asked for mostly grow, so the count goes on from the last one.
class LineCounter {
  public:
    explicit LineCounter(std::string_view bytes) : s_(bytes) {}
    int line_at(std::size_t pos) {
        pos = std::min(pos, s_.size());
        if (pos < at_) {
            at_ = 0;
            line_ = 1;
        }
        for (; at_ < pos; ++at_) {
            const char c = s_[at_];
            if (c == '\n' || (c == '\r' && (at_ + 1 >= s_.size() || s_[at_ + 1] != '\n'))) ++line_;
        }
        return line_;
    }

  private:
    std::string_view s_;
    std::size_t at_ = 0;
    int line_ = 1;
};

bool has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// What the library's lexer found wrong inside a text.
std::string text_problem(const std::string& what) {
    if (has(what, "control character"))
        return "a text holds a control character (write it as an escape such as \\n)";
    if (has(what, "must follow U+D800")) return "a text holds a lone low surrogate \\u escape";
    if (has(what, "must be followed by U+DC00"))
        return "a high surrogate \\u escape is not followed by a low one";
    if (has(what, "4 hex digits")) return "\\u must be followed by four hexadecimal digits";
    if (has(what, "after backslash")) return "a text holds an unknown escape";
    if (has(what, "missing closing quote")) return "the file ends inside a text";
    return "a text holds bytes that are not UTF-8";
}

std::string number_problem(const std::string& what) {
    if (has(what, "after '-'")) return "a minus sign without digits";
    if (has(what, "after '.'")) return "a number has no digits after its decimal point";
    return "a number has no digits in its exponent";
}

// What stands where a value should be: the library stops at the first byte that
// cannot go on a value, and a word begun as true, false or null is named by its
// first letter.
std::string no_value(std::string_view bytes, std::size_t bad) {
    bad = std::min(bad, bytes.size() - 1);
    std::size_t start = bad;
    while (start > 0 && bytes[start - 1] >= 'a' && bytes[start - 1] <= 'z') --start;
    const std::string_view begun = bytes.substr(start, bad - start);
    bool word = false;
    for (const std::string_view w : {"true", "false", "null"})
        word = word ||
               (!begun.empty() && begun.size() < w.size() && w.substr(0, begun.size()) == begun);
    const char c = bytes[word ? start : bad];
    const bool printable = c > ' ' && c < 127;
    return printable ? std::string("'") + c + "' where a value should be"
                     : "a character that starts no value";
}

std::string out_of_range(std::string_view number) {
    return "the number " + std::string(number.substr(0, 40)) +
           " is outside the range of numbers this program reads";
}

class TreeBuilder : public nlohmann::json_sax<json> {
  public:
    TreeBuilder(std::string_view bytes, int max_depth, const std::size_t& taken)
        : bytes_(bytes), lines_(bytes), max_depth_(max_depth), taken_(taken) {}

    bool null() override { return scalar(Json{}); }
    bool boolean(bool v) override {
        Json j;
        j.kind = Json::Kind::boolean;
        j.flag = v;
        return scalar(std::move(j));
    }
    bool number_integer(number_integer_t v) override { return number(static_cast<double>(v)); }
    bool number_unsigned(number_unsigned_t v) override { return number(static_cast<double>(v)); }
    // Read again from its text: a number too small for a double is refused as one
    // too large is, rather than read as 0.
    bool number_float(number_float_t, const string_t& s) override {
        double v = 0.0;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
            return fail(line_here(), out_of_range(s));
        return number(v);
    }
    bool string(string_t& s) override {
        Json j;
        j.kind = Json::Kind::text;
        j.text = std::move(s);
        return scalar(std::move(j));
    }
    bool binary(binary_t&) override { return fail(line_here(), "binary data is not JSON text"); }

    bool start_object(std::size_t) override { return open(Json::Kind::object); }
    bool start_array(std::size_t) override { return open(Json::Kind::array); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& k) override {
        last_event_number_ = false;
        Frame& f = stack_.back();
        if (!f.keys.insert(k).second)
            return fail(line_here(), "the key \"" + k + "\" appears twice");
        f.key = std::move(k);
        return true;
    }

    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& ex) override {
        const bool at_end = position > bytes_.size();
        const std::string what = ex.what();
        // The byte the library stopped at (past the end when the file ended).
        const std::size_t bad = position == 0 ? 0 : position - 1;
        const int line = lines_.line_at(bad);
        if (ex.id == 406) return fail(line, out_of_range(token));
        // A digit right after a whole number token: the number began with 0.
        if (!at_end && last_event_number_ && number_end_ < bytes_.size() &&
            bytes_[number_end_] >= '0' && bytes_[number_end_] <= '9')
            return fail(line, "a number starts with 0 and more digits");
        if (done_) return fail(line, "there is more text after the end of the setup");
        if (has(what, "invalid string"))
            return fail(line, text_problem(at_end ? "missing closing quote" : what));
        if (has(what, "invalid number")) return fail(line, number_problem(what));
        if (has(what, "invalid BOM")) return fail(line, "a character that starts no value");
        if (has(what, "invalid literal")) return fail(line, no_value(bytes_, bad));
        if (has(what, "while parsing object key"))
            return fail(line, at_end ? "the file ends inside an object"
                                     : "a key in double quotes was expected");
        if (has(what, "while parsing object separator"))
            return fail(line, "a colon was expected after the key \"" + stack_.back().key + "\"");
        if (has(what, "while parsing object"))
            return fail(line, at_end ? "the file ends inside an object"
                                     : "a comma or } was expected after a value");
        if (has(what, "while parsing array"))
            return fail(line, at_end ? "the file ends inside a list"
                                     : "a comma or ] was expected after a value");
        return fail(line, at_end ? "the file ends where a value should be" : no_value(bytes_, bad));
    }

    JsonRead take() { return std::move(result_); }

  private:
    struct Frame {
        Json value;
        std::set<std::string> keys;
        std::string key;  // the member's being read
    };

    // The line of the token the parser has just read: every token but a number ends
    // on the last byte taken, and a number on the byte before (the one after it is
    // taken to see where it ends); no token holds a line end.
    int line_here() { return lines_.line_at(taken_ == 0 ? 0 : taken_ - 1); }

    bool fail(int line, std::string reason) {
        if (result_.reason.empty()) {
            result_.line = line;
            result_.reason = std::move(reason);
        }
        return false;
    }

    bool deeper_than_allowed() const { return static_cast<int>(stack_.size()) > max_depth_; }

    bool number(double v) {
        Json j;
        j.kind = Json::Kind::number;
        j.number = v;
        if (!scalar(std::move(j))) return false;
        last_event_number_ = true;
        number_end_ = taken_ == 0 ? 0 : taken_ - 1;
        return true;
    }

    bool scalar(Json j) {
        last_event_number_ = false;
        j.line = line_here();
        if (deeper_than_allowed()) return fail(j.line, "more than 32 levels of nesting");
        add(std::move(j));
        return true;
    }

    bool open(Json::Kind kind) {
        last_event_number_ = false;
        Frame f;
        f.value.kind = kind;
        f.value.line = line_here();
        if (deeper_than_allowed()) return fail(f.value.line, "more than 32 levels of nesting");
        stack_.push_back(std::move(f));
        return true;
    }

    bool close() {
        last_event_number_ = false;
        Json j = std::move(stack_.back().value);
        stack_.pop_back();
        add(std::move(j));
        return true;
    }

    void add(Json j) {
        if (stack_.empty()) {
            result_.value = std::move(j);
            done_ = true;
            return;
        }
        Frame& f = stack_.back();
        if (f.value.kind == Json::Kind::array)
            f.value.items.push_back(std::move(j));
        else
            f.value.members.emplace_back(std::move(f.key), std::move(j));
    }

    std::string_view bytes_;
    LineCounter lines_;
    int max_depth_;
    const std::size_t& taken_;
    std::vector<Frame> stack_;
    JsonRead result_;
    bool done_ = false;
    bool last_event_number_ = false;
    std::size_t number_end_ = 0;
};

}  // namespace

JsonRead read_json(std::string_view bytes, int max_depth) {
    // The library skips a byte-order mark itself; a file of nothing else but blanks
    // is empty.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const std::size_t start = bytes.substr(0, 3) == kByteOrderMark ? 3 : 0;
    if (bytes.find_first_not_of(" \t\r\n", start) == std::string_view::npos) {
        JsonRead r;
        r.line = LineCounter(bytes).line_at(bytes.size());
        r.reason = "the file is empty";
        return r;
    }
    std::size_t taken = 0;
    TreeBuilder builder(bytes, max_depth, taken);
    const CountingIterator first(bytes.data(), &taken);
    const CountingIterator last(bytes.data() + bytes.size(), &taken);
    JsonRead r;
    const bool ok = json::sax_parse(first, last, &builder);
    r = builder.take();
    if (!ok) r.value.reset();
    return r;
}

}  // namespace lumetra::io
