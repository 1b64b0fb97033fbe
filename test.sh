#!/bin/sh
# Installs what is missing, builds, and runs every test headless.
set -eu
ROOT="$(cd "$(dirname "$0")" && pwd)"
"$ROOT/scripts/setup.sh"
BUILD="${MENSORA_BUILD_DIR:-$ROOT/build}"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure -j"$(nproc)" --timeout 300
# Short fuzzing runs, only where clang with libFuzzer is available.
if command -v clang++ >/dev/null 2>&1; then
    "$ROOT/tests/fuzz/run_fuzzers.sh" "$BUILD/fuzz"
fi
