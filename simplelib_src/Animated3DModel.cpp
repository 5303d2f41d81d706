#include "Animated3DModel.h"
#include "ErrorReport.h"
#include "Helpers.h"
#include "ObjModel.h"

Animated3DModel::Animated3DModel(const std::vector<std::string>& filenames, float scale)
    : idFrameMin(0),
      idFrameMax(0),
      nextFrameTime(0),
      currentFrame(0),
      framePeriod(500),
      isForward(false),
      isPlaying(true) {
    for (const std::string& name : filenames) frames.push_back(new ObjModel(name, scale, 0.f));
    idFrameMax = static_cast<int32_t>(frames.size()) - 1;
}

Animated3DModel::~Animated3DModel() {
    for (ObjModel* frame : frames) delete frame;
    frames.clear();
}

void Animated3DModel::setFrameRange(int32_t idFrameMin_, int32_t idFrameMax_) {
    // The checks are reported in the words of the fields they guard.
    {
        int32_t idFrameMin = idFrameMin_, idFrameMax = idFrameMax_;
        ASSERT(idFrameMin < idFrameMax && idFrameMin >= 0);
    }
    {
        size_t idFrameMax = static_cast<size_t>(idFrameMax_);  // positive after the first check
        ASSERT(idFrameMax < frames.size());
    }
    idFrameMin = idFrameMin_;
    idFrameMax = idFrameMax_;
    if (currentFrame > idFrameMax || currentFrame < idFrameMin) currentFrame = idFrameMin;
}

void Animated3DModel::draw() {
    int32_t now = getTimeMs();
    if (now > nextFrameTime && isPlaying) {
        nextFrameTime = now + framePeriod;
        if (isForward) {
            if (++currentFrame > idFrameMax) currentFrame = idFrameMin;
        } else {
            if (--currentFrame < idFrameMin) currentFrame = idFrameMax;
        }
    }
    frames[currentFrame]->draw();
}

bool Animated3DModel::collide(const Float3& from, const Float3& to, Float3& contact) {
    return frames[currentFrame]->collide(from, to, contact);
}
