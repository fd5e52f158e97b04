// The INI text editor: a value set reads back at once, setting it again changes nothing, and an
// edit leaves every other key's value where it was.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/check.h"
#include "runtime/ini_text.h"
#include "runtime/text.h"

using namespace runtime;

namespace {

std::string_view Trim(std::string_view s) { return TrimProfileBlanks(s); }

// Whether the name ends in a lone first byte of a double-byte character, which would swallow the
// "]" or "=" written after it.
bool EndsInLeadByte(std::string_view name) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < name.size(); i += runtime::CharLength(name, i)) last = i;
    return !name.empty() && last == name.size() - 1 && static_cast<unsigned char>(name.back()) >= 0x80;
}

// Names a line can hold and be read back as: a key with "=" or starting with "[" reads as another
// key or as a section header.
bool Storable(std::string_view section, std::string_view key) {
    return key.find('=') == std::string_view::npos && Trim(key).substr(0, 1) != "[" &&
           !EndsInLeadByte(Trim(section)) && !EndsInLeadByte(Trim(key));
}

std::optional<std::string> ValueOf(std::string_view text, std::string_view section, std::string_view key) {
    const auto span = FindIniValue(text, section, key);
    if (!span) return std::nullopt;
    CHECK(span->begin <= span->end && span->end <= text.size());
    return std::string(text.substr(span->begin, span->end - span->begin));
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a), b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int kind =
        input.ConsumeIntegralInRange(0, 3);  // 0, 1: set; 2: delete the key; 3: delete the section
    const std::string section = input.ConsumeRandomLengthString(12);
    const std::string key = input.ConsumeRandomLengthString(12);
    const std::string value = input.ConsumeRandomLengthString(24);
    const std::string otherSection = input.ConsumeRandomLengthString(12);
    const std::string otherKey = input.ConsumeRandomLengthString(12);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::optional<std::string> k = kind == 3 ? std::nullopt : std::optional<std::string>(key);
    const std::optional<std::string> v = kind >= 2 ? std::nullopt : std::optional<std::string>(value);
    const std::optional<std::string> edited = EditIniText(text, section, k, v);
    CHECK(edited == EditIniText(text, section, k, v));
    if (!edited) return 0;

    const std::optional<std::string> before = ValueOf(text, otherSection, otherKey);
    const bool sameSection = SameName(otherSection, section);
    if (!sameSection || (kind != 3 && !SameName(otherKey, key))) {
        // Another key keeps its value; a new key line or section never lands inside another's value.
        const std::optional<std::string> after = ValueOf(*edited, otherSection, otherKey);
        if (Storable(section, key) && !(sameSection && kind == 3)) CHECK(before == after);
    }
    if (kind >= 2) {
        CHECK(edited->size() <= text.size());
        return 0;
    }
    // Set: the value reads back (blanks around it are not part of it), and setting it again is no edit.
    if (!Storable(section, key)) return 0;
    CHECK(ValueOf(*edited, section, key) == std::string(Trim(value)));
    CHECK(EditIniText(*edited, section, k, v) == edited);
    return 0;
}
