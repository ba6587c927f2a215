#!/usr/bin/python3
# Checks that the four houses are told apart on the drawn troops, as a player
# sees them: for every tier, takes the pixels of each walk frame (knight,
# spearman, horseman) that change when only the house changes, and compares
# the houses' median CIE L*a*b* there: L* as seen normally, and the CIE76
# distance as seen normally and through the Machado, Oliveira and Fernandes
# (2009) simulations of full protanopia and deuteranopia (applied per pixel in
# linear sRGB). Also prints each house's share of the figure (the changing
# pixels over the opaque ones) and how far its colour stands from the rest of
# the figure (median of the other opaque pixels but the dark outlines, seen
# normally): the armour of a tier must not swallow the house. Exits 1 when, at
# some tier, two houses are under MIN_L apart in L* or under MIN_DE apart in
# some vision, or a house is under MIN_DE from the rest of its figure.
# Usage: house_colours.py BUILD_DIR. Reads BUILD_DIR/data
# (troop sheets and animation files). Depends on python3-pil, python3-numpy.
import itertools
import os
import sys

import numpy as np
from PIL import Image

HOUSE_ORDER = ["Noblemen", "Workers", "Wisemen", "Warriors"]
TROOPS = (("Knights", "Knight"), ("Spearmen", "Spearman"), ("Horsemen", "Horseman"))
MACHADO = {
    "protanopia": ((0.152286, 1.052583, -0.204868), (0.114503, 0.786281, 0.099216),
                   (-0.003882, -0.048116, 1.051998)),
    "deuteranopia": ((0.367322, 0.860646, -0.227968), (0.280085, 0.672501, 0.047413),
                     (-0.011820, 0.042940, 0.968881)),
}
VISIONS = ("normal", "deuteranopia", "protanopia")
MIN_L, MIN_DE = 12.0, 20.0
# A pixel belongs to the house when some channel differs between two houses by
# more than this (anti-aliasing noise along the same outline stays under 8).
CHANGE = 24
OPAQUE = 250  # only pixels opaque in every house are compared
OUTLINE_L = 30  # darker pixels of the rest are outlines and shadow, not armour


# Frames of an animation file under root: a list of RGBA arrays in frame order.
def frames(root, anim):
    with open(os.path.join(root, *anim.split("\\"))) as f:
        lines = f.read().split("\n")
    count, rows, cols = int(lines[0]), int(lines[1]), int(lines[2])
    sheet = np.asarray(Image.open(os.path.join(root, *lines[3].split("\\"))).convert("RGBA"))
    ch, cw = sheet.shape[0] // rows, sheet.shape[1] // cols
    # frame i sits in column i mod cols, in the i div cols'th row from the bottom
    return [sheet[(rows - 1 - i // cols) * ch:(rows - i // cols) * ch, (i % cols) * cw:(i % cols + 1) * cw]
            for i in range(count)]


def linear(rgb8):
    v = rgb8.astype(np.float64) / 255.0
    return np.where(v <= 0.04045, v / 12.92, ((v + 0.055) / 1.055) ** 2.4)


# CIE L*a*b* (D65) of an (n, 3) array of linear sRGB.
def lab(lin):
    lin = np.clip(lin, 0.0, 1.0)
    m = np.array([[0.4124, 0.3576, 0.1805], [0.2126, 0.7152, 0.0722], [0.0193, 0.1192, 0.9505]])
    xyz = lin @ m.T / np.array([0.95047, 1.0, 1.08883])
    f = np.where(xyz > 0.008856, np.cbrt(xyz), 7.787 * xyz + 16 / 116)
    return np.stack([116 * f[:, 1] - 16, 500 * (f[:, 0] - f[:, 1]), 200 * (f[:, 1] - f[:, 2])], axis=1)


def seen(lin, vision):
    return lin if vision == "normal" else lin @ np.array(MACHADO[vision]).T


# {house: ((n, 3) linear RGB of its changing pixels, share of the figure,
# (m, 3) linear RGB of the rest of the figure)} for one tier.
def house_pixels(root, tier):
    suffix = "" if tier == 0 else str(tier)
    picked = {h: [] for h in HOUSE_ORDER}
    rest = {h: [] for h in HOUSE_ORDER}
    covered = {h: [0, 0] for h in HOUSE_ORDER}
    for folder, kind in TROOPS:
        sets = [frames(root, "data\\Animation\\%s\\%s\\%s%s" % (h, folder, kind, suffix)) for h in HOUSE_ORDER]
        for per_house in zip(*sets):
            stack = np.stack(per_house).astype(np.int16)  # house, y, x, channel
            opaque = (stack[..., 3] >= OPAQUE).all(axis=0)
            spread = (stack[..., :3].max(axis=0) - stack[..., :3].min(axis=0)).max(axis=-1)
            mask = opaque & (spread > CHANGE)
            for h, img in zip(HOUSE_ORDER, stack):
                picked[h].append(img[mask][:, :3])
                rest[h].append(img[opaque & ~mask][:, :3])
                covered[h][0] += int(mask.sum())
                covered[h][1] += int((img[..., 3] >= OPAQUE).sum())
    return {h: (linear(np.concatenate(picked[h])), covered[h][0] / max(1, covered[h][1]),
                linear(np.concatenate(rest[h]))) for h in HOUSE_ORDER}


# Prints the tier's figures; returns the pairs that miss a goal.
def check_tier(root, tier):
    pixels = house_pixels(root, tier)
    med = {v: {h: np.median(lab(seen(pixels[h][0], v)), axis=0) for h in HOUSE_ORDER} for v in VISIONS}
    misses, apart = [], {}
    for h in HOUSE_ORDER:
        others = lab(pixels[h][2])
        apart[h] = float(np.linalg.norm(med["normal"][h] - np.median(others[others[:, 0] > OUTLINE_L], axis=0)))
        if apart[h] < MIN_DE:
            misses.append("tier %d %s on its figure" % (tier + 1, h))
    print("tier %d  " % (tier + 1) + "  ".join("%s L* %5.1f (%2.0f %% of figure, dE %4.1f from the rest)"
                                               % (h, med["normal"][h][0], 100 * pixels[h][1], apart[h])
                                               for h in HOUSE_ORDER))
    for a, b in itertools.combinations(HOUSE_ORDER, 2):
        dl = abs(med["normal"][a][0] - med["normal"][b][0])
        des = {v: float(np.linalg.norm(med[v][a] - med[v][b])) for v in VISIONS}
        print("  %-9s %-9s dL* %5.1f  " % (a, b, dl) + "  ".join("dE %s %5.1f" % (v, d) for v, d in des.items()))
        if dl < MIN_L or min(des.values()) < MIN_DE:
            misses.append("tier %d %s-%s" % (tier + 1, a, b))
    return misses


def main(argv):
    if len(argv) < 2:
        print("usage: house_colours.py BUILD_DIR", file=sys.stderr)
        return 2
    misses = []
    for tier in range(5):
        misses += check_tier(argv[1], tier)
    if misses:
        print("house colours: under %g L* or %g dE apart on the drawn troops: %s" % (MIN_L, MIN_DE, ", ".join(misses)),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
