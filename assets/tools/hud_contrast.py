#!/usr/bin/python3
# Checks that every HUD text of the battle reads on the art behind it, and
# every mark on the buy cards on its face. For each level it lays the
# generated pictures out as the battle does at 1920 by 1080 (field frames,
# castles, buy cards, catapult button, padlock, thief button, banner, counter
# frames), sets each HUD row in the game font at its place, size and colour,
# and measures the WCAG contrast of the row's colour against the median of
# the pixels around the text (its glyph box and a quarter of a line more), in
# the worst of the field's four frames; the worst tenth of those pixels is
# printed beside it. Buy-card marks: the darkest and the lightest 3 % of the
# pixels in each mark's box on every card picture. Exits 1 when a white or black row is
# under 4.5:1, a red row under 3:1 or a card mark under 4.5:1.
# Usage: hud_contrast.py BUILD_DIR. Depends on python3-cairo, python3-pil,
# python3-numpy and the game font (assets/gen/draw.py).
import os
import sys

import cairo
import numpy as np
from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gen"))
from draw import FONT_FAMILY  # noqa: E402

S = 1.5  # pixels per layout unit at 1920 by 1080
W, H = 1920, 1080
BLACK, WHITE, RED = (0, 0, 0), (255, 255, 255), (255, 0, 0)
MIN_TEXT, MIN_RED, MIN_MARK = 4.5, 3.0, 4.5

# row: text, layout x, y of its first baseline, scale
ROWS = {
    1: ("KNIGHT   30$", -615, 340, 0.7), 2: ("SPEARMAN   30$", -491, 340, 0.7),
    3: ("HORSEMAN   30$", -363, 340, 0.7), 4: ("THIEF   50$", -610, -310, 0.8),
    5: ("MONEY: 150", -20, 330, 1.0), 6: ("You can spawn a troop!", -95, 310, 1.0),
    7: (" Cooldown: 2", -40, 310, 1.0), 8: ("Allies: 0", 385, 230, 0.65),
    9: ("Enemies: 0", 525, 230, 0.65), 10: ("300$ to Unlock", -230, 340, 0.65),
    11: ("Catapult cooldown: 10", -60, 290, 0.7), 12: ("You can Shoot the catapult!", -60, 290, 0.7),
    13: ("Upgrade: 1 / 5", -625, 195, 0.7), 14: ("Upgrade: 1 / 5", -490, 195, 0.7),
    15: ("Upgrade: 1 / 5", -360, 195, 0.7), 16: ("100$ TO UPGRADE", -625, 215, 0.6),
    17: ("100$ TO UPGRADE", -490, 215, 0.6), 18: ("100$ TO UPGRADE", -360, 215, 0.6),
}
# the colour each level prints a row in (the others black)
WHITE_ROWS = {1: {4}, 2: {1, 2, 3, 4, 5, 7, 10, 11}, 3: {4}}
RED_ROWS = {6, 12}
SHEETS = {1: "BackgroundLevelAnim", 2: "BackgroundSecondLvAnim", 3: "BackgroundThirdLvAnim"}
# the player plays Noblemen; the enemy house of each level
ENEMY = {1: ("Wiseman_Castle", "Wisemen"), 2: ("Warrior_Castle", "Warriors"), 3: ("Worker_Castle", "Workers")}
# marks on a buy card: name, box in card units (x0, y0, x1, y1; centre origin, y up)
CARD_MARKS = [("up word", -23, 16, -2, 34), ("down word", -37, -38, 12, -16),
              ("up lane map", 9, 16, 31, 42), ("down lane map", 9, -38, 31, -12),
              ("up troop", -56, 6, -34, 44), ("down troop", -56, -46, -34, -8),
              ("chevrons", 46, -14, 59, 38), ("plus", 46, -45, 59, -29)]


def luminance(rgb):
    c = np.asarray(rgb, np.float64) / 255.0
    lin = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return lin[..., 0] * 0.2126 + lin[..., 1] * 0.7152 + lin[..., 2] * 0.0722


def contrast(a, b):
    return (np.maximum(a, b) + 0.05) / (np.minimum(a, b) + 0.05)


def load(data, name):
    return Image.open(os.path.join(data, name)).convert("RGBA")


# Draws a picture centred at the layout point with the layout size; a positive
# width shows the file mirrored, as the game's half-turned objects do.
def place(canvas, img, x, y, w, h):
    img = img.resize((round(abs(w) * S), round(h * S)), Image.BILINEAR)
    if w > 0:
        img = img.transpose(Image.FLIP_LEFT_RIGHT)
    canvas.alpha_composite(img, (round(W / 2 + x * S - img.width / 2), round(H / 2 - y * S - img.height / 2)))


# The battle's pictures over each of the four field frames of a level.
def fields(data, level):
    sheet = load(data, os.path.join("Animation", SHEETS[level] + ".png"))
    cw, ch = sheet.width // 2, sheet.height // 2
    hud = Image.new("RGBA", (W, H))
    enemy_castle, enemy = ENEMY[level]
    place(hud, load(data, "Nobel_Castle.png"), -630, -100, -200, 600)
    place(hud, load(data, enemy_castle + ".png"), 630, -100, 200, 600)
    for x, kind in ((-560, "Knight"), (-430, "Spearman"), (-300, "Horseman")):
        place(hud, load(data, "Buy%s1Button.png" % kind), x, 285, -240, 150)
    place(hud, load(data, "CannonButton.png"), -180, 285, -240, 150)
    place(hud, load(data, "BuyThiefButton.png"), -560, -240, -100, 100)
    place(hud, load(data, "BannerStandard.png"), 0, 150, 200, 200)
    place(hud, load(data, "Lock.png"), -180, 275, 150, 150)
    place(hud, load(data, "FrameCircleNoblemen.png"), 410, 300, -175, 175)
    place(hud, load(data, "FrameCircle%s.png" % enemy), 560, 300, 175, 175)
    frames = []
    for frame in range(4):
        col, row = frame % 2, frame // 2
        bg = sheet.crop((col * cw, (1 - row) * ch, (col + 1) * cw, (2 - row) * ch))
        if bg.size != (W, H):
            bg = bg.resize((W, H))
        bg.alpha_composite(hud)
        frames.append(np.asarray(bg.convert("RGB")))
    return frames


# The glyph box (pixels) of a row set in the game font: the font is loaded at
# a pixel height of 20 (ascent to descent) and the row scales it.
def text_box(text, x, y, k):
    surface = cairo.ImageSurface(cairo.FORMAT_A8, W, H)
    ctx = cairo.Context(surface)
    ctx.select_font_face(FONT_FAMILY, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(100)
    fe = ctx.font_extents()
    ctx.set_font_size(100 * 20 * k * S / (fe[0] + fe[1]))
    ctx.move_to(W / 2 + x * S, H / 2 - y * S)
    ctx.show_text(text)
    surface.flush()
    a = np.ndarray((H, surface.get_stride()), np.uint8, surface.get_data())[:, :W]
    ys, xs = np.nonzero(a > 64)
    m = int(round(20 * k * S / 4))
    return max(0, xs.min() - m), max(0, ys.min() - m), min(W, xs.max() + m + 1), min(H, ys.max() + m + 1)


def check_rows(data):
    ok = True
    boxes = {row: text_box(*place) for row, place in ROWS.items()}
    print("level row text                         colour  median  worst 10%  goal")
    for level in (1, 2, 3):
        frames = fields(data, level)
        for row, (text, *_) in ROWS.items():
            colour = RED if row in RED_ROWS else WHITE if row in WHITE_ROWS[level] else BLACK
            x0, y0, x1, y1 = boxes[row]
            tl = luminance(colour)
            worst = None
            for frame in frames:
                around = np.sort(luminance(frame[y0:y1, x0:x1]).ravel())
                med = contrast(tl, np.median(around))
                tenth = contrast(tl, around[len(around) * 9 // 10] if tl > np.median(around) else
                                 around[len(around) // 10])
                if worst is None or med < worst[0]:
                    worst = (med, tenth)
            goal = MIN_RED if colour == RED else MIN_TEXT
            good = worst[0] >= goal
            ok = ok and good
            name = {BLACK: "black", WHITE: "white", RED: "red"}[colour]
            print("%5d %3d %-28s %-6s %6.2f %9.2f %5.1f %s" % (level, row, '"%s"' % text, name, worst[0], worst[1],
                                                              goal, "" if good else "TOO LOW"))
    return ok


def check_cards(data):
    ok = True
    print("buy-card mark    lowest contrast (picture)")
    pictures = ["Buy%s%sButton.png" % (k, v) for k in ("Knight", "Spearman", "Horseman")
                for v in ("1", "Up", "Down", "Upgrade")]
    images = {pic: np.asarray(load(data, pic).convert("RGB")) for pic in pictures}
    for name, bx0, by0, bx1, by1 in CARD_MARKS:
        low = None
        for pic, img in images.items():
            s = img.shape[1] / 240.0
            x0, x1 = int((120 + bx0) * s), int((120 + bx1) * s)
            y0, y1 = int((75 - by1) * s), int((75 - by0) * s)
            lum = np.sort(luminance(img[y0:y1, x0:x1]).ravel())
            c = contrast(lum[len(lum) * 3 // 100], lum[len(lum) * 97 // 100])
            if low is None or c < low[0]:
                low = (c, pic)
        good = low[0] >= MIN_MARK
        ok = ok and good
        print("%-16s %5.2f  (%s)%s" % (name, low[0], low[1], "" if good else "  TOO LOW"))
    return ok


def main():
    if len(sys.argv) != 2:
        print("usage: hud_contrast.py BUILD_DIR", file=sys.stderr)
        return 2
    data = os.path.join(sys.argv[1], "data")
    ok = check_rows(data)
    ok = check_cards(data) and ok
    if not ok:
        print("hud contrast: a HUD row or a buy-card mark is under its goal (%g:1 text, %g:1 red, %g:1 marks)"
              % (MIN_TEXT, MIN_RED, MIN_MARK), file=sys.stderr)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
