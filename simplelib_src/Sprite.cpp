#include "Sprite.h"
#include "ErrorReport.h"
#include "Geometry.h"
#include "Helpers.h"
#include "Image.h"
#include "Scene2D.h"

Sprite::Sprite(const std::vector<Image*>& images_, int hotSpotAlignment)
    : images(images_),
      isAnimated(images_.size() > 1),
      position(0, 0),
      hotSpot(0, 0),
      scaleX(1.f),
      scaleY(1.f),
      angle(0.f),
      lastFrameTime(0),
      currentImage(0),
      frameDuration(100),
      loopFrame(0),
      lastFrame(static_cast<int32_t>(images_.size()) - 1),
      geometryDirty(true) {
    ASSERT(images.size() >= 1);
    int w = images[0]->getWidth(), h = images[0]->getHeight();
    switch (hotSpotAlignment) {
        case 1: hotSpot = Int2(0, 0); break;
        case 2: hotSpot = Int2(w / 2, h / 2); break;
        case 3: hotSpot = Int2(w, h); break;
        case 4: hotSpot = Int2(0, h / 2); break;
        case 5: hotSpot = Int2(w, h / 2); break;
        default: FATAL_ERROR("Sprite::Sprite : unknown value of hotSpotAlignment");
    }
}

Int2 Sprite::getSize() const {
    float w = static_cast<float>(images[0]->getWidth()) * scaleX;
    float h = static_cast<float>(images[0]->getHeight()) * scaleY;
    return Int2(static_cast<int32_t>(w), static_cast<int32_t>(h));
}

void Sprite::fitInto(const Int2& size) {
    float byHeight = static_cast<float>(size.y()) / static_cast<float>(images[0]->getHeight());
    float byWidth = static_cast<float>(size.x()) / static_cast<float>(images[0]->getWidth());
    float s = byHeight < byWidth ? byHeight : byWidth;
    scaleX = scaleY = s;
    geometryDirty = true;
}

void Sprite::draw() {
    // The condition text is reported exactly as written here.
    // clang-format off
    ASSERT(images[currentImage]!= NULL);
    // clang-format on
    if (geometryDirty) rotatedRectangle(hotSpot, position, getSize(), angle, 0, 0, corners);
    scene2D->drawTexturedQuad(corners, images[currentImage]->getTextureId(), false, false);
    if (isAnimated) {
        int32_t now = getTimeMs();
        if (now > lastFrameTime + frameDuration) {
            ++currentImage;
            lastFrameTime = now;
            if (currentImage > lastFrame) currentImage = loopFrame;
        }
    }
}
