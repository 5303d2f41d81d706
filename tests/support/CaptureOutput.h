#pragma once
#include <string>

// Collects what is written to standard output between construction and take().
class CaptureStdout {
public:
    CaptureStdout();
    ~CaptureStdout();
    std::string take();

private:
    int savedFd;
    std::string path;
    bool taken;
};
