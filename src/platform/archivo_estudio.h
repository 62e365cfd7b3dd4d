#pragma once
// Opening a billing file (.fac) from disk and saving it so that a failure never tears the study.

#include "core/study/facturacion.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tarvik {

// Reads and decodes a whole file, a block of readings at a time, so that a large study is never
// held twice. A folder, a device, a pipe (refused before it is opened, so it cannot hang the
// program) and a file larger than kTamMaximoArchivo are refused with the system's reason; nothing
// outside the result changes. `ruta` is in the local 8-bit encoding of file names.
ResultadoCarga CargarFacturacion(const std::string& ruta, const TDatosEstudio& previo);

// Whether a large study may be read on a second thread while the calling one takes its readings:
// not when every processor already has a study of its own.
enum class Hilos { Uno, Dos };

// Reads a study as CargarFacturacion does, with the same checks and the same result, but keeps none
// of its readings: `alEmpezar` gets the study's fields as soon as the header is decoded, then
// `porBloque` the figures of the readings (all that the consumption analysis takes of them) as they
// are decoded, a run at a time and in the file's order, so that a study of any length takes the
// memory of a few blocks of readings. Both are called on the calling thread; with Hilos::Dos a large
// study is read on a second one meanwhile. When the read fails after some readings were handed
// over, the result's error says that they are not a study to be used.
ResultadoCarga RecorrerFacturacion(const std::string& ruta, const TDatosEstudio& previo,
                                   const std::function<void(const TDatosEstudio&)>& alEmpezar,
                                   const std::function<void(std::span<const TCifrasLectura>)>& porBloque,
                                   Hilos hilos = Hilos::Uno);

struct ResultadoGuardado {
    bool ok = true;
    std::string detalle; // the system's reason on failure
};

// Writes the study to a temporary file beside the target and puts it in the target's place only
// after a complete write, so a failure or a kill never leaves a torn or missing study behind. A
// new study gets the permissions of the user's file-creation mask, an existing one keeps its own,
// and a symbolic link keeps pointing at the study it names, which is the file that changes. Only
// where the folder cannot hold the temporary file is an existing study written in place.
ResultadoGuardado GuardarFacturacion(const std::string& ruta, const TDatosEstudio& datos,
                                     const std::vector<TLectura>& lecturas);

} // namespace tarvik
