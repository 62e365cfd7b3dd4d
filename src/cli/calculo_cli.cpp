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

RespuestaEstudio Totals(Contexto& c) {
    Sesion& s = c.sesion;
    // The program offers Totals only by consumption and with readings.
    if (ModoCalculoDe(c.panel.tipoCalculo) != ModoCalculo::PorConsumo || s.Lecturas.empty())
        return {{}, kErrorUso, "totals need a study calculated by consumption with readings", {}};
    const bool ok = ValidarYAnalizar(s, c.panel, c.mensajes);
    if (!ok)
        c.mensajes.push_back({TipoMensaje::Error, "error_facturacion", {}});
    QJsonObject salida{{"ok", ok}, {"messages", MensajesJson(c.mensajes)}};
    if (ok) {
        const TextosTotales t = LlenarTotales(s.Analisis, c.panel.cosenoDeseado, s.Lecturas.size(),
                                              c.panel.tipoLectura, c.separador);
        const Amortizacion a = AmortizacionDelEstudio(s, c.panel);
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
int ImprimirCadaUno(const Argumentos& a, const Entorno& e, RespuestaEstudio (*porEstudio)(Contexto&)) {
    return RecorrerEstudios(a, e, porEstudio, [](const std::string& ruta, RespuestaEstudio& r, bool varios) {
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
    });
}

} // namespace

int RecorrerEstudios(const Argumentos& a, const Entorno& e,
                     const std::function<RespuestaEstudio(Contexto&)>& porEstudio,
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
        [&](std::size_t i) {
            Contexto c;
            RespuestaEstudio r;
            if (!CargarEstudio(estudios[i], e, c, r.error)) {
                r.codigo = kErrorUso;
                return r;
            }
            return porEstudio(c);
        },
        [&](std::size_t i, RespuestaEstudio& r) {
            peor = std::max(peor, r.codigo);
            escribir(estudios[i], r, varios);
            if (varios)
                progreso.Avanzar();
        });
    return peor;
}

int EjecutarCalc(const Argumentos& a, const Entorno& e) {
    return ImprimirCadaUno(a, e, Calc);
}

int EjecutarTotals(const Argumentos& a, const Entorno& e) {
    return ImprimirCadaUno(a, e, Totals);
}

} // namespace tarvik::cli
