#include "BasicVector.h"
#include "Color.h"
#include "Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

TEST(BasicVector, ComparisonsArePartialOrder) {
    struct Case {
        Int3 a, b;
        bool lt, le, gt, ge, eq;
    };
    const Case cases[] = {
        {Int3(0, 0, 0), Int3(0, 0, 0), false, true, false, true, true},
        {Int3(0, -1, 0), Int3(0, 0, 0), false, true, false, false, false},
        {Int3(1, 5, 0), Int3(2, 3, 0), false, false, false, false, false},
        {Int3(1, 2, 3), Int3(2, 3, 4), true, true, false, false, false},
        {Int3(1, 2, 3), Int3(1, 2, 4), false, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
        EXPECT_EQ(c.a < c.b, c.lt);
        EXPECT_EQ(c.a <= c.b, c.le);
        EXPECT_EQ(c.a > c.b, c.gt);
        EXPECT_EQ(c.a >= c.b, c.ge);
        EXPECT_EQ(c.a == c.b, c.eq);
        EXPECT_EQ(c.a != c.b, !c.eq);
    }
}

TEST(BasicVector, RangeCheckNeedsEveryComponent) {
    const Int3 size(4, 2, 3);
    auto inside = [&](Int3 i) { return i >= Int3(0, 0, 0) && i < size; };
    EXPECT_TRUE(inside(Int3(0, 0, 0)));
    EXPECT_TRUE(inside(Int3(3, 1, 2)));
    EXPECT_FALSE(inside(Int3(4, 0, 0)));
    EXPECT_FALSE(inside(Int3(0, -1, 0)));
    EXPECT_FALSE(inside(Int3(1, 1, 3)));
}

TEST(BasicVector, IntegerScalingByFloatTruncatesTowardZero) {
    EXPECT_EQ(Int2(7, -7) * 0.5f, Int2(3, -3));
    EXPECT_EQ(Int2(800, 600) * 0.5, Int2(400, 300));
    EXPECT_EQ(Int2(7, -7) / 2.f, Int2(3, -3));
    EXPECT_EQ(Int2(10, -10) / 3.f, Int2(3, -3));
    EXPECT_EQ(Int2(3, 4) * 2, Int2(6, 8));
}

TEST(BasicVector, ArithmeticAndConversion) {
    Int3 a(1, 2, 3);
    a += Int3(1, 1, 1);
    EXPECT_EQ(a - Int3(2, 3, 4), Int3(0, 0, 0));
    Float3 f = Int3(-1, 2, 3);
    EXPECT_EQ(f, Float3(-1.f, 2.f, 3.f));
    Int2 size(640, 480);
    EXPECT_EQ(size.width(), 640);
    EXPECT_EQ(size.height(), 480);
}

TEST(BasicVector, TextForm) {
    struct Case {
        std::string text, expected;
    };
    auto print = [](auto v) {
        std::ostringstream out;
        out << v;
        return out.str();
    };
    const Case cases[] = {
        {print(Int3(1, -2, 3)), "BasicVector<3,?(sizeof=4)> (1;-2;3;)"},
        {print(Float2(0.5f, -1.f)), "BasicVector<2,?(sizeof=4)> (0.5;-1;)"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

TEST(Color, NamedConstants) {
    EXPECT_EQ(BLACK, Color(0, 0, 0, 255));
    EXPECT_EQ(WHITE, Color(255, 255, 255, 255));
    EXPECT_EQ(RED, Color(255, 0, 0, 255));
}

TEST(Geometry, NearlyEqualIsStrictPerComponent) {
    EXPECT_TRUE(nearlyEqual(Float3(1.f, 2.f, 3.f), Float3(1.0005f, 2.f, 2.9995f), 0.001f));
    EXPECT_FALSE(nearlyEqual(Float3(0.f, 0.f, 0.f), Float3(0.f, 0.5f, 0.f), 0.5f));
    EXPECT_FALSE(nearlyEqual(Float3(0.f, 0.f, 0.f), Float3(0.f, 0.f, -1.f), 0.5f));
}

TEST(Geometry, Normalize) {
    Float3 v(3.f, 0.f, 4.f);
    normalize(v);
    EXPECT_FLOAT_EQ(v.x(), 0.6f);
    EXPECT_FLOAT_EQ(v.y(), 0.f);
    EXPECT_FLOAT_EQ(v.z(), 0.8f);
}

TEST(Geometry, SphericalToCartesian) {
    Float3 p = sphericalToCartesian(1.f, 1.5707964f, 0.f);
    EXPECT_NEAR(p.x(), 1.f, 1e-6);
    EXPECT_NEAR(p.y(), 0.f, 1e-6);
    EXPECT_NEAR(p.z(), 0.f, 1e-6);
    for (float phi : {0.f, 1.f, 2.5f, -3.f}) {
        Float3 up = sphericalToCartesian(1.f, 0.f, phi);
        EXPECT_NEAR(up.x(), 0.f, 1e-6);
        EXPECT_NEAR(up.y(), 1.f, 1e-6);
        EXPECT_NEAR(up.z(), 0.f, 1e-6);
    }
    Float3 side = sphericalToCartesian(2.f, 1.5707964f, 1.5707964f);  // phi turns +x toward +z
    EXPECT_NEAR(side.z(), 2.f, 1e-6);
}

TEST(Geometry, RotateAroundUsesFastInverseSquareRoot) {
    struct Case {
        Int2 p, c;
        float angle;
        int xOffset;
        Int2 expected;
    };
    const Case cases[] = {
        {Int2(100, 0), Int2(0, 0), 0.f, 0, Int2(100, 0)},          // length 100.164
        {Int2(500, 0), Int2(0, 0), 0.f, 0, Int2(501, 0)},          // length 500.849
        {Int2(110, 50), Int2(10, 50), 0.f, 7, Int2(117, 50)},      // offset added to x only
        {Int2(100, 0), Int2(0, 0), 3.1415927f, 0, Int2(-100, 0)},  // negative side rounds to nearest too
        {Int2(5, 5), Int2(5, 5), 1.f, 0, Int2(5, 5)},              // the centre stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p << " about " << c.c);
        EXPECT_EQ(rotateAround(c.p, c.c, c.angle, c.xOffset), c.expected);
    }
}

TEST(Geometry, RotatedRectangleCornerOrder) {
    Int2 corners[4];
    rotatedRectangle(Int2(8, 4), Int2(50, 40), Int2(16, 8), 0.f, 0, 0, corners);
    // bottom-right, bottom-left, top-left, top-right; top-left is P - H
    EXPECT_EQ(corners[0], Int2(58, 44));
    EXPECT_EQ(corners[1], Int2(42, 44));
    EXPECT_EQ(corners[2], Int2(42, 36));
    EXPECT_EQ(corners[3], Int2(58, 36));

    rotatedRectangle(Int2(0, 0), Int2(50, 40), Int2(10, 10), 0.f, 3, -2, corners);
    EXPECT_EQ(corners[0].x(), 60 - 2);  // bottom corners take the bottom offset
    EXPECT_EQ(corners[2].x(), 50 + 3);  // top corners the top offset

    rotatedRectangle(Int2(0, 0), Int2(0, 0), Int2(10, 0), 90.f, 0, 0, corners);
    EXPECT_EQ(corners[3], Int2(0, 10));  // (10, 0) turned a quarter toward +y
}
