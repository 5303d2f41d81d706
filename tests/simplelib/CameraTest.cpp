#include "Camera.h"
#include "ErrorReport.h"

#include <gtest/gtest.h>

static void expectSameOrientation(const Quaternion& a, const Quaternion& b) {
    EXPECT_NEAR(a.x, b.x, 1e-6);
    EXPECT_NEAR(a.y, b.y, 1e-6);
    EXPECT_NEAR(a.z, b.z, 1e-6);
    EXPECT_NEAR(a.w, b.w, 1e-6);
}

TEST(Camera, StartsAtIdentity) {
    Camera camera;
    EXPECT_EQ(camera.position(), Float3(0.f, 0.f, 0.f));
    const Quaternion& q = camera.orientation();
    EXPECT_EQ(q.x, 0.f);
    EXPECT_EQ(q.y, 0.f);
    EXPECT_EQ(q.z, 0.f);
    EXPECT_EQ(q.w, 1.f);
    float m[16];
    toMatrix(q, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], (i % 5 == 0) ? 1.f : 0.f) << i;
}

TEST(Camera, PitchAndYawComposeInFixedOrder) {
    Camera twice, once, yawFirst, pitchFirst;
    twice.rotateX(10.f);
    twice.rotateX(10.f);
    once.rotateX(20.f);
    EXPECT_FLOAT_EQ(twice.rotX(), 20.f);
    expectSameOrientation(twice.orientation(), once.orientation());

    yawFirst.rotateY(30.f);
    yawFirst.rotateX(10.f);
    pitchFirst.rotateX(10.f);
    pitchFirst.rotateY(30.f);
    expectSameOrientation(yawFirst.orientation(), pitchFirst.orientation());

    Quaternion expected = multiply(fromAxisAngle(Float3(0.f, 1.f, 0.f), 30.f * 0.017453292f),
                                   fromAxisAngle(Float3(1.f, 0.f, 0.f), 10.f * 0.017453292f));
    expectSameOrientation(pitchFirst.orientation(), expected);
}

TEST(Camera, SetOneAngleKeepsTheOther) {
    Camera camera;
    camera.rotateX(10.f);
    camera.rotateY(20.f);
    camera.setRotX(45.f);
    EXPECT_FLOAT_EQ(camera.rotX(), 45.f);
    EXPECT_FLOAT_EQ(camera.rotY(), 20.f);
    camera.setRotY(-5.f);
    EXPECT_FLOAT_EQ(camera.rotX(), 45.f);
    EXPECT_FLOAT_EQ(camera.rotY(), -5.f);

    Camera direct;
    direct.setRotation(Float3(45.f, -5.f, 0.f));
    expectSameOrientation(camera.orientation(), direct.orientation());
}

TEST(Camera, RotationMatrixIsColumnMajor) {
    // A quarter turn about y sends +x to -z: column 0 is the image of +x.
    float m[16];
    toMatrix(fromAxisAngle(Float3(0.f, 2.f, 0.f), 1.5707964f), m);
    EXPECT_NEAR(m[0], 0.f, 1e-6);
    EXPECT_NEAR(m[2], -1.f, 1e-6);
    EXPECT_NEAR(m[8], 1.f, 1e-6);
}

TEST(CameraDeathTest, SetRotationNeedsZeroRoll) {
    Camera camera;
    camera.setRotation(Float3(10.f, 20.f, 0.f));
    EXPECT_FLOAT_EQ(camera.rotX(), 10.f);
    EXPECT_FLOAT_EQ(camera.rotY(), 20.f);
    EXPECT_EXIT(camera.setRotation(Float3(10.f, 20.f, 1.f)), testing::ExitedWithCode(1),
                "Condition: rot.z\\(\\) == 0.f");
}
