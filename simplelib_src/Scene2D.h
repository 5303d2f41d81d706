#pragma once
// The 2D overlay space: an orthographic projection with y growing downward, stretched over the
// window unless it follows the window's size, and the 2D drawing primitives.
#include "BasicVector.h"

#include <string>

class Scene2D {
public:
    Int2 windowSize;    // pixels; never zero when the projection is applied
    Int2 sceneSize;     // extent of the 2D coordinates
    Float2 sceneScale;  // sceneSize / windowSize, recomputed by apply2D
    bool followWindow;  // sceneSize follows every window size change

    Scene2D(const Int2& windowSize, const Int2& sceneSize, const Float2& sceneScale, bool followWindow);

    void apply2D();
    Int2 windowToScene(const Int2& p) const;

    // Font glyphs: texture corners (uLeft, vTop) to (uRight, vBottom) on the rectangle at (x, y).
    void drawTexturedRect(unsigned int texture, int x, int y, float uLeft, float vTop, float uRight, float vBottom,
                          int width, int height);
    // Sprites: corners in the order bottom-right, bottom-left, top-left, top-right.
    void drawTexturedQuad(const Int2 corners[4], unsigned int texture, bool flipX, bool flipY);
    // Untextured, in the current colour; texturing stays off.
    void drawRect(const Int2& a, const Int2& b);
    // The 8 x 13 bitmap font; bytes above 127 draw nothing. Texturing stays off.
    void drawBitmapText(const std::string& text, int x, int y);
};

extern Scene2D* scene2D;
