#!/usr/bin/env python3
"""The real game on a first run gone wrong: no display, damaged or missing
game data. Each case must end with a clear message on standard error and in
the error log and (where the game cannot go on) a non-zero exit status.

Run inside its own X display (tests/with_xvfb.sh WxH python3 first_run_test.py ...).
"""

import argparse
import os
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time


class Failure(Exception):
    pass


def run_case(opts, name, damage=None, env_change=None, expect_exit=True, seconds=120,
             actions=None, on_start=None, wrap=None, stdout_to=None):
    folder = os.path.join(opts.out, name)
    shutil.rmtree(folder, ignore_errors=True)
    run_dir, tmp = os.path.join(folder, "game"), os.path.join(folder, "tmp")
    os.makedirs(run_dir)
    os.makedirs(tmp)
    for f in ("media.gfx", "media.aud"):
        shutil.copy(os.path.join(opts.media, f), run_dir)
    exe = os.path.join(run_dir, "kestrovar")
    shutil.copy2(opts.exe, exe)
    if damage:
        damage(run_dir)
    env = dict(os.environ)
    env["TMPDIR"] = tmp
    env["XDG_DATA_HOME"] = os.path.join(folder, "user")
    env["ORVALE_NO_MESSAGE_BOX"] = "1"
    env.pop("ORVALE_DEVICE", None)
    if env_change:
        env_change(env)
    # A group of its own: a message box is drawn by a child of the game,
    # which holds its output open and must end with it.
    proc = subprocess.Popen(wrap(exe) if wrap else [exe], cwd=folder, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                            start_new_session=True)
    held = None
    try:
        if on_start:
            held = on_start(proc)
        if expect_exit:
            out, err = proc.communicate(timeout=seconds)
        else:
            if actions:
                actions()
            time.sleep(seconds)
            if proc.poll() is not None:
                raise Failure("%s: the game ended early (%d)" % (name, proc.returncode))
            proc.send_signal(signal.SIGTERM)
            out, err = proc.communicate(timeout=30)
    except (subprocess.TimeoutExpired, socket.timeout):
        kill_group(proc)
        raise Failure("%s: the game did not end within %d s" % (name, seconds))
    finally:
        if held:
            held.close()
    if stdout_to is not None:
        stdout_to.append(out)
    log_path = os.path.join(tmp, "ErrorLog.txt")
    log = open(log_path, "rb").read().decode("latin-1") if os.path.exists(log_path) else ""
    shutil.rmtree(run_dir, ignore_errors=True)
    return proc.returncode, err, log


def kill_group(proc):
    """Ends the game and whatever it started, and collects its output."""
    try:
        os.killpg(proc.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    proc.communicate()


def expect(cond, what):
    if not cond:
        raise Failure(what)


def truncate(fraction):
    def damage(run_dir):
        path = os.path.join(run_dir, "media.gfx")
        data = open(path, "rb").read()
        open(path, "wb").write(data[:int(len(data) * fraction)])
    return damage


def archive_members(data):
    """(name, offset, size) of every member in the directory of an archive's bytes."""
    directory = int.from_bytes(data[-4:], "little", signed=True)
    at = directory if directory >= 0 else len(data) + directory
    while data[at]:
        n = data[at]
        name = bytes(data[at + 1:at + 1 + n]).decode()
        offset = int.from_bytes(data[at + 1 + n:at + 5 + n], "little", signed=True)
        size = int.from_bytes(data[at + 5 + n:at + 9 + n], "little", signed=True)
        yield name, offset, size
        at += 1 + n + 8


def flip_members(run_dir):
    # Damage every member's packed stream, leaving the directory intact.
    path = os.path.join(run_dir, "media.gfx")
    data = bytearray(open(path, "rb").read())
    for _, offset, size in list(archive_members(data)):
        for i in range(offset + 8, offset + size, 7):
            data[i] ^= 0x5A
    open(path, "wb").write(bytes(data))


def silent_listener(kind):
    """A listening socket on this machine that never answers, and the
    DISPLAY that names it: an abstract Unix socket where Xlib looks first
    for display :N, or 127.0.0.1:N on TCP port 6000 + N."""
    for number in range(400, 700):
        if kind == "unix":
            if os.path.exists("/tmp/.X11-unix/X%d" % number):
                continue
            s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            address, display = "\0/tmp/.X11-unix/X%d" % number, ":%d" % number
        else:
            s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            address, display = ("127.0.0.1", 6000 + number), "127.0.0.1:%d" % number
        try:
            s.bind(address)
        except OSError:
            s.close()
            continue
        s.listen(8)
        return s, display
    raise Failure("no free display number for a silent socket")


def read_exact(sock, n):
    data = b""
    while len(data) < n:
        chunk = sock.recv(n - len(data))
        if not chunk:
            raise OSError("closed")
        data += chunk
    return data


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def x_cookie(number):
    """(name, data) of the MIT-MAGIC-COOKIE-1 entry for display number in
    the Xauthority file, or empty ones."""
    path = os.environ.get("XAUTHORITY") or os.path.expanduser("~/.Xauthority")
    try:
        data = open(path, "rb").read()
    except OSError:
        return b"", b""
    at = 0

    def field():
        nonlocal at
        n = int.from_bytes(data[at:at + 2], "big")
        at += 2
        value = data[at:at + n]
        at += n
        return value

    while at + 2 <= len(data):
        at += 2  # family
        field()  # address
        num, name, cookie = field(), field(), field()
        if num == str(number).encode() and name == b"MIT-MAGIC-COOKIE-1":
            return name, cookie
    return b"", b""


class XProxy:
    """A display in front of the test's own X server that forwards each
    connection faithfully (with the server's cookie put into the setup)
    until the client sends the request stall_at(opcode, minor) picks, and
    from then on holds that connection without a word: a server that
    answered the setup and then stopped answering."""

    def __init__(self, stall_at):
        real = os.environ["DISPLAY"]
        self.number = int(real.split(":")[1].split(".")[0])
        self.cookie = x_cookie(self.number)
        self.stall_at = stall_at
        self.stalled = threading.Event()
        self.sockets = []
        self.listener, self.display = silent_listener("tcp")
        threading.Thread(target=self.accept, daemon=True).start()

    def upstream(self):
        s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        s.connect("/tmp/.X11-unix/X%d" % self.number)
        self.sockets.append(s)
        return s

    def setup(self, header, order="little"):
        name, data = self.cookie
        return (header[0:6] + len(name).to_bytes(2, order) + len(data).to_bytes(2, order) +
                header[10:12] + pad4(name) + pad4(data))

    def glx_opcode(self):
        """The major opcode of GLX on the real server, or None."""
        s = self.upstream()
        s.sendall(self.setup(b"l\0\x0b\0\0\0\0\0\0\0\0\0"))
        head = read_exact(s, 8)
        read_exact(s, 4 * int.from_bytes(head[6:8], "little"))
        if head[0] != 1:
            return None
        s.sendall(bytes([98, 0]) + (2 + 1).to_bytes(2, "little") + (3).to_bytes(2, "little") +
                  b"\0\0" + pad4(b"GLX"))
        reply = read_exact(s, 32)
        return reply[9] if reply[0] == 1 and reply[8] else None

    def accept(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            self.sockets.append(client)
            threading.Thread(target=self.serve, args=(client,), daemon=True).start()

    def serve(self, client):
        try:
            server = self.upstream()
            header = read_exact(client, 12)
            order = "little" if header[0:1] == b"l" else "big"
            lengths = [int.from_bytes(header[i:i + 2], order) for i in (6, 8)]
            read_exact(client, sum(n + (-n % 4) for n in lengths))
            server.sendall(self.setup(header, order))
            threading.Thread(target=self.answer, args=(server, client), daemon=True).start()
            pending = b""
            while True:
                chunk = client.recv(65536)
                if not chunk:
                    return
                pending += chunk
                while len(pending) >= 4:
                    length = int.from_bytes(pending[2:4], order)
                    if length == 0:  # big request
                        if len(pending) < 8:
                            break
                        length = int.from_bytes(pending[4:8], order)
                    if len(pending) < 4 * length:
                        break
                    request, pending = pending[:4 * length], pending[4 * length:]
                    if self.stall_at(request[0], request[1]):
                        self.stalled.set()
                        return  # held open, never answered
                    server.sendall(request)
        except OSError:
            return

    def answer(self, server, client):
        try:
            while True:
                chunk = server.recv(65536)
                if not chunk:
                    return
                client.sendall(chunk)
        except OSError:
            return

    def close(self):
        self.listener.close()
        for s in self.sockets:
            s.close()


def setup_then_silence(reply):
    """A display that answers every connection setup with reply (part of a
    reply) and then says nothing."""
    listener, display = silent_listener("tcp")
    held = []

    def serve():
        while True:
            try:
                conn, _ = listener.accept()
            except OSError:
                return
            held.append(conn)
            try:
                read_exact(conn, 12)
                conn.sendall(reply)
            except OSError:
                pass

    threading.Thread(target=serve, daemon=True).start()
    return listener, display, held


def damage_member(member):
    """Flips 64 bytes in the middle of one member's packed bytes: its
    unpacking still succeeds, the picture inside is damaged."""
    def damage(run_dir):
        path = os.path.join(run_dir, "media.gfx")
        data = bytearray(open(path, "rb").read())
        for name, offset, size in archive_members(data):
            if name.replace("\\", "/").split("/")[-1] == member:
                middle = offset + size // 2
                for i in range(middle, middle + 64):
                    data[i] ^= 0xFF
                open(path, "wb").write(bytes(data))
                return
        raise Failure("no member %s in media.gfx" % member)
    return damage


# Runs the game with a temporary folder that is full: a small tmpfs mounted
# over it in a mount namespace of its own, nearly filled. The log is copied
# out before the mount goes. Status 77: no such mount can be made here.
FULL_TMP = """
mount -t tmpfs -o size=64k tmpfs "$TMPDIR" || exit 77
head -c 53248 /dev/zero > "$TMPDIR/filler"
"$0"; status=$?
cp "$TMPDIR/ErrorLog.txt" "$TMPDIR.log" 2>/dev/null
umount "$TMPDIR"
mv "$TMPDIR.log" "$TMPDIR/ErrorLog.txt" 2>/dev/null
exit $status
"""


def in_full_tmp(exe):
    return ["unshare", "-m", "sh", "-c", FULL_TMP, exe]


def remove(name):
    return lambda run_dir: os.remove(os.path.join(run_dir, name))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--media", required=True)
    ap.add_argument("--out", required=True)
    opts = ap.parse_args()
    os.makedirs(opts.out, exist_ok=True)
    failures = []

    def check(name, fn):
        try:
            fn()
            print("ok  ", name)
        except Failure as e:
            failures.append(str(e))
            print("FAIL", e)

    def on_display(display):
        """env_change: the game sees only this X display (None: no display)."""
        def env_change(env):
            env.pop("WAYLAND_DISPLAY", None)
            env.pop("SDL_VIDEODRIVER", None)
            if display is None:
                env.pop("DISPLAY", None)
            else:
                env["DISPLAY"] = display
        return env_change

    def no_display(display):
        def case():
            name = "no-display" if display is None else "dead-display"
            code, err, log = run_case(opts, name, env_change=on_display(display))
            expect(code != 0, "%s: exit status %d" % (name, code))
            expect("no display to show a window on" in err, "%s: stderr %r" % (name, err))
            expect("no display to show a window on" in log, "%s: log %r" % (name, log))
        return case

    check("no DISPLAY", no_display(None))
    check("DISPLAY without a server", no_display(":93"))

    def silent_display(kind, sig=None):
        """DISPLAY names a socket that takes connections and never answers:
        the game gives up after a few seconds; SIGTERM or SIGINT while it
        waits end it at once."""
        def case():
            name = "silent-%s%s" % (kind, "-" + sig.name if sig else "")
            listener, display = silent_listener(kind)
            signalled = []

            def interrupt(proc):
                # Once the game is connected, it is waiting for the answer.
                listener.settimeout(60)
                conn, _ = listener.accept()
                proc.send_signal(sig)
                signalled.append(time.time())
                return conn

            started = time.time()
            try:
                code, err, log = run_case(opts, name, env_change=on_display(display), seconds=60,
                                          on_start=interrupt if sig else None)
            finally:
                listener.close()
            expect(code == 1, "%s: exit status %d, stderr %r" % (name, code, err))
            if sig:
                took = time.time() - signalled[0]
                wants = ["start-up was interrupted by " + sig.name]
                expect(took < 4, "%s: ended %.1f s after the signal" % (name, took))
            else:
                took = time.time() - started
                wants = ["no display to show a window on", "did not answer within 5 s"]
                expect(took < 40, "%s: ended after %.1f s" % (name, took))
            for text in wants:
                expect(text in err, "%s: no %r on stderr %r" % (name, text, err))
                expect(text in log, "%s: no %r in the log %r" % (name, text, log))
            expect(err.endswith("\n"), "%s: stderr does not end a line: %r" % (name, err))
            expect("-End On Line\r\n" in log, "%s: no end report in the log %r" % (name, log))
        return case

    check("DISPLAY on a Unix socket that never answers", silent_display("unix"))
    check("DISPLAY on a TCP port that never answers", silent_display("tcp"))
    check("SIGTERM while the display is silent", silent_display("unix", signal.SIGTERM))
    check("SIGINT while the display is silent", silent_display("tcp", signal.SIGINT))

    def stalled_display(name, make, wants, least, most, sig=None):
        """A display that stops answering somewhere in start-up: the game
        ends with status 1 and its reason, a whole line on standard error
        and in the error log, followed there by the end report."""
        def case():
            display, stalled, close = make()
            signalled = []

            def interrupt(proc):
                if not stalled.wait(60):
                    raise Failure("%s: the game never reached the stall" % name)
                time.sleep(0.5)
                proc.send_signal(sig)
                signalled.append(time.time())

            started = time.time()
            try:
                code, err, log = run_case(opts, name, env_change=on_display(display), seconds=90,
                                          on_start=interrupt if sig else None)
            finally:
                close()
            took = time.time() - (signalled[0] if sig else started)
            expect(code == 1, "%s: exit status %d, stderr %r" % (name, code, err))
            expect(least <= took < most, "%s: ended after %.1f s" % (name, took))
            expect(err.endswith("\n"), "%s: stderr does not end a line: %r" % (name, err))
            for text in wants:
                expect(text in err, "%s: no %r on stderr %r" % (name, text, err))
                expect(text in log, "%s: no %r in the log %r" % (name, text, log))
            expect("-End On Line\r\n" in log, "%s: no end report in the log %r" % (name, log))
        return case

    def six_bytes():
        listener, display, held = setup_then_silence(bytes([1, 0, 11, 0, 0, 0]))
        stalled = threading.Event()
        stalled.set()

        def close():
            listener.close()
            for c in held:
                c.close()
        return display, stalled, close

    def proxy(stall_at):
        def make():
            p = XProxy(stall_at)
            return p.display, p.stalled, p.close
        return make

    at_window = lambda op, _: op == 1  # CreateWindow
    glx = XProxy(lambda *_: False)
    glx_major = glx.glx_opcode()
    glx.close()
    # CreateContext, CreateNewContext, CreateContextAttribsARB
    in_context = lambda op, minor: op == glx_major and minor in (3, 24, 34)
    no_display = ["no display to show a window on"]
    stopped = no_display + ["stopped answering", "OpenGL context after 20 s"]
    check("a display that sends 6 bytes of its setup reply and stalls",
          stalled_display("six-bytes", six_bytes, no_display + ["did not answer within 5 s"],
                          4, 15))
    check("a display that stalls after the setup",
          stalled_display("stall-setup", proxy(lambda *_: True), stopped, 15, 40))
    check("a display that stalls at window creation",
          stalled_display("stall-window", proxy(at_window), stopped, 15, 40))
    if glx_major is None:
        print("skip a display that stalls in the GL context (no GLX on the test server)")
    else:
        check("a display that stalls in the GL context",
              stalled_display("stall-context", proxy(in_context), stopped, 15, 40))
    for sig, stall in ((signal.SIGTERM, at_window),
                       (signal.SIGINT, at_window if glx_major is None else in_context)):
        check("%s while the display stalls" % sig.name,
              stalled_display("stall-%s" % sig.name, proxy(stall),
                              ["start-up was interrupted by " + sig.name], 0, 4, sig))

    def device(name, expect_start):
        """ORVALE_DEVICE: the documented names in any letter case start the
        game; any other ends it before its window opens. A game started as
        by hand (no sanitizer options of the tests) and ended by SIGTERM
        reports no leak of the system's libraries."""
        def case():
            label = "device-" + name
            def env_change(env):
                env["ORVALE_DEVICE"] = name
                if expect_start:
                    env.pop("LSAN_OPTIONS", None)
                    env.pop("ASAN_OPTIONS", None)
            out = []
            code, err, log = run_case(opts, label, env_change=env_change,
                                      expect_exit=not expect_start, seconds=6 if expect_start else 60,
                                      stdout_to=out)
            if expect_start:
                expect("Init OK" in out[0], "%s: stdout %r, stderr %r" % (label, out[0], err))
                expect(code == 0, "%s: exit status %d after SIGTERM, stderr %r" % (label, code, err))
                expect("LeakSanitizer" not in err, "%s: stderr %r" % (label, err))
                return
            text = 'Unknown device "%s" in ORVALE_DEVICE. The game plays as DESKTOP, GP2X, ' \
                   'F100 or F200' % name.upper()
            expect(code == 1, "%s: exit status %d, stderr %r" % (label, code, err))
            expect("Init OK" not in out[0], "%s: the window opened: %r" % (label, out[0]))
            expect(text in err, "%s: stderr %r" % (label, err))
            expect(text in log, "%s: log %r" % (label, log))
        return case

    check("an unknown device name", device("foo", False))
    check("a device name in lower case", device("f100", True))

    def device_on_silent_display():
        """An unknown device on a display that never answers: no box is tried
        there, and the game still ends at once with status 1."""
        listener, display = silent_listener("unix")

        def env_change(env):
            on_display(display)(env)
            env.pop("ORVALE_NO_MESSAGE_BOX", None)
            env["ORVALE_DEVICE"] = "foo"

        started = time.time()
        try:
            code, err, log = run_case(opts, "device-silent-display", env_change=env_change,
                                      seconds=30)
        finally:
            listener.close()
        took = time.time() - started
        expect(code == 1, "device-silent-display: exit status %d, stderr %r" % (code, err))
        expect(took < 15, "device-silent-display: ended after %.1f s" % took)
        expect('Unknown device "FOO"' in err, "device-silent-display: stderr %r" % err)
        expect('Unknown device "FOO"' in log, "device-silent-display: log %r" % log)

    check("an unknown device on a silent display", device_on_silent_display)

    def bad_gfx(name, damage, line):
        def case():
            code, err, log = run_case(opts, name, damage=damage)
            expect(code != 0, "%s: exit status %d" % (name, code))
            expect("missing or damaged" in err and "media.gfx" in err,
                   "%s: stderr %r" % (name, err))
            expect("missing or damaged" in log, "%s: log %r" % (name, log))
            expect(line in log, "%s: no %r in the log %r" % (name, line, log))
        return case

    check("media.gfx missing", bad_gfx("gfx-missing", remove("media.gfx"), "cannot be opened"))
    check("media.gfx empty", bad_gfx("gfx-empty", truncate(0), "is empty"))
    check("media.gfx cut short", bad_gfx("gfx-cut", truncate(0.5), "no archive trailer"))
    check("media.gfx damaged members", bad_gfx("gfx-members", flip_members, "is damaged"))

    def damaged_picture():
        # The first picture of the game's own after the shared ones.
        name = "picture-damaged"
        code, err, log = run_case(opts, name, damage=damage_member("compo.png"))
        expect(code == 1, "%s: exit status %d" % (name, code))
        for text in ("missing or damaged", "media.gfx could not supply gfx/compo.png"):
            expect(text in err, "%s: no %r on stderr %r" % (name, text, err))
            expect(text in log, "%s: no %r in the log %r" % (name, text, log))
        line = "Picture gfx/compo.png (member compo.png of media.gfx) cannot be decoded: " \
               "not a readable PNG or BMP picture (libpng: "
        expect(line in log, "%s: no %r in the log %r" % (name, line, log))
        expect(not any(l.startswith("libpng") for l in err.splitlines()),
               "%s: libpng's own line on stderr %r" % (name, err))

    check("a damaged picture inside an intact media.gfx", damaged_picture)

    def full_tmp():
        name = "tmp-full"
        if shutil.which("unshare") is None:
            print("skip", name, "(no unshare)")
            return
        code, err, log = run_case(opts, name, wrap=in_full_tmp)
        if code == 77:
            print("skip", name, "(no tmpfs can be mounted here)")
            return
        expect(code == 1, "%s: exit status %d, stderr %r" % (name, code, err))
        for text in ("is full, so", "could not supply gfx/fontpc.png", "Make room there"):
            expect(text in err, "%s: no %r on stderr %r" % (name, text, err))
        expect("Reinstall" not in err, "%s: %r" % (name, err))
        line = "fontpc.png cannot be unpacked: the temporary folder"
        expect(line in log, "%s: no %r in the log %r" % (name, line, log))

    check("a full temporary folder", full_tmp)

    def press_until_music(log_path):
        # The first screen waits for a press; the title music starts after
        # the logo has faded in and out. Press now and then until the music
        # has been asked for (the log says it cannot come), then a while on.
        def actions():
            deadline = time.time() + 120
            while time.time() < deadline:
                if os.path.exists(log_path) and b"media.aud" in open(log_path, "rb").read():
                    return
                subprocess.run(["xdotool", "mousedown", "1"], check=False)
                time.sleep(0.3)  # held over a few frames: the game samples the button
                subprocess.run(["xdotool", "mouseup", "1"], check=False)
                time.sleep(2)
        return actions

    def no_music():
        log_path = os.path.join(opts.out, "aud-missing", "tmp", "ErrorLog.txt")
        code, err, log = run_case(opts, "aud-missing", damage=remove("media.aud"),
                                  expect_exit=False, seconds=5, actions=press_until_music(log_path))
        lines = [l for l in log.split("\r\n") if "media.aud" in l]
        expect(len(lines) == 1, "aud-missing: log lines %r" % lines)
        expect("cannot be opened" in lines[0], "aud-missing: %r" % lines[0])
        expect("missing or damaged" not in log, "aud-missing: %r" % log)

    check("media.aud missing plays without music", no_music)

    if failures:
        print("\n".join(failures))
        sys.exit(1)


if __name__ == "__main__":
    main()
