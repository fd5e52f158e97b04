// A category's item list as text: entries joined by "&@&", each entry the target path, "@&@" and
// the bracketed display name. Pure text work (no file, no platform headers), so it also builds
// natively for fuzzing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

constexpr char kItemSeparator[] = "&@&";
constexpr char kNameSeparator[] = "@&@";

// The entries of an item list ("" gives none; a trailing "&@&" gives no empty last entry).
std::vector<std::string> SplitItems(std::string_view value);

// Always two pieces or more: [0] the target path, [1] the bracketed display name. An entry without
// "@&@" (only a hand-edited file has one) is shown as MakeEntry would have made it: the whole entry
// as the path and its last path piece in brackets as the name; it stays as it is in the file until
// its category is changed.
std::vector<std::string> SplitEntry(std::string_view entry);

// path + "@&@[" + the last piece of path split at "\" + "]"; D:\ gives D:\@&@[D:].
std::string MakeEntry(const std::string& path);

// The entry with its display name (a bracketed name) replaced; an entry without one gets it.
std::string WithDisplayName(const std::string& entry, const std::string& bracketed);

// The whole file text with entry `index` of `items` and one separator cut out of the raw value of
// `key` in `section`, every other byte kept. `items` is the list as read; the raw value must split
// into exactly these entries and, after the cut, read back as the same entries less the one cut,
// else nothing (a value the reader changes, or a cut that would leave a blank or a quote at an end
// of the value, where the reader strips it). Needs two entries or more: the only entry leaves no
// separator to cut with it.
std::optional<std::string> CutEntry(std::string_view fileText, std::string_view section, std::string_view key,
                                    const std::vector<std::string>& items, std::size_t index);

}  // namespace app
