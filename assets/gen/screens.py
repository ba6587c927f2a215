# Full-screen pictures: the main menu background and the studio logo, the
# house hall, the how-to-play book, the win and lose pictures and the four
# final pictures of the houses. All are drawn with a negative width by the
# game, so they are saved as seen. Room is left where the game puts its
# objects: the menu panel in the centre and the knight at the lower left, the
# win/lose buttons at x = +-500, the final picture's button at the bottom.
# Depends on draw.py, emblems.py and field.py.
import math
import random

import cairo

from draw import (GOLD, GOLD_LIGHT, HOUSES, INK, PARCH, PLAIN, Canvas, darker, ellipse, fill_outline, glow, lighter, mix,
                  poly, rgb, rounded, save, set_color, text, thick_line)
from emblems import banner, emblem
from troops import DRAWERS

W, H = 1280, 720


# A sky gradient down to the horizon.
def sky(ctx, top, bottom, horizon=H):
    g = cairo.LinearGradient(0, 0, 0, horizon)
    g.add_color_stop_rgba(0, *top)
    g.add_color_stop_rgba(1, *bottom)
    ctx.set_source(g)
    ctx.rectangle(0, 0, W, H)
    ctx.fill()


# A range of hills.
def hills(ctx, base, col, amp=30, seed=1, freq=200.0):
    rnd = random.Random(seed)
    ctx.move_to(0, base)
    for x in range(0, W + 60, 60):
        ctx.line_to(x, base - amp * math.sin(x / freq + seed) + rnd.uniform(-5, 5))
    ctx.line_to(W, H)
    ctx.line_to(0, H)
    ctx.close_path()
    fill_outline(ctx, col, 2.5, darker(col, 0.5), base - amp, H)


def far_castle(ctx, cx, base, s, col, roof, flag=None):
    """A castle silhouette on the horizon, s = scale."""
    for dx, w, h in ((-60, 40, 110), (60, 40, 110), (0, 60, 150)):
        rounded(ctx, cx + (dx - w / 2) * s, base - h * s, w * s, h * s, 2, col, width=2)
        poly(ctx, [(cx + (dx - w / 2 - 6) * s, base - h * s), (cx + dx * s, base - (h + 45) * s),
                   (cx + (dx + w / 2 + 6) * s, base - h * s)], roof, width=2, shaded=True)
    rounded(ctx, cx - 80 * s, base - 70 * s, 160 * s, 70 * s, 2, darker(col, 0.06), width=2)
    for i in range(8):
        rounded(ctx, cx + (-80 + i * 20) * s, base - 80 * s, 14 * s, 12 * s, 1, darker(col, 0.06), width=1.5)
    ctx.move_to(cx - 14 * s, base)
    ctx.line_to(cx - 14 * s, base - 30 * s)
    ctx.arc(cx, base - 30 * s, 14 * s, math.pi, 2 * math.pi)
    ctx.line_to(cx + 14 * s, base)
    ctx.close_path()
    fill_outline(ctx, rgb("#3a2412"), 2)
    if flag is not None:
        thick_line(ctx, (cx, base - 195 * s), (cx, base - 240 * s), 2, rgb("#4a3018"), outline=1)
        poly(ctx, [(cx, base - 240 * s), (cx + 34 * s, base - 230 * s), (cx, base - 220 * s)], flag, width=1.5)


# The main menu background with the title and a castle.
def main_menu_bg():
    c = Canvas(W, H)
    ctx = c.ctx
    sky(ctx, rgb("#f6c98a"), rgb("#b8dcf0"), 420)
    glow(ctx, 980, 300, 260, rgb("#fff0c0", 0.8))
    hills(ctx, 430, rgb("#8fb47a"), 30, 2)
    far_castle(ctx, 1000, 420, 1.15, rgb("#cfc8b6"), rgb("#2456b8"), rgb("#e8c040"))
    hills(ctx, 520, rgb("#6e9f55"), 24, 5)
    hills(ctx, 620, rgb("#557f41"), 16, 9)
    # path winding to the castle
    ctx.move_to(160, H)
    ctx.curve_to(420, 600, 700, 560, 960, 430)
    ctx.line_to(990, 432)
    ctx.curve_to(760, 580, 520, 650, 300, H)
    ctx.close_path()
    fill_outline(ctx, rgb("#d2b57e"), 2, rgb("#8a6a3a"))
    # title
    text(ctx, "MORROW", 640, 70, 86, GOLD_LIGHT, INK, 5, shadow=True)
    text(ctx, "THE GAME", 640, 128, 30, rgb("#fff6d8"), INK, 2.5)
    # banners at the sides
    banner(ctx, "Noblemen", 90, 40, 70, 150)
    banner(ctx, "Wisemen", 1190, 40, 70, 150)
    return c


def ashgrove_logo():
    """Studio mark; the game shows only its upper-left part in the corner."""
    c = Canvas(352, 198)
    ctx = c.ctx
    rounded(ctx, 12, 22, 246, 112, 18, rgb("#1f2a1c", 0.85), width=2.5, ink=GOLD)
    # an ash tree
    thick_line(ctx, (58, 118), (58, 80), 6, rgb("#6b4424"))
    for dx, dy, r in ((-16, -8, 15), (14, -8, 15), (0, -22, 17), (0, -4, 14)):
        ellipse(ctx, 58 + dx, 72 + dy, r, r * 0.9, rgb("#6fae4f"), width=1.8)
    text(ctx, "ASHGROVE", 168, 66, 30, GOLD_LIGHT, INK, 2, max_width=150)
    text(ctx, "GAMES", 168, 100, 18, rgb("#e9e1c8"), None, 0)
    return c


# The hall of the four houses.
def houses_bg():
    c = Canvas(W, H)
    ctx = c.ctx
    sky(ctx, rgb("#2b2a3a"), rgb("#4a3f3a"))
    rnd = random.Random(3)
    for r in range(18):
        off = (r % 2) * 40
        for x in range(-80, W, 80):
            col = mix(rgb("#5a5560"), rgb("#6e6870"), rnd.uniform(0, 1))
            rounded(ctx, x + off + 2, r * 40 + 2, 76, 36, 4, col, width=1.8, ink=rgb("#2a2630"), shaded=False)
    # four arches with hanging banners behind the selectors
    for x, house in zip((-500, -150, 180, 500), ("Noblemen", "Workers", "Wisemen", "Warriors")):
        cx = x + 640
        ctx.move_to(cx - 150, H)
        ctx.line_to(cx - 150, 200)
        ctx.arc(cx, 200, 150, math.pi, 2 * math.pi)
        ctx.line_to(cx + 150, H)
        ctx.close_path()
        fill_outline(ctx, rgb("#1d1a24"), 4, rgb("#a89a7a"))
        glow(ctx, cx, 260, 170, mix(HOUSES[house]["main"], (1, 1, 1, 1), 0.2)[:3] + (0.35,))
    # torches between the arches: a wall bracket, an iron cresset and a
    # flame of three tongues
    for x in (-325, 15, 340):
        cx = x + 640
        thick_line(ctx, (cx, 336), (cx, 384), 6, rgb("#6b4424"))
        thick_line(ctx, (cx - 9, 372), (cx + 9, 372), 3, rgb("#3a3a40"))
        glow(ctx, cx, 306, 56, rgb("#ffb84a", 0.7))
        _flame(ctx, cx, 318, 30)
        poly(ctx, [(cx - 13, 324), (cx + 13, 324), (cx + 8, 338), (cx - 8, 338)], rgb("#4a4a52"), width=1.8,
             shaded=True)
        for k in (-8, 0, 8):
            thick_line(ctx, (cx + k, 325), (cx + k * 0.7, 337), 1.2, rgb("#2a2a30"), outline=0)
    # faint emblems low in each arch, under where the description panels open
    for x, house in zip((-500, -150, 180, 500), ("Noblemen", "Workers", "Wisemen", "Warriors")):
        ctx.push_group()
        emblem(ctx, house, x + 640, 520, 55)
        ctx.pop_group_to_source()
        ctx.paint_with_alpha(0.22)
    ctx.rectangle(0, 640, W, 80)
    set_color(ctx, rgb("#2a2220"))
    ctx.fill()
    text(ctx, "Point at a house to read its bonus, click to choose it", 640, 684, 24, rgb("#e9d9a6"), bold=False)
    return c


# The open rule book.
def book_bg():
    c = Canvas(W, H)
    ctx = c.ctx
    # wooden desk
    sky(ctx, rgb("#6b4424"), rgb("#3f2612"))
    for y in range(0, H, 60):
        thick_line(ctx, (0, y), (W, y), 1.5, rgb("#2e1b0c", 0.6), outline=0)
    # the open book: left page for the topics, right page for the explanations
    rounded(ctx, 28, 22, 1224, 676, 24, rgb("#5a1a1a"), width=4)
    for x0 in (48, 640):
        ctx.move_to(x0, 42)
        ctx.curve_to(x0 + 200, 30, x0 + 400, 30, x0 + 592, 42)
        ctx.line_to(x0 + 592, 680)
        ctx.curve_to(x0 + 400, 668, x0 + 200, 668, x0, 680)
        ctx.close_path()
        g = cairo.LinearGradient(x0, 0, x0 + 592, 0)
        if x0 < 640:
            g.add_color_stop_rgba(0, *PARCH)
            g.add_color_stop_rgba(0.9, *PARCH)
            g.add_color_stop_rgba(1, *darker(PARCH, 0.25))
        else:
            g.add_color_stop_rgba(0, *darker(PARCH, 0.25))
            g.add_color_stop_rgba(0.1, *PARCH)
            g.add_color_stop_rgba(1, *PARCH)
        ctx.set_source(g)
        ctx.fill_preserve()
        set_color(ctx, rgb("#8a6a3a"))
        ctx.set_line_width(2)
        ctx.stroke()
    thick_line(ctx, (640, 40), (640, 682), 3, rgb("#6b4a26"), outline=0)
    text(ctx, "HOW TO PLAY", 226, 70, 34, rgb("#5a1a1a"))
    thick_line(ctx, (120, 96), (332, 96), 2, rgb("#b08a52"), outline=0)
    _beats_cycle(ctx, 478, 345)
    text(ctx, "SPACE returns to the menu", 300, 640, 16, rgb("#6b4a26"), bold=False)
    text(ctx, "Choose a topic on the left page", 960, 360, 24, rgb("#b08a52"), bold=False)
    return c


def _beats_cycle(ctx, cx, cy):
    """Knight beats spearman beats horseman beats knight, drawn as a ring of arrows."""
    spots = {"Knight": (cx, cy - 135), "Spearman": (cx + 95, cy + 70), "Horseman": (cx - 95, cy + 70)}
    order = ("Knight", "Spearman", "Horseman")
    for i, kind in enumerate(order):
        a, b = spots[kind], spots[order[(i + 1) % 3]]
        mx, my = (a[0] + b[0]) / 2, (a[1] + b[1]) / 2
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy)
        ux, uy = dx / ln, dy / ln
        p0 = (a[0] + ux * 58, a[1] + uy * 58)
        p1 = (b[0] - ux * 62, b[1] - uy * 62)
        thick_line(ctx, p0, p1, 5, rgb("#8e2323"), outline=1.5)
        poly(ctx, [(p1[0] + ux * 14, p1[1] + uy * 14), (p1[0] - uy * 10, p1[1] + ux * 10),
                   (p1[0] + uy * 10, p1[1] - ux * 10)], rgb("#8e2323"), width=1.5)
        text(ctx, "beats", mx + uy * 28, my - ux * 28, 18, rgb("#8e2323"), bold=False)
    for kind, (x, y) in spots.items():
        ellipse(ctx, x, y, 48, 48, rgb("#fff6dc"), width=2.5, ink=rgb("#8a6a3a"))
        ctx.save()
        ctx.translate(x - 45 * 0.9, y - 50 * 0.9)
        ctx.scale(0.9, 0.9)
        DRAWERS[kind](ctx, 2, "Noblemen", 0.0)
        ctx.restore()
        text(ctx, kind.upper(), x, y + (-62 if kind == "Knight" else 62), 16, rgb("#5a1a1a"))
    text(ctx, "+7 damage", cx, cy + 12, 18, rgb("#5a1a1a"))


# The victory picture.
def win_bg():
    c = Canvas(W, H)
    ctx = c.ctx
    sky(ctx, rgb("#6ab8f0"), rgb("#fff1c4"), 480)
    glow(ctx, 640, 300, 340, rgb("#fff6c8", 0.9))
    for i in range(16):
        a = i * math.pi / 8
        poly(ctx, [(640, 300), (640 + 700 * math.cos(a), 300 + 700 * math.sin(a)),
                   (640 + 700 * math.cos(a + 0.12), 300 + 700 * math.sin(a + 0.12))], rgb("#fff6c8", 0.25), width=0)
    hills(ctx, 500, rgb("#7fb069"), 20, 3)
    # the fallen enemy castle on the left, the player's standing tall
    far_castle(ctx, 640, 500, 1.4, rgb("#d8d0bc"), rgb("#c8a030"), rgb("#e8c040"))
    hills(ctx, 600, rgb("#5f9a4d"), 14, 7)
    text(ctx, "VICTORY!", 640, 95, 96, GOLD_LIGHT, INK, 6, shadow=True)
    text(ctx, "The enemy castle has fallen", 640, 640, 30, rgb("#fffbe6"), INK, 3)
    # laurel branches curving up beside the title
    for sx in (-1, 1):
        _laurel(ctx, 640 + sx * 335, 160, sx)
    return c


# A laurel branch rising from (x, y) and curving away from the middle (side
# -1 left, 1 right): a stem with pairs of pointed leaves and a few berries.
def _laurel(ctx, x, y, side):
    pts = [(x + side * 45 * math.sin(t * math.pi * 0.85), y - 120 * t) for t in
           [k / 40 for k in range(41)]]
    thick_line(ctx, pts[0], pts[20], 4, rgb("#4e7a2a"), outline=1.5)
    thick_line(ctx, pts[20], pts[40], 3, rgb("#4e7a2a"), outline=1.5)
    for i in range(3, 41, 5):
        (x0, y0), (x1, y1) = pts[i - 1], pts[min(i + 1, 40)]
        a = math.atan2(y1 - y0, x1 - x0)
        size = 1.0 - i / 80
        for turn, shade in ((0.75, rgb("#6fae4f")), (-0.75, rgb("#4f8e3a"))):
            _leaf(ctx, pts[i][0], pts[i][1], a + turn, 28 * size, 9.5 * size, shade)
        if i % 10 == 3:
            ellipse(ctx, pts[i][0] - side * 6, pts[i][1] + 4, 3.2, 3.2, rgb("#8a2a4a"), width=1.2)
    _leaf(ctx, pts[40][0], pts[40][1], math.atan2(pts[40][1] - pts[38][1], pts[40][0] - pts[38][0]), 26, 9,
          rgb("#6fae4f"))


# A pointed leaf from its stalk at (x, y) along angle a.
def _leaf(ctx, x, y, a, length, width, color):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(a)
    ctx.move_to(0, 0)
    ctx.curve_to(length * 0.3, -width, length * 0.75, -width * 0.8, length, 0)
    ctx.curve_to(length * 0.75, width * 0.8, length * 0.3, width, 0, 0)
    ctx.close_path()
    fill_outline(ctx, color, 1.6)
    ctx.move_to(length * 0.1, 0)
    ctx.line_to(length * 0.85, 0)
    ctx.set_source_rgba(*rgb("#2e5a1a", 0.8))
    ctx.set_line_width(1.0)
    ctx.stroke()
    ctx.restore()


# A flame of three tongues at (x, y) about r high: red without, yellow within.
def _flame(ctx, x, y, r):
    for k, col in ((1.0, rgb("#d8401a")), (0.72, rgb("#ff9a2a")), (0.42, rgb("#ffe070"))):
        rr = r * k
        by = y + r * 0.5 * (1 - k) * 0.6
        ctx.move_to(x - 0.5 * rr, by + 0.5 * rr)
        ctx.curve_to(x - 0.75 * rr, by - 0.1 * rr, x - 0.3 * rr, by - 0.3 * rr, x - 0.38 * rr, by - 0.78 * rr)
        ctx.curve_to(x - 0.12 * rr, by - 0.45 * rr, x - 0.05 * rr, by - 0.65 * rr, x + 0.06 * rr, by - 1.15 * rr)
        ctx.curve_to(x + 0.22 * rr, by - 0.62 * rr, x + 0.38 * rr, by - 0.48 * rr, x + 0.42 * rr, by - 0.72 * rr)
        ctx.curve_to(x + 0.72 * rr, by - 0.2 * rr, x + 0.68 * rr, by + 0.3 * rr, x + 0.5 * rr, by + 0.5 * rr)
        ctx.curve_to(x + 0.2 * rr, by + 0.68 * rr, x - 0.2 * rr, by + 0.68 * rr, x - 0.5 * rr, by + 0.5 * rr)
        ctx.close_path()
        fill_outline(ctx, col, 2 if k == 1.0 else 0)


# The defeat picture.
def lose_bg():
    c = Canvas(W, H)
    ctx = c.ctx
    sky(ctx, rgb("#1a0e14"), rgb("#7a2a1c"), 520)
    glow(ctx, 640, 470, 300, rgb("#ff6a2a", 0.45))
    hills(ctx, 520, rgb("#2b2420"), 16, 4)
    # the burning castle
    far_castle(ctx, 640, 520, 1.3, rgb("#5e5650"), rgb("#3a3030"))
    for x, y, r in ((580, 360, 40), (700, 330, 50), (640, 300, 34)):
        glow(ctx, x, y, r * 2.2, rgb("#ff8a2a", 0.5))
        _flame(ctx, x, y, r * 1.2)
    # a torn banner stuck in the ground
    thick_line(ctx, (380, 620), (430, 440), 5, rgb("#4a3018"))
    poly(ctx, [(428, 448), (520, 470), (490, 500), (515, 530), (420, 510)], rgb("#6a6a6a"), width=2)
    hills(ctx, 630, rgb("#1c1816"), 10, 8)
    text(ctx, "DEFEAT", 640, 95, 100, rgb("#e0d8d0"), rgb("#3a0a0a"), 6, shadow=True)
    text(ctx, "Your castle has fallen", 640, 650, 30, rgb("#f0d0c0"), INK, 3)
    return c


FINAL_WORDS = {
    "Noblemen": "THE NOBLEMEN RULE THE REALM",
    "Workers": "THE WORKERS BUILD A NEW REALM",
    "Wisemen": "WISDOM RULES THE REALM",
    "Warriors": "THE WARRIORS CONQUER THE REALM",
}


# The final picture of a house that won all three battles.
def final_pic(house):
    p = HOUSES[house]
    c = Canvas(W, H)
    ctx = c.ctx
    sky(ctx, lighter(p["main"], 0.55), rgb("#fff4d0"), 460)
    glow(ctx, 640, 330, 420, rgb("#fff8d8", 0.85))
    for i in range(20):
        a = i * math.pi / 10
        poly(ctx, [(640, 330), (640 + 800 * math.cos(a), 330 + 800 * math.sin(a)),
                   (640 + 800 * math.cos(a + 0.1), 330 + 800 * math.sin(a + 0.1))], rgb("#ffffff", 0.18), width=0)
    hills(ctx, 470, rgb("#7fb069"), 24, 2)
    far_castle(ctx, 640, 470, 1.6, rgb("#e4ddca"), p["main"])
    for x in (250, 1030):
        banner(ctx, house, x, 190, 100, 200)
    hills(ctx, 560, rgb("#5f9a4d"), 12, 6)
    # crowds of the house's troops around the castle
    for i, x in enumerate((120, 215, 310, 970, 1065, 1160)):
        ctx.save()
        flip = x > 640
        ctx.translate(x + (45 if flip else -45), 505)
        ctx.scale(-1.3 if flip else 1.3, 1.3)
        DRAWERS[("Knight", "Spearman", "Horseman")[i % 3]](ctx, 4, house, 0.0)
        ctx.restore()
    text(ctx, FINAL_WORDS[house], 640, 70, 50, GOLD_LIGHT, INK, 4, shadow=True, max_width=1150)
    text(ctx, "Three battles won. The land of Morrow is yours.", 640, 128, 26, rgb("#3a2412"), None, 0)
    return c


# Writes the full-screen pictures.
def generate(root):
    save(root, "data\\MainMenuBG.png", main_menu_bg(), PLAIN)
    save(root, "data\\ASHGROVE_LOGO.png", ashgrove_logo(), PLAIN)
    save(root, "data\\BackgroundHouses.png", houses_bg(), PLAIN)
    save(root, "data\\BackgroundHowToPlay.png", book_bg(), PLAIN)
    save(root, "data\\YouWinDEF2.png", win_bg(), PLAIN)
    save(root, "data\\YouLoseDEF2.png", lose_bg(), PLAIN)
    for house in HOUSES:
        save(root, "data\\Final%s.png" % house, final_pic(house), PLAIN)
