#pragma once
// Runs the real engine binary in a temporary game folder on the test's X display and drives it
// like a user: keys and mouse through xdotool, screenshots through ImageMagick. Every wait has
// a timeout and the engine runs under a hard kill timeout of its own, so no test can hang.
#include <string>
#include <sys/types.h>
#include <vector>

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;  // rows top first
    void pixel(int x, int y, int out[3]) const;
};

class EngineRun {
public:
    // Makes an empty game folder; the folder is removed unless CUBIST_KEEP_E2E is set.
    EngineRun();
    ~EngineRun();
    EngineRun(const EngineRun&) = delete;
    EngineRun& operator=(const EngineRun&) = delete;

    const std::string& folder() const { return gameFolder; }
    void writeFile(const std::string& relativePath, const std::string& content) const;
    std::string readFile(const std::string& relativePath) const;
    bool hasFile(const std::string& relativePath) const;

    // Starts the engine; it is killed if it still runs after hardTimeoutSeconds.
    void start(int hardTimeoutSeconds = 90);
    // Waits until standard output holds the text; false on timeout or when the engine ended.
    bool waitForOutput(const std::string& text, double timeoutSeconds = 20.0);
    // Waits for the engine's window and puts the pointer over it so that keys reach it.
    bool waitForWindow(double timeoutSeconds = 20.0);
    // Exit code, or -1 when the engine did not end in time (it is then killed).
    int waitForExit(double timeoutSeconds = 20.0);
    bool isRunning();

    // xdotool key names: "Escape", "b", "F1", "Page_Up".
    void key(const std::string& keyName) const;
    void keyDown(const std::string& keyName) const;
    void keyUp(const std::string& keyName) const;
    // Pointer position relative to the window's top-left corner.
    void mouseMove(int x, int y) const;
    void click(int button) const;
    // The whole screen, also kept as name.png in the game folder.
    Picture screenshot(const std::string& name) const;

    std::string output() const;  // standard output so far
    std::string errors() const;  // standard error so far
    unsigned long windowId() const { return window; }

private:
    std::string gameFolder;
    pid_t pid;
    unsigned long window;
    int exitCode;
    bool exited;
};

// Runs a shell command, returns its standard output.
std::string runCommand(const std::string& command);
