#include "runtime/text.h"

#include <climits>

namespace runtime {

namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `what` stands at byte `at` of `text` character by character: a double-byte character
// matches only the same two bytes, so the match also ends on a character boundary.
bool MatchesAt(std::string_view text, std::size_t at, std::string_view what, bool caseSensitive) {
    if (text.size() - at < what.size()) return false;
    std::size_t i = 0;
    while (i < what.size()) {
        const std::size_t textLen = CharLength(text, at + i);
        if (textLen != CharLength(what, i)) return false;
        if (textLen == 2) {
            if (text[at + i] != what[i] || text[at + i + 1] != what[i + 1]) return false;
        } else if (caseSensitive ? text[at + i] != what[i] : FoldAscii(text[at + i]) != FoldAscii(what[i])) {
            return false;
        }
        i += textLen;
    }
    return true;
}

// Byte offset of the first match at a character boundary at or after `from`, or npos. The walk
// over the characters starts at `boundary`, a character boundary at or before `from` that the caller
// knows (0 when it knows none), so that repeated searches along a text stay linear.
std::size_t FindFrom(std::string_view text, std::string_view what, std::size_t from, bool caseSensitive,
                     std::size_t boundary = 0) {
    if (what.empty()) return std::string_view::npos;
    for (std::size_t i = boundary; i < text.size(); i += CharLength(text, i)) {
        if (i >= from && MatchesAt(text, i, what, caseSensitive)) return i;
    }
    return std::string_view::npos;
}

int ToPosition(std::size_t offset) {
    return offset == std::string_view::npos || offset >= INT_MAX ? -1 : static_cast<int>(offset) + 1;
}

}  // namespace

std::vector<TextSpan> SplitSpans(std::string_view text, std::string_view separator) {
    std::vector<TextSpan> spans;
    if (text.empty()) return spans;
    if (separator.empty()) return {{0, text.size()}};
    std::size_t begin = 0;
    for (;;) {
        const std::size_t at = FindFrom(text, separator, begin, true, begin);
        if (at == std::string_view::npos) break;
        spans.push_back({begin, at});
        begin = at + separator.size();
    }
    if (begin < text.size()) spans.push_back({begin, text.size()});
    return spans;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    for (const TextSpan& s : SplitSpans(text, separator))
        pieces.emplace_back(text.substr(s.begin, s.end - s.begin));
    return pieces;
}

std::string Join(const std::vector<std::string>& pieces, std::string_view separator) {
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i) joined += separator;
        joined += pieces[i];
    }
    return joined;
}

int Find(std::string_view text, std::string_view what, int start, bool caseSensitive) {
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    return ToPosition(FindFrom(text, what, from, caseSensitive));
}

int FindLast(std::string_view text, std::string_view what) {
    std::size_t last = std::string_view::npos;
    for (std::size_t at = FindFrom(text, what, 0, true); at != std::string_view::npos;
         at = FindFrom(text, what, at + 1, true, at)) {
        last = at;
    }
    return ToPosition(last);
}

std::string Replace(std::string_view text, std::string_view what, std::string_view with, int start, int count,
                    bool caseSensitive) {
    std::string result;
    std::size_t copied = 0;
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    for (int done = 0; count < 0 || done < count; ++done) {
        const std::size_t at = FindFrom(text, what, from, caseSensitive, copied);
        if (at == std::string_view::npos) break;
        result.append(text.substr(copied, at - copied));
        result.append(with);
        copied = from = at + what.size();
    }
    result.append(text.substr(copied));
    return result;
}

std::string Left(std::string_view text, int count) {
    std::size_t end = 0;
    while (end < text.size() &&
           end + CharLength(text, end) <= static_cast<std::size_t>(count < 0 ? 0 : count)) {
        end += CharLength(text, end);
    }
    return std::string(text.substr(0, end));
}

std::string Right(std::string_view text, int count) {
    const std::size_t want = count < 0 ? 0 : static_cast<std::size_t>(count);
    const std::size_t from = want >= text.size() ? 0 : text.size() - want;
    std::size_t begin = 0;
    while (begin < from) begin += CharLength(text, begin);
    return std::string(text.substr(begin));
}

int Length(std::string_view text) { return static_cast<int>(text.size()); }

std::string ToLower(std::string_view text) {
    std::string lower(text);
    for (std::size_t i = 0; i < lower.size(); i += CharLength(lower, i)) {
        if (CharLength(lower, i) == 1) lower[i] = FoldAscii(lower[i]);
    }
    return lower;
}

}  // namespace runtime
