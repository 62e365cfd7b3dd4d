#include "core/engine/calculo.h"

#include <cmath>

namespace tarvik {

namespace {

void Anadir(ListaMensajes& mensajes, TipoMensaje tipo, const char* clave) {
    mensajes.push_back({tipo, clave, {}});
}

// Whether a sum of whole numbers over n readings, averaged, reaches d × 10000. Decided exactly:
// the product d × (10000 n) is p + e with e its rounding error, and S − p is exact near equality.
bool PromedioAlcanza(std::int64_t suma, std::size_t n, double d) {
    const double escala = 10000.0 * static_cast<double>(n);
    const double p = d * escala;
    const double e = std::fma(d, escala, -p);
    return static_cast<double>(suma) - p >= e;
}

} // namespace

bool NecesitaCompensacion(const std::vector<TLectura>& lecturas, double cosenoDeseado,
                          ListaMensajes& mensajes, std::vector<double>& cosenos) {
    const auto fallo = [&] {
        Anadir(mensajes, TipoMensaje::Error, "error_datos");
        return false;
    };
    if (lecturas.empty() || !std::isfinite(cosenoDeseado))
        return fallo();
    std::int64_t suma = 0;
    cosenos.clear();
    cosenos.reserve(lecturas.size());
    for (const TLectura& l : lecturas) {
        if (l.kwht == 0)
            return fallo();
        const double tangente = l.kvarh / l.kwht;
        if (!std::isfinite(tangente))
            return fallo();
        // Ten-thousandths of the power factor, halves to even; a NaN never reaches the integer.
        const double coseno = cosenos.emplace_back(std::cos(std::atan(tangente)));
        const double diezmilesimas = std::nearbyint(coseno * 10000);
        if (!(std::fabs(diezmilesimas) <= 10000))
            return fallo();
        suma += static_cast<std::int64_t>(diezmilesimas);
    }
    if (PromedioAlcanza(suma, lecturas.size(), cosenoDeseado)) {
        Anadir(mensajes, TipoMensaje::Informacion, "no_compensacion");
        return false;
    }
    return true;
}

bool ValidarPotencia(const DatosPanel& panel, ListaMensajes& mensajes) {
    bool valido = true;
    if (panel.potenciaMaxima <= 0) {
        Anadir(mensajes, TipoMensaje::Informacion, "error_potencia_maxima");
        valido = false;
    }
    if (panel.tieneTransformador && panel.transformadorEntrada <= 0) {
        Anadir(mensajes, TipoMensaje::Informacion, "error_cpc_value");
        valido = false;
    }
    return valido;
}

bool ValidarYAnalizar(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes) {
    if (ModoCalculoDe(panel.tipoCalculo) == ModoCalculo::PorConsumo) {
        std::vector<double> cosenos;
        if (!NecesitaCompensacion(sesion.Lecturas, panel.cosenoDeseado, mensajes, cosenos))
            return false;
        if (!AnalisisConsumo(sesion, panel, cosenos)) {
            Anadir(mensajes, TipoMensaje::Error, "error_facturacion");
            return false;
        }
        return true;
    }
    if (!ValidarPotencia(panel, mensajes))
        return false;
    return AnalisisPotenciaContratada(sesion.Analisis, panel);
}

bool SeleccionarEquipos(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes) {
    if (EquipamientoDe(panel.equipos) == Equipamiento::Filtros) {
        const bool seleccionado = SeleccionarFiltros(sesion, panel, mensajes);
        if (!seleccionado)
            Anadir(mensajes, TipoMensaje::Informacion, "no_filtros");
        return seleccionado;
    }
    switch (panel.temperatura) {
    case 0: {
        const bool seleccionado = SeleccionarBaterias(sesion, panel, mensajes);
        if (!seleccionado)
            Anadir(mensajes, TipoMensaje::Informacion, "no_baterias");
        return seleccionado;
    }
    case 1:
        // Hot installations need the cooled series, designed on request.
        Anadir(mensajes, TipoMensaje::Informacion, "baterias_35");
        return false;
    default:
        Anadir(mensajes, TipoMensaje::Informacion, "no_existen_baterias");
        return false;
    }
}

bool Calcular(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes, char separadorDecimal) {
    RecogerDatos(panel, sesion.Datos);
    if (!ValidarYAnalizar(sesion, panel, mensajes) || !SeleccionarEquipos(sesion, panel, mensajes)) {
        sesion.calculoRealizado = false;
        sesion.resultadosObsoletos = true;
        return false;
    }
    SeleccionarConductores(sesion, separadorDecimal);
    SeleccionarTransformadores(sesion);
    return true;
}

} // namespace tarvik
