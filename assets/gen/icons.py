# The desktop icons: the window icon drawn again at each size a desktop's
# icon theme asks for, into icons/hicolor/<size>/apps/morrow.png beside the
# data folder (they are installed, never read by the game). Depends on hud.py.
import os

from hud import icon_pic

# Sizes in pixels; the icon is drawn in 64 layout units.
SIZES = (64, 128, 256)


# Writes one crisp picture per size (drawn, not scaled down from the largest).
def generate(root):
    for size in SIZES:
        folder = os.path.join(root, "icons", "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        icon_pic(scale=size / 64).image().save(os.path.join(folder, "morrow.png"), compress_level=9)
