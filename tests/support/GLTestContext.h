#pragma once
// One real window and GL context per test process, opened through the device manager on the
// first call and kept until the process ends (the window library cannot be started twice).
void ensureGLContext();
