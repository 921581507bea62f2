#!/usr/bin/env bash
# The kill -9 test at length: every write of the program killed at many
# random moments (500 each unless KILL_TRIALS says otherwise). Run after a
# build (scripts/test.sh or scripts/setup.sh); QUILLORY_KILL_SEED repeats a run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target test_kill
QUILLORY_KILL_TRIALS="${KILL_TRIALS:-500}" build/bin/test_kill "$@"
