#!/usr/bin/env bash
# Starts Glossmill under Xvfb with a project opened (the example project by default) and its first resource file
# selected, and saves a screenshot of the screen.
#   scripts/screenshot.sh [project-folder] [output.png]
# The program takes no arguments, so the project is handed over as the newest recent project of a throw-away home
# and opened by clicking its link on the welcome page.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${2:-build/screenshot.png}"
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target glossmill >/dev/null

home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
docs="$home/Documents/glossmill"
mkdir -p "$docs"
project="${1:-}"
if [ -z "$project" ]; then
  project="$docs/VorelGlossmill_ExampleApp"
  cp -r examples/VorelGlossmill_ExampleApp "$project"
else
  cp -r "$project" "$home/project"
  project="$home/project"
fi
printf '[reopen]\nitem0=%s/\n' "$project" > "$docs/Glossmill.ini"
mkdir -p "$(dirname "$out")"
out="$(realpath "$out")"

HOME="$home" XDG_CONFIG_HOME="$home/.config" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -e
  build/workbench/glossmill >"$HOME/glossmill.log" 2>&1 &
  pid=$!
  xdotool search --sync --name "^Vorel Glossmill 1.0$" >/dev/null
  sleep 6
  xdotool mousemove 320 367 click 1   # the first recent project on the welcome page
  sleep 3
  xdotool mousemove 60 100 click 1    # the tree root, then down to the first resource file
  xdotool key Down Down Down
  sleep 2
  import -window root "'"$out"'"
  kill $pid
'
echo "$out"
