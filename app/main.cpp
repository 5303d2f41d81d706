#include "Engine.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    // Console lines must reach a pipe or a log file as they are printed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    std::string programPath = argc > 0 ? argv[0] : "";
    {
        Engine engine(programPath);
        while (engine.running) engine.loop();
    }
    return 0;
}
