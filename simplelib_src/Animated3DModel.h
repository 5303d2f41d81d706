#pragma once
// Frames of ObjModels played over a range, one step per framePeriod, upward or downward.
#include "Object3D.h"

#include <string>
#include <vector>

class ObjModel;

class Animated3DModel : public Object3D {
public:
    std::vector<ObjModel*> frames;  // owned
    int32_t idFrameMin;
    int32_t idFrameMax;
    int32_t nextFrameTime;  // ms from which the next step is due
    int32_t currentFrame;
    int32_t framePeriod;  // ms
    bool isForward;
    bool isPlaying;

    Animated3DModel(const std::vector<std::string>& filenames, float scale);
    ~Animated3DModel() override;
    void setFrameRange(int32_t idFrameMin, int32_t idFrameMax);
    void draw() override;
    bool collide(const Float3& from, const Float3& to, Float3& contact) override;
};
