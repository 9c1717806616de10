/* Takes the whole keyboard the way a window manager's Alt+Tab does: an
 * active grab on the root window. Prints "grabbed" once it holds the grab,
 * keeps it until its standard input ends, then lets go, prints "released"
 * and exits. Exit status 1 when there is no display or no grab to be had. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <unistd.h>

int main(void)
{
    Display *d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "grab_keyboard: no display\n");
        return 1;
    }
    /* Another client may hold a grab of its own for a moment. */
    int status = AlreadyGrabbed, tries;
    for (tries = 0; tries < 100 && status != GrabSuccess; tries++) {
        status = XGrabKeyboard(d, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync,
                               CurrentTime);
        if (status != GrabSuccess)
            usleep(50000);
    }
    if (status != GrabSuccess) {
        fprintf(stderr, "grab_keyboard: XGrabKeyboard failed (%d)\n", status);
        return 1;
    }
    XSync(d, False);
    printf("grabbed\n");
    fflush(stdout);

    char buf[64];
    while (read(0, buf, sizeof buf) > 0) {
    }

    XUngrabKeyboard(d, CurrentTime);
    XSync(d, False);
    printf("released\n");
    fflush(stdout);
    XCloseDisplay(d);
    return 0;
}
