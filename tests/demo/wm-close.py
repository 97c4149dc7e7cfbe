#!/usr/bin/env python3
"""Asks an X window to close as a window manager's close button does: a WM_DELETE_WINDOW
client message (xdotool can only destroy a window). Usage: wm-close.py WINDOW_ID"""
import ctypes
import sys

Atom = ctypes.c_ulong


class ClientMessage(ctypes.Structure):  # XClientMessageEvent, padded to the size of an XEvent
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", Atom),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = Atom
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(ClientMessage)]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]

display = x.XOpenDisplay(None) or sys.exit("wm-close: cannot open the display")
window = int(sys.argv[1], 0)
event = ClientMessage(type=33, window=window, format=32)  # 33: ClientMessage
event.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x.XCloseDisplay(display)  # flushes the request
