#!/usr/bin/env bash
# Installs what is missing, builds Tarvik and runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARVIK_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
# A PDF printer for the printing tests; without it they skip.
"$here/scripts/cups-pdf-queue.sh" || true
cd "$build"
ctest --output-on-failure --timeout 300 -j "$(nproc)"
