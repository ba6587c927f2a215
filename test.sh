#!/usr/bin/env bash
# Installs what is missing, builds the game and runs every test under Xvfb
# with SDL's dummy audio driver.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/setup.sh"
export SDL_AUDIODRIVER=dummy
cd "$root/build"
xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure -j2 "$@"
