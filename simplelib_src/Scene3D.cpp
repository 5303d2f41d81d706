#include "Scene3D.h"
#include "GLManager.h"
#include "Geometry.h"

#include <GL/gl.h>
#include <GL/glu.h>

Scene3D* scene3D = nullptr;

static const float lightDiffuse[4] = {0.8f, 0.8f, 0.8f, 0.8f};
static const float lightSpecular[4] = {1.f, 1.f, 1.f, 1.f};
static const float lightAmbient[4] = {0.5f, 0.5f, 0.5f, 1.f};

Scene3D::Scene3D()
    : fov(110.f),
      quadric(nullptr),
      lighting(false),
      lastMouse(0, 0),
      aspect(1.3333334f),
      farPlane(10000.f),
      fogDistance(150.f) {
    for (float& m : modelview) m = 0.f;
    for (int i = 0; i < NB_LIGHTS; ++i) {
        lightPosition[i][0] = lightPosition[i][1] = lightPosition[i][2] = 0.f;
        lightPosition[i][3] = 1.f;
        lightEnabled[i] = false;
        lightDistance[i] = 1.f;
    }
    quadric = gluNewQuadric();
    gluQuadricTexture(quadric, GL_TRUE);
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricOrientation(quadric, GLU_INSIDE);
}

Scene3D::~Scene3D() { gluDeleteQuadric(quadric); }

void Scene3D::apply3DState() {
    if (lighting) {
        glEnable(GL_LIGHTING);
        gluQuadricNormals(quadric, GLU_FLAT);
    } else {
        glDisable(GL_LIGHTING);
        gluQuadricNormals(quadric, GLU_NONE);
    }
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glCullFace(GL_BACK);
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_BACK, GL_LINE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_CULL_FACE);
}

void Scene3D::begin3D() {
    apply3DState();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, aspect, 0.1, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera.applyView();
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    applyLights();
}

void Scene3D::placeCamera(const Float3& target, float distance) {
    camera.position() = target;
    float theta = camera.rotX() * DEGREES_TO_RADIANS + HALF_PI;
    float phi = HALF_PI - camera.rotY() * DEGREES_TO_RADIANS;
    camera.position() += sphericalToCartesian(distance, theta, phi);
    begin3D();
}

void Scene3D::turnCameraToward(float tx, float ty, float tz) {
    float h = static_cast<float>(periodDuration) / 100000.f;
    if (h > 1.f) h = 1.f;
    float x = tx + (camera.rotX() - tx) * (1.f - h);
    float y = ty + (camera.rotY() - ty) * (1.f - h);
    float z = tz * h;
    camera.setRotation(Float3(x, y, z));
}

void Scene3D::dragCamera(const MouseEvent& event, bool dragging) {
    if (dragging) {
        camera.rotateX(static_cast<float>(lastMouse.y() - event.y));
        camera.rotateY(static_cast<float>(lastMouse.x() - event.x));
    }
    lastMouse = Int2(event.x, event.y);
}

void Scene3D::setFog(const Color& color, float distance) {
    fogDistance = distance;
    glEnable(GL_FOG);
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_START, distance * 3.0f * 0.25f);
    glFogf(GL_FOG_END, distance);
    glFogf(GL_FOG_DENSITY, 0.35f);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    float fogColor[4] = {color.r / 256.f, color.g / 256.f, color.b / 256.f, color.a / 256.f};
    glFogfv(GL_FOG_COLOR, fogColor);
}

void Scene3D::applyLights() {
    for (int i = 0; i < NB_LIGHTS; ++i) {
        if (!lightEnabled[i]) continue;
        GLenum light = GL_LIGHT0 + i;
        bool attenuated = lightDistance[i] > 0.f;
        glLightf(light, GL_CONSTANT_ATTENUATION, 1.f);
        glLightf(light, GL_LINEAR_ATTENUATION, attenuated ? 1.f / lightDistance[i] : 0.f);
        glLightf(light, GL_QUADRATIC_ATTENUATION, attenuated ? 0.00005f : 0.f);
        glLightfv(light, GL_DIFFUSE, lightDiffuse);
        glLightfv(light, GL_SPECULAR, lightSpecular);
        glLightfv(light, GL_AMBIENT, lightAmbient);
    }
    for (int i = 0; i < NB_LIGHTS; ++i)
        if (lightEnabled[i]) glLightfv(GL_LIGHT0 + i, GL_POSITION, lightPosition[i]);
}

void Scene3D::drawBox(const Float3& size, const float repeat[3], const unsigned int* textures, bool inverted) {
    float hx = size.x() * 0.5f, hy = size.y() * 0.5f, hz = size.z() * 0.5f;
    float s = inverted ? -1.f : 1.f;
    float R0 = repeat[0], R1 = repeat[1], R2 = repeat[2];

    if (!textures) {
        glDisable(GL_TEXTURE_2D);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glDisable(GL_CULL_FACE);
    } else {
        glBindTexture(GL_TEXTURE_2D, textures[0]);
    }
    glBegin(GL_QUADS);

    const float normals[6][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}};
    // Texture coordinate, then position, for the four corners of each face.
    const float faces[6][4][5] = {
        {{R0, R2, -hx, s * hy, -hz}, {R0, 0, -hx, s * hy, hz}, {0, 0, hx, s * hy, hz}, {0, R2, hx, s * hy, -hz}},
        {{R0, R2, -hx, -s * hy, -hz}, {0, R2, hx, -s * hy, -hz}, {0, 0, hx, -s * hy, hz}, {R0, 0, -hx, -s * hy, hz}},
        {{0, R1, -hx, -hy, s * hz}, {R0, R1, hx, -hy, s * hz}, {R0, 0, hx, hy, s * hz}, {0, 0, -hx, hy, s * hz}},
        {{R0, 0, -hx, hy, -s * hz}, {0, 0, hx, hy, -s * hz}, {0, R1, hx, -hy, -s * hz}, {R0, R1, -hx, -hy, -s * hz}},
        {{0, R1, -s * hx, -hy, -hz}, {R2, R1, -s * hx, -hy, hz}, {R2, 0, -s * hx, hy, hz}, {0, 0, -s * hx, hy, -hz}},
        {{R2, R1, s * hx, -hy, -hz}, {R2, 0, s * hx, hy, -hz}, {0, 0, s * hx, hy, hz}, {0, R1, s * hx, -hy, hz}},
    };
    unsigned int bound = textures ? textures[0] : 0;
    for (int k = 0; k < 6; ++k) {
        if (k > 0 && textures && textures[k] != bound) {
            glEnd();
            bound = textures[k];
            glBindTexture(GL_TEXTURE_2D, bound);
            glBegin(GL_QUADS);
        }
        glNormal3fv(normals[k]);
        for (const float* corner : faces[k]) {
            glTexCoord2f(corner[0], corner[1]);
            glVertex3f(corner[2], corner[3], corner[4]);
        }
    }
    glEnd();

    if (!textures) {
        glEnable(GL_TEXTURE_2D);
        glPolygonMode(GL_BACK, GL_LINE);
        glPolygonMode(GL_FRONT, GL_FILL);
        glEnable(GL_CULL_FACE);
    }
}

void Scene3D::boxVertices(const Float3& half, const float repeat[3], float vertices[72], float texCoords[48]) {
    float hx = half.x(), hy = half.y(), hz = half.z();
    float R0 = repeat[0], R1 = repeat[1], R2 = repeat[2];
    const float positions[24][3] = {
        {-hx, hy, -hz},  {-hx, hy, hz},  {hx, hy, hz},   {hx, hy, -hz},    // top
        {-hx, -hy, -hz}, {hx, -hy, -hz}, {hx, -hy, hz},  {-hx, -hy, hz},   // bottom
        {-hx, -hy, hz},  {hx, -hy, hz},  {hx, hy, hz},   {-hx, hy, hz},    // front (+z)
        {-hx, hy, -hz},  {hx, hy, -hz},  {hx, -hy, -hz}, {-hx, -hy, -hz},  // back (-z)
        {-hx, -hy, -hz}, {-hx, -hy, hz}, {-hx, hy, hz},  {-hx, hy, -hz},   // left (-x)
        {hx, -hy, -hz},  {hx, hy, -hz},  {hx, hy, hz},   {hx, -hy, hz},    // right (+x)
    };
    const float coords[24][2] = {
        {0, R2},  {0, 0},   {R0, 0},  {R0, R2},  //
        {0, 0},   {R0, 0},  {R0, R2}, {0, R2},   //
        {0, 0},   {R0, 0},  {R0, R1}, {0, R1},   //
        {R0, R1}, {0, R1},  {0, 0},   {R0, 0},   //
        {0, 0},   {R2, 0},  {R2, R1}, {0, R1},   //
        {R2, 0},  {R2, R1}, {0, R1},  {0, 0},    //
    };
    for (int i = 0; i < 24; ++i) {
        for (int c = 0; c < 3; ++c) vertices[i * 3 + c] = positions[i][c];
        for (int c = 0; c < 2; ++c) texCoords[i * 2 + c] = coords[i][c];
    }
}

void Scene3D::drawPlane(const float size[2], int texture, const float repeat[2], bool faceDown) {
    if (texture != -1) glBindTexture(GL_TEXTURE_2D, static_cast<unsigned int>(texture));
    float a = size[0] / 2.f, b = size[1] / 2.f;
    float r0 = repeat[0], r1 = repeat[1];
    glBegin(GL_QUADS);
    if (faceDown) {
        glNormal3f(0.f, -1.f, 0.f);
        glTexCoord2f(r0, r1);
        glVertex3f(-a, 0.f, -b);
        glTexCoord2f(0.f, r1);
        glVertex3f(a, 0.f, -b);
        glTexCoord2f(0.f, 0.f);
        glVertex3f(a, 0.f, b);
        glTexCoord2f(r0, 0.f);
        glVertex3f(-a, 0.f, b);
    } else {
        glNormal3f(0.f, 1.f, 0.f);
        glTexCoord2f(r0, r1);
        glVertex3f(-a, 0.f, -b);
        glTexCoord2f(r0, 0.f);
        glVertex3f(-a, 0.f, b);
        glTexCoord2f(0.f, 0.f);
        glVertex3f(a, 0.f, b);
        glTexCoord2f(0.f, r1);
        glVertex3f(a, 0.f, -b);
    }
    glEnd();
}

void Scene3D::rotateXYZ(float a, float b, float c) {
    glRotatef(a, 1.f, 0.f, 0.f);
    glRotatef(b, 0.f, 1.f, 0.f);
    glRotatef(c, 0.f, 0.f, 1.f);
}
