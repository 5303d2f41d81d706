#pragma once
// The spine of the program: owns the world, the font, the sound manager and the running
// script, and runs one frame per call of `loop` until `running` goes false.
//
// Creation order: device manager (window, context, 2D/3D scenes, sprites, keyboard), sound
// manager, font, loading screen, world, script. Deletion order: script, world, sound manager,
// font, device manager last.
#include <cstdint>
#include <string>

class World;
class Font;
class SoundManager;
class ScriptHost;

class Engine {
public:
    World* world;                // owned
    bool running;                // the entry point calls loop while true
    Font* font;                  // owned
    SoundManager* soundManager;  // owned
    ScriptHost* script;          // owned; null until reloadScript and after unloadScript

    explicit Engine(const std::string& programPath);
    ~Engine();

    void loop();
    void reloadScript();
    void unloadScript();

private:
    void showLoadingScreen();
    bool isCubeTypeDialogOpen() const;
    void handleKeys();
    void handleMouse();
    void serveSavedGames();
    void drawStatistics(int32_t swapTime, int64_t loopEventTime, int64_t manageTime);
};

// The overlay's statistics text for one frame.
std::string statisticsText(int64_t periodDuration, int32_t swapTime, int64_t loopEventTime, int64_t manageTime);
