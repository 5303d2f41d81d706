#pragma once
// The 3D drawing state: projection, the camera and its placement behind a target, eight
// lights, fog, a GLU quadric for spheres and the box and plane primitives. Built before the GL
// context exists, so the constructor issues no GL calls.
#include "BasicVector.h"
#include "Camera.h"
#include "Color.h"
#include "EngineConstants.h"

struct MouseEvent;
struct GLUquadric;

class Scene3D {
public:
    float fov;  // vertical field of view, degrees
    GLUquadric* quadric;
    bool lighting;
    Int2 lastMouse;                     // pointer position of the previous drag event
    float aspect;                       // window width / height
    float modelview[16];                // the camera view saved by begin3D
    float lightPosition[NB_LIGHTS][4];  // world coordinates; w = 1 point light, w = 0 directional
    bool lightEnabled[NB_LIGHTS];
    float lightDistance[NB_LIGHTS];  // world units; <= 0 means no distance attenuation
    float farPlane;
    Camera camera;
    float fogDistance;

    Scene3D();
    ~Scene3D();

    void apply3DState();
    void begin3D();
    void placeCamera(const Float3& target, float distance);
    // Eases the angles toward the targets; tz must be 0.
    void turnCameraToward(float targetX, float targetY, float targetZ);
    void dragCamera(const MouseEvent& event, bool dragging);
    void setFog(const Color& color, float distance);
    void applyLights();

    // textures: six GL names in the order top, bottom, front (+z), back (-z), left (-x),
    // right (+x), or null for a wire box. Inverted boxes are seen from inside.
    void drawBox(const Float3& size, const float repeat[3], const unsigned int* textures, bool inverted);
    // 24 vertices (72 floats) and their 24 texture coordinates (48 floats) of a box centred on
    // the origin, faces in the order top, bottom, front, back, left, right.
    static void boxVertices(const Float3& half, const float repeat[3], float vertices[72], float texCoords[48]);
    // texture -1 leaves the bound texture.
    void drawPlane(const float size[2], int texture, const float repeat[2], bool faceDown);
    void rotateXYZ(float a, float b, float c);
};

extern Scene3D* scene3D;
