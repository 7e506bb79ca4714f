#include "io/parameter_format.h"

#include <algorithm>

namespace lumetra::io {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// Splits a file into its items, one at a time, and knows the line each is on.
class ItemReader {
  public:
    enum class Status { kItem, kEnd, kMalformed };

    explicit ItemReader(std::string_view bytes) : rest_(bytes) {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (rest_.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            rest_.remove_prefix(kByteOrderMark.size());
        }
    }

    // The next item into item, or why there is none (the reason goes to problem).
    Status next(std::string& item) {
        skip_blanks_and_line_ends();
        item.clear();
        if (rest_.empty()) return Status::kEnd;
        item_line_ = line_;
        if (rest_.front() == ',') {  // an empty item, and its separator
            rest_.remove_prefix(1);
            return Status::kItem;
        }
        if (rest_.front() == '"') return quoted(item);
        const std::size_t end = std::min(rest_.find_first_of(",\r\n"), rest_.size());
        const std::string_view text = trim_blanks(rest_.substr(0, end));
        if (text.find('"') != std::string_view::npos) {
            return malformed("has a double quote inside an unquoted item");
        }
        item.assign(text);
        rest_.remove_prefix(end);
        if (!rest_.empty() && rest_.front() == ',') rest_.remove_prefix(1);
        return Status::kItem;
    }

    int item_line() const { return item_line_; }
    const std::string& problem() const { return problem_; }

  private:
    Status quoted(std::string& item) {
        rest_.remove_prefix(1);
        const std::size_t end = rest_.find_first_of("\"\r\n");
        if (end == std::string_view::npos || rest_[end] != '"') {
            return malformed("has a quote that is not closed on its line");
        }
        item.assign(rest_.substr(0, end));
        rest_.remove_prefix(end + 1);
        while (!rest_.empty() && is_blank(rest_.front())) rest_.remove_prefix(1);
        if (rest_.empty() || is_line_end(rest_.front())) return Status::kItem;
        if (rest_.front() == ',') {
            rest_.remove_prefix(1);
            return Status::kItem;
        }
        return malformed("has text after a closing quote");
    }

    Status malformed(const char* why) {
        problem_ = why;
        return Status::kMalformed;
    }

    // Blanks before an item, the line end that separates it from the one before,
    // and any blank lines.
    void skip_blanks_and_line_ends() {
        while (!rest_.empty()) {
            const char c = rest_.front();
            if (is_blank(c)) {
                rest_.remove_prefix(1);
            } else if (c == '\n') {
                rest_.remove_prefix(1);
                ++line_;
            } else if (c == '\r') {  // CR LF or CR alone
                rest_.remove_prefix(rest_.size() > 1 && rest_[1] == '\n' ? 2 : 1);
                ++line_;
            } else {
                break;
            }
        }
    }

    std::string_view rest_;
    int line_ = 1;
    int item_line_ = 1;
    std::string problem_;
};

// The count item as a whole number from -32768 to 11. A plain decimal number is
// read exactly, without floating point: optional sign, digits with an optional
// point, optional exponent ("E" and digits). Texts such as "inf" or "0x2" are not
// numbers.
std::optional<int> parse_count(std::string_view text) {
    text = trim_blanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string digits;   // those of the mantissa, without its point
    long long scale = 0;  // the value is digits * 10^scale
    bool seen_point = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (!(digits.empty() && c == '0')) digits += c;  // leading zeros say nothing
            if (seen_point) --scale;
        } else if (c == '.' && !seen_point) {
            seen_point = true;
        } else {
            break;
        }
    }
    const std::size_t mantissa_length = i - (seen_point ? 1 : 0);
    if (mantissa_length == 0) return std::nullopt;  // no digit at all
    if (i < text.size()) {
        if (text[i] != 'e' && text[i] != 'E') return std::nullopt;
        ++i;
        bool negative_exponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negative_exponent = text[i] == '-';
            ++i;
        }
        if (i == text.size()) return std::nullopt;
        long long exponent = 0;
        for (; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            // Beyond a million the exponent's size no longer changes the outcome.
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000LL);
        }
        scale += negative_exponent ? -exponent : exponent;
    }
    if (digits.empty()) return 0;  // zero, with any sign or exponent
    while (digits.back() == '0') {
        digits.pop_back();
        ++scale;
    }
    // The last digit is not zero: a negative scale leaves a fraction, and more than
    // five digits before the point are far outside the range.
    if (scale < 0 || static_cast<long long>(digits.size()) + scale > 5) return std::nullopt;
    long value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    for (long long k = 0; k < scale; ++k) value *= 10;
    if (negative) value = -value;
    if (value < -32768 || value > kMaxParameterRows) return std::nullopt;
    return static_cast<int>(value);
}

std::string quoted_pair(const std::string& a, const std::string& b) {
    return '"' + a + "\",\"" + b + '"';
}

}  // namespace

bool storable(std::string_view text) {
    return text.find_first_of("\"\r\n") == std::string_view::npos;
}

std::string format_parameters(const Composition& c) {
    std::string out = std::to_string(c.count) + "\r\n";
    out += quoted_pair(c.target_symbol, c.target_content) + "\r\n";
    for (int i = 0; i < c.count && i < static_cast<int>(c.rows.size()); ++i) {
        out += quoted_pair(c.rows[i].first, c.rows[i].second) + "\r\n";
    }
    return out;
}

ParseResult parse_parameters(std::string_view bytes) {
    ParseResult result;
    if (bytes.size() > kMaxParameterFileSize) {
        result.error = "This is not a parameter file: it is too large.";
        return result;
    }
    ItemReader reader(bytes);
    // Reads the next item; false with the reason set when there is none.
    auto read = [&](std::string& item, const std::string& when_missing) {
        switch (reader.next(item)) {
            case ItemReader::Status::kItem:
                return true;
            case ItemReader::Status::kEnd:
                result.error = when_missing;
                return false;
            case ItemReader::Status::kMalformed:
                break;
        }
        result.error = "This is not a parameter file: line " + std::to_string(reader.item_line()) +
                       " " + reader.problem() + ".";
        return false;
    };

    std::string item;
    if (!read(item, "This is not a parameter file: it is empty.")) return result;
    const std::optional<int> count = parse_count(item);
    if (!count) {
        result.error =
            "This is not a parameter file: the first item must be a whole row "
            "count of at most 11.";
        return result;
    }
    Composition c;
    c.count = *count;
    const std::string no_target = "The parameter file is incomplete: the target is missing.";
    if (!read(c.target_symbol, no_target) || !read(c.target_content, no_target)) return result;

    const int rows = c.count > 0 ? c.count : 0;
    const std::string too_few = "The parameter file is incomplete: it names " +
                                std::to_string(rows) + " matrix rows but holds fewer.";
    for (int i = 0; i < rows; ++i) {
        std::string symbol;
        std::string content;
        if (!read(symbol, too_few) || !read(content, too_few)) return result;
        c.rows.emplace_back(std::move(symbol), std::move(content));
    }
    result.composition = std::move(c);
    return result;
}

}  // namespace lumetra::io
