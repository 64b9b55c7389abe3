#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)"
