// The shortcut store: the INI file "petrez.alss" beside the exe, holding each category's item list
// under key "文件名" of the section named like the category, and the chosen skin picture under
// section "皮肤". Nothing is cached: every operation reads the file when it runs and writes at once.
// Every write replaces the file in one crash-safe step; a refused or failed write leaves it intact.
#pragma once

#include <string>

#include "app/item_list.h"

namespace app {

void SetStorePath(const std::string& path);
const std::string& StorePath();

// Removes the temporary file a write left behind when the process ended in the middle of it.
void RemoveStrayStoreTemp();

// The item list of a category: entries joined by "&@&", each entry the target path, "@&@" and the
// bracketed display name. "" when file, section or key is missing.
std::string ReadCategory(const std::string& category);
bool WriteCategory(const std::string& category, const std::string& value);

enum class StoreStatus {
    Done,
    AlreadyThere,  // add: an equal entry is stored already; nothing written
    Duplicate,     // rename: the bracketed new name occurs in the list text; nothing written
    BadText,       // the path or name holds "&@&", "@&@" or a line break and would break the list
    TooLong,       // the list would no longer fit the read buffer, so it could not be read back whole
    CutOnRead,     // the stored list is longer than the read buffer; writing it back would lose entries
    NotFound,      // the entry is not in the stored list (empty list, index out of range, list changed)
    WriteFailed,   // the file could not be written; it is byte-for-byte as before
};

StoreStatus AddEntry(const std::string& category, const std::string& path);
// Changes the display name of entry `index` only (to "[" + newName + "]"), unless the bracketed name
// occurs anywhere in the list text (case-sensitive), which is refused as Duplicate.
StoreStatus RenameEntry(const std::string& category, int index, const std::string& newName);
// Cuts entry `index` and one separator out of the category's own key line; the only entry leaves the
// key with an empty value. `listItemCount` is the count the list shows: when it differs from the
// stored list, the list is out of date and nothing is deleted (NotFound).
StoreStatus DeleteEntry(const std::string& category, int index, int listItemCount);

std::string ReadSkinPath();
StoreStatus WriteSkinPath(const std::string& path);
StoreStatus DeleteSkinSection();

// A short sentence for the person for every refusal or failure; nullptr for Done and AlreadyThere.
const char* StoreStatusMessage(StoreStatus s);

}  // namespace app
