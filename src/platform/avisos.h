#pragma once
// Every message box of the system passes through one replaceable interface: the desktop program
// shows modal boxes, tests answer them, the command-line front end prints them.

#include "core/lang/mensajes.h"
#include "platform/reemplazable.h"

#include <QString>

namespace tarvik {

enum class Respuesta { Aceptar, Si, No };

class Avisos {
  public:
    virtual ~Avisos() = default;
    // Shows a text of a kind; a confirmation returns Si or No, the others Aceptar.
    virtual Respuesta Mostrar(TipoMensaje tipo, const QString& texto) = 0;
};

// Until the program or a test replaces them, messages go nowhere and confirmations count as No.
template <> Avisos& Reemplazable<Avisos>::PorDefecto();

// The text of a message: its key translated in the active language, or its own text when it has no key.
QString TextoMensaje(const Mensaje& mensaje);

// A file that could not be opened, created or written, in the active language, naming the file as
// the desktop writes paths and giving the system's reason.
Mensaje ErrorArchivo(FalloArchivo fallo, const QString& ruta, const QString& motivo);
// Shows a message: its key translated in the active language, or its own text when it has no key.
Respuesta MostrarMensaje(const Mensaje& mensaje);
// Shows every message of a list, in order.
void MostrarMensajes(const ListaMensajes& mensajes);

} // namespace tarvik
