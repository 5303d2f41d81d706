#pragma once
// A textured rectangle of the 2D scene: its hot spot sits at `position`. Sprites are made and
// destroyed only by the sprite manager, which owns their images.
#include "BasicVector.h"

#include <vector>

class Image;

class Sprite {
public:
    std::vector<Image*> images;  // at least one; not owned
    bool isAnimated;             // more than one image
    Int2 position;               // 2D scene pixels, y down
    Int2 hotSpot;                // pixels of the first image
    float scaleX, scaleY;
    float angle;            // degrees about position
    int32_t lastFrameTime;  // ms
    int32_t currentImage;
    int32_t frameDuration;  // ms
    int32_t loopFrame;
    int32_t lastFrame;
    Int2 corners[4];     // bottom-right, bottom-left, top-left, top-right
    bool geometryDirty;  // set by whoever moves or scales the sprite

    // hotSpotAlignment: 1 top-left, 2 centre, 3 bottom-right, 4 middle left, 5 middle right.
    Sprite(const std::vector<Image*>& images, int hotSpotAlignment);

    void draw();
    Int2 getSize() const;
    // Uniform scale that fits the sprite into the size, keeping its proportions.
    void fitInto(const Int2& size);
};
