/* Time from a program's start to the first picture it shows, measured from
 * outside: starts the program given on the command line (fork and exec, the
 * clock read just before the fork), then polls the root window of a display
 * whose background is black (Xvfb -br) until a pixel is not black. Prints
 * "window_ms first_frame_ms pid" on stdout and leaves the program running (its
 * stdout to /dev/null), so the caller can go on driving it.
 * Exit code 0 on success, 1 on a timeout or when the program ended, 2 without
 * a display or when the program cannot be started. Windows that vanish while
 * they are looked at are skipped, never fatal. Depends on Xlib only. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

/* Milliseconds on the monotonic clock. */
static double NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

/* Windows come and go while the tree is walked (the program's own start-up
 * windows, a message box): a request about one that is gone fails with
 * BadWindow or BadMatch, which only means "not this one". */
static int IgnoreVanishedWindow(Display* display, XErrorEvent* error) {
    (void)display;
    if (error->error_code != BadWindow && error->error_code != BadMatch &&
        error->error_code != BadDrawable)
        fprintf(stderr, "first_frame: X error %d ignored\n", error->error_code);
    return 0;
}

/* Whether any pixel of the root window, sampled on a 4-pixel grid, is not black. */
static int ScreenShowsSomething(Display* display, Window root, int width, int height) {
    XImage* image = XGetImage(display, root, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) return 0;
    int found = 0;
    for (int y = 0; y < height && !found; y += 4)
        for (int x = 0; x < width && !found; x += 4)
            if (XGetPixel(image, x, y) & 0xFFFFFF) found = 1;
    XDestroyImage(image);
    return found;
}

/* Whether the root has a mapped child (the program's window is up). */
static int WindowMapped(Display* display, Window root) {
    Window rootReturn, parent, *children = NULL;
    unsigned count = 0;
    int mapped = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !mapped; i++) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                mapped = 1;
        }
        if (children) XFree(children);
    }
    return mapped;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: first_frame <program> [arguments...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "first_frame: no display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreVanishedWindow);
    Window root = DefaultRootWindow(display);
    int width = DisplayWidth(display, DefaultScreen(display));
    int height = DisplayHeight(display, DefaultScreen(display));
    if (ScreenShowsSomething(display, root, width, height)) {
        fprintf(stderr, "first_frame: the screen is not black before the start (use Xvfb -br)\n");
        return 2;
    }
    double start = NowMs();
    pid_t pid = fork();
    if (pid < 0) return 2;
    if (pid == 0) {
        /* The program's console lines go nowhere: our stdout carries the result
         * and the caller reads it to its end. */
        int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) dup2(devNull, STDOUT_FILENO);
        execvp(argv[1], argv + 1);
        perror(argv[1]);
        _exit(127);
    }
    double windowMs = -1;
    for (;;) {
        double elapsed = NowMs() - start;
        if (elapsed > 30000) {
            fprintf(stderr, "first_frame: nothing shown within 30 s\n");
            kill(pid, SIGTERM);
            return 1;
        }
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            fprintf(stderr, "first_frame: the program ended before showing anything\n");
            return 1;
        }
        if (windowMs < 0 && WindowMapped(display, root)) windowMs = elapsed;
        if (ScreenShowsSomething(display, root, width, height)) {
            if (windowMs < 0) windowMs = elapsed;
            printf("%.1f %.1f %d\n", windowMs, elapsed, (int)pid);
            fflush(stdout);
            XCloseDisplay(display);
            return 0;
        }
        struct timespec pause = {0, 2000000}; /* 2 ms between polls */
        nanosleep(&pause, NULL);
    }
}
