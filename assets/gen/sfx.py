# Sound effects, each short and plain about what it is: a coin's cling, the
# upgrade's rising fanfare and anvil ring, the dull no-money thud, the jingle
# of spent coins, a sword drawn (knight), a spear's whoosh and thump
# (spearman), a gallop of hoof knocks (horse), tiptoe plucks (thief), a page
# flicked over, three sword clashes, a blow on a castle, the catapult's creak
# and whoosh, the rock's impact and a button click; and a rain loop whose hiss
# is made in the frequency domain so that its end joins its start exactly.
# Every effect peaks 4 dB under full scale and fades below -60 dBFS before it
# ends. Depends on synth.py.
import os

import numpy as np

from synth import RATE, bandpass, highpass, lowpass, noise, note, rms_db, write_mp3, write_wav


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


# Horse: a gallop of hoof knocks, each a short burst of noise kept to the
# 300 to 900 Hz band, three to a stride.
def horse():
    buf = np.zeros(int(1.3 * RATE))
    rng = np.random.default_rng(50)
    strides = (0.0, 0.4, 0.8)
    for s, start in enumerate(strides):
        for k, step in enumerate((0.0, 0.085, 0.16)):
            t = _t(0.12)
            decay = rng.uniform(0.018, 0.03)
            env = np.minimum(1, t / 0.0015) * np.exp(-t / decay)
            knock = bandpass(noise(len(t), 51 + 3 * s + k), 300, 900) * env
            _place(buf, knock * (1.0 if k == 2 else rng.uniform(0.55, 0.8)), start + step)
    return buf


# Thief: tiptoe plucks and a swish of a cloak.
def thief():
    buf = np.zeros(int(0.9 * RATE))
    for k, m in enumerate((76, 72, 69, 64)):
        _place(buf, note("pluck", m, 0.08, 0.8).astype(float) * 0.7, k * 0.16)
    t = _t(0.4)
    _place(buf, lowpass(noise(len(t), 60), 2500) * np.sin(np.pi * t / 0.4) * 0.25, 0.45)
    return buf


# A page flicked over: a crackly rustle of the sheet lifting, then the sharp
# snap of the page falling flat.
def page_turn():
    t = _t(0.5)
    grains = np.abs(lowpass(noise(len(t), 74), 120))
    grains = (grains / np.max(grains)) ** 3
    swell = np.sin(np.pi * np.clip(t / 0.2, 0, 1)) ** 2
    rustle = bandpass(noise(len(t), 70), 2500, 9000) * swell * (0.25 + grains)
    snap_at = 0.2
    after = np.maximum(0, t - snap_at)
    snap = bandpass(noise(len(t), 71), 1200, 8000) * np.exp(-after / 0.006) * (t >= snap_at) * 1.6
    air = bandpass(noise(len(t), 73), 400, 2500) * np.exp(-after / 0.03) * (t >= snap_at) * 0.5
    return rustle + snap + air


def rain(seconds=6.0):
    """A rain loop: a soft hiss made in the frequency domain (periodic by
    construction) with droplet ticks and a few larger plinks scattered round."""
    n = int(seconds * RATE)
    rng = np.random.default_rng(80)
    out = np.zeros((2, n))
    f = np.fft.rfftfreq(n, 1 / RATE)
    shape = 1 / np.sqrt(1 + (f / 3000) ** 2) * (f > 120) * (1 + 0.5 * np.exp(-((f - 6000) / 2500) ** 2))
    tick_len = int(0.02 * RATE)
    tt = np.arange(tick_len) / RATE
    for ch in range(2):
        spectrum = (rng.standard_normal(len(f)) + 1j * rng.standard_normal(len(f))) * shape
        out[ch] = np.fft.irfft(spectrum, n)
        out[ch] /= np.std(out[ch])
        out[ch] *= 0.05
        # droplets on leaves and stone: short bright ticks of random strength
        for _ in range(int(28 * seconds)):
            at = rng.integers(0, n)
            f0 = rng.uniform(2500, 7000)
            tick = np.sin(2 * np.pi * f0 * tt + rng.uniform(0, 6.28)) * np.exp(-tt / rng.uniform(0.0015, 0.004))
            idx = (at + np.arange(tick_len)) % n
            out[ch, idx] += tick * np.exp(rng.uniform(np.log(0.1), np.log(0.8)))
        # drops into puddles: a tone that glides up as the bubble closes
        for _ in range(int(3 * seconds)):
            at = rng.integers(0, n)
            glide = rng.uniform(1200, 2000) * (1 + 0.8 * np.minimum(1, tt / 0.012))
            plink = np.sin(2 * np.pi * np.cumsum(glide) / RATE) * np.exp(-tt / 0.005) * np.minimum(1, tt / 0.001)
            idx = (at + np.arange(tick_len)) % n
            out[ch, idx] += plink * rng.uniform(0.3, 0.6)
    return out


# A sword clash: a struck blade rings with inharmonic partials over a short
# burst of grit; variants differ in pitch, in a second blow or a scrape.
def sword_clash(variant):
    rng = np.random.default_rng(90 + variant)
    buf = np.zeros(int(0.7 * RATE))

    def blow(f0, at, strength):
        t = _t(0.5)
        ratios = (1, 1.47, 2.09, 2.56, 3.21, 4.07)
        ring = sum(np.sin(2 * np.pi * f0 * r * t + rng.uniform(0, 6.28)) * np.exp(-t / rng.uniform(0.04, 0.09)) /
                   (1 + 0.4 * k) for k, r in enumerate(ratios))
        grit = bandpass(noise(len(t), 95 + variant), 2000, 10000) * np.exp(-t / 0.006) * 1.2
        _place(buf, (ring * np.minimum(1, t / 0.0008) + grit) * strength, at)

    f0 = (1250, 1480, 1100)[variant]
    blow(f0, 0.0, 1.0)
    if variant == 1:
        blow(f0 * 1.12, 0.13, 0.7)
    if variant == 2:
        t = _t(0.25)
        scrape = bandpass(noise(len(t), 99), 3000, 8000) * np.sin(np.pi * t / 0.25) ** 2 * 0.35
        _place(buf, scrape * (1 + 0.5 * np.sin(2 * np.pi * 45 * t)), 0.05)
    return buf


# A low tone falling from base + drop to base (Hz) in about drop_time seconds,
# dying away over decay seconds: the body of every thud and boom.
def _falling_tone(t, base, drop, drop_time, decay):
    return np.sin(2 * np.pi * np.cumsum(base + drop * np.exp(-t / drop_time)) / RATE) * np.exp(-t / decay)


# A troop striking a castle: a dull low thud on stone and a little grit falling.
def castle_hit():
    buf = np.zeros(int(0.7 * RATE))
    t = _t(0.5)
    thud = _falling_tone(t, 55, 70, 0.03, 0.07)
    body = lowpass(noise(len(t), 101), 500) * np.exp(-t / 0.03) * 3
    _place(buf, (thud + body) * np.minimum(1, t / 0.001), 0.0)
    rng = np.random.default_rng(102)
    for k in range(6):
        tk = _t(0.04)
        grit = bandpass(noise(len(tk), 103 + k), 1500, 5000) * np.exp(-tk / 0.005)
        _place(buf, grit * rng.uniform(0.04, 0.12), rng.uniform(0.04, 0.3))
    return buf


# The catapult throwing: the wooden arm creaks as it is wound (stick-slip
# pulses ringing a wooden body), knocks against its stop and the rock whooshes away.
def catapult_throw():
    buf = np.zeros(int(1.3 * RATE))
    rng = np.random.default_rng(110)
    pulse = _t(0.03)
    wood = (np.sin(2 * np.pi * 380 * pulse) + 0.6 * np.sin(2 * np.pi * 910 * pulse)) * np.exp(-pulse / 0.006)
    at = 0.0
    while at < 0.42:
        rate = 22 + 50 * at / 0.42
        _place(buf, wood * (0.25 + 0.5 * at / 0.42) * rng.uniform(0.7, 1.0), at)
        at += 1 / rate * rng.uniform(0.85, 1.15)
    t = _t(0.3)
    knock = _falling_tone(t, 90, 60, 0.02, 0.05)
    _place(buf, knock * 0.9 + lowpass(noise(len(t), 111), 800) * np.exp(-t / 0.015) * 1.5, 0.46)
    t = _t(0.75)
    bell = np.exp(-((t - 0.22) / 0.13) ** 2)
    low = bandpass(noise(len(t), 112), 300, 1200)
    high = bandpass(noise(len(t), 113), 900, 3500)
    mixw = np.clip(t / 0.4, 0, 1)
    _place(buf, (low * (1 - mixw) + high * mixw) * bell * 1.4, 0.48)
    return buf


# The rock landing: a heavy boom and stones scattering after it.
def rock_impact():
    buf = np.zeros(int(1.2 * RATE))
    t = _t(0.9)
    boom = _falling_tone(t, 38, 60, 0.05, 0.13)
    crack = lowpass(noise(len(t), 121), 1200) * np.exp(-t / 0.04) * 3
    _place(buf, (boom + crack) * np.minimum(1, t / 0.001), 0.0)
    rng = np.random.default_rng(122)
    for k in range(22):
        tk = _t(0.05)
        at = 0.03 + rng.exponential(0.15)
        stone = bandpass(noise(len(tk), 123 + k), 700, 4000) * np.exp(-tk / rng.uniform(0.004, 0.012))
        _place(buf, stone * rng.uniform(0.08, 0.3) * np.exp(-at / 0.3), min(at, 0.7))
    return buf


# A button click: a bright tick of the latch and the small wooden knock of the button.
def button_click():
    t = _t(0.15)
    tick = bandpass(noise(len(t), 130), 2500, 9000) * np.exp(-t / 0.0025)
    knock = np.sin(2 * np.pi * 1150 * t) * np.exp(-t / 0.012) * 0.6
    after = np.maximum(0, t - 0.045)
    release = bandpass(noise(len(t), 131), 3000, 9000) * np.exp(-after / 0.002) * (t >= 0.045) * 0.35
    return tick + knock + release


# Every effect peaks 4 dB under full scale, so one played over the loudest
# music does not clip, and dies away below -60 dBFS before its end.
PEAK = 10 ** (-4 / 20)
TAIL_DB = -60.0
TAIL_SECONDS = 0.05


def _release(x, seconds):
    """Lets the last `seconds` fall away by 80 dB (an exponential release), so a
    ringing tail fades out instead of stopping."""
    n = int(seconds * RATE)
    out = x.copy()
    out[-n:] *= 10 ** (-4 * np.linspace(0, 1, n))
    return out


def _tail_db(x):
    return rms_db(x[-int(TAIL_SECONDS * RATE):])


EFFECTS = [
    # file, maker, seconds, release seconds
    ("CoinSound.wav", coin, 0.5, 0.2), ("UpgradeSound.wav", upgrade, 1.1, 0.35),
    ("NoMoneyClick.mp3", no_money, 0.25, 0.08), ("SpendMoney.wav", spend, 0.6, 0.2),
    ("KnightSpawn.mp3", knight, 0.9, 0.3), ("SpearmanSpawn.mp3", spearman, 0.55, 0.15),
    ("HorseSpawn.mp3", horse, 1.3, 0.15), ("ThiefSpawn.mp3", thief, 0.9, 0.25),
    ("BookTurn.mp3", page_turn, 0.5, 0.15),
    ("SwordClash1.wav", lambda: sword_clash(0), 0.6, 0.2), ("SwordClash2.wav", lambda: sword_clash(1), 0.7, 0.2),
    ("SwordClash3.wav", lambda: sword_clash(2), 0.6, 0.2), ("CastleHit.wav", castle_hit, 0.6, 0.2),
    ("CatapultThrow.wav", catapult_throw, 1.3, 0.25), ("RockImpact.wav", rock_impact, 1.2, 0.35),
    ("ButtonClick.wav", button_click, 0.12, 0.05),
]


# Writes the effects and the rain loop.
def generate(root):
    # The file path of a data file name.
    def path(name):
        return os.path.join(root, "data", name)

    for name, make, seconds, release in EFFECTS:
        x = _release(_fit(make(), seconds), release)
        # the MP3 encoder's ripple lifts peaks by up to a dB
        x = x * (PEAK / np.max(np.abs(x))) * (10 ** (-0.8 / 20) if name.endswith(".mp3") else 1)
        if _tail_db(x) > TAIL_DB:
            raise SystemExit("assets: %s still sounds at its end (%.1f dBFS)" % (name, _tail_db(x)))
        stereo = np.vstack([x, x])
        if name.endswith(".wav"):
            write_wav(path(name), stereo)
        else:
            write_mp3(path(name), stereo, 128)
    drops = rain()
    write_wav(path("Rain.wav"), drops * (PEAK / np.max(np.abs(drops))))
