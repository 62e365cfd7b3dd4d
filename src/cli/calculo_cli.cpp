// The calc and totals commands.

#include "cli/comandos.h"
#include "cli/registros_json.h"
#include "core/engine/calculo.h"
#include "core/results/tablas.h"
#include "core/results/totales.h"
#include "core/study/estudio.h"

#include <cstdio>

namespace tarvik::cli {

int EjecutarCalc(Contexto& c, const Argumentos&) {
    Sesion& s = c.sesion;
    const bool ok = Calcular(s, c.panel, c.mensajes, c.separador);
    Json salida = Json::Objeto()
                      .Agregar("ok", ok)
                      .Agregar("messages", MensajesJson(c.mensajes))
                      .Agregar("study", EstudioJson(s.Datos))
                      .Agregar("analysis", AnalisisJson(s.Analisis))
                      .Agregar("readings", LecturasJson(s.Lecturas))
                      .Agregar("equipment", EquiposJson(s.EquiposSeleccionados))
                      .Agregar("transformers",
                               TransformadoresJson(s.TransformadoresSeleccionados, s.EquiposSeleccionados))
                      .Agregar("conductors", ConductoresJson(s.ConductoresSeleccionados));
    if (ok) {
        // The tables as the results window fills them after a calculation.
        salida.Agregar(
            "tables",
            Json::Objeto()
                .Agregar("equipment", RejillaJson(MostrarEquipos(s.EquiposSeleccionados, c.panel.equipos,
                                                                 c.panel.tarifa, c.separador)))
                .Agregar("transformers",
                         RejillaJson(MostrarTransformadores(s.TransformadoresSeleccionados,
                                                            s.EquiposSeleccionados, c.separador)))
                .Agregar("conductors",
                         RejillaJson(MostrarConductores(s.ConductoresSeleccionados, s.EquiposSeleccionados,
                                                        c.panel.tarifa, c.separador))));
    }
    Imprimir(salida.Escribir());
    return ok ? kExito : kRechazado;
}

int EjecutarTotals(Contexto& c, const Argumentos& a) {
    Sesion& s = c.sesion;
    // The program offers Totals only by consumption and with readings.
    if (ModoCalculoDe(c.panel.tipoCalculo) != ModoCalculo::PorConsumo || s.Lecturas.empty()) {
        std::fprintf(stderr, "tarvik-cli: %s: totals need a study calculated by consumption with readings\n",
                     a.estudio.c_str());
        return kErrorUso;
    }
    const bool ok = ValidarYAnalizar(s, c.panel, c.mensajes);
    if (!ok)
        c.mensajes.push_back({TipoMensaje::Error, "error_facturacion", {}});
    Json salida = Json::Objeto().Agregar("ok", ok).Agregar("messages", MensajesJson(c.mensajes));
    if (ok) {
        const TextosTotales t = LlenarTotales(s.Analisis, c.panel.cosenoDeseado, s.Lecturas.size(),
                                              c.panel.tipoLectura, c.separador);
        salida.Agregar("fpb", Json(t.fpb))
            .Agregar("fpm", Json(t.fpm))
            .Agregar("fpd", Json(t.fpd))
            .Agregar("total_penalizacion", Json(t.total_penalizacion));
    }
    Imprimir(salida.Escribir());
    return ok ? kExito : kRechazado;
}

} // namespace tarvik::cli
