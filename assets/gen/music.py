# The seven music tracks, composed by code: each has a key and a lead
# instrument of its own, a tempo, a chord progression in sections, a melody
# built from seeded phrases that repeat and answer each other, harmony voices
# and a rhythm section. The three battle tracks each pass through at least
# three distinct sections (their own chords, drum patterns and instruments)
# before they loop. Moods: menu calm (MenuTheme, flute, F major), grand and
# festive for the final victory and the menu's second track (Spring_Village,
# trumpet, B flat major), a march for level 1 (TheTrueStoryOfBeelzebub, shawm,
# G minor), tense for level 2 (The Grace of a Kingdom, fiddle, C minor), urgent
# for level 3 (FinalLevel, horn, E minor), bright for a won battle (Meowgic,
# glockenspiel, A major), sombre for a lost one (YouLose, cello, B minor). Every track is an exact number of bars rendered
# into a circular buffer, so its end flows into its start; all are brought to
# one loudness. Depends on synth.py.
import random

import numpy as np

from synth import Mix, RATE, clear_caches, drum, normalise, note, rms_db, write_mp3

MAJOR = [0, 2, 4, 5, 7, 9, 11]
MINOR = [0, 2, 3, 5, 7, 8, 10]
TARGET_DB = -17.0
NOTE_NAMES = ["C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"]


# A piece in progress: key, tempo, a chord per bar, and the loop it is mixed into.
class Song:
    def __init__(self, root, scale, bpm, beats, progression, seed):
        self.root, self.scale, self.bpm, self.beats = root, scale, bpm, beats
        self.prog = progression            # one chord degree per bar
        self.beat = 60.0 / bpm
        self.bar = self.beat * beats
        self.rng = random.Random(seed)
        self.mix = Mix(self.bar * len(progression))
        self.drum_stem = Mix(self.bar * len(progression))

    def pitch(self, degree, octave=0):
        """MIDI note of a scale degree (0 = root; 7 = root an octave up)."""
        o, d = divmod(degree, 7)
        semis = self.scale[d]
        # the raised leading tone over the dominant in minor keys
        return self.root + 12 * (o + octave) + semis

    # Scale degrees of the chord of a bar.
    def chord(self, bar):
        d = self.prog[bar % len(self.prog)]
        return [d, d + 2, d + 4]

    # Seconds at a bar and beat.
    def t(self, bar, beat):
        return bar * self.bar + beat * self.beat

    # -- parts -------------------------------------------------------------

    # Sustained chords, one per bar (or per `every` bars).
    def pad(self, voice, octave=0, gain=0.35, pan=0.0, every=1, bars=None):
        for b in (bars if bars is not None else range(0, len(self.prog), every)):
            for k, d in enumerate(self.chord(b)):
                self.mix.add(note(voice, self.pitch(d, octave), self.bar * every * 0.98, 0.8), self.t(b, 0), gain,
                             pan + (k - 1) * 0.25, 0.4)

    def bass(self, pattern, voice="bass", octave=-2, gain=0.55, bars=None):
        """pattern: list of (beat, length, chord index or 'fifth'/'oct')."""
        for b in self.bars(bars):
            ch = self.chord(b)
            for beat, length, which in pattern:
                d = ch[0] + (4 if which == "fifth" else 7 if which == "oct" else 0)
                self.mix.add(note(voice, self.pitch(d, octave), length * self.beat, 0.9), self.t(b, beat), gain,
                             0.0, 0.1)

    # A broken chord pattern in every bar.
    def arpeggio(self, voice, pattern, octave=0, gain=0.3, pan=0.2, bars=None):
        for b in self.bars(bars):
            ch = self.chord(b)
            for beat, idx in pattern:
                d = ch[idx % 3] + 7 * (idx // 3)
                self.mix.add(note(voice, self.pitch(d, octave), self.beat * 0.9, 0.8), self.t(b, beat), gain, pan,
                             0.35)

    def drums(self, pattern, gain=0.5, bars=None):
        """pattern: list of (beat, kind, velocity) repeated every bar. The hits
        are also summed dry on their own, to measure how loud the drums are."""
        for b in self.bars(bars):
            for beat, kind, vel in pattern:
                pan = 0.1 if kind in ("hat", "tamb", "shaker") else 0.0
                self.mix.add(drum(kind, vel), self.t(b, beat), gain, pan, 0.15)
                self.drum_stem.add(drum(kind, vel), self.t(b, beat), gain, pan, 0)

    # The bars a part plays in: all of them unless a range is given.
    def bars(self, bars):
        return range(len(self.prog)) if bars is None else bars

    def phrase(self, seed, bars, rhythms, low, high, end_long=True):
        """A melody of `bars` bars: [(bar offset, beat, beats, degree)]."""
        rng = random.Random(seed)
        out = []
        prev = (low + high) // 2
        for b in range(bars):
            rhythm = rhythms[rng.randrange(len(rhythms))]
            if end_long and b == bars - 1:
                rhythm = [self.beats / 2.0, self.beats / 2.0] if len(rhythms[0]) > 2 else [float(self.beats)]
            beat = 0.0
            for i, ln in enumerate(rhythm):
                strong = beat == int(beat) and int(beat) % 2 == 0
                out.append((b, beat, ln, strong, i == len(rhythm) - 1 and b == bars - 1))
                beat += ln
        notes = []
        for b, beat, ln, strong, last in out:
            notes.append([b, beat, ln, strong, last])
        # pitches are chosen later against the chords of where the phrase is placed
        return notes, prev, rng.random()

    def melody(self, voice, sections, rhythms, low, high, gain=0.5, pan=-0.1, octave=0, rest_chance=0.1):
        """sections: list of (start bar, bars, phrase seed)."""
        for start, bars, seed in sections:
            rng = random.Random(seed)
            shape, prev, _ = self.phrase(seed, bars, rhythms, low, high)
            prev = (low + high) // 2
            for b, beat, ln, strong, last in shape:
                bar = start + b
                ch = self.chord(bar)
                tones = [d + 7 * o for d in ch for o in (-1, 0, 1, 2)]
                if strong or last:
                    cands = [d for d in tones if low <= d <= high]
                    if last:
                        cands = [d for d in cands if (d - ch[0]) % 7 == 0] or cands
                    deg = min(cands, key=lambda d: abs(d - prev) + rng.random() * 1.5)
                else:
                    step = rng.choice([-2, -1, -1, 1, 1, 2, 0])
                    deg = max(low, min(high, prev + step))
                if not last and not strong and rng.random() < rest_chance:
                    prev = deg
                    continue
                self.mix.add(note(voice, self.pitch(deg, octave), ln * self.beat * 0.92, 0.85),
                             self.t(bar, beat), gain, pan, 0.35)
                prev = deg

    # The finished loop with its reverb.
    def render(self, room=1.6):
        return self.mix.render(room, seed=len(self.prog))


def form(a_bars, b_bars, a_seed, b_seed):
    """A A' B A sections (start bar, bars, seed)."""
    return [(0, a_bars, a_seed), (a_bars, a_bars, a_seed + 1), (2 * a_bars, b_bars, b_seed),
            (2 * a_bars + b_bars, a_bars, a_seed)]


# Bars start..start+count.
def span(start, count):
    return range(start, start + count)


# Calm: harp, flute lead and strings in F major.
def menu_theme():
    a = [0, 5, 3, 4, 0, 5, 1, 4]
    b = [3, 0, 3, 4, 5, 3, 1, 4]
    s = Song(65, MAJOR, 80, 4, a + a + b + a, 11)
    s.pad("pad", -1, 0.22)
    s.arpeggio("harp", [(0, 0), (0.5, 1), (1, 2), (1.5, 3), (2, 4), (2.5, 3), (3, 2), (3.5, 1)], -1, 0.2)
    s.bass([(0, 4, "root")], octave=-2, gain=0.4)
    s.melody("flute", form(8, 8, 101, 131), [[1, 1, 2], [2, 1, 1], [1.5, 0.5, 2], [1, 1, 1, 1], [3, 1]], 4, 12,
             0.42, octave=-1)
    for bar in range(0, 32, 4):
        s.mix.add(note("bell", s.pitch(7 + s.chord(bar)[2] % 7, 0), 1.0, 0.6), s.t(bar, 0), 0.12, 0.4, 0.6)
    return s, 2.0


# Grand and festive: trumpet lead, strings and timpani in B flat major.
def spring_village():
    a = [0, 3, 4, 0, 0, 5, 1, 4]
    b = [3, 4, 2, 5, 1, 4, 0, 0]
    s = Song(58, MAJOR, 104, 4, a + a + b + a, 21)
    s.pad("strings", 0, 0.2)
    s.bass([(0, 1, "root"), (1, 1, "fifth"), (2, 1, "root"), (3, 1, "oct")], octave=-1, gain=0.38)
    s.melody("brass", form(8, 8, 201, 231), [[1, 1, 2], [1.5, 0.5, 1, 1], [2, 1, 1], [1, 0.5, 0.5, 2]], 7, 14,
             0.42, octave=0)
    s.arpeggio("pluck", [(0, 2), (1, 1), (2, 2), (3, 1)], 1, 0.12, 0.35)
    s.drums([(0, "timpani", 0.8), (2, "timpani", 0.4), (1, "snare", 0.25), (3, "snare", 0.25),
             (3.5, "roll", 0.3)], 0.45)
    for bar in range(0, 32, 2):
        s.mix.add(note("bell", s.pitch(14 + s.chord(bar)[0] % 7), 1.0, 0.6), s.t(bar, 0), 0.1, -0.3, 0.5)
    return s, 1.8


# Level 1, a march in G minor led by a shawm: the theme over snare and kick
# (A), a brighter answer in the relative major with toms and a fife (B), a
# drum-led bridge with a horn call over a bass ostinato (C), the theme varied
# (A') and the answer over the march beat (B').
def march():
    a = [0, 5, 6, 0, 0, 3, 4, 0]
    b = [2, 5, 1, 4, 2, 5, 3, 4]
    c = [0, 0, 5, 5, 3, 3, 4, 4]
    s = Song(55, MINOR, 112, 4, a + b + c + a + b, 31)
    A, B, C, A2, B2 = (list(span(8 * k, 8)) for k in range(5))
    s.pad("strings", 0, 0.14, bars=A + B + A2 + B2)
    s.bass([(0, 1, "root"), (1, 1, "fifth"), (2, 1, "root"), (3, 1, "fifth")], octave=-1, gain=0.45,
           bars=A + B + A2 + B2)
    s.bass([(k * 0.5, 0.4, "root" if k % 2 == 0 else "oct") for k in range(8)], octave=-1, gain=0.4, bars=C)
    march_beat = [(0, "kick", 0.9), (2, "kick", 0.8), (1, "snare", 0.7), (3, "snare", 0.7), (3.5, "roll", 0.6),
                  (3.75, "roll", 0.65), (1.5, "roll", 0.4)] + [(k * 0.5, "hat", 0.5) for k in range(8)]
    s.drums(march_beat, 0.85, bars=A + A2 + B2)
    s.drums([(0, "kick", 0.9), (1, "tom", 0.7), (2, "kick", 0.8), (2.5, "tom", 0.6), (3, "snare", 0.8),
             (3.5, "tamb", 0.8), (1.5, "tamb", 0.8)], 0.85, bars=B)
    s.drums([(0, "tom", 0.9), (0.75, "tom", 0.6), (1.5, "tom", 0.8), (2, "snare", 0.8)] +
            [(2 + k * 0.25, "roll", 0.5 + 0.1 * k) for k in range(8)], 0.85, bars=C)
    s.melody("shawm", [(0, 8, 301), (24, 8, 302)], [[1.5, 0.5, 1, 1], [1, 1, 1.5, 0.5], [0.75, 0.25, 1, 2],
                                                    [1, 1, 2]], 4, 11, 0.4, octave=0, rest_chance=0.0)
    s.melody("shawm", [(8, 8, 331), (32, 8, 332)], [[1, 1, 2], [2, 2], [1.5, 0.5, 2]], 6, 13, 0.36,
             rest_chance=0.0)
    s.arpeggio("fife", [(0.5, 4), (1.5, 3), (2.5, 4), (3.5, 5)], 1, 0.12, 0.4, bars=B + B2)
    s.melody("horn", [(16, 8, 341)], [[2, 2], [3, 1], [4]], 0, 7, 0.38, pan=0.2, rest_chance=0.0)
    return s, 1.2


# Level 2, tense, in C minor led by a solo fiddle: staccato strings over toms
# and a shaker (A), a driving answer with a backbeat (B), a half-time bridge
# of plucks and a high fiddle over timpani (C), then the theme again (A).
def tense():
    a = [0, 0, 5, 5, 3, 3, 4, 4]
    b = [5, 3, 0, 4, 5, 3, 1, 4]
    c = [3, 4, 5, 5, 3, 4, 4, 4]
    s = Song(60, MINOR, 96, 4, a + b + c + a, 41)
    A, B, C, A2 = (span(8 * k, 8) for k in range(4))
    s.arpeggio("stacc", [(k * 0.5, [0, 0, 2, 0, 1, 0, 2, 1][k]) for k in range(8)], -1, 0.24, -0.3,
               bars=list(A) + list(B) + list(A2))
    s.arpeggio("pluck", [(k * 0.5, [0, 2, 1, 2][k % 4]) for k in range(8)], 0, 0.16, 0.3, bars=C)
    s.pad("pad", -1, 0.16)
    s.bass([(0, 2, "root"), (2.5, 1.5, "root")], octave=-2, gain=0.5)
    shaker = [(k * 0.25, "shaker", 0.5 + 0.3 * (k % 2 == 0)) for k in range(16)]
    s.drums([(0, "tom", 0.9), (1.5, "tom", 0.6), (2, "tom", 0.8), (3, "hat", 0.8), (3.5, "hat", 0.6)] + shaker,
            0.85, bars=list(A) + list(A2))
    s.drums([(0, "kick", 0.9), (1, "clap", 0.8), (2, "kick", 0.8), (2.5, "kick", 0.6), (3, "clap", 0.8)] +
            [(k * 0.5, "hat", 0.6) for k in range(8)] + shaker, 0.85, bars=B)
    s.drums([(0, "timpani", 0.8), (2, "snare", 0.6), (3.5, "tamb", 0.7)], 0.85, bars=C)
    s.melody("fiddle", [(0, 8, 401), (8, 8, 431), (24, 8, 402)], [[2, 2], [3, 1], [1, 1, 2], [4]], 2, 9, 0.34,
             rest_chance=0.2)
    s.melody("fiddle", [(16, 8, 441)], [[1, 1, 2], [2, 1, 1], [4]], 7, 13, 0.3, rest_chance=0.1)
    return s, 1.8


# Level 3, urgent, in E minor led by a horn: driving bass and drums (A), a
# lifted answer with a tambourine and shaker (B), a stripped bridge of toms
# and staccato strings (C), then the theme and the answer varied (A' B').
def urgent():
    a = [0, 6, 5, 4, 0, 6, 5, 4]
    b = [5, 3, 0, 4, 5, 3, 1, 4]
    c = [3, 3, 0, 0, 5, 5, 4, 4]
    s = Song(64, MINOR, 144, 4, a + b + c + a + b, 51)
    A, B, C, A2, B2 = (list(span(8 * k, 8)) for k in range(5))
    drive = A + B + A2 + B2
    s.bass([(k * 0.5, 0.45, "root" if k % 4 != 3 else "fifth") for k in range(8)], octave=-2, gain=0.42,
           bars=drive)
    s.bass([(0, 3.5, "root")], octave=-2, gain=0.45, bars=C)
    s.drums([(0, "kick", 0.9), (1, "kick", 0.7), (2, "kick", 0.9), (3, "kick", 0.7), (1, "snare", 0.7),
             (3, "snare", 0.8)] + [(k * 0.5, "hat", 0.5 + 0.2 * (k % 2)) for k in range(8)], 0.8, bars=A + A2)
    s.drums([(0, "kick", 0.9), (0, "tamb", 1.0), (1.5, "kick", 0.7), (2, "kick", 0.9), (1, "snare", 0.8),
             (3, "snare", 0.8), (3.5, "snare", 0.5)] + [(k * 0.25, "shaker", 0.6) for k in range(16)], 0.8,
            bars=B + B2)
    s.drums([(0, "tom", 0.9), (0.5, "tom", 0.6), (1, "tom", 0.8), (2, "tom", 0.9), (2.75, "tom", 0.6),
             (3, "tom", 0.8), (3.5, "snare", 0.6)], 0.8, bars=C)
    s.pad("strings", 0, 0.15, bars=drive)
    s.arpeggio("stacc", [(k * 0.5, [0, 2, 1, 2][k % 4]) for k in range(8)], 0, 0.16, 0.3)
    s.melody("horn", [(0, 8, 501), (8, 8, 531), (24, 8, 502), (32, 8, 532)],
             [[1, 1, 1, 1], [1.5, 0.5, 2], [0.5, 0.5, 1, 2], [2, 1, 1]], 2, 9, 0.42, rest_chance=0.05)
    s.melody("horn", [(16, 8, 541)], [[4], [2, 2], [3, 1]], 5, 11, 0.36, rest_chance=0.0)
    return s, 1.0


# Bright: glockenspiel lead, plucks and tambourine in A major.
def bright():
    a = [0, 4, 5, 3, 0, 4, 3, 4]
    b = [3, 4, 0, 5, 3, 4, 0, 0]
    s = Song(57, MAJOR, 124, 4, a + b + a, 61)
    s.bass([(0, 0.9, "root"), (1.5, 0.5, "fifth"), (2, 0.9, "oct"), (3, 0.9, "fifth")], octave=-1, gain=0.42)
    s.arpeggio("pluck", [(k * 0.5, [0, 1, 2, 3][k % 4]) for k in range(8)], 0, 0.15, 0.3)
    s.drums([(0, "kick", 0.6), (2, "kick", 0.5), (1, "tamb", 0.8), (3, "tamb", 0.8), (1.5, "hat", 0.5),
             (3.5, "hat", 0.5)], 0.45)
    s.melody("bell", [(0, 8, 601), (8, 8, 631), (16, 8, 602)], [[1, 1, 1, 1], [0.5, 0.5, 1, 2], [1, 0.5, 0.5, 2]],
             7, 14, 0.4, rest_chance=0.05)
    s.pad("organ", 0, 0.1)
    return s, 1.4


# Sombre: a cello lead over slow strings and organ in B minor.
def sombre():
    a = [0, 3, 5, 4, 0, 3, 4, 0]
    s = Song(47, MINOR, 64, 4, a + a, 71)
    s.pad("pad", 1, 0.24)
    s.bass([(0, 4, "root")], voice="organ", octave=0, gain=0.3)
    s.melody("cello", [(0, 8, 701), (8, 8, 702)], [[2, 2], [3, 1], [4], [1, 1, 2]], 7, 13, 0.45, rest_chance=0.1)
    s.drums([(0, "timpani", 0.35)], 0.4)
    return s, 2.4


TRACKS = [
    ("data\\MenuTheme.mp3", menu_theme),
    ("data\\Spring_Village.mp3", spring_village),
    ("data\\TheTrueStoryOfBeelzebub.mp3", march),
    ("data\\The Grace of a Kingdom.mp3", tense),
    ("data\\FinalLevel.mp3", urgent),
    ("data\\Meowgic.mp3", bright),
    ("data\\YouLose.mp3", sombre),
]
# Writes the seven tracks at one loudness and a report: length, loudness,
# peak, key, tempo and how loud the drums are against the whole mix.
def generate(root):
    import os
    report = []
    for path, make in TRACKS:
        clear_caches()  # keeps memory low on a shared machine
        song, room = make()
        raw = song.render(room)
        x = normalise(raw, TARGET_DB)
        out = os.path.join(root, *path.split("\\"))
        write_mp3(out, x)
        drums = rms_db(song.drum_stem.buf) - rms_db(raw) if np.any(song.drum_stem.buf) else float("-inf")
        key = "%s %s" % (NOTE_NAMES[song.root % 12], "major" if song.scale is MAJOR else "minor")
        report.append("%-34s %5.1f s  RMS %.2f dBFS  peak %.3f  %-8s %3d bpm  %2d bars  drums %5.1f dB" %
                      (path, x.shape[1] / RATE, rms_db(x), float(np.max(np.abs(x))), key, song.bpm,
                       len(song.prog), drums))
    with open(os.path.join(root, "music-report.txt"), "w") as f:
        f.write("\n".join(report) + "\n")
    print("\n".join(report))
