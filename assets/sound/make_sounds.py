#!/usr/bin/env python3
"""Synthesises the game's four sounds (44.1 kHz, 16 bit), the same every run.

    make_sounds.py --out-dir DIR music     writes DIR/sound.wav, the looping music
    make_sounds.py --out-dir DIR effects   writes DIR/boing.wav, DIR/success.wav, DIR/fail.wav

Standard library only. The music is rendered into a ring: a note that rings past the end of
the last bar continues at the start, so the file loops without a seam. The file then starts
at the quietest sample just before the first bar line, where both channels cross zero.
"""

import argparse
import array
import math
import os
import random
import sys
import wave

RATE = 44100
FULL = 32767

# Levels in dBFS. The music sits about 10 dB under the effects: its loudness (RMS) is set
# relative to the effects' loudness measured over the part where they sound.
EFFECT_PEAK_DB = -1.5
SUCCESS_PEAK_DB = -7.0  # several chimes may sound at once
MUSIC_UNDER_EFFECTS_DB = 10.0


def db(value):
    return 10 ** (value / 20.0)


def midi_hz(note):
    return 440.0 * 2 ** ((note - 69) / 12.0)


def write_wav(path, channels):
    """channels: one or two lists of floats in -1..1 of equal length."""
    frames = array.array("h")
    if len(channels) == 1:
        frames.extend(int(round(max(-1.0, min(1.0, s)) * FULL)) for s in channels[0])
    else:
        left, right = channels
        inter = [0.0] * (2 * len(left))
        inter[0::2] = left
        inter[1::2] = right
        frames.extend(int(round(max(-1.0, min(1.0, s)) * FULL)) for s in inter)
    if sys.byteorder != "little":
        frames.byteswap()
    tmp = path + ".tmp"
    with wave.open(tmp, "wb") as w:
        w.setnchannels(len(channels))
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames.tobytes())
    os.replace(tmp, path)


def peak(samples):
    return max(abs(min(samples)), abs(max(samples)))


def rms(samples, threshold=0.0):
    """Root mean square over the samples louder than threshold times the peak."""
    limit = peak(samples) * threshold
    used = [s for s in samples if abs(s) >= limit] if threshold else samples
    return math.sqrt(sum(s * s for s in used) / max(1, len(used)))


def scale_to_peak(samples, target):
    gain = target / peak(samples)
    return [s * gain for s in samples]


def fade(samples, fade_in=0.004, fade_out=0.03):
    n_in = int(fade_in * RATE)
    n_out = int(fade_out * RATE)
    n = len(samples)
    for i in range(n_in):
        samples[i] *= i / n_in
    for i in range(n_out):
        samples[n - 1 - i] *= i / n_out
    samples[0] = 0.0
    samples[-1] = 0.0
    return samples


def one_pole_lowpass(samples, cutoff):
    a = math.exp(-2 * math.pi * cutoff / RATE)
    out = []
    y = 0.0
    for s in samples:
        y = (1 - a) * s + a * y
        out.append(y)
    return out


# ---------------------------------------------------------------- effects


def boing():
    """A springy boing: a twangy tone whose pitch wobbles fast and settles while it dies away."""
    dur = 0.7
    n = int(dur * RATE)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        wobble = 0.32 * math.exp(-t * 3.2) * math.sin(2 * math.pi * 14.0 * t)
        glide = 1.0 + 0.45 * math.exp(-t * 14.0)
        f = 140.0 * glide * (1.0 + wobble)
        phase += 2 * math.pi * f / RATE
        env = (1 - math.exp(-t * 400.0)) * math.exp(-t * 4.0)
        twang = math.exp(-t * 7.0)
        out.append(env * (math.sin(phase) + 0.35 * twang * math.sin(2 * phase)
                          + 0.18 * twang * math.sin(3 * phase) + 0.08 * twang * math.sin(4 * phase)))
    return fade(scale_to_peak(out, db(EFFECT_PEAK_DB)), 0.003, 0.08)


def success():
    """A light rising chime of three bell notes (E6, G6, C7) a short step apart."""
    dur = 0.75
    n = int(dur * RATE)
    out = [0.0] * n
    notes = [(0.0, 88, 0.8), (0.075, 91, 0.8), (0.15, 96, 1.0)]
    for start, note, level in notes:
        f = midi_hz(note)
        first = int(start * RATE)
        for i in range(first, n):
            t = (i - first) / RATE
            env = level * (1 - math.exp(-t * 900.0))
            v = (math.sin(2 * math.pi * f * t) * math.exp(-t * 6.0)
                 + 0.35 * math.sin(2 * math.pi * 2.0 * f * t) * math.exp(-t * 11.0)
                 + 0.12 * math.sin(2 * math.pi * 3.01 * f * t) * math.exp(-t * 22.0))
            out[i] += env * v
    return fade(scale_to_peak(out, db(SUCCESS_PEAK_DB)), 0.003, 0.08)


def fail():
    """A soft low bonk: a short falling sine with a muffled knock at its start."""
    rng = random.Random(4)
    dur = 0.4
    n = int(dur * RATE)
    noise = one_pole_lowpass([rng.uniform(-1, 1) for _ in range(n)], 600.0)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = 95.0 + 70.0 * math.exp(-t * 22.0)
        phase += 2 * math.pi * f / RATE
        env = (1 - math.exp(-t * 500.0)) * math.exp(-t * 11.0)
        knock = 2.5 * noise[i] * math.exp(-t * 90.0)
        out.append(env * (math.sin(phase) + 0.15 * math.sin(2 * phase)) + knock)
    return fade(scale_to_peak(out, db(EFFECT_PEAK_DB - 1.0)), 0.003, 0.06)


def effects():
    return {"boing": boing(), "success": success(), "fail": fail()}


# ---------------------------------------------------------------- music

BPM = 100
BEATS_PER_BAR = 4
BARS = 16
BEAT = 60.0 / BPM

# One chord a bar (two where the bar is split), as MIDI notes around middle C.
C, DM, EM, F, G, G7, AM = ([60, 64, 67], [62, 65, 69], [64, 67, 71], [65, 69, 72], [67, 71, 74],
                           [67, 71, 74, 77], [69, 72, 76])
CHORDS = [
    [C], [AM], [F], [G], [C], [AM], [DM, G], [C],
    [F], [C], [F], [G], [AM], [F], [G], [G7],
]

# The tune: (duration in beats, MIDI note or None for a rest), bar after bar.
MELODY = [
    [(1, 76), (1, 79), (1, 76), (1, 72)],
    [(1, 72), (1, 76), (2, 81)],
    [(1, 81), (1, 79), (1, 77), (1, 81)],
    [(3, 79), (1, 74)],
    [(1, 76), (1, 79), (1, 84), (1, 79)],
    [(1, 81), (1, 79), (2, 76)],
    [(1, 77), (1, 74), (1, 79), (1, 71)],
    [(3, 72), (1, None)],
    [(0.5, 81), (0.5, 81), (1, 84), (1, 81), (1, 77)],
    [(1, 79), (1, 76), (2, 72)],
    [(1, 77), (1, 81), (1, 84), (1, 81)],
    [(2, 79), (2, 74)],
    [(1, 76), (1, 81), (1, 84), (1, 83)],
    [(1, 81), (1, 77), (2, 72)],
    [(1, 74), (1, 79), (1, 83), (1, 81)],
    [(1, 79), (1, 77), (2, 74)],
]


class Ring:
    """A stereo buffer whose end wraps to its start."""

    def __init__(self, length):
        self.n = length
        self.left = [0.0] * length
        self.right = [0.0] * length

    def add(self, start, samples, pan):
        """Adds mono samples from sample index start; pan -1 (left) .. 1 (right)."""
        gl = math.cos((pan + 1) * math.pi / 4)
        gr = math.sin((pan + 1) * math.pi / 4)
        n = self.n
        left, right = self.left, self.right
        for k, s in enumerate(samples):
            j = (start + k) % n
            left[j] += gl * s
            right[j] += gr * s


def mallet(f, dur, level):
    """A soft vibraphone-like note with a slow gentle vibrato; it rings a little past dur."""
    n = int((dur + 0.6) * RATE)
    out = []
    w1 = 2 * math.pi * f / RATE
    for i in range(n):
        t = i / RATE
        release = 1.0 if t < dur else math.exp(-(t - dur) * 9.0)
        env = level * (1 - math.exp(-t * 300.0)) * math.exp(-t * 1.6) * release
        vib = 1.0 + 0.25 * (1 - math.exp(-t * 3)) * math.sin(2 * math.pi * 5.0 * t)
        x = w1 * i
        out.append(env * vib * (math.sin(x) + 0.18 * math.sin(2 * x) * math.exp(-t * 6.0)
                                + 0.06 * math.sin(4 * x) * math.exp(-t * 20.0)))
    return out


def pluck(f, dur, level, bright=0.3):
    """A round plucked tone for bass and chords."""
    n = int((dur + 0.15) * RATE)
    out = []
    w = 2 * math.pi * f / RATE
    for i in range(n):
        t = i / RATE
        release = 1.0 if t < dur else math.exp(-(t - dur) * 30.0)
        env = level * (1 - math.exp(-t * 500.0)) * math.exp(-t * 3.0) * release
        x = w * i
        out.append(env * (math.sin(x) + bright * math.sin(2 * x) * math.exp(-t * 8.0)
                          + 0.5 * bright * math.sin(3 * x) * math.exp(-t * 14.0)))
    return out


def kick(level):
    n = int(0.22 * RATE)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = 48.0 + 70.0 * math.exp(-t * 35.0)
        phase += 2 * math.pi * f / RATE
        out.append(level * math.sin(phase) * math.exp(-t * 18.0) * (1 - math.exp(-t * 2000.0)))
    return out


def shaker(rng, level, length=0.07):
    n = int(length * RATE)
    raw = [rng.uniform(-1, 1) for _ in range(n)]
    # A high-pass made from the difference to a low-passed copy: a soft, airy tick.
    low = one_pole_lowpass(raw, 3000.0)
    return [level * (r - l) * (1 - math.exp(-i / RATE * 900.0)) * math.exp(-i / RATE * 55.0)
            for i, (r, l) in enumerate(zip(raw, low))]


def woodblock(level):
    n = int(0.08 * RATE)
    f = 880.0
    return [level * math.sin(2 * math.pi * f * i / RATE) * math.exp(-i / RATE * 70.0)
            * (1 - math.exp(-i / RATE * 3000.0)) for i in range(n)]


def compose():
    rng = random.Random(1987)
    beat = int(round(BEAT * RATE))
    bar = beat * BEATS_PER_BAR
    ring = Ring(bar * BARS)

    for b, notes in enumerate(MELODY):
        pos = 0.0
        for beats, note in notes:
            if note is not None:
                start = b * bar + int(round(pos * beat))
                ring.add(start, mallet(midi_hz(note), beats * BEAT * 0.92, 0.55), 0.25)
            pos += beats
        if abs(pos - BEATS_PER_BAR) > 1e-9:
            raise SystemExit("bar %d of the tune has %g beats" % (b + 1, pos))

    for b, chords in enumerate(CHORDS):
        per = BEATS_PER_BAR // len(chords)
        for c, chord in enumerate(chords):
            first = b * bar + c * per * beat
            root = chord[0] - 24
            # Bass: root on the first beat of the chord, fifth on the third.
            ring.add(first, pluck(midi_hz(root), BEAT * 1.6, 0.75, 0.35), 0.0)
            if per >= 4:
                ring.add(first + 2 * beat, pluck(midi_hz(root + 7), BEAT * 1.6, 0.6, 0.35), 0.0)
            # Chords: soft off-beat strums on beats two and four.
            for k in range(per):
                if k % 2 == 1:
                    for v, note in enumerate(chord[:3]):
                        ring.add(first + k * beat + v * 120,
                                 pluck(midi_hz(note), BEAT * 0.7, 0.17, 0.5), -0.35)

    hat = [shaker(rng, 0.09) for _ in range(4)]
    for b in range(BARS):
        for k in range(BEATS_PER_BAR):
            start = b * bar + k * beat
            if k in (0, 2):
                ring.add(start, kick(0.55), 0.0)
            else:
                ring.add(start, woodblock(0.05), 0.3)
            ring.add(start + beat // 2, hat[(b + k) % 4], 0.4)
            ring.add(start, [s * 0.6 for s in hat[(b * 3 + k) % 4]], 0.4)

    # A gentle echo of the whole mix, also around the ring, for a little room.
    n = ring.n
    for src, dst, delay, gain in ((ring.left, ring.right, int(0.21 * RATE), 0.16),
                                  (ring.right, ring.left, int(0.33 * RATE), 0.12)):
        echo = [src[(i - delay) % n] * gain for i in range(n)]
        for i in range(n):
            dst[i] += echo[i]
    return ring


def loop_start(ring, window):
    """The sample in the window before the first bar line where both channels are quietest
    and the left one crosses zero between it and the sample before it."""
    best = None
    for k in range(-window, 1):
        i = k % ring.n
        prev = (k - 1) % ring.n
        score = max(abs(ring.left[i]), abs(ring.right[i])) + max(abs(ring.left[prev]), abs(ring.right[prev]))
        if best is None or score < best[0]:
            best = (score, i)
    return best[1]


def music(effect_loudness):
    ring = compose()
    start = loop_start(ring, int(0.02 * RATE))
    left = ring.left[start:] + ring.left[:start]
    right = ring.right[start:] + ring.right[:start]
    loud = rms(left + right, 0.1)
    gain = effect_loudness * db(-MUSIC_UNDER_EFFECTS_DB) / loud
    top = max(peak(left), peak(right)) * gain
    if top > db(-3.0):
        raise SystemExit("the music would peak at %.1f dBFS" % (20 * math.log10(top)))
    return [s * gain for s in left], [s * gain for s in right]


def effect_loudness(sounds):
    """Mean RMS of the effects over the part of each that sounds (louder than 10% of its peak)."""
    return sum(rms(s, 0.1) for s in sounds.values()) / len(sounds)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out-dir", required=True)
    parser.add_argument("what", choices=["music", "effects"])
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    sounds = effects()
    if args.what == "effects":
        # In the mixer's own format, both channels alike: a mono file would be converted as it
        # loads, and the chunk would keep the converter's buffer, four times the file's samples.
        for name, samples in sounds.items():
            write_wav(os.path.join(args.out_dir, name + ".wav"), [samples, samples])
    else:
        left, right = music(effect_loudness(sounds))
        write_wav(os.path.join(args.out_dir, "sound.wav"), [left, right])


if __name__ == "__main__":
    main()
