#!/bin/sh
# Builds the libFuzzer targets with clang and runs each briefly. Skips quietly
# when this clang cannot link libFuzzer.
set -eu
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
OUT="$1"
SECONDS_EACH="${MENSORA_FUZZ_SECONDS:-10}"
probe="$(mktemp -d)"
printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t){return 0;}\n' > "$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
    echo "libFuzzer non disponibile: fuzzing saltato"
    rm -rf "$probe"; exit 0
fi
rm -rf "$probe"
# The libraries are instrumented too, so that coverage inside them guides the fuzzer.
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then LAUNCHER="ccache"; fi
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$OUT" -DMENSORA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER_LAUNCHER="$LAUNCHER" \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
cmake --build "$OUT" -j"$(nproc)"
status=0
for f in "$OUT"/tests/fuzz/*_fuzz; do
    [ -x "$f" ] || continue
    name="$(basename "$f")"
    corpus="$OUT/corpus-$name"
    mkdir -p "$corpus"
    # Seeds: the target's own, and for the script engine its test corpus too.
    seeds=""
    [ -d "$ROOT/tests/fuzz/seeds/$name" ] && seeds="$ROOT/tests/fuzz/seeds/$name"
    case "$name" in script*) seeds="$seeds $ROOT/tests/script/corpus" ;; esac
    echo "fuzz: $name (${SECONDS_EACH}s)"
    # shellcheck disable=SC2086
    "$f" -max_total_time="$SECONDS_EACH" -max_len=4096 -rss_limit_mb=2048 "$corpus" $seeds >"$OUT/$name.log" 2>&1 \
        || { status=1; tail -40 "$OUT/$name.log"; }
done
exit $status
