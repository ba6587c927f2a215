#!/usr/bin/python3
# Checks that the four house colours are told apart by lightness and under
# colour blindness: prints each colour's CIE L*, and the CIEDE76 distance of
# every pair as seen normally and through the Machado, Oliveira and Fernandes
# (2009) simulations of full protanopia and deuteranopia (applied in linear
# sRGB). Exits 1 when two colours are under 12 L* apart or under 20 dE apart
# in a simulation. Usage: house_colours.py. Depends on assets/gen/draw.py.
import itertools
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gen"))
from draw import HOUSE_ORDER, HOUSES  # noqa: E402

MACHADO = {
    "protanopia": ((0.152286, 1.052583, -0.204868), (0.114503, 0.786281, 0.099216),
                   (-0.003882, -0.048116, 1.051998)),
    "deuteranopia": ((0.367322, 0.860646, -0.227968), (0.280085, 0.672501, 0.047413),
                     (-0.011820, 0.042940, 0.968881)),
}
MIN_L, MIN_DE = 12.0, 20.0


def linear(c):
    return [v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4 for v in c[:3]]


# CIE L*a*b* (D65) of a linear sRGB triple.
def lab(lin):
    r, g, b = (min(1.0, max(0.0, v)) for v in lin)
    x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047
    y = 0.2126 * r + 0.7152 * g + 0.0722 * b
    z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883
    f = [t ** (1 / 3) if t > 0.008856 else 7.787 * t + 16 / 116 for t in (x, y, z)]
    return 116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])


def simulate(lin, m):
    return [sum(m[i][j] * lin[j] for j in range(3)) for i in range(3)]


def main():
    views = {"normal": None, **MACHADO}
    labs = {v: {h: lab(linear(HOUSES[h]["main"]) if m is None else simulate(linear(HOUSES[h]["main"]), m))
                for h in HOUSE_ORDER} for v, m in views.items()}
    ok = True
    for h in HOUSE_ORDER:
        print("%-9s L* %5.1f" % (h, labs["normal"][h][0]))
    for a, b in itertools.combinations(HOUSE_ORDER, 2):
        dl = abs(labs["normal"][a][0] - labs["normal"][b][0])
        des = {v: sum((p - q) ** 2 for p, q in zip(labs[v][a], labs[v][b])) ** 0.5 for v in views}
        print("%-9s %-9s dL* %5.1f  " % (a, b, dl) + "  ".join("dE %s %5.1f" % (v, d) for v, d in des.items()))
        ok = ok and dl >= MIN_L and min(des.values()) >= MIN_DE
    if not ok:
        print("house colours: a pair is under %g L* or %g dE apart" % (MIN_L, MIN_DE), file=sys.stderr)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
