#include "GLManager.h"
#include "EngineConstants.h"
#include "ErrorReport.h"
#include "KeyboardManager.h"
#include "Scene2D.h"
#include "Scene3D.h"
#include "SpriteManager.h"
#include "VBO.h"
#include "platform/Platform.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>

Int2 screenSize(0, 0);
bool isFullScreen = false;
int64_t periodDuration = 0;
int64_t lastFrameEnd = 0;
bool mouseButtons[3] = {false, false, false};
Int2 mousePosition(0, 0);
Int2 mouseScenePosition(0, 0);
std::vector<MouseEvent> mouseEvents;

GLManager::GLManager(const std::string& programPath, const std::string& title, int width, int height, bool fullScreen) {
    // No GL context yet: none of these may touch GL in its constructor.
    scene2D = new Scene2D(Int2(START_SCENE2D_WIDTH, START_SCENE2D_HEIGHT),
                          Int2(START_SCENE2D_WIDTH, START_SCENE2D_HEIGHT), Float2(1.f, 1.f), true);
    spriteManager = new SpriteManager(WHITE_TEXTURE_FILE_NAME);
    scene3D = new Scene3D();
    keyboardManager = new KeyboardManager();
    initWindow(programPath, title, width, height, fullScreen);
}

GLManager::~GLManager() {
    delete spriteManager;
    delete scene2D;
    delete scene3D;
    delete keyboardManager;
    spriteManager = nullptr;
    scene2D = nullptr;
    scene3D = nullptr;
    keyboardManager = nullptr;
}

unsigned int GLManager::createTexture(const unsigned char* data, int width, int height, bool isAlpha) {
    ASSERT(data != NULL);
    GLuint texture;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    GLenum format = isAlpha ? GL_RGBA : GL_RGB;
    int mipmapres = gluBuild2DMipmaps(GL_TEXTURE_2D, format, width, height, format, GL_UNSIGNED_BYTE, data);
    ASSERT(mipmapres == 0);
    return texture;
}

// The window library insists on a display callback; frames are drawn by the engine's own loop.
static void displayNothing() {}

static void writeExtensionsFile() {
    FILE* f = std::fopen(EXTENSIONS_FILE_NAME, "w");
    if (!f) return;  // a read-only game folder must not stop the engine
    const GLubyte* extensions = glGetString(GL_EXTENSIONS);
    std::fprintf(f, "supported:%s :", extensions ? reinterpret_cast<const char*>(extensions) : "");
    std::fclose(f);
}

static void registerKeyboard(KeyboardManager* keyboard) {
    if (keyboard == nullptr) reportError(__FILE__, __TIME__, "this != NULL", __LINE__, nullptr);
    glutKeyboardFunc(keyDown);
    glutKeyboardUpFunc(keyUp);
    glutSpecialFunc(specialKeyDown);
    glutSpecialUpFunc(specialKeyUp);
}

void initWindow(const std::string& programPath, const std::string& title, int width, int height, bool fullScreen) {
    static std::string argument;  // the window library may keep pointers into its arguments
    argument = programPath;
    char* argv[2] = {&argument[0], nullptr};
    int argc = 1;
    glutInit(&argc, argv);

    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(width, height);
    screenSize = Int2(width, height);
    glutCreateWindow(title.c_str());
    glutDisplayFunc(displayNothing);

    glutMouseFunc(mouseButton);
    glutMotionFunc(mouseMotion);
    glutPassiveMotionFunc(mousePassiveMotion);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_FOG);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.1f);
    glPolygonMode(GL_BACK, GL_POINT);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);
    glEnable(GL_CULL_FACE);

    writeExtensionsFile();

    glEnable(GL_MULTISAMPLE_ARB);
    if (!platform::hasMultisamplePixelFormats()) showError("extension not available");

    initVBOExtension();

    std::printf("glutGet(GLUT_WINDOW_BUFFER_SIZE): %d\n", glutGet(GLUT_WINDOW_BUFFER_SIZE));

    glutReshapeWindow(width, height);

    registerKeyboard(keyboardManager);

    scene2D->windowSize = screenSize;
    scene2D->sceneSize = screenSize;
    scene2D->apply2D();

    if (fullScreen) {
        isFullScreen = true;
        glutFullScreen();
    }

    GLenum status = glewInit();
    if (status != GLEW_OK) FATAL_ERROR(reinterpret_cast<const char*>(glewGetErrorString(status)));
}

int frameCapSleepMs(int64_t elapsedUs) {
    if (elapsedUs >= MIN_FRAME_DURATION_US) return 0;
    return static_cast<int>(MIN_FRAME_DURATION_US / 1000 - elapsedUs / 1000);
}

int32_t loopEvent() {
    int width = glutGet(GLUT_WINDOW_WIDTH);
    int height = glutGet(GLUT_WINDOW_HEIGHT);
    if (width != screenSize.x() || height != screenSize.y()) reshape(width, height);

    keyboardManager->keyEvents.clear();
    mouseEvents.clear();

    platform::sleepMilliseconds(frameCapSleepMs(platform::monotonicMicroseconds() - lastFrameEnd));

    int64_t swapStart = platform::monotonicMicroseconds();
    glutSwapBuffers();
    int64_t swapTime = platform::monotonicMicroseconds() - swapStart;

    glutMainLoopEvent();

    int64_t now = platform::monotonicMicroseconds();
    periodDuration = now - lastFrameEnd;
    if (periodDuration > MAX_PERIOD_DURATION_US) periodDuration = MAX_PERIOD_DURATION_US;
    lastFrameEnd = now;

    glColor3f(1.f, 1.f, 1.f);
    glRasterPos2i(0, screenSize.y());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    return static_cast<int32_t>(swapTime);
}

void reshape(int width, int height) {
    std::printf("Rescaling to (%d,%d)\n", width, height);
    screenSize = Int2(width, height);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
    scene2D->windowSize = screenSize;
    if (scene2D->followWindow) scene2D->sceneSize = screenSize;
    scene2D->apply2D();
    scene3D->aspect = static_cast<float>(width) / static_cast<float>(height);
}

void clearScreen(const Color& color) {
    glClearColor(color.r / 255.f, color.g / 255.f, color.b / 255.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Color getCurrentColor() {
    float c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    return Color(static_cast<uint8_t>(c[0] * 255.f), static_cast<uint8_t>(c[1] * 255.f),
                 static_cast<uint8_t>(c[2] * 255.f), static_cast<uint8_t>(c[3] * 255.f));
}

void keyDown(unsigned char c, int, int) {
    keyboardManager->keyEvents.push_back(c);
    keyboardManager->keys[c] = true;
}

void keyUp(unsigned char c, int, int) { keyboardManager->keys[c] = false; }

void specialKeyDown(int key, int, int) {
    int code = mapSpecialKey(key);
    if (code < 0) return;
    keyboardManager->keyEvents.push_back(code);
    keyboardManager->keys[code] = true;
}

void specialKeyUp(int key, int, int) {
    int code = mapSpecialKey(key);
    if (code < 0) return;
    keyboardManager->keys[code] = false;
}

void mouseButton(int button, int state, int x, int y) {
    bool pressed = state == GLUT_DOWN;
    mouseEvents.push_back(MouseEvent{x, y, button, pressed ? MOUSE_PRESSED : MOUSE_RELEASED});
    if (button >= 0 && button <= 2) mouseButtons[button] = pressed;
}

static void motion(int x, int y, int state) {
    mousePosition = Int2(x, y);
    mouseEvents.push_back(MouseEvent{x, y, -1, state});
    mouseScenePosition = scene2D->windowToScene(mousePosition);
}

void mouseMotion(int x, int y) { motion(x, y, MOUSE_DRAGGED); }

void mousePassiveMotion(int x, int y) { motion(x, y, MOUSE_MOVED); }
