// The report command: the calculation, then the calculation report into a PDF file.

#include "cli/comandos.h"
#include "core/engine/calculo.h"
#include "platform/avisos.h"
#include "platform/informe_qt.h"
#include "platform/reemplazable.h"

#include <QString>

namespace tarvik::cli {

namespace {

// "0,1,2": the sections to print by their place in the options dialog; each at most once.
bool LeerSecciones(const std::string& texto, SeccionesInforme& secciones) {
    secciones = {false, false, false};
    std::size_t desde = 0;
    while (desde <= texto.size()) {
        const std::size_t coma = std::min(texto.find(',', desde), texto.size());
        const std::string numero = texto.substr(desde, coma - desde);
        const std::size_t i =
            numero.size() == 1 ? static_cast<std::size_t>(numero[0] - '0') : secciones.size();
        if (i >= secciones.size() || secciones[i])
            return false;
        secciones[i] = true;
        desde = coma + 1;
    }
    return true;
}

void MensajesAlError(const ListaMensajes& mensajes) {
    for (const Mensaje& m : mensajes)
        Error(TextoMensaje(m).toStdString());
}

// Message boxes raised outside the engine are kept with the engine's messages, in order; a
// confirmation is answered Yes, since nobody is there to answer it.
class AvisosCli : public Avisos {
  public:
    explicit AvisosCli(ListaMensajes& mensajes) : mensajes_(mensajes) {}
    Respuesta Mostrar(TipoMensaje tipo, const QString& texto) override {
        mensajes_.push_back({tipo, "", texto.toStdString()});
        return tipo == TipoMensaje::Confirmacion ? Respuesta::Si : Respuesta::Aceptar;
    }

  private:
    ListaMensajes& mensajes_;
};

} // namespace

int EjecutarReport(const Argumentos& a, const Entorno& e) {
    const auto salida = a.opciones.find("o");
    if (salida == a.opciones.end()) {
        Error("report needs -o OUT.pdf");
        return kErrorUso;
    }
    SeccionesInforme secciones = kTodasLasSecciones;
    const auto elegidas = a.opciones.find("sections");
    if (elegidas != a.opciones.end() && !LeerSecciones(elegidas->second, secciones)) {
        Error("--sections takes 0, 1 and 2 separated by commas");
        return kErrorUso;
    }
    Contexto c;
    if (!CargarEstudio(a, e, c))
        return kErrorUso;
    AvisosCli avisos(c.mensajes);
    const Reemplazo<Avisos> reemplazo(avisos);
    if (!Calcular(c.sesion, c.panel, c.mensajes, c.separador)) {
        MensajesAlError(c.mensajes);
        return kRechazado;
    }
    QString error;
    if (!EscribirInformePdf(c.sesion, secciones, OpcionesLocales(c.separador),
                            QString::fromStdString(salida->second), error)) {
        Error(error.toStdString());
        return kRechazado;
    }
    return kExito;
}

} // namespace tarvik::cli
