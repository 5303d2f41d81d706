#pragma once
#include <cstdint>

// Four bytes r, g, b, a. Handed to GL as float it is divided by 255, except the fog colour (256).
struct Color {
    uint8_t r, g, b, a;
    Color() : r(0), g(0), b(0), a(0) {}
    Color(uint8_t r_, uint8_t g_, uint8_t b_, uint8_t a_ = 255) : r(r_), g(g_), b(b_), a(a_) {}
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};

extern const Color BLACK;
extern const Color WHITE;
extern const Color RED;
