#!/usr/bin/env python3
"""Synthesises the game's four sounds, 44.1 kHz, 16 bit, two channels, the same every run.

    make_sounds.py --out-dir DIR    writes DIR/sound.wav (the looping music), DIR/boing.wav,
                                    DIR/success.wav and DIR/fail.wav

The effects are written with both channels alike, in the mixer's own format, so loading them
converts nothing. The music is rendered into a ring: a note that rings past the end of the last
bar continues at the start, so the file loops without a seam; it starts at the quietest sample
just before the first bar line, and its loudness is set 10 dB under the effects'.
"""

import argparse
import os
import wave

import numpy as np

RATE = 44100

# Levels in dBFS. The music's loudness (RMS) is set relative to the effects' loudness measured
# over the part where they sound.
EFFECT_PEAK_DB = -1.5
SUCCESS_PEAK_DB = -7.0  # several chimes may sound at once
MUSIC_UNDER_EFFECTS_DB = 10.0


def db(value):
    return 10 ** (value / 20.0)


def hz(note):
    """The frequency of a MIDI note."""
    return 440.0 * 2 ** ((note - 69) / 12.0)


def seconds(duration):
    """The times of the samples of a sound that long."""
    return np.arange(int(duration * RATE)) / RATE


def rms(samples, threshold):
    """Root mean square over the samples louder than threshold times the peak."""
    used = samples[np.abs(samples) >= np.abs(samples).max() * threshold]
    return np.sqrt(np.mean(used ** 2))


def finish(samples, peak_db, fade_out):
    """Scaled to its peak, with a 3 ms fade-in and the given fade-out, silent at both ends."""
    samples = samples * db(peak_db) / np.abs(samples).max()
    n_in, n_out = int(0.003 * RATE), int(fade_out * RATE)
    samples[:n_in] *= np.arange(n_in) / n_in
    samples[-n_out:] *= np.arange(n_out)[::-1] / n_out
    samples[0] = samples[-1] = 0.0
    return samples


def lowpass(samples, cutoff):
    """A one-pole low-pass filter."""
    a = np.exp(-2 * np.pi * cutoff / RATE)
    out = np.empty_like(samples)
    y = 0.0
    for i, s in enumerate(samples):
        y = (1 - a) * s + a * y
        out[i] = y
    return out


def boing():
    """A springy boing: a twangy tone whose pitch wobbles fast and settles while it dies away."""
    t = seconds(0.7)
    wobble = 0.32 * np.exp(-t * 3.2) * np.sin(2 * np.pi * 14.0 * t)
    phase = np.cumsum(2 * np.pi * 140.0 * (1.0 + 0.45 * np.exp(-t * 14.0)) * (1.0 + wobble) / RATE)
    twang = np.exp(-t * 7.0)
    env = (1 - np.exp(-t * 400.0)) * np.exp(-t * 4.0)
    overtones = sum(a * np.sin(k * phase) for k, a in ((2, 0.35), (3, 0.18), (4, 0.08)))
    tone = np.sin(phase) + twang * overtones
    return finish(env * tone, EFFECT_PEAK_DB, 0.08)


def success():
    """A light rising chime of three bell notes (E6, G6, C7) a short step apart."""
    out = np.zeros(int(0.75 * RATE))
    for start, note, level in ((0.0, 88, 0.8), (0.075, 91, 0.8), (0.15, 96, 1.0)):
        t = np.arange(len(out) - int(start * RATE)) / RATE
        w = 2 * np.pi * hz(note) * t
        bell = (np.sin(w) * np.exp(-t * 6.0) + 0.35 * np.sin(2.0 * w) * np.exp(-t * 11.0)
                + 0.12 * np.sin(3.01 * w) * np.exp(-t * 22.0))
        out[-len(t):] += level * (1 - np.exp(-t * 900.0)) * bell
    return finish(out, SUCCESS_PEAK_DB, 0.08)


def fail():
    """A soft low bonk: a short falling sine with a muffled knock at its start."""
    t = seconds(0.4)
    noise = lowpass(np.random.default_rng(4).uniform(-1, 1, len(t)), 600.0)
    phase = np.cumsum(2 * np.pi * (95.0 + 70.0 * np.exp(-t * 22.0)) / RATE)
    env = (1 - np.exp(-t * 500.0)) * np.exp(-t * 11.0)
    knock = 2.5 * noise * np.exp(-t * 90.0)
    bonk = env * (np.sin(phase) + 0.15 * np.sin(2 * phase))
    return finish(bonk + knock, EFFECT_PEAK_DB - 1.0, 0.06)


# ---------------------------------------------------------------- music

BPM = 100
BEATS_PER_BAR = 4
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


def tone(f, dur, level, attack, decay, ring, release, partials, vibrato=0.0):
    """The one instrument: partials (multiple of f, level, decay per second) under an envelope
    that rises at attack, decays, and after dur dies away at release for ring more seconds,
    with a slow vibrato that grows in; a soft mallet or a plucked string by its settings."""
    t = seconds(dur + ring)
    env = level * (1 - np.exp(-t * attack)) * np.exp(-t * decay)
    env *= np.where(t < dur, 1.0, np.exp(-(t - dur) * release))
    env *= 1.0 + vibrato * (1 - np.exp(-t * 3)) * np.sin(2 * np.pi * 5.0 * t)
    w = 2 * np.pi * f * t
    return env * sum(a * np.sin(k * w) * np.exp(-t * d) for k, a, d in partials)


def mallet(note, dur, level):
    """A soft vibraphone-like note that rings a little past dur."""
    return tone(hz(note), dur, level, 300.0, 1.6, 0.6, 9.0,
                ((1, 1.0, 0), (2, 0.18, 6.0), (4, 0.06, 20.0)), vibrato=0.25)


def pluck(note, dur, level, bright):
    """A round plucked tone for bass and chords."""
    return tone(hz(note), dur, level, 500.0, 3.0, 0.15, 30.0,
                ((1, 1.0, 0), (2, bright, 8.0), (3, 0.5 * bright, 14.0)))


def kick(level):
    t = seconds(0.22)
    phase = np.cumsum(2 * np.pi * (48.0 + 70.0 * np.exp(-t * 35.0)) / RATE)
    return level * np.sin(phase) * np.exp(-t * 18.0) * (1 - np.exp(-t * 2000.0))


def shaker(rng, level):
    """A soft, airy tick: noise less its low-passed copy."""
    t = seconds(0.07)
    raw = rng.uniform(-1, 1, len(t))
    return level * (raw - lowpass(raw, 3000.0)) * (1 - np.exp(-t * 900.0)) * np.exp(-t * 55.0)


def woodblock(level):
    t = seconds(0.08)
    return level * np.sin(2 * np.pi * 880.0 * t) * np.exp(-t * 70.0) * (1 - np.exp(-t * 3000.0))


def compose():
    """The stereo ring of 16 bars, shape (2, samples)."""
    beat = int(round(BEAT * RATE))
    bar = beat * BEATS_PER_BAR
    ring = np.zeros((2, bar * len(MELODY)))

    def add(start, samples, pan):  # pan -1 (left) .. 1 (right)
        angle = (pan + 1) * np.pi / 4
        ring[:, (start + np.arange(len(samples))) % ring.shape[1]] += np.outer(
            [np.cos(angle), np.sin(angle)], samples)

    for b, notes in enumerate(MELODY):
        pos = 0.0
        for beats, note in notes:
            if note is not None:
                add(b * bar + int(round(pos * beat)), mallet(note, beats * BEAT * 0.92, 0.55), 0.25)
            pos += beats
        assert pos == BEATS_PER_BAR, "bar %d of the tune has %g beats" % (b + 1, pos)

    for b, chords in enumerate(CHORDS):
        per = BEATS_PER_BAR // len(chords)
        for c, chord in enumerate(chords):
            first = b * bar + c * per * beat
            root = chord[0] - 24
            # Bass: root on the first beat of the chord, fifth on the third.
            add(first, pluck(root, BEAT * 1.6, 0.75, 0.35), 0.0)
            if per >= 4:
                add(first + 2 * beat, pluck(root + 7, BEAT * 1.6, 0.6, 0.35), 0.0)
            # Chords: soft off-beat strums on beats two and four.
            for k in range(1, per, 2):
                for v, note in enumerate(chord[:3]):
                    add(first + k * beat + v * 120, pluck(note, BEAT * 0.7, 0.17, 0.5), -0.35)

    rng = np.random.default_rng(1987)
    hats = [shaker(rng, 0.09) for _ in range(4)]
    for b in range(len(MELODY)):
        for k in range(BEATS_PER_BAR):
            start = b * bar + k * beat
            add(start, kick(0.55) if k in (0, 2) else woodblock(0.05), 0.0 if k in (0, 2) else 0.3)
            add(start + beat // 2, hats[(b + k) % 4], 0.4)
            add(start, 0.6 * hats[(b * 3 + k) % 4], 0.4)

    # A gentle echo of the whole mix, also around the ring, for a little room.
    ring[1] += 0.16 * np.roll(ring[0], int(0.21 * RATE))
    ring[0] += 0.12 * np.roll(ring[1], int(0.33 * RATE))
    return ring


def music(effect_loudness):
    """The music, starting at the quietest pair of samples in the 20 ms before the first bar line
    (so the loop's seam is near zero), at its level under the effects."""
    ring = compose()
    loudest = np.abs(ring).max(axis=0)
    k = np.arange(-int(0.02 * RATE), 1)
    start = (k % ring.shape[1])[np.argmin(loudest[k] + loudest[k - 1])]
    ring = np.roll(ring, -start, axis=1)
    gain = effect_loudness * db(-MUSIC_UNDER_EFFECTS_DB) / rms(ring.ravel(), 0.1)
    if np.abs(ring).max() * gain > db(-3.0):
        raise SystemExit("the music would peak above -3 dBFS")
    return ring * gain


def write_wav(path, channels):
    """Two rows of samples in -1..1 as a 16-bit stereo WAV file."""
    frames = np.round(np.clip(channels.T, -1.0, 1.0) * 32767).astype("<i2")
    with wave.open(path + ".tmp", "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames.tobytes())
    os.replace(path + ".tmp", path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out-dir", required=True)
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    effects = {"boing": boing(), "success": success(), "fail": fail()}
    for name, samples in effects.items():
        write_wav(os.path.join(args.out_dir, name + ".wav"), np.stack([samples, samples]))
    loudness = np.mean([rms(s, 0.1) for s in effects.values()])
    write_wav(os.path.join(args.out_dir, "sound.wav"), music(loudness))


if __name__ == "__main__":
    main()
