// Side-by-side timings of the toolbox, each against its goal: hover feedback against a full frame,
// the list fill against the bare shell icon work, start-up against a bare Win32 program, and the
// CPU time of the idle toolbox.
// Usage: bench [--quick] [frame] [list] [startup] [idle]
//   no part named: all four; --quick leaves out the 60-second idle measurement.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/bench/bench_support.h"

int main(int argc, char** argv) {
    bool quick = false;
    std::string parts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else
            parts += std::string(" ") + argv[i] + " ";
    }
    const auto wanted = [&](const char* part) {
        return parts.empty() || parts.find(std::string(" ") + part + " ") != std::string::npos;
    };
    if (wanted("frame")) bench::RunFrameBench();
    if (wanted("list")) bench::RunListBench();
    if (wanted("startup")) bench::RunStartupBench();
    if (wanted("idle")) {
        if (quick)
            std::printf("idle: left out (--quick)\n");
        else
            bench::RunIdleBench(60);
    }
    return 0;
}
