#include "tests/test_support.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace test {

namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(dir.c_str());
}

}  // namespace

ScratchDir::ScratchDir() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(temp) + "toolbox-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

ScratchDir::~ScratchDir() { RemoveTree(path_); }

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PumpMessages(int ms) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(1);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

std::string ExeDirectory() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\'));
}

ChildProcess::ChildProcess(const std::string& commandLine, const std::string& directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::string buffer = commandLine;
    if (::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

ChildProcess::~ChildProcess() {
    Kill();
    if (process_) ::CloseHandle(process_);
}

long ChildProcess::WaitForExit(int ms) {
    if (!process_ || ::WaitForSingleObject(process_, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return static_cast<long>(code);
}

void ChildProcess::Kill() {
    if (process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, 5000);
    }
}

std::string WindowText(HWND window) {
    char text[512] = "";
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::vector<HWND> TopWindowsOf(unsigned long processId, const std::string& title) {
    struct Search {
        unsigned long pid;
        const std::string* title;
        std::vector<HWND> found;
    } search{processId, &title, {}};
    struct Visit {
        static BOOL CALLBACK Window(HWND window, LPARAM lp) {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(window, &pid);
            if (pid == s->pid && (s->title->empty() || WindowText(window) == *s->title))
                s->found.push_back(window);
            return TRUE;
        }
    };
    ::EnumWindows(Visit::Window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void XdoTool(const std::string& arguments) {
    ChildProcess xdotool("start.exe /wait /unix /usr/bin/xdotool " + arguments);
    xdotool.WaitForExit(10000);
}

}  // namespace test
