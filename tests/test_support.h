// Small helpers shared by the tests: scratch folders, whole-file reads and message pumping.
#pragma once

#include <string>
#include <vector>

struct HWND__;

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

// Pumps messages until `done()` is true or `ms` milliseconds have passed; returns done().
template <class Pred>
bool WaitUntil(Pred done, int ms) {
    for (int waited = 0; waited < ms; waited += 20) {
        if (done()) return true;
        PumpMessages(20);
    }
    return done();
}

// The folder of the running test exe (the build folder, where toolbox.exe is).
std::string ExeDirectory();

// A program started as a child process; terminated when the object dies if still running.
class ChildProcess {
public:
    explicit ChildProcess(const std::string& commandLine, const std::string& directory = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool started() const { return process_ != nullptr; }
    unsigned long id() const { return id_; }
    void* handle() const { return process_; }
    // Waits for the end; returns the exit code, or -1 when it still runs after `ms`.
    long WaitForExit(int ms);
    void Kill();

private:
    void* process_ = nullptr;
    unsigned long id_ = 0;
};

// The visible or hidden top-level windows of a process whose title is `title` (any title when
// empty).
std::vector<HWND__*> TopWindowsOf(unsigned long processId, const std::string& title = "");
std::string WindowText(HWND__* window);

// Runs xdotool (a Linux program) through Wine's start.exe and waits for it: keys and pointer moves
// made through the X server reach Wine like a person's.
void XdoTool(const std::string& arguments);

}  // namespace test
