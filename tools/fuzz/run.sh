#!/usr/bin/env bash
# Builds the question loader's fuzz target with clang++ and its sanitizers in a folder of its
# own, then fuzzes it from the seed corpus for a bounded time. Any finding fails the run.
# Usage: run.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build-fuzz}"
seconds="${2:-60}"

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"

# New inputs go to the build folder's corpus; the seeds in the source tree stay as they are.
mkdir -p "$build/corpus" "$build/artifacts"
"$build/fuzz_question_loader" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/" "$build/corpus" "$here/corpus"
