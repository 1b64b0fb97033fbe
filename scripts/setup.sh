#!/bin/sh
# Shared set-up for run.sh and test.sh: installs the Debian packages the build
# needs (only those missing), then configures and builds into ./build.
set -eu

# Qt 6 (widgets, printing, tests; its CMake files need the GL and Vulkan
# headers), SQLite, GoogleTest and Google Benchmark, a font for offscreen
# rendering, python3 as the baseline of the script engine's benchmark and the
# smoke test's driver, poppler-utils (pdftotext, pdftoppm) to read the printed
# lists in the tests; for the smoke test, a virtual X server, xdotool for input
# and ImageMagick's import for screenshots; dpkg-dev for the dependencies of
# the .deb (dpkg-shlibdeps); desktop-file-utils to validate the menu entry;
# qt6-translations-l10n for the Italian texts of Qt's own printer and file
# dialogs.
PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev \
libsqlite3-dev libgtest-dev libgmock-dev googletest libbenchmark-dev fonts-dejavu-core python3 \
poppler-utils xvfb xdotool imagemagick dpkg-dev desktop-file-utils qt6-translations-l10n"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
if [ -n "$missing" ]; then
    echo "Installazione pacchetti mancanti:$missing"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
fi

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${MENSORA_BUILD_DIR:-$ROOT/build}"
# ccache, when installed (it is not required), keeps rebuilds short.
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then LAUNCHER="ccache"; fi
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE="${MENSORA_BUILD_TYPE:-Release}" \
    -DCMAKE_CXX_COMPILER_LAUNCHER="$LAUNCHER" >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
