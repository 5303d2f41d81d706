#pragma once
// Brings the audio library up and down and shares one sound per file name; sounds live until
// the manager goes.
#include <map>
#include <string>

class Sound_Abstract;

class SoundManager {
public:
    std::map<std::string, Sound_Abstract*> sounds;  // owned

    explicit SoundManager(const std::string& programPath);
    ~SoundManager();

    // Never null: a file that cannot be read gives a silent sound.
    Sound_Abstract* getSound(const std::string& name);
};
