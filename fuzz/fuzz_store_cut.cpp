// The delete's cut of one entry out of the store's text: the rest of the file keeps every byte, and
// the category's list reads back as before less the entry cut.
#include <fuzzer/FuzzedDataProvider.h>

#include "app/item_list.h"
#include "fuzz/check.h"
#include "runtime/ini_text.h"

using namespace app;

namespace {

// The store's section and key names in code page 936 ("常用工具", "文件夹", "文件名"), and short
// ASCII ones that mutations reach easily.
const char* const kSections[] = {"\xb3\xa3\xd3\xc3\xb9\xa4\xbe\xdf", "\xce\xc4\xbc\xfe\xbc\xd0", "a"};
const char* const kKeys[] = {"\xce\xc4\xbc\xfe\xc3\xfb", "k"};

std::optional<std::string> RawValue(std::string_view text, std::string_view section, std::string_view key) {
    const auto span = runtime::FindIniValue(text, section, key);
    if (!span) return std::nullopt;
    return std::string(text.substr(span->begin, span->end - span->begin));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const char* section = kSections[input.ConsumeIntegralInRange<std::size_t>(0, 2)];
    const char* key = kKeys[input.ConsumeIntegralInRange<std::size_t>(0, 1)];
    const std::size_t pick = input.ConsumeIntegral<uint16_t>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    const auto span = runtime::FindIniValue(text, section, key);
    if (!span) return 0;
    const std::vector<std::string> items = SplitItems(text.substr(span->begin, span->end - span->begin));
    if (items.empty()) return 0;
    const std::size_t index = pick % (items.size() + 1);  // one past the end must be refused
    const std::optional<std::string> cut = CutEntry(text, section, key, items, index);
    CHECK(cut == CutEntry(text, section, key, items, index));
    if (!cut) return 0;
    CHECK(index < items.size() && items.size() >= 2 && cut->size() < text.size());

    // Only the value changed: every byte before it and after it is kept.
    const std::size_t removed = text.size() - cut->size();
    CHECK(cut->compare(0, span->begin, text, 0, span->begin) == 0);
    CHECK(cut->compare(span->end - removed, std::string::npos, text, span->end, std::string::npos) == 0);

    std::vector<std::string> expected = items;
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(index));
    const std::optional<std::string> after = RawValue(*cut, section, key);
    CHECK(after && SplitItems(*after) == expected);
    // The reader strips quotes around a value: a cut must not make a pair of them.
    const auto enclosed = [](std::string_view v) {
        return v.size() >= 2 && v.front() == '"' && v.back() == '"';
    };
    CHECK(!enclosed(*after) || enclosed(text.substr(span->begin, span->end - span->begin)));
    return 0;
}
