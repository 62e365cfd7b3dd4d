#!/usr/bin/env bash
# The whole process on a study of a million readings (136 MB): `tarvik-cli totals` (open and
# analysis) against `cat` of the same file and the bare start of `tarvik-cli --version`, with the
# peak memory of each. Needs build/bin/tarvik-cli (or $TARVIK_BUILD_DIR).
#   bench/estudio-grande.sh [readings]     (default 1000000)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARVIK_BUILD_DIR:-$here/build}"
cli="$build/bin/tarvik-cli"
lecturas="${1:-1000000}"
[ -x "$cli" ] || { echo "build tarvik-cli first (cmake --build build --target tarvik-cli)" >&2; exit 2; }

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
estudio="$tmp/grande.fac"
# The monthly example's header and its twelve readings repeated.
python3 - "$here/examples/bancos-400v-mensual.fac" "$estudio" "$lecturas" <<'PY'
import sys
origen, destino, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
b = open(origen, "rb").read()
cabecera, lecturas = b[:616], b[616:]
por_lectura = 136
cuantas = len(lecturas) // por_lectura
with open(destino, "wb") as f:
    f.write(cabecera)
    f.write(lecturas * (n // cuantas) + lecturas[: (n % cuantas) * por_lectura])
PY
tamano=$(stat -c %s "$estudio")
cat "$estudio" > /dev/null # into the page cache, as a study opened a second time
"$cli" totals "$estudio" --dbf "$build/bin/dbf" > "$tmp/totales.json" || { cat "$tmp/totales.json"; exit 1; }

# Rounds of cat, --version and totals, one after the other in each round, so that the load of the
# shared machine, which comes and goes, weighs on the three alike; 3 rounds to warm up, then 30.
python3 - "$estudio" "$cli" "$build/bin/dbf" <<'PY'
import os, statistics, subprocess, sys, time
estudio, cli, dbf = sys.argv[1:4]
ordenes = {"cat": ["cat", estudio], "version": [cli, "--version"], "totals": [cli, "totals", estudio, "--dbf", dbf]}
reloj = {n: [] for n in ordenes}
cpu = {n: [] for n in ordenes}
for ronda in range(33):
    for n, orden in ordenes.items():
        inicio = time.perf_counter()
        p = subprocess.Popen(orden, stdout=subprocess.DEVNULL)
        _, _, uso = os.wait4(p.pid, 0)
        if ronda >= 3:
            reloj[n].append((time.perf_counter() - inicio) * 1000)
            cpu[n].append((uso.ru_utime + uso.ru_stime) * 1000)
for n in ordenes:
    print("%-8s elapsed median %7.1f ms (min %.1f), processor time %.1f ms"
          % (n, statistics.median(reloj[n]), min(reloj[n]), statistics.median(cpu[n])))
for nombre, t in (("elapsed", reloj), ("processor", cpu)):
    ronda = [(t["totals"][i] - t["version"][i]) / t["cat"][i] for i in range(len(t["cat"]))]
    cuartiles = statistics.quantiles(ronda, n=4)
    print("%-10s (totals - version) / cat: median of the rounds %.2f x, quartiles %.2f-%.2f%s"
          % (nombre + ":", statistics.median(ronda), cuartiles[0], cuartiles[2],
             " (goal: within 2x)" if nombre == "elapsed" else ""))
PY

for nombre in version totals; do
  if [ $nombre = version ]; then orden=("$cli" --version); else orden=("$cli" totals "$estudio" --dbf "$build/bin/dbf"); fi
  /usr/bin/time -v "${orden[@]}" 2> "$tmp/memoria" > /dev/null
  kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$tmp/memoria")
  echo "$nombre: peak memory $((kb / 1024)) MB"
  [ $nombre = totals ] && python3 -c "print('peak of totals / file size = %.2f (goal: under 1.2); file %d MB' % ($kb * 1024 / $tamano, $tamano / 1e6))"
done
