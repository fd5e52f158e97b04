// Drives the toolbox's own add and delete commands on a given store, in-process, with the real main
// window and every message box answered through the shell seam; prints each message's text (code
// page 936) on its own line after "message: ". For the full-disk check of scripts/crash-test.sh.
//   full_disk_probe STORE PATH    adds PATH to "常用工具", then deletes that category's first entry
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/category_list.h"
#include "app/item_commands.h"
#include "app/main_window.h"
#include "app/skin_setup.h"
#include "app/store.h"
#include "runtime/shell.h"

namespace {

int PrintMessage(const std::string& text, const std::string&, UINT) {
    std::printf("message: %s\n", text.c_str());
    std::fflush(stdout);
    return IDOK;
}

void SelectFirstItem() {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(app::CategoryListControl(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: full_disk_probe STORE PATH\n");
        return 1;
    }
    runtime::Shell& shell = runtime::TheShell();
    shell.message = [](const std::string&, const std::string&, UINT) { return IDOK; };  // start-up's own
    app::StartSkinEngine();
    if (!app::LoadMainWindow()) return 2;
    shell.message = PrintMessage;
    app::SetStorePath(argv[1]);
    app::SelectCategory("常用工具");
    std::printf("add\n");
    app::AddDroppedFile(argv[2]);
    std::printf("delete\n");
    SelectFirstItem();
    app::DeleteSelectedItem();
    std::fflush(stdout);
    return 0;
}
