#!/usr/bin/env python3
"""Renders a small text score into a 16-bit stereo PCM WAV file.

Usage: scoresynth.py <score file> <output.wav> [--rate 22050]

Score format (one statement a line; a word starting with '#' begins a
comment that runs to the end of the line):

    tempo 96                  beats per minute
    voice NAME INSTRUMENT [volume V] [pan P]
                              starts a voice; the lines after it, up to the
                              next 'voice', are its notes
    C4:1 E4:0.5 r:2 D3+A3:4   notes: pitch name (C..B, '#' or 'b', octave),
                              ':' and a length in beats (the previous length
                              when left out); 'r' is a rest; '+' joins the
                              notes of a chord; '|' bar lines are ignored
    ( ... )x3                 repeats what the brackets hold (may nest)
    at BEAT                   moves the voice's cursor to a beat
    length BEATS              the piece's total length
    loop                      the piece loops: sound ringing on past its
                              end is wrapped to its start

Instruments: harp, flute, pad, bass, bell, drum, chime.
Only the standard library is used so that the build needs nothing else.
"""

import math
import random
import struct
import sys
import wave

NOTE_BASE = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}


class ScoreError(Exception):
    pass


def pitch_to_freq(token, where):
    name = token[0].upper()
    if name not in NOTE_BASE:
        raise ScoreError("%s: bad note '%s'" % (where, token))
    rest = token[1:]
    semis = NOTE_BASE[name]
    while rest and rest[0] in "#b":
        semis += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    try:
        octave = int(rest)
    except ValueError:
        raise ScoreError("%s: bad octave in '%s'" % (where, token))
    return 440.0 * 2.0 ** ((semis + 12 * (octave - 4)) / 12.0)


def expand_repeats(tokens, where):
    out = []
    stack = [out]
    for tok in tokens:
        if tok == "(":
            stack.append([])
        elif tok.startswith(")"):
            if len(stack) < 2:
                raise ScoreError("%s: ')' without '('" % where)
            count = 1
            if len(tok) > 1:
                if not tok[1:].startswith("x") or not tok[2:].isdigit():
                    raise ScoreError("%s: bad repeat '%s'" % (where, tok))
                count = int(tok[2:])
            body = stack.pop()
            stack[-1].extend(body * count)
        else:
            stack[-1].append(tok)
    if len(stack) != 1:
        raise ScoreError("%s: '(' without ')'" % where)
    return out


class Voice:
    def __init__(self, name, instrument, volume, pan):
        self.name = name
        self.instrument = instrument
        self.volume = volume
        self.pan = pan
        self.cursor = 0.0
        self.length = 1.0
        self.notes = []  # (start beat, beats, [freqs])


def parse_score(path):
    tempo = 100.0
    total = None
    loop = False
    voices = []
    pending = []
    current = None

    def flush():
        if current is None:
            if pending:
                raise ScoreError("%s: notes before the first voice" % path)
            return
        for tok, where in expand_with_where(pending):
            if tok == "|":
                continue
            body, _, length = tok.partition(":")
            if length:
                try:
                    current.length = float(length)
                except ValueError:
                    raise ScoreError("%s: bad length in '%s'" % (where, tok))
                if current.length <= 0:
                    raise ScoreError("%s: length must be positive in '%s'" % (where, tok))
            if body.lower() != "r":
                freqs = [pitch_to_freq(p, where) for p in body.split("+")]
                current.notes.append((current.cursor, current.length, freqs))
            current.cursor += current.length
        pending.clear()

    def expand_with_where(items):
        toks = [t for t, _ in items]
        where = items[0][1] if items else path
        return [(t, where) for t in expand_repeats(toks, where)]

    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            where = "%s:%d" % (path, number)
            words = line.split()
            for k, w in enumerate(words):
                if w.startswith("#"):
                    del words[k:]
                    break
            if not words:
                continue
            head = words[0]
            if head == "tempo":
                tempo = float(words[1])
            elif head == "loop":
                loop = True
            elif head == "length":
                total = float(words[1])
            elif head == "voice":
                flush()
                if len(words) < 3:
                    raise ScoreError("%s: voice needs a name and an instrument" % where)
                opts = dict(zip(words[3::2], words[4::2]))
                if words[2] not in INSTRUMENTS:
                    raise ScoreError("%s: unknown instrument '%s'" % (where, words[2]))
                current = Voice(words[1], words[2], float(opts.get("volume", 0.5)),
                                float(opts.get("pan", 0.0)))
                voices.append(current)
            elif head == "at":
                flush()
                if current is None:
                    raise ScoreError("%s: 'at' before the first voice" % where)
                current.cursor = float(words[1])
            else:
                pending.extend((w, where) for w in words)
    flush()
    if total is None:
        total = max((v.cursor for v in voices), default=0.0)
    return tempo, total, loop, voices


# Each instrument renders one note: (freq, seconds, rate, rng) -> list of floats.

def env_adsr(i, n, rate, attack, release):
    t = i / rate
    a = min(1.0, t / attack) if attack > 0 else 1.0
    r_start = n - int(release * rate)
    if i > r_start:
        a *= max(0.0, (n - i) / max(1.0, n - r_start))
    return a


def harp(freq, secs, rate, rng):
    n = int((secs + 1.2) * rate)
    w = 2.0 * math.pi * freq / rate
    out = [0.0] * n
    decay = 3.2 / (1.0 + freq / 600.0)
    for i in range(n):
        t = i / rate
        e = math.exp(-t * decay) * min(1.0, i / 40.0)
        x = w * i
        out[i] = e * (math.sin(x) + 0.45 * math.sin(2 * x) * math.exp(-t * 3)
                      + 0.2 * math.sin(3 * x) * math.exp(-t * 6))
    return out


def flute(freq, secs, rate, rng):
    n = int((secs + 0.15) * rate)
    out = [0.0] * n
    phase = 0.0
    for i in range(n):
        t = i / rate
        vib = 1.0 + 0.004 * math.sin(2 * math.pi * 5.2 * t) * min(1.0, t / 0.3)
        phase += 2.0 * math.pi * freq * vib / rate
        e = env_adsr(i, n, rate, 0.06, 0.15)
        breath = (rng.random() - 0.5) * 0.04
        out[i] = e * (math.sin(phase) + 0.18 * math.sin(2 * phase) + 0.06 * math.sin(3 * phase) + breath)
    return out


def pad(freq, secs, rate, rng):
    n = int((secs + 0.6) * rate)
    out = [0.0] * n
    w1 = 2.0 * math.pi * freq / rate
    w2 = 2.0 * math.pi * freq * 1.004 / rate
    w3 = 2.0 * math.pi * freq * 0.997 / rate
    for i in range(n):
        e = env_adsr(i, n, rate, 0.5, 0.6)
        out[i] = e * 0.4 * (math.sin(w1 * i) + math.sin(w2 * i) + 0.7 * math.sin(w3 * i)
                            + 0.25 * math.sin(2 * w1 * i))
    return out


def bass(freq, secs, rate, rng):
    n = int((secs + 0.3) * rate)
    out = [0.0] * n
    w = 2.0 * math.pi * freq / rate
    for i in range(n):
        t = i / rate
        e = env_adsr(i, n, rate, 0.01, 0.25) * (0.6 + 0.4 * math.exp(-t * 4))
        out[i] = e * (math.sin(w * i) + 0.3 * math.sin(2 * w * i))
    return out


def bell(freq, secs, rate, rng):
    n = int((secs + 2.0) * rate)
    out = [0.0] * n
    parts = ((1.0, 1.0, 1.6), (2.76, 0.5, 3.0), (5.4, 0.25, 5.0), (0.5, 0.3, 1.0))
    for i in range(n):
        t = i / rate
        s = 0.0
        for ratio, amp, dec in parts:
            s += amp * math.exp(-t * dec) * math.sin(2.0 * math.pi * freq * ratio * t)
        out[i] = s * min(1.0, i / 20.0)
    return out


def chime(freq, secs, rate, rng):
    n = int((secs + 1.0) * rate)
    out = [0.0] * n
    for i in range(n):
        t = i / rate
        x = 2.0 * math.pi * freq * t
        out[i] = min(1.0, i / 15.0) * math.exp(-t * 2.5) * (math.sin(x) + 0.35 * math.sin(3.01 * x))
    return out


def drum(freq, secs, rate, rng):
    n = int(min(secs, 0.6) * rate)
    out = [0.0] * n
    phase = 0.0
    for i in range(n):
        t = i / rate
        f = freq * (1.0 + 1.5 * math.exp(-t * 30))
        phase += 2.0 * math.pi * f / rate
        out[i] = math.exp(-t * 9) * (math.sin(phase) + (rng.random() - 0.5) * 0.3 * math.exp(-t * 40))
    return out


INSTRUMENTS = {"harp": harp, "flute": flute, "pad": pad, "bass": bass,
               "bell": bell, "drum": drum, "chime": chime}


def render(score_path, out_path, rate):
    tempo, total_beats, loop, voices = parse_score(score_path)
    beat_secs = 60.0 / tempo
    total = int(total_beats * beat_secs * rate)
    if total <= 0:
        raise ScoreError("%s: the score is empty" % score_path)
    left = [0.0] * total
    right = [0.0] * total
    rng = random.Random(7)
    cache = {}
    for v in voices:
        fn = INSTRUMENTS[v.instrument]
        gl = v.volume * math.cos((v.pan + 1.0) * math.pi / 4.0) * math.sqrt(2.0)
        gr = v.volume * math.sin((v.pan + 1.0) * math.pi / 4.0) * math.sqrt(2.0)
        for start, beats, freqs in v.notes:
            for fq in freqs:
                key = (v.instrument, round(fq, 3), round(beats * beat_secs, 4))
                if key not in cache:
                    cache[key] = fn(fq, beats * beat_secs, rate, rng)
                samples = cache[key]
                s0 = int(start * beat_secs * rate)
                # In a loop the tail past the end wraps to the start, so the
                # piece repeats without a click; otherwise it is cut.
                for i, s in enumerate(samples):
                    j = s0 + i
                    if j >= total:
                        if not loop:
                            break
                        j %= total
                    left[j] += s * gl
                    right[j] += s * gr
    peak = max(max(abs(x) for x in left), max(abs(x) for x in right), 1e-9)
    gain = 0.85 / peak
    frames = bytearray()
    pack = struct.Struct("<hh").pack
    for a, b in zip(left, right):
        frames += pack(int(max(-32767, min(32767, a * gain * 32767))),
                       int(max(-32767, min(32767, b * gain * 32767))))
    with wave.open(out_path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def main(argv):
    args = argv[1:]
    rate = 22050
    if "--rate" in args:
        k = args.index("--rate")
        try:
            rate = int(args[k + 1])
        except (IndexError, ValueError):
            print("scoresynth: --rate needs a number", file=sys.stderr)
            return 2
        del args[k:k + 2]
    if len(args) != 2:
        print("usage: scoresynth.py <score file> <output.wav> [--rate 22050]", file=sys.stderr)
        return 2
    try:
        render(args[0], args[1], rate)
    except (ScoreError, OSError, ValueError, IndexError) as e:
        print("scoresynth: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
