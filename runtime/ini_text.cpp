#include "runtime/ini_text.h"

#include <vector>

#include "runtime/text.h"

namespace runtime {

std::string_view TrimProfileBlanks(std::string_view s) {
    while (!s.empty() && IsProfileBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsProfileBlank(s.back())) s.remove_suffix(1);
    return s;
}

namespace {

bool NamesEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a.empty() || Find(a, b, 1, false) == 1);
}

// One line of the file. Offsets are bytes into the whole text; `content` is the line without its
// leading and trailing blanks, `lineBreak` where the CR LF or LF that ends it begins.
struct Line {
    std::size_t begin;
    std::size_t lineBreak;
    std::size_t end;
    std::string_view content;
    bool header;
    std::string_view name;                  // section name for a header, key name otherwise
    std::optional<std::size_t> valueBegin;  // after "=" and the blanks that follow it
};

Line ParseLine(std::string_view text, std::size_t begin) {
    Line line{};
    line.begin = begin;
    const std::size_t newline = text.find('\n', begin);
    line.end = newline == std::string_view::npos ? text.size() : newline + 1;
    line.lineBreak = newline == std::string_view::npos ? text.size() : newline;
    if (newline != std::string_view::npos && newline > begin && text[newline - 1] == '\r') --line.lineBreak;
    line.content = TrimProfileBlanks(text.substr(begin, line.end - begin));
    const std::size_t contentAt = static_cast<std::size_t>(line.content.data() - text.data());
    if (!line.content.empty() && line.content.front() == '[') {
        // The name runs to the last "]" of the line, found character by character: a "]" can be the
        // second byte of a double-byte character.
        const int close = FindLast(line.content, "]");
        if (close > 1) {
            line.header = true;
            line.name = line.content.substr(1, static_cast<std::size_t>(close) - 2);
            return line;
        }
    }
    const int equals = Find(line.content, "=");
    if (equals < 1) {
        line.name = line.content;
        return line;
    }
    line.name = TrimProfileBlanks(line.content.substr(0, static_cast<std::size_t>(equals) - 1));
    std::size_t value = contentAt + static_cast<std::size_t>(equals);
    while (value < contentAt + line.content.size() && IsProfileBlank(text[value])) ++value;
    line.valueBegin = value;
    return line;
}

std::vector<Line> ParseLines(std::string_view text) {
    std::vector<Line> lines;
    for (std::size_t at = 0; at < text.size(); at = lines.back().end) lines.push_back(ParseLine(text, at));
    return lines;
}

// Lines [first, last) of the first section called `name`: first is its header.
struct SectionRange {
    std::size_t first;
    std::size_t last;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].header || !NamesEqual(TrimProfileBlanks(lines[i].name), name)) continue;
        std::size_t last = i + 1;
        while (last < lines.size() && !lines[last].header) ++last;
        return SectionRange{i, last};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionRange section,
                                   std::string_view key) {
    for (std::size_t i = section.first + 1; i < section.last; ++i) {
        if (!lines[i].content.empty() && NamesEqual(lines[i].name, key)) return i;
    }
    return std::nullopt;
}

std::string LineEnding(std::string_view text) {
    const std::size_t newline = text.find('\n');
    return newline != std::string_view::npos && (newline == 0 || text[newline - 1] != '\r') ? "\n" : "\r\n";
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::string Spliced(std::string_view text, std::size_t from, std::size_t to, std::string_view with) {
    std::string out(text.substr(0, from));
    out.append(with);
    out.append(text.substr(to));
    return out;
}

std::size_t ContentEnd(std::string_view text, const Line& line) {
    return static_cast<std::size_t>(line.content.data() - text.data()) + line.content.size();
}

// Sets the key inside an existing section: its own line is rewritten, or a new line follows the
// section's last non-blank line, so that a blank line before the next header stays where it is.
std::string WithKeySet(std::string_view text, const std::vector<Line>& lines, SectionRange section,
                       std::string_view key, std::string_view value) {
    if (const auto k = FindKey(lines, section, key)) {
        const Line& line = lines[*k];
        if (line.valueBegin &&
            text.substr(*line.valueBegin, ContentEnd(text, line) - *line.valueBegin) == value) {
            return std::string(text);  // the same value: nothing to change
        }
        return Spliced(text, line.begin, line.lineBreak, std::string(line.name) + "=" + std::string(value));
    }
    std::size_t after = section.first;
    for (std::size_t i = section.first + 1; i < section.last; ++i) {
        if (!lines[i].content.empty()) after = i;
    }
    const Line& line = lines[after];
    const std::string eol = LineEnding(text);
    const std::string newLine = std::string(key) + "=" + std::string(value) + eol;
    return Spliced(text, line.end, line.end, line.lineBreak == line.end ? eol + newLine : newLine);
}

}  // namespace

std::optional<std::string> EditIniText(std::string_view text, std::string_view section,
                                       const std::optional<std::string>& key,
                                       const std::optional<std::string>& value) {
    section = TrimProfileBlanks(section);
    const std::string_view keyName = key ? TrimProfileBlanks(*key) : std::string_view();
    if (section.empty() || (key && keyName.empty())) return std::nullopt;
    if (HasLineBreak(section) || HasLineBreak(keyName) || (value && HasLineBreak(*value)))
        return std::nullopt;

    const std::vector<Line> lines = ParseLines(text);
    const std::optional<SectionRange> range = FindSection(lines, section);
    if (!key) {  // delete the section: its header and every line up to the next header
        if (!range) return std::string(text);
        return Spliced(text, lines[range->first].begin, lines[range->last - 1].end, "");
    }
    if (!value) {  // delete the key's line
        const auto k = range ? FindKey(lines, *range, keyName) : std::nullopt;
        if (!k) return std::string(text);
        return Spliced(text, lines[*k].begin, lines[*k].end, "");
    }
    std::string_view newValue = *value;
    while (!newValue.empty() && IsProfileBlank(newValue.front())) newValue.remove_prefix(1);
    if (!range) {
        const std::string eol = LineEnding(text);
        std::string out(text);
        if (!out.empty() && out.back() != '\n') out += eol;
        return out + "[" + std::string(section) + "]" + eol + std::string(keyName) + "=" +
               std::string(newValue) + eol;
    }
    return WithKeySet(text, lines, *range, keyName, newValue);
}

std::optional<IniValueSpan> FindIniValue(std::string_view text, std::string_view section,
                                         std::string_view key) {
    const std::vector<Line> lines = ParseLines(text);
    const std::optional<SectionRange> range = FindSection(lines, TrimProfileBlanks(section));
    const auto k = range ? FindKey(lines, *range, TrimProfileBlanks(key)) : std::nullopt;
    if (!k || !lines[*k].valueBegin) return std::nullopt;
    return IniValueSpan{*lines[*k].valueBegin, ContentEnd(text, lines[*k])};
}

}  // namespace runtime
