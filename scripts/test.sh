#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# The tests named *_corpus need the corpus of real projects (GLOSSMILL_CORPUS, else ../shared/corpus beside the
# repository); without it ctest lists them as skipped, and their reasons are printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
status=0
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)" || status=$?
# ctest names the tests it skipped but not why; each printed its reason in one line.
awk '/^[0-9]+\/[0-9]+ Testing: / { test = $3 }
     /^Skipped [0-9]+ tests: |^skipped: / { if (!n++) print "Why tests were skipped:"; print "  " test ": " $0 }' \
  build/Testing/Temporary/LastTest.log
exit "$status"
