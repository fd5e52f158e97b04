#include "app/item_list.h"

#include "runtime/ini_text.h"
#include "runtime/text.h"

namespace app {

namespace {

std::string LastPathPiece(std::string_view path) {
    const std::vector<std::string> pieces = runtime::Split(path, "\\");
    return pieces.empty() ? std::string() : pieces.back();
}

// The profile reader strips a pair of quotes that encloses a value.
bool EnclosedInQuotes(std::string_view value) {
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

}  // namespace

std::vector<std::string> SplitItems(std::string_view value) { return runtime::Split(value, kItemSeparator); }

std::vector<std::string> SplitEntry(std::string_view entry) {
    if (runtime::Find(entry, kNameSeparator) < 1)
        return {std::string(entry), "[" + LastPathPiece(entry) + "]"};
    std::vector<std::string> pieces = runtime::Split(entry, kNameSeparator);
    while (pieces.size() < 2) pieces.emplace_back();  // "path@&@": an empty name
    return pieces;
}

std::string MakeEntry(const std::string& path) {
    return path + kNameSeparator + "[" + LastPathPiece(path) + "]";
}

std::string WithDisplayName(const std::string& entry, const std::string& bracketed) {
    const int first = runtime::Find(entry, kNameSeparator);
    if (first < 1) return entry + kNameSeparator + bracketed;
    const int second = runtime::Find(entry, kNameSeparator, first + 3);
    const std::string rest = second < 1 ? std::string() : entry.substr(static_cast<std::size_t>(second) - 1);
    return entry.substr(0, static_cast<std::size_t>(first) - 1) + kNameSeparator + bracketed + rest;
}

std::optional<std::string> CutEntry(std::string_view fileText, std::string_view section, std::string_view key,
                                    const std::vector<std::string>& items, std::size_t index) {
    const std::size_t count = items.size();
    if (count < 2 || index >= count) return std::nullopt;
    const auto value = runtime::FindIniValue(fileText, section, key);
    if (!value) return std::nullopt;
    const std::string_view raw = fileText.substr(value->begin, value->end - value->begin);
    const std::vector<runtime::TextSpan> spans = runtime::SplitSpans(raw, kItemSeparator);
    if (spans.size() != count) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        if (raw.substr(spans[i].begin, spans[i].end - spans[i].begin) != items[i]) return std::nullopt;
    }
    // The first entry takes the separator after it, every other entry the one before it.
    const std::size_t from = value->begin + (index == 0 ? spans[0].begin : spans[index - 1].end);
    const std::size_t to = value->begin + (index == 0 ? spans[1].begin : spans[index].end);
    std::string edited(fileText.substr(0, from));
    edited.append(fileText.substr(to));
    // The cut must not change how the rest reads back: an entry that now starts or ends the value
    // with a blank loses it to the reader's trimming, a value now enclosed in quotes loses them.
    const auto after = runtime::FindIniValue(edited, section, key);
    if (!after) return std::nullopt;
    const std::string_view rest = std::string_view(edited).substr(after->begin, after->end - after->begin);
    std::vector<std::string> expected = items;
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(index));
    if (EnclosedInQuotes(rest) || SplitItems(rest) != expected) return std::nullopt;
    return edited;
}

}  // namespace app
