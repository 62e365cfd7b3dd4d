#!/usr/bin/env python3
"""Writes N billing files of twelve monthly readings each, with varied installations: every supply
voltage and frequency, banks and filters, with and without harmonics, some tariff "1.1" studies,
some without a reactive surcharge, and a few by contracted power.

    bench/generar_estudios.py CARPETA [N] [--semilla S]
"""
import argparse
import os
import random
import struct

MESES = ["ENERO", "FEBRERO", "MARZO", "ABRIL", "MAYO", "JUNIO", "JULIO", "AGOSTO",
         "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"]


def texto(valor, capacidad):
    datos = valor.encode("cp1252")[:capacidad]
    return bytes([len(datos)]) + datos + bytes(capacidad - len(datos))


def cabecera(r, i):
    b = bytearray(616)
    struct.pack_into("<H", b, 0, 100)
    b[2:103] = texto("TALLERES %05d S.L." % i, 100)
    b[103:204] = texto("MADRID", 100)
    potencia = r.random() < 0.05
    voltaje = r.choice([0, 0, 0, 1, 2])
    frecuencia = 1 if voltaje == 1 else r.choice([0, 0, 0, 1])
    equipos = r.choice([1, 1, 1, 0]) if frecuencia == 0 else 1
    struct.pack_into("<ii", b, 348, r.choice([2, 3, 4, 8]), voltaje)
    b[356:457] = texto("CLIENTE %05d" % i, 100)
    struct.pack_into("<if", b, 556, r.choice([200, 340, 500]), r.choice([0.95, 0.98, 1.0]))
    struct.pack_into("<iiiiiiiii", b, 568, r.choice([0, 0, 1]), 0, 0, 0, frecuencia, 0, 0,
                     1 if potencia else 0, r.randrange(50, 800) if potencia else 0)
    trafo = r.random() < 0.5
    b[604] = 1 if trafo else 0
    struct.pack_into("<ii", b, 608, r.choice([250, 400, 630]) if trafo else 0, equipos)
    return bytes(b)


def lectura(r, mes, base, factor, con_recargo):
    b = bytearray(136)
    b[0:16] = texto(mes, 15)
    kwh = round(base * r.uniform(0.8, 1.2))
    kvarh = round(kwh * factor * r.uniform(0.9, 1.1))
    struct.pack_into("<i", b, 16, 2025)
    struct.pack_into("<d", b, 24, kwh)
    struct.pack_into("<dddddd", b, 64, round(kwh / 200), 0, kvarh, 0, round(kwh * 0.02), 630)
    struct.pack_into("<dd", b, 120, round(kwh * 0.11), round(kvarh * 0.004) if con_recargo else 0)
    return bytes(b)


def main():
    a = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    a.add_argument("carpeta")
    a.add_argument("n", nargs="?", type=int, default=10000)
    a.add_argument("--semilla", type=int, default=16)
    args = a.parse_args()
    r = random.Random(args.semilla)
    os.makedirs(args.carpeta, exist_ok=True)
    for i in range(args.n):
        base = r.choice([3000, 12000, 40000, 90000])
        factor = r.uniform(0.45, 1.0)
        con_recargo = r.random() > 0.1
        datos = cabecera(r, i) + b"".join(lectura(r, m, base, factor, con_recargo) for m in MESES)
        with open(os.path.join(args.carpeta, "estudio-%05d.fac" % i), "wb") as f:
            f.write(datos)


if __name__ == "__main__":
    main()
