#include "TempFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

TempFolder::TempFolder() {
    char name[] = "/tmp/cubist-test-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("cannot make a temporary folder");
    folder = name;
    char here[4096];
    previous = getcwd(here, sizeof here) ? here : "/tmp";
    if (chdir(folder.c_str()) != 0) throw std::runtime_error("cannot enter " + folder);
}

TempFolder::~TempFolder() {
    if (chdir(previous.c_str()) != 0) return;
    std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0) return;
}
