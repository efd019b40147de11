#!/usr/bin/env python3
"""The slide show's effect music: four short tunes of our own, written as 16-bit mono WAV.

    make-effect-music.py OUTDIR

writes NATURAL.wav, SLOW.wav, SWING.wav and URBAN.wav into OUTDIR (the build encodes them
as MP3). Everything is computed here: a chord progression per tune, a bass line, chords
and a melody drawn from the chords' notes with a fixed seed, so every build writes the
same samples. Plain Python 3, no modules beyond the standard library.
"""
import array
import math
import os
import random
import sys
import wave

RATE = 22050
TWO_PI = 2.0 * math.pi


def freq(note):
    """The frequency of a MIDI note number."""
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


# Chords as MIDI notes of their root and the intervals above it.
MAJOR, MINOR, MAJ7, MIN7, DOM7 = (0, 4, 7), (0, 3, 7), (0, 4, 7, 11), (0, 3, 7, 10), (0, 4, 7, 10)


class Tune:
    """One tune: a tempo, a progression of (root, chord) pairs, one bar each, and a style."""

    def __init__(self, name, bpm, progression, style, seed, bars=8):
        self.name, self.bpm, self.progression, self.style, self.seed, self.bars = (
            name, bpm, progression, style, seed, bars)

    @property
    def beat(self):
        return 60.0 / self.bpm


def envelope(i, n, attack, release):
    """A linear attack and release over a note of n samples."""
    a = int(attack * RATE)
    r = int(release * RATE)
    if i < a:
        return i / a
    if i > n - r:
        return max(0.0, (n - i) / r)
    return 1.0


def add_note(buf, start, length, note, volume, timbre, attack=0.01, release=0.08):
    """Adds a note of `length` seconds at `start` seconds with a few harmonics."""
    f = freq(note)
    first = int(start * RATE)
    n = int(length * RATE)
    if first >= len(buf):
        return
    n = min(n, len(buf) - first)
    step = TWO_PI * f / RATE
    for i in range(n):
        p = step * i
        s = 0.0
        for k, amp in timbre:
            s += amp * math.sin(p * k)
        # A gentle fall after the attack: plucked and struck sounds fade.
        decay = math.exp(-1.6 * i / RATE)
        buf[first + i] += volume * s * decay * envelope(i, n, attack, release)


def add_noise(buf, start, length, volume, rng, low_pass=0.0):
    """A short noise burst (a snare or a hat); low_pass in [0, 1) darkens it."""
    first = int(start * RATE)
    n = min(int(length * RATE), len(buf) - first)
    last = 0.0
    for i in range(max(0, n)):
        x = rng.uniform(-1.0, 1.0)
        last = low_pass * last + (1.0 - low_pass) * x
        buf[first + i] += volume * last * math.exp(-30.0 * i / RATE)


def add_kick(buf, start, volume):
    """A falling sine: the bass drum."""
    first = int(start * RATE)
    n = min(int(0.25 * RATE), len(buf) - first)
    phase = 0.0
    for i in range(max(0, n)):
        t = i / RATE
        f = 50.0 + 90.0 * math.exp(-25.0 * t)
        phase += TWO_PI * f / RATE
        buf[first + i] += volume * math.sin(phase) * math.exp(-9.0 * t)


PIANO = ((1, 1.0), (2, 0.35), (3, 0.15), (4, 0.06))
PAD = ((1, 1.0), (2, 0.2), (3, 0.08))
BASS = ((1, 1.0), (2, 0.45), (3, 0.1))
BELL = ((1, 1.0), (2.76, 0.25), (5.4, 0.08))


def melody_notes(rng, chord_notes, count, previous):
    """Notes of the melody over one chord: steps near the previous note, on chord tones."""
    pool = sorted({n + 12 * o for n in chord_notes for o in (1, 2)})
    notes = []
    for _ in range(count):
        near = [n for n in pool if abs(n - previous) <= 5] or pool
        previous = rng.choice(near)
        notes.append(previous)
    return notes, previous


def render(tune):
    rng = random.Random(tune.seed)
    beat = tune.beat
    bar = 4 * beat
    total = tune.bars * bar + 1.5
    buf = array.array("d", bytes(8 * int(total * RATE)))
    previous = 72
    for b in range(tune.bars):
        root, chord = tune.progression[b % len(tune.progression)]
        t0 = b * bar
        notes = [root + i for i in chord]
        if tune.style == "natural":
            # Rolling arpeggios under a slow bell melody.
            for k in range(8):
                add_note(buf, t0 + k * beat / 2, beat, notes[k % len(notes)] + (12 if k >= 4 else 0), 0.16, PIANO)
            add_note(buf, t0, bar, root - 12, 0.28, BASS, release=0.3)
            mel, previous = melody_notes(rng, notes, 2, previous)
            for k, n in enumerate(mel):
                add_note(buf, t0 + k * 2 * beat, 2 * beat, n, 0.14, BELL, attack=0.02, release=0.4)
        elif tune.style == "slow":
            # Held chords and a few long notes.
            for n in notes:
                add_note(buf, t0, bar + 0.3, n, 0.12, PAD, attack=0.6, release=0.8)
            add_note(buf, t0, bar, root - 12, 0.25, BASS, attack=0.2, release=0.6)
            mel, previous = melody_notes(rng, notes, 2, previous)
            for k, n in enumerate(mel):
                add_note(buf, t0 + k * 2 * beat + beat / 2, 1.5 * beat, n, 0.12, PIANO, attack=0.05, release=0.5)
        elif tune.style == "swing":
            # A walking bass, chords on two and four, swung eighths above.
            walk = [root - 12, root - 12 + chord[1], root - 12 + chord[2], root - 12 + chord[1] + 1]
            for k, n in enumerate(walk):
                add_note(buf, t0 + k * beat, beat * 0.9, n, 0.3, BASS)
            for k in (1, 3):
                for n in notes:
                    add_note(buf, t0 + k * beat, beat * 0.4, n, 0.08, PIANO)
            mel, previous = melody_notes(rng, notes, 6, previous)
            for k, n in enumerate(mel):
                # Long-short pairs: two thirds and one third of a beat.
                offset = (k // 2) * beat + (2 * beat / 3 if k % 2 else 0.0)
                add_note(buf, t0 + beat + offset, beat / 2, n, 0.13, PIANO)
            for k in range(4):
                add_noise(buf, t0 + k * beat, 0.05, 0.05, rng, low_pass=0.2)
        else:  # urban
            # A drum loop, a bass on the off-beats and a short riff.
            for k in range(4):
                add_kick(buf, t0 + k * beat, 0.5 if k % 2 == 0 else 0.35)
                if k % 2:
                    add_noise(buf, t0 + k * beat, 0.18, 0.22, rng, low_pass=0.5)
                for h in range(2):
                    add_noise(buf, t0 + k * beat + h * beat / 2, 0.03, 0.05, rng)
            for k in range(4):
                add_note(buf, t0 + k * beat + beat / 2, beat / 2, root - 12, 0.3, BASS)
            mel, previous = melody_notes(rng, notes, 4, previous)
            for k, n in enumerate(mel):
                add_note(buf, t0 + k * beat, beat * 0.7, n, 0.12, BELL)
    # The last chord rings out.
    root, chord = tune.progression[0]
    for n in chord:
        add_note(buf, tune.bars * bar, 1.4, root + n, 0.12, PAD, attack=0.05, release=1.0)
    add_note(buf, tune.bars * bar, 1.4, root - 12, 0.25, BASS, release=1.0)
    return buf


def write_wav(path, buf):
    peak = max(1e-9, max(abs(x) for x in buf))
    scale = 0.8 * 32767 / peak
    # Fade the first and last few milliseconds so nothing clicks.
    fade = int(0.005 * RATE)
    pcm = array.array("h", bytes(2 * len(buf)))
    for i, x in enumerate(buf):
        g = min(1.0, i / fade, (len(buf) - 1 - i) / fade)
        pcm[i] = int(max(-32767, min(32767, x * scale * g)))
    if sys.byteorder != "little":
        pcm.byteswap()
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


TUNES = [
    # C - Am - F - G, gentle.
    Tune("NATURAL", 84, [(60, MAJOR), (57, MINOR), (53, MAJOR), (55, MAJOR)], "natural", 11),
    # Dm7 - G7 - Cmaj7 - Am7, slow.
    Tune("SLOW", 60, [(62, MIN7), (55, DOM7), (60, MAJ7), (57, MIN7)], "slow", 23, bars=6),
    # F - D7 - Gm7 - C7, swung.
    Tune("SWING", 132, [(53, MAJ7), (50, DOM7), (55, MIN7), (48, DOM7)], "swing", 37, bars=12),
    # Am - F - C - G over a beat.
    Tune("URBAN", 96, [(57, MINOR), (53, MAJOR), (60, MAJOR), (55, MAJOR)], "urban", 41),
]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for tune in TUNES:
        write_wav(os.path.join(out, tune.name + ".wav"), render(tune))


if __name__ == "__main__":
    main()
