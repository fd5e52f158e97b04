#include "runtime/profile.h"

#include <windows.h>

#include "runtime/files.h"

namespace runtime {

namespace {

// The profile functions skip leading characters of code 32 or less in every name.
std::string SkipLeadingControls(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= 32) ++i;
    return s.substr(i);
}

int ReadInto(std::string& buffer, const std::string& file, const std::string& section,
             const std::string& key) {
    return static_cast<int>(::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", &buffer[0],
                                                       static_cast<DWORD>(buffer.size()), file.c_str()));
}

bool StartsWithByteOrderMark(std::string_view bytes) {
    return bytes.substr(0, 2) == "\xff\xfe" || bytes.substr(0, 2) == "\xfe\xff" ||
           bytes.substr(0, 3) == "\xef\xbb\xbf";
}

}  // namespace

ConfigRead ReadConfigChecked(const std::string& file, const std::string& section, const std::string& key) {
    const std::string f = SkipLeadingControls(file), s = SkipLeadingControls(section),
                      k = SkipLeadingControls(key);
    if (f.empty() || s.empty() || k.empty()) return {"", false};
    std::string buffer(kConfigBufferSize, '\0');
    const int n = ReadInto(buffer, f, s, k);
    ConfigRead read{buffer.substr(0, static_cast<std::size_t>(n)), false};
    // A full buffer is ambiguous: the value may be exactly that long, or cut without a word. Larger
    // buffers tell which.
    for (std::size_t size = 2 * kConfigBufferSize; n == kConfigBufferSize - 1; size *= 2) {
        std::string bigger(size, '\0');
        const int m = ReadInto(bigger, f, s, k);
        if (static_cast<std::size_t>(m) < size - 1 || size >= (1u << 26)) {
            read.cut = m > kConfigBufferSize - 1;
            break;
        }
    }
    return read;
}

std::string ReadConfig(const std::string& file, const std::string& section, const std::string& key) {
    return ReadConfigChecked(file, section, key).value;
}

bool WriteConfig(const std::string& file, const std::string& section, const std::optional<std::string>& key,
                 const std::optional<std::string>& value) {
    const std::string f = SkipLeadingControls(file);
    if (f.empty()) return false;
    const std::optional<std::string> old = ReadWholeFile(f);
    if (!old && ::GetFileAttributesA(f.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;  // there, not readable
    const std::string text = old.value_or("");
    if (StartsWithByteOrderMark(text)) return false;
    const std::optional<std::string> edited =
        EditIniText(text, SkipLeadingControls(section),
                    key ? std::optional<std::string>(SkipLeadingControls(*key)) : std::nullopt, value);
    if (!edited) return false;
    if (*edited == text) return true;  // nothing changes, so nothing is written (and no file is created)
    return ReplaceFileContents(f, *edited);
}

}  // namespace runtime
