#!/usr/bin/env bash
# Times `tarvik-cli report` against the spreadsheet a technician would print instead (headless
# LibreOffice Calc converting the equivalent spreadsheet report to PDF), in one run on one machine,
# and prints the ratio for every size.
#
#   bench/peer-report.sh               # 12 and 10000 readings
#   bench/peer-report.sh 12 1000 10000
#   RUNS=5 bench/peer-report.sh        # timed runs per size and program (default 3, after a warm-up)
#
# Needs a built tarvik-cli and tarvik-catalogos (build/, or $TARVIK_BUILD_DIR), python3, pdfinfo and
# for the peer soffice (Debian package libreoffice-calc-nogui); PEER= points at another copy of the
# peer's folder. Everything it writes goes to a fresh temporary folder, removed at the end.
set -u -o pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVIK_BUILD_DIR:-$here/build}"
peer="${PEER:-$here/../../shared/peers/libreoffice}"
[ -d "$peer" ] || peer="$here/../shared/peers/libreoffice"
RUNS="${RUNS:-3}"
export RUNS
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(12 10000)

for tool in "$build/bin/tarvik-cli" "$build/bin/tarvik-catalogos"; do
  [ -x "$tool" ] || { echo "peer-report: $tool is not built" >&2; exit 2; }
done
for tool in python3 pdfinfo soffice; do
  command -v "$tool" >/dev/null || { echo "peer-report: $tool is missing" >&2; exit 2; }
done
[ -x "$peer/bench.sh" ] || { echo "peer-report: no peer in $peer (set PEER)" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/peer-report.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export LANG=C.UTF-8

now() { date +%s.%N; }
median() { python3 -c 'import statistics, sys; print("%.3f" % statistics.median(map(float, sys.argv[1:])))' "$@"; }

declare -A ours pages peak
for n in "${sizes[@]}"; do
  python3 "$here/bench/estudio_lecturas.py" "$n" "$work/estudio-$n.txt" || exit 2
done
"$build/bin/tarvik-catalogos" ejemplos "$work" "$work" || exit 2

for n in "${sizes[@]}"; do
  study="$work/estudio-$n.fac" pdf="$work/estudio-$n.pdf"
  "$build/bin/tarvik-cli" report "$study" -o "$pdf" 2>/dev/null || { echo "peer-report: the report of $n readings failed" >&2; exit 1; }
  times=()
  for ((i = 1; i <= RUNS; i++)); do
    t0=$(now)
    /usr/bin/time -f %M -o "$work/peak" "$build/bin/tarvik-cli" report "$study" -o "$pdf" 2>/dev/null
    t1=$(now)
    times+=("$(python3 -c "print('%.3f' % ($t1 - $t0))")")
    peak[$n]=$(cat "$work/peak")
  done
  ours[$n]=$(median "${times[@]}")
  pages[$n]=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  echo "tarvik-cli report, $n readings: ${ours[$n]} s (runs ${times[*]}), ${pages[$n]} pages, peak ${peak[$n]} KB" >&2
done

declare -A theirs
while read -r line; do
  echo "peer: $line" >&2
  n=$(sed -n 's/^N=\([0-9]*\) .*/\1/p' <<<"$line")
  m=$(sed -n 's/.* median=\([0-9.]*\)s.*/\1/p' <<<"$line")
  [ -n "$n" ] && [ -n "$m" ] && theirs[$n]=$m
done < <("$peer/bench.sh" "${sizes[@]}")

printf '%-9s %8s %6s %9s %9s %10s %7s\n' readings tarvik pages ms/page peak_MB peer ratio
status=0
for n in "${sizes[@]}"; do
  if [ -z "${theirs[$n]:-}" ]; then
    echo "peer-report: the peer gave no time for $n readings" >&2
    status=1
    continue
  fi
  python3 - "$n" "${ours[$n]}" "${pages[$n]}" "${peak[$n]}" "${theirs[$n]}" <<'EOF'
import sys
n, ours, pages, peak, theirs = sys.argv[1], float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), float(sys.argv[5])
print("%-9s %7.3fs %6d %9.2f %9.1f %9.2fs %6.1fx" % (n, ours, pages, ours * 1000 / pages, peak / 1024, theirs, theirs / ours))
EOF
done
exit $status
