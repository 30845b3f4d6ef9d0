#!/usr/bin/env python3
"""Plays the real game under an X server with injected input.

Run inside its own X display (tests/with_xvfb.sh WxH python3 play_test.py ...).
Each scenario starts the game in a fresh folder of its own (executable and
archives beside it, as the game expects), drives it with xdotool, takes
screenshots with ffmpeg's x11grab and checks their pixels. The screenshots
stay in the output folder.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import time

UNLOCK = b"5093176\r\n"


class Failure(Exception):
    pass


class Image:
    def __init__(self, width, height, rgb):
        self.w, self.h, self.rgb = width, height, rgb

    def px(self, x, y):
        i = (y * self.w + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]


def parse_ppm(data):
    # "P6" width height maxval, each followed by one whitespace byte.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    if fields[0] != b"P6" or fields[3] != b"255":
        raise Failure("not an 8-bit PPM picture")
    w, h = int(fields[1]), int(fields[2])
    return Image(w, h, data[pos:pos + w * h * 3])


def wait_for_display(seconds=60):
    """Returns once the X server answers a client."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        if subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0:
            return
        time.sleep(0.1)
    raise Failure("the X server of DISPLAY=%s does not answer" % os.environ.get("DISPLAY"))


def x_client(cmd, **kw):
    """Runs an X client; when it could not reach the server, waits until the
    server answers and runs it again (it did nothing the first time)."""
    for attempt in range(3):
        r = subprocess.run(cmd, stderr=subprocess.PIPE, **kw)
        err = r.stderr.decode("utf-8", "replace")
        if r.returncode == 0 or "open display" not in err:
            break
        wait_for_display()
    if err:
        sys.stderr.write(err)
    return r


def ffmpeg(args):
    cmd = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"] + args
    r = x_client(cmd, stdout=subprocess.PIPE)
    r.check_returncode()
    return r.stdout


class Game:
    def __init__(self, opts, name):
        self.opts = opts
        self.name = name
        self.w, self.h = (640, 480) if opts.device == "DESKTOP" else (320, 240)
        self.scale = self.w / 640.0
        self.folder = os.path.join(opts.out, name)
        shutil.rmtree(self.folder, ignore_errors=True)
        self.run_dir = os.path.join(self.folder, "game")
        self.user_dir = os.path.join(self.folder, "userdata")
        self.tmp_dir = os.path.join(self.folder, "tmp")
        for d in (self.run_dir, self.user_dir, self.tmp_dir):
            os.makedirs(d)
        for f in ("media.gfx", "media.aud"):
            shutil.copy(os.path.join(opts.media, f), self.run_dir)
        self.exe = os.path.join(self.run_dir, "kestrovar")
        try:
            os.link(opts.exe, self.exe)
        except OSError:
            shutil.copy2(opts.exe, self.exe)
        self.marker = os.path.join(self.run_dir, "partone.kv")
        self.user_marker = os.path.join(self.user_dir, "kestrovar", "partone.kv")
        self.proc = None
        self.shots = 0

    # Process.
    def start(self, device_name=None):
        env = dict(os.environ)
        env["XDG_DATA_HOME"] = self.user_dir
        env["TMPDIR"] = self.tmp_dir
        touch = os.path.join(self.folder, "touchscreen")
        if self.opts.device == "DESKTOP":
            env.pop("ORVALE_DEVICE", None)
        else:
            env["ORVALE_DEVICE"] = "GP2X"
            if self.opts.device == "F200":
                open(touch, "w").close()
        env["ORVALE_TOUCHSCREEN"] = touch
        if device_name:
            env["ORVALE_DEVICE"] = device_name
        wait_for_display()
        self.log = open(os.path.join(self.folder, "output.txt"), "w")
        self.proc = subprocess.Popen([self.exe], cwd=self.folder, env=env,
                                     stdout=self.log, stderr=subprocess.STDOUT)
        if device_name:
            return
        deadline = time.time() + 60
        while time.time() < deadline:
            self.check_running()
            found = x_client(["xdotool", "search", "--name", "^Kestrovar"],
                             stdout=subprocess.PIPE)
            if found.returncode == 0 and found.stdout.strip():
                self.window = found.stdout.split()[0].decode()
                break
            time.sleep(0.2)
        else:
            raise Failure("no game window appeared")
        # The full-screen window covers the screen from its origin, also
        # where no window manager places it.
        while time.time() < deadline:
            self.check_running()
            geo = x_client(["xdotool", "getwindowgeometry", "--shell", self.window],
                           stdout=subprocess.PIPE).stdout.decode()
            vals = dict(l.split("=", 1) for l in geo.split() if "=" in l)
            if (int(vals.get("WIDTH", 0)) == self.w and int(vals.get("HEIGHT", 0)) == self.h
                    and vals.get("X") == "0" and vals.get("Y") == "0"):
                return
            time.sleep(0.2)
        raise Failure("the game window did not cover the %dx%d screen" % (self.w, self.h))

    def check_running(self):
        if self.proc.poll() is not None:
            raise Failure("the game ended early with status %d" % self.proc.returncode)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.proc:
            self.log.close()
        # Keep the screenshots and logs, not the copies of the game.
        for f in ("kestrovar", "media.gfx", "media.aud"):
            try:
                os.remove(os.path.join(self.run_dir, f))
            except OSError:
                pass

    def print_output(self):
        """What the game printed and logged, for a failed scenario."""
        for path in (os.path.join(self.folder, "output.txt"),
                     os.path.join(self.tmp_dir, "ErrorLog.txt")):
            try:
                text = open(path, "rb").read().decode("utf-8", "replace")
            except OSError:
                continue
            print("  --- %s" % path)
            for line in text.splitlines()[-80:]:
                print("  | " + line)
        sys.stdout.flush()

    def wait_exit(self, timeout=60):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end")

    # Screen.
    def shot(self, label):
        self.shots += 1
        png = os.path.join(self.folder, "%02d-%s.png" % (self.shots, label))
        ffmpeg(["-f", "x11grab", "-video_size", "%dx%d" % (self.w, self.h),
                "-i", os.environ["DISPLAY"], "-frames:v", "1", png])
        img = parse_ppm(ffmpeg(["-i", png, "-f", "image2pipe", "-pix_fmt", "rgb24",
                                "-vcodec", "ppm", "-"]))
        img.path = png
        return img

    def wait_for(self, label, test, timeout=90, keep_failed=True):
        """Screenshots until test(img) holds; keeps the matching one."""
        deadline = time.time() + timeout
        last = None
        while time.time() < deadline:
            self.check_running()
            img = self.shot(label)
            if test(img):
                if last:
                    os.remove(last.path)
                return img
            if last:
                os.remove(last.path)
            last = img
            # Irregular pauses: screenshots must not keep step with the
            # title's 12-frame colour cycle.
            time.sleep(random.uniform(0.02, 0.25))
        raise Failure("%s: not seen within %d s (last screen %s)" %
                      (label, timeout, last.path if last else "none"))

    # Input.
    def xdo(self, *args):
        x_client(["xdotool"] + [str(a) for a in args]).check_returncode()

    def at(self, x, y):
        """640 x 480 units to screen pixels."""
        return int(x * self.scale), int(y * self.scale)

    def point(self, x, y):
        """Puts the game's pointer at (x, y) in 640 x 480 units. With the
        system pointer hidden the game adds up relative motion from (0, 0),
        clamped to the screen: a long move up and left pins it at (0, 0)
        first. Only relative moves reach it."""
        sx, sy = self.at(x, y)
        self.xdo("mousemove_relative", "--", -4000, -4000)
        time.sleep(0.3)
        self.xdo("mousemove_relative", "--", sx, sy)
        time.sleep(0.3)

    def press(self, x=None, y=None):
        """The device's continue input: a click, a tap or a fire key."""
        if self.opts.device == "F100":
            self.hold_key("space")
        else:
            if x is not None:
                self.point(x, y)
            self.xdo("mousedown", 1)
            time.sleep(0.3)
            self.xdo("mouseup", 1)

    def hold_key(self, key, seconds=0.3):
        self.xdo("keydown", key)
        time.sleep(seconds)
        self.xdo("keyup", key)

    def choose(self, row):
        """Picks row 1 or 2 of a menu whose heading is at y 350; with the
        pointer or the buttons the highlight bar must first show on it."""
        y = 390 + 20 * (row - 1)
        if self.opts.device == "F100":
            for _ in range(row - 1):
                self.hold_key("Down")
                time.sleep(0.2)
            self.wait_for("highlight", lambda i: highlighted_row(self, i) == row, 30)
            self.hold_key("space")
        elif self.opts.device == "DESKTOP":
            self.point(150, y + 10)  # the pointer picture stays right of the measured part
            self.wait_for("highlight", lambda i: highlighted_row(self, i) == row, 30)
            self.press()
        else:
            self.press(20, y + 10)  # the touch target and bar show only while touched


# Pixel checks.
def reference(opts, name, w, h):
    png = os.path.join(opts.refs, name + ".png")
    return parse_ppm(ffmpeg(["-i", png, "-vf", "scale=%d:%d" % (w, h), "-f", "image2pipe",
                             "-pix_fmt", "rgb24", "-vcodec", "ppm", "-"]))


def mean_diff(img, ref, y0=0, y1=None, step=4):
    y1 = img.h if y1 is None else y1
    total = count = 0
    for y in range(y0, y1, step):
        for x in range(0, img.w, step):
            a, b = img.px(x, y), ref.px(x, y)
            total += abs(a[0] - b[0]) + abs(a[1] - b[1]) + abs(a[2] - b[2])
            count += 3
    return total / count


def changed(img, base, y0, y1, limit=80):
    """Pixels of rows y0..y1 that differ strongly from base (an image or a colour)."""
    n = 0
    for y in range(y0, y1):
        for x in range(img.w):
            a = img.px(x, y)
            b = base(x, y)
            if abs(a[0] - b[0]) + abs(a[1] - b[1]) + abs(a[2] - b[2]) > limit:
                n += 1
    return n


def highlighted_row(g, img):
    """Row 1 or 2 of the menu (heading at 350) whose left part is covered
    by the highlight bar; 0 when neither is. The option's own letters (dark
    outline, light fill) are left out of the count."""
    covered = []
    for row in (1, 2):
        top = int((390 + 20 * (row - 1) + 3) * g.scale)
        bottom = int((390 + 20 * row - 3) * g.scale)
        right = int(100 * g.scale)
        seen = bar = 0
        for y in range(top, bottom):
            for x in range(right):
                c = img.px(x, y)
                if near(c, LETTER_INK, 12) or near(c, LETTER_FILL, 24):
                    continue
                seen += 1
                bar += not near(c, (48, 0, 0), 40)
        covered.append(bar / float(max(seen, 1)))
    for row, other in ((1, 1), (2, 0)):
        if covered[row - 1] > 0.75 and covered[other] < 0.5:
            return row
    return 0


# The font strips' colours: the letters' outline and fill.
LETTER_INK = (0x2a, 0x17, 0x0b)
LETTER_FILL = (0xff, 0xf2, 0xd0)


def near(colour, want, tol=6):
    return all(abs(c - w) <= tol for c, w in zip(colour, want))


def brightness(img, step=4):
    total = count = 0
    for y in range(0, img.h, step):
        for x in range(0, img.w, step):
            total += sum(img.px(x, y))
            count += 3
    return total / count


# Stages.
TITLE_GREENS = (32, 64, 96, 128, 160, 192, 224)


def opening(g, refs):
    compo = g.wait_for("opening", lambda i: mean_diff(i, refs["compo"]) < 20)
    print("  opening picture", compo.path)
    g.press()
    logo = g.wait_for("logo", lambda i: mean_diff(i, refs["quillet"]) < 20)
    print("  logo", logo.path)


def title_green(colour):
    """The green level of a title background pixel, or None."""
    r, gr, b = colour
    if abs(r - 192) > 4 or b > 4:
        return None
    for level in TITLE_GREENS:
        if abs(gr - level) <= 4:
            return level
    return None


def record_title_cycle(g, wait):
    """Records the bottom-left corner at 25 frames a second, out of step with
    the game's 60, until several levels of the title's colour cycle have
    shown or a second has passed without the cycle after it. The green
    levels seen; none when the cycle did not start within `wait` seconds."""
    wait_for_display()
    rec = subprocess.Popen(["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error",
                            "-f", "x11grab", "-framerate", "25", "-video_size", "4x4",
                            "-grab_x", "0", "-grab_y", str(g.h - 4),
                            "-i", os.environ["DISPLAY"], "-t", str(wait + 60),
                            "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                           stdout=subprocess.PIPE)
    greens = set()
    since_cycle = None
    deadline = time.time() + wait
    try:
        while len(greens) < 3:
            frame = rec.stdout.read(48)
            if len(frame) < 48:
                break
            level = title_green(tuple(frame[:3]))
            if level is not None:
                if not greens:
                    g.shot("title-cycle")
                greens.add(level)
                since_cycle = 0
            elif since_cycle is not None:
                since_cycle += 1
                if since_cycle >= 25:
                    break
            elif time.time() > deadline:
                break
    finally:
        rec.kill()
        rec.wait()
    return greens


def title(g, refs, greens=None):
    """The colour cycling, then the title picture with hint and prompt."""
    if greens is None:
        greens = record_title_cycle(g, 90)
    g.check_running()
    print("  title colour cycling, green levels", sorted(greens))
    if len(greens) < 3:
        raise Failure("the title background did not cycle: levels %s" % sorted(greens))
    kv = refs["kvtitle"]
    top = int(430 * g.scale)
    # Picture, hint and prompt are drawn before the page's first frame.
    page = g.wait_for("title", lambda i: mean_diff(i, kv, 0, top) < 20)
    hint = changed(page, kv.px, int(440 * g.scale), int(458 * g.scale))
    prompt = changed(page, kv.px, int(460 * g.scale), g.h)
    print("  title page: hint pixels %d, prompt pixels %d" % (hint, prompt), page.path)
    if prompt < 50 * g.scale:
        raise Failure("no continue prompt on the title page")
    if g.opts.device == "DESKTOP" and hint < 100:
        raise Failure("no volume hint on the desktop title page")
    if g.opts.device != "DESKTOP" and hint > 20:
        raise Failure("a volume hint on the handheld title page")


def story(g, refs, part):
    """The part's opening story: its first picture over the top of the screen."""
    ref = refs["story0%da" % part]
    img = g.wait_for("story", lambda i: mean_diff(i, ref, 0, int(240 * g.scale)) < 25)
    print("  story screen", img.path)


def escape_to_title_and_quit(g, refs):
    """Escape is read between the pages of play: continue through the
    opening story's pages (and any page a stray press leads to) until
    Escape brings back the title, then Escape ends the game."""
    for attempt in range(12):
        g.hold_key("Escape")
        greens = record_title_cycle(g, 4)
        if greens:
            break
        g.press()
    else:
        raise Failure("Escape did not return to the title")
    title(g, refs, greens)
    g.hold_key("Escape")
    status = g.wait_exit()
    if status != 0:
        raise Failure("Escape on the title ended the game with status %d" % status)
    print("  Escape on the title: exit status 0")


def dark_red_page(g, label, text_rows):
    """The selection or warning page: colour 48 background and text in the given rows."""
    bg = lambda x, y: (48, 0, 0)

    def test(img):
        # Top-right and bottom-right: the pointer may sit at the top left.
        if not near(img.px(img.w - 3, 2), (48, 0, 0)) or not near(img.px(img.w - 3, img.h - 3), (48, 0, 0)):
            return False
        return all(changed(img, bg, int(a * g.scale), int(b * g.scale)) > 30 * g.scale
                   for a, b in text_rows)

    return g.wait_for(label, test)


def scenario_fresh(g, refs):
    g.start()
    opening(g, refs)
    title(g, refs)
    g.press()
    story(g, refs, 1)
    if os.path.exists(g.marker):
        raise Failure("a save marker appeared")
    escape_to_title_and_quit(g, refs)


def scenario_unlocked(g, refs, where):
    os.makedirs(os.path.dirname(where), exist_ok=True)
    with open(where, "wb") as f:
        f.write(UNLOCK)
    g.start()
    opening(g, refs)
    title(g, refs)
    g.press()
    img = dark_red_page(g, "selection", [(350, 370), (390, 430)])
    if changed(img, lambda x, y: (48, 0, 0), int(460 * g.scale), g.h) > 10:
        raise Failure("the selection page shows a continue prompt")
    print("  part selection", img.path)
    g.choose(2)
    story(g, refs, 2)
    if not os.path.exists(where):
        raise Failure("the save marker went away")
    escape_to_title_and_quit(g, refs)


def scenario_rejected(g, refs, content):
    with open(g.marker, "wb") as f:
        f.write(content)
    g.start()
    opening(g, refs)
    title(g, refs)
    g.press()
    img = dark_red_page(g, "warning", [(320, 340), (460, 480)])
    print("  warning page", img.path)
    if os.path.exists(g.marker):
        raise Failure("the rejected save marker is still there")
    g.press()
    story(g, refs, 1)
    escape_to_title_and_quit(g, refs)


def scenario_unknown_device(g):
    """A device the game does not know ends it before its window opens, with
    status 1 and the names it accepts on standard error and in the log."""
    g.start(device_name="PSP")
    status = g.wait_exit()
    if status != 1:
        raise Failure("an unknown device ended the game with status %d" % status)
    log = open(os.path.join(g.tmp_dir, "ErrorLog.txt"), "rb").read()
    for text in (b'Unknown device "PSP"', b"DESKTOP, GP2X, F100 or F200"):
        if text not in log:
            raise Failure("no %r in the log %r" % (text, log))
    print("  unknown device: ended with status 1, named in the log")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--media", required=True, help="folder with media.gfx and media.aud")
    ap.add_argument("--refs", required=True, help="folder with the rendered pictures")
    ap.add_argument("--device", required=True, choices=["DESKTOP", "F100", "F200"])
    ap.add_argument("--out", required=True)
    ap.add_argument("--only", help="run only this scenario")
    opts = ap.parse_args()
    os.makedirs(opts.out, exist_ok=True)
    w, h = (640, 480) if opts.device == "DESKTOP" else (320, 240)
    refs = {n: reference(opts, n, w, h)
            for n in ("compo", "quillet", "kvtitle", "story01a", "story02a")}

    scenarios = [
        ("fresh", lambda g: scenario_fresh(g, refs)),
        ("unlocked", lambda g: scenario_unlocked(g, refs, g.marker)),
        ("wrong-code", lambda g: scenario_rejected(g, refs, b"5093177\r\n")),
    ]
    if opts.device == "DESKTOP":
        scenarios += [
            ("empty-marker", lambda g: scenario_rejected(g, refs, b"")),
            ("code-and-blank", lambda g: scenario_rejected(g, refs, b"5093176 \r\n")),
            ("user-folder-marker", lambda g: scenario_unlocked(g, refs, g.user_marker)),
            ("unknown-device", scenario_unknown_device),
        ]
    failed = []
    for name, run in scenarios:
        if opts.only and name != opts.only:
            continue
        print("%s / %s" % (opts.device, name), flush=True)
        g = Game(opts, name)
        try:
            run(g)
            print("  ok", flush=True)
        except (Failure, subprocess.CalledProcessError) as e:
            print("  FAILED: %s" % e, flush=True)
            failed.append(name)
        finally:
            g.stop()
        if failed and failed[-1] == name:
            g.print_output()
    if failed:
        print("failed scenarios: " + ", ".join(failed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
