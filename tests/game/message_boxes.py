"""Message boxes on the X display of the test, found and answered as a user
would: by their window on the screen and a click on their OK button.

SDL draws its X11 message box itself; its button is the one area of the
button colour (105, 102, 99) in the box, so a look at the box's pixels
finds it.
"""

import ctypes
import ctypes.util
import re
import subprocess
import time

BUTTON_COLOUR = (105, 102, 99)

_TREE_LINE = re.compile(
    r'^\s+(0x[0-9a-f]+) "(.*)": \((.*)\)\s+(\d+)x(\d+)[+]?(-?\d+)[+]?(-?\d+)\s+'
    r'[+]?(-?\d+)[+]?(-?\d+)\s*$')


class Window:
    def __init__(self, wid, name, wm_class, width, height, x, y):
        self.id, self.name, self.wm_class = wid, name, wm_class
        self.width, self.height, self.x, self.y = width, height, x, y

    def geometry(self):
        return "%dx%d%+d%+d" % (self.width, self.height, self.x, self.y)

    def fits(self, screen_width, screen_height):
        return (self.x >= 0 and self.y >= 0 and self.x + self.width <= screen_width
                and self.y + self.height <= screen_height)


def top_windows():
    """The root window's mapped children (id, name and geometry on the screen)."""
    out = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True,
                         text=True).stdout
    windows = []
    for line in out.splitlines():
        m = _TREE_LINE.match(line)
        if m:
            wid, name, wm_class = int(m.group(1), 16), m.group(2), m.group(3)
            w, h, x, y = (int(m.group(i)) for i in (4, 5, 8, 9))
            windows.append(Window(wid, name, wm_class, w, h, x, y))
    return windows


def screen_size():
    out = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True).stdout
    width = int(re.search(r"Width: (\d+)", out).group(1))
    height = int(re.search(r"Height: (\d+)", out).group(1))
    return width, height


def wait_for_box(proc, seconds=60):
    """The first message box on the screen (a window with a name and no
    class, as SDL makes them), once it is drawn; None when the process ends
    first or the time runs out."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        for w in top_windows():
            if w.wm_class == "":
                time.sleep(0.5)  # let it draw
                return w
        if proc.poll() is not None:
            return None
        time.sleep(0.2)
    return None


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int)]


def _xlib():
    x = ctypes.CDLL(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XGetImage.restype = ctypes.POINTER(_XImage)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                            ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x.XGetPixel.restype = ctypes.c_ulong
    x.XGetPixel.argtypes = [ctypes.POINTER(_XImage), ctypes.c_int, ctypes.c_int]
    x.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


def button_centre(window):
    """Screen position of the middle of the box's button, or None."""
    x = _xlib()
    display = x.XOpenDisplay(None)
    if not display:
        return None
    try:
        image = x.XGetImage(display, window.id, 0, 0, window.width, window.height,
                            0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return None
        want = (BUTTON_COLOUR[0] << 16) | (BUTTON_COLOUR[1] << 8) | BUTTON_COLOUR[2]
        xs, ys = [], []
        for py in range(0, window.height):
            for px in range(0, window.width, 2):
                if x.XGetPixel(image, px, py) & 0xFFFFFF == want:
                    xs.append(px)
                    ys.append(py)
        x.XDestroyImage(image)
    finally:
        x.XCloseDisplay(display)
    if not xs:
        return None
    return window.x + (min(xs) + max(xs)) // 2, window.y + (min(ys) + max(ys)) // 2


def click(x, y):
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], check=False)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", "1"], check=False)


def gone(window, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if all(w.id != window.id for w in top_windows()):
            return True
        time.sleep(0.2)
    return False
