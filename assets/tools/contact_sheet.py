#!/usr/bin/python3
# Contact sheets of the data folder: every picture, with sprite sheets cut
# into their frames in frame order, drawn as the game shows it (un-mirrored
# and turned as recorded by the generator in BUILD/data-orientation) over a
# checkerboard, each with its file name under it, into a few PNG sheets.
# Usage: contact_sheet.py BUILD_DIR OUT_DIR. Depends on python3-pil.
import os
import sys

from PIL import Image, ImageDraw, ImageFont

LABEL = 30          # room for a picture's name under it
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


# How the game shows each picture, as recorded by the generator.
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


# (name, picture as shown) for every picture and every sheet frame.
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


# A checkerboard to show transparency.
def checker(w, h):
    bg = Image.new("RGBA", (w, h), (200, 200, 200, 255))
    d = ImageDraw.Draw(bg)
    for y in range(0, h, 16):
        for x in range(0, w, 16):
            if (x // 16 + y // 16) % 2:
                d.rectangle((x, y, x + 15, y + 15), fill=(160, 160, 160, 255))
    return bg


# Lays the items out on sheets of columns by rows tiles; returns their paths.
def draw_sheets(items, out, prefix, tile, columns, rows):
    font = ImageFont.truetype(FONT, 11)
    per = columns * rows
    paths = []
    for s in range(0, len(items), per):
        chunk = items[s:s + per]
        used_rows = (len(chunk) + columns - 1) // columns
        sheet = Image.new("RGBA", (columns * tile, used_rows * (tile + LABEL)), (60, 60, 60, 255))
        d = ImageDraw.Draw(sheet)
        for k, (name, img) in enumerate(chunk):
            x, y = (k % columns) * tile, (k // columns) * (tile + LABEL)
            thumb = img.copy()
            thumb.thumbnail((tile - 8, tile - 8))
            cell = checker(tile - 8, tile - 8)
            cell.alpha_composite(thumb, ((cell.width - thumb.width) // 2, (cell.height - thumb.height) // 2))
            sheet.paste(cell, (x + 4, y + 4))
            limit = tile // 6
            label = name if len(name) <= limit else "..." + name[-(limit - 3):]
            d.text((x + 4, y + tile + 2), label, font=font, fill=(255, 255, 255, 255))
            d.text((x + 4, y + tile + 15), "%dx%d" % img.size, font=font, fill=(190, 190, 190, 255))
        path = os.path.join(out, "%s_%02d.png" % (prefix, s // per + 1))
        sheet.convert("RGB").save(path)
        paths.append(path)
    return paths


# Draws the contact sheets of a build folder.
def main(argv):
    if len(argv) != 3:
        print("usage: contact_sheet.py BUILD_DIR OUT_DIR", file=sys.stderr)
        return 2
    build, out = argv[1], argv[2]
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        if old.startswith("contact_") and old.endswith(".png"):
            os.remove(os.path.join(out, old))
    items = entries(build)
    # small pictures (troops, icons) in small tiles, the rest in large ones
    small = [it for it in items if max(it[1].size) <= 160]
    large = [it for it in items if max(it[1].size) > 160]
    for path in (draw_sheets(small, out, "contact_small", 150, 12, 9) +
                 draw_sheets(large, out, "contact_large", 300, 6, 5)):
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
