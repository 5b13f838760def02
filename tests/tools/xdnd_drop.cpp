// Drops files on an X window the way a file manager does, through the XDND protocol (version 5):
// enter with text/uri-list, a position over the window, the drop, the file names handed over as
// the selection's text, and the target's word that it has finished. The tests use it to drop
// pictures on the game's real window, the SDL one and vasul.exe's under Wine.
//
//   xdnd_drop WINDOW X Y FILE...
// WINDOW is the window id (decimal or 0x hex, as xdotool prints it); X and Y are where on the
// screen the drop happens. Ends with 0 once the target said it finished and accepted the drop.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr long kVersion = 5;
constexpr auto kPatience = std::chrono::seconds(10);

struct Atoms {
    Atom aware, enter, position, status, drop, finished, selection, copy, uri_list;
};

Atoms intern(Display* display) {
    auto atom = [display](const char* name) { return XInternAtom(display, name, False); };
    return {atom("XdndAware"),     atom("XdndEnter"),      atom("XdndPosition"),
            atom("XdndStatus"),    atom("XdndDrop"),       atom("XdndFinished"),
            atom("XdndSelection"), atom("XdndActionCopy"), atom("text/uri-list")};
}

// file:// names with every byte outside the unreserved set and '/' written as %XX.
std::string uri_list(const std::vector<std::string>& files) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string list;
    for (const std::string& file : files) {
        list += "file://";
        for (const unsigned char c : std::filesystem::absolute(file).string()) {
            const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                               (c >= '0' && c <= '9') || c == '/' || c == '-' || c == '_' ||
                               c == '.' || c == '~';
            if (plain) {
                list += static_cast<char>(c);
            } else {
                list += '%';
                list += kHex[c >> 4];
                list += kHex[c & 15];
            }
        }
        list += "\r\n";
    }
    return list;
}

// The XDND version the window speaks, or 0 when it takes no drops.
long aware_version(Display* display, Window window, Atom aware) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long version = 0;
    if (XGetWindowProperty(display, window, aware, 0, 1, False, XA_ATOM, &type, &format, &count,
                           &after, &data) == Success &&
        type == XA_ATOM && format == 32 && count == 1) {
        version = *reinterpret_cast<long*>(data);
    }
    if (data) XFree(data);
    return version;
}

void send(Display* display, Window target, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    long* data = event.xclient.data.l;
    data[0] = l0;
    data[1] = l1;
    data[2] = l2;
    data[3] = l3;
    data[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

// The target asks for the selection in the type it chose: the list goes into its property.
void answer(Display* display, const XSelectionRequestEvent& request, const Atoms& atoms,
            const std::string& list) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = request.display;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    if (request.selection == atoms.selection && request.target == atoms.uri_list) {
        const Atom property = request.property != None ? request.property : request.target;
        XChangeProperty(display, request.requestor, property, atoms.uri_list, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(list.data()),
                        static_cast<int>(list.size()));
        reply.xselection.property = property;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

bool next_event(Display* display, XEvent& event, std::chrono::steady_clock::time_point until) {
    while (!XPending(display)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd watched{ConnectionNumber(display), POLLIN, 0};
        poll(&watched, 1, static_cast<int>(left.count()));
    }
    XNextEvent(display, &event);
    return true;
}

int fail(const char* what) {
    std::fprintf(stderr, "xdnd_drop: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return fail("usage: xdnd_drop WINDOW X Y FILE...");
    const Window target = std::strtoul(argv[1], nullptr, 0);
    const long x = std::strtol(argv[2], nullptr, 10);
    const long y = std::strtol(argv[3], nullptr, 10);
    const std::string list = uri_list({argv + 4, argv + argc});

    const std::unique_ptr<Display, int (*)(Display*)> connection(XOpenDisplay(nullptr),
                                                                 XCloseDisplay);
    Display* display = connection.get();
    if (!display) return fail("no X display");
    const Atoms atoms = intern(display);
    const long version = std::min(kVersion, aware_version(display, target, atoms.aware));
    if (version < 2) return fail("the window takes no XDND drops of version 2 or later");
    const Window source =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, atoms.selection, source, CurrentTime);

    send(display, target, atoms.enter, static_cast<long>(source), version << 24,
         static_cast<long>(atoms.uri_list), None, None);
    send(display, target, atoms.position, static_cast<long>(source), 0, (x << 16) | (y & 0xffff),
         CurrentTime, static_cast<long>(atoms.copy));

    const auto until = std::chrono::steady_clock::now() + kPatience;
    bool dropped = false;
    XEvent event;
    while (next_event(display, event, until)) {
        if (event.type == SelectionRequest) {
            answer(display, event.xselectionrequest, atoms, list);
        } else if (event.type == ClientMessage && event.xclient.message_type == atoms.status) {
            if (dropped) continue;
            if (!(event.xclient.data.l[1] & 1)) return fail("the window refused the drop");
            send(display, target, atoms.drop, static_cast<long>(source), 0, CurrentTime, 0, 0);
            dropped = true;
        } else if (event.type == ClientMessage && event.xclient.message_type == atoms.finished) {
            // Version 5 says in l[1] whether the target took the files.
            const bool taken = version < 5 || (event.xclient.data.l[1] & 1);
            return taken ? 0 : fail("the window finished without taking the files");
        }
    }
    return fail(dropped ? "no word that the drop finished" : "no answer to the drop's position");
}
