# Battle HUD pictures: the buy cards (troop, an UP half and a DOWN half over
# the spawner click areas, an upgrade strip over the upgrader area) with their
# hover looks, the thief and catapult buttons, the padlock, banners, counter
# frames, health bars, coins, the sword power-up marker, the plain click-area
# colours, the cursor and the curtain wall.
# Click areas (layout units, relative to a buy card's centre; card 240 by 150):
# up half x -57.5..32.5, y 5..45; down half x -57.5..32.5, y -47..-7; upgrade
# strip x 45..60, y -51..49. Each is drawn as a button face of exactly its
# click area (the plain red areas are drawn under the cards, so the faces are
# opaque); everything else on the card is the wooden frame, where a click does
# nothing.
# Depends on draw.py, emblems.py, widgets.py and troops.py.
import math
import random

import cairo

from draw import (CURSOR, FONT_FAMILY, GOLD, GOLD_LIGHT, INK, MIRROR, PARCH, PLAIN, WOOD, Canvas, ellipse,
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


# Each half shows its troop, its lane word and a two-lane map with its own
# lane drawn and arrowed; the upgrade strip shows chevrons and a "+". Every
# mark is dark ink on a light face (7:1 or more), lit or not.
def buy_card(kind, lit):
    """lit: None, 'up', 'down' or 'upgrade'."""
    c = Canvas(CARD_W, CARD_H)
    ctx = c.ctx
    # the frame stops 2.5 units over the UP half, clear of the label the game
    # prints over the card; the upgrade strip stands out of it like a tab
    rounded(ctx, _cx(-63), _cy(47.5), 129, 102.5, 7, WOOD, width=2.5)
    word = _fit_size(ctx, "DOWN", 36, 15)  # both words at the size that fits DOWN
    for half, y1 in (("up", 45), ("down", -7)):
        _lane_button(ctx, kind, half, y1, lit == half, word)
    # the upgrade strip, exactly its click area
    on = lit == "upgrade"
    if on:
        glow(ctx, _cx(52.5), _cy(0), 30, rgb("#fff2a0", 0.6))
    rounded(ctx, _cx(45), _cy(49), 15, 100, 4, GOLD_LIGHT if on else GOLD, width=1.8,
            ink=CARD_INK)
    for k in range(3):
        yy = _cy(32 - k * 20)
        poly(ctx, [(_cx(47.5), yy + 4), (_cx(52.5), yy - 4), (_cx(57.5), yy + 4)], CARD_INK, width=0.8,
             ink=CARD_INK)
    text(ctx, "+", _cx(52.5), _cy(-37), 17, CARD_INK)
    return c


CARD_INK = rgb("#2e1a0a")  # every mark on a buy card


# The font size at which s is w wide, at most `size`.
def _fit_size(ctx, s, w, size):
    ctx.save()
    ctx.select_font_face(FONT_FAMILY, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    ctx.set_font_size(size)
    adv = ctx.text_extents(s).x_advance
    ctx.restore()
    return min(size, size * w / adv)


# One half of a buy card over its 90 by 40 click area whose top is at card y y1.
def _lane_button(ctx, kind, half, y1, on, word):
    x0, top = _cx(-57.5), _cy(y1)
    if on:
        path_rounded(ctx, x0 - 2, top - 2, 94, 44, 7)
        set_color(ctx, rgb("#ffe08a", 0.9))
        ctx.fill()
    rounded(ctx, x0, top, 90, 40, 5, rgb("#ffe58f") if on else PARCH, width=1.6, shaded=False,
            ink=rgb("#4a3018"))
    _troop_silhouette(ctx, kind, x0 + 12, top + 37)
    text(ctx, "UP" if half == "up" else "DOWN", x0 + 45, top + 20, word, CARD_INK)
    # the two lanes, this one solid with its arrow toward the enemy
    gx, mine = x0 + 66, (top + 11 if half == "up" else top + 29)
    for ly in (top + 11, top + 29):
        path_rounded(ctx, gx, ly - 3, 16, 6, 3)
        if ly == mine:
            set_color(ctx, CARD_INK)
            ctx.fill()
        else:
            set_color(ctx, CARD_INK)
            ctx.set_line_width(0.9)
            ctx.stroke()
    poly(ctx, [(gx + 14, mine - 6.5), (gx + 21, mine), (gx + 14, mine + 6.5)], CARD_INK, width=0.6, ink=CARD_INK)


# A troop kind as a dark silhouette about 34 units tall standing at (x, ground)
# on the canvas, so that the card suits every house.
def _troop_silhouette(ctx, kind, x, ground):
    k = {"Knight": 0.4, "Spearman": 0.36, "Horseman": 0.25}[kind]
    ctx.save()
    ctx.rectangle(x - 12, ground - 36, 24, 37)  # its place in the half
    ctx.clip()
    ctx.push_group()
    ctx.translate(x, ground)
    ctx.scale(k, k)
    ctx.translate({"Knight": -46, "Spearman": -50, "Horseman": -45}[kind], -86)
    DRAWERS[kind](ctx, 2, "Noblemen", 0.0)
    mask = ctx.pop_group()
    set_color(ctx, CARD_INK)
    ctx.mask(mask)
    ctx.restore()


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
    # covers the 100 by 100 click area (x 70..170, y 25..125), corners
    # included, with its outline and no more above it: the game prints
    # "300$ to Unlock" 6 units over the click area
    plaque(ctx, 67, 25.5, 106, 102.5, "wood", lit, r=4)
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
# below are the picture's, y down). Both pictures are 70 units wide, but the
# bar drawn in them is 54 (BAR_X0..BAR_X1), so the bars of two troops 80 units
# apart (as they stand in a queue or a fight) keep 16 units of field between
# them. The game mirrors the frame of an enemy bar, so the frame is an arrow
# pointing the way its troop marches: the player's bars point right, the
# enemy's left, and two armies' bars point at each other.
BAR_X0, BAR_X1 = 8, 62
BAR_Y = 35  # the bar's middle in the frame picture (40 tall)


# The frame (drawn under the fill): a dark arrow-shaped trough with a light
# rim, so it stands apart from grass of any lightness, also for colour-blind
# players; a swallowtail at the troop's back, a point at its front.
def health_frame():
    c = Canvas(70, 40)
    ctx = c.ctx
    y0, y1 = BAR_Y - 4.5, BAR_Y + 4.5
    shape = [(4, y0), (BAR_X1 - 1, y0), (67, BAR_Y), (BAR_X1 - 1, y1), (4, y1), (7.5, BAR_Y)]
    path_poly(ctx, shape)
    set_color(ctx, rgb("#f6ead0"))
    ctx.set_line_width(3.2)
    ctx.stroke_preserve()
    set_color(ctx, rgb("#140c08"))
    ctx.fill()
    rounded(ctx, BAR_X0, BAR_Y - 2.7, BAR_X1 - BAR_X0, 5.4, 1.5, rgb("#4a2c24"), width=0, shaded=False)
    return c


# The fill: bright mint over dark green, with quarter ticks, inside the
# frame's trough (the fill picture is 10 units taller than the frame's,
# around the same centre). The game narrows the whole picture as health
# drops, so the drawn fill keeps its share of the trough.
def health_fill():
    c = Canvas(70, 50)
    ctx = c.ctx
    y = BAR_Y + 5 - 2.7
    path_rounded(ctx, BAR_X0, y, BAR_X1 - BAR_X0, 5.4, 1.5)
    g = cairo.LinearGradient(0, y, 0, y + 5.4)
    g.add_color_stop_rgba(0, *rgb("#e6ffb0"))
    g.add_color_stop_rgba(0.45, *rgb("#8cf25a"))
    g.add_color_stop_rgba(1, *rgb("#2e9a2c"))
    ctx.set_source(g)
    ctx.fill()
    for k in (1, 2, 3):
        x = BAR_X0 + (BAR_X1 - BAR_X0) * k / 4
        thick_line(ctx, (x, y + 0.6), (x, y + 4.8), 0.7, rgb("#1f5a1a", 0.8), outline=0)
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
