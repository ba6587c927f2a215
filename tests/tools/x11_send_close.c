/* Sends a window-manager close request (WM_DELETE_WINDOW) to the top-level
 * window with the given title, as a desktop's close button does. Exit code 0
 * when sent, 1 when no such window, 2 without a display. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <string.h>

/* Depth-first search for a window whose WM_NAME equals title. */
static Window FindWindow(Display* display, Window root, const char* title) {
    char* name = NULL;
    if (XFetchName(display, root, &name) && name) {
        int match = strcmp(name, title) == 0;
        XFree(name);
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
    if (argc < 2) return 2;
    Display* display = XOpenDisplay(NULL);
    if (!display) return 2;
    Window window = FindWindow(display, DefaultRootWindow(display), argv[1]);
    if (!window) return 1;
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
