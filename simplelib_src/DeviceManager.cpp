#include "DeviceManager.h"
#include "ErrorReport.h"

DeviceManager* deviceManager = nullptr;

DeviceManager::DeviceManager(const std::string& programPath, const std::string& title, int width, int height,
                             bool fullScreen)
    : GLManager(programPath, title, width, height, fullScreen) {}

DeviceManager::~DeviceManager() {}

void createDeviceManager(const std::string& programPath, const std::string& title, int width, int height,
                         bool fullScreen) {
    ASSERT(deviceManager == NULL);
    deviceManager = new DeviceManager(programPath, title, width, height, fullScreen);
}

void destroyDeviceManager() {
    ASSERT(deviceManager != NULL);
    delete deviceManager;
    deviceManager = nullptr;
}
