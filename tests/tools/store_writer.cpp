// Writes a scratch store in a loop, for the tests that end it abruptly at random moments.
//   store_writer STORE MODE OPS record DIR    runs every op, copying the store to DIR\<n> after each
//   store_writer STORE MODE OPS run EVENT     sets the named EVENT ("-": none), then runs the ops until
//   killed
// MODE "store" runs a fixed script of adds, renames, deletes and skin changes through the store;
// "platform" runs the same script with every write made by WritePrivateProfileStringA itself; "naive"
// alternates two long values through that function. Each op is exactly one write, so every state a
// kill may leave behind is one the record run copied; the record run also checks that each state
// holds every category.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/store.h"
#include "runtime/text.h"

namespace {

const char* const kCategories[] = {"常用工具", "编程工具", "文件夹", "常用网站"};

std::string Number(int i) { return std::to_string(i); }

int EntryCount(const std::string& category) {
    return static_cast<int>(app::SplitItems(app::ReadCategory(category)).size());
}

// One write of the script. The target paths carry 81 40, 81 5B, 81 5C and 81 5D (丂 乕 乗 乚).
app::StoreStatus StoreOp(int i) {
    if (i % 9 == 8)
        return (i / 9) % 2 ? app::DeleteSkinSection() : app::WriteSkinPath("C:\\皮肤\\" + Number(i) + ".png");
    const std::string category = kCategories[i % 4];
    const int count = EntryCount(category);
    switch ((i / 4) % 5) {
    case 1: return app::RenameEntry(category, count / 2, "名" + Number(i));
    case 3: return app::DeleteEntry(category, i % count, count);
    default: return app::AddEntry(category, "D:\\工具乗\\丂乕乚" + Number(i) + ".exe");
    }
}

// The store's script, each list computed here and written by the platform's profile function.
bool PlatformOp(const std::string& store, int i) {
    if (i % 9 == 8) {
        const std::string skin = "C:\\皮肤\\" + Number(i) + ".png";
        return ::WritePrivateProfileStringA("皮肤", (i / 9) % 2 ? nullptr : "文件名", skin.c_str(),
                                            store.c_str()) != FALSE;
    }
    const std::string category = kCategories[i % 4];
    std::vector<std::string> items = app::SplitItems(app::ReadCategory(category));
    const std::size_t count = items.size();
    switch ((i / 4) % 5) {
    case 1: items[count / 2] = app::WithDisplayName(items[count / 2], "[名" + Number(i) + "]"); break;
    case 3:
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(i) % count));
        break;
    default: items.push_back(app::MakeEntry("D:\\工具乗\\丂乕乚" + Number(i) + ".exe"));
    }
    const std::string value = runtime::Join(items, app::kItemSeparator);
    return ::WritePrivateProfileStringA(category.c_str(), "文件名", value.c_str(), store.c_str()) != FALSE;
}

bool EveryCategoryThere() {
    for (const char* category : kCategories) {
        if (app::ReadCategory(category).empty()) return false;
    }
    return true;
}

bool NaiveOp(const std::string& store, int i) {
    const std::string value = std::string(4000, i % 2 ? 'a' : 'b');
    return ::WritePrivateProfileStringA("常用工具", "文件名", value.c_str(), store.c_str()) != FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: store_writer STORE store|platform|naive OPS record DIR | run EVENT|-\n");
        return 1;
    }
    const std::string store = argv[1], mode = argv[2], action = argv[4], target = argv[5];
    const int ops = std::atoi(argv[3]);
    app::SetStorePath(store);
    if (action == "run" && target != "-") {
        HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, target.c_str());
        if (!ready) return 3;
        ::SetEvent(ready);
        ::CloseHandle(ready);
    }
    for (int i = 0; i < ops; ++i) {
        const bool ok = mode == "naive"      ? NaiveOp(store, i)
                        : mode == "platform" ? PlatformOp(store, i)
                                             : StoreOp(i) == app::StoreStatus::Done;
        if (!ok) {
            std::fprintf(stderr, "store_writer: op %d failed\n", i);
            return 2;
        }
        if (action != "record") continue;
        if (mode != "naive" && !EveryCategoryThere()) {
            std::fprintf(stderr, "store_writer: a category is missing after op %d\n", i);
            return 5;
        }
        if (!::CopyFileA(store.c_str(), (target + "\\" + Number(i)).c_str(), FALSE)) return 4;
    }
    return 0;
}
