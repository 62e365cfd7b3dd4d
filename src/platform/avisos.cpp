#include "platform/avisos.h"

#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

namespace tarvik {
namespace {

// Until the program installs its boxes, messages go nowhere and confirmations count as No.
class AvisosMudos : public Avisos {
  public:
    Respuesta Mostrar(TipoMensaje tipo, const QString&) override {
        return tipo == TipoMensaje::Confirmacion ? Respuesta::No : Respuesta::Aceptar;
    }
};

AvisosMudos g_mudos;
Avisos* g_activos = &g_mudos;

} // namespace

Avisos& AvisosActivos() {
    return *g_activos;
}
void EstablecerAvisos(Avisos* avisos) {
    g_activos = avisos ? avisos : &g_mudos;
}

QString TextoMensaje(const Mensaje& mensaje) {
    return mensaje.clave.empty() ? QString::fromStdString(mensaje.texto) : TextoQt(mensaje.clave);
}

Respuesta MostrarMensaje(const Mensaje& mensaje) {
    return AvisosActivos().Mostrar(mensaje.tipo, TextoMensaje(mensaje));
}

void MostrarMensajes(const ListaMensajes& mensajes) {
    for (const Mensaje& m : mensajes)
        MostrarMensaje(m);
}

} // namespace tarvik
