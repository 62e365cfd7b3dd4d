#!/usr/bin/env bash
# Installs what is missing, builds Tarvik and runs every test; then the same tests built with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), where any report fails the run;
# then a short run of every fuzz target (scripts/fuzz.sh); then the core and its tests cross-built
# for Windows and run under Wine (scripts/windows-core.sh, skipped when its tools cannot be had).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARVIK_BUILD_DIR:-$here/build}"
asan="${TARVIK_ASAN_BUILD_DIR:-$here/build-asan}"
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
# A PDF printer for the printing tests; without it they skip.
"$here/scripts/cups-pdf-queue.sh" || true
(cd "$build" && ctest --output-on-failure --timeout 300 -j "$(nproc)")

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
TARVIK_BUILD_DIR="$asan" "$here/scripts/build.sh" -DCMAKE_BUILD_TYPE=Debug -DTARVIK_SANITIZE=ON
(
  cd "$asan"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --output-on-failure --timeout 600 -j "$(nproc)"
)

echo "== Fuzz smoke run"
"$here/scripts/fuzz.sh" 5

echo "== The core and its tests built for Windows (MinGW-w64) and run under Wine"
"$here/scripts/windows-core.sh"
