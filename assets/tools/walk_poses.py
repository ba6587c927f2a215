#!/usr/bin/python3
# Counts the distinct poses of every troop walk and of the thief's sneak: two
# frames show the same pose when fewer than POSE_SHARE of the pixels drawn in
# either of them differ by more than POSE_CHANGE in some channel (alpha
# included). Prints, per troop type and tier, the fewest distinct poses over the
# four houses and the smallest difference between two frames; exits 1 when a
# walk has two frames alike (every frame of every walk must be its own pose).
# Usage: walk_poses.py BUILD_DIR [--stamp FILE]. Reads BUILD_DIR/data.
# Depends on house_colours.py (frame reading), python3-numpy.
import itertools
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from house_colours import HOUSE_ORDER, TROOPS, frames  # noqa: E402

POSE_CHANGE = 48
# Measured on the walks before they were redrawn: frames 1 and 3 of the knight
# were pixel for pixel the same (0 %), the tier-5 horse, gliding with its legs
# under the caparison, changed 6.8 % of its pixels between frames, and every
# pose a player told apart changed 8.7 % (tier-4 horse) to 60 %.
POSE_SHARE = 0.08


# Shares of the figure's pixels that change between every two frames (n by n).
def differences(cells):
    a = [c.astype(np.int16) for c in cells]
    drawn = [c[..., 3] >= 128 for c in a]
    d = np.zeros((len(a), len(a)))
    for i, j in itertools.combinations(range(len(a)), 2):
        union = drawn[i] | drawn[j]
        changed = union & (np.abs(a[i] - a[j]).max(axis=-1) > POSE_CHANGE)
        d[i, j] = d[j, i] = changed.sum() / max(1, union.sum())
    return d


# Number of distinct poses (greedy: a frame is new unlike every earlier pose)
# and the smallest difference between two frames.
def poses(cells):
    d = differences(cells)
    kept = []
    for i in range(len(cells)):
        if all(d[i, j] >= POSE_SHARE for j in kept):
            kept.append(i)
    return len(kept), float(d[~np.eye(len(cells), dtype=bool)].min())


def main(argv):
    if len(argv) < 2:
        print("usage: walk_poses.py BUILD_DIR [--stamp FILE]", file=sys.stderr)
        return 2
    root, short = argv[1], []
    walks = [("Thief", "data\\Animation\\ThiefAnimation", None)]
    for (folder, kind), tier in itertools.product(TROOPS, range(5)):
        walks.append(("%s tier %d" % (kind, tier + 1), None, (folder, kind, "" if tier == 0 else str(tier))))
    for name, path, troop in walks:
        paths = [path] if path else ["data\\Animation\\%s\\%s\\%s%s" % ((h,) + troop) for h in HOUSE_ORDER]
        results = []
        for p in paths:
            cells = frames(root, p)
            results.append(poses(cells) + (len(cells),))
        fewest = min(r[0] for r in results)
        count = results[0][2]
        print("%-16s %d of %d poses, frames at least %4.1f %% apart" % (name, fewest, count,
                                                                       100 * min(r[1] for r in results)))
        if fewest < count:
            short.append(name)
    if short:
        print("walk poses: frames alike (under %g %% of the figure changed) in: %s" % (100 * POSE_SHARE,
                                                                                       ", ".join(short)),
              file=sys.stderr)
        return 1
    if "--stamp" in argv:
        with open(argv[argv.index("--stamp") + 1], "w") as f:
            f.write("done\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
