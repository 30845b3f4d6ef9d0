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
import subprocess
import sys
import time


class Failure(Exception):
    pass


def run_case(opts, name, damage=None, env_change=None, expect_exit=True, seconds=120,
             actions=None):
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
    proc = subprocess.Popen([exe], cwd=folder, env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)
    try:
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
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.communicate()
        raise Failure("%s: the game did not end within %d s" % (name, seconds))
    log_path = os.path.join(tmp, "ErrorLog.txt")
    log = open(log_path, "rb").read().decode("latin-1") if os.path.exists(log_path) else ""
    shutil.rmtree(run_dir, ignore_errors=True)
    return proc.returncode, err, log


def expect(cond, what):
    if not cond:
        raise Failure(what)


def truncate(fraction):
    def damage(run_dir):
        path = os.path.join(run_dir, "media.gfx")
        data = open(path, "rb").read()
        open(path, "wb").write(data[:int(len(data) * fraction)])
    return damage


def flip_members(run_dir):
    # Damage every member's packed stream, leaving the directory intact.
    path = os.path.join(run_dir, "media.gfx")
    data = bytearray(open(path, "rb").read())
    directory = int.from_bytes(data[-4:], "little", signed=True)
    at = directory if directory >= 0 else len(data) + directory
    while data[at]:
        n = data[at]
        offset = int.from_bytes(data[at + 1 + n:at + 5 + n], "little", signed=True)
        size = int.from_bytes(data[at + 5 + n:at + 9 + n], "little", signed=True)
        for i in range(offset + 8, offset + size, 7):
            data[i] ^= 0x5A
        at += 1 + n + 8
    open(path, "wb").write(bytes(data))


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

    def no_display(display):
        def env_change(env):
            env.pop("WAYLAND_DISPLAY", None)
            env.pop("SDL_VIDEODRIVER", None)
            if display is None:
                env.pop("DISPLAY", None)
            else:
                env["DISPLAY"] = display

        def case():
            name = "no-display" if display is None else "dead-display"
            code, err, log = run_case(opts, name, env_change=env_change)
            expect(code != 0, "%s: exit status %d" % (name, code))
            expect("no display to show a window on" in err, "%s: stderr %r" % (name, err))
            expect("no display to show a window on" in log, "%s: log %r" % (name, log))
        return case

    check("no DISPLAY", no_display(None))
    check("DISPLAY without a server", no_display(":93"))

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
