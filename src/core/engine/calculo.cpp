#include "core/engine/calculo.h"

#include <algorithm>
#include <array>
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

// A plain flag and sum rather than an optional count: handed back through memory, an optional
// stalled every reading on a wide read of a value just written in two parts.
bool CompensacionEnCurso::Sumar(double kwht, FactorPotencia& factor, std::int64_t& suma) {
    if (kwht == 0 || !std::isfinite(factor.Tangente()))
        return false;
    // Halves to even; a NaN never reaches the integer.
    const double diezmilesimas = factor.Diezmilesimas();
    if (!(std::fabs(diezmilesimas) <= 10000))
        return false;
    suma += static_cast<std::int64_t>(diezmilesimas);
    return true;
}

std::optional<FactorPotencia> CompensacionEnCurso::Anadir(const TLectura& l) {
    if (fallo_)
        return std::nullopt;
    ++lecturas_;
    FactorPotencia coseno(l.kvarh / l.kwht);
    fallo_ = !Sumar(l.kwht, coseno, suma_);
    if (fallo_)
        return std::nullopt;
    return coseno;
}

std::size_t CompensacionEnCurso::Anadir(std::span<const TCifrasLectura> lecturas,
                                        std::span<const double> tangentes,
                                        std::span<const double> aproximados) {
    if (fallo_)
        return 0;
    std::int64_t suma = suma_; // in a local for the run, where nothing else can write it
    std::size_t i = 0;
    for (; i < lecturas.size(); ++i) {
        FactorPotencia coseno = FactorPotencia::ConAproximado(tangentes[i], aproximados[i]);
        if (!Sumar(lecturas[i].kwht, coseno, suma)) {
            fallo_ = true;
            ++lecturas_; // the reading that could not be averaged counts as added
            break;
        }
    }
    lecturas_ += i;
    suma_ = suma;
    return i;
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
    : sesion_(sesion), panel_(panel), compensacion_(panel.cosenoDeseado), analisis_(sesion.Analisis, panel) {}

void ValidacionEnCurso::Anadir(std::span<const TCifrasLectura> lecturas) {
    lecturas_ += lecturas.size();
    // The tan φ and the approximate factor of a run of readings first, apart from the checks and
    // sums that take them in order: each reading's division and root then no longer wait on the
    // reading before, and the processor works on several at once.
    constexpr std::size_t kTramo = 256;
    std::array<double, kTramo> tangentes;
    std::array<double, kTramo> aproximados;
    while (!lecturas.empty()) {
        const std::span<const TCifrasLectura> tramo = lecturas.first(std::min(kTramo, lecturas.size()));
        lecturas = lecturas.subspan(tramo.size());
        for (std::size_t i = 0; i < tramo.size(); ++i) {
            tangentes[i] = tramo[i].kvarh / tramo[i].kwht;
            aproximados[i] = FactorPotencia::Aproximado(tangentes[i]);
        }
        // Once the check has failed the analysis no longer matters: its message is the answer.
        const std::size_t comprobadas = compensacion_.Anadir(tramo, tangentes, aproximados);
        analisis_.Anadir(tramo.first(comprobadas), tangentes, aproximados);
    }
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
