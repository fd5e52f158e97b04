// Item lists and entries: a list splits and joins back to itself, an entry made from a path gives
// that path and its name back, a rename keeps the path, and an added entry comes back as the last.
#include <fuzzer/FuzzedDataProvider.h>

#include "app/item_list.h"
#include "fuzz/check.h"
#include "runtime/text.h"

using namespace app;

namespace {

// What the store lets into a list: no separator and no line break.
bool Storable(std::string_view s) {
    return runtime::Find(s, kItemSeparator) == -1 && runtime::Find(s, kNameSeparator) == -1 &&
           s.find_first_of("\r\n") == std::string_view::npos;
}

void CheckEntry(const std::string& entry) {
    const std::vector<std::string> parts = SplitEntry(entry);
    CHECK(parts.size() >= 2 && parts == SplitEntry(entry));
    if (runtime::Find(entry, kNameSeparator) < 1) {
        CHECK(parts.size() == 2 && parts[0] == entry);
        return;
    }
    const std::string joined = runtime::Join(parts, kNameSeparator);
    CHECK(joined == entry || joined + kNameSeparator == entry || (parts.size() == 2 && parts[1].empty()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string path = input.ConsumeRandomLengthString(40);
    const std::string name = input.ConsumeRandomLengthString(20);
    const std::size_t pick = input.ConsumeIntegral<uint8_t>();
    const std::string value = input.ConsumeRemainingBytesAsString();

    std::vector<std::string> items = SplitItems(value);
    const std::string joined = runtime::Join(items, kItemSeparator);
    CHECK(joined == value || joined + kItemSeparator == value);
    CHECK(SplitItems(joined) == items || items.back().empty());  // "&@&" alone is one empty entry
    for (const std::string& item : items) CheckEntry(item);

    // Add, as the store does it: a path whose entry gives it back whole joins the list as its last entry.
    if (!path.empty() && Storable(path)) {
        const std::string entry = MakeEntry(path);
        const std::vector<std::string> parts = SplitEntry(entry);
        CheckEntry(entry);
        if (parts[0] == path) {
            const std::vector<std::string> pieces = runtime::Split(path, "\\");
            CHECK(parts.size() == 2 &&
                  parts[1] == "[" + (pieces.empty() ? std::string() : pieces.back()) + "]");
            // Unless the last entry ends in "&@" or a lone first byte of a double-byte character (only
            // a hand-edited file has such an end: the store writes "]" last), which would merge with
            // the separator joined after it; the store's join check refuses that list.
            std::vector<std::string> added = items;
            added.push_back(entry);
            const bool tailJoins = !items.empty() && SplitItems(items.back() + kItemSeparator + "x") !=
                                                         std::vector<std::string>{items.back(), "x"};
            // A path ending in "&" makes an entry holding "&@&": the store refuses it the same way.
            const bool entryWhole = SplitItems(entry) == std::vector<std::string>{entry};
            if (!tailJoins && entryWhole) CHECK(SplitItems(runtime::Join(added, kItemSeparator)) == added);
        }
    }

    // Rename: when the new name reads back, the path is the one before.
    if (!items.empty() && Storable(name)) {
        const std::string& entry = items[pick % items.size()];
        const std::string bracketed = "[" + name + "]";
        const std::string renamed = WithDisplayName(entry, bracketed);
        CheckEntry(renamed);
        const std::vector<std::string> parts = SplitEntry(renamed);
        if (parts[1] == bracketed) {
            const bool hadName = runtime::Find(entry, kNameSeparator) >= 1;
            CHECK(parts[0] == (hadName ? SplitEntry(entry)[0] : entry));
        }
    }
    return 0;
}
