#!/usr/bin/env python3
"""Start-up of the desktop program: time to the main window and peak memory.

Runs the program several times with TARVIK_MEDIR_ARRANQUE=1, which makes it report how long each
start-up step took and end as soon as its main window has been painted. The start-up picture's
fixed 2000 ms pause is left out of every figure. Reported, as medians of the runs:

  arranque      process start to the main window painted, without the pause: the time before
                main() (loading the program and its libraries) plus the program's own steps
  tras_pausa    from the end of the pause (start-up picture closed) to the main window painted
  procesador    processor time the process used up to the main window, without the pause
  memoria       peak resident memory of the whole run (getrusage ru_maxrss)

and the program's steps one by one. Each platform gets one warm-up run that is not counted.

Usage: bench/arranque.py [--programa build/bin/tarvik] [--veces 7] [--plataforma offscreen|xcb|todas]
The "xcb" platform needs an X display; without one the runs go through xvfb-run.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

RAIZ = Path(__file__).resolve().parent.parent
OBJETIVO_MS = 150.0
OBJETIVO_MB = 60.0
PASOS = ["qapplication", "idioma", "principal", "presentacion", "ventanas", "mostrar"]


def ejecutar(programa, plataforma):
    """One run: the program's reported steps plus the figures measured from outside."""
    with tempfile.TemporaryDirectory() as ajustes, tempfile.TemporaryDirectory() as ejecucion:
        os.chmod(ejecucion, 0o700)
        entorno = dict(os.environ, TARVIK_MEDIR_ARRANQUE="1", QT_QPA_PLATFORM=plataforma,
                       XDG_CONFIG_HOME=ajustes, XDG_RUNTIME_DIR=ejecucion)
        lanzado = time.monotonic_ns()
        proceso = subprocess.Popen([str(programa)], env=entorno, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE, text=True)
        salida = proceso.stderr.read()
        _, estado, uso = os.wait4(proceso.pid, 0)
        proceso.returncode = os.waitstatus_to_exitcode(estado)
    linea = next((l for l in salida.splitlines() if l.startswith("tarvik-arranque ")), None)
    if proceso.returncode != 0 or linea is None:
        sys.exit(f"{programa} ({plataforma}) ended with {proceso.returncode} without its timing:\n{salida}")
    valores = dict(campo.split("=", 1) for campo in linea.split()[1:])
    antes_main = (int(valores.pop("inicio_ns")) - lanzado) / 1e6
    medida = {paso: float(valor) for paso, valor in valores.items()}
    medida["antes_main"] = antes_main
    medida["arranque"] = antes_main + medida["total"]
    medida["tras_pausa"] = medida["mostrar"]
    medida["memoria"] = uso.ru_maxrss / 1024.0  # kB -> MB
    return medida


def medir(programa, plataforma, veces):
    ejecutar(programa, plataforma)  # warm-up: page cache, font cache
    return [ejecutar(programa, plataforma) for _ in range(veces)]


def maquina():
    modelo = "?"
    with open("/proc/cpuinfo") as cpu:
        for linea in cpu:
            if linea.startswith("model name"):
                modelo = linea.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as mem:
        total_kb = int(mem.readline().split()[1])
    carga = os.getloadavg()
    return (f"{os.cpu_count()} cores ({len(os.sched_getaffinity(0))} usable), {modelo}, "
            f"{total_kb / 1024 / 1024:.1f} GiB RAM; load average {carga[0]:.2f} at the start")


def informar(plataforma, medidas):
    def mediana(clave):
        return statistics.median(m[clave] for m in medidas)

    def intervalo(clave):
        valores = [m[clave] for m in medidas]
        return f"{mediana(clave):8.1f}  ({min(valores):.1f} .. {max(valores):.1f})"

    print(f"\n## {plataforma}: {len(medidas)} runs, medians (min .. max)")
    print(f"  arranque    ms {intervalo('arranque')}   target < {OBJETIVO_MS:.0f} ms")
    print(f"  tras_pausa  ms {intervalo('tras_pausa')}")
    print(f"  procesador  ms {intervalo('procesador')}")
    print(f"  memoria     MB {intervalo('memoria')}   target < {OBJETIVO_MB:.0f} MB")
    print(f"  steps, ms:  antes_main {mediana('antes_main'):.1f}  " +
          "  ".join(f"{p} {mediana(p):.1f}" for p in PASOS) +
          f"  (pause {mediana('espera'):.0f}, left out)")
    return mediana("arranque") < OBJETIVO_MS and mediana("memoria") < OBJETIVO_MB


def main():
    argumentos = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    argumentos.add_argument("--programa", type=Path, default=RAIZ / "build" / "bin" / "tarvik")
    argumentos.add_argument("--veces", type=int, default=7)
    argumentos.add_argument("--plataforma", choices=["offscreen", "xcb", "todas"], default="todas")
    argumentos.add_argument("--sin-maquina", action="store_true", help=argparse.SUPPRESS)
    a = argumentos.parse_args()
    if not a.programa.is_file():
        sys.exit(f"{a.programa} not found: build the target tarvik first")

    if not a.sin_maquina:
        print(f"# Start-up of {a.programa}\n{maquina()}")
    cumplido = True
    for plataforma in (["offscreen", "xcb"] if a.plataforma == "todas" else [a.plataforma]):
        if plataforma == "xcb" and not os.environ.get("DISPLAY"):
            if not shutil.which("xvfb-run"):
                print("\n## xcb: skipped (no X display and no xvfb-run)")
                continue
            # The same measurement inside a virtual X server.
            orden = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", sys.executable, __file__,
                     "--programa", str(a.programa), "--veces", str(a.veces), "--plataforma", "xcb",
                     "--sin-maquina"]
            cumplido &= subprocess.run(orden).returncode == 0
            continue
        cumplido &= informar(plataforma, medir(a.programa, plataforma, a.veces))
    return 0 if cumplido else 1


if __name__ == "__main__":
    sys.exit(main())
