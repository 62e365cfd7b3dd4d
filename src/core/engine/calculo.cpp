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

// The answer of a consumption analysis, with the message of one that failed.
bool Analizado(bool analizado, ListaMensajes& mensajes) {
    if (!analizado)
        Anadir(mensajes, TipoMensaje::Error, "error_facturacion");
    return analizado;
}

} // namespace

CompensacionEnCurso::CompensacionEnCurso(double cosenoDeseado)
    : deseado_(cosenoDeseado), fallo_(!std::isfinite(cosenoDeseado)) {}

std::optional<FactorPotencia> CompensacionEnCurso::Anadir(const TLectura& l) {
    if (fallo_)
        return std::nullopt;
    ++lecturas_;
    fallo_ = true; // until this reading has gone through
    if (l.kwht == 0)
        return std::nullopt;
    const double tangente = l.kvarh / l.kwht;
    if (!std::isfinite(tangente))
        return std::nullopt;
    // Ten-thousandths of the power factor, halves to even; a NaN never reaches the integer.
    FactorPotencia coseno(tangente);
    const double diezmilesimas = coseno.Diezmilesimas();
    if (!(std::fabs(diezmilesimas) <= 10000))
        return std::nullopt;
    suma_ += static_cast<std::int64_t>(diezmilesimas);
    fallo_ = false;
    return coseno;
}

bool CompensacionEnCurso::Necesita(ListaMensajes& mensajes) const {
    if (fallo_ || lecturas_ == 0) {
        tarvik::Anadir(mensajes, TipoMensaje::Error, "error_datos");
        return false;
    }
    if (PromedioAlcanza(suma_, lecturas_, deseado_)) {
        tarvik::Anadir(mensajes, TipoMensaje::Informacion, "no_compensacion");
        return false;
    }
    return true;
}

bool NecesitaCompensacion(const std::vector<TLectura>& lecturas, double cosenoDeseado,
                          ListaMensajes& mensajes, std::vector<double>& cosenos) {
    CompensacionEnCurso compensacion(cosenoDeseado);
    cosenos.clear();
    cosenos.reserve(lecturas.size());
    for (const TLectura& l : lecturas) {
        std::optional<FactorPotencia> coseno = compensacion.Anadir(l);
        if (!coseno)
            break;
        cosenos.push_back(coseno->Exacto());
    }
    return compensacion.Necesita(mensajes);
}

ValidacionEnCurso::ValidacionEnCurso(Sesion& sesion, const DatosPanel& panel)
    : sesion_(sesion), panel_(panel), compensacion_(panel.cosenoDeseado),
      analisis_(sesion.Analisis, panel, AnalisisEnCurso::Cosenos::Omitir) {}

void ValidacionEnCurso::Anadir(TLectura& l) {
    ++lecturas_;
    // Once the check has failed the analysis no longer matters: its message is the answer.
    if (std::optional<FactorPotencia> coseno = compensacion_.Anadir(l))
        analisis_.Anadir(l, *coseno);
}

bool ValidacionEnCurso::Terminar(ListaMensajes& mensajes) {
    return compensacion_.Necesita(mensajes) &&
           Analizado(TerminarAnalisisConsumo(sesion_, panel_, analisis_), mensajes);
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
        return NecesitaCompensacion(sesion.Lecturas, panel.cosenoDeseado, mensajes, cosenos) &&
               Analizado(AnalisisConsumo(sesion, panel, cosenos), mensajes);
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
    if (!ValidarYAnalizar(sesion, panel, mensajes) ||
        !SeleccionarResultados(sesion, panel, mensajes, separadorDecimal)) {
        sesion.calculoRealizado = false;
        sesion.resultadosObsoletos = true;
        return false;
    }
    return true;
}

bool SeleccionarResultados(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes,
                           char separadorDecimal) {
    if (!SeleccionarEquipos(sesion, panel, mensajes))
        return false;
    SeleccionarConductores(sesion, separadorDecimal);
    SeleccionarTransformadores(sesion);
    return true;
}

} // namespace tarvik
