# SPDX-License-Identifier: GPL-3.0-or-later
# Waits (up to ten seconds) for a window whose name contains TITLE to show a picture, its middle
# row no longer all one colour, and prints the wall-clock time it first saw it. side-by-side.sh
# starts it before the game, so its own start-up does not delay the answer.
import ctypes
import ctypes.util
import sys
import time


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int), ("rest", ctypes.c_char * 64)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                          ctypes.c_ulong, ctypes.c_int]
# A window may vanish between listing and reading it: its errors are ignored. The handler is kept
# in a name, or ctypes frees it while Xlib still calls it.
ignore_errors = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
x11.XSetErrorHandler(ignore_errors)
display = x11.XOpenDisplay(None)
title = sys.argv[1].encode()


def windows(parent):
    root, up, children, count = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not x11.XQueryTree(display, parent, ctypes.byref(root), ctypes.byref(up), ctypes.byref(children),
                          ctypes.byref(count)):
        return []
    return [children[i] for i in range(count.value)]


def named(window):
    name = ctypes.c_char_p()
    return x11.XFetchName(display, window, ctypes.byref(name)) and name.value and title in name.value


def drawn(window):
    attributes = XWindowAttributes()
    if not x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)) or attributes.map_state != 2:
        return False
    image = x11.XGetImage(display, window, 0, attributes.height // 2, attributes.width, 1, 0xFFFFFFFF, 2)
    if not image:
        return False
    step = image.contents.bits_per_pixel // 8
    row = ctypes.string_at(image.contents.data, attributes.width * step)
    return len({row[i:i + 3] for i in range(0, len(row), step)}) > 1


deadline = time.time() + 10
while time.time() < deadline:
    top = windows(x11.XDefaultRootWindow(display))
    for window in top + [w for t in top for w in windows(t)]:
        if named(window) and drawn(window):
            print(repr(time.time()))
            sys.exit(0)
    time.sleep(0.005)
sys.exit(1)
