#!/usr/bin/env python3
"""The real game's message boxes on a screen of the size given: every box the
game shows on its way to a start-up failure lies wholly on the screen, and a
click on its OK button closes it; the game then ends with status 1.

Run inside its own X display (tests/with_xvfb.sh WxH python3 message_box_test.py ...).
"""

import argparse
import os
import sys

import first_run_test as fr
import message_boxes as mb


def answer_boxes(seen):
    """on_start hook of run_case: answers every box as a user would, noting
    (box, windows with a class beside it) in seen."""
    def on_start(proc):
        width, height = mb.screen_size()

        def fail(what):
            fr.kill_group(proc)
            raise fr.Failure(what)

        while True:
            box = mb.wait_for_box(proc, seconds=90)
            if box is None:
                return None
            seen.append((box, [w for w in mb.top_windows() if w.wm_class]))
            if not box.fits(width, height):
                fail("box %r is %s on a %dx%d screen" % (box.name, box.geometry(), width, height))
            centre = mb.button_centre(box)
            if centre is None:
                fail("box %r %s: no button found" % (box.name, box.geometry()))
            # A box still busy drawing on a loaded machine may miss the first
            # click; a user would click again.
            for _ in range(3):
                mb.click(*centre)
                if mb.gone(box, seconds=5):
                    break
            else:
                fail("box %r %s: a click on OK at %r did not close it"
                     % (box.name, box.geometry(), centre))
    return on_start


def with_boxes(extra=None):
    def env_change(env):
        env.pop("ORVALE_NO_MESSAGE_BOX", None)
        env.update(extra or {})
    return env_change


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--media", required=True)
    ap.add_argument("--out", required=True)
    opts = ap.parse_args()
    size = "%dx%d" % mb.screen_size()
    opts.out = os.path.join(opts.out, size)
    os.makedirs(opts.out, exist_ok=True)
    failures = []

    def check(name, fn):
        try:
            fn()
            print("ok  ", name, size)
        except fr.Failure as e:
            failures.append(str(e))
            print("FAIL", e)

    def data_missing():
        name, seen = "box-gfx-missing", []
        code, err, log = fr.run_case(opts, name, damage=fr.remove("media.gfx"),
                                     env_change=with_boxes(), on_start=answer_boxes(seen))
        for box, _ in seen:
            print("     box %r %s" % (box.name, box.geometry()))
        fr.expect(seen and seen[-1][0].name == "Kestrovar", "%s: boxes %r" %
                  (name, [(b.name, b.geometry()) for b, _ in seen]))
        fr.expect(code == 1, "%s: exit status %d, stderr %r" % (name, code, err))
        # Standard error keeps the reason on one line.
        line = [l for l in err.splitlines() if "missing or damaged" in l]
        fr.expect(len(line) == 1 and "Reinstall the game" in line[0],
                  "%s: stderr %r" % (name, err))

    def unknown_device():
        name, seen = "box-device", []
        code, err, log = fr.run_case(opts, name, env_change=with_boxes({"ORVALE_DEVICE": "foo"}),
                                     on_start=answer_boxes(seen))
        for box, _ in seen:
            print("     box %r %s" % (box.name, box.geometry()))
        fr.expect(len(seen) == 1 and seen[0][0].name == "Kestrovar",
                  "%s: boxes %r" % (name, [(b.name, b.geometry()) for b, _ in seen]))
        fr.expect(not seen[0][1], "%s: windows beside the box %r" %
                  (name, [(w.name, w.geometry()) for w in seen[0][1]]))
        fr.expect(code == 1, "%s: exit status %d, stderr %r" % (name, code, err))
        fr.expect('Unknown device "FOO"' in err, "%s: stderr %r" % (name, err))

    check("the box of missing game data", data_missing)
    check("the box of an unknown device", unknown_device)

    if failures:
        print("\n".join(failures))
        sys.exit(1)


if __name__ == "__main__":
    main()
