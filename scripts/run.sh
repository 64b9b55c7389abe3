#!/usr/bin/env bash
# Installs what is missing, builds Glossmill, puts its example project in place and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/install-example.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target glossmill
exec build/workbench/glossmill "$@"
