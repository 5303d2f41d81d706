#pragma once
// Geometry helpers shared by the camera, the 3D scene and the sprites. Angles are radians here
// unless the name says degrees.
#include "BasicVector.h"

void normalize(Float3& v);
// Length with the sum taken in float from 0, as normalize measures it.
float length(const Float3& v);
float dot(const Float3& a, const Float3& b);
Float3 cross(const Float3& a, const Float3& b);
bool nearlyEqual(const Float3& a, const Float3& b, float epsilon);
Float3 sphericalToCartesian(float r, float theta, float phi);

// P turned about C; the length uses the fast inverse square root, so it comes out slightly long
// (100 stays 100, 500 becomes 501).
Int2 rotateAround(const Int2& p, const Int2& c, float angle, int xOffset);

// Corners bottom-right, bottom-left, top-left, top-right (y down) of a rectangle of size S whose
// hot spot H sits at P, turned by angleDegrees about P.
void rotatedRectangle(const Int2& hotSpot, const Int2& position, const Int2& size, float angleDegrees, int topXOffset,
                      int bottomXOffset, Int2 corners[4]);
