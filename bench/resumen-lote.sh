#!/bin/sh
# Times `tarvik-cli summary` over a portfolio of twelve-reading studies, the whole process, and
# its peak memory: medians of several runs.
#
#   bench/resumen-lote.sh [STUDIES] [RUNS]      (defaults 10000 and 5)
#
# The studies are generated once into build/bench-lote-STUDIES/ by bench/generar_estudios.py.
set -eu
cd "$(dirname "$0")/.."
estudios=${1:-10000}
veces=${2:-5}
cli=${TARVIK_BUILD_DIR:-build}/bin/tarvik-cli
carpeta=${TARVIK_BUILD_DIR:-build}/bench-lote-$estudios
[ -x "$cli" ] || { echo "build tarvik-cli first ($cli)" >&2; exit 2; }
if [ "$(ls "$carpeta" 2>/dev/null | wc -l)" -ne "$estudios" ]; then
    rm -rf "$carpeta"
    python3 bench/generar_estudios.py "$carpeta" "$estudios"
fi
salida=$(mktemp -d)
trap 'rm -rf "$salida"' EXIT
i=0
while [ "$i" -lt "$veces" ]; do
    /usr/bin/time -f '%e %M' -o "$salida/tiempo-$i" \
        "$cli" summary "$carpeta" -o "$salida/resumen.csv" --lang es >/dev/null 2>"$salida/errores" || true
    i=$((i + 1))
done
filas=$(($(wc -l <"$salida/resumen.csv") - 1))
cat "$salida"/tiempo-* | python3 -c '
import statistics, sys
runs = [line.split() for line in sys.stdin if line[:1].isdigit()]  # past "Command exited with…"
s = sorted(float(r[0]) for r in runs)
m = statistics.median(int(r[1]) for r in runs) / 1024
print("%s studies summarised, %d runs, %s cores" % (sys.argv[1], len(s), sys.argv[2]))
print("elapsed: median %.2f s (min %.2f, max %.2f)" % (statistics.median(s), s[0], s[-1]))
print("peak memory: median %.0f MB" % m)
' "$filas" "$(nproc)"
