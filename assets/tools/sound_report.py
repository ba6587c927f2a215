#!/usr/bin/python3
# Measures the sounds of a built data folder, as a listener's check on the
# generators: `sound_report.py BUILD_DIR` prints for every sound of the
# manifest its length, RMS, peak and tail level (the last 50 ms), and for the
# music tracks also the key and tempo heard in the decoded file (pitch
# salience folded to pitch classes against the Krumhansl-Kessler key
# profiles; spectral-flux autocorrelation) and the share of energy above 4 kHz. MP3s are decoded with lame. Depends on
# python3-numpy and the lame program.
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
NAMES = ["C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"]
MAJOR = np.array([6.35, 2.23, 3.48, 2.33, 4.38, 4.09, 2.52, 5.19, 2.39, 3.66, 2.29, 2.88])
MINOR = np.array([6.33, 2.68, 3.52, 5.38, 2.60, 3.53, 2.54, 4.75, 3.98, 2.69, 3.34, 3.17])


# Samples (mono, floats) and rate of a WAV or MP3.
def decode(path):
    with tempfile.TemporaryDirectory() as tmp:
        if path.endswith(".mp3"):
            out = os.path.join(tmp, "d.wav")
            subprocess.run(["lame", "--quiet", "--decode", path, out], check=True)
            path = out
        with wave.open(path) as w:
            rate, channels = w.getframerate(), w.getnchannels()
            data = np.frombuffer(w.readframes(w.getnframes()), "<i2").astype(np.float64) / 32768
    return data.reshape(-1, channels), rate


def db(x):
    return 20 * np.log10(np.sqrt(np.mean(x ** 2)) + 1e-12)


# Magnitude spectra of half-overlapping Hann frames.
def frames(x, size=8192):
    hop = size // 2
    count = max(1, (len(x) - size) // hop)
    window = np.hanning(size)
    return np.abs(np.array([np.fft.rfft(x[i * hop:i * hop + size] * window) for i in range(count)]))


def key_of(x, rate):
    """Pitch salience of every note from C2 to B5 (its first five harmonics,
    weighted 0.8 each step up, on square-rooted magnitudes), folded into pitch
    classes and matched against the 24 key profiles."""
    spectrum = (frames(x) ** 0.5).mean(axis=0)
    step = rate / 8192.0
    chroma = np.zeros(12)
    for midi in range(36, 84):
        f0 = 440 * 2 ** ((midi - 69) / 12.0)
        for h in range(1, 6):
            i = int(round(h * f0 / step))
            chroma[midi % 12] += 0.8 ** (h - 1) * spectrum[i - 1:i + 2].max()
    best = max(((np.corrcoef(np.roll(profile, k), chroma)[0, 1], k, mode)
                for profile, mode in ((MAJOR, "major"), (MINOR, "minor")) for k in range(12)))
    return "%s %s" % (NAMES[best[1]], best[2])


def tempo_of(x, rate):
    """The beat period that best fits the spectral flux's autocorrelation at
    one to four periods, folded into 80 to 160 bpm."""
    hop, size = 441, 2048
    window = np.hanning(size)
    count = (len(x) - size) // hop
    spectra = np.log1p(100 * np.abs(np.array([np.fft.rfft(x[i * hop:i * hop + size] * window)
                                               for i in range(count)])))
    flux = np.maximum(0, np.diff(spectra, axis=0)).sum(axis=1)
    flux -= flux.mean()
    ac = np.correlate(flux, flux, "full")[len(flux) - 1:]
    frames_per_second = rate / hop

    def at(lag):
        i = int(lag)
        return ac[i] + (lag - i) * (ac[i + 1] - ac[i])

    candidates = np.arange(55, 190, 0.5)
    scores = [sum(at(k * 60 / bpm * frames_per_second) for k in (1, 2, 3, 4)) for bpm in candidates]
    bpm = candidates[int(np.argmax(scores))]
    while bpm >= 160:
        bpm /= 2
    while bpm < 80:
        bpm *= 2
    return bpm


def high_share_db(x, rate):
    spectrum = frames(x).mean(axis=0) ** 2
    f = np.fft.rfftfreq(8192, 1 / rate)
    return 10 * np.log10(spectrum[f > 4000].sum() / spectrum.sum() + 1e-12)


def main(argv):
    if len(argv) != 2:
        print("usage: sound_report.py BUILD_DIR", file=sys.stderr)
        return 2
    sys.path.insert(0, os.path.join(HERE, "..", "gen"))
    import build
    import music
    tracks = {p.replace("\\", "/") for p, _ in music.TRACKS}
    for game_path in build.manifest():
        p = game_path.replace("\\", "/")
        if not p.endswith((".mp3", ".wav")):
            continue
        if not os.path.isfile(os.path.join(argv[1], p)):
            print("%-36s missing" % p)
            continue
        both, rate = decode(os.path.join(argv[1], p))
        x = both.mean(axis=1)
        line = "%-36s %6.2f s  RMS %6.1f  peak %5.1f dBFS" % (p, len(x) / rate, db(both),
                                                             20 * np.log10(np.max(np.abs(both)) + 1e-12))
        if p not in tracks:
            line += "  tail %6.1f dBFS" % db(both[-int(0.05 * rate):])
        else:
            line += "  key %-8s  tempo %5.1f bpm  >4 kHz %5.1f dB" % (key_of(x, rate), tempo_of(x, rate),
                                                                     high_share_db(x, rate))
        print(line)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
