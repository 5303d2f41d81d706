#include "Geometry.h"
#include "Color.h"

#include <cmath>
#include <cstring>

const Color BLACK(0, 0, 0, 255);
const Color WHITE(255, 255, 255, 255);
const Color RED(255, 0, 0, 255);

float length(const Float3& v) {
    float sum = 0.f;
    for (int i = 0; i < 3; ++i) sum += v[i] * v[i];
    return std::sqrt(sum);
}

void normalize(Float3& v) {
    float l = length(v);
    for (int i = 0; i < 3; ++i) v[i] /= l;
}

float dot(const Float3& a, const Float3& b) { return a.x() * b.x() + a.y() * b.y() + a.z() * b.z(); }

Float3 cross(const Float3& a, const Float3& b) {
    return Float3(a.y() * b.z() - a.z() * b.y(), a.z() * b.x() - a.x() * b.z(), a.x() * b.y() - a.y() * b.x());
}

bool nearlyEqual(const Float3& a, const Float3& b, float epsilon) {
    for (int i = 0; i < 3; ++i) {
        float d = b[i] - a[i];
        if (!(std::fabs(d) < epsilon)) return false;
    }
    return true;
}

Float3 sphericalToCartesian(float r, float theta, float phi) {
    float s = std::sin(theta) * r;
    return Float3(std::cos(phi) * s, r * std::cos(theta), std::sin(phi) * s);
}

// Halves go away from zero.
static int nearestInt(float v) {
    return v >= 0.f ? static_cast<int>(std::floor(v + 0.5f)) : static_cast<int>(std::ceil(v - 0.5f));
}

Int2 rotateAround(const Int2& p, const Int2& c, float angle, int xOffset) {
    float dx = static_cast<float>(p.x() - c.x());
    float dy = static_cast<float>(p.y() - c.y());
    float q = dx * dx + dy * dy;
    int32_t bits;
    std::memcpy(&bits, &q, sizeof bits);
    bits = 0x5f3759df - (bits >> 1);
    float y;
    std::memcpy(&y, &bits, sizeof y);
    y = y * (1.5f - 0.5f * q * y * y);
    float r = 1.f / y;
    float a = std::atan2(dy, dx) + angle;
    return Int2(c.x() + nearestInt(r * std::cos(a)) + xOffset, c.y() + nearestInt(r * std::sin(a)));
}

void rotatedRectangle(const Int2& h, const Int2& p, const Int2& s, float angleDegrees, int topXOffset,
                      int bottomXOffset, Int2 corners[4]) {
    float angle = angleDegrees * 3.1415927f / 180.f;
    int left = p.x() - h.x(), top = p.y() - h.y();
    corners[0] = rotateAround(Int2(left + s.x(), top + s.y()), p, angle, bottomXOffset);
    corners[1] = rotateAround(Int2(left, top + s.y()), p, angle, bottomXOffset);
    corners[2] = rotateAround(Int2(left, top), p, angle, topXOffset);
    corners[3] = rotateAround(Int2(left + s.x(), top), p, angle, topXOffset);
}
