// Writes a scratch store in a loop, for the test that ends it abruptly at random moments.
//   store_writer STORE store|naive OPS record DIR    runs every op, copying the store to DIR\<n> after each
//   store_writer STORE store|naive OPS run EVENT     sets the named EVENT, then runs the ops until killed
// "store" runs a fixed script of adds, renames, deletes and skin changes through the store; "naive"
// alternates two long values through WritePrivateProfileStringA itself, to show what a kill does
// to a file written in place. Each op is exactly one write, so every state a kill may leave behind is
// one the record run copied.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/store.h"

namespace {

const char* const kCategories[] = {"常用工具", "编程工具", "文件夹", "常用网站"};

std::string Number(int i) { return std::to_string(i); }

int EntryCount(const std::string& category) { return static_cast<int>(app::SplitItems(app::ReadCategory(category)).size()); }

// One write of the script. The target paths carry 81 40, 81 5B, 81 5C and 81 5D (丂 乕 乗 乚).
app::StoreStatus StoreOp(int i) {
    if (i % 9 == 8) return (i / 9) % 2 ? app::DeleteSkinSection() : app::WriteSkinPath("C:\\皮肤\\" + Number(i) + ".png");
    const std::string category = kCategories[i % 4];
    const int count = EntryCount(category);
    switch ((i / 4) % 5) {
    case 1:  return app::RenameEntry(category, count / 2, "名" + Number(i));
    case 3:  return app::DeleteEntry(category, i % count, count);
    default: return app::AddEntry(category, "D:\\工具乗\\丂乕乚" + Number(i) + ".exe");
    }
}

bool NaiveOp(const std::string& store, int i) {
    const std::string value = std::string(4000, i % 2 ? 'a' : 'b');
    return ::WritePrivateProfileStringA("常用工具", "文件名", value.c_str(), store.c_str()) != FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: store_writer STORE store|naive OPS record DIR | run EVENT\n");
        return 1;
    }
    const std::string store = argv[1], mode = argv[2], action = argv[4], target = argv[5];
    const int ops = std::atoi(argv[3]);
    app::SetStorePath(store);
    if (action == "run") {
        HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, target.c_str());
        if (!ready) return 3;
        ::SetEvent(ready);
        ::CloseHandle(ready);
    }
    for (int i = 0; i < ops; ++i) {
        const bool ok = mode == "naive" ? NaiveOp(store, i) : StoreOp(i) == app::StoreStatus::Done;
        if (!ok) {
            std::fprintf(stderr, "store_writer: op %d failed\n", i);
            return 2;
        }
        if (action == "record" && !::CopyFileA(store.c_str(), (target + "\\" + Number(i)).c_str(), FALSE)) return 4;
    }
    return 0;
}
