#include "Sound_OpenAL.h"
#include "platform/Platform.h"

#include <AL/al.h>
#include <AL/alut.h>

Sound_OpenAL::Sound_OpenAL(unsigned int buffer_, unsigned int source_) : buffer(buffer_), source(source_) {}

Sound_OpenAL* Sound_OpenAL::create(const std::string& name) {
    ALuint source = 0;
    alGenSources(1, &source);
    alListener3f(AL_POSITION, 0.f, 0.f, 0.f);
    alSource3f(source, AL_POSITION, 0.f, 0.f, 0.f);
    ALuint buffer = alutCreateBufferFromFile(name.c_str());
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    return new Sound_OpenAL(buffer, source);
}

void Sound_OpenAL::play(bool wait) {
    alSourcePlay(source);
    if (!wait) return;
    for (;;) {
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_STOPPED) return;
        platform::sleepMilliseconds(10);
    }
}

void Sound_OpenAL::setFarPosition(unsigned char value) {
    double x = 2025500.0 - 100.0 * value;
    alSource3f(source, AL_POSITION, static_cast<float>(x), 0.f, 0.f);
}

bool Sound_OpenAL::isPlaying() {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state != AL_STOPPED && state != AL_INITIAL;
}

Sound_OpenAL::~Sound_OpenAL() {
    alDeleteSources(1, &source);
    alDeleteBuffers(1, &buffer);
}
