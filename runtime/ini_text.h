// The INI text editing behind the configuration writes, on the file's text alone: no file, no
// platform headers, so it also builds natively for fuzzing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace runtime {

// The text after setting, deleting a key (no value) or deleting a section (no key), changing only
// the lines the edit needs: the key's line is rewritten as name=value; a new key goes after the last
// non-blank line of its section; a new section goes at the end. New lines end in CR LF, or LF when
// the text's first line ends in a bare LF. Section and key names match without regard to the case
// of ASCII letters; the first matching section and, in it, the first matching key count, as for the
// reader. Leading whitespace of the value is dropped. Nothing when an argument cannot be stored (an
// empty section or key name, a line break in any of them).
std::optional<std::string> EditIniText(std::string_view text, std::string_view section,
                                       const std::optional<std::string>& key,
                                       const std::optional<std::string>& value);

// Byte range of the raw value of `key` in `section` (after "=" and blanks, before trailing blanks).
struct IniValueSpan {
    std::size_t begin;
    std::size_t end;
};
std::optional<IniValueSpan> FindIniValue(std::string_view text, std::string_view section,
                                         std::string_view key);

// The blanks the profile reader trims around names and values (0x1a is the old end-of-file mark),
// and a text without them at either end.
constexpr bool IsProfileBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; }
std::string_view TrimProfileBlanks(std::string_view s);

}  // namespace runtime
