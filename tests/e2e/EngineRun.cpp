#include "EngineRun.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

static std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string runCommand(const std::string& command) {
    std::string result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.append(buffer, n);
    pclose(pipe);
    return result;
}

static void pause(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

EngineRun::EngineRun() : pid(-1), window(0), exitCode(-1), exited(false) {
    char name[] = "/tmp/cubist-e2e-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("cannot make a game folder");
    gameFolder = name;
}

EngineRun::~EngineRun() {
    if (pid > 0 && !exited) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (!std::getenv("CUBIST_KEEP_E2E")) runCommand("rm -rf " + quote(gameFolder));
}

void EngineRun::writeFile(const std::string& relativePath, const std::string& content) const {
    std::string path = gameFolder + "/" + relativePath;
    runCommand("mkdir -p \"$(dirname " + quote(path) + ")\"");
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string EngineRun::readFile(const std::string& relativePath) const {
    std::ifstream in(gameFolder + "/" + relativePath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool EngineRun::hasFile(const std::string& relativePath) const {
    struct stat info;
    return stat((gameFolder + "/" + relativePath).c_str(), &info) == 0;
}

void EngineRun::start(int hardTimeoutSeconds) {
    pid = fork();
    if (pid == 0) {
        if (chdir(gameFolder.c_str()) != 0) _exit(126);
        std::freopen("stdout.txt", "w", stdout);
        std::freopen("stderr.txt", "w", stderr);
        std::string timeout = std::to_string(hardTimeoutSeconds);
        execlp("timeout", "timeout", "-s", "KILL", timeout.c_str(), CUBIST_BINARY, static_cast<char*>(nullptr));
        _exit(127);
    }
}

bool EngineRun::isRunning() {
    if (pid <= 0 || exited) return false;
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid) {
        exited = true;
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

bool EngineRun::waitForOutput(const std::string& text, double timeoutSeconds) {
    for (double waited = 0; waited < timeoutSeconds; waited += 0.05) {
        if (output().find(text) != std::string::npos) return true;
        if (!isRunning()) return output().find(text) != std::string::npos;
        pause(0.05);
    }
    return false;
}

bool EngineRun::waitForWindow(double timeoutSeconds) {
    // The engine's window is the only visible top-level window with an empty title.
    std::string root = runCommand("xwininfo -root | sed -n 's/.*Window id: \\(0x[0-9a-f]*\\).*/\\1/p'");
    unsigned long rootId = std::strtoul(root.c_str(), nullptr, 16);
    for (double waited = 0; waited < timeoutSeconds; waited += 0.1) {
        if (!isRunning()) return false;
        std::istringstream ids(runCommand("xdotool search --maxdepth 1 --onlyvisible --name '^$' 2>/dev/null"));
        unsigned long id;
        while (ids >> id) {
            if (id != rootId) {
                window = id;
                // Without a window manager the keyboard focus follows the pointer.
                mouseMove(10, 10);
                return true;
            }
        }
        pause(0.1);
    }
    return false;
}

int EngineRun::waitForExit(double timeoutSeconds) {
    for (double waited = 0; waited < timeoutSeconds; waited += 0.05) {
        if (!isRunning()) return exited ? exitCode : -1;
        pause(0.05);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    exited = true;
    exitCode = -1;
    return -1;
}

void EngineRun::key(const std::string& keyName) const { runCommand("xdotool key " + quote(keyName)); }
void EngineRun::keyDown(const std::string& keyName) const { runCommand("xdotool keydown " + quote(keyName)); }
void EngineRun::keyUp(const std::string& keyName) const { runCommand("xdotool keyup " + quote(keyName)); }

void EngineRun::mouseMove(int x, int y) const {
    runCommand("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
               std::to_string(y));
}

void EngineRun::click(int button) const { runCommand("xdotool click " + std::to_string(button)); }

Picture EngineRun::screenshot(const std::string& name) const {
    std::string path = gameFolder + "/" + name + ".png";
    runCommand("import -window root " + quote(path));
    Picture picture;
    std::istringstream size(runCommand("identify -format '%w %h' " + quote(path)));
    size >> picture.width >> picture.height;
    std::string bytes = runCommand("convert " + quote(path) + " -depth 8 rgb:-");
    picture.rgb.assign(bytes.begin(), bytes.end());
    if (picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3) picture = Picture();
    return picture;
}

void Picture::pixel(int x, int y, int out[3]) const {
    out[0] = out[1] = out[2] = -1;
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    for (int i = 0; i < 3; ++i) out[i] = p[i];
}

std::string EngineRun::output() const { return readFile("stdout.txt"); }
std::string EngineRun::errors() const { return readFile("stderr.txt"); }
