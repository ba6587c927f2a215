# The game font: Cardo (David J. Perry, SIL Open Font License 1.1), a Roman
# serif from Debian's fonts-cardo package, copied unmodified under the file
# name the game reads, with its licence beside it. Depends on fonts-cardo.
import os
import shutil

SOURCE = "/usr/share/fonts/truetype/cardo/Cardo104s.ttf"
LICENCE = "/usr/share/doc/fonts-cardo/copyright"


# Copies the font and writes its licence beside it.
def generate(root):
    folder = os.path.join(root, "data", "Font")
    os.makedirs(folder, exist_ok=True)
    for path in (SOURCE, LICENCE):
        if not os.path.isfile(path):
            raise SystemExit("assets: %s is missing; install the Debian package fonts-cardo" % path)
    shutil.copyfile(SOURCE, os.path.join(folder, "TrajanPro-Regular.ttf"))
    with open(LICENCE) as f:
        licence = f.read()
    with open(os.path.join(folder, "TrajanPro-Regular.LICENSE.txt"), "w") as f:
        f.write("TrajanPro-Regular.ttf in this folder is the font Cardo 1.04 by David J. Perry, copied\n"
                "unmodified from Debian's fonts-cardo package (%s) under the\n"
                "file name the game reads. It is licensed under the SIL Open Font License 1.1, with the\n"
                "Reserved Font Name \"Cardo\"; the font itself is not renamed or modified.\n\n" % SOURCE)
        f.write(licence)
