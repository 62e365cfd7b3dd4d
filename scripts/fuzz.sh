#!/usr/bin/env bash
# Builds the fuzz targets (clang++, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) into
# build-fuzz/ and runs each for the given number of seconds (default 60), then prints what each run
# did. Any finding fails the script; its input is kept under build-fuzz/hallazgos/.
#   scripts/fuzz.sh [seconds [target...]]   fuzz the named targets, or every one under fuzz/targets/
#   scripts/fuzz.sh --runs N [target...]     the same, each target for N executions however long
#                                            they take (do not pause one with kill -STOP: the
#                                            10-second timeout counts the pause and reports a hang)
#   scripts/fuzz.sh --semillas              rewrite the committed seed corpora fuzz/corpus/<target>/
# Each run starts from the committed seeds, the shipped files of the target's kind and what earlier
# runs found (build-fuzz/corpus/<target>/). Inputs are at most 4 KiB unless the target's source has
# a line "// libFuzzer: <options>" that says otherwise; fuzz/targets/<target>.dict, where it exists,
# is the target's dictionary.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARVIK_FUZZ_BUILD_DIR:-$here/build-fuzz}"

uso() {
  echo "usage: $0 [seconds [target...]] | --runs N [target...] | --semillas" >&2
  exit 2
}
entero() { case "${1:-}" in "" | *[!0-9]* | 0) uso ;; esac; }
semillas=0
limite=(-max_total_time=60)
medida="60 s per target"
case "${1:-}" in
  --semillas) semillas=1 ;;
  --runs)
    entero "${2:-}"
    limite=(-runs="$2")
    medida="$2 executions per target"
    shift
    ;;
  "") ;;
  *)
    entero "$1"
    limite=(-max_total_time="$1")
    medida="$1 s per target"
    ;;
esac
shift $(($# > 0 ? 1 : 0))

"$here/scripts/setup.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTARVIK_FUZZ=ON > /dev/null
fi
cmake --build "$build" --parallel "$(nproc)"

objetivos=("$@")
for t in "${objetivos[@]}"; do
  if [ ! -f "$here/fuzz/targets/$t.cpp" ]; then echo "no fuzz target $t" >&2; exit 2; fi
done
if [ ${#objetivos[@]} = 0 ]; then
  for fuente in "$here"/fuzz/targets/*.cpp; do
    objetivos+=("$(basename "$fuente" .cpp)")
  done
fi

if [ "$semillas" = 1 ]; then
  for t in "${objetivos[@]}"; do
    TARVIK_SEMILLAS="$here/fuzz/corpus/$t" "$build/bin/fuzz_$t"
  done
  exit 0
fi

mkdir -p "$build/registros" "$build/hallazgos"
# No allocation stacks in reports: recording one at every allocation costs a sixth of the speed, and a
# finding kept under hallazgos/ replays with them when its target is run on it directly.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=0}"
fallos=0
resumen=$(printf '%-14s %10s %8s %7s %7s %7s %s\n' target runs exec/s cov ft corpus result)
for t in "${objetivos[@]}"; do
  trabajo="$build/corpus/$t"
  TARVIK_SEMILLAS="$trabajo" TARVIK_DATOS="$here" "$build/bin/fuzz_$t" > /dev/null
  corpora=("$trabajo")
  if [ -d "$here/fuzz/corpus/$t" ]; then corpora+=("$here/fuzz/corpus/$t"); fi
  registro="$build/registros/$t.log"
  resultado=ok
  read -r -a propias <<< "$(sed -n 's#^// libFuzzer: ##p' "$here/fuzz/targets/$t.cpp")"
  if [ -f "$here/fuzz/targets/$t.dict" ]; then propias+=("-dict=$here/fuzz/targets/$t.dict"); fi
  if ! "$build/bin/fuzz_$t" "${limite[@]}" -timeout=10 -max_len=4096 "${propias[@]}" \
      -print_final_stats=1 -artifact_prefix="$build/hallazgos/$t-" "${corpora[@]}" > "$registro" 2>&1; then
    resultado=FAILED
    fallos=$((fallos + 1))
    tail -n 40 "$registro" >&2
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro" | tail -n 1)
  velocidad=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$registro" | tail -n 1)
  linea=$(grep -E '^#[0-9]+.*cov: ' "$registro" | tail -n 1 || true)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<< "$linea")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<< "$linea")
  corp=$(sed -nE 's/.* corp: ([0-9]+).*/\1/p' <<< "$linea")
  resumen+=$'\n'$(printf '%-14s %10s %8s %7s %7s %7s %s' "$t" "${runs:-?}" "${velocidad:-?}" "${cov:-?}" \
    "${ft:-?}" "${corp:-?}" "$resultado")
done
echo "Fuzzing, $medida:"
echo "$resumen"
if [ "$fallos" -gt 0 ]; then
  echo "$fallos fuzz target(s) found a fault: inputs in $build/hallazgos/, logs in $build/registros/" >&2
  exit 1
fi
