#!/usr/bin/python3
# Contact sheets of the data folder: every picture, with sprite sheets cut
# into their frames in frame order, drawn as the game shows it (un-mirrored
# and turned as recorded by the generator in BUILD/data-orientation) over a
# checkerboard, each with its file name under it, into a few PNG sheets.
# Usage: contact_sheet.py BUILD_DIR OUT_DIR. Depends on python3-pil.
import os
import sys

from PIL import Image, ImageDraw, ImageFont

TILE = 240          # room for one picture
LABEL = 30          # room for its name
COLUMNS = 8
ROWS_PER_SHEET = 6
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def load_orientations(build):
    table = {}
    folder = os.path.join(build, "data-orientation")
    if os.path.isdir(folder):
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name)) as f:
                for line in f:
                    how, _, path = line.rstrip("\n").partition("\t")
                    table[path] = how
    return table


def shown(img, how):
    """The picture as the game shows it."""
    if how == "mirror":
        return img.transpose(Image.FLIP_LEFT_RIGHT)
    if how == "cursor":
        return img.transpose(Image.FLIP_LEFT_RIGHT).rotate(36, resample=Image.BICUBIC, expand=True)
    return img


def animations(build):
    """Sheet path -> (animation path, frame count, rows, columns)."""
    result = {}
    root = os.path.join(build, "data", "Animation")
    for dirpath, _, files in os.walk(root):
        for name in files:
            if "." in name:
                continue
            path = os.path.join(dirpath, name)
            with open(path) as f:
                lines = f.read().split("\n")
            try:
                count, rows, cols = int(lines[0]), int(lines[1]), int(lines[2])
            except (ValueError, IndexError):
                print("contact_sheet: cannot read %s" % path, file=sys.stderr)
                continue
            sheet = lines[3].replace("\\", "/")
            rel = os.path.relpath(path, build).replace(os.sep, "/")
            result[sheet] = (rel, count, rows, cols)
    return result


def entries(build):
    orient = load_orientations(build)
    anims = animations(build)
    items = []
    for dirpath, dirs, files in os.walk(os.path.join(build, "data")):
        dirs.sort()
        for name in sorted(files):
            if not name.endswith(".png"):
                continue
            full = os.path.join(dirpath, name)
            rel = os.path.relpath(full, build).replace(os.sep, "/")
            how = orient.get(rel, "plain")
            img = Image.open(full).convert("RGBA")
            if rel in anims:
                anim, count, rows, cols = anims[rel]
                cw, ch = img.width // cols, img.height // rows
                for i in range(count):
                    col, row = i % cols, i // cols
                    top = (rows - 1 - row) * ch  # row 0 is the bottom band of the PNG
                    cell = img.crop((col * cw, top, col * cw + cw, top + ch))
                    items.append(("%s #%d" % (anim[len("data/"):], i), shown(cell, how)))
            else:
                items.append((rel[len("data/"):], shown(img, how)))
    return items


def checker(w, h):
    bg = Image.new("RGBA", (w, h), (200, 200, 200, 255))
    d = ImageDraw.Draw(bg)
    for y in range(0, h, 16):
        for x in range(0, w, 16):
            if (x // 16 + y // 16) % 2:
                d.rectangle((x, y, x + 15, y + 15), fill=(160, 160, 160, 255))
    return bg


def main(argv):
    if len(argv) != 3:
        print("usage: contact_sheet.py BUILD_DIR OUT_DIR", file=sys.stderr)
        return 2
    build, out = argv[1], argv[2]
    os.makedirs(out, exist_ok=True)
    items = entries(build)
    font = ImageFont.truetype(FONT, 11)
    per = COLUMNS * ROWS_PER_SHEET
    for s in range(0, len(items), per):
        chunk = items[s:s + per]
        sheet = Image.new("RGBA", (COLUMNS * TILE, ROWS_PER_SHEET * (TILE + LABEL)), (60, 60, 60, 255))
        d = ImageDraw.Draw(sheet)
        for k, (name, img) in enumerate(chunk):
            x, y = (k % COLUMNS) * TILE, (k // COLUMNS) * (TILE + LABEL)
            thumb = img.copy()
            thumb.thumbnail((TILE - 8, TILE - 8))
            tile = checker(TILE - 8, TILE - 8)
            tile.alpha_composite(thumb, ((tile.width - thumb.width) // 2, (tile.height - thumb.height) // 2))
            sheet.paste(tile, (x + 4, y + 4))
            label = name if len(name) <= 38 else "..." + name[-35:]
            d.text((x + 4, y + TILE + 2), label, font=font, fill=(255, 255, 255, 255))
            d.text((x + 4, y + TILE + 15), "%dx%d" % img.size, font=font, fill=(190, 190, 190, 255))
        path = os.path.join(out, "contact_%02d.png" % (s // per + 1))
        sheet.convert("RGB").save(path)
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
