// The long soak of the toolbox's main window: loads the real window in this process, drives it
// through every cycle of tests/soak_cycles.h many times and prints the process's GDI objects,
// icons, menus, windows, USER objects, private memory and the skin engine's own GDI count before
// and after each cycle. Exits 0 when every figure ends where it began, 1 otherwise. Under Wine's heap
// checks (WINEDEBUG with "heap") freed blocks are held back to catch late writes, so memory is then
// printed but not judged; scripts/soak.sh runs once with the checks and once without.
// Usage: soak.exe [divisor]   (a divisor of 10 runs a tenth of every cycle)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/app_fixture.h"
#include "tests/soak_cycles.h"

namespace {

bool g_judgeMemory = true;

bool WineHeapChecksOn() {
    char value[256] = "";
    const DWORD n = ::GetEnvironmentVariableA("WINEDEBUG", value, sizeof value);
    return n > 0 && n < sizeof value && std::strstr(value, "heap") != nullptr;
}

// A fresh folder under the temp directory for the store and the files; removed at the end.
std::string MakeFolder() {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "toolbox-soak-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path);
            } else {
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

std::string Change(long before, long after) {
    if (before < 0) return "n/a";
    char text[48];
    std::snprintf(text, sizeof text, "%ld>%ld", before, after);
    return text;
}

void PrintHeader() {
    std::printf("%-16s %6s %8s  %-11s %-9s %-7s %-9s %-11s %-9s %-7s %s\n", "cycle", "runs", "ms", "GDI",
                "icons", "menus", "windows", "USER", "engine", "selDel", "private KiB");
}

void PrintRow(const char* name, int runs, double ms, const soak::Figures& b, const soak::Figures& a) {
    std::printf("%-16s %6d %8.0f  %-11s %-9s %-7s %-9s %-11s %-9s %-7s %lld>%lld (%+lld)%s\n", name, runs, ms,
                Change(b.gdi, a.gdi).c_str(), Change(b.icons, a.icons).c_str(),
                Change(b.menus, a.menus).c_str(), Change(b.windows, a.windows).c_str(),
                Change(b.user, a.user).c_str(), Change(b.engineLive, a.engineLive).c_str(),
                Change(b.deletedWhileSelected, a.deletedWhileSelected).c_str(), b.privateBytes / 1024,
                a.privateBytes / 1024, (a.privateBytes - b.privateBytes) / 1024,
                soak::Unchanged(b, a, g_judgeMemory) ? "" : "   <-- CHANGED");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int divisor = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    g_judgeMemory = !WineHeapChecksOn();
    if (!g_judgeMemory) std::printf("soak: Wine's heap checks are on: memory is shown, not judged\n");
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!test::MainWindowOnce().window) {
        std::printf("soak: the main window did not load\n");
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string folder = MakeFolder();
    bool clean = true;
    int problems = 0;
    {
        soak::Driver driver(folder);
        // Warm-up: shared objects made on first use (the system image list's icons, fonts, OLE's
        // and the input method's windows, the skin picture's decoder) are not leaks.
        for (const soak::Cycle& cycle : soak::kCycles) (driver.*cycle.run)(cycle.testRuns);
        const soak::Figures first = soak::Measure();
        PrintHeader();
        for (const soak::Cycle& cycle : soak::kCycles) {
            const int runs = std::max(1, cycle.runs / divisor);
            const soak::Figures before = soak::Measure();
            const auto t0 = std::chrono::steady_clock::now();
            (driver.*cycle.run)(runs);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            const soak::Figures after = soak::Measure();
            PrintRow(cycle.name, runs, ms, before, after);
            clean = clean && soak::Unchanged(before, after, g_judgeMemory);
        }
        const double total =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        PrintRow("whole soak", 0, total, first, soak::Measure());
        clean = clean && soak::Unchanged(first, soak::Measure(), g_judgeMemory);
        problems = driver.problems();
        std::printf("message boxes answered: %d%s%s\n", driver.messages(),
                    driver.messages() ? ", last: " : "", driver.lastMessage().c_str());
    }
    RemoveFolder(folder);
    if (problems)
        std::printf("soak: %d steps did not behave (list not refilled, menu not shown...)\n", problems);
    std::printf("soak: %s\n", clean && !problems ? "every figure ended where it began" : "FAILED");
    return clean && !problems ? 0 : 1;
}
