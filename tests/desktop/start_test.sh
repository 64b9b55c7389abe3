#!/usr/bin/env bash
# Starts the real program as a user would, under Xvfb with the openbox window manager, and checks that
#  - the splash is drawn within one second of the start (the screen is no longer one colour),
#  - the main window comes up maximized (both _NET_WM_STATE maximized states) with its title bar on the screen,
#    and stays so once the web views are up,
#  - a normal start and close prints nothing, as root and as an unprivileged user, with XDG_RUNTIME_DIR set,
#  - GLOSSMILL_DEBUG=1 brings the diagnostics back.
#   tests/desktop/start_test.sh PROGRAM SCREEN_WATCH
# Exits 77 (skipped) when Xvfb, openbox or the X tools are not installed.
set -euo pipefail

program=$(realpath "$1")
watcher=$(realpath "$2")
for tool in Xvfb openbox xprop xwininfo xdotool setpriv; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

splash_limit_ms=1000   # the splash must be on the screen this soon after the start
settle_s=3             # the main window must keep its place this long
wait_s=90              # the longest wait for anything on a loaded machine

work=$(mktemp -d)
chmod 755 "$work"
xvfb_pid=""
wm_pid=""
app_pid=""
cleanup() {
  for pid in "$app_pid" "$wm_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

now_ms() {
  local t=$EPOCHREALTIME
  echo $(( ${t%.*} * 1000 + 10#${t#*.} / 1000 ))
}

# --- The display and the window manager

Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp -br 5>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
deadline=$(( $(now_ms) + wait_s * 1000 ))
until [ -s "$work/display" ]; do
  [ "$(now_ms)" -lt "$deadline" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  sleep 0.05
done
export DISPLAY=":$(head -n 1 "$work/display")"
screen_w=1280
screen_h=800

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
  [ "$(now_ms)" -lt "$deadline" ] || fail "openbox did not start: $(cat "$work/openbox.log")"
  sleep 0.05
done

# Reads the program and its libraries once, so that the timing measures the program and not the disk.
ldd "$program" | awk '/=> \// { print $3 }' | xargs cat "$program" >/dev/null

# --- One run of the program

# Starts the program as USER (root: whoever runs this script; nobody: an unprivileged user) in a fresh home, with
# EXTRA environment settings.
start_program() {
  local user=$1 extra=${2:-}
  home="$work/home-$user-$RANDOM"
  mkdir -p "$home/Documents/glossmill" "$home/runtime"
  chmod 700 "$home/runtime"
  local as=()
  if [ "$user" != root ]; then
    chown -R "$user" "$home"
    as=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups)
  fi
  : >"$work/out"
  : >"$work/err"
  start_ms=$(now_ms)
  "${as[@]}" env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 HOME="$home" DISPLAY="$DISPLAY" \
    XDG_RUNTIME_DIR="$home/runtime" $extra "$program" >"$work/out" 2>"$work/err" &
  app_pid=$!
}

# Starts the program as root and sets `seen` to when the screen first showed more than one colour: "drawn MS" after
# the start, or "blank MS" when it still showed one colour MS after the start.
start_watching_splash() {
  "$watcher" $(( wait_s * 1000 )) >"$work/watch" 2>"$work/watch.err" &
  local watch_pid=$! deadline=$(( $(now_ms) + wait_s * 1000 ))
  until grep -q . "$work/watch"; do
    kill -0 "$watch_pid" 2>/dev/null || break
    [ "$(now_ms)" -lt "$deadline" ] || fail "the screen watcher did not start"
    sleep 0.05
  done
  grep -qx ready "$work/watch" || fail "the screen watcher cannot look at the screen: $(cat "$work/watch" "$work/watch.err")"
  start_program root
  wait "$watch_pid" || true
  local verdict at
  read -r verdict at < <(sed -n 2p "$work/watch")
  [ -n "$at" ] || fail "the screen watcher gave no answer: $(cat "$work/watch" "$work/watch.err")"
  seen="$verdict $((at - start_ms))"
}

# Starts the program as root until the splash is drawn within the limit, at most three times: one start on a
# machine busy with other work may come late, a splash that is not drawn in time comes late every time.
start_with_splash_check() {
  local try seen_all=""
  for try in 1 2 3; do
    start_watching_splash
    seen_all="$seen_all ${seen/ /:}ms"
    if [[ $seen == drawn* ]] && [ "${seen#drawn }" -le "$splash_limit_ms" ]; then
      echo "ok: splash on the screen ${seen#drawn } ms after the start"
      return
    fi
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
  done
  fail "the splash was not on the screen within ${splash_limit_ms} ms of the start in three starts:$seen_all"
}

# The main window's client window id, once it is mapped.
main_window() {
  { xdotool search --onlyvisible --name '^Vorel Glossmill 1\.0$' 2>/dev/null || true; } | head -n 1
}

# Describes the main window's place: "maximized ontop" when both hold, else what is wrong.
window_place() {
  local win=$1 state extents left right top x y w h
  state=$(xprop -id "$win" _NET_WM_STATE 2>/dev/null) || { echo "gone"; return; }
  extents=$(xprop -id "$win" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ' ')
  IFS=, read -r left right top _ <<<"${extents:-0,0,0,0}"
  read -r x y w h < <(xwininfo -id "$win" 2>/dev/null |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF}
         END {print x, y, w, h}')
  local verdict=""
  if [[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]; then
    verdict="maximized"
  else
    verdict="not-maximized(${state#*= })"
  fi
  if [ -n "$top" ] && [ "$top" -gt 0 ] && [ "$((y - top))" -ge 0 ] && [ "$((x - left))" -ge 0 ] &&
     [ "$((y + h))" -le "$screen_h" ] && [ "$((x + w))" -le "$screen_w" ]; then
    verdict="$verdict ontop"
  else
    verdict="$verdict title-bar-off-screen(client ${w}x${h}+${x}+${y}, frame ${extents:-none})"
  fi
  echo "$verdict"
}

# Waits until the main window is maximized with its title bar on the screen and has stayed so for settle_s.
check_maximized() {
  local deadline=$(( $(now_ms) + wait_s * 1000 )) since="" win place="no window"
  while [ "$(now_ms)" -lt "$deadline" ]; do
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended early; its error output: $(cat "$work/err")"
    win=$(main_window)
    if [ -n "$win" ]; then
      place=$(window_place "$win")
      if [ "$place" = "maximized ontop" ]; then
        [ -n "$since" ] || since=$(now_ms)
        if [ $(( $(now_ms) - since )) -ge $(( settle_s * 1000 )) ]; then
          echo "ok: main window maximized with its title bar on the screen"
          return
        fi
      else
        since=""
      fi
    fi
    sleep 0.2
  done
  fail "the main window is not maximized with its title bar on the screen: $place"
}

# Closes the main window as a user does (Alt+F4 through the window manager) and waits for the program to end.
close_program() {
  local win deadline=$(( $(now_ms) + wait_s * 1000 ))
  while win=$(main_window) && [ -z "$win" ]; do
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended early; its error output: $(cat "$work/err")"
    [ "$(now_ms)" -lt "$deadline" ] || fail "the main window never showed"
    sleep 0.2
  done
  while kill -0 "$app_pid" 2>/dev/null; do
    [ "$(now_ms)" -lt "$deadline" ] || fail "the program did not end after Alt+F4"
    win=$(main_window)
    if [ -n "$win" ]; then
      timeout 10 xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
      timeout 10 xdotool key alt+F4 >/dev/null 2>&1 || true
    fi
    sleep 0.5
  done
  local status=0
  wait "$app_pid" || status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status; its error output: $(cat "$work/err")"
}

check_quiet() {
  local who=$1
  if [ -s "$work/out" ] || [ -s "$work/err" ]; then
    echo "--- standard output"; cat "$work/out"
    echo "--- standard error"; cat "$work/err"
    fail "a normal start and close as $who printed something"
  fi
  echo "ok: nothing printed as $who"
}

# --- The runs

start_with_splash_check
check_maximized
close_program
check_quiet "$(id -un)"

if [ "$(id -u)" -eq 0 ] && setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups test -x "$program"; then
  start_program nobody
  check_maximized
  close_program
  check_quiet nobody
else
  echo "note: the run as an unprivileged user needs root and a program that user can run; not run"
fi

start_program root GLOSSMILL_DEBUG=1
close_program
[ -s "$work/err" ] || fail "GLOSSMILL_DEBUG=1 brought no diagnostics back"
echo "ok: GLOSSMILL_DEBUG=1 prints the diagnostics ($(wc -l <"$work/err") lines)"
