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

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

}  // namespace test
