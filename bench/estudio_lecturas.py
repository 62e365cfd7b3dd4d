#!/usr/bin/env python3
"""Writes the source text of a study with N monthly readings, for the report benchmarks.

The customer and the parameters are those of examples/bancos-400v-mensual; its twelve bills repeat
year after year, each year's amounts nudged a little, so that long reports hold tables of readings
like a real history of bills. tarvik-catalogos turns the text into a .fac study:

    bench/estudio_lecturas.py N CARPETA/estudio-N.txt
    build/bin/tarvik-catalogos ejemplos CARPETA CARPETA     # CARPETA/estudio-N.fac

Standard library only.
"""

import pathlib
import sys


def main():
    if len(sys.argv) != 3 or not sys.argv[1].isdigit() or int(sys.argv[1]) < 1:
        sys.exit("usage: estudio_lecturas.py N OUT.txt")
    n = int(sys.argv[1])
    origen = pathlib.Path(__file__).resolve().parent.parent / "tools/ejemplos/bancos-400v-mensual.txt"
    lineas = origen.read_text(encoding="utf-8").splitlines()
    marca = lineas.index("lecturas:")
    # Everything up to the column names, then the twelve bills.
    cabecera, anio = lineas[: marca + 2], lineas[marca + 2 :]
    salida = list(cabecera)
    for i in range(n):
        campos = [c.strip() for c in anio[i % 12].split(",")]
        vuelta = i // 12
        campos[1] = str(int(campos[1]) + vuelta)
        # kWh, kvarh and peak demand move by up to a few percent from year to year.
        for k, paso in ((2, 0.013), (3, 0.017), (4, 0.011)):
            factor = 1 + paso * ((vuelta * 7 + i) % 5 - 2)
            campos[k] = str(round(float(campos[k]) * factor))
        salida.append(", ".join(campos))
    pathlib.Path(sys.argv[2]).write_text("\n".join(salida) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
