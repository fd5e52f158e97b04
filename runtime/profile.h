// Configuration values in INI files. Reads go through GetPrivateProfileStringA. Writes make the edit
// WritePrivateProfileStringA would make, but on the file's text here, and replace the file in one
// crash-safe step (that function truncates the file and rewrites it in place, unflushed, so a
// process ended mid-write or a full disk leaves a broken file).
#pragma once

#include <optional>
#include <string>

#include "runtime/ini_text.h"

namespace runtime {

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
