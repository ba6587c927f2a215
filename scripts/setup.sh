#!/usr/bin/env bash
# Shared set-up for play.sh and test.sh: installs the Debian packages that are
# missing (from apt-packages.txt and assets/apt-packages.txt), then configures
# and builds the game in build/ (Release with debug info).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Install only what is missing, so a ready machine starts at once.
wanted=$(cat "$root/apt-packages.txt" "$root"/assets/apt-packages.txt 2>/dev/null | sed 's/#.*//' | tr -s ' \n' '\n' | sort -u)
missing=()
for p in $wanted; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)"
