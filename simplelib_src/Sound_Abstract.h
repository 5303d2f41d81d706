#pragma once

// A sound effect as the player and the script use it.
class Sound_Abstract {
public:
    // Starts from the beginning (a playing sound restarts); wait blocks until it has finished.
    virtual void play(bool wait) = 0;
    // Moves the source away along x: nothing calls it.
    virtual void setFarPosition(unsigned char value) = 0;
    virtual bool isPlaying() = 0;
    virtual ~Sound_Abstract() {}
};
