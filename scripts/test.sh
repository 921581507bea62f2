#!/usr/bin/env bash
# Builds everything and runs all the tests (GUI tests run headless).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --timeout 600 -j2
