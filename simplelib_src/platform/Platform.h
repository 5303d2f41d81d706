#pragma once
// The one place that knows the engine runs on Linux/X11: clocks, sleeping, the modal message
// box and GL entry-point lookup. Everything else calls these and stays portable.
#include <cstdint>
#include <string>

namespace platform {

// Microseconds from a monotonic clock; only differences are meaningful.
int64_t monotonicMicroseconds();

// The wall clock as whole seconds and microseconds within that second (0 to 999999).
void wallClock(int64_t& seconds, int64_t& microseconds);

void sleepMilliseconds(int milliseconds);

// Shows a modal box with a warning mark, the (multi-line) text and one OK button, and returns
// when OK is clicked or Enter or Escape is pressed. Returns at once, showing nothing, when the
// environment variable CUBIST_NO_DIALOG is set or no X display can be opened.
void showMessageBox(const std::string& title, const std::string& text);

// Address of a GL or GL extension function by name, or null.
void* getGLProcAddress(const char* name);

// Whether the display offers multisampled pixel formats (GLX_ARB_multisample).
bool hasMultisamplePixelFormats();

}  // namespace platform
