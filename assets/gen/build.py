#!/usr/bin/python3
# Makes the data folder: `build.py OUT_DIR GROUP... [--stamp FILE]` runs the
# named generator groups into OUT_DIR (the `data` folder's parent), and
# `build.py OUT_DIR --check` compares the folder with assets/manifest.txt
# (every game path present, nothing unused but the sprite sheets named by the
# animation files and the licence texts). Output is the same on every run:
# every random choice comes from a fixed seed. Depends on the group modules.
import importlib
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

GROUPS = {
    "troops": "troops",
    "field": "field",
    "hud": "hud",
    "menus": "menus",
    "screens": "screens",
    "pages": "pages",
    "anims": "anims",
    "music": "music",
    "sfx": "sfx",
    "font": "font",
    "icons": "icons",
}


# The game paths listed in assets/manifest.txt.
def manifest():
    path = os.path.join(HERE, "..", "manifest.txt")
    with open(path) as f:
        return [ln.strip() for ln in f if ln.strip() and not ln.startswith("#")]


# A game path with / separators.
def disk(p):
    return p.replace("\\", "/")


# True when OUT/data holds exactly the manifest, the sheets and licence texts.
def check(out):
    wanted = {disk(p) for p in manifest()}
    missing = [p for p in sorted(wanted) if not os.path.isfile(os.path.join(out, p))]
    sheets = set()
    for p in wanted:
        if p.startswith("data/Animation/") and "." not in os.path.basename(p):
            with open(os.path.join(out, p)) as f:
                lines = f.read().split("\n")
            if len(lines) > 3:
                sheets.add(disk(lines[3]))
    extra = []
    for dirpath, _, files in os.walk(os.path.join(out, "data")):
        for name in files:
            rel = os.path.relpath(os.path.join(dirpath, name), out).replace(os.sep, "/")
            if rel in wanted or rel in sheets or name.endswith(".txt") or name.startswith("."):
                continue
            extra.append(rel)
    for p in missing:
        print("assets: missing %s" % p, file=sys.stderr)
    for p in extra:
        print("assets: not used by the game: %s" % p, file=sys.stderr)
    return not missing and not extra


def write_orientations(out, group):
    """Records how the game shows each picture (outside data/), for the contact sheets."""
    import draw
    folder = os.path.join(out, "data-orientation")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, group + ".txt"), "w") as f:
        for path in sorted(draw.ORIENTATIONS):
            f.write("%s\t%s\n" % (draw.ORIENTATIONS[path], path))
    draw.ORIENTATIONS.clear()


# Runs the groups named on the command line, or the check.
def main(argv):
    if len(argv) < 2:
        print("usage: build.py OUT_DIR GROUP... [--stamp FILE] | OUT_DIR --check", file=sys.stderr)
        return 2
    out = argv[1]
    args = argv[2:]
    if args == ["--check"]:
        return 0 if check(out) else 1
    stamp = None
    if "--stamp" in args:
        i = args.index("--stamp")
        stamp = args[i + 1]
        del args[i:i + 2]
    for group in args or list(GROUPS):
        t0 = time.time()
        importlib.import_module(GROUPS[group]).generate(out)
        write_orientations(out, group)
        print("assets: %-7s %.1f s" % (group, time.time() - t0))
    if stamp:
        os.makedirs(os.path.dirname(stamp), exist_ok=True)
        with open(stamp, "w") as f:
            f.write("done\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
