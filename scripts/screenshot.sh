#!/usr/bin/env bash
# Starts Glossmill under Xvfb with the openbox window manager, as on a desktop, with a project opened (the example
# project by default) and its first resource file selected, and saves a screenshot of the screen.
#   scripts/screenshot.sh [project-folder] [output.png] [web]
# With "web", the translator's address template points at a local page that shows the address it was given; a row
# is selected and "Translate" pressed before the picture is taken.
# The program takes no arguments, so the project is handed over as the newest recent project of a throw-away home
# and opened from "Reopen.." in the File menu.
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
mode="${3:-}"
if [ "$mode" = web ]; then
  cat > "$home/translate.html" <<'PAGE'
<html><body style="margin:0;font:15px sans-serif">
<div style="height:2px;background:#c00"></div>
<div style="padding:6px 10px">Local translation page (a line of red at the very top is scrolled away)<br>
From: <b id="from"></b> &nbsp; To: <b id="to"></b> &nbsp; Text: <b id="text"></b><br>
<span id="addr" style="color:#555"></span></div>
<div style="height:3000px"></div>
<script>
var parts = decodeURIComponent(location.hash.substring(1)).split("/");
document.getElementById("from").textContent = parts[0];
document.getElementById("to").textContent = parts[1];
document.getElementById("text").textContent = parts.slice(2).join("/");
document.getElementById("addr").textContent = decodeURI(location.href);
</script></body></html>
PAGE
  printf '[GENERAL]\nGogleTranslateGetURL=%s\n' \
    "file://$home/translate.html?hl=%SOURCE_LOCALE_CODE%&tab=wT#%SOURCE_LOCALE_CODE%/%TARGET_LOCALE_CODE%/%TRANSLATED_TEXT%" \
    >> "$docs/Glossmill.ini"
fi
mkdir -p "$(dirname "$out")"
out="$(realpath "$out")"

HOME="$home" XDG_CONFIG_HOME="$home/.config" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -e
  # A window manager, as on a desktop: the window is maximized under a title bar.
  openbox --sm-disable >"$HOME/openbox.log" 2>&1 &
  wm=$!
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.1; done
  build/workbench/glossmill >"$HOME/glossmill.log" 2>&1 &
  pid=$!
  # The web views re-create the window once after it is shown: look for it again once it is maximized.
  win=""
  for i in $(seq 1 300); do
    win=$(xdotool search --onlyvisible --name "^Vorel Glossmill 1.0$" 2>/dev/null | head -n 1 || true)
    if [ -n "$win" ] && xprop -id "$win" _NET_WM_STATE 2>/dev/null | grep -q MAXIMIZED_HORZ; then break; fi
    sleep 0.2
  done
  sleep 3
  win=$(xdotool search --onlyvisible --name "^Vorel Glossmill 1.0$" | head -n 1)
  height=$(xwininfo -id "$win" | awk "/Height:/ {print \$NF}")
  # Points inside the window, from its top left corner (the bottom pane from its bottom edge).
  click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
  # Where things lie depends on the fonts, so the keyboard finds them: File, "Reopen..", its first entry.
  click 20 10
  sleep 1
  xdotool key Down Down Right Return
  sleep 3
  click 60 100                        # the tree, then its root and down to the first resource file
  xdotool key Home Down Down Down
  sleep 2
  if [ "'"$mode"'" = web ]; then
    click 350 200                     # a row of the list, then the row "action_settings" of the example project
    xdotool key Home Down Down Down
    sleep 1
    click 323 $((height - 172))       # "Translate"
    sleep 4
  fi
  import -window root "'"$out"'"
  kill $pid $wm
'
echo "$out"
