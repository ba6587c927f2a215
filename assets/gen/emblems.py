# House emblems (crown, crossed hammers, star, crossed axes) and the heraldic
# pieces built from them: shields, banners, counter frames. Every emblem is
# left-right symmetric, so a mirrored drawing shows the same emblem.
# Depends on draw.py.
import math

from draw import (GOLD, GOLD_LIGHT, HOUSES, INK, WOOD, darker, ellipse, fill_outline, lighter, path_poly,
                  poly, rgb, set_color, thick_line)

SILVER = rgb("#d9dde6")
STEEL = rgb("#aeb6c2")


def crown(ctx, cx, cy, s, color=GOLD):
    """A crown about 2s wide centred at (cx, cy)."""
    pts = [(-1.0, 0.55), (-1.0, -0.35), (-0.55, 0.05), (0, -0.7), (0.55, 0.05), (1.0, -0.35), (1.0, 0.55)]
    poly(ctx, [(cx + x * s, cy + y * s) for x, y in pts], color, width=max(1.2, s * 0.09), shaded=True)
    for x, y in [(-1.0, -0.45), (0, -0.82), (1.0, -0.45)]:
        ellipse(ctx, cx + x * s, cy + y * s, s * 0.13, s * 0.13, lighter(color, 0.3), width=max(1, s * 0.06))
    ellipse(ctx, cx, cy + 0.25 * s, s * 0.14, s * 0.14, rgb("#c0202a"), width=max(1, s * 0.06))


# One hammer turned by angle.
def hammer(ctx, cx, cy, s, angle, head=STEEL, handle=WOOD):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    thick_line(ctx, (0, 0.9 * s), (0, -0.55 * s), 0.18 * s, handle, outline=max(0.8, s * 0.05))
    poly(ctx, [(-0.5 * s, -0.95 * s), (0.5 * s, -0.95 * s), (0.5 * s, -0.55 * s), (-0.5 * s, -0.55 * s)], head,
         width=max(1, s * 0.07), shaded=True)
    ctx.restore()


# The Workers emblem: two crossed hammers.
def hammers(ctx, cx, cy, s, color=None):
    hammer(ctx, cx, cy, s, -0.6)
    hammer(ctx, cx, cy, s, 0.6)


# The Wisemen emblem: a five-pointed star.
def star(ctx, cx, cy, s, color=SILVER):
    pts = []
    for i in range(10):
        r = s if i % 2 == 0 else s * 0.45
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    poly(ctx, pts, color, width=max(1.2, s * 0.08), shaded=True)


# One axe turned by angle, its head to the right.
def axe(ctx, cx, cy, s, angle):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    thick_line(ctx, (0, 0.95 * s), (0, -0.85 * s), 0.16 * s, rgb("#5a3a1e"), outline=max(0.8, s * 0.05))
    ctx.move_to(0.05 * s, -0.8 * s)
    ctx.curve_to(0.7 * s, -0.95 * s, 0.75 * s, -0.2 * s, 0.05 * s, -0.3 * s)
    ctx.close_path()
    fill_outline(ctx, STEEL, max(1, s * 0.07), INK, -0.9 * s, -0.3 * s)
    ctx.restore()


# The Warriors emblem: two crossed axes, heads outward.
def axes(ctx, cx, cy, s, color=None):
    # the two heads face outward, so the pair is symmetric
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(-1, 1)
    axe(ctx, 0, 0, s, 0.55)
    ctx.restore()
    ctx.save()
    ctx.translate(cx, cy)
    axe(ctx, 0, 0, s, 0.55)
    ctx.restore()


# The emblem of a house.
def emblem(ctx, house, cx, cy, s):
    kind = HOUSES[house]["emblem"]
    if kind == "crown":
        crown(ctx, cx, cy, s)
    elif kind == "hammers":
        hammers(ctx, cx, cy, s)
    elif kind == "star":
        star(ctx, cx, cy, s)
    else:
        axes(ctx, cx, cy, s)


# Adds a heater-shield outline to the path.
def shield_path(ctx, cx, cy, w, h):
    x0, x1, y0 = cx - w / 2, cx + w / 2, cy - h / 2
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y0)
    ctx.line_to(x1, cy)
    ctx.curve_to(x1, cy + h * 0.3, cx + w * 0.2, cy + h * 0.42, cx, cy + h / 2)
    ctx.curve_to(cx - w * 0.2, cy + h * 0.42, x0, cy + h * 0.3, x0, cy)
    ctx.close_path()


# A shield in the house colours with its emblem.
def house_shield(ctx, house, cx, cy, w, h, outline=2.5):
    p = HOUSES[house]
    shield_path(ctx, cx, cy, w, h)
    fill_outline(ctx, p["main"], outline, INK, cy - h / 2, cy + h / 2)
    shield_path(ctx, cx, cy, w * 0.84, h * 0.86)
    set_color(ctx, lighter(p["accent"], 0.1) if house != "Warriors" else rgb("#d8d0c0"))
    ctx.set_line_width(max(1.0, w * 0.025))
    ctx.stroke()
    emblem(ctx, house, cx, cy - h * 0.05, min(w, h) * 0.28)


def banner(ctx, house, cx, top, w, h, pole=True, wave=0.0):
    """A hanging banner in the house colours under a crossbar."""
    p = HOUSES[house] if house else None
    main = p["main"] if p else rgb("#e8e2d0")
    trim = p["accent"] if p else rgb("#9a8f78")
    if house == "Warriors":
        trim = rgb("#d8d0c0")
    if pole:
        thick_line(ctx, (cx, top - 12), (cx, top + h + 25), 5, rgb("#6b4424"))
        thick_line(ctx, (cx - w / 2 - 8, top), (cx + w / 2 + 8, top), 5, rgb("#6b4424"))
        ellipse(ctx, cx, top - 14, 6, 6, GOLD)
    x0, x1 = cx - w / 2, cx + w / 2
    pts = [(x0, top), (x1, top), (x1 + wave, top + h), (cx + wave, top + h * 0.82), (x0 + wave, top + h)]
    poly(ctx, pts, main, width=2.5, shaded=True)
    path_poly(ctx, [(x0 + 6, top + 4), (x1 - 6, top + 4), (x1 - 6 + wave * 0.9, top + h - 12),
                    (cx + wave * 0.9, top + h * 0.82 - 10), (x0 + 6 + wave * 0.9, top + h - 12)])
    set_color(ctx, trim)
    ctx.set_line_width(3)
    ctx.stroke()
    if house:
        emblem(ctx, house, cx + wave * 0.4, top + h * 0.42, w * 0.28)
    else:
        # the neutral banner: two crossed swords, nobody leads the up lane
        for a in (-0.6, 0.6):
            ctx.save()
            ctx.translate(cx + wave * 0.4, top + h * 0.42)
            ctx.rotate(a)
            thick_line(ctx, (0, w * 0.3), (0, -w * 0.3), 4, rgb("#c9ced6"))
            thick_line(ctx, (-w * 0.1, w * 0.18), (w * 0.1, w * 0.18), 4, GOLD)
            ctx.restore()


def counter_frame(ctx, house, cx, cy, r):
    """A round frame with the house emblem and a ribbon below for the count."""
    p = HOUSES[house]
    ellipse(ctx, cx, cy, r, r, GOLD, width=2.5, shaded=True)
    ellipse(ctx, cx, cy, r * 0.82, r * 0.82, p["main"], width=2, shaded=True)
    emblem(ctx, house, cx, cy, r * 0.45)


# A gold coin with a crown.
def coin(ctx, cx, cy, r):
    ellipse(ctx, cx, cy, r, r, GOLD, width=max(1.2, r * 0.1), shaded=True)
    ellipse(ctx, cx, cy, r * 0.72, r * 0.72, darker(GOLD, 0.08), width=max(0.8, r * 0.05))
    crown(ctx, cx, cy + r * 0.05, r * 0.42, GOLD_LIGHT)
