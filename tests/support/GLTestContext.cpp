#include "GLTestContext.h"
#include "DeviceManager.h"

void ensureGLContext() {
    if (!deviceManager) createDeviceManager("cubist-tests", "", 800, 600, false);
}
