#include "TempFolder.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <stdexcept>

// A death-test child leaves through exit(), past every destructor: remove its folders then.
static std::vector<std::string> liveFolders;

static void removeLiveFolders() {
    for (const std::string& folder : liveFolders) {
        std::string command = "rm -rf '" + folder + "'";
        if (std::system(command.c_str()) != 0) continue;
    }
}

TempFolder::TempFolder() {
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(removeLiveFolders);
    }
    char name[] = "/tmp/cubist-test-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("cannot make a temporary folder");
    folder = name;
    char here[4096];
    previous = getcwd(here, sizeof here) ? here : "/tmp";
    if (chdir(folder.c_str()) != 0) throw std::runtime_error("cannot enter " + folder);
    liveFolders.push_back(folder);
}

TempFolder::~TempFolder() {
    liveFolders.erase(std::remove(liveFolders.begin(), liveFolders.end(), folder), liveFolders.end());
    if (chdir(previous.c_str()) != 0) return;
    std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0) return;
}
