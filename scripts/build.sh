#!/usr/bin/env bash
# Configures and builds Tarvik into build/ (or $TARVIK_BUILD_DIR) with Ninja.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARVIK_BUILD_DIR:-$here/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja "$@"
fi
cmake --build "$build" --parallel "$(nproc)"
