# Animated pictures outside the battle field: the studio logo of the splash
# (20 frames, shown once; it fades out under the audio-library logo, which the
# game brings in over it at frame 16), the audio-library logo (20 looping frames;
# the game moves on at frame 17), the main menu's knight, and the pause scroll
# that unrolls and rolls up, with the still scroll pictures of the pause menu.
# The pause scroll is dark with gold words; where the game prints black
# values (settings page) it has light slots.
# Depends on draw.py, emblems.py and troops.py.
import math

import cairo

from draw import (GOLD, GOLD_LIGHT, INK, MIRROR, PLAIN, Canvas, ellipse, fill_outline, glow,
                  lighter, path_rounded, poly, rgb, rounded, save, save_sheet, set_color, text, thick_line)
from emblems import crown

# ---------------------------------------------------------------------------
# Splash
# ---------------------------------------------------------------------------


# Smooth step from 0 to 1.
def _ease(t):
    t = max(0.0, min(1.0, t))
    return t * t * (3 - 2 * t)


# Frame i of the studio logo: the ring grows from a spark, mountains rise, the
# name is spelt out, and the whole cross-fades under the audio-library logo
# (which the game brings in at frame 16), so that no two frames are the same.
def tarn_frame(i):
    c = Canvas(640, 360)
    ctx = c.ctx
    fade = 1.0 - _ease((i - 12) / 7.0)          # gone at the last frame
    if fade <= 0:
        return c
    # frame 0 is shown while the splash waits before playing: only the spark
    grow = 0.06 + 0.94 * _ease(i / 4.0)
    rise = _ease((i - 3) / 4.0)
    letters = max(0, min(11, int((i - 7) * 2.2)))
    ctx.push_group()
    cx, cy = 320, 135
    r = 105 * grow
    if r > 1:
        ellipse(ctx, cx, cy, r, r, rgb("#1d3b5a"), width=4, ink=GOLD)
        ctx.save()
        path_rounded(ctx, cx - r, cy - r, 2 * r, 2 * r, r)
        ctx.clip()
        g = cairo.LinearGradient(0, cy - r, 0, cy + r)
        g.add_color_stop_rgba(0, *rgb("#f3b36a"))
        g.add_color_stop_rgba(0.55, *rgb("#f8dca0"))
        g.add_color_stop_rgba(0.56, *rgb("#3a6e8e"))
        g.add_color_stop_rgba(1, *rgb("#1d3b5a"))
        ctx.set_source(g)
        ctx.paint()
        # mountains rising over the tarn
        base = cy + 0.1 * r
        lift = 84 * rise
        poly(ctx, [(cx - r, base), (cx - 40, base - lift * 0.8), (cx - 5, base - lift * 0.45),
                   (cx + 30, base - lift), (cx + r, base)], rgb("#4a5a6e"), width=3)
        poly(ctx, [(cx + 18, base - lift * 0.83), (cx + 30, base - lift), (cx + 42, base - lift * 0.83)],
             rgb("#f4f4f8"), width=2)
        for k in range(3):
            thick_line(ctx, (cx - 40 + k * 10, base + 18 + k * 14), (cx + 40 - k * 10, base + 18 + k * 14), 2,
                       rgb("#9cc6e0", 0.8), outline=0)
        ctx.restore()
        ellipse(ctx, cx, cy, r, r, (0, 0, 0, 0), width=5, ink=GOLD)
    word = "TARN STUDIO"[:letters]
    if word:
        text(ctx, word, 320, 285, 56, GOLD_LIGHT, INK, 3)
    if i >= 10:
        text(ctx, "presents", 320, 332, 24, rgb("#e9e1c8", _ease((i - 10) / 2.0)), bold=False)
    ctx.pop_group_to_source()
    ctx.paint_with_alpha(fade)
    return c


# Frame i of the audio-library logo: a running sound wave and the library name.
def audio_frame(i):
    c = Canvas(505, 133.3)
    ctx = c.ctx
    t = i / 20.0
    # a sound wave running through, and the library's name
    for k in range(24):
        x = 30 + k * 8.5
        h = 10 + 34 * abs(math.sin(2 * math.pi * (t * 2 + k / 9.0))) * (0.5 + 0.5 * math.sin(k / 3.0 + 1))
        rounded(ctx, x, 66 - h / 2, 5.5, h, 2.5, lighter(GOLD, 0.2 * math.sin(k)), width=1.2, shaded=False)
    appear = _ease(i / 6.0)
    text(ctx, "SOUND BY", 360, 40, 20, rgb("#e9e1c8", appear), bold=False)
    text(ctx, "SDL_mixer", 360, 78, 44, rgb("#f3dc7a", appear), rgb("#1e1610", appear), 3)
    text(ctx, "Simple DirectMedia Layer", 360, 112, 15, rgb("#b9b2a0", appear), bold=False)
    return c


# ---------------------------------------------------------------------------
# Main menu knight
# ---------------------------------------------------------------------------


# Frame i of n of the main menu knight: gilded plate, hands on his planted sword,
# cape and plume in the wind, breathing.
def menu_knight(i, n):
    c = Canvas(300, 320)
    ctx = c.ctx
    t = 2 * math.pi * i / n
    wave, breath = math.sin(t), 1.2 * math.sin(t)
    steel, gold, blue = rgb("#c9d1dc"), rgb("#e0b84a"), rgb("#2456b8")
    # cape, blowing out behind him to the left
    ctx.move_to(128, 98 + breath)
    ctx.curve_to(95 - 8 * wave, 150, 70 + 10 * wave, 230, 48 + 12 * wave, 300)
    ctx.curve_to(80, 296 + 5 * wave, 118, 292, 150, 296)
    ctx.line_to(172, 100 + breath)
    ctx.close_path()
    fill_outline(ctx, rgb("#9a2424"), 3, INK, 98, 300)
    # legs in plate
    for hip, foot in (((138, 205), (124, 300)), ((164, 205), (178, 300))):
        thick_line(ctx, (hip[0], hip[1] + breath), foot, 17, steel, outline=2.5)
        ellipse(ctx, (hip[0] + foot[0]) / 2, (hip[1] + foot[1]) / 2 + 4, 10, 8, gold, width=2)
        poly(ctx, [(foot[0] - 12, foot[1] - 6), (foot[0] + 16, foot[1] - 6), (foot[0] + 18, foot[1] + 6),
                   (foot[0] - 12, foot[1] + 6)], rgb("#6e737b"), width=2.5)
    # tabard in the Noblemen blue, with the crown
    b = breath
    poly(ctx, [(124, 140 + b), (178, 140 + b), (186, 240 + b), (116, 240 + b)], blue, width=3, shaded=True)
    crown(ctx, 151, 200 + b, 15, gold)
    # breastplate
    ctx.move_to(120, 96 + b)
    ctx.line_to(182, 96 + b)
    ctx.curve_to(188, 130 + b, 184, 150 + b, 176, 162 + b)
    ctx.line_to(126, 162 + b)
    ctx.curve_to(118, 150 + b, 114, 130 + b, 120, 96 + b)
    ctx.close_path()
    fill_outline(ctx, gold, 3, INK, 96, 162)
    thick_line(ctx, (151, 100 + b), (151, 158 + b), 2, rgb("#fff2b0"), outline=0)
    # the sword, planted point down in front of him
    thick_line(ctx, (222, 196), (230, 302), 9, rgb("#e8eef6"), outline=2.5)
    thick_line(ctx, (204, 190), (240, 188), 7, gold, outline=2.5)
    thick_line(ctx, (221, 188), (219, 160), 6, rgb("#6b4424"), outline=2.5)
    ellipse(ctx, 219, 156, 7, 7, gold, width=2.5)
    # arms reaching to the pommel
    for shoulder, elbow in (((128, 108 + b), (170, 150)), ((176, 108 + b), (200, 140))):
        thick_line(ctx, shoulder, elbow, 15, steel, outline=2.5)
        thick_line(ctx, elbow, (216, 172), 13, steel, outline=2.5)
    ellipse(ctx, 218, 172, 10, 9, rgb("#6e737b"), width=2.5)
    for x in (122, 180):
        ellipse(ctx, x, 106 + b, 18, 14, gold, width=3, shaded=True)
    # helmet with a visor facing right, and the plume streaming left
    hx, hy = 152, 66 + b
    ctx.move_to(hx - 10, hy - 26)
    ctx.curve_to(hx - 40 - 10 * wave, hy - 50, hx - 70 - 14 * wave, hy - 30, hx - 88 - 10 * wave, hy - 8 + 6 * wave)
    ctx.curve_to(hx - 60, hy - 22, hx - 30, hy - 18, hx + 4, hy - 24)
    ctx.close_path()
    fill_outline(ctx, rgb("#f0c431"), 3)
    ctx.move_to(hx - 24, hy + 26)
    ctx.curve_to(hx - 30, hy - 34, hx + 30, hy - 36, hx + 26, hy + 26)
    ctx.close_path()
    fill_outline(ctx, gold, 3, INK, hy - 30, hy + 26)
    thick_line(ctx, (hx + 2, hy - 2), (hx + 25, hy - 2), 4, INK, outline=0)
    for k in range(3):
        thick_line(ctx, (hx + 8 + k * 6, hy + 6), (hx + 8 + k * 6, hy + 16), 2, INK, outline=0)
    return c


# ---------------------------------------------------------------------------
# Pause scroll (700 by 700 layout; y up in the comments, from the centre)
# ---------------------------------------------------------------------------

SCROLL_DARK = rgb("#4a2a18")


def _scroll(ctx, open_t, rows=None, slots=False, plain_face=None):
    """The scroll unrolled to open_t (0 rolled, 1 open): sheet x -250..250, y -240..270."""
    face = plain_face or SCROLL_DARK
    half_top = 270 * open_t
    half_bot = 240 * open_t
    top, bot = 350 - 15 - half_top, 350 - 15 + half_bot
    if bot - top > 2:
        rounded(ctx, 100, top, 500, bot - top, 6, face, width=3, ink=INK, shaded=False)
        path_rounded(ctx, 112, top + 8, 476, max(1, bot - top - 16), 4)
        set_color(ctx, GOLD)
        ctx.set_line_width(2.5)
        ctx.stroke()
    for y in (top, bot):
        rounded(ctx, 82, y - 16, 536, 32, 16, rgb("#8a5a2b"), width=3)
        for x in (70, 630):
            ellipse(ctx, x, y, 14, 18, GOLD, width=2.5, shaded=True)
    if open_t < 0.999:
        return
    if rows:
        text(ctx, "PAUSED", 350, 350 - 235, 40, GOLD_LIGHT, INK, 3)
        thick_line(ctx, (250, 350 - 205), (450, 350 - 205), 2, GOLD, outline=0)
        for word, y in rows:
            text(ctx, word, 350, 350 - y, 34, GOLD_LIGHT, INK, 3)
    if slots:
        # tan slots for the black values printed by the game, between the arrows at x +-110 (tan
        # rather than white, so that they sit quietly on the exit page, which shows them empty)
        # (y from, y to) of each value's letters; the exit question above the first slot stays on dark
        for y0, y1 in ((176, 204), (77, 102), (-22, 3), (-119, -94)):
            rounded(ctx, 350 - 100, 350 - y1, 200, y1 - y0, 8, rgb("#c9ae7c"), width=2, ink=GOLD, shaded=False)


ROWS = (("CONTINUE", 85), ("SETTINGS", -15), ("EXIT", -100))


# The pause scroll unrolled to open_t, with its three rows once fully open.
def scroll_frame(open_t, rows=True):
    c = Canvas(700, 700)
    _scroll(c.ctx, open_t, ROWS if rows else None)
    return c


# The open scroll of the settings and exit pages, with slots for the printed values.
def scroll_blank():
    c = Canvas(700, 700)
    _scroll(c.ctx, 1.0, None, slots=True)
    return c


def scroll_marks():
    """Hover marks for the row at y = 85: small gold swords either side and an underline."""
    c = Canvas(700, 700)
    ctx = c.ctx
    y = 350 - 85
    glow(ctx, 350, y, 125, rgb("#ffd86a", 0.35))
    for sx in (-1, 1):
        thick_line(ctx, (350 + sx * 40, y + 22), (350 + sx * 112, y + 22), 2.5, GOLD_LIGHT, outline=0)
        ellipse(ctx, 350 + sx * 118, y + 22, 4, 4, GOLD_LIGHT, width=1.2)
    thick_line(ctx, (330, y + 22), (370, y + 22), 2.5, GOLD_LIGHT, outline=0)
    return c


# Writes the splash logos, the menu knight and the pause scroll pictures.
def generate(root):
    save_sheet(root, "data\\Animation\\TarnAnim", [tarn_frame(i) for i in range(20)], 5,
               [0.25] + [0.08] * 11 + [0.6] + [0.1] * 7, PLAIN)
    save_sheet(root, "data\\Animation\\FmodAnimData", [audio_frame(i) for i in range(20)], 4, [0.09] * 20, PLAIN)
    save_sheet(root, "data\\Animation\\BackgroundAnim", [menu_knight(i, 8) for i in range(8)], 4, [0.16] * 8, PLAIN)
    opening = [scroll_frame(t) for t in (0.04, 0.2, 0.42, 0.66, 0.86, 1.0)]
    save_sheet(root, "data\\Animation\\ScrollAnimOpen", opening, 3, [0.05] * 6, MIRROR)
    closing = [scroll_frame(t) for t in (1.0, 0.86, 0.66, 0.42, 0.2, 0.04)]
    save_sheet(root, "data\\Animation\\ScrollAnimClose", closing, 3, [0.05] * 6, MIRROR)
    save(root, "data\\Animation\\ScrollAnimation_0.png", opening[0], MIRROR)
    save(root, "data\\ScrollContinue.png", scroll_frame(1.0), MIRROR)
    save(root, "data\\ScrollPlain.png", scroll_frame(1.0, rows=False), MIRROR)
    save(root, "data\\ScrollSettings.png", scroll_blank(), MIRROR)
    save(root, "data\\ScrollBlank.png", scroll_blank(), PLAIN)
    save(root, "data\\ScrollContinueThingy.png", scroll_marks(), MIRROR)
