# Buttons and panels of the menus: main menu, settings panel, quit question,
# pause-scroll buttons, how-to-play topic buttons, win and lose buttons and the
# house selection (selectors, description panels, title strip). Idle and
# hover pairs differ by the lit look of widgets.py. The yes/no buttons are
# the one pair whose plain file is the hovered look ("YesButton.png" shows
# while the cursor is on it, "YesButtonPressed.png" otherwise).
# Depends on draw.py, emblems.py and widgets.py.
from draw import (GOLD, GOLD_LIGHT, HOUSES, INK, MIRROR, PARCH, PLAIN, WOOD_DARK, Canvas, darker, ellipse,
                  fill_outline, glow, lighter, paragraph, rgb, rounded, save, text,
                  thick_line)
from emblems import crown, emblem, house_shield, shield_path
from widgets import (STYLES, lit_face, icon_arrow, icon_back, icon_door, icon_gear, icon_home, icon_bell, icon_question,
                     icon_restart, icon_scroll, icon_speaker, plaque, round_button, text_button)


# Writes the idle and the hovered look of a button.
def pair(root, idle, hover, make, how=MIRROR):
    save(root, "data\\" + idle, make(False), how)
    save(root, "data\\" + hover, make(True), how)


def big_button(w, h, label, icon, lit, style):
    """The large shield buttons of the win and lose screens."""
    c = Canvas(w, h)
    ctx = c.ctx
    if lit:
        glow(ctx, w / 2, h / 2, min(w, h) / 2, rgb("#ffe08a", 0.6))
    shield_path(ctx, w / 2, h / 2 + 2, w * 0.86, h * 0.9)
    fill_outline(ctx, GOLD_LIGHT if lit else GOLD, 3, INK, 0, h)
    face = STYLES[style]["face"]
    shield_path(ctx, w / 2, h / 2 + 2, w * 0.76, h * 0.8)
    fill_outline(ctx, lit_face(face, style) if lit else face, 2, darker(GOLD, 0.4), h * 0.1, h * 0.9)
    icon(ctx, w / 2, h * 0.36, w * 0.16, rgb("#fff6d0") if lit else GOLD_LIGHT)
    text(ctx, label, w / 2, h * 0.62, h * 0.1, rgb("#fff6d0") if lit else GOLD_LIGHT, INK, 2.5, max_width=w * 0.62)
    return c


# The main menu settings panel with its headings and value slots.
def settings_panel():
    c = Canvas(355, 500)
    ctx = c.ctx
    rounded(ctx, 4, 4, 347, 492, 26, GOLD, width=3)
    rounded(ctx, 14, 14, 327, 472, 20, WOOD_DARK, width=2, ink=darker(GOLD, 0.4))
    text(ctx, "SETTINGS", 177.5, 44, 30, GOLD_LIGHT, INK, 3)
    thick_line(ctx, (60, 68), (295, 68), 2, GOLD, outline=0)
    # headings above the four value rows printed by the game (rows at 90, 190, 295, 385 from the top)
    # the game prints the values in gold, centred about 153, 253, 356 and 451 from the top,
    # between arrows whose inner edges are 70 units either side of the middle
    for label, cy in (("RESOLUTION", 153), ("FULLSCREEN", 253), ("VOLUME", 356), ("MUSIC", 451)):
        text(ctx, label, 177.5, cy - 36, 16, rgb("#e9d9a6"), INK, 1.5)
        rounded(ctx, 177.5 - 100, cy - 20, 200, 40, 10, rgb("#2a1a0c"), width=1.5, ink=darker(GOLD, 0.3),
                shaded=False)
    return c


# The panel behind the main menu buttons.
def menu_panel():
    c = Canvas(355, 500)
    ctx = c.ctx
    rounded(ctx, 4, 4, 347, 492, 26, GOLD, width=3)
    rounded(ctx, 14, 14, 327, 472, 20, WOOD_DARK, width=2, ink=darker(GOLD, 0.4))
    crown(ctx, 177.5, 42, 24, GOLD)
    thick_line(ctx, (60, 64), (295, 64), 2, GOLD, outline=0)
    return c


# The quit question.
def are_you_sure():
    c = Canvas(500, 500)
    ctx = c.ctx
    rounded(ctx, 20, 60, 460, 380, 30, PARCH, width=4, ink=rgb("#5a3a1e"))
    rounded(ctx, 34, 74, 432, 352, 22, PARCH, width=2, ink=rgb("#b08a52"), shaded=False)
    text(ctx, "ARE YOU SURE?", 250, 170, 46, rgb("#7a1a1a"), None, 0, max_width=400)
    thick_line(ctx, (110, 220), (390, 220), 2.5, rgb("#b08a52"), outline=0)
    return c


# A settings arrow, pointing right on screen when right is set.
def arrow_pic(right, lit=False):
    # The plate keeps to the outer side of its 80-wide click area: the value
    # text between a pair of arrows starts inside the left arrow's area.
    c = Canvas(80, 60)
    left = 26 if right else 4
    plaque(c.ctx, left, 4, 50, 52, "wood", lit, r=14)
    icon_arrow(c.ctx, left + 25, 30, 17, GOLD_LIGHT, right=right)
    return c


# A house selector: shield, emblem and name.
def selector(house, lit):
    p = HOUSES[house]
    c = Canvas(250, 260)
    ctx = c.ctx
    if lit:
        glow(ctx, 125, 125, 125, rgb("#ffe08a", 0.6))
    house_shield(ctx, house, 125, 112, 190 if not lit else 200, 200 if not lit else 210, 4)
    rounded(ctx, 22, 214, 206, 40, 12, lighter(p["main"], 0.25) if lit else p["dark"], width=3,
            ink=GOLD_LIGHT if lit else INK)
    text(ctx, p["title"], 125, 234, 25, GOLD_LIGHT if not lit else rgb("#fffbe6"), INK, 2.5, max_width=190)
    return c


HOUSE_TEXT = {
    "Noblemen": ("Old blood and full coffers.", "BONUS: every income tick pays 2 gold instead of 1."),
    "Workers": ("Builders of walls that do not fall.", "BONUS: your castle starts with 330 health instead of 300."),
    "Wisemen": ("Scholars of war and of its price.", "BONUS: every upgrade costs 20 gold less."),
    "Warriors": ("Born with an axe in hand.", "BONUS: every one of your troops deals 2 more damage."),
}


# A house description with its bonus.
def house_panel(house):
    p = HOUSES[house]
    c = Canvas(330, 320)
    ctx = c.ctx
    rounded(ctx, 6, 6, 318, 308, 22, PARCH, width=4, ink=p["dark"])
    rounded(ctx, 16, 16, 298, 50, 14, p["main"], width=2)
    text(ctx, "HOUSE OF THE " + p["title"], 165, 41, 20, GOLD_LIGHT, INK, 2, max_width=280)
    motto, bonus = HOUSE_TEXT[house]
    y = paragraph(ctx, motto, 30, 84, 270, 20, rgb("#3a2412"), align="center")
    thick_line(ctx, (70, y + 8), (260, y + 8), 1.5, darker(PARCH, 0.3), outline=0)
    paragraph(ctx, bonus, 30, y + 22, 270, 21, rgb("#7a1a1a"), bold=True, align="center")
    emblem(ctx, house, 165, 268, 26)
    return c


# The strip behind the house selection title.
def text_strip():
    c = Canvas(1280, 150)
    ctx = c.ctx
    ctx.move_to(0, 30)
    ctx.line_to(1280, 30)
    ctx.line_to(1280, 120)
    ctx.line_to(0, 120)
    ctx.close_path()
    fill_outline(ctx, rgb("#5a1a1a"), 0, INK, 30, 120)
    for y in (30, 120):
        thick_line(ctx, (0, y), (1280, y), 4, GOLD, outline=1.5)
    return c


# The house selection title.
def choose_house():
    c = Canvas(1280, 720)
    text(c.ctx, "CHOOSE YOUR HOUSE", 640, 360, 58, GOLD_LIGHT, INK, 4, shadow=True)
    return c


# Writes every menu button and panel.
def generate(root):
    for name, label in (("Play", "PLAY"), ("HowToPlay", "HOW TO PLAY"), ("Quit", "QUIT")):
        pair(root, name + "ButtonDEF.png", name + "ButtonPressed.png",
             lambda lit, label=label: text_button(280, 80, label, lit, "wood", size=32))
    pair(root, "CreditsButton.png", "CreditsButtonPressed.png",
         lambda lit: text_button(280, 80, "CREDITS", lit, "wood", size=32))
    pair(root, "VolumeButton.png", "VolumeButtonHoover.png",
         lambda lit: round_button(64, 64, lambda *a: icon_speaker(*a), lit))
    pair(root, "VolumeMutedButton.png", "VolumeMutedButtonHoover.png",
         lambda lit: round_button(64, 64, lambda *a: icon_speaker(*a, muted=True), lit))
    pair(root, "SettingsButton.png", "SettingsButtonHoover.png", lambda lit: round_button(64, 64, icon_gear, lit))
    pair(root, "SFXButtonActiveMM.png", "SFXButtonActivePressedMM.png",
         lambda lit: round_button(64, 64, lambda *a: icon_bell(*a), lit))
    pair(root, "SFXButtonInactiveMM.png", "SFXButtonInactivePressedMM.png",
         lambda lit: round_button(64, 64, lambda *a: icon_bell(*a, muted=True), lit))
    pair(root, "SFXButtonPauseActive.png", "SFXButtonPauseActivePressed.png",
         lambda lit: round_button(70, 70, lambda *a: icon_bell(*a), lit, label="SOUND"))
    pair(root, "SFXButtonPauseInactive.png", "SFXButtonPauseInactivePressed.png",
         lambda lit: round_button(70, 70, lambda *a: icon_bell(*a, muted=True), lit, label="MUTED"))
    save(root, "data\\Settings.png", settings_panel(), MIRROR)
    save(root, "data\\MainMenuPanelDEF.png", menu_panel(), MIRROR)
    # shown on the right arrows, pointing right; "ArrowRight" is shown on the left arrows
    save(root, "data\\Arrow.png", arrow_pic(True), MIRROR)
    save(root, "data\\ArrowRight.png", arrow_pic(False), MIRROR)
    save(root, "data\\AreYouSure.png", are_you_sure(), PLAIN)
    # yes/no: the plain name is the hovered look
    save(root, "data\\YesButton.png", _yes_no("YES", True), MIRROR)
    save(root, "data\\YesButtonPressed.png", _yes_no("YES", False), MIRROR)
    save(root, "data\\NoButton.png", _yes_no("NO", True), MIRROR)
    save(root, "data\\NoButtonPressed.png", _yes_no("NO", False), MIRROR)
    # pause scroll buttons
    pair(root, "PauseRestartButton.png", "PauseRestartButtonPressed.png",
         lambda lit: round_button(70, 70, icon_restart, lit, label="RESTART"))
    pair(root, "PauseCreditsButton.png", "PauseCreditsButtonPressed.png",
         lambda lit: round_button(90, 90, icon_scroll, lit, label="CREDITS"))
    pair(root, "HowToPlayPauseButton.png", "HowToPlayPauseButtonPressed.png",
         lambda lit: round_button(70, 70, icon_question, lit, label="RULES"))
    pair(root, "BackToPause.png", "BackToPausePressed.png",
         lambda lit: round_button(90, 80, icon_back, lit, label="BACK"))
    pair(root, "ExitGameButton.png", "ExitGameButtonPressed.png",
         lambda lit: round_button(130, 130, icon_door, lit, "red", label="EXIT GAME"))
    pair(root, "ReturnToMainMenuButton.png", "ReturnToMainMenuButtonPressed.png",
         lambda lit: round_button(130, 130, icon_home, lit, "blue", label="MAIN MENU"))
    pair(root, "BackPauseMenuButton.png", "BackPauseMenuButtonPressed.png",
         lambda lit: text_button(130, 80, "BACK", lit, "wood", size=28))
    # how to play
    for name, hover, label in (("ButtonTroops", "ButtonTroopsPressed", "TROOPS"),
                               ("ButtonBuying", "ButtonBuyingPressed", "BUYING"),
                               ("ButtonUpgrading", "ButtonUpgradingPressed", "UPGRADING"),
                               ("ButtonThief", "ButtonThiefPessed", "THIEF"),
                               ("ButtonBaner", "ButtonBanerPressed", "BANNER")):
        pair(root, name + ".png", hover + ".png", lambda lit, label=label: text_button(155, 65, label, lit, "parch",
                                                                                       size=24))
    pair(root, "ButtonBackToMenu.png", "ButtonBackToMenuPressed.png",
         lambda lit: round_button(90, 90, icon_home, lit, label="MENU"))
    # win and lose
    pair(root, "MainMenuButton.png", "MainMenuButtonPressed.png",
         lambda lit: big_button(250, 260, "MAIN MENU", icon_home, lit, "blue"))
    pair(root, "RestartButton.png", "RestartButtonPressed.png",
         lambda lit: big_button(250, 260, "RESTART", icon_restart, lit, "red"))
    pair(root, "NextLevelButton.png", "NextLevelButtonPressed.png",
         lambda lit: big_button(250, 260, "NEXT LEVEL", lambda *a: icon_arrow(*a, right=True), lit, "green"))
    # house selection
    files = {"Noblemen": ("NoblemenSelector", "NoblemenPanel"), "Workers": ("WorkersSelector", "WorkerPanel"),
             "Wisemen": ("WisemenSelector", "WisemenPanel"), "Warriors": ("WarriorsSelector", "WarriorPanel")}
    for house, (sel, panel) in files.items():
        pair(root, sel + ".png", sel + "Pressed.png", lambda lit, house=house: selector(house, lit))
        save(root, "data\\%s.png" % panel, house_panel(house), PLAIN)
    save(root, "data\\TextBg.png", text_strip(), PLAIN)
    save(root, "data\\ChooseHouse.png", choose_house(), PLAIN)


# A yes or no button, lit or not.
def _yes_no(word, lit):
    style = "green" if word == "YES" else "red"
    c = Canvas(70, 70)
    ctx = c.ctx
    r = 33
    if lit:
        glow(ctx, 35, 35, 35, rgb("#ffe08a", 0.7))
    ellipse(ctx, 35, 35, r, r, GOLD_LIGHT if lit else GOLD, width=2.5)
    face = STYLES[style]["face"]
    ellipse(ctx, 35, 35, r * 0.86, r * 0.86, lit_face(face, style) if lit else face, width=1.5, shaded=True)
    text(ctx, word, 35, 35, 21, rgb("#fff6d0") if lit else GOLD_LIGHT, INK, 2, max_width=50)
    return c
