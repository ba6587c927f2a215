# Sound effects, each short and plain about what it is: a coin's cling, the
# upgrade's rising fanfare and anvil ring, the dull no-money thud, the jingle
# of spent coins, a sword drawn (knight), a spear's whoosh and thump
# (spearman), hoofbeats and a whinny (horse), tiptoe plucks (thief), a page
# turn; and a rain loop whose noise is made in the frequency domain so that
# its end joins its start exactly. Depends on synth.py.
import os

import numpy as np

from synth import RATE, highpass, lowpass, noise, normalise, note, write_mp3, write_wav


# Sample times of a sound of the given length.
def _t(seconds):
    return np.arange(int(seconds * RATE)) / RATE


# x cut or padded to the given length, with a short fade at its end.
def _fit(x, seconds):
    n = int(seconds * RATE)
    out = np.zeros(n)
    out[:min(n, len(x))] = x[:n]
    fade = int(0.01 * RATE)
    out[-fade:] *= np.linspace(1, 0, fade)
    return out


# Adds sig into buf at a time in seconds.
def _place(buf, sig, at):
    i = int(at * RATE)
    j = min(len(buf), i + len(sig))
    buf[i:j] += sig[:j - i]


# A struck metal tone.
def ping(f, decay, seconds=0.6, partials=(1, 2.4, 4.1)):
    t = _t(seconds)
    s = sum(np.sin(2 * np.pi * f * p * t) / (k + 1) for k, p in enumerate(partials))
    return s * np.exp(-t / decay) * np.minimum(1, t / 0.001)


# Coin: two bright pings.
def coin():
    buf = np.zeros(int(0.5 * RATE))
    _place(buf, ping(1975, 0.08, 0.3), 0.0)
    _place(buf, ping(2637, 0.18, 0.45), 0.07)
    return buf


# Upgrade: a rising fanfare and an anvil ring.
def upgrade():
    buf = np.zeros(int(1.1 * RATE))
    for k, m in enumerate((60, 64, 67, 72)):
        _place(buf, note("brass", m + 12, 0.14, 0.8).astype(float) * 0.6, k * 0.09)
    _place(buf, note("brass", 84, 0.35, 0.9).astype(float) * 0.6, 0.36)
    _place(buf, ping(1320, 0.25, 0.7, (1, 2.76, 5.4)) * 0.6, 0.36)
    return buf


# No money: a dull thud and buzz.
def no_money():
    t = _t(0.22)
    thud = np.sin(2 * np.pi * (110 - 40 * t) * t) * np.exp(-t / 0.05)
    click = lowpass(noise(len(t), 21), 900) * np.exp(-t / 0.015) * 2
    buzz = np.sign(np.sin(2 * np.pi * 90 * t)) * 0.15 * np.exp(-t / 0.06)
    return thud + click + buzz


# Spending: a jingle of coins.
def spend():
    buf = np.zeros(int(0.6 * RATE))
    rng = np.random.default_rng(4)
    for k in range(7):
        f = rng.uniform(2200, 3400)
        _place(buf, ping(f, rng.uniform(0.03, 0.07), 0.2) * rng.uniform(0.4, 0.8), k * 0.045 + rng.uniform(0, 0.02))
    return buf


# Knight: a sword drawn from its sheath.
def knight():
    t = _t(0.7)
    sweep = highpass(noise(len(t), 31), 3000) * np.exp(-((t - 0.12) / 0.08) ** 2) * 0.8
    ring = ping(1760, 0.25, 0.7, (1, 1.5, 2.7, 4.2)) * 0.4
    ring = np.concatenate([np.zeros(int(0.16 * RATE)), ring])[:len(t)]
    return sweep + ring


# Spearman: a whoosh and a thump of the spear butt.
def spearman():
    t = _t(0.55)
    whoosh = lowpass(noise(len(t), 41), 1200) * np.exp(-((t - 0.12) / 0.07) ** 2) * 3
    thump = np.sin(2 * np.pi * (90 - 30 * t) * t) * np.exp(-np.maximum(0, t - 0.24) / 0.06) * (t > 0.24)
    knock = highpass(noise(len(t), 42), 600) * np.exp(-np.maximum(0, t - 0.24) / 0.02) * (t > 0.24) * 0.5
    return whoosh + thump + knock


# Horse: hoofbeats and a whinny.
def horse():
    buf = np.zeros(int(1.3 * RATE))
    for k, at in enumerate((0.0, 0.12, 0.33, 0.45)):
        t = _t(0.1)
        hoof = (np.sin(2 * np.pi * 420 * t) * 0.6 + highpass(noise(len(t), 50 + k), 1500) * 0.5) * np.exp(-t / 0.02)
        _place(buf, hoof, at)
    # the whinny: a voiced tone that leaps up and trembles down
    t = _t(0.7)
    pitch = 700 + 500 * np.exp(-t / 0.12) - 250 * t
    ph = np.cumsum(pitch * (1 + 0.04 * np.sin(2 * np.pi * 22 * t))) / RATE
    voice = sum(np.sin(2 * np.pi * k * ph) / k for k in range(1, 6))
    env = np.minimum(1, t / 0.04) * np.exp(-t / 0.35)
    _place(buf, voice * env * 0.5, 0.55)
    return buf


# Thief: tiptoe plucks and a swish of a cloak.
def thief():
    buf = np.zeros(int(0.9 * RATE))
    for k, m in enumerate((76, 72, 69, 64)):
        _place(buf, note("pluck", m, 0.08, 0.8).astype(float) * 0.7, k * 0.16)
    t = _t(0.4)
    _place(buf, lowpass(noise(len(t), 60), 2500) * np.sin(np.pi * t / 0.4) * 0.25, 0.45)
    return buf


# A page turned.
def page_turn():
    t = _t(0.5)
    swish = highpass(noise(len(t), 70), 1500) * np.sin(np.pi * np.clip(t / 0.35, 0, 1)) ** 2
    crackle = (noise(len(t), 71) > 0.97) * noise(len(t), 72) * np.exp(-t / 0.2)
    flap = lowpass(noise(len(t), 73), 300) * np.exp(-np.maximum(0, t - 0.33) / 0.03) * (t > 0.33) * 3
    return swish * 0.8 + crackle * 0.5 + flap


def rain(seconds=6.0):
    """A rain loop: noise shaped in the frequency domain (periodic by construction) with drops placed round."""
    n = int(seconds * RATE)
    rng = np.random.default_rng(80)
    out = np.zeros((2, n))
    f = np.fft.rfftfreq(n, 1 / RATE)
    shape = 1 / np.sqrt(1 + (f / 3000) ** 2) * (f > 120) * (1 + 0.5 * np.exp(-((f - 6000) / 2500) ** 2))
    for ch in range(2):
        spectrum = (rng.standard_normal(len(f)) + 1j * rng.standard_normal(len(f))) * shape
        out[ch] = np.fft.irfft(spectrum, n)
        out[ch] /= np.std(out[ch])
        out[ch] *= 0.2
        for _ in range(500):
            at = rng.integers(0, n)
            m = int(0.03 * RATE)
            tt = np.arange(m) / RATE
            drop = np.sin(2 * np.pi * rng.uniform(1500, 5000) * tt) * np.exp(-tt / 0.006) * rng.uniform(0.05, 0.25)
            idx = (at + np.arange(m)) % n
            out[ch, idx] += drop
    return out


# Writes the effects and the rain loop.
def generate(root):
    # The file path of a data file name.
    def path(name):
        return os.path.join(root, "data", name)

    effects = [
        ("CoinSound.wav", coin, 0.5), ("UpgradeSound.wav", upgrade, 1.1), ("NoMoneyClick.mp3", no_money, 0.25),
        ("SpendMoney.wav", spend, 0.6), ("KnightSpawn.mp3", knight, 0.7), ("SpearmanSpawn.mp3", spearman, 0.55),
        ("HorseSpawn.mp3", horse, 1.3), ("ThiefSpawn.mp3", thief, 0.9), ("BookTurn.mp3", page_turn, 0.5),
    ]
    for name, make, seconds in effects:
        x = _fit(make(), seconds)
        x = x * (0.85 / np.max(np.abs(x)))
        stereo = np.vstack([x, x])
        if name.endswith(".wav"):
            write_wav(path(name), stereo)
        else:
            write_mp3(path(name), stereo, 128)
    write_wav(path("Rain.wav"), normalise(rain(), -20.0, 0.9))
