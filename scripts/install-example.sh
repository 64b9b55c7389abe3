#!/usr/bin/env bash
# Puts the example Android project where "Open Example Android Project.." looks for it, as an installer would:
# <documents folder>/glossmill/VorelGlossmill_ExampleApp. An example that is already there is left alone,
# since the translator may have worked on it.
set -euo pipefail
cd "$(dirname "$0")/.."

# The folder Qt reports as DocumentsLocation: user-dirs.dirs when it names one, else ~/Documents.
documents_dir() {
  if command -v qtpaths6 >/dev/null 2>&1; then
    local qt
    qt=$(qtpaths6 --writable-path DocumentsLocation 2>/dev/null || true)
    if [ -n "$qt" ]; then echo "$qt"; return; fi
  fi
  local cfg="${XDG_CONFIG_HOME:-$HOME/.config}/user-dirs.dirs" value=""
  if [ -f "$cfg" ]; then
    value=$(sed -n 's/^XDG_DOCUMENTS_DIR="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$cfg" | tail -n 1)
    value=${value//\$HOME/$HOME}
  fi
  if [ -n "$value" ] && [ "$value" != "$HOME" ] && [ "$value" != "$HOME/" ]; then echo "${value%/}"; else echo "$HOME/Documents"; fi
}

glossmill_dir="$(documents_dir)/glossmill"
target="$glossmill_dir/VorelGlossmill_ExampleApp"
mkdir -p "$glossmill_dir"
if [ ! -e "$target" ]; then
  cp -R examples/VorelGlossmill_ExampleApp "$target"
  echo "Example project put at $target"
fi
