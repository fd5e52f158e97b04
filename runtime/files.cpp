#include "runtime/files.h"

#include <windows.h>

#include "runtime/text.h"

namespace runtime {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (valid()) ::CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    // Closes now and reports whether closing succeeded (the last buffered error shows here).
    bool Close() {
        const bool ok = ::CloseHandle(h_) != FALSE;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(bytes.size() < (1u << 20) ? bytes.size() : (1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A virus scanner or indexer may hold the target open for a moment; the rename is refused meanwhile.
bool RenameOver(const std::string& from, const std::string& to) {
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = ::GetLastError();
        if (attempt == 4 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) return false;
        ::Sleep(20);
    }
}

std::string ModulePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return path.substr(0, n);
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7fffffff) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), &bytes[got], static_cast<DWORD>(bytes.size() - got), &n, nullptr))
            return std::nullopt;
        if (n == 0) break;  // the file shrank while we read it
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

std::string ReplaceTempPath(const std::string& path) { return path + ".tmp"; }

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    const std::string temp = ReplaceTempPath(path);
    FileHandle file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    // The flush comes before the rename, so that the name never points at data still in the cache.
    const bool written = WriteAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
    if (file.Close() && written && RenameOver(temp, path)) return true;
    ::DeleteFileA(temp.c_str());
    return false;
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::string RunDirectory() {
    const std::string path = ModulePath();
    const int slash = FindLast(path, "\\");
    return slash < 1 ? std::string() : path.substr(0, static_cast<std::size_t>(slash) - 1);
}

std::string ExeFileName() {
    const std::string path = ModulePath();
    const int slash = FindLast(path, "\\");  // the name starts right after it, or at the start
    return path.substr(slash < 1 ? 0 : static_cast<std::size_t>(slash));
}

}  // namespace runtime
