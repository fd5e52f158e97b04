#include "tools/bench/bench_support.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>

namespace bench {

double Now() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintGoal(const Goal& goal) {
    std::printf("  %-44s %8.2f%s  (goal <= %.2f%s)  %s\n", goal.name.c_str(), goal.measured, goal.unit,
                goal.limit, goal.unit, goal.measured <= goal.limit ? "PASS" : "MISS");
    std::fflush(stdout);
}

TempFolder::TempFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    path_ = name.find(':') != std::string::npos ? name : std::string(temp) + name;
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    // SHFileOperation wants a double-NUL-terminated list.
    std::string from = path_;
    from.push_back('\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&op);
}

void WriteFileText(const std::string& path, const std::string& text) {
    HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace bench
