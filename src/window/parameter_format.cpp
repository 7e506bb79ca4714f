#include "window/parameter_format.h"

#include <cctype>
#include <charconv>

namespace lumetra::window {

namespace {

void skip_blanks(std::string_view& s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
}

// One quoted item at the start of s; s moves past it.
std::optional<std::string> take_quoted(std::string_view& s) {
    skip_blanks(s);
    if (s.empty() || s.front() != '"') return std::nullopt;
    s.remove_prefix(1);
    const std::size_t end = s.find('"');
    if (end == std::string_view::npos) return std::nullopt;
    std::string item(s.substr(0, end));
    s.remove_prefix(end + 1);
    return item;
}

std::optional<std::pair<std::string, std::string>> parse_pair(std::string_view line) {
    auto first = take_quoted(line);
    if (!first) return std::nullopt;
    skip_blanks(line);
    if (line.empty() || line.front() != ',') return std::nullopt;
    line.remove_prefix(1);
    auto second = take_quoted(line);
    if (!second) return std::nullopt;
    skip_blanks(line);
    if (!line.empty()) return std::nullopt;
    return std::make_pair(std::move(*first), std::move(*second));
}

std::optional<int> parse_count(std::string_view line) {
    skip_blanks(line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (!line.empty() && line.front() == '+') line.remove_prefix(1);
    if (line.empty() || line.size() > 12) return std::nullopt;
    long value = 0;
    auto [ptr, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (ec != std::errc() || ptr != line.data() + line.size()) return std::nullopt;
    if (value < -32768 || value > kMaxParameterRows) return std::nullopt;
    return static_cast<int>(value);
}

std::vector<std::string_view> split_lines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
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
    const std::vector<std::string_view> lines = split_lines(bytes);
    if (lines.size() < 2) {
        result.error = "This is not a parameter file: it has fewer than two lines.";
        return result;
    }
    const std::optional<int> count = parse_count(lines[0]);
    if (!count) {
        result.error = "This is not a parameter file: the first line must be a row count "
                       "of at most 11.";
        return result;
    }
    Composition c;
    c.count = *count;
    const int rows = c.count > 0 ? c.count : 0;
    if (lines.size() < static_cast<std::size_t>(2 + rows)) {
        result.error = "The parameter file is incomplete: it names " + std::to_string(rows) +
                       " matrix rows but holds fewer.";
        return result;
    }
    for (int i = 0; i <= rows; ++i) {
        auto pair = parse_pair(lines[1 + i]);
        if (!pair) {
            result.error = "This is not a parameter file: line " + std::to_string(2 + i) +
                           " is not two quoted items.";
            return result;
        }
        if (i == 0) {
            c.target_symbol = std::move(pair->first);
            c.target_content = std::move(pair->second);
        } else {
            c.rows.push_back(std::move(*pair));
        }
    }
    result.composition = std::move(c);
    return result;
}

}  // namespace lumetra::window
