// The message box runs in a forked child and is driven from outside with xdotool, the way a user
// would: if it ignores the input or never shows up, the child is killed and the case fails.
#include "platform/Platform.h"

#include <gtest/gtest.h>
// After gtest: Xlib's None and Bool macros would break its headers.
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// How the box's own layout places the OK button: centred, its middle this far above the bottom.
const int buttonCentreFromBottom = 30;  // px: 16 margin + half of the 28 px button

enum class Close { ByItself, Return, Escape, KeypadEnter, ClickOk, WindowManager };

struct BoxCase {
    const char* name;
    bool noDialog;     // CUBIST_NO_DIALOG set in the child
    std::string text;
    bool strayInput;   // first send input that must leave the box open
    Close close;
};

void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }

std::string run(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int result = pclose(pipe);
    if (status) *status = result;
    return output;
}

// True and the exit status once the child has ended, false if it is still running after the wait.
bool waitForExit(pid_t child, int milliseconds, int& status) {
    for (int waited = 0;; waited += 50) {
        pid_t result = waitpid(child, &status, WNOHANG);
        if (result == child || result < 0) return true;
        if (waited >= milliseconds) return false;
        usleep(50 * 1000);
    }
}

pid_t showInChild(const BoxCase& c) {
    pid_t child = fork();
    if (child == 0) {
        // Only the child's environment changes; the test process keeps its own.
        if (c.noDialog)
            setenv("CUBIST_NO_DIALOG", "1", 1);
        else
            unsetenv("CUBIST_NO_DIALOG");
        platform::showMessageBox("Problem", c.text);
        _exit(0);
    }
    return child;
}

// The box's window id once it is mapped, or "" if the child ends first or it never appears.
std::string findBox(pid_t child, int& status, bool& exited) {
    exited = false;
    for (int waited = 0; waited < 10000; waited += 100) {
        std::istringstream ids(run("xdotool search --onlyvisible --name '^Problem$'"));
        std::string id;
        if (ids >> id) return id;
        if ((exited = waitForExit(child, 0, status))) return "";
        usleep(100 * 1000);
    }
    return "";
}

std::map<std::string, int> geometry(const std::string& command) {
    std::map<std::string, int> values;
    std::istringstream lines(run(command));
    for (std::string line; std::getline(lines, line);) {
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        values[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    }
    return values;
}

// What a window manager sends when the user closes the window.
void sendDeleteWindow(const std::string& id) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::strtoul(id.c_str(), nullptr, 10);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

// Window-relative "x y" of the OK button's centre.
std::string okPosition(int width, int height) {
    return std::to_string(width / 2) + " " + std::to_string(height - buttonCentreFromBottom);
}

void sendClose(Close close, const std::string& id, int width, int height, bool retry) {
    const char* key = close == Close::Return ? "Return" : close == Close::Escape ? "Escape" : "KP_Enter";
    switch (close) {
        case Close::ByItself:
            break;
        case Close::Return:
        case Close::Escape:
        case Close::KeypadEnter:
            if (retry)
                run("xdotool windowfocus " + id + " key " + key);
            else
                run("xdotool key --window " + id + " " + key);
            break;
        case Close::ClickOk:
            run("xdotool mousemove --window " + id + " " + okPosition(width, height) + " click 1");
            break;
        case Close::WindowManager:
            sendDeleteWindow(id);
            break;
    }
}

// Other keys, other buttons and a press and release that are not both on OK.
void sendStrayInput(const std::string& id, int width, int height) {
    std::string ok = okPosition(width, height);
    std::string top = std::to_string(width / 2) + " 8";
    std::string move = "mousemove --window " + id + " ";
    run("xdotool key --window " + id + " a space Tab");
    run("xdotool " + move + top + " click 1 " + move + ok + " click 3");
    run("xdotool " + move + ok + " mousedown 1 " + move + top + " mouseup 1");
    run("xdotool " + move + top + " mousedown 1 " + move + ok + " mouseup 1");
}

class MessageBoxTest : public testing::TestWithParam<BoxCase> {
protected:
    // Held for the whole suite: an X server without -noreset resets whenever its last client
    // leaves, and a box that opens its display during the reset finds none and returns at once.
    static Display* keepServerUp;
    static void SetUpTestSuite() { keepServerUp = XOpenDisplay(nullptr); }
    static void TearDownTestSuite() {
        if (keepServerUp) XCloseDisplay(keepServerUp);
        keepServerUp = nullptr;
    }

    void SetUp() override {
        if (!keepServerUp) GTEST_SKIP() << "no X display";
        int status = -1;
        run("xdotool version", &status);
        if (status != 0) GTEST_SKIP() << "xdotool is not available";
    }
};

Display* MessageBoxTest::keepServerUp = nullptr;

TEST_P(MessageBoxTest, ShowsAndClosesOnlyAsAsked) {
    const BoxCase& c = GetParam();
    pid_t child = showInChild(c);
    ASSERT_GT(child, 0);
    int status = -1;

    if (c.close == Close::ByItself) {
        bool exited = waitForExit(child, 5000, status);
        if (!exited) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        ASSERT_TRUE(exited) << "the box did not return at once";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return;
    }

    bool exited = false;
    std::string id = findBox(child, status, exited);
    if (id.empty()) {
        if (!exited) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        if (exited) FAIL() << "returned without showing the box, wait status " << status;
        FAIL() << "no box appeared within 10 s";
    }

    std::map<std::string, int> window = geometry("xdotool getwindowgeometry --shell " + id);
    std::map<std::string, int> screen = geometry("xdotool getdisplaygeometry --shell");
    int width = window["WIDTH"], height = window["HEIGHT"];
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    EXPECT_GE(window["X"], 0);
    EXPECT_GE(window["Y"], 0);
    EXPECT_LE(window["X"] + width, screen["WIDTH"]);
    EXPECT_LE(window["Y"] + height, screen["HEIGHT"]);

    if (c.strayInput) {
        sendStrayInput(id, width, height);
        if (waitForExit(child, 500, status)) FAIL() << "the box closed on input other than OK";
    }

    sendClose(c.close, id, width, height, false);
    exited = waitForExit(child, 2000, status);
    if (!exited) {
        sendClose(c.close, id, width, height, true);
        exited = waitForExit(child, 8000, status);
    }
    if (!exited) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ASSERT_TRUE(exited) << "the box did not close within 10 s";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child ended abnormally";
}

// Far more text than a screen holds; the box must still fit on it with OK reachable.
std::string hugeText() {
    std::string text;
    for (int line = 0; line < 200; ++line) text += std::string(300, 'x') + " \xe9\t|\n";
    return text;
}

const std::vector<BoxCase> cases = {
    {"NoDialogReturnsAtOnce", true, "line one\nline two", false, Close::ByItself},
    {"ReturnCloses", false, "line one\nline two", false, Close::Return},
    {"EscapeCloses", false, "line one\nline two", false, Close::Escape},
    {"KeypadEnterCloses", false, "line one\nline two", false, Close::KeypadEnter},
    {"ClickOnOkCloses", false, "line one\nline two", false, Close::ClickOk},
    {"WindowCloseCloses", false, "line one\nline two", false, Close::WindowManager},
    {"OtherInputKeepsItOpen", false, "line one\nline two", true, Close::Return},
    {"EmptyTextStillHasOk", false, "", false, Close::ClickOk},
    {"HugeTextFitsScreenWithOk", false, hugeText(), false, Close::ClickOk},
};

std::string caseName(const testing::TestParamInfo<BoxCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Box, MessageBoxTest, testing::ValuesIn(cases), caseName);

}  // namespace
