// Small helpers shared by the tests: scratch folders, whole-file reads and message pumping.
#pragma once

#include <string>

namespace test {

// A fresh empty folder under the temp directory, removed with its files when the object dies.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Dispatches pending messages of this thread for about `ms` milliseconds.
void PumpMessages(int ms);

}  // namespace test
