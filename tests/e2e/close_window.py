#!/usr/bin/env python3
"""Asks a window to close the way a window manager does: a WM_PROTOCOLS client
message carrying WM_DELETE_WINDOW, sent through libX11.

    close_window.py WINDOW_ID

Uses $DISPLAY. Exits 0 once the message is sent, 1 when the window does not
take part in WM_DELETE_WINDOW (it would ignore the request), 2 on X errors.
"""

import ctypes
import ctypes.util
import sys

CLIENT_MESSAGE = 33
NO_EVENT_MASK = 0
CURRENT_TIME = 0


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    window = int(argv[1], 0)
    name = ctypes.util.find_library("X11") or "libX11.so.6"
    x11 = ctypes.CDLL(name)
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetWMProtocols.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                    ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                    ctypes.POINTER(ctypes.c_int)]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XFree.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = x11.XOpenDisplay(None)
    if not display:
        print("cannot open the display")
        return 2
    try:
        protocols_atom = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        delete_atom = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)

        protocols = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_int(0)
        listed = []
        if x11.XGetWMProtocols(display, window, ctypes.byref(protocols), ctypes.byref(count)):
            listed = [protocols[i] for i in range(count.value)]
            x11.XFree(protocols)
        if delete_atom not in listed:
            print(f"window {window:#x} does not list WM_DELETE_WINDOW in WM_PROTOCOLS")
            return 1

        event = XEvent()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.send_event = 1
        event.xclient.window = window
        event.xclient.message_type = protocols_atom
        event.xclient.format = 32
        event.xclient.data[0] = delete_atom
        event.xclient.data[1] = CURRENT_TIME
        if not x11.XSendEvent(display, window, 0, NO_EVENT_MASK, ctypes.byref(event)):
            print("XSendEvent failed")
            return 2
        x11.XSync(display, 0)
        print(f"sent WM_DELETE_WINDOW to window {window:#x}")
        return 0
    finally:
        x11.XCloseDisplay(display)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
