#!/usr/bin/env python3
"""Lists the top-level windows of the X display the way a window manager sees
them, through libX11 alone: no window name is read, so neither fonts nor the
locale change what is found.

    windows.py

Uses $DISPLAY. Prints one line per client window, bottom of the stack first:

    ID VIEWABLE X Y WIDTH HEIGHT

ID in decimal (as xdotool prints it), VIEWABLE 1 when the window is on the
screen, X Y its top left corner on the root window. Under a window manager a
client window sits inside a frame and carries WM_STATE; without one it is a
child of the root itself. Exits 2 when the display cannot be opened.
"""

import ctypes
import sys

IS_VIEWABLE = 2
ANY_PROPERTY_TYPE = 0


class XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int),
        ("y", ctypes.c_int),
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("border_width", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p),
        ("root", ctypes.c_ulong),
        ("c_class", ctypes.c_int),
        ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int),
        ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong),
        ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int),
        ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int),
        ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long),
        ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long),
        ("override_redirect", ctypes.c_int),
        ("screen", ctypes.c_void_p),
    ]


ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


def load_x11():
    x11 = ctypes.CDLL("libX11.so.6")
    window = ctypes.c_ulong
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = window
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XQueryTree.argtypes = [ctypes.c_void_p, window, ctypes.POINTER(window),
                               ctypes.POINTER(window), ctypes.POINTER(ctypes.POINTER(window)),
                               ctypes.POINTER(ctypes.c_uint)]
    x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, window,
                                         ctypes.POINTER(XWindowAttributes)]
    x11.XGetWindowProperty.argtypes = [
        ctypes.c_void_p, window, ctypes.c_ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int,
        ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
        ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
        ctypes.POINTER(ctypes.c_void_p)]
    x11.XTranslateCoordinates.argtypes = [
        ctypes.c_void_p, window, window, ctypes.c_int, ctypes.c_int,
        ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(window)]
    x11.XSetErrorHandler.argtypes = [ERROR_HANDLER]
    x11.XFree.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x11


class Display:
    def __init__(self, x11, display):
        self.x11 = x11
        self.display = display
        self.root = x11.XDefaultRootWindow(display)
        self.wm_state = x11.XInternAtom(display, b"WM_STATE", 0)

    def children(self, window):
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        listed = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint(0)
        if not self.x11.XQueryTree(self.display, window, ctypes.byref(root),
                                   ctypes.byref(parent), ctypes.byref(listed),
                                   ctypes.byref(count)):
            return []
        found = [listed[i] for i in range(count.value)]
        if listed:
            self.x11.XFree(listed)
        return found

    def has_wm_state(self, window):
        kind, unit = ctypes.c_ulong(), ctypes.c_int()
        items, left = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        if self.x11.XGetWindowProperty(self.display, window, self.wm_state, 0, 0, 0,
                                       ANY_PROPERTY_TYPE, ctypes.byref(kind),
                                       ctypes.byref(unit), ctypes.byref(items),
                                       ctypes.byref(left), ctypes.byref(data)) != 0:
            return False
        if data:
            self.x11.XFree(data)
        return kind.value != 0

    def client_of(self, frame):
        """The client window inside a top-level window, breadth first."""
        queue = [frame]
        while queue:
            window = queue.pop(0)
            if self.has_wm_state(window):
                return window
            queue.extend(self.children(window))
        return frame

    def describe(self, window):
        attributes = XWindowAttributes()
        if not self.x11.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)):
            return None
        x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        self.x11.XTranslateCoordinates(self.display, window, self.root, 0, 0, ctypes.byref(x),
                                       ctypes.byref(y), ctypes.byref(child))
        viewable = 1 if attributes.map_state == IS_VIEWABLE else 0
        return f"{window} {viewable} {x.value} {y.value} {attributes.width} {attributes.height}"


def main(argv):
    if len(argv) != 1:
        sys.exit(__doc__)
    x11 = load_x11()
    display = x11.XOpenDisplay(None)
    if not display:
        print("cannot open the display", file=sys.stderr)
        return 2
    # A window may go while it is being looked at; it is then simply left out.
    ignore = ERROR_HANDLER(lambda _display, _event: 0)
    x11.XSetErrorHandler(ignore)
    try:
        screen = Display(x11, display)
        lines = []
        for frame in screen.children(screen.root):
            line = screen.describe(screen.client_of(frame))
            if line is not None:
                lines.append(line)
        print("\n".join(lines))
        return 0
    finally:
        x11.XCloseDisplay(display)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
