#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time each.
# usage: run-fuzzers.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=${1:?build folder}
seconds=${2:-60}
[ -n "$seconds" ] || seconds=60
shopt -s nullglob
targets=("$build"/bin/*Fuzzer)
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz targets in $build/bin" >&2
    exit 1
fi
for target in "${targets[@]}"; do
    name=$(basename "$target")
    corpus="$build/corpus/$name"
    seeds="$(dirname "$0")/../fuzz/corpus/$name"
    mkdir -p "$corpus"
    [ -d "$seeds" ] || seeds=
    echo "== $name for ${seconds}s"
    # New inputs go to the first folder; the committed seeds are only read.
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 "$corpus" $seeds
done
