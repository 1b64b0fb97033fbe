#!/bin/sh
# Installs what is missing, builds, and starts Mensora.
set -eu
ROOT="$(cd "$(dirname "$0")" && pwd)"
"$ROOT/scripts/setup.sh"
exec "${MENSORA_BUILD_DIR:-$ROOT/build}/src/mensora" "$@"
