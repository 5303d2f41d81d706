#include "SoundManager.h"
#include "Sound_OpenAL.h"

#include <AL/alut.h>

SoundManager::SoundManager(const std::string& programPath) {
    static std::string argument;  // ALUT may keep pointers into its arguments
    argument = programPath;
    char* argv[2] = {&argument[0], nullptr};
    int argc = 1;
    alutInit(&argc, argv);
}

SoundManager::~SoundManager() {
    for (auto& entry : sounds) delete entry.second;
    sounds.clear();
    alutExit();
}

Sound_Abstract* SoundManager::getSound(const std::string& name) {
    auto found = sounds.find(name);
    if (found != sounds.end()) return found->second;
    Sound_Abstract* sound = Sound_OpenAL::create(name);
    sounds[name] = sound;
    return sound;
}
