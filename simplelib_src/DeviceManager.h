#pragma once
#include "GLManager.h"

// The rendering side of the program: window, context and the singletons of the GLManager.
// The engine creates it first and destroys it last.
class DeviceManager : public GLManager {
public:
    DeviceManager(const std::string& programPath, const std::string& title, int width, int height, bool fullScreen);
    ~DeviceManager() override;
};

extern DeviceManager* deviceManager;

void createDeviceManager(const std::string& programPath, const std::string& title, int width, int height,
                         bool fullScreen);
void destroyDeviceManager();
