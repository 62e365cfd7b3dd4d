#pragma once
// Opening a billing file (.fac) from disk and saving it so that a failure never tears the study.

#include "core/study/facturacion.h"

#include <string>
#include <vector>

namespace tarvik {

// Reads and decodes a whole file, a block of readings at a time, so that a large study is never
// held twice. A folder, a device, a pipe (refused before it is opened, so it cannot hang the
// program) and a file larger than kTamMaximoArchivo are refused with the system's reason; nothing
// outside the result changes. `ruta` is in the local 8-bit encoding of file names.
ResultadoCarga CargarFacturacion(const std::string& ruta, const TDatosEstudio& previo);

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
