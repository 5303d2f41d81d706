#pragma once
#include "Sound_Abstract.h"

#include <string>

// One OpenAL buffer and one source at the listener, so the sound is heard the same everywhere.
// A file that cannot be read gives the null buffer: the sound plays silence.
class Sound_OpenAL : public Sound_Abstract {
public:
    unsigned int buffer;  // owned
    unsigned int source;  // owned

    static Sound_OpenAL* create(const std::string& name);

    void play(bool wait) override;
    void setFarPosition(unsigned char value) override;
    bool isPlaying() override;
    ~Sound_OpenAL() override;

private:
    Sound_OpenAL(unsigned int buffer, unsigned int source);
};
