#include "Engine.h"
#include "DeviceManager.h"
#include "EngineConstants.h"
#include "ErrorReport.h"
#include "Font.h"
#include "GLManager.h"
#include "Image.h"
#include "KeyboardManager.h"
#include "SavedGame.h"
#include "Scene2D.h"
#include "ScriptState.h"
#include "SoundManager.h"
#include "Sprite.h"
#include "SpriteManager.h"
#include "platform/Platform.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <sstream>

// Lower case as in the C locale; key codes above 255 stay as they are.
static int lowerCase(int code) { return code >= 'A' && code <= 'Z' ? code - 'A' + 'a' : code; }

Engine::Engine(const std::string& programPath)
    : world(nullptr), running(true), font(nullptr), soundManager(nullptr), script(nullptr) {
    std::printf("================ Initializing ...\n");
    createDeviceManager(programPath, "", START_WINDOW_WIDTH, START_WINDOW_HEIGHT, false);
    soundManager = new SoundManager(programPath);
    font = new Font();

    scene2D->followWindow = true;
    scene2D->apply2D();

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glCullFace(GL_FRONT);

    loopEvent();
    clearScreen(BLACK);
    glColor4ub(WHITE.r, WHITE.g, WHITE.b, WHITE.a);
    showLoadingScreen();

    reloadScript();
    std::printf("================ Initialized, first draw ...\n");
}

Engine::~Engine() {
    unloadScript();
    delete soundManager;
    soundManager = nullptr;
    delete font;
    font = nullptr;
    destroyDeviceManager();
}

void Engine::showLoadingScreen() {
    Sprite* logo = spriteManager->addSprite(LOGO_FILE_NAME, 2);
    font->drawText(-1, "Loading...", Float2(1.f, 1.f), 10, 10);
    logo->position = scene2D->sceneSize * 0.5f;
    logo->geometryDirty = true;
    logo->draw();
    loopEvent();
    spriteManager->removeSprite(logo);
}

void Engine::reloadScript() {
    std::printf("==== Reload script file\n");
    unloadScript();
    currentWorld = world;
    std::printf("==== Script file reloaded\n");
}

void Engine::unloadScript() {
    if (!script) return;
    globalVars.clear();
    script = nullptr;
}

bool Engine::isCubeTypeDialogOpen() const { return false; }

void Engine::loop() {
    int64_t t0 = platform::monotonicMicroseconds();
    int32_t swapTime = loopEvent();
    int64_t loopEventTime = platform::monotonicMicroseconds() - t0;

    for (int code : keyboardManager->keyEvents)
        if (lowerCase(code) == KEY_ESCAPE && !isCubeTypeDialogOpen()) running = false;

    if (quitRequested) {
        running = false;
        return;
    }

    handleKeys();
    handleMouse();

    currentWorld = world;
    int64_t m0 = platform::monotonicMicroseconds();
    serveSavedGames();
    int64_t manageTime = platform::monotonicMicroseconds() - m0;

    if (keyboardManager->keys['o'] || keyboardManager->keys['O']) drawStatistics(swapTime, loopEventTime, manageTime);
}

void Engine::handleKeys() {
    for (int code : keyboardManager->keyEvents) {
        if (!isCubeTypeDialogOpen()) {
            if (lowerCase(code) == 'b' && !isFullScreen) {
                isFullScreen = true;
                glutFullScreen();
            }
            // The window was put in full screen with glutFullScreen, which only
            // glutLeaveFullScreen undoes.
            if (lowerCase(code) == 'v' && isFullScreen) {
                isFullScreen = false;
                glutLeaveFullScreen();
            }
        }
    }
}

void Engine::handleMouse() {}

void Engine::serveSavedGames() {}

std::string statisticsText(int64_t period, int32_t swapTime, int64_t loopEventTime, int64_t manageTime) {
    std::ostringstream text;
    float fps = 1000000.f / static_cast<float>(period);
    text << "FPS: " << fps << "\n"
         << "Total: " << period << "\n"
         << "Time swap buffers:" << swapTime << "\n"
         << "Time loopEvent:" << loopEventTime << "\n"
         << "Time manage:" << manageTime << "\n";
    return text.str();
}

void Engine::drawStatistics(int32_t swapTime, int64_t loopEventTime, int64_t manageTime) {
    Color saved = getCurrentColor();
    glColor4ub(WHITE.r, WHITE.g, WHITE.b, WHITE.a);
    int y = font->image->getHeight() + 10;
    std::string text = statisticsText(periodDuration, swapTime, loopEventTime, manageTime);
    font->drawText(-1, text.c_str(), Float2(1.f, 1.f), 10, y);
    glColor4ub(saved.r, saved.g, saved.b, saved.a);
}
