#include "Camera.h"
#include "EngineConstants.h"
#include "ErrorReport.h"
#include "Geometry.h"

#include <GL/gl.h>

#include <cmath>

Quaternion fromAxisAngle(Float3 axis, float angleRadians) {
    normalize(axis);
    float h = angleRadians * 0.5f;
    float s = std::sin(h);
    Quaternion q;
    q.x = axis.x() * s;
    q.y = axis.y() * s;
    q.z = axis.z() * s;
    q.w = std::cos(h);
    return q;
}

Quaternion multiply(const Quaternion& a, const Quaternion& b) {
    Quaternion r;
    r.x = a.w * b.x + b.w * a.x + (a.y * b.z - a.z * b.y);
    r.y = a.w * b.y + b.w * a.y + (a.z * b.x - a.x * b.z);
    r.z = a.w * b.z + b.w * a.z + (a.x * b.y - a.y * b.x);
    r.w = a.w * b.w - (a.x * b.x + a.y * b.y + a.z * b.z);
    return r;
}

void toMatrix(const Quaternion& q, float m[16]) {
    float x = q.x, y = q.y, z = q.z, w = q.w;
    m[0] = 1.f - 2.f * (y * y + z * z);
    m[1] = 2.f * (w * z + x * y);
    m[2] = 2.f * (x * z - w * y);
    m[3] = 0.f;
    m[4] = 2.f * (x * y - w * z);
    m[5] = 1.f - 2.f * (x * x + z * z);
    m[6] = 2.f * (w * x + y * z);
    m[7] = 0.f;
    m[8] = 2.f * (x * z + w * y);
    m[9] = 2.f * (y * z - w * x);
    m[10] = 1.f - 2.f * (x * x + y * y);
    m[11] = 0.f;
    m[12] = 0.f;
    m[13] = 0.f;
    m[14] = 0.f;
    m[15] = 1.f;
}

static Quaternion qX(float degrees) { return fromAxisAngle(Float3(1.f, 0.f, 0.f), degrees * DEGREES_TO_RADIANS); }
static Quaternion qY(float degrees) { return fromAxisAngle(Float3(0.f, 1.f, 0.f), degrees * DEGREES_TO_RADIANS); }

Camera::Camera() : state(new State) {
    state->position = Float3(0.f, 0.f, 0.f);
    state->orientation = fromAxisAngle(Float3(1.f, 0.f, 0.f), 0.f);
    state->rotX = 0.f;
    state->rotY = 0.f;
}

Camera::~Camera() { delete state; }

void Camera::rotateX(float a) {
    state->orientation = multiply(state->orientation, qX(a));
    state->rotX += a;
}

void Camera::rotateY(float a) {
    state->orientation = multiply(qY(a), state->orientation);
    state->rotY += a;
}

void Camera::setRotX(float a) {
    rotateX(-state->rotX);
    state->rotX = 0.f;
    rotateX(a);
}

void Camera::setRotY(float a) {
    rotateY(-state->rotY);
    state->rotY = 0.f;
    rotateY(a);
}

void Camera::setRotation(const Float3& rot) {
    state->orientation = Quaternion{0.f, 0.f, 0.f, 1.f};
    state->rotX = 0.f;
    state->rotY = 0.f;
    rotateX(rot.x());
    rotateY(rot.y());
    ASSERT(rot.z() == 0.f);
}

void Camera::applyView() const {
    const Quaternion& o = state->orientation;
    float m[16];
    toMatrix(Quaternion{-o.x, -o.y, -o.z, o.w}, m);
    glMultMatrixf(m);
    glTranslatef(-state->position.x(), -state->position.y(), -state->position.z());
}
