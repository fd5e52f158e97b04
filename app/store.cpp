#include "app/store.h"

#include <optional>

#include "runtime/files.h"
#include "runtime/ini_text.h"
#include "runtime/profile.h"
#include "runtime/text.h"

namespace app {

namespace {

constexpr char kKey[] = "文件名";
constexpr char kSkinSection[] = "皮肤";

std::string& StorePathValue() {
    static std::string path;
    return path;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool HasSeparator(std::string_view s) {
    return runtime::Find(s, kItemSeparator) != -1 || runtime::Find(s, kNameSeparator) != -1 ||
           HasLineBreak(s);
}

// The profile reader trims blanks around a value and strips a pair of enclosing quotes; a value it
// would change that way is not read back as written.
bool ReadsBackUnchanged(std::string_view value) {
    if (value.empty()) return true;
    if (runtime::IsProfileBlank(value.front()) || runtime::IsProfileBlank(value.back())) return false;
    return !(value.size() >= 2 && value.front() == '"' && value.back() == '"');
}

// The list joined back, if it splits into exactly these entries again and reads back unchanged.
std::optional<std::string> JoinChecked(const std::vector<std::string>& items) {
    std::string value = runtime::Join(items, kItemSeparator);
    if (SplitItems(value) != items || HasLineBreak(value) || !ReadsBackUnchanged(value)) return std::nullopt;
    return value;
}

struct ListRead {
    std::string value;
    std::vector<std::string> items;
    bool cut;
};

ListRead ReadList(const std::string& category) {
    runtime::ConfigRead read = runtime::ReadConfigChecked(StorePath(), category, kKey);
    ListRead list{std::move(read.value), {}, read.cut};
    list.items = SplitItems(list.value);
    return list;
}

StoreStatus WriteList(const std::string& category, const std::vector<std::string>& items) {
    const std::optional<std::string> value = JoinChecked(items);
    if (!value) return StoreStatus::BadText;
    if (value->size() > static_cast<std::size_t>(runtime::kConfigBufferSize - 1)) return StoreStatus::TooLong;
    return WriteCategory(category, *value) ? StoreStatus::Done : StoreStatus::WriteFailed;
}

}  // namespace

void SetStorePath(const std::string& path) { StorePathValue() = path; }
const std::string& StorePath() { return StorePathValue(); }

void RemoveStrayStoreTemp() { runtime::RemoveFile(runtime::ReplaceTempPath(StorePath())); }

std::string ReadCategory(const std::string& category) {
    return runtime::ReadConfig(StorePath(), category, kKey);
}

bool WriteCategory(const std::string& category, const std::string& value) {
    return runtime::WriteConfig(StorePath(), category, std::string(kKey), value);
}

StoreStatus AddEntry(const std::string& category, const std::string& path) {
    const std::string candidate = MakeEntry(path);
    // The path must come back whole as piece 0: a path ending in "@&" would make "@&@" end earlier.
    if (path.empty() || HasSeparator(path) || SplitEntry(candidate)[0] != path) return StoreStatus::BadText;
    ListRead list = ReadList(category);
    if (list.cut) return StoreStatus::CutOnRead;
    for (const std::string& item : list.items) {
        if (item == candidate) return StoreStatus::AlreadyThere;
    }
    list.items.push_back(candidate);
    return WriteList(category, list.items);
}

StoreStatus RenameEntry(const std::string& category, int index, const std::string& newName) {
    if (HasSeparator(newName)) return StoreStatus::BadText;
    ListRead list = ReadList(category);
    if (list.cut) return StoreStatus::CutOnRead;
    if (index < 0 || static_cast<std::size_t>(index) >= list.items.size()) return StoreStatus::NotFound;
    const std::string bracketed = "[" + newName + "]";
    if (runtime::Find(list.value, bracketed) != -1) return StoreStatus::Duplicate;
    std::string& entry = list.items[static_cast<std::size_t>(index)];
    entry = WithDisplayName(entry, bracketed);
    if (SplitEntry(entry)[1] != bracketed) return StoreStatus::BadText;
    return WriteList(category, list.items);
}

StoreStatus DeleteEntry(const std::string& category, int index, int listItemCount) {
    const ListRead list = ReadList(category);
    if (list.cut) return StoreStatus::CutOnRead;
    const std::size_t count = list.items.size();
    if (index < 0 || static_cast<std::size_t>(index) >= count ||
        static_cast<std::size_t>(listItemCount) != count) {
        return StoreStatus::NotFound;
    }
    if (count == 1) return WriteCategory(category, "") ? StoreStatus::Done : StoreStatus::WriteFailed;

    // Cut the entry and one separator out of this category's own key line, so that the rest of the
    // file, other sections included, keeps every byte.
    const std::optional<std::string> file = runtime::ReadWholeFile(StorePath());
    if (!file) return StoreStatus::WriteFailed;
    const std::optional<std::string> edited =
        CutEntry(*file, category, kKey, list.items, static_cast<std::size_t>(index));
    if (!edited) return StoreStatus::NotFound;
    return runtime::ReplaceFileContents(StorePath(), *edited) ? StoreStatus::Done : StoreStatus::WriteFailed;
}

std::string ReadSkinPath() { return runtime::ReadConfig(StorePath(), kSkinSection, kKey); }

StoreStatus WriteSkinPath(const std::string& path) {
    if (HasLineBreak(path) || !ReadsBackUnchanged(path)) return StoreStatus::BadText;
    if (path.size() > static_cast<std::size_t>(runtime::kConfigBufferSize - 1)) return StoreStatus::TooLong;
    return runtime::WriteConfig(StorePath(), kSkinSection, std::string(kKey), path)
               ? StoreStatus::Done
               : StoreStatus::WriteFailed;
}

StoreStatus DeleteSkinSection() {
    return runtime::WriteConfig(StorePath(), kSkinSection, std::nullopt, std::nullopt)
               ? StoreStatus::Done
               : StoreStatus::WriteFailed;
}

const char* StoreStatusMessage(StoreStatus s) {
    switch (s) {
    case StoreStatus::Done:
    case StoreStatus::AlreadyThere: return nullptr;
    case StoreStatus::Duplicate: return "对不起有重复名称！";
    case StoreStatus::BadText:
        return "名称或路径中含有本程序无法保存的字符（如“&@&”、“@&@”、换行或末尾的“&”），无法保存。";
    case StoreStatus::TooLong: return "这个分类已装满，不能再加长了。";
    case StoreStatus::CutOnRead: return "这个分类的内容超出了可读取的长度，为免丢失项目，不能修改。";
    case StoreStatus::NotFound: return "没有找到这一项，请刷新列表后再试。";
    case StoreStatus::WriteFailed: return "无法写入 petrez.alss，原有内容未改动。";
    }
    return nullptr;
}

}  // namespace app
