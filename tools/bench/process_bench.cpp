// Start-up and idle cost of the real program, measured on child processes: the toolbox against a
// bare Win32 window program (tests/tools/bare_window.cpp), both started the same way from a folder of
// their own, alternately; and the CPU time of a toolbox left alone.
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/store.h"
#include "tools/bench/bench_support.h"

namespace bench {

namespace {

constexpr int kStartRounds = 7;
constexpr DWORD kStartTimeoutMs = 30000;

struct WindowSearch {
    DWORD processId;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    char text[64] = {};
    ::GetWindowTextA(hwnd, text, sizeof(text));
    if (owner != search->processId || !::IsWindowVisible(hwnd) || lstrcmpA(text, search->title) != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// A started program: its process, its id and the moment CreateProcess was called.
class Child {
public:
    explicit Child(const std::string& exe) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        std::string command = "\"" + exe + "\"";
        const std::string folder = exe.substr(0, exe.find_last_of('\\'));
        start_ = Now();
        if (::CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                             &startup, &info)) {
            ::CloseHandle(info.hThread);
            process_ = info.hProcess;
            id_ = info.dwProcessId;
        }
    }
    ~Child() {
        if (!process_) return;
        if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_, 1);
        ::CloseHandle(process_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    HANDLE process() const { return process_; }
    double start() const { return start_; }

    // The visible top-level window of the child that has `title`, or null.
    HWND VisibleWindow(const char* title) const {
        WindowSearch search = {id_, title, nullptr};
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Seconds from CreateProcess until the window is visible and the program waits for input
    // (both programs show and paint their window before their message loop), or -1.
    double SecondsToFirstFrame(const char* title, HWND* window) const {
        if (!process_) return -1;
        while (Now() - start_ < kStartTimeoutMs / 1000.0) {
            if ((*window = VisibleWindow(title))) {
                if (::WaitForInputIdle(process_, kStartTimeoutMs) != 0) return -1;
                return Now() - start_;
            }
            if (::WaitForSingleObject(process_, 1) != WAIT_TIMEOUT) return -1;
        }
        return -1;
    }

    bool WaitForEnd(DWORD ms) const { return ::WaitForSingleObject(process_, ms) == WAIT_OBJECT_0; }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    double start_ = 0;
};

bool CopyExe(const std::string& name, const std::string& folder) {
    return ::CopyFileA((ExeFolder() + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE) != 0;
}

// The toolbox in a folder of its own with a store of 20 real entries, so that start-up fills a list
// and does not stop at the "missing store" message.
struct ToolboxFolder {
    TempFolder folder{"toolbox-process-bench"};
    std::string exe;
    ToolboxFolder() {
        CopyExe("toolbox.exe", folder.path());
        CopyExe("bare_window.exe", folder.path());
        exe = folder.path() + "\\toolbox.exe";
        std::string value;
        for (int i = 0; i < 20; ++i) {
            const std::string path = folder.path() + "\\entry" + std::to_string(i) + (i % 2 ? ".txt" : "");
            if (i % 2)
                WriteFileText(path, "text");
            else
                ::CreateDirectoryA(path.c_str(), nullptr);
            value += (value.empty() ? "" : "&@&") + app::MakeEntry(path);
        }
        WriteFileText(folder.path() + "\\petrez.alss", "[常用工具]\r\n文件名=" + value + "\r\n");
    }
};

constexpr char kToolboxTitle[] = "TAVEN桌面工具箱V2.0";

// Ends the toolbox as its tray menu's "退出" does.
void EndToolbox(const Child& child, HWND window) {
    if (window) ::PostMessageA(window, WM_COMMAND, app::kCmdExit, 0);
    child.WaitForEnd(10000);
}

void EndBare(const Child& child, HWND window) {
    if (window) ::PostMessageA(window, WM_CLOSE, 0, 0);
    child.WaitForEnd(10000);
}

double FileTimeSeconds(const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           1e7;
}

double CpuSeconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!::GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
    return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

}  // namespace

void RunStartupBench() {
    ToolboxFolder place;
    const std::string bare = place.folder.path() + "\\bare_window.exe";
    std::vector<double> toolbox, plain;
    for (int round = 0; round < kStartRounds; ++round) {
        {
            Child child(place.exe);
            HWND window = nullptr;
            const double seconds = child.SecondsToFirstFrame(kToolboxTitle, &window);
            if (seconds > 0) toolbox.push_back(seconds);
            EndToolbox(child, window);
        }
        {
            Child child(bare);
            HWND window = nullptr;
            const double seconds = child.SecondsToFirstFrame("bare window", &window);
            if (seconds > 0) plain.push_back(seconds);
            EndBare(child, window);
        }
    }
    std::printf("start-up: process start to the first painted frame, median of %d starts each\n",
                kStartRounds);
    if (toolbox.size() != kStartRounds || plain.size() != kStartRounds) {
        std::printf("  MISS: %d of %d toolbox and %d of %d bare starts showed a window\n",
                    static_cast<int>(toolbox.size()), kStartRounds, static_cast<int>(plain.size()),
                    kStartRounds);
        if (toolbox.empty() || plain.empty()) return;
    }
    const double t = Median(toolbox) * 1e3, b = Median(plain) * 1e3;
    std::printf("  toolbox.exe                              %9.1f ms\n", t);
    std::printf("  bare_window.exe                          %9.1f ms\n", b);
    PrintGoal({"toolbox start-up / bare program start-up", t / b, 1.5, "x"});
}

void RunIdleBench(int seconds) {
    ToolboxFolder place;
    Child child(place.exe);
    HWND window = nullptr;
    if (child.SecondsToFirstFrame(kToolboxTitle, &window) < 0) {
        std::printf("idle: MISS: the toolbox did not start\n");
        return;
    }
    ::Sleep(1000);  // past the start-up's own work (the worker's first always-on-top write)
    // Marker lines for scripts/bench.sh, which reads the Unix process's CPU time from /proc: Wine's
    // GetProcessTimes reports none for another process.
    if (child.WaitForEnd(0)) {
        DWORD code = 0;
        ::GetExitCodeProcess(child.process(), &code);
        std::printf("idle: MISS: the toolbox ended after start-up (exit code %lu)\n", code);
        return;
    }
    std::printf("@idle-start %s\n", place.exe.c_str());
    std::fflush(stdout);
    const double cpu0 = CpuSeconds(child.process()), wall0 = Now();
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    const double cpu1 = CpuSeconds(child.process()), wall1 = Now();
    std::printf("@idle-end\n");
    std::fflush(stdout);
    EndToolbox(child, window);
    const double cpu = cpu1 - cpu0, wall = wall1 - wall0;
    std::printf("idle: the toolbox left alone for %.0f s\n", wall);
    std::printf("  CPU time of the process (GetProcessTimes) %8.1f ms\n", cpu * 1e3);
    if (cpu <= 0) {  // a 100 ms timer over a minute cannot cost nothing
        std::printf("  GetProcessTimes gave no CPU time (Wine): scripts/bench.sh measures it from /proc\n");
        return;
    }
    PrintGoal({"idle CPU time / wall time", 100.0 * cpu / wall, 0.2, "%"});
}

}  // namespace bench
