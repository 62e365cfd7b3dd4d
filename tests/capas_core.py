#!/usr/bin/env python3
"""The core's includes follow its layers.

Nothing under src/core includes a Qt, POSIX or Windows header (only the C++ standard library),
and each core folder includes only itself and the folders below it:

    util < lang < study < catalogue < engine < results < report

Usage: capas_core.py SRC_DIR   (the folder that holds core/). Prints every offending include as
file:line: reason and exits 1 when there is any.
"""

import pathlib
import re
import sys

CAPAS = ["util", "lang", "study", "catalogue", "engine", "results", "report"]

# Headers of the operating systems: POSIX (and its common extensions) and the Windows API.
POSIX = {
    "unistd.h", "fcntl.h", "dirent.h", "dlfcn.h", "pthread.h", "poll.h", "termios.h", "pwd.h",
    "grp.h", "syslog.h", "sched.h", "semaphore.h", "spawn.h", "glob.h", "fnmatch.h", "regex.h",
    "strings.h", "aio.h", "mqueue.h", "utime.h", "libgen.h", "netdb.h", "iconv.h", "langinfo.h",
    "wordexp.h", "ftw.h", "err.h", "execinfo.h", "malloc.h", "alloca.h", "getopt.h", "endian.h",
}
POSIX_CARPETAS = ("sys/", "netinet/", "arpa/", "linux/", "asm/", "bits/", "mach/")
WINDOWS = {
    "windows.h", "winbase.h", "windef.h", "winnt.h", "winuser.h", "winsock.h", "winsock2.h",
    "ws2tcpip.h", "shlobj.h", "shellapi.h", "shlwapi.h", "tchar.h", "io.h", "direct.h",
    "process.h", "conio.h", "objbase.h", "combaseapi.h", "winerror.h",
    "share.h", "winreg.h", "knownfolders.h", "fileapi.h", "handleapi.h", "synchapi.h",
}

# The C++ standard library (C++20), with the C headers in their <cname> form.
ESTANDAR = set("""
algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv chrono
cinttypes climits clocale cmath codecvt compare complex concepts condition_variable coroutine
csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype deque
exception execution filesystem format forward_list fstream functional future initializer_list
iomanip ios iosfwd iostream istream iterator latch limits list locale map memory memory_resource
mutex new numbers numeric optional ostream queue random ranges ratio regex scoped_allocator
semaphore set shared_mutex source_location span sstream stack stdexcept stop_token streambuf
string string_view syncstream system_error thread tuple type_traits typeindex typeinfo
unordered_map unordered_set utility valarray variant vector version
""".split())

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def motivo_sistema(nombre):
    if nombre.startswith("Q") or nombre.lower().startswith("qt"):
        return "a Qt header"
    if nombre in POSIX or nombre.startswith(POSIX_CARPETAS):
        return "a POSIX header"
    if nombre.lower() in WINDOWS or nombre.lower().startswith("win"):
        return "a Windows header"
    if nombre not in ESTANDAR:
        return "not a header of the C++ standard library"
    return None


def motivo_propio(nombre, carpeta, archivo):
    if (archivo.parent / nombre).is_file() and "/" not in nombre:
        return None  # a file beside it, in its own folder
    partes = nombre.split("/")
    if len(partes) < 3 or partes[0] != "core":
        return "outside the core"
    if partes[1] not in CAPAS:
        return "core/%s is no layer of the core" % partes[1]
    if CAPAS.index(partes[1]) > CAPAS.index(carpeta):
        return "%s is above %s" % (partes[1], carpeta)
    return None


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-2].strip(), file=sys.stderr)
        return 2
    core = pathlib.Path(sys.argv[1]) / "core"
    fallos = []
    archivos = sorted(p for p in core.rglob("*") if p.suffix in (".h", ".cpp", ".inc"))
    if not archivos:
        print("no core sources under %s" % core, file=sys.stderr)
        return 2
    for archivo in archivos:
        relativo = archivo.relative_to(core)
        carpeta = relativo.parts[0] if len(relativo.parts) > 1 else None
        if carpeta not in CAPAS:
            fallos.append("%s: the folder %s is no layer of the core" % (archivo, carpeta))
            continue
        for numero, linea in enumerate(archivo.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(linea)
            if not m:
                continue
            nombre = m.group(2).strip()
            if m.group(1) == "<":
                motivo = motivo_sistema(nombre)
            else:
                motivo = motivo_propio(nombre, carpeta, archivo)
            if motivo:
                fallos.append("%s:%d: includes %s: %s" % (archivo, numero, nombre, motivo))
    for f in fallos:
        print(f)
    return 1 if fallos else 0


if __name__ == "__main__":
    sys.exit(main())
