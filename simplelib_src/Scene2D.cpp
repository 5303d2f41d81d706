#include "Scene2D.h"
#include "ErrorReport.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

Scene2D* scene2D = nullptr;

Scene2D::Scene2D(const Int2& windowSize_, const Int2& sceneSize_, const Float2& sceneScale_, bool followWindow_)
    : windowSize(windowSize_), sceneSize(sceneSize_), sceneScale(sceneScale_), followWindow(followWindow_) {}

void Scene2D::apply2D() {
    ASSERT(windowSize.x() != 0 && windowSize.y() != 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, sceneSize.x(), sceneSize.y(), 0);
    sceneScale = Float2(static_cast<float>(sceneSize.x()) / static_cast<float>(windowSize.x()),
                        static_cast<float>(sceneSize.y()) / static_cast<float>(windowSize.y()));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

Int2 Scene2D::windowToScene(const Int2& p) const {
    if (followWindow) return p;
    float x = sceneScale.x() * static_cast<float>(p.x());
    float y = sceneScale.y() * static_cast<float>(p.y());
    return Int2(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

static void beginTextured(unsigned int texture) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glMatrixMode(GL_MODELVIEW);
    glBegin(GL_POLYGON);
}

void Scene2D::drawTexturedRect(unsigned int texture, int x, int y, float uLeft, float vTop, float uRight, float vBottom,
                               int width, int height) {
    beginTextured(texture);
    glTexCoord2f(uRight, vBottom);
    glVertex2i(x + width, y + height);
    glTexCoord2f(uLeft, vBottom);
    glVertex2i(x, y + height);
    glTexCoord2f(uLeft, vTop);
    glVertex2i(x, y);
    glTexCoord2f(uRight, vTop);
    glVertex2i(x + width, y);
    glEnd();
}

void Scene2D::drawTexturedQuad(const Int2 corners[4], unsigned int texture, bool flipX, bool flipY) {
    static const int texCoords[4][2] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
    beginTextured(texture);
    for (int i = 0; i < 4; ++i) {
        int s = flipX ? 1 - texCoords[i][0] : texCoords[i][0];
        int t = flipY ? 1 - texCoords[i][1] : texCoords[i][1];
        glTexCoord2i(s, t);
        glVertex2i(corners[i].x(), corners[i].y());
    }
    glEnd();
}

void Scene2D::drawRect(const Int2& a, const Int2& b) {
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glVertex2i(a.x(), a.y());
    glVertex2i(b.x(), a.y());
    glVertex2i(b.x(), b.y());
    glVertex2i(a.x(), b.y());
    glEnd();
}

void Scene2D::drawBitmapText(const std::string& text, int x, int y) {
    glDisable(GL_TEXTURE_2D);
    glRasterPos2i(x, y);
    for (char c : text) {
        // The byte goes through as a signed character: bytes above 127 become negative and
        // draw nothing.
        int code = static_cast<signed char>(c);
        if (code >= 0) glutBitmapCharacter(GLUT_BITMAP_8_BY_13, code);
    }
}
