# Battle HUD pictures: the buy cards (troop, an UP half and a DOWN half over
# the spawner click areas, an upgrade strip over the upgrader area) with their
# hover looks, the thief and catapult buttons, the padlock, banners, counter
# frames, health bars, coins, the sword power-up marker, the plain click-area
# colours, the cursor and the curtain wall.
# Click areas (layout units, relative to a buy card's centre; card 240 by 150):
# up half x -57.5..32.5, y 5..45; down half x -57.5..32.5, y -47..-7; upgrade
# strip x 45..60, y -51..49. The cards are opaque over all of them, since the
# plain red click areas are drawn under the cards.
# Depends on draw.py, emblems.py, widgets.py and troops.py.
import math
import random

import cairo

from draw import (CURSOR, GOLD, GOLD_LIGHT, INK, MIRROR, PARCH, PARCH_DARK, PLAIN, WOOD, Canvas, ellipse,
                  fill_outline, glow, mix, path_poly, path_rounded, poly, rgb, rounded, save, set_color,
                  text, thick_line)
from emblems import banner, coin, counter_frame, crown
from troops import DRAWERS, thief_draw
from widgets import plaque

CARD_W, CARD_H = 240, 150


# Card y (up from the centre) to canvas y.
def _cy(y):  # card y (up positive, from the centre) to canvas y
    return CARD_H / 2 - y


# Card x (from the centre) to canvas x.
def _cx(x):
    return CARD_W / 2 + x


def buy_card(kind, lit):
    """lit: None, 'up', 'down' or 'upgrade'."""
    c = Canvas(CARD_W, CARD_H)
    ctx = c.ctx
    # frame of the card: x -63..66, y -56..51
    rounded(ctx, _cx(-63), _cy(51), 129, 107, 8, WOOD, width=2.5)
    # the troop kind in a column of its own, a house-neutral silhouette
    rounded(ctx, _cx(-59.5), _cy(47), 35, 94, 6, PARCH_DARK, width=1.6, shaded=False, ink=rgb("#4a3018"))
    _troop_silhouette(ctx, kind, _cx(-42), _cy(-40))
    for half, y0, y1, label in (("up", 45, 5, "UP"), ("down", -7, -47, "DOWN")):
        on = lit == half
        x0, x1 = -21.5, 34.5
        path_rounded(ctx, _cx(x0), _cy(y0 + 2), x1 - x0, (y0 - y1) + 4, 6)
        face = rgb("#fff0b8") if on else PARCH
        fill_outline(ctx, face, 1.6, rgb("#4a3018"))
        if on:
            path_rounded(ctx, _cx(x0) + 2, _cy(y0 + 2) + 2, x1 - x0 - 4, (y0 - y1), 5)
            set_color(ctx, rgb("#ffcf3a", 0.35))
            ctx.fill()
        # arrow and word
        ax, ay = _cx(-12), _cy((y0 + y1) / 2)
        d = -1 if half == "up" else 1
        poly(ctx, [(ax - 7, ay - d * 5), (ax + 7, ay - d * 5), (ax, ay + d * 6)],
             rgb("#e8a317") if on else rgb("#8a5a2b"), width=1.4)
        text(ctx, label, _cx(16), ay, 13, rgb("#3a2412"), max_width=34)
    # the upgrade strip
    on = lit == "upgrade"
    rounded(ctx, _cx(42.5), _cy(50), 20, 102, 5, GOLD_LIGHT if on else GOLD, width=1.8)
    if on:
        glow(ctx, _cx(52.5), _cy(0), 26, rgb("#fff2a0", 0.5))
    for k in range(3):
        yy = _cy(28 - k * 22)
        poly(ctx, [(_cx(46), yy + 5), (_cx(52.5), yy - 4), (_cx(59), yy + 5)], rgb("#fff6d0") if on else
             rgb("#7a4a12"), width=1.2)
    text(ctx, "+", _cx(52.5), _cy(-38), 14, rgb("#7a4a12") if not on else rgb("#3a2000"))
    return c


# A troop kind as a dark silhouette standing at (x, ground) on the canvas, so
# that the card suits every house.
def _troop_silhouette(ctx, kind, x, ground):
    k = {"Knight": 0.82, "Spearman": 0.74, "Horseman": 0.42}[kind]
    ctx.save()
    ctx.rectangle(x - 16, ground - 86, 32, 92)  # the column, so the spear stays inside
    ctx.clip()
    ctx.push_group()
    ctx.translate(x, ground)
    ctx.scale(k, k)
    ctx.translate({"Knight": -46, "Spearman": -50, "Horseman": -45}[kind], -86)
    DRAWERS[kind](ctx, 2, "Noblemen", 0.0)
    mask = ctx.pop_group()
    ctx.set_source_rgba(*rgb("#3a2616"))
    ctx.mask(mask)
    ctx.restore()
    thick_line(ctx, (x - 14, ground + 1), (x + 14, ground + 1), 1.2, rgb("#8a6a3a"), outline=0)


# The thief button, a sneaking thief and a money bag.
def thief_button(lit):
    c = Canvas(100, 100)
    ctx = c.ctx
    # square corners: the plain click area under it is exactly this size
    plaque(ctx, 0, 0, 100, 100, "wood", lit, r=3)
    # draw the sneaking thief big in the middle
    ctx.save()
    ctx.translate(26, 10)
    ctx.scale(1.3, 1.0)
    thief_draw(ctx, 0.2)
    ctx.restore()
    # a money bag with a coin mark
    ellipse(ctx, 74, 68, 13, 15, rgb("#c59b5a"), width=2, shaded=True)
    text(ctx, "$", 74, 70, 15, rgb("#5a3a10"))
    return c


# The catapult button, opaque over its click area.
def cannon_button(lit):
    c = Canvas(240, 150)
    ctx = c.ctx
    # covers the 100 by 100 click area (x 70..170, y 25..125) with a margin
    plaque(ctx, 66, 21, 108, 108, "wood", lit, r=16)
    # catapult glyph drawn directly for crispness
    ctx.save()
    ctx.translate(76, 30)
    ctx.scale(0.5, 0.5)
    _catapult_glyph(ctx)
    ctx.restore()
    return c


# A catapult drawn in a 180 by 180 box.
def _catapult_glyph(ctx):
    wood, dark = rgb("#b07a42"), rgb("#6b4424")
    thick_line(ctx, (25, 140), (160, 140), 10, wood)
    thick_line(ctx, (60, 140), (95, 75), 8, wood)
    thick_line(ctx, (130, 140), (95, 75), 8, wood)
    thick_line(ctx, (95, 82), (30, 40), 7, dark)
    ellipse(ctx, 28, 38, 13, 8, dark, width=2.5)
    ellipse(ctx, 28, 34, 9, 7, rgb("#9a968c"), width=2)
    for wx in (45, 145):
        ellipse(ctx, wx, 150, 18, 18, wood, width=3, shaded=True)
        ellipse(ctx, wx, 150, 5, 5, rgb("#6e6a62"), width=2)


# The padlock over the catapult button.
def lock_pic():
    c = Canvas(150, 150)
    ctx = c.ctx
    ctx.new_sub_path()
    ctx.arc(75, 66, 24, math.pi, 2 * math.pi)
    set_color(ctx, INK)
    ctx.set_line_width(13)
    ctx.stroke()
    ctx.new_sub_path()
    ctx.arc(75, 66, 24, math.pi, 2 * math.pi)
    set_color(ctx, rgb("#b8c0cc"))
    ctx.set_line_width(8)
    ctx.stroke()
    thick_line(ctx, (51, 66), (51, 76), 8, rgb("#b8c0cc"), outline=2.5)
    thick_line(ctx, (99, 66), (99, 76), 8, rgb("#b8c0cc"), outline=2.5)
    rounded(ctx, 40, 72, 70, 56, 10, GOLD, width=3)
    ellipse(ctx, 75, 94, 7, 7, INK, width=0)
    poly(ctx, [(72, 96), (78, 96), (80, 114), (70, 114)], INK, width=0)
    return c


# Health bars sit in the lower part of their pictures: a troop's bar is placed
# 90 units over the troop, and in the up lane at the left that would reach
# into the HUD board, so the bar itself stays 10 units lower (layout units
# below are the picture's, y down).


# The dark framed trough behind a health bar, with a transparent gap at each
# end, so the bars of troops standing side by side read as separate bars.
def health_frame():
    c = Canvas(70, 40)
    rounded(c.ctx, 4, 30, 62, 9.6, 3.5, rgb("#120c08"), width=0, shaded=False)
    rounded(c.ctx, 5.4, 31.4, 59.2, 6.8, 2.6, rgb("#3a2a20"), width=0.8, shaded=False, ink=rgb("#d8c08a"))
    return c


# The green fill of a health bar, inside the frame's trough (the fill picture
# is 10 units taller than the frame's, around the same centre).
def health_fill():
    c = Canvas(70, 50)
    ctx = c.ctx
    path_rounded(ctx, 7, 36.6, 56, 6.4, 2.2)
    g = cairo.LinearGradient(0, 36.6, 0, 43)
    g.add_color_stop_rgba(0, *rgb("#8ef06a"))
    g.add_color_stop_rgba(1, *rgb("#2f9a2a"))
    ctx.set_source(g)
    ctx.fill_preserve()
    set_color(ctx, rgb("#143a10"))
    ctx.set_line_width(0.7)
    ctx.stroke()
    path_rounded(ctx, 9, 37.4, 52, 1.8, 0.9)
    set_color(ctx, (1, 1, 1, 0.35))
    ctx.fill()
    return c


# The plate behind a castle health bar, centred on the bar (3 units under its
# picture's centre, which is where the castle puts the plate).
def health_bg():
    c = Canvas(90, 60)
    rounded(c.ctx, 3, 30, 84, 24, 8, PARCH, width=2.2)
    return c


# The glowing sword over troops of the banner holder.
def sword_marker():
    c = Canvas(30, 30)
    ctx = c.ctx
    glow(ctx, 15, 15, 15, rgb("#ffe070", 0.7))
    thick_line(ctx, (15, 3), (15, 20), 3.6, rgb("#e8eef6"), outline=1.0)
    thick_line(ctx, (8, 20), (22, 20), 2.6, GOLD, outline=1.0)
    thick_line(ctx, (15, 21), (15, 27), 2.6, rgb("#6b4424"), outline=1.0)
    return c


# The kill coin.
def coin_pic():
    c = Canvas(40, 40)
    coin(c.ctx, 20, 20, 17)
    return c


# A coin with the thief reward amount.
def coin_popup(amount):
    c = Canvas(40, 40)
    coin(c.ctx, 20, 14, 11)
    text(c.ctx, "+%d" % amount, 20, 31, 14, GOLD_LIGHT, INK, 2.6, max_width=38)
    return c


# A plain opaque colour (the click areas).
def solid(color):
    c = Canvas(8, 8, scale=2)
    c.ctx.rectangle(0, 0, 8, 8)
    set_color(c.ctx, color)
    c.ctx.fill()
    return c


def cursor_pic():
    """A gauntlet-gold arrow whose tip is the picture's centre."""
    c = Canvas(26, 26, scale=2)
    ctx = c.ctx
    cx, cy = 13, 13
    pts = [(0, 0), (0, 11.5), (3, 8.8), (5.2, 12.8), (7.2, 11.8), (5.1, 8), (9, 8)]
    path_poly(ctx, [(cx + x, cy + y) for x, y in pts])
    fill_outline(ctx, GOLD_LIGHT, 1.3, INK, cy, cy + 12)
    return c


# The window icon.
def icon_pic(scale=4):
    # 256 pixels by default: the window icon, and the desktop's largest usual
    # icon size; the desktop icons draw it again at smaller scales.
    c = Canvas(64, 64, scale=scale)
    ctx = c.ctx
    ellipse(ctx, 32, 32, 30, 30, GOLD, width=2.5, shaded=True)
    ellipse(ctx, 32, 32, 24, 24, rgb("#8e2323"), width=2, shaded=True)
    crown(ctx, 32, 33, 14, GOLD_LIGHT)
    return c


def wall_pic():
    """The curtain: a castle wall of dressed stone with a gold seal."""
    c = Canvas(1380, 820)
    ctx = c.ctx
    ctx.rectangle(0, 0, 1380, 820)
    set_color(ctx, rgb("#5d5750"))
    ctx.fill()
    rnd = random.Random(12)
    bh = 41
    for r in range(20):
        off = (r % 2) * 45
        for bx in range(-90, 1380, 90):
            col = mix(rgb("#8f877b"), rgb("#b3aa9b"), rnd.uniform(0, 1))
            rounded(ctx, bx + off + 2, r * bh + 2, 86, bh - 4, 5, col, width=2.2, ink=rgb("#3a342e"))
    ellipse(ctx, 690, 410, 120, 120, GOLD, width=5, shaded=True)
    ellipse(ctx, 690, 410, 98, 98, rgb("#8e2323"), width=3, shaded=True)
    crown(ctx, 690, 400, 52, GOLD_LIGHT)
    text(ctx, "M", 690, 460, 40, GOLD_LIGHT, INK, 2)
    return c


# Writes the HUD pictures, banners, frames, cursor, curtain and icon.
def generate(root):
    for kind in ("Knight", "Spearman", "Horseman"):
        save(root, "data\\Buy%s1Button.png" % kind, buy_card(kind, None), PLAIN)
        save(root, "data\\Buy%sUpButton.png" % kind, buy_card(kind, "up"), PLAIN)
        save(root, "data\\Buy%sDownButton.png" % kind, buy_card(kind, "down"), PLAIN)
        save(root, "data\\Buy%sUpgradeButton.png" % kind, buy_card(kind, "upgrade"), PLAIN)
    save(root, "data\\BuyThiefButton.png", thief_button(False), PLAIN)
    save(root, "data\\ThiefButtonClicked.png", thief_button(True), PLAIN)
    save(root, "data\\CannonButton.png", cannon_button(False), PLAIN)
    save(root, "data\\CannonButtonHoover.png", cannon_button(True), PLAIN)
    save(root, "data\\Lock.png", lock_pic(), MIRROR)
    save(root, "data\\EmptyHealthBar.png", health_frame(), MIRROR)
    save(root, "data\\HealthBar.png", health_fill(), MIRROR)
    save(root, "data\\HealthBG.png", health_bg(), MIRROR)
    save(root, "data\\BannerPowerUpSprite.png", sword_marker(), MIRROR)
    save(root, "data\\Coin.png", coin_pic(), MIRROR)
    for n in (40, 50, 100, 200):
        save(root, "data\\Coin+%d.png" % n, coin_popup(n), PLAIN)
    save(root, "data\\red.png", solid(rgb("#b02a2a")), PLAIN)
    save(root, "data\\blue.png", solid(rgb("#2a4ab0")), PLAIN)
    save(root, "data\\green.png", solid(rgb("#2a8a3a")), PLAIN)
    save(root, "data\\Cursor.png", cursor_pic(), CURSOR)
    # the window icon, read top row first by the platform layer: saved as seen
    save(root, "data\\Icon.png", icon_pic(), PLAIN)
    save(root, "data\\TransitionWall.png", wall_pic(), MIRROR)
    for house, name in (("Noblemen", "Noblemen"), ("Workers", "Workers"), ("Wisemen", "Wisemen"),
                        ("Warriors", "Warriors")):
        c = Canvas(200, 200)
        banner(c.ctx, house, 100, 30, 110, 140)
        save(root, "data\\Banner%s.png" % name, c, MIRROR)
        f = Canvas(175, 175)
        counter_frame(f.ctx, house, 87.5, 87.5, 52)
        # ribbon under the frame for the crossing count printed by the game
        rounded(f.ctx, 37.5, 144, 100, 26, 7, PARCH, width=2, shaded=False)
        save(root, "data\\FrameCircle%s.png" % name, f, PLAIN)
    c = Canvas(200, 200)
    banner(c.ctx, None, 100, 30, 110, 140)
    save(root, "data\\BannerStandard.png", c, MIRROR)
