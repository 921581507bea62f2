#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each for the
# given number of seconds (default 60), starting from tests/fuzz/corpus.
# New inputs and any crash stay in build-fuzz/; the status is nonzero when a
# target crashed or a sanitizer reported.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DQUILLORY_FUZZ=ON -DQUILLORY_BUILD_APP=OFF
cmake --build build-fuzz --target fuzz

failed=()
for seeds in tests/fuzz/corpus/*/; do
    name=$(basename "$seeds")
    corpus=build-fuzz/fuzz/corpus/$name
    artifacts=build-fuzz/fuzz/artifacts/$name/
    mkdir -p "$corpus" "$artifacts"
    echo "== $name: $seconds s"
    build-fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts" "$corpus" "$seeds" || failed+=("$name")
done
if ((${#failed[@]})); then
    echo "failed: ${failed[*]} (inputs in build-fuzz/fuzz/artifacts/)" >&2
    exit 1
fi
