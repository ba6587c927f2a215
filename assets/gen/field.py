# The battle field: the three level backgrounds (day; dusk; night with rain),
# each a 4-frame loop of drifting clouds and swaying grass, the castles, the
# catapult and its rock. Layout in the 1280 by 720 field, origin at the
# centre, y up: up lane at y = 100, down lane at y = -100 from castle to castle
# (x = +-630), the buy panel top left, the crossing counters top right and the
# thief button bottom left. The HUD texts are printed by the game over this
# art: on the boards of each level (below), and the thief's white price on
# the dark rock foundation of the player's castle.
# Depends on draw.py and emblems.py.
import math
import random

import cairo

from draw import (HOUSES, INK, MIRROR, PARCH, PARCH_DARK, PLAIN, Canvas, darker, ellipse, fill_outline,
                  lighter, mix, path_poly, path_rounded, poly, rgb, rounded, save, save_sheet, set_color,
                  thick_line)
from emblems import banner, house_shield

W, H = 1280, 720


# Field x (origin at the centre) to canvas x.
def X(x):
    return x + W / 2


# Field y (up) to canvas y (down).
def Y(y):
    return H / 2 - y


LEVELS = {
    1: dict(sky=(rgb("#8ec9f0"), rgb("#d9f0fb")), hill=rgb("#7fb069"), hill2=rgb("#5f9a4d"),
            grass=rgb("#6fae4f"), grass2=rgb("#5b9a41"), road=rgb("#c9a86e"), cloud=rgb("#ffffff", 0.92),
            hedge=rgb("#2f5a2a"), day=True, rain=False, sun=rgb("#fff3b0"), board=rgb("#f8eed2")),
    2: dict(sky=(rgb("#3c2f6e"), rgb("#f29a5c")), hill=rgb("#5d6e4a"), hill2=rgb("#46583a"),
            grass=rgb("#55753c"), grass2=rgb("#476532"), road=rgb("#a88a5c"), cloud=rgb("#f7c7a3", 0.85),
            hedge=rgb("#233d20"), day=False, rain=False, sun=rgb("#ffb56b"), board="dusk"),
    3: dict(sky=(rgb("#0c1328"), rgb("#2b3a5c")), hill=rgb("#2c3d3a"), hill2=rgb("#22302e"),
            grass=rgb("#2f4a35"), grass2=rgb("#263e2c"), road=rgb("#6e6452"), cloud=rgb("#5a6478", 0.9),
            hedge=rgb("#14231a"), day=False, rain=True, sun=None, board=rgb("#f2e6c6")),
}
FRAMES = 4


# Sky gradient with the sun or the moon.
def _sky(ctx, lv):
    top, bottom = lv["sky"]
    g = cairo.LinearGradient(0, 0, 0, Y(20))
    g.add_color_stop_rgba(0, *top)
    g.add_color_stop_rgba(1, *bottom)
    ctx.set_source(g)
    ctx.rectangle(0, 0, W, Y(20))
    ctx.fill()
    if lv["sun"] is not None:
        ellipse(ctx, X(250), Y(250), 38, 38, lv["sun"], width=0)
    else:
        ellipse(ctx, X(260), Y(262), 26, 26, rgb("#d8dde8", 0.7), width=0)


# Two ranges of hills with trees.
def _hills(ctx, lv):
    rnd = random.Random(5)
    for layer, col, base in ((0, lv["hill"], 195), (1, lv["hill2"], 170)):
        ctx.move_to(0, Y(base))
        for i in range(0, W + 80, 80):
            ctx.line_to(i, Y(base + 25 * math.sin(i / 170 + layer * 2) + rnd.uniform(-6, 6)))
        ctx.line_to(W, H)
        ctx.line_to(0, H)
        ctx.close_path()
        fill_outline(ctx, col, 2, darker(col, 0.5))
    # trees on the far hill
    rnd = random.Random(9)
    for i in range(14):
        x = rnd.uniform(-600, 600)
        if -150 < x < 150:
            continue
        y = 185 + 18 * math.sin((x + 640) / 170 + 2)
        thick_line(ctx, (X(x), Y(y - 18)), (X(x), Y(y)), 3, rgb("#5a3a20"), outline=1)
        ellipse(ctx, X(x), Y(y + 4), 12, 15, darker(lv["hill2"], 0.15), width=1.6, shaded=True)


# Grass, the castle mounds, both roads, the milestone, the hedge and the thief path.
def _field(ctx, lv):
    g = cairo.LinearGradient(0, Y(180), 0, H)
    g.add_color_stop_rgba(0, *lighter(lv["grass"], 0.08))
    g.add_color_stop_rgba(1, *darker(lv["grass"], 0.2))
    ctx.set_source(g)
    ctx.rectangle(0, Y(160), W, H)
    ctx.fill()
    # mown stripes
    for i in range(-2, 16):
        x0 = i * 100
        path_poly(ctx, [(x0, Y(160)), (x0 + 50, Y(160)), (x0 + 20, H), (x0 - 30, H)])
        set_color(ctx, (lv["grass2"][0], lv["grass2"][1], lv["grass2"][2], 0.35))
        ctx.fill()
    # castle mounds at both ends of the down lane
    for sx in (-1, 1):
        ellipse(ctx, X(sx * 640), Y(-150), 150, 60, darker(lv["grass"], 0.1), width=2, shaded=True)
    # the two roads
    for y, x0, x1 in ((100, -560, 640), (-100, -640, 640)):
        rounded(ctx, X(x0), Y(y - 22), x1 - x0, 34, 14, lv["road"], width=2.5, shaded=False,
                ink=darker(lv["road"], 0.45))
        path_rounded(ctx, X(x0) + 6, Y(y - 22) + 6, x1 - x0 - 12, 10, 5)
        set_color(ctx, lighter(lv["road"], 0.18))
        ctx.fill()
        rnd = random.Random(int(y) + 1000)
        for k in range(40):
            xx = rnd.uniform(x0 + 10, x1 - 10)
            ellipse(ctx, X(xx), Y(y - 5 + rnd.uniform(-9, 9)), rnd.uniform(1.5, 3.5), 1.4,
                    darker(lv["road"], 0.3), width=0)
    # a milestone where the up lane starts
    rounded(ctx, X(-585), Y(-55 + 150), 22, 34, 9, rgb("#a7a39a"), width=2)
    # the hedge along the bottom, behind the thief's path and its button label
    ctx.move_to(0, Y(-248))
    for i in range(0, W + 40, 40):
        ctx.curve_to(i + 10, Y(-236), i + 30, Y(-236), i + 40, Y(-248))
    ctx.line_to(W, H)
    ctx.line_to(0, H)
    ctx.close_path()
    fill_outline(ctx, lv["hedge"], 2.5, darker(lv["hedge"], 0.5))
    ctx.rectangle(0, Y(-300), W, 22)
    set_color(ctx, lv["road"] if lv["rain"] else darker(lv["road"], 0.35 if lv["day"] else 0.45))
    ctx.fill()
    # the castles' rock base spreads into the field at their feet, so the
    # thief's price, printed on the player's castle rock up to 3 units from
    # the castle's edge, has dark rock on past its end
    for sx in (-1, 1):
        poly(ctx, [(X(sx * 528), Y(-284)), (X(sx * 510), Y(-282)), (X(sx * 494), Y(-300)), (X(sx * 488), Y(-362)),
                   (X(sx * 528), Y(-362))], rgb("#4a443e"), width=2.5)
        for y, x0 in ((-306, 522), (-330, 522)):
            thick_line(ctx, (X(sx * x0), Y(y)), (X(sx * (x0 - 26)), Y(y - 3)), 1.2, rgb("#5e5750"), outline=0)


# The HUD boards behind the buy panel and the money row. Levels 1 and 3 print
# black and red there: light parchment (red, the lightest text, reads at 3:1
# or more). Level 2 prints its labels, money and cooldowns white and its
# ready lines red: a dusk board dark enough for red at 3:1, with a parchment
# band under the buy cards for the black tier and price rows.
# (assets/tools/hud_contrast.py measures every row.)
BOARD_INK = rgb("#6b4a26")
DUSK_BOARD = (rgb("#2a1c38"), rgb("#1d1830"))  # top and bottom of level 2's board
DUSK_TRIM = rgb("#c98a4a")
BAND_TOP, BAND_BOTTOM = 229, 184  # level 2's light band for the tier and price rows


def _board(ctx, lv):
    dusk = lv["board"] == "dusk"

    def paint():
        if not dusk:
            return set_color(ctx, lv["board"])
        g = cairo.LinearGradient(0, Y(372), 0, Y(182))
        g.add_color_stop_rgba(0, *DUSK_BOARD[0])
        g.add_color_stop_rgba(1, *DUSK_BOARD[1])
        ctx.set_source(g)

    # one board behind the buy panel and the catapult, one behind the money row
    for w, h in ((790, 92), (500, 190)):
        path_rounded(ctx, X(-652), Y(372), w, h, 14)
        paint()
        ctx.fill_preserve()
        set_color(ctx, DUSK_TRIM if dusk else BOARD_INK)
        ctx.set_line_width(3)
        ctx.stroke()
    # the seam of the two boards, painted over
    path_rounded(ctx, X(-648) + 2, Y(372) + 2, 784, 86, 12)
    paint()
    ctx.fill()
    if dusk:
        rounded(ctx, X(-646), Y(BAND_TOP), 488, BAND_TOP - BAND_BOTTOM, 8, PARCH, width=2, shaded=False,
                ink=DUSK_TRIM)


# Clouds drifting with the phase of the loop.
def _clouds(ctx, lv, phase):
    rnd = random.Random(31)
    for i in range(7):
        x = rnd.uniform(-620, 620) + 14 * math.sin(2 * math.pi * (phase + i / 7))
        y = rnd.uniform(200, 300)
        if -650 < x < 150 and y > 190:
            y = rnd.uniform(205, 240)
            x = rnd.uniform(170, 360)
        s = rnd.uniform(0.7, 1.2)
        for dx, dy, r in ((-26, 0, 18), (0, 8, 24), (26, 0, 18), (10, -4, 16)):
            ellipse(ctx, X(x + dx * s), Y(y + dy * s), r * s, r * s * 0.8, lv["cloud"], width=0)


# Grass tufts swaying with the phase, and flowers by day.
def _grass(ctx, lv, phase):
    rnd = random.Random(44)
    for i in range(160):
        x = rnd.uniform(-640, 640)
        y = rnd.choice([rnd.uniform(140, 160), rnd.uniform(8, 72), rnd.uniform(-70, -10), rnd.uniform(-235, -135)])
        sway = 3 * math.sin(2 * math.pi * phase + x / 60)
        col = lighter(lv["grass"], 0.25) if i % 3 else darker(lv["grass"], 0.3)
        for dx in (-3, 0, 3):
            path_poly(ctx, [(X(x + dx), Y(y)), (X(x + dx * 2 + sway), Y(y + 11 + (dx == 0) * 4))], close=False)
            set_color(ctx, col)
            ctx.set_line_width(1.6)
            ctx.stroke()
    # a few flowers in the daytime field
    if lv["day"]:
        for i in range(24):
            x = rnd.uniform(-600, 600)
            y = rnd.choice([rnd.uniform(10, 60), rnd.uniform(-60, -20), rnd.uniform(-230, -140)])
            ellipse(ctx, X(x + math.sin(2 * math.pi * phase + i) * 1.5), Y(y), 2.6, 2.6,
                    [rgb("#ffffff"), rgb("#ffd84a"), rgb("#e76f8a")][i % 3], width=0.8)


# Rain streaks falling with the phase, kept off the HUD boards.
def _rain(ctx, phase):
    rnd = random.Random(99)
    ctx.save()
    # no rain over the HUD boards, where the texts stand
    ctx.rectangle(0, 0, W, H)
    ctx.rectangle(X(-652), Y(372), 790, 92)
    ctx.rectangle(X(-652), Y(372), 500, 190)
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    ctx.clip()
    for i in range(420):
        x0 = rnd.uniform(-40, W + 40)
        y0 = (rnd.uniform(0, H) + phase * H * 0.999) % H
        ln = rnd.uniform(14, 26)
        path_poly(ctx, [(x0, y0), (x0 - ln * 0.25, y0 + ln)], close=False)
        ctx.set_source_rgba(0.75, 0.82, 0.95, 0.45)
        ctx.set_line_width(1.3)
        ctx.stroke()
    ctx.restore()
    ctx.rectangle(0, 0, W, H)
    ctx.set_source_rgba(0.05, 0.08, 0.18, 0.12)
    ctx.fill()


# One frame of a level background.
def level_frame(n, phase):
    lv = LEVELS[n]
    c = Canvas(W, H)
    ctx = c.ctx
    _sky(ctx, lv)
    _clouds(ctx, lv, phase)
    _hills(ctx, lv)
    _field(ctx, lv)
    _grass(ctx, lv, phase)
    if lv["rain"]:
        # the rain falls in steps of a quarter of the screen per frame
        _rain(ctx, phase * 0.25 * FRAMES / FRAMES)
    _board(ctx, lv)
    return c


# The three level background sheets and the still field picture.
def backgrounds(root):
    names = {1: "BackgroundLevelAnim", 2: "BackgroundSecondLvAnim", 3: "BackgroundThirdLvAnim"}
    for n, name in names.items():
        frames = [level_frame(n, i / FRAMES) for i in range(FRAMES)]
        durations = [0.09] * FRAMES if LEVELS[n]["rain"] else [0.35] * FRAMES
        save_sheet(root, "data\\Animation\\" + name, frames, 2, durations, PLAIN)
        if n == 1:
            save(root, "data\\DefinitiveBackground.png", frames[0], PLAIN)


# ---------------------------------------------------------------------------
# Castles, catapult, rock
# ---------------------------------------------------------------------------


# Courses of bricks inside a rectangle.
def _bricks(ctx, x, y, w, h, col, rows=10):
    rnd = random.Random(int(x * 7 + y))
    bh = h / rows
    for r in range(rows):
        off = (r % 2) * 10
        for bx in range(-10, int(w) + 10, 20):
            xx = x + bx + off
            if xx + 18 < x or xx > x + w:
                continue
            ctx.rectangle(max(x, xx), y + r * bh + 1, min(18, x + w - max(x, xx)), bh - 2)
            set_color(ctx, mix(col, rgb("#ffffff"), rnd.uniform(0, 0.08)))
            ctx.fill()


def castle(house):
    """The castle of a house, its field side on the right (the player's look)."""
    p = HOUSES[house]
    c = Canvas(200, 600)
    ctx = c.ctx
    stone = {"Noblemen": rgb("#c9c3b4"), "Workers": rgb("#b39a7a"), "Wisemen": rgb("#a9a3b8"),
             "Warriors": rgb("#7d7472")}[house]
    # dark rock foundation below the ground line (y = 350 here is y = -150 on
    # the field): the game prints the thief's price in white on the player's
    base = darker(stone, 0.58)
    ctx.rectangle(0, 350, 200, 250)
    fill_outline(ctx, base, 3, INK, 350, 600)
    _bricks(ctx, 2, 352, 196, 246, base, 9)
    ctx.move_to(0, 356)
    for i in range(0, 201, 20):
        ctx.curve_to(i + 5, 343, i + 15, 343, i + 20, 356)
    ctx.line_to(200, 366)
    ctx.line_to(0, 366)
    ctx.close_path()
    fill_outline(ctx, rgb("#4f7a3a"), 2)
    # keep
    rounded(ctx, 15, 95, 110, 260, 4, stone, width=3)
    _bricks(ctx, 18, 98, 104, 254, stone, 13)
    path_rounded(ctx, 15, 95, 110, 260, 4)
    set_color(ctx, INK)
    ctx.set_line_width(3)
    ctx.stroke()
    for i in range(5):
        rounded(ctx, 13 + i * 23, 78, 18, 20, 2, stone, width=2.5)
    # roof in the house colour and a pennant, kept below canvas y 22: the top of
    # the picture stands under the HUD board at the screen's top-left corner
    poly(ctx, [(8, 82), (70, 36), (132, 82)], p["main"], width=3, shaded=True)
    thick_line(ctx, (70, 37), (70, 26), 2.5, rgb("#5a3a1e"))
    poly(ctx, [(70, 25), (94, 31), (70, 37)], p["accent"] if house != "Warriors" else rgb("#d02020"), width=2)
    # windows
    for wy in (140, 210):
        rounded(ctx, 55, wy, 20, 34, 10, rgb("#2a2230"), width=2.5, shaded=False)
        path_rounded(ctx, 58, wy + 3, 14, 14, 7)
        set_color(ctx, rgb("#ffd36b", 0.8))
        ctx.fill()
    # wall and gatehouse toward the field
    rounded(ctx, 110, 190, 88, 165, 3, darker(stone, 0.06), width=3)
    _bricks(ctx, 113, 193, 82, 159, darker(stone, 0.06), 8)
    path_rounded(ctx, 110, 190, 88, 165, 3)
    set_color(ctx, INK)
    ctx.stroke()
    for i in range(4):
        rounded(ctx, 110 + i * 23, 175, 18, 18, 2, darker(stone, 0.06), width=2.5)
    # gate at the height of the down lane
    ctx.move_to(140, 355)
    ctx.line_to(140, 290)
    ctx.arc(162, 290, 22, math.pi, 2 * math.pi)
    ctx.line_to(184, 355)
    ctx.close_path()
    fill_outline(ctx, rgb("#4a2f18"), 3)
    for gx in (148, 157, 166, 175):
        thick_line(ctx, (gx, 275), (gx, 354), 1.2, rgb("#2b1a0c"), outline=0)
    # the house shield over the gate
    house_shield(ctx, house, 154, 225, 36, 44, 2.5)
    # banner hanging from the keep
    banner(ctx, house, 70, 115, 30, 70, pole=False)
    return c


# The catapult beside the player castle, throwing to the right.
def catapult_pic():
    c = Canvas(180, 180)
    ctx = c.ctx
    wood, dark = rgb("#8b5a2b"), rgb("#5a3a1e")
    # frame
    thick_line(ctx, (25, 140), (160, 140), 10, wood)
    thick_line(ctx, (60, 140), (95, 75), 8, wood)
    thick_line(ctx, (130, 140), (95, 75), 8, wood)
    # throwing arm, cocked back, with the cup and a rope
    thick_line(ctx, (95, 82), (30, 40), 7, dark)
    ellipse(ctx, 28, 38, 13, 8, dark, width=2.5)
    ellipse(ctx, 28, 36, 8, 5, rgb("#7d7a72"), width=1.5)
    thick_line(ctx, (95, 82), (150, 125), 1.6, rgb("#c8b089"), outline=0.6)
    rounded(ctx, 132, 112, 30, 22, 3, rgb("#6e6a62"), width=2.5)
    ellipse(ctx, 95, 78, 7, 7, rgb("#9a9a9a"), width=2)
    for wx in (45, 145):
        ellipse(ctx, wx, 150, 20, 20, wood, width=3, shaded=True)
        ellipse(ctx, wx, 150, 6, 6, rgb("#6e6a62"), width=2)
        for a in range(4):
            ang = a * math.pi / 4
            thick_line(ctx, (wx - 15 * math.cos(ang), 150 - 15 * math.sin(ang)),
                       (wx + 15 * math.cos(ang), 150 + 15 * math.sin(ang)), 1.5, dark, outline=0)
    return c


# A boulder.
def rock_pic():
    c = Canvas(70, 70)
    ctx = c.ctx
    pts = [(35 + 28 * math.cos(a) * (1 + 0.08 * math.sin(5 * a)), 36 + 26 * math.sin(a) * (1 + 0.08 * math.cos(3 * a)))
           for a in [i * math.pi / 9 for i in range(18)]]
    poly(ctx, pts, rgb("#8d8a82"), width=3, shaded=True)
    for x, y, r in ((26, 28, 5), (42, 44, 4), (44, 24, 3)):
        ellipse(ctx, x, y, r, r * 0.8, rgb("#6b6861"), width=0)
    return c


# Writes the level backgrounds, castles, catapult and rock.
def generate(root):
    backgrounds(root)
    names = {"Noblemen": "Nobel_Castle", "Workers": "Worker_Castle", "Wisemen": "Wiseman_Castle",
             "Warriors": "Warrior_Castle"}
    for house, name in names.items():
        save(root, "data\\%s.png" % name, castle(house), PLAIN)
    save(root, "data\\Catapult.png", catapult_pic(), PLAIN)
    save(root, "data\\Rock.png", rock_pic(), MIRROR)
