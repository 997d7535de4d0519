# Exits 0 when the window WINDOW (an X window id) shows a picture: its middle row is not all one
# colour. side-by-side.sh polls this to time the first screen drawn.
import ctypes
import ctypes.util
import sys


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("rest", ctypes.c_char * 256)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                          ctypes.c_ulong, ctypes.c_int]
display = x11.XOpenDisplay(None)
window = int(sys.argv[1])
attributes = XWindowAttributes()
if not display or not x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)) or attributes.width < 2:
    sys.exit(1)
image = x11.XGetImage(display, window, 0, attributes.height // 2, attributes.width, 1, 0xFFFFFFFF, 2)
if not image:
    sys.exit(1)
row = ctypes.string_at(image.contents.data, attributes.width * image.contents.bits_per_pixel // 8)
step = image.contents.bits_per_pixel // 8
sys.exit(0 if len({row[i:i + 3] for i in range(0, len(row), step)}) > 1 else 1)
