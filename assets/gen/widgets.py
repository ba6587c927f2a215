# Buttons and icons shared by the menus, the pause scroll and the battle HUD:
# plaques of wood, parchment or gold with words in the game font, round icon
# buttons (speaker, gear, bell, arrows, question mark, restart, scroll, door,
# home), and their lit hover looks (brighter face, gold rim and glow).
# Depends on draw.py.
import colorsys
import math

from draw import (GOLD, GOLD_LIGHT, INK, PARCH, WOOD, Canvas, darker, ellipse, fill_outline,
                  glow, lighter, mix, path_rounded, poly, rgb, rounded, set_color, text, thick_line)

STYLES = {
    "wood": dict(face=WOOD, rim=GOLD, ink=GOLD_LIGHT, outline=INK),
    "parch": dict(face=PARCH, rim=rgb("#8a5a2b"), ink=rgb("#3a2412"), outline=rgb("#4a3018")),
    "red": dict(face=rgb("#8e2323"), rim=GOLD, ink=GOLD_LIGHT, outline=INK),
    "blue": dict(face=rgb("#24427a"), rim=GOLD, ink=GOLD_LIGHT, outline=INK),
    "green": dict(face=rgb("#2f6a34"), rim=GOLD, ink=GOLD_LIGHT, outline=INK),
}


def lit_face(face, style="wood"):
    """The hovered look of a face: wood and parchment glow toward gold, colours
    brighten at their own saturation (mixed toward white they would look grey,
    like a disabled button)."""
    if style in ("wood", "parch"):
        return mix(lighter(face, 0.12), GOLD_LIGHT, 0.38)
    h, s, v = colorsys.rgb_to_hsv(*face[:3])
    return colorsys.hsv_to_rgb(h, min(1.0, s * 1.1), min(1.0, v * 1.45)) + (face[3],)


# A framed plaque, lit or not.
def plaque(ctx, x, y, w, h, style="wood", lit=False, r=None):
    st = STYLES[style]
    r = min(w, h) * 0.28 if r is None else r
    if lit:
        # a warm halo that stays inside the picture
        path_rounded(ctx, x - 1.5, y - 1.5, w + 3, h + 3, r + 1.5)
        set_color(ctx, rgb("#ffe08a", 0.8))
        ctx.fill()
    face = lit_face(st["face"], style) if lit else st["face"]
    rim = GOLD_LIGHT if lit else st["rim"]
    rounded(ctx, x, y, w, h, r, rim, width=2.5, ink=st["outline"])
    m = max(2.5, min(w, h) * 0.07)
    rounded(ctx, x + m, y + m, w - 2 * m, h - 2 * m, max(1, r - m), face, width=1.5, ink=darker(rim, 0.4))
    # a soft highlight along the top
    path_rounded(ctx, x + m * 2, y + m * 1.6, w - 4 * m, (h - 2 * m) * 0.32, max(1, r - m * 2))
    set_color(ctx, (1, 1, 1, 0.16 if not lit else 0.26))
    ctx.fill()


# A plaque button with words.
def text_button(w, h, label, lit=False, style="wood", size=None, pad=0.0):
    c = Canvas(w, h)
    m = pad if pad else max(2, min(w, h) * 0.06)
    plaque(c.ctx, m, m, w - 2 * m, h - 2 * m, style, lit)
    st = STYLES[style]
    size = size or h * 0.42
    ink = rgb("#fff6d0") if lit and style != "parch" else st["ink"]
    outline = INK if style != "parch" else None
    text(c.ctx, label, w / 2, h / 2, size, ink, outline, size * 0.12 if outline else 0, max_width=w * 0.8,
         shadow=style != "parch")
    return c


def round_button(w, h, draw_icon, lit=False, style="wood", label=None):
    """A round medallion with an icon (and optionally a word under it)."""
    c = Canvas(w, h)
    ctx = c.ctx
    st = STYLES[style]
    r = min(w, h) / 2 - 2
    cx, cy = w / 2, h / 2
    if lit:
        glow(ctx, cx, cy, min(w, h) / 2, rgb("#ffe08a", 0.7))
        r *= 0.97
    ellipse(ctx, cx, cy, r, r, GOLD_LIGHT if lit else st["rim"], width=2.5, ink=st["outline"])
    face = lit_face(st["face"], style) if lit else st["face"]
    ellipse(ctx, cx, cy, r * 0.86, r * 0.86, face, width=1.5, shaded=True, ink=darker(st["rim"], 0.4))
    ink = rgb("#fff6d0") if lit and style != "parch" else st["ink"]
    if label:
        draw_icon(ctx, cx, cy - r * 0.2, r * 0.42, ink)
        text(ctx, label, cx, cy + r * 0.45, r * 0.3, ink, INK if style != "parch" else None, r * 0.04,
             max_width=r * 1.45)
    else:
        draw_icon(ctx, cx, cy, r * 0.55, ink)
    return c


# ---------------------------------------------------------------------------
# Icons: each draws within a square of half-size s around (cx, cy)
# ---------------------------------------------------------------------------


# A speaker, crossed out when muted.
def icon_speaker(ctx, cx, cy, s, col, muted=False):
    poly(ctx, [(cx - s * 0.9, cy - s * 0.3), (cx - s * 0.45, cy - s * 0.3), (cx + s * 0.1, cy - s * 0.8),
               (cx + s * 0.1, cy + s * 0.8), (cx - s * 0.45, cy + s * 0.3), (cx - s * 0.9, cy + s * 0.3)], col,
         width=max(1, s * 0.1))
    if muted:
        for a, b in (((0.35, -0.45), (0.95, 0.45)), ((0.35, 0.45), (0.95, -0.45))):
            thick_line(ctx, (cx + a[0] * s, cy + a[1] * s), (cx + b[0] * s, cy + b[1] * s), s * 0.16,
                       rgb("#e03030"), outline=max(0.8, s * 0.06))
    else:
        for k, rr in enumerate((0.45, 0.8)):
            ctx.new_sub_path()
            ctx.arc(cx + s * 0.15, cy, s * rr, -0.8, 0.8)
            set_color(ctx, INK)
            ctx.set_line_width(s * 0.2)
            ctx.stroke()
            ctx.new_sub_path()
            ctx.arc(cx + s * 0.15, cy, s * rr, -0.8, 0.8)
            set_color(ctx, col)
            ctx.set_line_width(s * 0.11)
            ctx.stroke()


# A gear.
def icon_gear(ctx, cx, cy, s, col):
    pts = []
    for i in range(32):
        a = i * 2 * math.pi / 32
        r = s * (0.95 if (i // 2) % 2 == 0 else 0.72)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    poly(ctx, pts, col, width=max(1, s * 0.09))
    ellipse(ctx, cx, cy, s * 0.3, s * 0.3, darker(col, 0.55), width=max(1, s * 0.08))


# A hand bell (the sound effects, told apart from the speaker of the music),
# struck through when muted.
def icon_bell(ctx, cx, cy, s, col, muted=False):
    w = max(1, s * 0.08)
    ellipse(ctx, cx, cy + s * 0.62, s * 0.16, s * 0.16, col, width=w)  # the clapper
    ctx.move_to(cx - s * 0.72, cy + s * 0.5)
    ctx.curve_to(cx - s * 0.5, cy + s * 0.3, cx - s * 0.55, cy - s * 0.1, cx - s * 0.45, cy - s * 0.35)
    ctx.curve_to(cx - s * 0.35, cy - s * 0.7, cx + s * 0.35, cy - s * 0.7, cx + s * 0.45, cy - s * 0.35)
    ctx.curve_to(cx + s * 0.55, cy - s * 0.1, cx + s * 0.5, cy + s * 0.3, cx + s * 0.72, cy + s * 0.5)
    ctx.close_path()
    fill_outline(ctx, col, w)
    thick_line(ctx, (cx, cy - s * 0.62), (cx, cy - s * 0.85), s * 0.14, col, outline=s * 0.06)
    thick_line(ctx, (cx - s * 0.66, cy + s * 0.47), (cx + s * 0.66, cy + s * 0.47), s * 0.08, darker(col, 0.3),
               outline=0)
    if muted:
        thick_line(ctx, (cx - s * 0.85, cy - s * 0.85), (cx + s * 0.85, cy + s * 0.85), s * 0.16, rgb("#e03030"),
                   outline=s * 0.06)


# An arrow pointing right or left.
def icon_arrow(ctx, cx, cy, s, col, right=True):
    d = 1 if right else -1
    poly(ctx, [(cx - d * s * 0.9, cy - s * 0.3), (cx + d * s * 0.1, cy - s * 0.3), (cx + d * s * 0.1, cy - s * 0.75),
               (cx + d * s * 0.95, cy), (cx + d * s * 0.1, cy + s * 0.75), (cx + d * s * 0.1, cy + s * 0.3),
               (cx - d * s * 0.9, cy + s * 0.3)], col, width=max(1.2, s * 0.1))


# A question mark.
def icon_question(ctx, cx, cy, s, col):
    text(ctx, "?", cx, cy, s * 2.0, col, INK, s * 0.12)


# A circular arrow.
def icon_restart(ctx, cx, cy, s, col):
    ctx.new_sub_path()
    ctx.arc(cx, cy, s * 0.6, -0.3, 4.6)
    set_color(ctx, INK)
    ctx.set_line_width(s * 0.32)
    ctx.stroke()
    ctx.new_sub_path()
    ctx.arc(cx, cy, s * 0.6, -0.3, 4.6)
    set_color(ctx, col)
    ctx.set_line_width(s * 0.2)
    ctx.stroke()
    ax, ay = cx + s * 0.6 * math.cos(-0.3), cy + s * 0.6 * math.sin(-0.3)
    poly(ctx, [(ax - s * 0.35, ay - s * 0.05), (ax + s * 0.35, ay - s * 0.05), (ax, ay + s * 0.4)], col,
         width=s * 0.08)


# A scroll.
def icon_scroll(ctx, cx, cy, s, col):
    rounded(ctx, cx - s * 0.6, cy - s * 0.7, s * 1.2, s * 1.4, s * 0.1, PARCH, width=s * 0.08, shaded=False)
    for k in range(4):
        yy = cy - s * 0.4 + k * s * 0.27
        thick_line(ctx, (cx - s * 0.35, yy), (cx + s * 0.35, yy), s * 0.07, rgb("#6b4a26"), outline=0)
    for yy in (cy - s * 0.75, cy + s * 0.75):
        rounded(ctx, cx - s * 0.75, yy - s * 0.12, s * 1.5, s * 0.24, s * 0.12, col, width=s * 0.07,
                shaded=False)


# An open door.
def icon_door(ctx, cx, cy, s, col):
    rounded(ctx, cx - s * 0.5, cy - s * 0.85, s * 1.0, s * 1.7, s * 0.45, darker(WOOD, 0.1), width=s * 0.09,
            shaded=False)
    poly(ctx, [(cx - s * 0.5, cy + s * 0.85), (cx - s * 0.5, cy - s * 0.4), (cx + s * 0.2, cy - s * 0.1),
               (cx + s * 0.2, cy + s * 1.0)], lighter(WOOD, 0.2), width=s * 0.08)
    ellipse(ctx, cx + s * 0.05, cy + s * 0.35, s * 0.08, s * 0.08, col, width=0)


# A house.
def icon_home(ctx, cx, cy, s, col):
    poly(ctx, [(cx - s * 0.95, cy - s * 0.05), (cx, cy - s * 0.9), (cx + s * 0.95, cy - s * 0.05)], col,
         width=s * 0.1)
    rounded(ctx, cx - s * 0.65, cy - s * 0.1, s * 1.3, s * 0.95, s * 0.06, col, width=s * 0.1, shaded=False)
    rounded(ctx, cx - s * 0.18, cy + s * 0.3, s * 0.36, s * 0.55, s * 0.05, darker(col, 0.6), width=s * 0.06,
            shaded=False)


# An arrow pointing back.
def icon_back(ctx, cx, cy, s, col):
    icon_arrow(ctx, cx, cy, s, col, right=False)
