// The fatal-error box. It must work before the GLUT window exists, after it is gone and while it
// is broken, so it uses only core Xlib on a connection of its own and leaves no trace behind.
#include "Platform.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

const int margin = 16;        // px around the content and between icon, text and button
const int iconSize = 40;      // px, side of the warning triangle's bounding box
const int buttonWidth = 80;   // px, at least; wider if the label needs it
const int buttonHeight = 28;  // px, at least; taller if the font needs it

// Lines as the fixed font should show them: tabs (Lua tracebacks have them) become spaces to the
// next multiple of 8 and carriage returns go, since the font has no glyphs for either.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else if (c == '\t')
            lines.back().append(8 - lines.back().size() % 8, ' ');
        else if (c != '\r')
            lines.back() += c;
    }
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

// _NET_WM_NAME is UTF-8, while our strings are Latin-1.
std::string latin1ToUtf8(const std::string& text) {
    std::string utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// Only the cells that were really allocated go into `allocated`: freeing any other pixel is a
// BadAccess, which would end the program.
unsigned long allocColor(Display* display, const char* name, unsigned long fallback,
                         std::vector<unsigned long>& allocated) {
    XColor exact, screen;
    Colormap colormap = DefaultColormap(display, DefaultScreen(display));
    if (!XAllocNamedColor(display, colormap, name, &screen, &exact)) return fallback;
    allocated.push_back(screen.pixel);
    return screen.pixel;
}

int ignoreXError(Display*, XErrorEvent*) { return 0; }

struct Box {
    Display* display;
    Window window;
    GC gc;
    XFontStruct* font;  // null when the server has no usable font; the text is then left out
    std::vector<std::string> lines;
    int width, height;
    int lineHeight;
    XRectangle button;
    unsigned long background, face, yellow, black;
};

void draw(const Box& box) {
    Display* d = box.display;
    XSetForeground(d, box.gc, box.background);
    XFillRectangle(d, box.window, box.gc, 0, 0, box.width, box.height);

    // Warning mark, drawn rather than typed so it does not depend on the font.
    const short left = margin, top = margin, right = margin + iconSize, bottom = margin + iconSize;
    const short middle = margin + iconSize / 2;
    XPoint triangle[4] = {{middle, top}, {right, bottom}, {left, bottom}, {middle, top}};
    XSetForeground(d, box.gc, box.yellow);
    XFillPolygon(d, box.window, box.gc, triangle, 3, Convex, CoordModeOrigin);
    XSetForeground(d, box.gc, box.black);
    XSetLineAttributes(d, box.gc, 2, LineSolid, CapButt, JoinMiter);
    XDrawLines(d, box.window, box.gc, triangle, 4, CoordModeOrigin);
    XSetLineAttributes(d, box.gc, 1, LineSolid, CapButt, JoinMiter);
    XFillRectangle(d, box.window, box.gc, middle - 2, top + 13, 4, 15);
    XFillRectangle(d, box.window, box.gc, middle - 2, bottom - 8, 4, 4);

    XSetForeground(d, box.gc, box.face);
    const XRectangle& b = box.button;
    XFillRectangle(d, box.window, box.gc, b.x, b.y, b.width, b.height);
    XSetForeground(d, box.gc, box.black);
    XDrawRectangle(d, box.window, box.gc, b.x, b.y, b.width - 1, b.height - 1);
    if (!box.font) return;

    int labelX = b.x + (b.width - XTextWidth(box.font, "OK", 2)) / 2;
    int labelY = b.y + (b.height + box.font->ascent - box.font->descent) / 2;
    XDrawString(d, box.window, box.gc, labelX, labelY, "OK", 2);

    // When the box is capped to the screen, the lines that would run into the button are dropped.
    int textX = margin + iconSize + margin;
    int y = margin;
    for (const std::string& line : box.lines) {
        if (y + box.lineHeight > b.y - margin / 2) break;
        XDrawString(d, box.window, box.gc, textX, y + box.font->ascent, line.data(),
                    static_cast<int>(line.size()));
        y += box.lineHeight;
    }
}

void setProperties(Box& box, const std::string& title) {
    Display* d = box.display;
    XStoreName(d, box.window, title.c_str());
    std::string utf8Title = latin1ToUtf8(title);
    XChangeProperty(d, box.window, XInternAtom(d, "_NET_WM_NAME", False),
                    XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8Title.data()),
                    static_cast<int>(utf8Title.size()));

    char resName[] = "cubist-message";
    char resClass[] = "CubistMessage";
    XClassHint classHint = {resName, resClass};
    XSetClassHint(d, box.window, &classHint);

    Atom dialogType = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(d, box.window, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&dialogType), 1);

    XSizeHints* size = XAllocSizeHints();
    if (size) {
        size->flags = PPosition | PSize | PMinSize | PMaxSize;
        size->min_width = size->max_width = box.width;
        size->min_height = size->max_height = box.height;
        XSetWMNormalHints(d, box.window, size);
        XFree(size);
    }
}

// Without a window manager the focus follows the pointer, so the keys would miss the box. The
// request fails with BadMatch if the window is not viewable yet; that must not end the program.
void takeFocus(Display* display, Window window) {
    XSync(display, False);
    int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler(ignoreXError);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    XSetErrorHandler(previous);
}

bool inside(const XRectangle& r, int x, int y) {
    return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

}  // namespace

void showMessageBox(const std::string& title, const std::string& text) {
    if (std::getenv("CUBIST_NO_DIALOG")) return;
    Box box = {};
    box.display = XOpenDisplay(nullptr);
    if (!box.display) return;
    Display* d = box.display;
    int screen = DefaultScreen(d);

    box.font = XLoadQueryFont(d, "-misc-fixed-medium-r-normal--13-*-*-*-*-*-iso8859-1");
    if (!box.font) box.font = XLoadQueryFont(d, "fixed");
    box.lines = splitLines(text);

    int textWidth = 0, labelWidth = 0;
    if (box.font) {
        box.lineHeight = box.font->ascent + box.font->descent;
        for (const std::string& line : box.lines) {
            int width = XTextWidth(box.font, line.data(), static_cast<int>(line.size()));
            textWidth = std::max(textWidth, width);
        }
        labelWidth = XTextWidth(box.font, "OK", 2);
    }
    int textHeight = box.font ? box.lineHeight * static_cast<int>(box.lines.size()) : 0;
    box.button.width = static_cast<unsigned short>(std::max(buttonWidth, labelWidth + 2 * margin));
    box.button.height = static_cast<unsigned short>(std::max(buttonHeight, box.lineHeight + 10));
    box.width = std::max(margin + iconSize + margin + textWidth + margin, box.button.width + 2 * margin);
    box.height = margin + std::max(iconSize, textHeight) + margin + box.button.height + margin;
    box.width = std::min(box.width, DisplayWidth(d, screen));
    box.height = std::min(box.height, DisplayHeight(d, screen));
    box.button.x = static_cast<short>((box.width - box.button.width) / 2);
    box.button.y = static_cast<short>(box.height - margin - box.button.height);

    unsigned long white = WhitePixel(d, screen);
    std::vector<unsigned long> pixels;
    box.background = allocColor(d, "gray85", white, pixels);
    box.face = allocColor(d, "gray95", white, pixels);
    box.yellow = allocColor(d, "gold", white, pixels);
    box.black = BlackPixel(d, screen);

    XSetWindowAttributes attributes = {};
    attributes.background_pixel = box.background;
    attributes.event_mask =
        ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    box.window = XCreateWindow(d, RootWindow(d, screen), (DisplayWidth(d, screen) - box.width) / 2,
                               (DisplayHeight(d, screen) - box.height) / 2, box.width, box.height, 0,
                               CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask,
                               &attributes);
    setProperties(box, title);
    Atom wmProtocols = XInternAtom(d, "WM_PROTOCOLS", False);
    Atom wmDelete = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, box.window, &wmDelete, 1);

    box.gc = XCreateGC(d, box.window, 0, nullptr);
    if (box.font) XSetFont(d, box.gc, box.font->fid);
    XMapRaised(d, box.window);

    bool pressedOnButton = false;
    for (bool done = false; !done;) {
        XEvent event;
        XNextEvent(d, &event);
        switch (event.type) {
            case MapNotify:
                takeFocus(d, box.window);
                break;
            case Expose:
                if (event.xexpose.count == 0) draw(box);
                break;
            case KeyPress: {
                KeySym key = XLookupKeysym(&event.xkey, 0);
                done = key == XK_Return || key == XK_KP_Enter || key == XK_Escape;
                break;
            }
            case ButtonPress:
            case ButtonRelease: {
                // OK counts only when both the press and the release of the left button are on it.
                bool onButton = event.xbutton.button == Button1 &&
                                inside(box.button, event.xbutton.x, event.xbutton.y);
                done = event.type == ButtonRelease && pressedOnButton && onButton;
                pressedOnButton = event.type == ButtonPress && onButton;
                break;
            }
            case ClientMessage:
                done = event.xclient.message_type == wmProtocols &&
                       static_cast<Atom>(event.xclient.data.l[0]) == wmDelete;
                break;
        }
    }

    XFreeGC(d, box.gc);
    if (box.font) XFreeFont(d, box.font);
    XDestroyWindow(d, box.window);
    if (!pixels.empty())
        XFreeColors(d, DefaultColormap(d, screen), pixels.data(), static_cast<int>(pixels.size()), 0);
    XCloseDisplay(d);
}

}  // namespace platform
