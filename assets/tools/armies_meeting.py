#!/usr/bin/python3
# Pictures of two armies meeting, made from the game's own files as the game
# places them: level 1's field, then in each lane three player troops walking
# right against three enemy troops walking left (enemy troops never upgrade;
# the player's show several tiers), each 90 by 90 layout units with its
# health-bar frame and fill 90 units above it (some bars part empty), and the
# thief on its path along the bottom edge. Drawn at the scale the game uses
# (window width / 1280) for 1920x1080 and 2560x1440, as the whole window and
# as a crop around the meeting, and each again through the Machado (2009)
# simulation of deuteranopia. One set per enemy pair (Noblemen against
# Wisemen, Workers against Warriors). Run by hand, not by the build:
#   armies_meeting.py BUILD_DIR OUT_DIR
# Reads BUILD_DIR/data; writes OUT_DIR/armies-<player>-<size>[-crop][-deuteranopia].png.
# Depends on house_colours.py, python3-pil, python3-numpy.
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from house_colours import MACHADO, frames, linear  # noqa: E402

SIZES = ((1920, 1080), (2560, 1440))
PAIRS = (("Noblemen", "Wisemen"), ("Workers", "Warriors"))
FOLDERS = {"Knight": "Knights", "Spearman": "Spearmen", "Horseman": "Horsemen"}
LANE_Y = {"up": 100, "down": -100}
# (kind, player tier, frame, health) from the front of each army backwards
PLAYER = {"up": [("Knight", 4, 0, 100), ("Horseman", 2, 3, 55), ("Spearman", 0, 6, 100)],
          "down": [("Spearman", 3, 2, 70), ("Knight", 1, 5, 100), ("Horseman", 4, 1, 100)]}
ENEMY = {"up": [("Spearman", 0, 4, 80), ("Knight", 0, 1, 100), ("Horseman", 0, 7, 100)],
         "down": [("Horseman", 0, 5, 35), ("Spearman", 0, 0, 100), ("Knight", 0, 3, 100)]}
FRONT, STEP = 42, 95  # layout x of the front troops (either side of 0) and the spacing of the ranks
CROP = (-330, 235, 330, -170)  # left, top, right, bottom in layout units


def picture(root, path):
    return Image.open(os.path.join(root, *path.split("\\"))).convert("RGBA")


def cell(root, anim, i):
    return Image.fromarray(frames(root, anim)[i])


class Window:
    """A window of w by h pixels drawing layout objects as the game does."""

    def __init__(self, w, h, background):
        self.w, self.h, self.s = w, h, w / 1280
        self.img = background.resize((w, h), Image.BILINEAR)

    def draw(self, img, x, y, sx, sy):
        # turned by pi: a positive width shows the file mirrored, a negative one as it is
        if sx > 0:
            img = img.transpose(Image.FLIP_LEFT_RIGHT)
        pw, ph = max(1, round(abs(sx) * self.s)), max(1, round(abs(sy) * self.s))
        img = img.resize((pw, ph), Image.BILINEAR)
        self.img.alpha_composite(img, (round(self.w / 2 + x * self.s - pw / 2), round(self.h / 2 - y * self.s - ph / 2)))

    def crop(self):
        l, t, r, b = CROP
        return self.img.crop((round(self.w / 2 + l * self.s), round(self.h / 2 - t * self.s),
                              round(self.w / 2 + r * self.s), round(self.h / 2 - b * self.s)))


# The troop with its health bar as the troop's Init and Update place them.
def troop(win, root, house, kind, tier, frame, health, x, y, enemy):
    anim = "data\\Animation\\%s\\%s\\%s%s" % (house, FOLDERS[kind], kind, "" if tier == 0 else str(tier))
    win.draw(cell(root, anim, frame), x, y, -90 if enemy else 90, 90)
    win.draw(picture(root, "data\\EmptyHealthBar.png"), x, y + 90, -70 if enemy else 70, 40)
    w = health / 100 * 70
    fill_x = x + (70 - w) / 2 if enemy else x - (70 - w) / 2
    win.draw(picture(root, "data\\HealthBar.png"), fill_x, y + 90, w, 50)


def deuteranopia(img):
    sim = np.clip(linear(np.asarray(img.convert("RGB"))) @ np.array(MACHADO["deuteranopia"]).T, 0, 1)
    srgb = np.where(sim <= 0.0031308, sim * 12.92, 1.055 * sim ** (1 / 2.4) - 0.055)
    return Image.fromarray((srgb * 255 + 0.5).astype(np.uint8), "RGB")


def main(argv):
    if len(argv) != 3:
        print("usage: armies_meeting.py BUILD_DIR OUT_DIR", file=sys.stderr)
        return 2
    root, out = argv[1], argv[2]
    os.makedirs(out, exist_ok=True)
    # the field is drawn with a negative width: its file shows as it is
    field = cell(root, "data\\Animation\\BackgroundLevelAnim", 0)
    for player, enemy in PAIRS:
        for w, h in SIZES:
            win = Window(w, h, field)
            for lane, y in LANE_Y.items():
                for rank, (kind, tier, frame, health) in enumerate(PLAYER[lane]):
                    troop(win, root, player, kind, tier, frame, health, -FRONT - rank * STEP, y, False)
                for rank, (kind, tier, frame, health) in enumerate(ENEMY[lane]):
                    troop(win, root, enemy, kind, tier, frame, health, FRONT + rank * STEP, y, True)
            win.draw(cell(root, "data\\Animation\\ThiefAnimation", 2), -120, -275, 35, 75)
            base = os.path.join(out, "armies-%s-%dx%d" % (player, w, h))
            for name, img in ((base, win.img), (base + "-crop", win.crop())):
                img.convert("RGB").save(name + ".png")
                deuteranopia(img).save(name + "-deuteranopia.png")
                print(name + ".png")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
