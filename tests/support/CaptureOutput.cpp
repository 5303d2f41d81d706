#include "CaptureOutput.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

CaptureStdout::CaptureStdout() : taken(false) {
    char name[] = "/tmp/cubist-stdout-XXXXXX";
    int fd = mkstemp(name);
    path = name;
    std::fflush(stdout);
    savedFd = dup(1);
    dup2(fd, 1);
    close(fd);
}

CaptureStdout::~CaptureStdout() { take(); }

std::string CaptureStdout::take() {
    if (taken) return std::string();
    taken = true;
    std::fflush(stdout);
    dup2(savedFd, 1);
    close(savedFd);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(path.c_str());
    return text.str();
}
