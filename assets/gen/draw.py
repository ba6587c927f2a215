# Drawing kit shared by every picture generator: cairo canvases in layout
# units, the house palettes, outlined shapes with soft shading, text in the
# game font, and saving a picture or a sprite sheet so that it appears upright
# and unmirrored in the running game. Depends on python3-cairo, python3-pil and
# python3-numpy (Debian), and on the Cardo font of fonts-cardo.
#
# How a picture file lands on screen (worked out once, used by `save`):
#  * The texture loader reverses the image rows before upload, so texture row 0
#    (v = 0) is the BOTTOM row of the PNG and v = 1 its top row.
#  * The unit square gives its top edge v = 0 and its left edge u = 0. Drawn
#    unturned, an image would therefore stand on its head (PNG bottom at the
#    top of the square), left still on the left.
#  * Nearly every object is turned by pi. Turning the head-stand picture by
#    half a turn puts the PNG top at the top again, but swaps left and right:
#    an object with rotation pi and a POSITIVE width shows the PNG MIRRORED.
#  * Full-screen pictures (and a few others) get a NEGATIVE width as well,
#    which mirrors once more: rotation pi with a negative width shows the PNG
#    exactly as it is.
#  * The cursor objects are turned by 1.2 pi with a positive width: the PNG is
#    mirrored and then turned 36 degrees counter-clockwise on screen.
# So each picture is drawn here as the player should see it, then saved
# mirrored ("mirror") when the game draws it with a positive width, as is
# ("plain") when with a negative width, and mirrored and turned 36 degrees
# clockwise for the cursor. Pictures the game draws both ways (troops, castles,
# counter frames, health bars) carry no writing; their file shows the ENEMY'S
# look, since the enemy is drawn with the negative width (troops face left in
# the file, so player troops, drawn mirrored, face right).
#
# Sprite sheets: frame i uses column i mod columns, and row i div columns
# counted in v, which starts at the PNG's BOTTOM. So frame 0 sits at the
# bottom-left cell of the PNG, frames run left to right, and each further row
# of frames sits one cell HIGHER in the PNG. Inside a cell the frame is stored
# the same way as a whole picture (mirrored or plain as above).
import math
import os
import struct
import subprocess
import zlib

import cairo
import numpy as np
from PIL import Image

SCALE = 1.5  # pixels per layout unit: pictures are made for 1920 by 1080
FONT_FAMILY = "Cardo"

# ---------------------------------------------------------------------------
# Palettes
# ---------------------------------------------------------------------------

# A colour tuple from "#rrggbb" and an alpha.
def rgb(hexstr, a=1.0):
    h = hexstr.lstrip("#")
    return (int(h[0:2], 16) / 255, int(h[2:4], 16) / 255, int(h[4:6], 16) / 255, a)


# The colour t of the way from c1 to c2.
def mix(c1, c2, t):
    return tuple(c1[i] * (1 - t) + c2[i] * t for i in range(4))


# c mixed toward white.
def lighter(c, t=0.35):
    return mix(c, (1, 1, 1, c[3]), t)


# c mixed toward black.
def darker(c, t=0.35):
    return mix(c, (0, 0, 0, c[3]), t)


INK = rgb("#1e1610")        # the dark outline of every shape
GOLD = rgb("#d4af37")
GOLD_LIGHT = rgb("#f3dc7a")
PARCH = rgb("#f1e2b8")
PARCH_DARK = rgb("#d8c08a")
WOOD = rgb("#6b4424")
WOOD_DARK = rgb("#3f2612")
STONE = rgb("#9a968c")
STONE_DARK = rgb("#6c685f")
WHITE = (1, 1, 1, 1)

# Four schemes told apart by hue and by lightness, also for colour-blind players
# (assets/tools/house_colours.py measures it): purple/silver darkest, blue/gold,
# red/black, ochre/brown lightest; each with its own emblem and tabard pattern.
HOUSES = {
    "Noblemen": dict(main=rgb("#2456b8"), dark=rgb("#14306e"), accent=rgb("#e8c040"), emblem="crown",
                     pattern="pales", title="NOBLEMEN"),
    "Workers": dict(main=rgb("#ecb848"), dark=rgb("#6a4216"), accent=rgb("#5a3414"), emblem="hammers",
                    pattern="chequy", title="WORKERS"),
    "Wisemen": dict(main=rgb("#3e1c66"), dark=rgb("#2a1042"), accent=rgb("#d6dbe4"), emblem="star",
                    pattern="semy", title="WISEMEN"),
    "Warriors": dict(main=rgb("#f0524a"), dark=rgb("#1c1414"), accent=rgb("#2a2a2a"), emblem="axes",
                     pattern="bendy", title="WARRIORS"),
}
HOUSE_ORDER = ["Noblemen", "Workers", "Wisemen", "Warriors"]

# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------


class Canvas:
    """A transparent picture w by h layout units, drawn with y downward."""

    def __init__(self, w, h, scale=SCALE):
        self.w, self.h = w, h
        self.pw, self.ph = max(1, int(round(w * scale))), max(1, int(round(h * scale)))
        self.surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, self.pw, self.ph)
        self.ctx = cairo.Context(self.surface)
        self.ctx.scale(self.pw / w, self.ph / h)
        self.ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        self.ctx.set_line_cap(cairo.LINE_CAP_ROUND)

    def image(self):
        """The canvas as a straight-alpha RGBA PIL image."""
        self.surface.flush()
        buf = np.ndarray((self.ph, self.pw, 4), np.uint8, self.surface.get_data(),
                         strides=(self.surface.get_stride(), 4, 1)).copy()
        bgra = buf.astype(np.float32)
        a = bgra[:, :, 3:4]
        safe = np.where(a > 0, a, 1)
        rgbf = np.where(a > 0, bgra[:, :, :3] * 255.0 / safe, 0)
        out = np.empty_like(buf)
        out[:, :, 0] = np.clip(rgbf[:, :, 2] + 0.5, 0, 255)
        out[:, :, 1] = np.clip(rgbf[:, :, 1] + 0.5, 0, 255)
        out[:, :, 2] = np.clip(rgbf[:, :, 0] + 0.5, 0, 255)
        out[:, :, 3] = buf[:, :, 3]
        return Image.fromarray(out, "RGBA")


# ---------------------------------------------------------------------------
# Shapes
# ---------------------------------------------------------------------------


# Makes c the cairo source colour.
def set_color(ctx, c):
    ctx.set_source_rgba(*c)


# Adds a rounded rectangle to the path.
def path_rounded(ctx, x, y, w, h, r):
    r = min(r, w / 2, h / 2)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


# Adds a polygon (or an open line) to the path.
def path_poly(ctx, pts, close=True):
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    if close:
        ctx.close_path()


# Adds an ellipse to the path.
def path_ellipse(ctx, cx, cy, rx, ry):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(max(rx, 1e-3), max(ry, 1e-3))
    ctx.new_sub_path()
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


def shade(ctx, c, y0, y1, top=0.25, bottom=0.25):
    """Soft vertical shading: lighter at y0, darker at y1."""
    g = cairo.LinearGradient(0, y0, 0, y1)
    g.add_color_stop_rgba(0, *lighter(c, top))
    g.add_color_stop_rgba(1, *darker(c, bottom))
    return g


def fill_outline(ctx, fill, width=2.0, ink=INK, y0=None, y1=None):
    """Fills the current path (shaded when y0/y1 are given) and outlines it."""
    if y0 is not None:
        ctx.set_source(shade(ctx, fill, y0, y1))
    elif isinstance(fill, cairo.Pattern):
        ctx.set_source(fill)
    else:
        set_color(ctx, fill)
    if width > 0:
        ctx.fill_preserve()
        set_color(ctx, ink)
        ctx.set_line_width(width)
        ctx.stroke()
    else:
        ctx.fill()


# An outlined, optionally shaded rounded rectangle.
def rounded(ctx, x, y, w, h, r, fill, width=2.0, shaded=True, ink=INK):
    path_rounded(ctx, x, y, w, h, r)
    if shaded:
        fill_outline(ctx, fill, width, ink, y, y + h)
    else:
        fill_outline(ctx, fill, width, ink)


# An outlined polygon.
def poly(ctx, pts, fill, width=2.0, shaded=False, ink=INK):
    path_poly(ctx, pts)
    if shaded:
        ys = [p[1] for p in pts]
        fill_outline(ctx, fill, width, ink, min(ys), max(ys))
    else:
        fill_outline(ctx, fill, width, ink)


# An outlined ellipse.
def ellipse(ctx, cx, cy, rx, ry, fill, width=2.0, shaded=False, ink=INK):
    path_ellipse(ctx, cx, cy, rx, ry)
    if shaded:
        fill_outline(ctx, fill, width, ink, cy - ry, cy + ry)
    else:
        fill_outline(ctx, fill, width, ink)


def thick_line(ctx, p0, p1, width, fill, ink=INK, outline=1.5):
    """A bar from p0 to p1 drawn as an outlined stroke."""
    path_poly(ctx, [p0, p1], close=False)
    set_color(ctx, ink)
    ctx.set_line_width(width + 2 * outline)
    ctx.stroke()
    path_poly(ctx, [p0, p1], close=False)
    set_color(ctx, fill)
    ctx.set_line_width(width)
    ctx.stroke()


# A soft round glow fading out at radius r.
def glow(ctx, cx, cy, r, color):
    g = cairo.RadialGradient(cx, cy, 0, cx, cy, r)
    g.add_color_stop_rgba(0, *color)
    g.add_color_stop_rgba(1, color[0], color[1], color[2], 0)
    ctx.set_source(g)
    path_ellipse(ctx, cx, cy, r, r)
    ctx.fill()


# ---------------------------------------------------------------------------
# Text in the game font
# ---------------------------------------------------------------------------

_font_checked = False


# Stops the build when fontconfig does not find the Cardo font.
def _check_font():
    global _font_checked
    if _font_checked:
        return
    out = subprocess.run(["fc-match", FONT_FAMILY], capture_output=True, text=True).stdout
    if "Cardo" not in out:
        raise SystemExit("assets: the Cardo font (Debian package fonts-cardo) is missing; fc-match gave: " + out)
    _font_checked = True


def text(ctx, s, x, y, size, fill=INK, outline=None, owidth=0.0, bold=True, anchor="center",
         max_width=None, shadow=False):
    """Draws s with its box centred (or left-aligned) at x and its middle at y."""
    _check_font()
    ctx.save()
    ctx.select_font_face(FONT_FAMILY, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    ext = ctx.text_extents(s)
    if max_width is not None and ext.x_advance > max_width:
        size *= max_width / ext.x_advance
        ctx.set_font_size(size)
        ext = ctx.text_extents(s)
    fe = ctx.font_extents()
    cap = size * 0.68
    tx = x - ext.x_advance / 2 if anchor == "center" else (x - ext.x_advance if anchor == "right" else x)
    ty = y + cap / 2
    if shadow:
        ctx.move_to(tx + size * 0.05, ty + size * 0.06)
        ctx.text_path(s)
        ctx.set_source_rgba(0, 0, 0, 0.45)
        ctx.fill()
    ctx.move_to(tx, ty)
    ctx.text_path(s)
    if outline is not None and owidth > 0:
        set_color(ctx, outline)
        ctx.set_line_width(owidth)
        ctx.stroke_preserve()
    set_color(ctx, fill) if not isinstance(fill, cairo.Pattern) else ctx.set_source(fill)
    ctx.fill()
    ctx.restore()
    return ext.x_advance, fe


def paragraph(ctx, s, x, y, width, size, fill=INK, bold=False, leading=1.25, align="left"):
    """Wraps s into lines of at most `width`; returns the y after the last line."""
    _check_font()
    ctx.save()
    ctx.select_font_face(FONT_FAMILY, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    lines, cur = [], ""
    for word in s.split():
        trial = (cur + " " + word).strip()
        if ctx.text_extents(trial).x_advance > width and cur:
            lines.append(cur)
            cur = word
        else:
            cur = trial
    if cur:
        lines.append(cur)
    set_color(ctx, fill)
    for ln in lines:
        adv = ctx.text_extents(ln).x_advance
        tx = x if align == "left" else x + (width - adv) / 2
        ctx.move_to(tx, y + size * 0.8)
        ctx.show_text(ln)
        y += size * leading
    ctx.restore()
    return y


# ---------------------------------------------------------------------------
# Saving
# ---------------------------------------------------------------------------

MIRROR, PLAIN, CURSOR = "mirror", "plain", "cursor"


# The picture as it must be stored so that the game shows it as drawn.
def orient(img, how):
    if how == MIRROR:
        return img.transpose(Image.FLIP_LEFT_RIGHT)
    if how == CURSOR:
        # shown mirrored and turned 36 degrees anticlockwise: undo both
        turned = img.rotate(-36, resample=Image.BICUBIC, center=(img.width / 2, img.height / 2))
        return turned.transpose(Image.FLIP_LEFT_RIGHT)
    return img


# The file path of a game path under root.
def out_path(root, game_path):
    return os.path.join(root, *game_path.replace("\\", "/").split("/"))


# How each written picture is shown on screen, for the contact-sheet tool.
ORIENTATIONS = {}


# The picture as RGB when every pixel is opaque: the game decodes an RGB PNG in
# about half the time of the same pixels stored RGBA (and fills alpha 255).
def without_plain_alpha(img):
    img = img if img.mode in ("RGB", "RGBA") else img.convert("RGBA")
    if img.mode == "RGBA" and img.getchannel("A").getextrema()[0] == 255:
        return img.convert("RGB")
    return img


# One PNG chunk: length, type, data, CRC.
def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


# The PNG file of an RGB or RGBA picture. Each row is stored as it is or less
# the row above ("up"), whichever sums to less (as signed bytes): stb_image
# undoes those two filters fastest, while the Paeth rows Pillow often chooses
# cost it most. Every picture of the game decodes in about two thirds of the
# time, in a file no larger.
def png_bytes(img):
    plain = np.asarray(img).reshape(img.height, -1)
    up = plain.copy()
    up[1:] -= plain[:-1]  # modulo 256

    def weight(rows):
        return np.abs(rows.view(np.int8).astype(np.int32)).sum(axis=1)

    use_up = weight(up) < weight(plain)
    rows = np.where(use_up[:, None], up, plain)
    raw = np.concatenate([np.where(use_up, 2, 0).astype(np.uint8)[:, None], rows], axis=1)
    header = struct.pack(">IIBBBBB", img.width, img.height, 8, 6 if img.mode == "RGBA" else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(raw.tobytes(), 9)) + png_chunk(b"IEND", b""))


# Writes a picture for the game path, stored the way the game shows it.
def save(root, game_path, canvas_or_img, how):
    img = canvas_or_img.image() if isinstance(canvas_or_img, Canvas) else canvas_or_img
    ORIENTATIONS[game_path.replace("\\", "/")] = how
    path = out_path(root, game_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png_bytes(without_plain_alpha(orient(img, how))))
    return path


def save_sheet(root, anim_path, frames, columns, durations, how, labels=None):
    """Writes the sprite sheet beside the animation file and the file itself."""
    n = len(frames)
    rows = (n + columns - 1) // columns
    imgs = [f.image() if isinstance(f, Canvas) else f for f in frames]
    cw, ch = imgs[0].size
    sheet = Image.new("RGBA", (cw * columns, ch * rows), (0, 0, 0, 0))
    for i, im in enumerate(imgs):
        col, row = i % columns, i // columns
        sheet.paste(orient(im, how), (col * cw, (rows - 1 - row) * ch))
    sheet_game_path = anim_path + ".png"
    save(root, sheet_game_path, sheet, PLAIN)
    ORIENTATIONS[sheet_game_path.replace("\\", "/")] = how
    lines = [str(n), str(rows), str(columns), sheet_game_path]
    for i, d in enumerate(durations):
        label = labels[i] if labels else "f%d" % i
        lines.append("%s:%g" % (label, d))
    with open(out_path(root, anim_path), "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
