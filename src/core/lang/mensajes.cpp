#include "core/lang/mensajes.h"

#include "core/lang/traduccion.h"

namespace tarvik {

Mensaje ErrorArchivo(FalloArchivo fallo, const std::string& ruta, const std::string& motivo) {
    const bool espanol = IdiomaActivo() == kEspanol;
    const char* accion = nullptr;
    switch (fallo) {
    case FalloArchivo::Abrir:
        accion = espanol ? "No se puede abrir el archivo" : "Cannot open file";
        break;
    case FalloArchivo::Crear:
        accion = espanol ? "No se puede crear el archivo" : "Cannot create file";
        break;
    case FalloArchivo::Escribir:
        accion = espanol ? "No se puede escribir el archivo" : "Cannot write file";
        break;
    }
    return {TipoMensaje::Error, {}, std::string(accion) + " \"" + ruta + "\". " + motivo};
}

} // namespace tarvik
