# Pages of words: the five how-to-play pages, the compact rules page of the
# pause menu, and the four credit pictures that roll up the screen. The rules
# use the game's real numbers (troops 30, thief 50, catapult 300; upgrades
# 100, 220, 340, 460, 20 less for the Wisemen; +7 damage for the stronger
# type; the 2-second buy cooldown). The credit pictures share one dark
# colour and keep their words in the middle, so that overlapping neighbours
# roll as one long scroll. Depends on draw.py, emblems.py and troops.py.
from draw import (GOLD, GOLD_LIGHT, INK, PARCH, PLAIN, Canvas, ellipse, paragraph, rgb, rounded, save,
                  set_color, text, thick_line)
from emblems import banner, coin, counter_frame, crown, emblem
from troops import DRAWERS, thief_draw

BROWN = rgb("#3a2412")
RED = rgb("#7a1a1a")


# A parchment page with a title.
def _page(w, h, title):
    c = Canvas(w, h)
    ctx = c.ctx
    rounded(ctx, 4, 4, w - 8, h - 8, 18, PARCH, width=3, ink=rgb("#8a6a3a"), shaded=False)
    text(ctx, title, w / 2, 40, 36, RED)
    thick_line(ctx, (w * 0.25, 66), (w * 0.75, 66), 2, rgb("#b08a52"), outline=0)
    return c


# A troop drawn at (x, y) scaled by s.
def _figure(ctx, kind, x, y, s, house="Noblemen", tier=2):
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(s, s)
    DRAWERS[kind](ctx, tier, house, 0.0)
    ctx.restore()


# The troops page: who beats whom and what troops cost.
def troops_page():
    c = _page(442, 492, "TROOPS")
    ctx = c.ctx
    rows = (("Knight", "KNIGHT", "Sword and shield. Beats the spearman."),
            ("Spearman", "SPEARMAN", "A long spear. Beats the horseman."),
            ("Horseman", "HORSEMAN", "Rider on a horse. Beats the knight."))
    y = 78
    for kind, name, line in rows:
        _figure(ctx, kind, 10, y - 8, 0.95)
        text(ctx, name, 110, y + 22, 20, RED, anchor="left")
        paragraph(ctx, line, 110, y + 36, 310, 17, BROWN)
        y += 92
    paragraph(ctx, "The stronger type deals 7 more damage in every exchange of blows. Each troop costs 30 gold "
                   "and walks its lane until it meets an enemy. A troop that reaches the enemy castle strikes it. "
                   "Every enemy you kill pays 10 gold.", 24, y + 4, 394, 16.5, BROWN)
    return c


# The buying page: halves, cooldown, income, catapult.
def buying_page():
    c = _page(464, 506, "BUYING")
    ctx = c.ctx
    y = paragraph(ctx, "Each troop card at the top left has two halves: click the upper half (UP) to send the "
                       "troop into the up lane, the lower half (DOWN) for the down lane. A troop costs 30 gold.",
                  24, 80, 416, 17, BROWN)
    y = paragraph(ctx, "After every purchase you wait 2 seconds before the next troop or thief; a click too early "
                       "only clicks.", 24, y + 8, 416, 17, RED, bold=True)
    y = paragraph(ctx, "Income: once the battle has begun you earn 1 gold every half second (Noblemen: 2) while "
                       "you hold 1000 gold or less.", 24, y + 8, 416, 17, BROWN)
    y = paragraph(ctx, "Catapult: 300 gold unlocks it beside your castle. It hurls a rock at the enemy castle for "
                       "30 damage: first 10 seconds after you buy it, then every 30 seconds.", 24, y + 8, 416, 17,
                  BROWN)
    paragraph(ctx, "Only the down lane leads to the castles. Bring the enemy castle down to win.", 24, y + 8, 416,
              17, RED, bold=True)
    return c


# The upgrading page: prices and the five tiers.
def upgrade_page():
    c = _page(600, 518, "UPGRADING")
    ctx = c.ctx
    y = paragraph(ctx, "The gold strip on the right of each troop card upgrades that troop type. Five tiers, each "
                       "stronger in armour and in blows:", 30, 80, 540, 18, BROWN)
    names = ("CLOTH", "LEATHER", "IRON", "STEEL", "GILDED")
    dmg = (15, 20, 25, 30, 40)
    price = ("start", "100", "220", "340", "460")
    for t in range(5):
        x = 30 + t * 110
        _figure(ctx, "Knight", x, y - 4, 1.0, "Noblemen", t)
        text(ctx, names[t], x + 45, y + 98, 15, RED)
        text(ctx, "damage %d" % dmg[t], x + 45, y + 118, 14, BROWN, bold=False)
        text(ctx, price[t] if t == 0 else price[t] + " gold", x + 45, y + 138, 14, BROWN, bold=False)
    y += 160
    paragraph(ctx, "Upgrades cost 100, 220, 340 and 460 gold (the Wisemen pay 20 less: 80, 200, 320, 440). "
                   "Troops already on the field are upgraded at once, and your tiers carry over to the next "
                   "level.", 30, y, 540, 18, BROWN)
    return c


# The thief page: price and rewards.
def thief_page():
    c = _page(600, 518, "THE THIEF")
    ctx = c.ctx
    ctx.save()
    ctx.translate(40, 90)
    ctx.scale(2.2, 2.2)
    thief_draw(ctx, 0.2)
    ctx.restore()
    y = paragraph(ctx, "For 50 gold a thief sneaks along the bottom of the field. Nobody can stop him. When he "
                       "reaches the far side he comes back with a purse:", 150, 84, 420, 18, BROWN)
    rewards = (("100 gold", "7 times in 10"), ("50 gold", "2 times in 10"), ("40 gold", "7 times in 100"),
               ("200 gold", "3 times in 100"))
    y = max(y, 250) + 10
    for amount, odds in rewards:
        coin(ctx, 70, y + 10, 11)
        text(ctx, amount, 95, y + 10, 19, RED, anchor="left")
        text(ctx, odds, 240, y + 10, 18, BROWN, bold=False, anchor="left")
        y += 34
    paragraph(ctx, "Only one thief can be out at a time. He takes the 2-second cooldown like a troop.", 30, y + 8,
              540, 18, BROWN)
    return c


# The banner page: crossings and the banner power.
def banner_page():
    c = _page(600, 518, "THE BANNER")
    ctx = c.ctx
    banner(ctx, "Noblemen", 500, 100, 70, 110)
    y = paragraph(ctx, "Troops in the up lane do not reach a castle: they cross into the enemy's land at the far "
                       "end and score a crossing. The counters at the top right show the crossings of both "
                       "sides.", 30, 84, 420, 18, BROWN)
    y = paragraph(ctx, "The side with more crossings holds the banner in the middle of the field. Its troops in "
                       "the down lane walk faster and strike harder: 7 more damage for you, 2 more for the "
                       "enemy. A tie leaves the banner neutral.", 30, max(y, 230) + 8, 540, 18, BROWN)
    y = paragraph(ctx, "A glowing sword over a troop shows the banner's power.", 30, y + 14, 540, 18, RED,
                  bold=True)
    # the two counters: you lead the crossings 3 to 1, so the banner is yours
    for cx, house, label in ((150, "Noblemen", "ALLIES: 3"), (450, "Wisemen", "ENEMIES: 1")):
        counter_frame(ctx, house, cx, y + 62, 40)
        rounded(ctx, cx - 62, y + 108, 124, 28, 8, PARCH, width=2, shaded=False)
        text(ctx, label, cx, y + 122, 16, BROWN)
    thick_line(ctx, (210, y + 62), (390, y + 62), 3, RED, outline=0)
    text(ctx, "3 > 1: the banner is yours", 300, y + 48, 16, RED)
    return c


# The compact rules page of the pause menu.
def compact_page():
    c = Canvas(1280, 720)
    ctx = c.ctx
    ctx.rectangle(0, 0, 1280, 720)
    set_color(ctx, rgb("#2a1a0c"))
    ctx.fill()
    rounded(ctx, 30, 20, 1220, 680, 24, PARCH, width=4, ink=GOLD, shaded=False)
    text(ctx, "HOW TO PLAY", 640, 60, 42, RED)
    cols = (
        ("TROOPS", "Knight beats spearman, spearman beats horseman, horseman beats knight: +7 damage. Each troop "
                   "costs 30 gold; a kill pays 10."),
        ("BUYING", "Upper half of a card: up lane. Lower half: down lane. 2 seconds between purchases. Income "
                   "every half second once the battle starts."),
        ("UPGRADING", "The gold strip of a card: 100, 220, 340, 460 gold (Wisemen 20 less). Five tiers, damage "
                      "15, 20, 25, 30, 40."),
        ("THIEF", "50 gold. Sneaks past everyone and brings back 100 (mostly), 50, 40 or 200 gold. One at a "
                  "time."),
        ("BANNER", "More crossings in the up lane win the banner: your down-lane troops walk faster and deal 7 "
                   "more damage."),
        ("HOUSES", "Noblemen: double income. Workers: castle 330. Wisemen: upgrades 20 less. Warriors: +2 "
                   "damage. Catapult: 300 gold, 30 damage a rock."),
    )
    for i, (title, body) in enumerate(cols):
        col, row = i % 3, i // 3
        x, y = 80 + col * 390, 110 + row * 270
        text(ctx, title, x + 170, y + 20, 26, RED)
        paragraph(ctx, body, x, y + 45, 340, 21, BROWN)
    text(ctx, "Win by bringing the enemy castle down through the down lane.", 700, 668, 22, BROWN)
    return c


# ---------------------------------------------------------------------------
# Credits
# ---------------------------------------------------------------------------

NIGHT = rgb("#140f0c")


# A dark credits picture with an optional title.
def _roll(title):
    c = Canvas(1280, 720)
    ctx = c.ctx
    ctx.rectangle(0, 0, 1280, 720)
    set_color(ctx, NIGHT)
    ctx.fill()
    if title:
        text(ctx, title, 640, 150, 44, GOLD_LIGHT, INK, 3)
        thick_line(ctx, (480, 185), (800, 185), 2, GOLD, outline=0)
    return c


# The game logo.
def morrow_logo():
    c = _roll(None)
    ctx = c.ctx
    ellipse(ctx, 640, 280, 80, 80, GOLD, width=4, shaded=True)
    ellipse(ctx, 640, 280, 64, 64, rgb("#8e2323"), width=3, shaded=True)
    crown(ctx, 640, 282, 36, GOLD_LIGHT)
    text(ctx, "MORROW", 640, 425, 110, GOLD_LIGHT, INK, 5)
    text(ctx, "THE GAME", 640, 500, 40, rgb("#e9e1c8"))
    return c


# The team credits.
def credits_pic():
    c = _roll("CREDITS")
    ctx = c.ctx
    # The executives' picture rises 470 units behind this one and covers its
    # lower part, so every line stays above that line.
    text(ctx, "MADE BY", 640, 215, 26, GOLD)
    text(ctx, "the Morrow team", 640, 268, 44, rgb("#e9e1c8"), bold=False)
    for y, roles in ((335, "GAME DESIGN  \u00b7  PROGRAMMING  \u00b7  KESTREL ENGINE"),
                     (380, "ART  \u00b7  MUSIC AND SOUND")):
        text(ctx, roles, 640, y, 24, GOLD)
    return c


# The free software and the font used, with their licences.
def logos_pic():
    c = _roll("MADE WITH FREE SOFTWARE")
    ctx = c.ctx
    rows = (("SDL2 and SDL2_mixer", "zlib licence"), ("mpg123", "LGPL 2.1"), ("GLEW", "Modified BSD licence"),
            ("Dear ImGui", "MIT licence"), ("stb_image, stb_truetype", "public domain (MIT)"),
            ("Font: Cardo by David J. Perry", "SIL Open Font License 1.1"),
            ("Art and music made with cairo, NumPy, Pillow, LAME", "LGPL, BSD, HPND, LGPL"),
            ("Debian GNU/Linux", "free software, thank you"))
    y = 225
    for what, lic in rows:
        text(ctx, what, 620, y, 22, rgb("#e9e1c8"), anchor="right")
        text(ctx, lic, 660, y, 22, GOLD, bold=False, anchor="left")
        y += 42
    return c


# Studio, publisher and thanks.
def executives_pic():
    c = _roll(None)
    ctx = c.ctx
    text(ctx, "A TARN STUDIO GAME", 640, 250, 34, GOLD_LIGHT, INK, 2)
    text(ctx, "published by Ashgrove Games", 640, 300, 24, rgb("#e9e1c8"), bold=False)
    for i, house in enumerate(("Noblemen", "Workers", "Wisemen", "Warriors")):
        emblem(ctx, house, 460 + i * 120, 390, 28)
    text(ctx, "THANK YOU FOR PLAYING", 640, 480, 40, GOLD_LIGHT, INK, 3)
    return c


# Writes the how-to-play pages and the credit pictures.
def generate(root):
    save(root, "data\\TroopExplanation.png", troops_page(), PLAIN)
    save(root, "data\\BuyingExplanation.png", buying_page(), PLAIN)
    save(root, "data\\UpgradeExplanation.png", upgrade_page(), PLAIN)
    save(root, "data\\ThiefExplanation.png", thief_page(), PLAIN)
    save(root, "data\\BannerExplanation.png", banner_page(), PLAIN)
    save(root, "data\\HowToPlayCompact.png", compact_page(), PLAIN)
    save(root, "data\\MorrowLogo.png", morrow_logo(), PLAIN)
    save(root, "data\\Credits.png", credits_pic(), PLAIN)
    save(root, "data\\LogosCredits.png", logos_pic(), PLAIN)
    save(root, "data\\CreditsExecutives.png", executives_pic(), PLAIN)
