#!/usr/bin/env bash
# Redraws every picture of resources/ from draw_art.cpp. The PNGs are committed; run this only after changing
# the drawings.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++17 -O1 -fPIC "$here/draw_art.cpp" -o "$work/draw_art" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/draw_art" "$here/.."
echo "Pictures written below $(cd "$here/.." && pwd)"
