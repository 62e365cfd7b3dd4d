#!/usr/bin/env bash
# Configures and builds Tarvik into build/ (or $TARVIK_BUILD_DIR) with Ninja. Options given here
# (-DTARVIK_WERROR=OFF, -DCMAKE_BUILD_TYPE=Debug) apply to a build folder configured before too.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARVIK_BUILD_DIR:-$here/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja "$@"
elif [ $# -gt 0 ]; then
  cmake -S "$here" -B "$build" "$@"
fi
cmake --build "$build" --parallel "$(nproc)"
