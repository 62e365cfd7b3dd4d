#!/usr/bin/env bash
# The whole process on a study of a million readings (136 MB): `tarvik-cli totals` (open and
# analysis) against `cat` of the same file and the bare start of `tarvik-cli --version`, with the
# peak memory of each. Needs build/bin/tarvik-cli (or $TARVIK_BUILD_DIR); uses hyperfine when it is
# installed, otherwise repeated runs timed by /usr/bin/time.
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

if command -v hyperfine > /dev/null; then
  hyperfine -N --warmup 3 --runs 20 --export-json "$tmp/tiempos.json" \
    -n cat "cat $estudio" -n version "$cli --version" -n totals "$cli totals $estudio --dbf $build/bin/dbf" \
    > /dev/null
  python3 - "$tmp/tiempos.json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
ms = lambda n: r[n]["median"] * 1000
cpu = lambda n: (r[n]["user"] + r[n]["system"]) * 1000
for n in ("cat", "version", "totals"):
    print("%-8s elapsed median %7.1f ms (min %.1f), processor time %.1f ms"
          % (n, ms(n), r[n]["min"] * 1000, cpu(n)))
neto = ms("totals") - ms("version")
print("elapsed:   totals - version = %.1f ms = %.2f x cat (goal: within 2x)" % (neto, neto / ms("cat")))
neto = cpu("totals") - cpu("version")
print("processor: totals - version = %.1f ms = %.2f x cat" % (neto, neto / cpu("cat")))
PY
else
  for nombre in cat version totals; do
    case $nombre in
      cat) orden=(cat "$estudio") ;;
      version) orden=("$cli" --version) ;;
      totals) orden=("$cli" totals "$estudio" --dbf "$build/bin/dbf") ;;
    esac
    for _ in 1 2 3 4 5; do
      /usr/bin/time -f "%e" "${orden[@]}" 2>> "$tmp/$nombre.t" > /dev/null
    done
    echo "$nombre: $(sort -n "$tmp/$nombre.t" | sed -n 3p) s (median of 5)"
  done
fi

for nombre in version totals; do
  if [ $nombre = version ]; then orden=("$cli" --version); else orden=("$cli" totals "$estudio" --dbf "$build/bin/dbf"); fi
  /usr/bin/time -v "${orden[@]}" 2> "$tmp/memoria" > /dev/null
  kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$tmp/memoria")
  echo "$nombre: peak memory $((kb / 1024)) MB"
  [ $nombre = totals ] && python3 -c "print('peak of totals / file size = %.2f (goal: under 1.2); file %d MB' % ($kb * 1024 / $tamano, $tamano / 1e6))"
done
