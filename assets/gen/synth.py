# A small wavetable synthesiser for the music and the effects: instrument
# voices (pluck, pad, flute, brass, strings, bell, bass, fiddle, horn, shawm,
# cello, fife) rendered note by note
# with numpy, drum hits, a circular mix buffer whose note tails wrap round to
# its start (so a track loops without a seam), a circular reverb, loudness
# matching and writing WAV or, through lame, MP3. Depends on python3-numpy and
# the lame program.
import os
import shutil
import subprocess
import tempfile
import wave

import numpy as np

RATE = 44100
TABLE = 4096


# One cycle of a waveform from harmonic amplitudes, peak 1.
def _table(amps, phases=None):
    n = np.arange(TABLE) / TABLE
    w = np.zeros(TABLE)
    for k, a in enumerate(amps, start=1):
        if a:
            w += a * np.sin(2 * np.pi * k * n + (phases[k - 1] if phases else 0))
    return w / np.max(np.abs(w))


TABLES = {
    "sine": _table([1]),
    "flute": _table([1, 0.25, 0.08, 0.03]),
    "pluck": _table([1, 0.6, 0.35, 0.2, 0.12, 0.08, 0.05]),
    "brass": _table([1, 0.8, 0.65, 0.5, 0.4, 0.3, 0.22, 0.15, 0.1, 0.06]),
    "string": _table([1, 0.5, 0.33, 0.25, 0.2, 0.16, 0.12, 0.1]),
    "reed": _table([1, 0.1, 0.5, 0.08, 0.3, 0.05, 0.18]),
    "bass": _table([1, 0.45, 0.15, 0.05]),
    "organ": _table([1, 0.5, 0, 0.3, 0, 0.15, 0, 0.1]),
    # a bowed string: every harmonic, falling off like a sawtooth
    "saw": _table([1.0 / k for k in range(1, 16)]),
    # a double reed: strong upper harmonics make it nasal and bright
    "shawm": _table([1, 0.9, 0.8, 0.7, 0.55, 0.45, 0.35, 0.25, 0.18, 0.12, 0.08, 0.05]),
    # a mellow horn: few harmonics
    "horn": _table([1, 0.55, 0.3, 0.15, 0.07]),
}


# Frequency of a MIDI note.
def freq(midi):
    return 440.0 * 2 ** ((midi - 69) / 12.0)


# n samples of a wavetable at frequency f, with optional vibrato.
def osc(table, f, n, vibrato=0.0, vib_rate=5.0, phase0=0.0):
    t = np.arange(n) / RATE
    if vibrato:
        ph = f * t + vibrato * f / (2 * np.pi * vib_rate) * np.sin(2 * np.pi * vib_rate * t) + phase0
    else:
        ph = f * t + phase0
    idx = ((ph % 1.0) * TABLE).astype(np.int64)
    return TABLES[table][idx]


def adsr(n, a, d, s, r, hold):
    """Envelope of n samples: attack a, decay d to level s, release r after `hold` seconds."""
    t = np.arange(n) / RATE
    env = np.where(t < a, t / max(a, 1e-4), s + (1 - s) * np.exp(-(t - a) / max(d, 1e-4)))
    rel = np.clip((t - hold) / max(r, 1e-4), 0, 1)
    return env * (1 - rel) ** 2


VOICES = {
    # table, attack, decay, sustain, release, vibrato, extra tail seconds
    "pluck": ("pluck", 0.004, 0.35, 0.0, 0.2, 0.0, 0.8),
    "harp": ("pluck", 0.003, 0.6, 0.0, 0.3, 0.0, 1.2),
    "pad": ("string", 0.35, 1.0, 0.8, 0.6, 0.004, 0.8),
    "strings": ("string", 0.08, 0.6, 0.75, 0.25, 0.006, 0.4),
    "stacc": ("string", 0.01, 0.12, 0.25, 0.08, 0.0, 0.2),
    "flute": ("flute", 0.05, 0.4, 0.8, 0.15, 0.008, 0.3),
    "brass": ("brass", 0.03, 0.3, 0.7, 0.12, 0.004, 0.3),
    "reed": ("reed", 0.03, 0.3, 0.7, 0.12, 0.006, 0.3),
    "bass": ("bass", 0.006, 0.25, 0.55, 0.08, 0.0, 0.25),
    "organ": ("organ", 0.02, 0.5, 0.85, 0.2, 0.0, 0.3),
    "bell": ("sine", 0.002, 0.9, 0.0, 0.5, 0.0, 1.6),
    "fiddle": ("saw", 0.04, 0.3, 0.85, 0.1, 0.012, 0.3),
    "horn": ("horn", 0.06, 0.4, 0.8, 0.2, 0.003, 0.4),
    "shawm": ("shawm", 0.02, 0.2, 0.85, 0.08, 0.007, 0.25),
    "cello": ("saw", 0.12, 0.6, 0.8, 0.3, 0.01, 0.5),
    "fife": ("flute", 0.02, 0.2, 0.75, 0.06, 0.01, 0.2),
}

_note_cache = {}


# Forgets the cached notes and drum hits.
def clear_caches():
    _note_cache.clear()
    _drum_cache.clear()


# One note of a voice (cached).
def note(voice, midi, dur, vel=1.0):
    key = (voice, midi, round(dur, 4), round(vel, 3))
    if key in _note_cache:
        return _note_cache[key]
    table, a, d, s, r, vib, tail = VOICES[voice]
    n = int((dur + tail) * RATE)
    f = freq(midi)
    if voice == "bell":
        sig = (osc("sine", f, n) + 0.5 * osc("sine", f * 2.76, n) + 0.25 * osc("sine", f * 5.4, n)) / 1.75
        env = np.exp(-np.arange(n) / RATE / 0.5) * np.minimum(1, np.arange(n) / (0.002 * RATE))
    elif voice in ("pad", "strings"):
        sig = (osc(table, f, n, vib, 5.0) + osc(table, f * 1.004, n, vib, 4.3, 0.3) +
               osc(table, f * 0.996, n, vib, 5.6, 0.7)) / 3
        env = adsr(n, a, d, s, r, dur)
    else:
        sig = osc(table, f, n, vib, 5.2)
        env = adsr(n, a, d, s, r, dur)
        if voice in ("pluck", "harp"):
            # brighter attack: add the second harmonic that dies fast
            sig = sig + 0.3 * osc("sine", 2 * f, n) * np.exp(-np.arange(n) / RATE / 0.08)
    out = (sig * env * vel).astype(np.float32)
    _note_cache[key] = out
    return out


# Seeded white noise.
def noise(n, seed):
    return np.random.default_rng(seed).uniform(-1, 1, n)


def lowpass(x, cutoff):
    """One-pole low-pass, as a convolution with its (truncated) exponential response."""
    a = np.exp(-2 * np.pi * cutoff / RATE)
    length = int(min(20000, np.ceil(8 / (1 - a))))
    kernel = (1 - a) * a ** np.arange(length)
    return np.convolve(x, kernel)[:len(x)]


# One-pole high-pass.
def highpass(x, cutoff):
    return x - lowpass(x, cutoff)


def bandpass(x, low, high):
    """Keeps the band from low to high Hz (second-order slopes either side), through the FFT."""
    n = len(x)
    f = np.fft.rfftfreq(n, 1 / RATE)
    gain = (f / low) ** 2 / np.sqrt(1 + (f / low) ** 4) / np.sqrt(1 + (f / high) ** 4)
    return np.fft.irfft(np.fft.rfft(x) * gain, n)


_drum_cache = {}


# One drum hit (cached).
def drum(kind, vel=1.0):
    key = (kind, round(vel, 3))
    if key in _drum_cache:
        return _drum_cache[key]
    if kind == "kick":
        n = int(0.35 * RATE)
        t = np.arange(n) / RATE
        f = 45 + 90 * np.exp(-t / 0.03)
        ph = np.cumsum(f) / RATE
        out = np.sin(2 * np.pi * ph) * np.exp(-t / 0.12)
    elif kind == "snare":
        n = int(0.25 * RATE)
        t = np.arange(n) / RATE
        out = 0.6 * highpass(noise(n, 3), 1500) * np.exp(-t / 0.06) + 0.4 * np.sin(2 * np.pi * 190 * t) * np.exp(
            -t / 0.05)
    elif kind == "roll":
        n = int(0.12 * RATE)
        t = np.arange(n) / RATE
        out = 0.5 * highpass(noise(n, 8), 2000) * np.exp(-t / 0.035)
    elif kind == "hat":
        n = int(0.08 * RATE)
        t = np.arange(n) / RATE
        out = 0.35 * highpass(noise(n, 5), 7000) * np.exp(-t / 0.02)
    elif kind == "timpani":
        n = int(1.2 * RATE)
        t = np.arange(n) / RATE
        out = (np.sin(2 * np.pi * 98 * t) + 0.4 * np.sin(2 * np.pi * 147 * t)) * np.exp(-t / 0.45) * (
            1 - np.exp(-t / 0.003))
        out += 0.2 * lowpass(noise(n, 11), 400) * np.exp(-t / 0.05)
    elif kind == "tom":
        n = int(0.5 * RATE)
        t = np.arange(n) / RATE
        f = 80 + 40 * np.exp(-t / 0.05)
        out = np.sin(2 * np.pi * np.cumsum(f) / RATE) * np.exp(-t / 0.18)
    elif kind == "shaker":
        n = int(0.09 * RATE)
        t = np.arange(n) / RATE
        out = 0.4 * bandpass(noise(n, 17), 5000, 12000) * np.sin(np.pi * t / 0.09) ** 2
    elif kind == "clap":
        n = int(0.2 * RATE)
        t = np.arange(n) / RATE
        bursts = sum(np.exp(-np.maximum(0, t - d) / 0.008) * (t >= d) for d in (0, 0.011, 0.022))
        out = 0.7 * bandpass(noise(n, 19), 1000, 6000) * (bursts / 3 + 0.5 * np.exp(-t / 0.07))
    elif kind == "tamb":
        n = int(0.15 * RATE)
        t = np.arange(n) / RATE
        out = 0.3 * highpass(noise(n, 13), 5000) * np.exp(-t / 0.05) * (1 + 0.5 * np.sin(2 * np.pi * 30 * t))
    else:
        raise ValueError(kind)
    out = (out * vel).astype(np.float32)
    _drum_cache[key] = out
    return out


class Mix:
    """A stereo loop of n samples; sounds added past the end wrap to the start."""

    def __init__(self, seconds):
        self.n = int(round(seconds * RATE))
        self.buf = np.zeros((2, self.n), np.float32)
        self.wet = np.zeros((2, self.n), np.float32)

    # Mixes sig in at a time, wrapping past the end to the start.
    def add(self, sig, at, gain=1.0, pan=0.0, reverb=0.25):
        start = int(round(at * RATE)) % self.n
        left, right = gain * (1 - pan) * 0.7071 * 1.0, gain * (1 + pan) * 0.7071
        pos = 0
        while pos < len(sig):
            take = min(len(sig) - pos, self.n - start)
            seg = sig[pos:pos + take]
            self.buf[0, start:start + take] += seg * left
            self.buf[1, start:start + take] += seg * right
            if reverb:
                self.wet[0, start:start + take] += seg * left * reverb
                self.wet[1, start:start + take] += seg * right * reverb
            pos += take
            start = 0

    def render(self, room=1.6, seed=1):
        """Dry plus a circular reverb (the reverb tail wraps round as well)."""
        rng = np.random.default_rng(seed)
        out = self.buf.copy()
        m = int(room * RATE)
        t = np.arange(m) / RATE
        for ch in range(2):
            ir = np.zeros(self.n, np.float32)
            ir[:m] = (rng.standard_normal(m) * np.exp(-t / (room / 5.5))).astype(np.float32)
            ir[: int(0.012 * RATE)] = 0
            ir *= 0.06 / np.sqrt(np.sum(ir ** 2) / RATE + 1e-9)
            spectrum = np.fft.rfft(self.wet[ch]) * np.fft.rfft(ir)
            out[ch] += np.fft.irfft(spectrum, self.n).astype(np.float32) * 0.7
        return out


# Loudness in dB of full scale.
def rms_db(x):
    return 20 * np.log10(np.sqrt(np.mean(x.astype(np.float64) ** 2)) + 1e-12)


def normalise(x, target_db, ceiling=0.89):
    """Brings x to target RMS, with a soft limiter keeping peaks below the ceiling."""
    for _ in range(4):
        x = x * 10 ** ((target_db - rms_db(x)) / 20)
        peak = np.max(np.abs(x))
        if peak <= ceiling:
            break
        x = np.tanh(x / ceiling) * ceiling
    return x


def write_wav(path, x):
    """x: (2, n) or (n,) floats in -1..1."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = np.atleast_2d(x)
    pcm = np.clip(np.round(data.T * 32767), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(data.shape[0])
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


# Encodes x as an MP3 through lame.
def write_mp3(path, x, bitrate=112):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "in.wav")
        write_wav(wav, x)
        # -t keeps the encoder-delay tag, so gapless decoders (mpg123) loop without a gap
        if shutil.which("lame") is None:
            raise SystemExit("assets: the lame encoder is missing; install the Debian package lame")
        subprocess.run(["lame", "--quiet", "-b", str(bitrate), "-q", "5", "--noreplaygain", wav, path],
                       check=True)
