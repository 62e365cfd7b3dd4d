#include "core/engine/seleccion.h"

#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"
#include "core/util/numeros.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>

namespace tarvik {

namespace {

constexpr double kVentanaEquipos = 1000;       // kvar or kW above the requirement
constexpr double kVentanaConductores = 100000; // A above the current per conductor
constexpr double kVentanaTransformadores = 10000;
constexpr std::size_t kCapSeccion = 10;

// Position of the record with the smallest value among those that `acepta` takes (given the position
// and the value); on equal values the first in file order.
template <class Valor, class Acepta>
std::optional<std::size_t> Menor(std::size_t registros, Valor valor, Acepta acepta) {
    std::optional<std::size_t> mejor;
    double menor = 0;
    for (std::size_t i = 0; i < registros; ++i) {
        const double v = valor(i);
        if (acepta(i, v) && (!mejor || v < menor)) {
            mejor = i;
            menor = v;
        }
    }
    return mejor;
}

// The same over a list of records with a single-precision field.
template <class Registro, class Acepta>
std::optional<std::size_t> Menor(const std::vector<Registro>& lista, float Registro::*campo, Acepta acepta) {
    return Menor(
        lista.size(), [&](std::size_t i) { return static_cast<double>(lista[i].*campo); },
        [&](std::size_t, double v) { return acepta(v); });
}

// The same over the equipment catalogue, by power.
template <class Acepta>
std::optional<std::size_t> MenorPotencia(const ListaEquipos& catalogo, Acepta acepta) {
    return Menor(
        catalogo.size(), [&](std::size_t i) { return static_cast<double>(catalogo.potencia(i)); }, acepta);
}

TEquipoSeleccionado Fila(const TEquipo& e) {
    TEquipoSeleccionado f;
    f.cantidad = 1;
    f.codigo = e.codigo;
    f.serie = e.serie;
    f.armonicos = e.armonicos;
    f.indicador = e.indicador;
    f.potencia = e.potencia;
    f.tension = e.tension;
    // A price that is not a number cannot be quoted: the unit is priced on request.
    f.precio = std::isfinite(e.precio) ? e.precio : 0;
    f.codigoSerie = CodigoSerie("Serie " + e.serie);
    f.tipo = e.tipo;
    return f;
}

bool MismaSerie(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        const auto minuscula = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        return minuscula(x) == minuscula(y);
    });
}

// The requirement is compared with the first eligible record; when it cannot be compared (as told
// by `comparable`), that is an arithmetic failure of the selection.
template <class Elegible>
bool RequerimientoComparable(const ListaEquipos& catalogo, Elegible elegible, bool comparable,
                             ListaMensajes& mensajes) {
    if (comparable)
        return true;
    for (std::size_t i = 0; i < catalogo.size(); ++i) {
        if (elegible(i)) {
            mensajes.push_back({TipoMensaje::Error, "error_qc", {}});
            return false;
        }
    }
    return true;
}

// Appends a row for every eligible record whose power equals that of the record at `mejor`.
template <class Elegible>
void AnadirDePotencia(const ListaEquipos& catalogo, std::size_t mejor, Elegible elegible,
                      std::vector<TEquipoSeleccionado>& filas) {
    const float potencia = catalogo.potencia(mejor);
    for (std::size_t i = 0; i < catalogo.size(); ++i)
        if (elegible(i) && catalogo.potencia(i) == potencia)
            filas.push_back(Fila(catalogo[i]));
}

// With harmonics: one row per series, the smallest bank of that series that reaches `mejor`.
template <class Elegible>
void AnadirPorSerie(const ListaEquipos& catalogo, double mejor, Elegible elegible,
                    std::vector<TEquipoSeleccionado>& filas) {
    for (std::size_t i = 0; i < catalogo.size(); ++i) {
        const double potencia = catalogo.potencia(i);
        // The scan has no upper bound, so it must pass over a damaged unit of infinite power.
        if (!elegible(i) || !(potencia >= mejor) || std::isinf(potencia))
            continue;
        const TEquipo e = catalogo[i];
        const auto fila = std::find_if(filas.begin(), filas.end(), [&](const TEquipoSeleccionado& f) {
            return MismaSerie(f.serie, e.serie);
        });
        if (fila == filas.end()) {
            filas.push_back(Fila(e));
        } else if (fila->potencia > potencia) {
            fila->armonicos = e.armonicos;
            fila->codigo = e.codigo;
            fila->serie = e.serie;
            fila->indicador = e.indicador;
            fila->potencia = potencia;
            fila->tension = e.tension;
            fila->precio = 0;
            fila->cantidad = 1;
        }
    }
}

TConductorSeleccionado SinConductor() {
    TConductorSeleccionado c;
    c.seccion = TruncateBytes(Texto("no_existe"), kCapSeccion);
    return c;
}

TConductorSeleccionado Conductor(const TEquipoSeleccionado& equipo, const std::vector<TConductor>& catalogo,
                                 double intensidadMaxima, char separador) {
    const double linea = equipo.potencia * 1000 / (std::sqrt(3.0) * equipo.tension);
    const double diseno = 1.5 * linea;
    Paralelo paralelo;
    if (!ConductoresEnParalelo(diseno, intensidadMaxima, paralelo))
        return SinConductor();
    const double ic = paralelo.intensidad;
    // A conductor whose section is not a number cannot be named.
    const auto mejor = Menor(
        catalogo.size(), [&](std::size_t i) { return static_cast<double>(catalogo[i].intensidad); },
        [&](std::size_t i, double a) {
            return ic <= a && a < ic + kVentanaConductores && std::isfinite(catalogo[i].seccion);
        });
    const std::int64_t cantidad = static_cast<std::int64_t>(equipo.cantidad) * paralelo.conductores;
    if (!mejor || cantidad > std::numeric_limits<std::int32_t>::max() ||
        cantidad < std::numeric_limits<std::int32_t>::min())
        return SinConductor();
    const TConductor& elegido = catalogo[*mejor];
    TConductorSeleccionado c;
    c.intensidadNominal = diseno;
    c.seccion = TruncateBytes(Fijo(elegido.seccion, 2, separador), kCapSeccion);
    c.intensidadConductor = elegido.intensidad;
    c.cantidad = static_cast<std::int32_t>(cantidad);
    return c;
}

} // namespace

bool SeleccionarBaterias(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes) {
    const Rutas& rutas = sesion.rutas;
    ListaEquipos& catalogo = sesion.CatalogoEquipos;
    catalogo.Cargar(FrecuenciaRedDe(panel.frecuencia) == FrecuenciaRed::Hz50 ? rutas.RutaBateria
                                                                             : rutas.RutaBateria60);
    const std::vector<std::int32_t> admitidas = TensionesAdmitidas(panel.voltaje, sesion.tensionNominal);
    std::vector<TEquipoSeleccionado>& filas = sesion.EquiposSeleccionados;
    filas.clear();

    const bool conArmonicos = ArmonicosDe(panel.armonicos) == Armonicos::Con;
    // The catalogue marks a unit for installations with current harmonics with the byte 1.
    const std::uint8_t armonicos = conArmonicos ? 1 : 0;
    // The cooled series is designed on request, never offered here.
    const auto elegible = [&](std::size_t i) {
        return catalogo.tipo(i) == 0 && catalogo.armonicos(i) == armonicos &&
               EnteroEnLista(catalogo.tension(i), admitidas) && !catalogo.EsSerie(i, "Hematites");
    };
    const double qc = sesion.Analisis.qc;
    if (RequerimientoComparable(catalogo, elegible, std::isfinite(qc), mensajes)) {
        // A bank of exactly the requirement does not cover it.
        const auto mejor = MenorPotencia(catalogo, [&](std::size_t i, double p) {
            return elegible(i) && qc < p && p < qc + kVentanaEquipos;
        });
        if (mejor && conArmonicos)
            AnadirPorSerie(catalogo, catalogo.potencia(*mejor), elegible, filas);
        else if (mejor)
            AnadirDePotencia(catalogo, *mejor, elegible, filas);
    }
    const bool seleccionado = !filas.empty();
    if (seleccionado)
        OrdenarPorSerie(filas);
    CondensadorTransformador(sesion, panel, mensajes);
    catalogo.clear();
    return seleccionado;
}

void CondensadorTransformador(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes) {
    const std::vector<std::int32_t> admitidas = TensionesAdmitidas(panel.voltaje, sesion.tensionNominal);
    double mayor = 0;
    if (ModoCalculoDe(panel.tipoCalculo) == ModoCalculo::PorConsumo) {
        mayor = sesion.trafoEntradaMayor;
    } else if (panel.tieneTransformador) {
        mayor = sesion.Analisis.trafoEntrada;
    }
    if (!(std::fabs(mayor) <= FLT_MAX)) {
        mensajes.push_back({TipoMensaje::Error, "error_qc", {}});
        return;
    }
    const float kva = static_cast<float>(mayor);
    if (kva == 0)
        return;
    const double q = 0.05 * kva;
    const ListaEquipos& catalogo = sesion.CatalogoEquipos;
    const auto elegible = [&](std::size_t i) {
        return catalogo.tipo(i) == 1 && EnteroEnLista(catalogo.tension(i), admitidas);
    };
    const auto mejor = MenorPotencia(
        catalogo, [&](std::size_t i, double p) { return elegible(i) && q <= p && p < q + kVentanaEquipos; });
    if (mejor)
        AnadirDePotencia(catalogo, *mejor, elegible, sesion.EquiposSeleccionados);
}

void OrdenarPorSerie(std::vector<TEquipoSeleccionado>& equipos) {
    std::stable_sort(equipos.begin(), equipos.end(),
                     [](const TEquipoSeleccionado& a, const TEquipoSeleccionado& b) {
                         return a.codigoSerie < b.codigoSerie;
                     });
}

bool SuperaNueveDecimas(double potencia, double qc) {
#if LDBL_MANT_DIG == 64
    return static_cast<long double>(potencia) / static_cast<long double>(qc) > static_cast<long double>(0.9);
#else
    // Without an extended type: compare exactly with the double nearest 0.9, whose product with qc
    // is m + e exactly.
    const double m = 0.9 * qc;
    const double e = std::fma(0.9, qc, -m);
    return qc > 0 ? potencia - m > e : potencia - m < e;
#endif
}

bool SeleccionarFiltros(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes) {
    ListaEquipos& catalogo = sesion.CatalogoEquipos;
    catalogo.Cargar(sesion.rutas.RutaFiltros);
    const std::vector<std::int32_t> admitidas = TensionesAdmitidas(panel.voltaje, sesion.tensionNominal);
    std::vector<TEquipoSeleccionado>& filas = sesion.EquiposSeleccionados;
    filas.clear();

    const auto elegible = [&](std::size_t i) {
        return catalogo.tipo(i) == 0 && catalogo.armonicos(i) == 0 &&
               EnteroEnLista(catalogo.tension(i), admitidas);
    };
    const double qc = sesion.Analisis.qc;
    if (RequerimientoComparable(catalogo, elegible, qc != 0 && std::isfinite(qc), mensajes)) {
        const auto mejor = MenorPotencia(catalogo, [&](std::size_t i, double p) {
            return elegible(i) && SuperaNueveDecimas(p, qc) && p < qc + kVentanaEquipos;
        });
        if (mejor)
            AnadirDePotencia(catalogo, *mejor, elegible, filas);
    }
    const bool seleccionado = !filas.empty();
    if (seleccionado)
        OrdenarPorSerie(filas);
    catalogo.clear();
    return seleccionado;
}

bool ConductoresEnParalelo(double diseno, double maxima, Paralelo& paralelo) {
    constexpr std::int64_t kTope = std::numeric_limits<std::int32_t>::max();
    if (!std::isfinite(diseno) || !std::isfinite(maxima) || !(maxima > 0))
        return false;
    paralelo.conductores = 1;
    paralelo.intensidad = diseno;
    if (!(diseno > maxima))
        return true;
    // The smallest n ≥ 2 whose share of the current is within the limit. The computed share falls
    // monotonically with n, so the estimate needs at most a step either way.
    const double estimacion = std::ceil(diseno / maxima);
    if (!(estimacion < static_cast<double>(kTope)))
        return false;
    std::int64_t n = std::max<std::int64_t>(2, static_cast<std::int64_t>(estimacion));
    while (n > 2 && diseno / static_cast<double>(n - 1) <= maxima)
        --n;
    while (diseno / static_cast<double>(n) > maxima)
        ++n;
    const double intensidad = diseno / static_cast<double>(n);
    // One more conductor when the shares fall short of the design current by rounding.
    if (std::fma(static_cast<double>(n), intensidad, -diseno) < 0)
        ++n;
    if (n > kTope)
        return false;
    paralelo.conductores = static_cast<std::int32_t>(n);
    paralelo.intensidad = intensidad;
    return true;
}

bool SeleccionarConductores(Sesion& sesion, char separadorDecimal) {
    std::vector<TConductorSeleccionado>& filas = sesion.ConductoresSeleccionados;
    filas.clear();
    const std::vector<TConductor>& catalogo = sesion.CatalogoConductores;
    // cond.dat lists conductors by increasing current: the last one carries the most.
    const double maxima = catalogo.empty() ? 0.0 : static_cast<double>(catalogo.back().intensidad);
    for (const TEquipoSeleccionado& equipo : sesion.EquiposSeleccionados)
        filas.push_back(Conductor(equipo, catalogo, maxima, separadorDecimal));
    return !filas.empty();
}

bool SeleccionarTransformadores(Sesion& sesion) {
    std::vector<TTransformadorSeleccionado>& filas = sesion.TransformadoresSeleccionados;
    filas.clear();
    const TAnalisisConsumo& a = sesion.Analisis;
    if (a.potenciaMaxima == 0)
        return false;
    const double divisor = std::sqrt(3.0) * a.cosenoMedio * sesion.tensionNominal;
    if (divisor == 0 || !std::isfinite(divisor))
        return false;
    // Whole amperes, truncated toward zero; kept as a double, so no integer range applies.
    const double corriente = std::trunc(a.potenciaMaxima * 1000 / divisor);
    if (!std::isfinite(corriente))
        return false;
    const double requerida = 1.5 * corriente;
    const auto mejor = Menor(sesion.CatalogoTransformadores, &TTransformador::intensidad, [&](double i) {
        return requerida <= i && i < requerida + kVentanaTransformadores;
    });
    if (!mejor)
        return false;
    const double intensidad = sesion.CatalogoTransformadores[*mejor].intensidad;
    for (const TTransformador& t : sesion.CatalogoTransformadores)
        if (static_cast<double>(t.intensidad) == intensidad)
            filas.push_back({t.designacion, intensidad, 0, static_cast<double>(sesion.tensionNominal)});
    return true;
}

std::int32_t CantidadTransformadores(const std::vector<TEquipoSeleccionado>& equipos, double tension) {
    const double redondeada = std::nearbyint(tension);
    for (const TEquipoSeleccionado& e : equipos)
        if (e.tension == redondeada)
            return e.cantidad;
    return equipos.empty() ? 0 : equipos.back().cantidad;
}

} // namespace tarvik
