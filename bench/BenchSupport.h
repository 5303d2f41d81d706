#pragma once
// What the benchmarks share.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

// The engine's console lines go to /dev/null while it lives; the benchmark table stays.
struct QuietStdout {
    int console;
    QuietStdout() {
        std::fflush(stdout);
        console = dup(1);
        int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        close(devNull);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(console, 1);
        close(console);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;
};
