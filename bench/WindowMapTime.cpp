// Times a program's start to its first visible window: starts PROGRAM and
// prints the microseconds from its launch until a window whose name matches
// PATTERN (a POSIX extended regular expression) is viewable on the X server,
// then ends the program.
//
// The time is taken when the X server reports the map, not by asking over
// and over: a poll that starts a process every few milliseconds is itself
// held up by whatever the program does once it is shown, and counts that
// too on a machine of few cores.
//
// Usage: window_map_time PATTERN PROGRAM [ARGUMENTS...]

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <regex>
#include <string>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long MicrosecondsNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

// The window's name: its UTF-8 _NET_WM_NAME, else WM_NAME.
std::string NameOf(Display* display, Window window)
{
    static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data != nullptr) {
        name.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
        return name;
    }
    char* plain = nullptr;
    if (XFetchName(display, window, &plain) && plain != nullptr) {
        name = plain;
        XFree(plain);
    }
    return name;
}

// Whether `window` or a window within it, just mapped, is viewable and has
// a name that matches: a window manager maps a frame around a window that
// was mapped within it, or the window within a frame that was mapped.
bool HasShownMatch(Display* display, Window window, const std::regex& pattern)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    if (std::regex_search(NameOf(display, window), pattern))
        return true;
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = HasShownMatch(display, children[i], pattern);
    if (children != nullptr)
        XFree(children);
    return found;
}

// A window that goes while it is looked at is no error here.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_map_time PATTERN PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const std::regex pattern(argv[1], std::regex::extended);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "window_map_time: no X display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(display);
    // Top-level windows and the frames a window manager puts them in report
    // their maps to the root; what maps within a frame reports to the frame.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const long long start = MicrosecondsNow();
    const pid_t program = fork();
    if (program == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const long long limit = start + 30000000LL;
    long long shown = -1;
    while (shown < 0 && MicrosecondsNow() < limit && waitpid(program, nullptr, WNOHANG) == 0) {
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        if (XPending(display) == 0 && poll(&connection, 1, 100) <= 0)
            continue;
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify)
            XSelectInput(display, event.xcreatewindow.window, SubstructureNotifyMask);
        else if (event.type == MapNotify && HasShownMatch(display, event.xmap.window, pattern))
            shown = MicrosecondsNow();
    }
    kill(program, SIGTERM);
    waitpid(program, nullptr, 0);
    XCloseDisplay(display);
    if (shown < 0) {
        std::fprintf(stderr, "window_map_time: no window from %s\n", argv[2]);
        return 1;
    }
    std::printf("%lld\n", shown - start);
    return 0;
}
