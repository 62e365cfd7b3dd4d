#include "platform/avisos.h"

#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QDir>

namespace tarvik {
namespace {

class AvisosMudos : public Avisos {
  public:
    Respuesta Mostrar(TipoMensaje tipo, const QString&) override {
        return tipo == TipoMensaje::Confirmacion ? Respuesta::No : Respuesta::Aceptar;
    }
};

} // namespace

template <> Avisos& Reemplazable<Avisos>::PorDefecto() {
    static AvisosMudos mudos;
    return mudos;
}

QString TextoMensaje(const Mensaje& mensaje) {
    return mensaje.clave.empty() ? QString::fromStdString(mensaje.texto) : TextoQt(mensaje.clave);
}

Mensaje ErrorArchivo(FalloArchivo fallo, const QString& ruta, const QString& motivo) {
    return ErrorArchivo(fallo, QDir::toNativeSeparators(ruta).toStdString(), motivo.toStdString());
}

Respuesta MostrarMensaje(const Mensaje& mensaje) {
    return Reemplazable<Avisos>::Activo().Mostrar(mensaje.tipo, TextoMensaje(mensaje));
}

void MostrarMensajes(const ListaMensajes& mensajes) {
    for (const Mensaje& m : mensajes)
        MostrarMensaje(m);
}

} // namespace tarvik
