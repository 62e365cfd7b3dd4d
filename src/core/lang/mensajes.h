#pragma once
// Messages that core operations ask the front end to show, in order.

#include <string>
#include <vector>

namespace tarvik {

enum class TipoMensaje { Error, Informacion, Confirmacion };

// A message by translation key; the front end fetches the text in the active language when it
// shows it. `texto` carries a text that has no key (a system reason naming a file).
struct Mensaje {
    TipoMensaje tipo = TipoMensaje::Error;
    std::string clave;
    std::string texto;
    bool operator==(const Mensaje&) const = default;
};

using ListaMensajes = std::vector<Mensaje>;

enum class FalloArchivo { Abrir, Crear, Escribir };

// A file that could not be opened, created or written, in the active language, naming the file and giving
// the system's reason as it came (UTF-8 texts).
Mensaje ErrorArchivo(FalloArchivo fallo, const std::string& ruta, const std::string& motivo);

} // namespace tarvik
