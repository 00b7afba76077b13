// kordavan-e2e-xdnd-drop: drops files onto an X window as a file manager
// does, by the drag-and-drop protocol X desktops share (XDND), for the tests
// of dropped files; xdotool can only move the pointer.
//
//   kordavan-e2e-xdnd-drop WINDOW-ID PATH...
//
// Offers the paths as one text/uri-list over the window's middle, drops
// them, and hands the list over when the window asks for it. Exit status 0
// once the window says it took the drop, 1 when it refused or stayed silent.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

Display* x = nullptr;
Window source = 0;
Window target = 0;
Atom aware, enter, position, status, drop, finished, leave, selection, uriList, actionCopy;

// A path as a file URI: every byte but the unreserved ones as %XX, so
// spaces and UTF-8 come through whatever the reader's locale.
std::string fileUri(const std::string& path) {
    std::string uri = "file://";
    for (const unsigned char c : path) {
        if (std::isalnum(c) != 0 || std::strchr("/-._~", c) != nullptr) {
            uri += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

// The window itself or the first one below it that says it takes drops.
Window awareWindow(Window window, long& version) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x, window, aware, 0, 1, False, AnyPropertyType, &type, &format, &items,
                           &left, &data) == Success &&
        data != nullptr) {
        version = items > 0 ? static_cast<long>(*reinterpret_cast<unsigned long*>(data)) : 0;
        XFree(data);
        if (type != None) return window;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(x, window, &root, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count && found == 0; ++i) {
            found = awareWindow(children[i], version);
        }
        if (children != nullptr) XFree(children);
    }
    return found;
}

void send(Atom kind, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = x;
    event.xclient.window = target;
    event.xclient.message_type = kind;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(source);
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(x, target, False, NoEventMask, &event);
    XFlush(x);
}

// Hands the list to whoever asks, in the form asked for if it is ours.
void answer(const XSelectionRequestEvent& request, const std::string& list) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = request.display;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    if (request.target == uriList || request.target == XA_STRING) {
        const Atom property = request.property != None ? request.property : request.target;
        XChangeProperty(x, request.requestor, property, request.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(list.data()),
                        static_cast<int>(list.size()));
        reply.xselection.property = property;
    }
    XSendEvent(x, request.requestor, False, NoEventMask, &reply);
    XFlush(x);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kordavan-e2e-xdnd-drop WINDOW-ID PATH...\n");
        return 2;
    }
    x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        std::fprintf(stderr, "xdnd-drop: no X display\n");
        return 1;
    }
    aware = XInternAtom(x, "XdndAware", False);
    enter = XInternAtom(x, "XdndEnter", False);
    position = XInternAtom(x, "XdndPosition", False);
    status = XInternAtom(x, "XdndStatus", False);
    drop = XInternAtom(x, "XdndDrop", False);
    finished = XInternAtom(x, "XdndFinished", False);
    leave = XInternAtom(x, "XdndLeave", False);
    selection = XInternAtom(x, "XdndSelection", False);
    uriList = XInternAtom(x, "text/uri-list", False);
    actionCopy = XInternAtom(x, "XdndActionCopy", False);

    const Window given = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    long version = 0;
    target = awareWindow(given, version);
    if (target == 0) {
        std::fprintf(stderr, "xdnd-drop: window %s takes no drops (no XdndAware)\n", argv[1]);
        return 1;
    }
    if (version > 5) version = 5;
    std::string list;
    for (int i = 2; i < argc; ++i) list += fileUri(argv[i]) + "\r\n";

    const Window root = DefaultRootWindow(x);
    source = XCreateSimpleWindow(x, root, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(x, selection, source, CurrentTime);
    XWindowAttributes attributes{};
    XGetWindowAttributes(x, target, &attributes);
    int middleX = 0;
    int middleY = 0;
    Window child = 0;
    XTranslateCoordinates(x, target, root, attributes.width / 2, attributes.height / 2, &middleX,
                          &middleY, &child);

    send(enter, version << 24, static_cast<long>(uriList), None, None);
    send(position, 0, (static_cast<long>(middleX) << 16) | middleY, CurrentTime,
         static_cast<long>(actionCopy));
    enum class Stage { Offered, Dropped } stage = Stage::Offered;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (XPending(x) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        XEvent event;
        XNextEvent(x, &event);
        if (event.type == SelectionRequest) {
            answer(event.xselectionrequest, list);
        } else if (event.type == ClientMessage && event.xclient.message_type == status &&
                   stage == Stage::Offered) {
            if ((event.xclient.data.l[1] & 1) == 0) {
                std::fprintf(stderr, "xdnd-drop: the window refuses the files\n");
                send(leave, 0, 0, 0, 0);
                return 1;
            }
            send(drop, 0, CurrentTime, 0, 0);
            stage = Stage::Dropped;
        } else if (event.type == ClientMessage && event.xclient.message_type == finished) {
            // Version 5 says whether the drop was taken; older ones only that it is over.
            const bool taken = version < 5 || (event.xclient.data.l[1] & 1) != 0;
            if (!taken) std::fprintf(stderr, "xdnd-drop: the window did not take the files\n");
            XCloseDisplay(x);
            return taken ? 0 : 1;
        }
    }
    std::fprintf(stderr, "xdnd-drop: no answer from window 0x%lx within 10 s\n", target);
    return 1;
}
