#!/bin/sh
# Writes the sample reports under docs/informes/ again: the report of every example study, and of
# generated studies of 12, 36 and 130 monthly readings under tariffs 3.1 and 1.1, each in Spanish and
# English, as PDF; and PNG pictures of three sample pages (final report, descriptions, chart).
# Needs the build in build/ (or TARVIK_BUILD_DIR): tarvik-cli and tarvik-catalogos; and pdftoppm.
set -eu

raiz=$(cd "$(dirname "$0")/.." && pwd)
bin=${TARVIK_BUILD_DIR:-$raiz/build}/bin
destino=$raiz/docs/informes
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/fuentes" "$tmp/estudios"

# A metalworking shop with its own 400 kVA transformer, 400 V, 50 Hz, capacitor banks to 0.98:
# `lecturas` monthly bills from January 2020 on, a power factor near 0.80.
estudio() {
    lecturas=$1
    tarifa=$2
    cat <<EOF
empresa: TALLERES MECÁNICOS HERMANOS ORDÓÑEZ, S.L.
cliente: ANTONIO ORDÓÑEZ PEÑA
direccion: POLÍGONO INDUSTRIAL EL PRADO, CALLE B, NAVE 7
provincia: VALLADOLID
distribuidor: ELÉCTRICA DEL DUERO DISTRIBUCIÓN
fax: 983 401 118
telefono: 983 401 117
tarifa: $tarifa
voltaje: 400
horas: 340
cosenoDeseado: 0.98
porPrecio: 0
armonicos: 0
tipoLectura: 0
seleccionModelo: 0
frecuencia: 50
temperatura: 0
tipoCalculo: 0
potenciaMaxima: 0
tieneTransformador: 1
transformadorEntrada: 400
equipos: 1
lecturas:
mes, ano, kwht, kvarh, mdr, cpc, ifp, it, ia, rr
EOF
    awk -v n="$lecturas" 'BEGIN {
        split("ENERO FEBRERO MARZO ABRIL MAYO JUNIO JULIO AGOSTO SEPTIEMBRE OCTUBRE NOVIEMBRE DICIEMBRE", mes, " ")
        for (i = 0; i < n; i++) {
            kwh = 50000 + (i * 7919) % 13000
            kvarh = int(kwh * (0.70 + (i % 5) * 0.03))
            printf "%s, %d, %d, %d, %d, 400, 0, %.2f, %.2f, %.2f\n", mes[i % 12 + 1], 2020 + int(i / 12), kwh,
                kvarh, 265 + (i * 13) % 25, 1000 + (i * 37) % 50, kwh * 0.12, 850 + (i * 97) % 900
        }
    }'
}

for lecturas in 12 36 130; do
    for tarifa in 3.1 1.1; do
        estudio "$lecturas" "$tarifa" >"$tmp/fuentes/bancos-$lecturas-lecturas-tarifa-$tarifa.txt"
    done
done
"$bin/tarvik-catalogos" ejemplos "$tmp/fuentes" "$tmp/estudios"

# Spanish reports with a Spanish locale (decimal comma), English ones with a British one.
informe() {
    case $3 in
    es) LANG=es_ES.UTF-8 "$bin/tarvik-cli" report "$1" -o "$2" --lang es ;;
    en) LANG=en_GB.UTF-8 "$bin/tarvik-cli" report "$1" -o "$2" --lang en ;;
    esac
}

for estudio in "$tmp/estudios"/*.fac; do
    for idioma in es en; do
        informe "$estudio" "$destino/$(basename "$estudio" .fac)-$idioma.pdf" "$idioma"
    done
done
for estudio in "$raiz"/examples/*.fac; do
    informe "$estudio" "$destino/$(basename "$estudio" .fac).pdf" es
done
informe "$raiz/examples/filtros-400v-mensual.fac" "$destino/filtros-400v-mensual-en.pdf" en

# Sample pages of the one-year example: the first page, the first description page, the chart.
ejemplo=$destino/bancos-400v-mensual.pdf
paginas=$(pdfinfo "$ejemplo" | awk '/^Pages:/ { print $2 }')
pagina() {
    pdftoppm -r 60 -png -singlefile -f "$1" -l "$1" "$ejemplo" "$destino/$2"
}
pagina 1 informe-final
pagina $((paginas - 1)) descripciones
pagina "$paginas" grafico
