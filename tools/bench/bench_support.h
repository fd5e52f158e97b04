// What the bench's measurements share: a clock, per-call timing, medians, and the result lines that
// set a measured ratio against its goal.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// Seconds from an arbitrary start, from the performance counter.
double Now();

// Microseconds per call of `work(i)` over `rounds` calls, after a few warm-up calls.
template <class Work>
double MicrosPerCall(int rounds, Work work) {
    for (int i = 0; i < 5; ++i) work(i);
    const double start = Now();
    for (int i = 0; i < rounds; ++i) work(i);
    return (Now() - start) * 1e6 / rounds;
}

double Median(std::vector<double> values);

// One goal: `measured` must not exceed `limit`; both in the same unit (a ratio or a percentage).
struct Goal {
    std::string name;
    double measured;
    double limit;
    const char* unit;  // "x" or "%"
};
void PrintGoal(const Goal& goal);

// A fresh folder for the bench's files, removed with them at the end: `name` under the temp
// directory, or the full path `name` when it has a drive.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void WriteFileText(const std::string& path, const std::string& text);

// The folder of bench.exe (the build folder, where toolbox.exe and bare_window.exe are).
std::string ExeFolder();

// The parts of the bench; each prints its own figures and goals.
void RunFrameBench();
void RunListBench();
void RunStartupBench();
void RunIdleBench(int seconds);

}  // namespace bench
