#!/usr/bin/env bash
# Installs what is missing, builds Tarvik and runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARVIK_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
cd "$build"
ctest --output-on-failure --timeout 300 -j "$(nproc)"
