#include "GLManager.h"
#include "GLTestContext.h"
#include "Scene2D.h"
#include "Scene3D.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

class SceneTest : public testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        scene3D->camera.setRotation(Float3(0.f, 0.f, 0.f));
        savedPeriod = periodDuration;
    }
    void TearDown() override {
        periodDuration = savedPeriod;
        scene3D->camera.setRotation(Float3(0.f, 0.f, 0.f));
        for (bool& enabled : scene3D->lightEnabled) enabled = false;
    }
    int64_t savedPeriod = 0;
};

TEST_F(SceneTest, WindowToSceneStretchesUnlessFollowing) {
    Scene2D scene(Int2(800, 600), Int2(640, 480), Float2(1.f, 1.f), false);
    scene.apply2D();
    EXPECT_FLOAT_EQ(scene.sceneScale.x(), 0.8f);
    EXPECT_FLOAT_EQ(scene.sceneScale.y(), 0.8f);
    EXPECT_EQ(scene.windowToScene(Int2(799, 599)), Int2(639, 479));
    scene.followWindow = true;
    EXPECT_EQ(scene.windowToScene(Int2(799, 599)), Int2(799, 599));
    scene2D->apply2D();
}

TEST_F(SceneTest, PlaceCameraBehindTarget) {
    struct Case {
        float rotX, rotY;
        Float3 offset;
    };
    const Case cases[] = {
        {0.f, 0.f, Float3(0.f, 0.f, 10.f)},
        {30.f, 0.f, Float3(0.f, -5.f, 8.660254f)},
        {0.f, 90.f, Float3(10.f, 0.f, 0.f)},
    };
    for (const Case& c : cases) {
        scene3D->camera.setRotation(Float3(c.rotX, c.rotY, 0.f));
        scene3D->placeCamera(Float3(100.f, 20.f, -50.f), 10.f);
        const Float3& p = scene3D->camera.position();
        EXPECT_NEAR(p.x(), 100.f + c.offset.x(), 1e-4);
        EXPECT_NEAR(p.y(), 20.f + c.offset.y(), 1e-4);
        EXPECT_NEAR(p.z(), -50.f + c.offset.z(), 1e-4);

        // The target is straight ahead (on -z in eye space) at the distance.
        const float* m = scene3D->modelview;
        float tx = 100.f, ty = 20.f, tz = -50.f;
        EXPECT_NEAR(m[0] * tx + m[4] * ty + m[8] * tz + m[12], 0.f, 1e-3);
        EXPECT_NEAR(m[1] * tx + m[5] * ty + m[9] * tz + m[13], 0.f, 1e-3);
        EXPECT_NEAR(m[2] * tx + m[6] * ty + m[10] * tz + m[14], -10.f, 1e-3);
    }
    float current[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, current);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(current[i], scene3D->modelview[i]);
}

TEST_F(SceneTest, TurnCameraTowardEasesByFramePeriod) {
    scene3D->camera.setRotation(Float3(0.f, 100.f, 0.f));
    periodDuration = 10000;  // 10 % of the way
    scene3D->turnCameraToward(-30.f, 0.f, 0.f);
    EXPECT_NEAR(scene3D->camera.rotX(), -3.f, 1e-4);
    EXPECT_NEAR(scene3D->camera.rotY(), 90.f, 1e-4);

    periodDuration = 200000;  // clamped: all the way
    scene3D->turnCameraToward(-30.f, 45.f, 0.f);
    EXPECT_FLOAT_EQ(scene3D->camera.rotX(), -30.f);
    EXPECT_FLOAT_EQ(scene3D->camera.rotY(), 45.f);
}

TEST_F(SceneTest, DragCameraTurnsByPixelsSinceLastEvent) {
    scene3D->dragCamera(MouseEvent{100, 100, -1, MOUSE_MOVED}, false);
    EXPECT_FLOAT_EQ(scene3D->camera.rotX(), 0.f);
    scene3D->dragCamera(MouseEvent{90, 80, -1, MOUSE_DRAGGED}, true);
    EXPECT_FLOAT_EQ(scene3D->camera.rotX(), 20.f);
    EXPECT_FLOAT_EQ(scene3D->camera.rotY(), 10.f);
    EXPECT_EQ(scene3D->lastMouse, Int2(90, 80));
}

TEST_F(SceneTest, LightAttenuationAndEyeSpacePosition) {
    scene3D->lightEnabled[0] = true;
    scene3D->lightDistance[0] = 100.f;
    scene3D->lightEnabled[1] = true;
    scene3D->lightDistance[1] = -1.f;
    scene3D->lightPosition[1][0] = 0.f;
    scene3D->lightPosition[1][1] = 0.f;
    scene3D->lightPosition[1][2] = 0.f;
    scene3D->lightPosition[1][3] = 1.f;
    scene3D->placeCamera(Float3(0.f, 0.f, 0.f), 10.f);  // eye at (0, 0, 10) looking toward -z

    float value;
    glGetLightfv(GL_LIGHT0, GL_LINEAR_ATTENUATION, &value);
    EXPECT_FLOAT_EQ(value, 0.01f);
    glGetLightfv(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, &value);
    EXPECT_FLOAT_EQ(value, 0.00005f);
    glGetLightfv(GL_LIGHT1, GL_LINEAR_ATTENUATION, &value);
    EXPECT_EQ(value, 0.f);
    glGetLightfv(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, &value);
    EXPECT_EQ(value, 0.f);
    float diffuse[4];
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[3], 0.8f);

    float position[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_NEAR(position[2], -10.f, 1e-4);
    EXPECT_FLOAT_EQ(position[3], 1.f);
}

TEST_F(SceneTest, FogDividesColourBy256) {
    scene3D->setFog(Color(255, 0, 128, 255), 400.f);
    float color[4], start, end;
    glGetFloatv(GL_FOG_COLOR, color);
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_FLOAT_EQ(color[0], 0.99609375f);
    EXPECT_FLOAT_EQ(color[2], 0.5f);
    EXPECT_FLOAT_EQ(start, 300.f);
    EXPECT_FLOAT_EQ(end, 400.f);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    glDisable(GL_FOG);
}

TEST_F(SceneTest, WireBoxRestoresDrawingState) {
    const float repeat[3] = {1.f, 1.f, 1.f};
    scene3D->apply3DState();
    scene3D->drawBox(Float3(10.f, 10.f, 10.f), repeat, nullptr, false);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    int modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);  // front
    EXPECT_EQ(modes[1], GL_LINE);  // back
}

// A face culled as a back face would vanish from the world: every face must wind
// counter-clockwise seen from outside.
TEST(BoxVertices, FacesWindOutward) {
    const float repeat[3] = {2.f, 3.f, 4.f};
    float v[72], t[48];
    Scene3D::boxVertices(Float3(1.f, 2.f, 3.f), repeat, v, t);
    const float outward[6][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}};
    for (int face = 0; face < 6; ++face) {
        const float* p = v + face * 12;
        for (int corner = 0; corner < 4; ++corner) {
            const float* a = p + corner * 3;
            const float* b = p + ((corner + 1) % 4) * 3;
            const float* c = p + ((corner + 2) % 4) * 3;
            float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            float e2[3] = {c[0] - b[0], c[1] - b[1], c[2] - b[2]};
            float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
            float dot = n[0] * outward[face][0] + n[1] * outward[face][1] + n[2] * outward[face][2];
            EXPECT_GT(dot, 0.f) << "face " << face << " corner " << corner;
            for (int axis = 0; axis < 3; ++axis) {
                if (outward[face][axis] != 0.f) {
                    EXPECT_EQ(a[axis] * outward[face][axis], (axis + 1) * 1.f);
                }
            }
        }
    }
    EXPECT_EQ(t[0], 0.f);  // top starts at (0, R2)
    EXPECT_EQ(t[1], 4.f);
    EXPECT_EQ(t[40], 4.f);  // right starts at (R2, 0)
}

// Draws a 2 x 2 texture of four colours through drawTexturedQuad and reads the quadrants back.
TEST_F(SceneTest, TexturedQuadFlips) {
    const unsigned char texels[16] = {255, 0, 0,   255, 0,   255, 0, 255,   // row 0: red, green
                                      0,   0, 255, 255, 255, 255, 0, 255};  // row 1: blue, yellow
    GLuint texture;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_POLYGON_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glCullFace(GL_FRONT);
    glColor3f(1.f, 1.f, 1.f);
    scene2D->apply2D();

    // Texture row 0 is the top of the picture.
    struct Case {
        bool flipX, flipY;
        unsigned char topLeft[3], bottomRight[3];
    };
    const Case cases[] = {
        {false, false, {255, 0, 0}, {255, 255, 0}},
        {true, false, {0, 255, 0}, {0, 0, 255}},
        {true, true, {255, 255, 0}, {255, 0, 0}},
    };
    Int2 corners[4] = {Int2(40, 40), Int2(0, 40), Int2(0, 0), Int2(40, 0)};
    for (const Case& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT);
        scene2D->drawTexturedQuad(corners, texture, c.flipX, c.flipY);
        glFinish();
        unsigned char pixel[4];
        glReadBuffer(GL_BACK);
        glReadPixels(10, screenSize.y() - 1 - 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        EXPECT_EQ(std::vector<int>(pixel, pixel + 3), std::vector<int>(c.topLeft, c.topLeft + 3));
        glReadPixels(30, screenSize.y() - 1 - 30, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        EXPECT_EQ(std::vector<int>(pixel, pixel + 3), std::vector<int>(c.bottomRight, c.bottomRight + 3));
    }
    glDeleteTextures(1, &texture);
    glEnable(GL_POLYGON_SMOOTH);
}
