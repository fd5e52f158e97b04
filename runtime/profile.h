// Configuration values in INI files. Reads go through GetPrivateProfileStringA. Writes make the edit
// WritePrivateProfileStringA would make, but on the file's text here, and replace the file in one
// crash-safe step (that function truncates the file and rewrites it in place, unflushed, so a
// process ended mid-write or a full disk leaves a broken file).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace runtime {

// ---- Pure part: INI text in, INI text out (no file, no windows.h) ----

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
std::optional<IniValueSpan> FindIniValue(std::string_view text, std::string_view section, std::string_view key);

// ---- Files ----

// The bytes GetPrivateProfileStringA reads into a buffer of this size, terminating zero included.
constexpr int kConfigBufferSize = 10240;

// The value, "" when file, section or key is missing. Leading characters of code 32 or less of the
// file, section and key names are skipped; an empty name gives "". At most kConfigBufferSize - 1
// bytes: a longer value is cut there, as GetPrivateProfileStringA does.
std::string ReadConfig(const std::string& file, const std::string& section, const std::string& key);

// As ReadConfig; `cut` tells that the value filled the buffer and the stored value is longer.
struct ConfigRead {
    std::string value;
    bool cut;
};
ConfigRead ReadConfigChecked(const std::string& file, const std::string& section, const std::string& key);

// Sets the value, creating file, section and key as needed; no key deletes the section, no value
// deletes the key. False when it could not be written (the old file is then byte-for-byte intact),
// when a name is empty or anything holds a line break, and for a file that starts with a UTF-8 or
// UTF-16 byte-order mark (its text is not in the ANSI code page, so editing bytes would garble it).
bool WriteConfig(const std::string& file, const std::string& section, const std::optional<std::string>& key,
                 const std::optional<std::string>& value);

}  // namespace runtime
