#!/usr/bin/env bash
# Builds the program and the demo bank, then starts the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
DEMO=build/demo/demo.qly
if [ ! -f "$DEMO" ]; then
    mkdir -p build/demo
    build/bin/quillory-tool build-bank resources/demo "$DEMO"
fi
# Chromium's sandbox refuses to run as root.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/bin/quillory "$DEMO" "$@"
