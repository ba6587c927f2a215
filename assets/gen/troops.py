# Troops: knight (sword and shield), spearman (long spear), horseman (rider on
# a horse) in the four house colours and five tiers (cloth, leather, iron,
# steel, gilded plate, with a crest growing by tier); an 8-frame walk cycle
# whose first frame is the standing pose (the game shows frame 0 when a troop
# stops), and the still pictures. Also the thief and the fight cloud.
# Figures are drawn facing right and saved mirrored (see draw.py), so the file
# faces left like the enemy and player troops appear facing right.
# Depends on draw.py and emblems.py.
import math
import random

from draw import (GOLD, HOUSES, INK, MIRROR, Canvas, darker, ellipse, fill_outline, poly,
                  rgb, save, save_sheet, set_color, thick_line)
from emblems import emblem, shield_path

SKIN = rgb("#e9b98e")
TIERS = [
    dict(name="cloth", armor=None, helm=None, crest=0),
    dict(name="leather", armor=rgb("#8a5a34"), helm=rgb("#7a4d2c"), crest=5),
    dict(name="iron", armor=rgb("#6e737b"), helm=rgb("#5d626a"), crest=8),
    dict(name="steel", armor=rgb("#c3ccd8"), helm=rgb("#b5bfcc"), crest=11),
    dict(name="gilded", armor=rgb("#e3bd4e"), helm=rgb("#e8c55a"), crest=15),
]
WALK_FRAMES = 8


# A leg swung by angle from the hip, with its boot.
def _leg(ctx, hip, angle, length, color, boot):
    kx = hip[0] + math.sin(angle) * length * 0.5
    ky = hip[1] + math.cos(angle) * length * 0.5
    fx = kx + math.sin(angle * 0.6) * length * 0.5
    fy = ky + math.cos(angle * 0.6) * length * 0.5
    thick_line(ctx, hip, (kx, ky), 6, color, outline=1.2)
    thick_line(ctx, (kx, ky), (fx, fy), 5.5, color, outline=1.2)
    poly(ctx, [(fx - 3, fy - 3), (fx + 5, fy - 2), (fx + 6, fy + 1.5), (fx - 3, fy + 1.5)], boot, width=1.2)


# Head with the hood or helmet and crest of a tier.
def _head(ctx, cx, cy, tier, house):
    t = TIERS[tier]
    p = HOUSES[house]
    ellipse(ctx, cx, cy, 6.2, 6.8, SKIN, width=1.3)
    ellipse(ctx, cx + 3.2, cy - 0.8, 1.0, 1.1, INK, width=0)
    if t["helm"] is None:
        # cloth hood in the house's dark colour
        ctx.move_to(cx - 7, cy + 1)
        ctx.curve_to(cx - 8, cy - 9, cx + 6, cy - 11, cx + 7, cy - 2)
        ctx.line_to(cx + 1, cy - 3)
        ctx.close_path()
        fill_outline(ctx, p["dark"], 1.3)
        return
    h = t["helm"]
    if tier == 1:
        ctx.move_to(cx - 7, cy + 0.5)
        ctx.curve_to(cx - 7, cy - 10, cx + 7, cy - 10, cx + 7, cy - 1)
        ctx.close_path()
        fill_outline(ctx, h, 1.3, INK, cy - 10, cy)
    else:
        # full helmet with a slit; iron is round, steel and gilded have a visor
        ctx.move_to(cx - 7.2, cy + 5)
        ctx.curve_to(cx - 8, cy - 11, cx + 8, cy - 11, cx + 7.5, cy + 5)
        ctx.close_path()
        fill_outline(ctx, h, 1.4, INK, cy - 10, cy + 5)
        thick_line(ctx, (cx + 0.5, cy - 1), (cx + 7, cy - 1), 1.6, INK, outline=0)
        if tier >= 3:
            thick_line(ctx, (cx + 4, cy + 1), (cx + 4, cy + 5), 0.9, INK, outline=0)
    if t["crest"]:
        c = t["crest"]
        col = p["accent"] if house != "Warriors" else rgb("#d02020")
        ctx.move_to(cx - 2, cy - 8)
        ctx.curve_to(cx - 4, cy - 8 - c, cx - 6 - c * 0.6, cy - 6 - c * 0.8, cx - 8 - c * 0.7, cy - 4 - c * 0.3)
        ctx.curve_to(cx - 4, cy - 6, cx - 2, cy - 6, cx + 2, cy - 8)
        ctx.close_path()
        fill_outline(ctx, col, 1.2)


# Body in the house colour with the armour of a tier.
def _torso(ctx, cx, top, tier, house, w=16, h=24):
    t = TIERS[tier]
    p = HOUSES[house]
    body = [(cx - w / 2, top), (cx + w / 2, top), (cx + w / 2 + 1.5, top + h), (cx - w / 2 - 1.5, top + h)]
    poly(ctx, body, p["main"], width=1.4, shaded=True)
    if t["armor"] is not None:
        a = t["armor"]
        poly(ctx, [(cx - w / 2 + 1, top + 1), (cx + w / 2 - 1, top + 1), (cx + w / 2 - 1.5, top + h * 0.62),
                   (cx - w / 2 + 1.5, top + h * 0.62)], a, width=1.2, shaded=True)
        if tier >= 2:
            for k in range(1, 3):
                yy = top + h * 0.2 * k
                thick_line(ctx, (cx - w / 2 + 2, yy), (cx + w / 2 - 2, yy), 0.6, darker(a, 0.3), outline=0)
        if tier == 4:
            thick_line(ctx, (cx, top + 2), (cx, top + h * 0.58), 1.2, rgb("#fff2b0"), outline=0)
    # belt in the house accent
    belt = p["accent"] if house != "Warriors" else rgb("#3a3a3a")
    poly(ctx, [(cx - w / 2 - 1, top + h * 0.64), (cx + w / 2 + 1, top + h * 0.64), (cx + w / 2 + 1.2, top + h * 0.74),
               (cx - w / 2 - 1.2, top + h * 0.74)], belt, width=1.0)


# The shield of a tier.
def _shield(ctx, cx, cy, tier, house, s=1.0):
    p = HOUSES[house]
    w, h = 15 * s, 19 * s
    shield_path(ctx, cx, cy, w, h)
    if tier == 0:
        fill_outline(ctx, rgb("#9a6a3a"), 1.4, INK, cy - h / 2, cy + h / 2)
        shield_path(ctx, cx, cy, w * 0.6, h * 0.6)
        fill_outline(ctx, p["main"], 1.0)
    else:
        fill_outline(ctx, p["main"], 1.5, INK, cy - h / 2, cy + h / 2)
        rim = TIERS[tier]["armor"]
        shield_path(ctx, cx, cy, w * 0.8, h * 0.82)
        set_color(ctx, rim)
        ctx.set_line_width(1.3)
        ctx.stroke()
        emblem(ctx, house, cx, cy - 1, w * 0.26)


# An arm from shoulder to hand.
def _arm(ctx, shoulder, hand, color):
    thick_line(ctx, shoulder, hand, 4.5, color, outline=1.1)
    ellipse(ctx, hand[0], hand[1], 2.3, 2.3, SKIN, width=1)


# Sleeve colour: the armour of the tier, or the house cloth.
def _sleeve(tier, house):
    a = TIERS[tier]["armor"]
    return a if a is not None else HOUSES[house]["main"]


# A knight at walk phase 0..1, facing right.
def knight(ctx, tier, house, phase, ox=0.0, oy=0.0):
    sw = math.sin(2 * math.pi * phase)
    bob = -1.6 * abs(sw)
    cx, hipy = 44 + ox, 58 + bob + oy
    legc = darker(_sleeve(tier, house), 0.15)
    boot = rgb("#3b2a1c") if tier < 2 else TIERS[tier]["armor"]
    _leg(ctx, (cx - 2, hipy), -0.45 * sw, 27, legc, boot)
    # sword arm behind the body, blade up and forward
    sh_back = (cx - 4, hipy - 20)
    hand_b = (cx + 3 + 2 * sw, hipy - 12)
    blade = rgb("#dfe5ee") if tier > 0 else rgb("#b9bec6")
    thick_line(ctx, hand_b, (hand_b[0] + 10, hand_b[1] - 24 - tier), 3.2, blade, outline=1.1)
    thick_line(ctx, (hand_b[0] - 3, hand_b[1] + 1.5), (hand_b[0] + 4, hand_b[1] - 2), 2.4, GOLD, outline=0.9)
    _arm(ctx, sh_back, hand_b, _sleeve(tier, house))
    _leg(ctx, (cx + 2, hipy), 0.45 * sw, 27, legc, boot)
    _torso(ctx, cx, hipy - 24, tier, house)
    _head(ctx, cx + 1, hipy - 32, tier, house)
    # shield on the front arm
    _shield(ctx, cx + 9, hipy - 12, tier, house, 1.0 + tier * 0.04)


# A spearman at walk phase 0..1, facing right.
def spearman(ctx, tier, house, phase, ox=0.0, oy=0.0):
    sw = math.sin(2 * math.pi * phase)
    bob = -1.6 * abs(sw)
    cx, hipy = 40 + ox, 58 + bob + oy
    legc = darker(_sleeve(tier, house), 0.15)
    boot = rgb("#3b2a1c") if tier < 2 else TIERS[tier]["armor"]
    _leg(ctx, (cx - 2, hipy), -0.45 * sw, 27, legc, boot)
    _leg(ctx, (cx + 2, hipy), 0.45 * sw, 27, legc, boot)
    _torso(ctx, cx, hipy - 24, tier, house, w=14)
    _head(ctx, cx + 1, hipy - 32, tier, house)
    # the long spear, held forward and up, longer than the man is tall
    base = (cx - 16, hipy + 8 + sw)
    tip = (cx + 36, hipy - 44 + sw)
    shaft = rgb("#8a6238") if tier < 4 else rgb("#a8793c")
    thick_line(ctx, base, tip, 2.6, shaft, outline=1.0)
    d = (tip[0] - base[0], tip[1] - base[1])
    ln = math.hypot(*d)
    ux, uy = d[0] / ln, d[1] / ln
    px, py = -uy, ux
    head = rgb("#dfe5ee") if tier > 0 else rgb("#aab0b8")
    hl = 9 + tier
    poly(ctx, [(tip[0] + ux * hl, tip[1] + uy * hl), (tip[0] + px * 3.6, tip[1] + py * 3.6),
               (tip[0] - ux * 2, tip[1] - uy * 2), (tip[0] - px * 3.6, tip[1] - py * 3.6)], head, width=1.1)
    if tier >= 2:
        pen = HOUSES[house]["accent"] if house != "Warriors" else rgb("#d02020")
        fx, fy = tip[0] - ux * 6, tip[1] - uy * 6
        poly(ctx, [(fx, fy), (fx - ux * 9 + px * 6, fy - uy * 9 + py * 6), (fx - ux * 11, fy - uy * 11)], pen,
             width=1.0)
    # both hands on the shaft
    for t in (0.3, 0.5):
        hx, hy = base[0] + d[0] * t, base[1] + d[1] * t
        _arm(ctx, (cx + (-3 if t < 0.4 else 3), hipy - 20), (hx, hy), _sleeve(tier, house))


# A horseman at walk phase 0..1, facing right.
def horseman(ctx, tier, house, phase, ox=0.0, oy=0.0):
    p = HOUSES[house]
    sw = math.sin(2 * math.pi * phase)
    cw = math.cos(2 * math.pi * phase)
    bob = -1.5 * abs(sw)
    coat = [rgb("#8b5a2b"), rgb("#6e4b2a"), rgb("#5b5b5b"), rgb("#e6e1d6"), rgb("#2b2320")][tier]
    bx, by = 44 + ox, 56 + bob + oy
    legc = darker(coat, 0.1)
    # far legs
    for x0, a in ((bx - 20, -0.4 * sw), (bx + 16, 0.4 * cw)):
        _horse_leg(ctx, (x0, by + 4), a, legc)
    # tail
    ctx.move_to(bx - 27, by - 5)
    ctx.curve_to(bx - 38, by - 2 + sw, bx - 38, by + 14, bx - 33, by + 20)
    ctx.curve_to(bx - 31, by + 10, bx - 29, by + 3, bx - 25, by)
    ctx.close_path()
    fill_outline(ctx, darker(coat, 0.45), 1.2)
    # body
    ellipse(ctx, bx, by, 28, 12, coat, width=1.6, shaded=True)
    # caparison in the house colour from tier 1
    if tier >= 1:
        ctx.move_to(bx - 22, by - 9)
        ctx.line_to(bx + 14, by - 9)
        ctx.line_to(bx + 12, by + 8)
        ctx.line_to(bx - 20, by + 8)
        ctx.close_path()
        fill_outline(ctx, p["main"], 1.2, INK, by - 9, by + 8)
        trim = p["accent"] if house != "Warriors" else rgb("#1c1414")
        thick_line(ctx, (bx - 20, by + 7), (bx + 12, by + 7), 1.8, trim, outline=0)
    # neck and head
    poly(ctx, [(bx + 16, by - 8), (bx + 26, by - 28), (bx + 33, by - 26), (bx + 27, by - 2)], coat, width=1.5)
    poly(ctx, [(bx + 25, by - 31), (bx + 40, by - 22), (bx + 38, by - 16), (bx + 26, by - 21)], coat, width=1.5)
    ellipse(ctx, bx + 30, by - 25, 1.1, 1.1, INK, width=0)
    poly(ctx, [(bx + 25, by - 31), (bx + 27, by - 36), (bx + 29, by - 30)], coat, width=1.2)
    if tier >= 3:  # chanfron
        poly(ctx, [(bx + 27, by - 30), (bx + 38, by - 22), (bx + 36, by - 20), (bx + 27, by - 25)],
             TIERS[tier]["armor"], width=1.0)
    # mane
    ctx.move_to(bx + 25, by - 30)
    ctx.curve_to(bx + 20, by - 24, bx + 16, by - 14, bx + 14, by - 8)
    ctx.line_to(bx + 18, by - 9)
    ctx.close_path()
    fill_outline(ctx, darker(coat, 0.5), 1.0)
    # near legs
    for x0, a in ((bx - 16, 0.4 * sw), (bx + 20, -0.4 * cw)):
        _horse_leg(ctx, (x0, by + 5), a, coat)
    # rider
    rx, ry = bx - 2, by - 12
    thick_line(ctx, (rx, ry), (rx + 5, ry + 13), 5, darker(_sleeve(tier, house), 0.15), outline=1.1)
    _torso(ctx, rx, ry - 22, tier, house, w=13, h=22)
    _head(ctx, rx + 1, ry - 29, tier, house)
    # short lance-less sword raised, and reins
    hand = (rx + 9, ry - 10)
    thick_line(ctx, (rx + 3, ry - 18), hand, 4, _sleeve(tier, house), outline=1.0)
    thick_line(ctx, hand, (bx + 26, by - 20), 0.8, INK, outline=0)
    ellipse(ctx, hand[0], hand[1], 2.1, 2.1, SKIN, width=0.9)
    blade = rgb("#dfe5ee") if tier else rgb("#b9bec6")
    thick_line(ctx, (rx - 5, ry - 12), (rx - 14, ry - 34 - tier), 2.6, blade, outline=1.0)
    thick_line(ctx, (rx - 8, ry - 11), (rx - 2, ry - 14), 2.0, GOLD, outline=0.8)


# A horse leg swung by angle.
def _horse_leg(ctx, top, angle, color):
    kx = top[0] + math.sin(angle) * 11
    ky = top[1] + math.cos(angle) * 11
    fx = kx + math.sin(angle * 0.3) * 13
    fy = ky + math.cos(angle * 0.3) * 13
    thick_line(ctx, top, (kx, ky), 5.5, color, outline=1.1)
    thick_line(ctx, (kx, ky), (fx, fy), 4.2, color, outline=1.1)
    poly(ctx, [(fx - 2.5, fy - 1), (fx + 3, fy - 1), (fx + 3.5, fy + 2.5), (fx - 3, fy + 2.5)], rgb("#2a2018"),
         width=1.0)


DRAWERS = {"Knight": knight, "Spearman": spearman, "Horseman": horseman}
FOLDERS = {"Knight": "Knights", "Spearman": "Spearmen", "Horseman": "Horsemen"}
TAGS = {"Noblemen": "Nobel", "Workers": "Worker", "Wisemen": "Wisemen", "Warriors": "Warrior"}


# One troop frame in a size by size picture.
def troop_frame(kind, tier, house, phase, size=90):
    c = Canvas(size, size)
    c.ctx.scale(size / 90, size / 90)
    # soft ground shadow
    ellipse(c.ctx, 45, 86.5, 26 if kind == "Horseman" else 15, 2.6, (0, 0, 0, 0.25), width=0)
    DRAWERS[kind](c.ctx, tier, house, phase)
    return c


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
    thief_draw(c.ctx, phase)
    return c


def thief_draw(ctx, phase):
    """The sneaking thief in a 40 by 80 box."""
    sw = math.sin(2 * math.pi * phase)
    bob = -1.2 * abs(sw)
    cx, hip = 19, 52 + bob
    cloak = rgb("#4a5470")
    # sneaking: bent forward, long strides on tiptoe
    _leg(ctx, (cx - 1, hip), -0.55 * sw, 24, rgb("#23262e"), rgb("#15171c"))
    _leg(ctx, (cx + 1, hip), 0.55 * sw, 24, rgb("#23262e"), rgb("#15171c"))
    poly(ctx, [(cx - 7, hip - 20), (cx + 6, hip - 22), (cx + 7, hip + 2), (cx - 8, hip + 2)], cloak, width=1.3,
         shaded=True)
    # sack of loot on the back
    ellipse(ctx, cx - 10, hip - 15, 7, 8, rgb("#b08a52"), width=1.3, shaded=True)
    thick_line(ctx, (cx - 10, hip - 23), (cx - 8, hip - 26), 1.5, rgb("#7a5a2e"), outline=0.6)
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
    # arm reaching forward, finger to the lips style
    _arm(ctx, (cx + 3, hip - 18), (cx + 11 + sw * 2, hip - 10), cloak)


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
