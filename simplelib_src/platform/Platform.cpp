#include "Platform.h"
#include "Helpers.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <sys/time.h>
#include <time.h>

#include <cerrno>

namespace platform {

int64_t monotonicMicroseconds() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void wallClock(int64_t& seconds, int64_t& microseconds) {
    timeval tv;
    gettimeofday(&tv, nullptr);
    seconds = tv.tv_sec;
    microseconds = tv.tv_usec;
}

void sleepMilliseconds(int milliseconds) {
    if (milliseconds <= 0) return;
    timespec left = {milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

void* getGLProcAddress(const char* name) {
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

bool hasMultisamplePixelFormats() {
    // The window's own connection when there is one; a private one otherwise.
    Display* display = glXGetCurrentDisplay();
    bool ownConnection = display == nullptr;
    if (ownConnection) display = XOpenDisplay(nullptr);
    if (!display) return false;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    bool found = isExtensionInList("GLX_ARB_multisample", extensions);
    if (ownConnection) XCloseDisplay(display);
    return found;
}

}  // namespace platform
