#pragma once
// The one viewpoint of the 3D scene. The orientation is always qY(rotY) * qX(rotX): pitch acts
// in the camera's frame, yaw in the world's, so either can change without disturbing the other.
#include "BasicVector.h"

struct Quaternion {
    float x, y, z, w;
};

Quaternion fromAxisAngle(Float3 axis, float angleRadians);
Quaternion multiply(const Quaternion& a, const Quaternion& b);  // Hamilton product a * b
void toMatrix(const Quaternion& q, float matrix[16]);           // column-major rotation

class Camera {
public:
    struct State {
        Float3 position;  // eye, world units
        Quaternion orientation;
        float rotX;  // accumulated pitch, degrees
        float rotY;  // accumulated yaw, degrees
    };

    Camera();
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Angles in degrees.
    void rotateX(float a);
    void rotateY(float a);
    void setRotX(float a);
    void setRotY(float a);
    void setRotation(const Float3& rot);  // rot.z must be exactly 0

    Float3& position() { return state->position; }
    const Float3& position() const { return state->position; }
    float rotX() const { return state->rotX; }
    float rotY() const { return state->rotY; }
    const Quaternion& orientation() const { return state->orientation; }

    // Multiplies the current GL matrix by the view: inverse rotation, then translation by -position.
    void applyView() const;

private:
    State* state;
};
