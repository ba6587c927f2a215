# Troops: knight (sword and shield), spearman (long spear), horseman (rider on
# a horse) in the four house colours and five tiers; an 8-frame walk cycle
# whose first frame is the standing pose (the game shows frame 0 when a troop
# stops), and the still pictures. Also the thief and the fight cloud.
# Every troop wears a large tabard (the horse a cloth) in its house colour with
# the house pattern and emblem, so the house reads at a glance; each tier adds
# shape (helmet, pauldrons, a larger shield, a cape, horse trappings) and a
# little size. Every picture keeps a margin of transparent pixels (checked as
# it is made; only the soft ground shadow reaches the bottom edge).
# Figures are drawn facing right and saved mirrored (see draw.py), so the file
# faces left like the enemy and player troops appear facing right.
# Depends on draw.py and emblems.py.
import math
import random

import numpy as np

from draw import (GOLD, HOUSES, INK, MIRROR, Canvas, darker, ellipse, fill_outline, lighter, path_poly,
                  poly, rgb, save, save_sheet, set_color, thick_line)
from emblems import emblem, shield_path

SKIN = rgb("#e9b98e")
LINEN = rgb("#d6cbb0")  # the plain undershirt of the cloth tier, lighter than any house
BRONZE = rgb("#c08a3e")  # the studs and bands of the leather tier
TIERS = [
    dict(name="cloth", armor=None, helm=None, crest=0),
    dict(name="leather", armor=rgb("#5e3b22"), helm=rgb("#5a3820"), crest=5),
    dict(name="iron", armor=rgb("#7d838c"), helm=rgb("#6d737c"), crest=7),
    dict(name="steel", armor=rgb("#c3ccd8"), helm=rgb("#b5bfcc"), crest=11),
    dict(name="gilded", armor=rgb("#ece6d6"), helm=rgb("#e8c55a"), crest=15),
]
TIER_SIZE = [0.9, 0.93, 0.96, 0.99, 1.03]  # each tier stands a little taller
MARGIN = 2  # transparent pixels kept on every side of a troop or thief picture
WALK_FRAMES = 8


# One step of a walk at phase 0..1: (swing of the near leg, its lift, swing
# of the far leg, its lift, body rise). Each leg lifts its foot only while
# swinging forward, so frame i and frame i + half a cycle differ (which leg is
# off the ground) and the body rises as the legs pass each other. Phase 0 is
# the standing pose the game shows when a troop stops: both feet down.
def _gait(phase, reach=0.45, lift=1.6):
    sw = math.sin(2 * math.pi * phase)
    cw = math.cos(2 * math.pi * phase)
    near_lift = lift * max(0.0, cw) if phase % 1 else 0.0
    return reach * sw, near_lift, -reach * sw, lift * max(0.0, -cw), -1.4 * cw * cw


# A leg swung by angle from the hip, with its boot.
def _leg(ctx, hip, angle, length, color, boot, lift=0.0):
    kx = hip[0] + math.sin(angle) * length * 0.5 + lift * 2
    ky = hip[1] + math.cos(angle) * length * 0.5 - lift * 2
    fx = kx + math.sin(angle * 0.6) * length * 0.5 - lift * 3
    fy = ky + math.cos(angle * 0.6) * length * 0.5 - lift * 2
    thick_line(ctx, hip, (kx, ky), 6, color, outline=1.2)
    thick_line(ctx, (kx, ky), (fx, fy), 5.5, color, outline=1.2)
    poly(ctx, [(fx - 3, fy - 3), (fx + 5, fy - 2), (fx + 6, fy + 1.5), (fx - 3, fy + 1.5)], boot, width=1.2)


# The plume colour of a house: its main colour, lit, so it reads on any helmet.
def _plume_color(house):
    return lighter(HOUSES[house]["main"], 0.15)


# Head with the hood or helmet and plume of a tier.
def _head(ctx, cx, cy, tier, house):
    t = TIERS[tier]
    p = HOUSES[house]
    if t["crest"]:
        # the plume sweeps back from the helmet top, taller each tier
        c = t["crest"]
        ctx.move_to(cx + 1, cy - 8)
        ctx.curve_to(cx - 1, cy - 8 - c, cx - 6 - c * 0.6, cy - 7 - c * 0.8, cx - 9 - c * 0.7, cy - 4 - c * 0.3)
        ctx.curve_to(cx - 5, cy - 5, cx - 3, cy - 6, cx + 3, cy - 7)
        ctx.close_path()
        fill_outline(ctx, _plume_color(house), 1.2)
    ellipse(ctx, cx, cy, 6.2, 6.8, SKIN, width=1.3)
    ellipse(ctx, cx + 3.2, cy - 0.8, 1.0, 1.1, INK, width=0)
    if t["helm"] is None:
        # cloth hood in the house colour
        ctx.move_to(cx - 7, cy + 3)
        ctx.curve_to(cx - 8, cy - 9, cx + 6, cy - 11, cx + 7, cy - 2)
        ctx.line_to(cx + 1, cy - 3)
        ctx.line_to(cx - 3, cy + 4)
        ctx.close_path()
        fill_outline(ctx, p["main"], 1.3)
        return
    h = t["helm"]
    if tier == 1:
        # boiled-leather cap over the ears, bronze bands and a cheek guard:
        # already more of a soldier than the hood of the first tier
        ctx.move_to(cx - 7.2, cy + 3)
        ctx.curve_to(cx - 8, cy - 11.5, cx + 8, cy - 11.5, cx + 7.4, cy - 1.5)
        ctx.line_to(cx + 2, cy - 2)
        ctx.line_to(cx - 1.5, cy + 4)
        ctx.close_path()
        fill_outline(ctx, h, 1.3, INK, cy - 10, cy + 4)
        thick_line(ctx, (cx - 7.6, cy - 2), (cx + 7.6, cy - 2.4), 1.5, BRONZE, outline=0.7)
        thick_line(ctx, (cx, cy - 9.6), (cx, cy - 2.4), 1.3, BRONZE, outline=0.6)
        for x in (-5, -2.5):
            ellipse(ctx, cx + x, cy + 0.8, 0.8, 0.8, BRONZE, width=0.4)
        return
    # iron: round helmet with a nose guard; steel: closed with a visor slit;
    # gilded: a great helm with a crown band
    ctx.move_to(cx - 7.4, cy + 5)
    ctx.curve_to(cx - 8.4, cy - 12, cx + 8.4, cy - 12, cx + 7.8, cy + (0 if tier == 2 else 5))
    if tier == 2:
        ctx.line_to(cx + 1.5, cy - 1)
        ctx.line_to(cx - 1, cy + 5)
    ctx.close_path()
    fill_outline(ctx, h, 1.4, INK, cy - 10, cy + 5)
    if tier == 2:
        thick_line(ctx, (cx + 4.5, cy - 4), (cx + 4.5, cy + 2), 1.4, h, outline=0.7)
        return
    thick_line(ctx, (cx + 0.5, cy - 1), (cx + 7.5, cy - 1), 1.6, INK, outline=0)
    thick_line(ctx, (cx + 4.5, cy + 1), (cx + 4.5, cy + 5), 0.9, INK, outline=0)
    if tier == 4:
        poly(ctx, [(cx - 6, cy - 6), (cx - 6, cy - 11), (cx - 3, cy - 8.5), (cx, cy - 12.5), (cx + 3, cy - 8.5),
                   (cx + 6, cy - 11), (cx + 6, cy - 6)], GOLD, width=1.0)


# Clips to the current path and fills it with the house's pattern. The ink, a
# lighter tint of the field, covers a quarter to a third of it, so the field
# colour is what the eye (and house_colours.py, which measures the drawn
# troops) takes for the house.
def _pattern(ctx, house, x0, y0, x1, y1):
    p = HOUSES[house]
    kind = p["pattern"]
    ink = lighter(p["main"], 0.3 + 0.3 * sum(p["main"][:3]) / 3)  # the lighter the field, the more
    ctx.save()
    ctx.clip()
    set_color(ctx, ink)
    if kind == "pales":  # upright stripes
        x = x0 + 2
        while x < x1:
            ctx.rectangle(x, y0, 1.6, y1 - y0)
            x += 5.5
        ctx.fill()
    elif kind == "chequy":  # a chequer of small squares
        size = 4.0
        for i in range(int((x1 - x0) / size) + 2):
            for j in range(int((y1 - y0) / size) + 2):
                if (i + j) % 2:
                    ctx.rectangle(x0 + i * size + 0.6, y0 + j * size + 0.6, size - 1.2, size - 1.2)
        ctx.fill()
    elif kind == "semy":  # strewn with little stars
        for j, y in enumerate(np.arange(y0 + 2, y1, 4.5)):
            for x in np.arange(x0 + 1.5 + (j % 2) * 2.5, x1, 5):
                ellipse(ctx, x, y, 0.9, 0.9, lighter(p["accent"], 0.1), width=0)
    else:  # bendy: diagonal bands
        ctx.set_line_width(1.6)
        for k in range(-9, 9):
            ctx.move_to(x0 + k * 7, y0)
            ctx.line_to(x0 + k * 7 + (y1 - y0), y1)
        ctx.stroke()
    ctx.restore()


# The tabard over the body: house colour, pattern, emblem and trim.
def _tabard(ctx, cx, top, w, h, house, em_x=None):
    p = HOUSES[house]
    pts = [(cx - w / 2, top), (cx + w / 2, top), (cx + w / 2 + 2, top + h), (cx - w / 2 - 2, top + h)]
    path_poly(ctx, pts)
    fill_outline(ctx, p["main"], 0)
    path_poly(ctx, pts)
    _pattern(ctx, house, cx - w / 2 - 2, top, cx + w / 2 + 2, top + h)
    path_poly(ctx, pts)
    set_color(ctx, INK)
    ctx.set_line_width(1.3)
    ctx.stroke()
    # the emblem on a plain roundel, so the pattern does not blur it
    ex = cx if em_x is None else em_x
    ellipse(ctx, ex, top + h * 0.38, 4.6, 4.6, p["main"], width=0.8)
    emblem(ctx, house, ex, top + h * 0.38, 3.6)


# Body armour of a tier under the tabard, and the tabard.
def _torso(ctx, cx, top, tier, house, w=16, h=24, em_x=None):
    t = TIERS[tier]
    under = t["armor"] if t["armor"] is not None else LINEN
    poly(ctx, [(cx - w / 2, top), (cx + w / 2, top), (cx + w / 2 + 1.5, top + h), (cx - w / 2 - 1.5, top + h)],
         under, width=1.4, shaded=True)
    _tabard(ctx, cx, top + 2, w - 2, h + 5, house, em_x)
    belt = rgb("#3a2818") if tier < 4 else GOLD
    thick_line(ctx, (cx - w / 2 + 0.5, top + h * 0.7), (cx + w / 2 - 0.5, top + h * 0.7), 1.8, belt, outline=0.6)


# Shoulder plates of a tier, growing with it.
def _pauldron(ctx, x, y, tier):
    if tier == 0:
        return
    a = TIERS[tier]["armor"]
    r = 2.6 + tier * 1.0
    ellipse(ctx, x, y, r * 1.15, r, a, width=1.2, shaded=True)
    if tier == 1:
        ellipse(ctx, x, y, 0.9, 0.9, BRONZE, width=0.4)
    if tier >= 3:
        ellipse(ctx, x, y + r * 0.7, r * 1.0, r * 0.6, darker(a, 0.1), width=1.0, shaded=True)
    if tier == 4:  # the gilded tier: gold edges on ivory plate
        thick_line(ctx, (x - r, y + r * 1.1), (x + r, y + r * 1.1), 1.2, GOLD, outline=0)


# A cape behind the body from the shoulders, for the two top tiers.
def _cape(ctx, sx, sy, length, tier, house, flap):
    if tier < 3:
        return
    col = HOUSES[house]["main"]
    ctx.move_to(sx + 4, sy)
    ctx.curve_to(sx - 6, sy + length * 0.3, sx - 12 - flap, sy + length * 0.7, sx - 10 - flap, sy + length)
    ctx.line_to(sx + 2, sy + length * 0.92)
    ctx.close_path()
    fill_outline(ctx, col, 1.3, INK, sy, sy + length)
    if tier == 4:
        thick_line(ctx, (sx - 10 - flap, sy + length), (sx + 2, sy + length * 0.92), 1.4, GOLD, outline=0)


# The shield of a tier: wood for the cloth tier, then larger with a rim of the armour.
def _shield(ctx, cx, cy, tier, house):
    p = HOUSES[house]
    s = 1.0 + 0.09 * tier
    w, h = 14 * s, 18 * s
    shield_path(ctx, cx, cy, w, h)
    if tier == 0:
        fill_outline(ctx, rgb("#9a6a3a"), 1.4, INK, cy - h / 2, cy + h / 2)
        ellipse(ctx, cx, cy - 1, 3.2, 3.2, p["main"], width=1.0)
        return
    fill_outline(ctx, p["main"], 1.5, INK, cy - h / 2, cy + h / 2)
    rim = TIERS[tier]["armor"] if tier < 4 else GOLD
    shield_path(ctx, cx, cy, w * 0.82, h * 0.84)
    set_color(ctx, rim)
    ctx.set_line_width(0.9 + 0.35 * tier)
    ctx.stroke()
    emblem(ctx, house, cx, cy - 1, w * 0.27)


# An arm from shoulder to hand.
def _arm(ctx, shoulder, hand, color):
    thick_line(ctx, shoulder, hand, 4.5, color, outline=1.1)
    ellipse(ctx, hand[0], hand[1], 2.3, 2.3, SKIN, width=1)


# Sleeve colour: the armour of the tier, or the house cloth.
def _sleeve(tier, house):
    a = TIERS[tier]["armor"]
    return a if a is not None else HOUSES[house]["main"]


# Leg colour: the armour of the tier, or dark hose.
def _hose(tier):
    a = TIERS[tier]["armor"]
    return darker(a, 0.15) if a is not None else rgb("#4a3a2c")


# A knight at walk phase 0..1, facing right.
def knight(ctx, tier, house, phase, ox=0.0, oy=0.0):
    sw = math.sin(2 * math.pi * phase)
    cw = math.cos(2 * math.pi * phase)
    near, near_lift, far, far_lift, bob = _gait(phase)
    cx, hipy = 42 + ox, 58 + bob + oy
    legc = _hose(tier)
    boot = rgb("#3b2a1c") if tier < 2 else TIERS[tier]["armor"]
    _cape(ctx, cx - 4, hipy - 24, 34, tier, house, 2 * math.sin(2 * math.pi * (phase - 0.125)))
    _leg(ctx, (cx - 2, hipy), far, 27, darker(legc, 0.25), boot, far_lift)
    # sword arm behind the body, blade up and forward, swinging against the legs
    sh_back = (cx - 4, hipy - 20)
    hand_b = (cx + 3 - 2.5 * sw, hipy - 12 - 1.2 * cw)
    blade = rgb("#dfe5ee") if tier > 0 else rgb("#b9bec6")
    thick_line(ctx, hand_b, (hand_b[0] + 10, hand_b[1] - 22 - tier), 3.2 + 0.2 * tier, blade, outline=1.1)
    thick_line(ctx, (hand_b[0] - 3, hand_b[1] + 1.5), (hand_b[0] + 4, hand_b[1] - 2), 2.4, GOLD, outline=0.9)
    _arm(ctx, sh_back, hand_b, _sleeve(tier, house))
    _leg(ctx, (cx + 2, hipy), near, 27, legc, boot, near_lift)
    _torso(ctx, cx, hipy - 24, tier, house, em_x=cx - 2.5)
    _pauldron(ctx, cx - 5, hipy - 22, tier)
    _head(ctx, cx + 1, hipy - 32, tier, house)
    # shield on the front arm, swinging with the sword arm's opposite
    _shield(ctx, cx + 11 + 1.2 * sw, hipy - 11 + 0.8 * cw, tier, house)


# A spearman at walk phase 0..1, facing right.
def spearman(ctx, tier, house, phase, ox=0.0, oy=0.0):
    sw = math.sin(2 * math.pi * phase)
    cw = math.cos(2 * math.pi * phase)
    near, near_lift, far, far_lift, bob = _gait(phase)
    cx, hipy = 38 + ox, 58 + bob + oy
    legc = _hose(tier)
    boot = rgb("#3b2a1c") if tier < 2 else TIERS[tier]["armor"]
    _cape(ctx, cx - 4, hipy - 24, 34, tier, house, 2 * math.sin(2 * math.pi * (phase - 0.125)))
    _leg(ctx, (cx - 2, hipy), far, 27, darker(legc, 0.25), boot, far_lift)
    _leg(ctx, (cx + 2, hipy), near, 27, legc, boot, near_lift)
    _torso(ctx, cx, hipy - 24, tier, house, w=15)
    _pauldron(ctx, cx - 4, hipy - 22, tier)
    _head(ctx, cx + 1, hipy - 32, tier, house)
    # the long spear, held forward and up, longer than the man is tall
    # the spear dips and rises with the step: the point leads, the butt follows
    base = (cx - 16 - sw, hipy + 8 + 1.2 * cw)
    tip = (cx + 32 + sw, hipy - 39 - 1.2 * cw)
    shaft = rgb("#8a6238") if tier < 4 else rgb("#a8793c")
    thick_line(ctx, base, tip, 2.6, shaft, outline=1.0)
    d = (tip[0] - base[0], tip[1] - base[1])
    ln = math.hypot(*d)
    ux, uy = d[0] / ln, d[1] / ln
    px, py = -uy, ux
    head = rgb("#dfe5ee") if tier > 0 else rgb("#aab0b8")
    hl = 8 + tier
    poly(ctx, [(tip[0] + ux * hl, tip[1] + uy * hl), (tip[0] + px * 3.4, tip[1] + py * 3.4),
               (tip[0] - ux * 2, tip[1] - uy * 2), (tip[0] - px * 3.4, tip[1] - py * 3.4)], head, width=1.1)
    if tier >= 1:
        # a pennon in the house colour under the head, longer each tier
        fx, fy = tip[0] - ux * 5, tip[1] - uy * 5
        ln = 7 + tier * 2
        poly(ctx, [(fx, fy), (fx - ux * ln * 0.8 + px * (4 + tier), fy - uy * ln * 0.8 + py * (4 + tier)),
                   (fx - ux * ln, fy - uy * ln)], HOUSES[house]["main"], width=1.0)
    # both hands on the shaft
    for t in (0.3, 0.5):
        hx, hy = base[0] + d[0] * t, base[1] + d[1] * t
        _arm(ctx, (cx + (-3 if t < 0.4 else 3), hipy - 20), (hx, hy), _sleeve(tier, house))


# The horse of a tier: bay, chestnut, dun, grey, white (the best stays bright at night).
HORSE_COATS = [rgb("#8b5a2b"), rgb("#a0522d"), rgb("#b59a6a"), rgb("#a9a9a4"), rgb("#eeeae0")]


# The horse cloth: a saddle cloth that grows into a full caparison by tier.
def _horse_cloth(ctx, bx, by, tier, house):
    p = HOUSES[house]
    # the hem stays above the knees at every tier, so the legs show the walk
    drop = [7, 9, 11, 12, 13][tier]
    x0, x1 = bx - 24 - tier, bx + 12 + tier * 1.5
    pts = [(x0 + 2, by - 10), (x1, by - 10), (x1 + 1, by + drop)]
    # a scalloped hem from the top tier down
    n = 5
    for k in range(n + 1):
        x = x1 + 1 - (x1 - x0 + 1) * k / n
        pts.append((x, by + drop - (2.5 if (k % 2 and tier >= 2) else 0)))
    path_poly(ctx, pts)
    fill_outline(ctx, p["main"], 0)
    path_poly(ctx, pts)
    _pattern(ctx, house, x0, by - 10, x1 + 1, by + drop)
    path_poly(ctx, pts)
    set_color(ctx, INK)
    ctx.set_line_width(1.3)
    ctx.stroke()
    if tier >= 1:
        trim = TIERS[tier]["armor"] if tier >= 2 else rgb("#e8dcc0")
        thick_line(ctx, (x1 + 1, by + drop - 1), (x0, by + drop - 1), 1.2 + 0.2 * tier, trim, outline=0)
    cx, cy = (x0 + x1) / 2 - 2, by + drop * 0.35
    ellipse(ctx, cx, cy, 6.2, 6.2, p["main"], width=0.9)
    emblem(ctx, house, cx, cy, 4.8)


# A horseman at walk phase 0..1, facing right.
def horseman(ctx, tier, house, phase, ox=0.0, oy=0.0):
    sw = math.sin(2 * math.pi * phase)
    # a four-beat walk: near hind, near fore, far hind, far fore a quarter of
    # a cycle apart; the head nods twice a cycle
    bob = -1.5 * abs(sw)
    nod = 1.5 * math.sin(4 * math.pi * phase)
    coat = HORSE_COATS[tier]
    bx, by = 44 + ox, 56 + bob + oy
    legc = darker(coat, 0.1)
    # far legs
    for x0, lag in ((bx - 20, 0.5), (bx + 16, 0.75)):
        _horse_leg(ctx, (x0, by + 4), phase + lag, darker(legc, 0.25), phase % 1 != 0)
    # tail
    ctx.move_to(bx - 27, by - 5)
    ctx.curve_to(bx - 37, by - 2 + sw, bx - 37, by + 14, bx - 32, by + 20)
    ctx.curve_to(bx - 30, by + 10, bx - 28, by + 3, bx - 25, by)
    ctx.close_path()
    fill_outline(ctx, darker(coat, 0.45), 1.2)
    # body
    ellipse(ctx, bx, by, 28, 12, coat, width=1.6, shaded=True)
    # neck and head
    hy = by + nod  # the head's own rise and fall
    poly(ctx, [(bx + 16, by - 8), (bx + 26, hy - 28), (bx + 33, hy - 26), (bx + 27, by - 2)], coat, width=1.5)
    poly(ctx, [(bx + 25, hy - 31), (bx + 39, hy - 22), (bx + 37, hy - 16), (bx + 26, hy - 21)], coat, width=1.5)
    ellipse(ctx, bx + 30, hy - 25, 1.1, 1.1, INK, width=0)
    poly(ctx, [(bx + 25, hy - 31), (bx + 27, hy - 36), (bx + 29, hy - 30)], coat, width=1.2)
    if tier >= 3:  # chanfron, with a plume on the gilded one
        poly(ctx, [(bx + 26, hy - 31), (bx + 38, hy - 23), (bx + 36, hy - 19), (bx + 26, hy - 25)],
             TIERS[tier]["armor"], width=1.0)
        if tier == 4:
            ellipse(ctx, bx + 26, hy - 35, 2.2, 3.4, _plume_color(house), width=1.0)
    # mane
    ctx.move_to(bx + 25, hy - 30)
    ctx.curve_to(bx + 20, by - 24, bx + 16, by - 14, bx + 14, by - 8)
    ctx.line_to(bx + 18, by - 9)
    ctx.close_path()
    fill_outline(ctx, darker(coat, 0.5), 1.0)
    if tier >= 2:  # crinet: the neck plate
        thick_line(ctx, (bx + 18, by - 10), (bx + 26, hy - 27), 3.0, TIERS[tier]["armor"], outline=0.9)
    # near legs
    for x0, lag in ((bx - 16, 0.0), (bx + 20, 0.25)):
        _horse_leg(ctx, (x0, by + 5), phase + lag, coat, phase % 1 != 0)
    _horse_cloth(ctx, bx, by, tier, house)
    # rider
    rx, ry = bx - 2, by - 12
    _cape(ctx, rx - 3, ry - 20, 24, tier, house, 3 + sw)
    thick_line(ctx, (rx, ry), (rx + 5, ry + 13), 5, _hose(tier), outline=1.1)
    _torso(ctx, rx, ry - 20, tier, house, w=13, h=20)
    _pauldron(ctx, rx - 3, ry - 18, tier)
    _head(ctx, rx + 1, ry - 27, tier, house)
    # a sword raised, and reins
    hand = (rx + 9, ry - 9)
    thick_line(ctx, (rx + 3, ry - 16), hand, 4, _sleeve(tier, house), outline=1.0)
    thick_line(ctx, hand, (bx + 26, hy - 20), 0.8, INK, outline=0)
    ellipse(ctx, hand[0], hand[1], 2.1, 2.1, SKIN, width=0.9)
    blade = rgb("#dfe5ee") if tier else rgb("#b9bec6")
    thick_line(ctx, (rx - 5, ry - 11), (rx - 13, ry - 30 - tier), 2.6, blade, outline=1.0)
    thick_line(ctx, (rx - 8, ry - 10), (rx - 2, ry - 13), 2.0, GOLD, outline=0.8)


# A horse leg at its own step phase: swung from the body, the hoof lifted and
# the knee bent while it swings forward (never in the standing frame 0).
def _horse_leg(ctx, top, phase, color, walking):
    angle = 0.42 * math.sin(2 * math.pi * phase)
    lift = max(0.0, math.cos(2 * math.pi * phase)) if walking else 0.0
    kx = top[0] + math.sin(angle) * 11 + lift * 1.5
    ky = top[1] + math.cos(angle) * 11 - lift * 1.5
    fx = kx + math.sin(angle * 0.3 - 0.9 * lift) * 13
    fy = ky + math.cos(angle * 0.3 - 0.9 * lift) * 13
    thick_line(ctx, top, (kx, ky), 5.5, color, outline=1.1)
    thick_line(ctx, (kx, ky), (fx, fy), 4.2, color, outline=1.1)
    poly(ctx, [(fx - 2.5, fy - 1), (fx + 3, fy - 1), (fx + 3.5, fy + 2.5), (fx - 3, fy + 2.5)], rgb("#2a2018"),
         width=1.0)


DRAWERS = {"Knight": knight, "Spearman": spearman, "Horseman": horseman}
FOLDERS = {"Knight": "Knights", "Spearman": "Spearmen", "Horseman": "Horsemen"}
TAGS = {"Noblemen": "Nobel", "Workers": "Worker", "Wisemen": "Wisemen", "Warriors": "Warrior"}


# One troop frame in a size by size picture, scaled by its tier about the feet.
def troop_frame(kind, tier, house, phase, size=90):
    c = Canvas(size, size)
    c.ctx.scale(size / 90, size / 90)
    # soft ground shadow
    ellipse(c.ctx, 45, 87.6, 26 if kind == "Horseman" else 15, 2.2, (0, 0, 0, 0.25), width=0)
    k = TIER_SIZE[tier] * (0.9 if kind == "Horseman" else 1.0)
    # the feet (y 89 as drawn) stand just above the bottom margin at every size
    c.ctx.translate(45, 88.2)
    c.ctx.scale(k, k)
    c.ctx.translate(-45, -89)
    DRAWERS[kind](c.ctx, tier, house, phase)
    return check_margin(c, "%s tier %d of %s" % (kind, tier + 1, house))


# Stops the build when a picture reaches within MARGIN pixels of an edge (the
# bottom rows may hold the faint ground shadow only).
def check_margin(canvas, name):
    a = np.asarray(canvas.image())[:, :, 3]
    edges = [a[:MARGIN].max(), a[:, :MARGIN].max(), a[:, -MARGIN:].max()]
    if max(edges) > 0 or a[-MARGIN:].max() > 100:
        raise SystemExit("assets: %s reaches the edge of its picture (top, left, right %s, bottom %d)"
                         % (name, edges, a[-MARGIN:].max()))
    return canvas


# Every troop sheet, animation file and still picture.
def troop_sheets(root):
    for house in HOUSES:
        for kind in DRAWERS:
            for tier in range(5):
                frames = [troop_frame(kind, tier, house, i / WALK_FRAMES) for i in range(WALK_FRAMES)]
                suffix = "" if tier == 0 else str(tier)
                anim = "data\\Animation\\%s\\%s\\%s%s" % (house, FOLDERS[kind], kind, suffix)
                pace = 0.085 if kind == "Horseman" else 0.11
                save_sheet(root, anim, frames, 4, [pace] * WALK_FRAMES, MIRROR)
                save(root, "data\\%s_%s_%d.png" % (kind, TAGS[house], tier + 1), frames[0], MIRROR)
                if house == "Wisemen" and tier in (2, 4):
                    save(root, "data\\%s_Wiseman_%d.png" % (kind, tier + 1), frames[0], MIRROR)


# ---------------------------------------------------------------------------
# Thief and fight cloud
# ---------------------------------------------------------------------------


# One frame of the thief.
def thief_frame(phase):
    c = Canvas(35, 75)
    c.ctx.scale(35 / 40, 75 / 80)
    ellipse(c.ctx, 20, 78.4, 12, 1.4, (0, 0, 0, 0.22), width=0)
    thief_draw(c.ctx, phase)
    return check_margin(c, "the thief at phase %g" % phase)


def thief_draw(ctx, phase):
    """The sneaking thief in a 40 by 80 box, feet above its bottom edge."""
    sw = math.sin(2 * math.pi * phase)
    cw = math.cos(2 * math.pi * phase)
    bob = -1.2 * abs(sw)
    cx, hip = 21, 50 + bob
    cloak = rgb("#4a5470")
    # sneaking on tiptoe: the leg swinging forward is lifted (so the two halves
    # of the stride differ); the near leg is lit grey-blue, the far one nearly
    # black, so a player sees which leg leads; the sack swings on its strap
    _leg(ctx, (cx - 1, hip), -0.55 * sw, 23, rgb("#17181d"), rgb("#0c0d10"), lift=1.4 * max(0.0, -cw))
    _leg(ctx, (cx + 1, hip), 0.55 * sw, 23, rgb("#7a86a4"), rgb("#3a2a1c"), lift=1.4 * max(0.0, cw))
    poly(ctx, [(cx - 7, hip - 20), (cx + 6, hip - 22), (cx + 7, hip + 2), (cx - 8, hip + 2)], cloak, width=1.3,
         shaded=True)
    # sack of loot hanging from the shoulder, swinging behind the stride
    swing = 0.35 * math.sin(2 * math.pi * phase - 1.2)
    px, py = cx - 3, hip - 22
    sx, sy = px - 4 + 8 * math.sin(swing), py + 8 * math.cos(swing)
    thick_line(ctx, (px, py), (sx + 1, sy - 6), 1.5, rgb("#7a5a2e"), outline=0.6)
    ctx.save()
    ctx.translate(sx, sy)
    ctx.rotate(-swing)
    ellipse(ctx, 0, 0, 7, 8, rgb("#b08a52"), width=1.3, shaded=True)
    thick_line(ctx, (0, -8), (2, -11), 1.5, rgb("#7a5a2e"), outline=0.6)
    ctx.restore()
    # hooded head leaning forward, with a mask
    hx, hy = cx + 6, hip - 27
    ellipse(ctx, hx, hy, 5.5, 6, SKIN, width=1.2)
    thick_line(ctx, (hx - 1, hy - 1), (hx + 5.5, hy - 1), 2.6, INK, outline=0)
    ellipse(ctx, hx + 3.4, hy - 1, 0.9, 0.9, (1, 1, 1, 1), width=0)
    ctx.move_to(hx - 7, hy + 3)
    ctx.curve_to(hx - 8, hy - 9, hx + 5, hy - 11, hx + 6, hy - 4)
    ctx.line_to(hx + 1, hy - 4)
    ctx.close_path()
    fill_outline(ctx, darker(cloak, 0.2), 1.2)
    # arm reaching forward
    _arm(ctx, (cx + 3, hip - 18), (cx + 10 + cw * 2.5, hip - 10 - sw), cloak)


# Frame i of n of the fight cloud.
def dust_frame(i, n):
    c = Canvas(200, 200)
    ctx = c.ctx
    rnd = random.Random(77 + i)
    t = i / n
    # a churning brown-grey cloud with stars of steel and flying dust
    for k in range(14):
        a = 2 * math.pi * (k / 14 + t * 0.5)
        r = 38 + 10 * math.sin(3 * a + t * 6.28)
        x, y = 100 + r * math.cos(a), 108 + 0.7 * r * math.sin(a)
        rr = 26 + 8 * math.sin(k * 1.7 + t * 6.28)
        ellipse(ctx, x, y, rr, rr * 0.9, rgb("#b9a88a", 0.95), width=2.2, shaded=True)
    for k in range(8):
        a = 2 * math.pi * (k / 8 - t * 0.7)
        x, y = 100 + 24 * math.cos(a), 108 + 18 * math.sin(a)
        ellipse(ctx, x, y, 20, 17, rgb("#d3c4a6", 0.95), width=0, shaded=True)
    for k in range(4):
        a = 2 * math.pi * (k / 4 + t)
        x, y = 100 + 44 * math.cos(a), 95 + 30 * math.sin(a)
        star_pts = []
        for j in range(8):
            rr = 9 if j % 2 == 0 else 3.5
            aa = j * math.pi / 4 + t * 3
            star_pts.append((x + rr * math.cos(aa), y + rr * math.sin(aa)))
        poly(ctx, star_pts, rgb("#fff6c8"), width=1.4)
    for k in range(10):
        x = rnd.uniform(40, 160)
        y = rnd.uniform(50, 170)
        ellipse(ctx, x, y, 2.5, 2.5, rgb("#8a7a60", 0.8), width=0)
    return c


# The thief and fight cloud sheets and stills.
def thief_and_dust(root):
    frames = [thief_frame(i / 6) for i in range(6)]
    save_sheet(root, "data\\Animation\\ThiefAnimation", frames, 6, [0.12] * 6, MIRROR)
    save(root, "data\\Thief.png", frames[0], MIRROR)
    dust = [dust_frame(i, 6) for i in range(6)]
    save_sheet(root, "data\\Animation\\DustAnim", dust, 3, [0.07] * 6, MIRROR)
    save(root, "data\\FightCloud.png", dust[0], MIRROR)


# Writes every troop, the thief and the fight cloud.
def generate(root):
    troop_sheets(root)
    thief_and_dust(root)
