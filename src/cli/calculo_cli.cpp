// The calc and totals commands, on one study or many, and the run over many studies they share
// with the summary.

#include "cli/comandos.h"
#include "cli/lote.h"
#include "cli/registros_json.h"
#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "core/results/amortizacion.h"
#include "core/results/tablas.h"
#include "core/results/totales.h"
#include "core/study/estudio.h"

#include <optional>

namespace tarvik::cli {

namespace {

RespuestaEstudio Calc(Contexto& c) {
    Sesion& s = c.sesion;
    const bool ok = Calcular(s, c.panel, c.mensajes, c.separador);
    QJsonObject salida{
        {"ok", ok},
        {"messages", MensajesJson(c.mensajes)},
        {"study", EstudioJson(s.Datos)},
        {"analysis", AnalisisJson(s.Analisis)},
        {"readings", LecturasJson(s.Lecturas)},
        {"equipment", EquiposJson(s.EquiposSeleccionados)},
        {"transformers", TransformadoresJson(s.TransformadoresSeleccionados, s.EquiposSeleccionados)},
        {"conductors", ConductoresJson(s.ConductoresSeleccionados)},
    };
    if (ok) {
        // The tables as the results window fills them after a calculation.
        salida.insert(
            "tables",
            QJsonObject{
                {"equipment", RejillaJson(MostrarEquipos(s.EquiposSeleccionados, c.panel.equipos,
                                                         c.panel.tarifa, c.separador))},
                {"transformers", RejillaJson(MostrarTransformadores(s.TransformadoresSeleccionados,
                                                                    s.EquiposSeleccionados, c.separador))},
                {"conductors",
                 RejillaJson(MostrarConductores(s.ConductoresSeleccionados, s.EquiposSeleccionados,
                                                c.panel.tarifa, c.separador))}});
    }
    return {salida, ok ? kExito : kRechazado, {}, {}};
}

// The totals read the study without holding its readings: each is checked and analysed as it is
// read, so that a study of a million readings takes the memory of one block of them.
RespuestaEstudio Totals(const std::string& ruta, const Entorno& e, Hilos hilos) {
    Contexto c;
    RespuestaEstudio r;
    std::optional<ValidacionEnCurso> validacion;
    if (!RecorrerEstudio(
            ruta, e, c, r.error, [&] { validacion.emplace(c.sesion, c.panel); },
            [&](std::span<const TCifrasLectura> lecturas) { validacion->Anadir(lecturas); }, hilos)) {
        r.codigo = kErrorUso;
        return r;
    }
    const Sesion& s = c.sesion;
    const std::size_t lecturas = validacion->Lecturas();
    // The program offers Totals only by consumption and with readings.
    if (ModoCalculoDe(c.panel.tipoCalculo) != ModoCalculo::PorConsumo || lecturas == 0)
        return {{}, kErrorUso, "totals need a study calculated by consumption with readings", {}};
    const bool ok = validacion->Terminar(c.mensajes);
    if (!ok)
        c.mensajes.push_back({TipoMensaje::Error, "error_facturacion", {}});
    QJsonObject salida{{"ok", ok}, {"messages", MensajesJson(c.mensajes)}};
    if (ok) {
        const TextosTotales t =
            LlenarTotales(s.Analisis, c.panel.cosenoDeseado, lecturas, c.panel.tipoLectura, c.separador);
        const Amortizacion a = AmortizacionDelAnalisis(s, c.panel, lecturas);
        salida.insert("fpb", Texto1252(t.fpb));
        salida.insert("fpm", Texto1252(t.fpm));
        salida.insert("fpd", Texto1252(t.fpd));
        salida.insert("total_penalizacion", Texto1252(t.total_penalizacion));
        salida.insert("investment", Texto1252(TextoInversion(a, c.separador, IdiomaActivo())));
        salida.insert("payback", Texto1252(TextoAmortizacion(a, c.separador, IdiomaActivo())));
    }
    return {salida, ok ? kExito : kRechazado, {}, {}};
}

// One JSON object for one study, one line per study for several.
void ImprimirRespuesta(const std::string& ruta, RespuestaEstudio& r, bool varios) {
    if (!varios) {
        if (r.error.empty())
            Imprimir(r.objeto, false);
        else
            Error(ruta + ": " + r.error);
        return;
    }
    if (!r.error.empty())
        r.objeto = QJsonObject{{"ok", false}, {"error", QString::fromStdString(r.error)}};
    r.objeto.insert("file", QString::fromStdString(ruta));
    Imprimir(r.objeto, true);
}

} // namespace

int RecorrerEstudios(const Argumentos& a, const Entorno& e,
                     const std::function<RespuestaEstudio(Contexto&)>& porEstudio,
                     const std::function<void(const std::string&, RespuestaEstudio&, bool)>& escribir) {
    return RecorrerRutas(
        a,
        [&](const std::string& ruta, Hilos) {
            Contexto c;
            RespuestaEstudio r;
            if (!CargarEstudio(ruta, e, c, r.error)) {
                r.codigo = kErrorUso;
                return r;
            }
            return porEstudio(c);
        },
        escribir);
}

int RecorrerRutas(const Argumentos& a,
                  const std::function<RespuestaEstudio(const std::string&, Hilos)>& porRuta,
                  const std::function<void(const std::string&, RespuestaEstudio&, bool)>& escribir) {
    std::vector<std::string> estudios;
    bool varios = false;
    std::string motivo;
    if (!ListarEstudios(a.archivos, estudios, varios, motivo)) {
        Error(motivo);
        return kErrorUso;
    }
    int peor = kExito;
    Progreso progreso(varios ? estudios.size() : 0);
    EnOrden<RespuestaEstudio>(
        estudios.size(),
        [&](std::size_t i) { return porRuta(estudios[i], estudios.size() == 1 ? Hilos::Dos : Hilos::Uno); },
        [&](std::size_t i, RespuestaEstudio& r) {
            peor = std::max(peor, r.codigo);
            escribir(estudios[i], r, varios);
            if (varios)
                progreso.Avanzar();
        });
    return peor;
}

int EjecutarCalc(const Argumentos& a, const Entorno& e) {
    return RecorrerEstudios(a, e, Calc, ImprimirRespuesta);
}

int EjecutarTotals(const Argumentos& a, const Entorno& e) {
    return RecorrerRutas(
        a, [&](const std::string& ruta, Hilos hilos) { return Totals(ruta, e, hilos); }, ImprimirRespuesta);
}

} // namespace tarvik::cli
