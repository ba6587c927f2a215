/* Sends a window-manager close request (WM_DELETE_WINDOW) to the top-level
 * window with the given title, as a desktop's close button does. With
 * --exists only tells whether such a window is there. Exit code 0 when sent
 * (or found), 1 when no such window, 2 without a display. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <string.h>

/* Depth-first search for a window whose WM_NAME equals title (compared as
 * bytes, so UTF8_STRING names as SDL's message boxes set them match too). */
static Window FindWindow(Display* display, Window root, const char* title) {
    XTextProperty name;
    if (XGetWMName(display, root, &name) && name.value) {
        int match = name.nitems == strlen(title) && memcmp(name.value, title, name.nitems) == 0;
        XFree(name.value);
        if (match) return root;
    }
    Window parent, *children = NULL;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; i++)
            found = FindWindow(display, children[i], title);
        if (children) XFree(children);
    }
    return found;
}

int main(int argc, char** argv) {
    int onlyCheck = argc > 2 && strcmp(argv[1], "--exists") == 0;
    if (argc < 2 + onlyCheck) return 2;
    Display* display = XOpenDisplay(NULL);
    if (!display) return 2;
    Window window = FindWindow(display, DefaultRootWindow(display), argv[1 + onlyCheck]);
    if (!window || onlyCheck) {
        XCloseDisplay(display);
        return window ? 0 : 1;
    }
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return 0;
}
