#include "core/results/amortizacion.h"

#include "core/engine/calculo.h"
#include "core/engine/seleccion.h"
#include "core/lang/traduccion.h"
#include "core/util/numeros.h"

#include <optional>

namespace tarvik {
namespace {

constexpr const char* kSinCifra = "\x97"; // an em dash

// The price of an item, or nothing when it is on request.
std::optional<double> Coste(double precio, double cantidad) {
    return precio == 0 ? std::nullopt : std::optional(precio * cantidad);
}

struct Alternativas {
    bool hay = false;
    std::optional<double> menor; // the cheapest quoted one
    void Ofrecer(std::optional<double> coste) {
        hay = true;
        if (coste && (!menor || *coste < *menor))
            menor = coste;
    }
};

std::string TextoConsultar(int idioma) {
    return idioma == kIngles ? "On request" : "Consultar";
}

} // namespace

double RecargoAnual(double recargoTotal, std::size_t lecturas, std::int32_t tipoLectura) {
    const double meses = static_cast<double>(tipoLectura == 0 ? lecturas : 2 * lecturas);
    return meses == 0 ? 0.0 : recargoTotal / meses * 12;
}

Amortizacion CalcularAmortizacion(const Sesion& s, std::int32_t tarifa, double recargoAnual) {
    Amortizacion a;
    a.recargoAnual = recargoAnual;
    // The units of one kind are alternatives (one per series, or per designation): the cheapest
    // quoted one is offered; the kind is on request only when none of them is quoted.
    Alternativas unidades, condensadores, transformadores;
    for (std::size_t i = 0; i < s.EquiposSeleccionados.size(); ++i) {
        const TEquipoSeleccionado& e = s.EquiposSeleccionados[i];
        std::optional<double> coste = Coste(e.precio, e.cantidad);
        if (i < s.ConductoresSeleccionados.size() && s.ConductoresSeleccionados[i].longitud != 0) {
            const TConductorSeleccionado& c = s.ConductoresSeleccionados[i];
            const std::optional<double> conductor = Coste(c.precio, c.longitud);
            coste = coste && conductor ? std::optional(*coste + *conductor) : std::nullopt;
        }
        (e.tipo == 1 ? condensadores : unidades).Ofrecer(coste);
    }
    for (const TTransformadorSeleccionado& t : s.TransformadoresSeleccionados)
        if (t.intensidad != 0)
            transformadores.Ofrecer(
                Coste(t.precio, CantidadTransformadores(s.EquiposSeleccionados, t.tension)));
    for (const Alternativas* tipo : {&unidades, &condensadores, &transformadores}) {
        if (tipo->hay && !tipo->menor)
            a.consultar = true;
        a.inversion += tipo->menor.value_or(0);
    }
    if (tarifa == kTarifa11 && s.CondensadorTrafo.longitudConductor != 0) {
        const std::optional<double> conductor =
            Coste(s.CondensadorTrafo.precioConductor, s.CondensadorTrafo.longitudConductor);
        a.consultar = a.consultar || !conductor;
        a.inversion += conductor.value_or(0);
    }

    if (!(recargoAnual > 0)) {
        a.estado = EstadoAmortizacion::SinRecargo;
    } else if (a.consultar) {
        a.estado = EstadoAmortizacion::Consultar;
    } else {
        a.estado = EstadoAmortizacion::Anos;
        a.anos = a.inversion / recargoAnual;
    }
    return a;
}

namespace {

// The payback of a copy of the session calculated at catalogue prices, or none without equipment.
Amortizacion AlPrecioDeCatalogo(const Sesion& copia, bool calculado, const DatosPanel& panel,
                                std::size_t lecturas) {
    if (!calculado) {
        Amortizacion a;
        a.estado = EstadoAmortizacion::SinEquipos;
        return a;
    }
    return CalcularAmortizacion(copia, panel.tarifa,
                                RecargoAnual(copia.Analisis.recargoTotal, lecturas, panel.tipoLectura));
}

} // namespace

Amortizacion AmortizacionDelEstudio(const Sesion& s, const DatosPanel& panel) {
    if (s.calculoRealizado && !s.resultadosObsoletos)
        return CalcularAmortizacion(
            s, panel.tarifa, RecargoAnual(s.Analisis.recargoTotal, s.Lecturas.size(), panel.tipoLectura));
    return AmortizacionDelAnalisis(s, panel, s.Lecturas.size());
}

Amortizacion AmortizacionDelAnalisis(const Sesion& s, const DatosPanel& panel, std::size_t lecturas) {
    Sesion copia = s;
    ListaMensajes mensajes;
    const bool calculado = SeleccionarResultados(copia, panel, mensajes);
    return AlPrecioDeCatalogo(copia, calculado, panel, lecturas);
}

std::string TextoInversion(const Amortizacion& a, char separador, int idioma) {
    if (a.estado == EstadoAmortizacion::SinEquipos)
        return kSinCifra;
    if (a.consultar)
        return TextoConsultar(idioma);
    return Fijo(a.inversion, 0, separador);
}

std::string TextoAmortizacion(const Amortizacion& a, char separador, int idioma) {
    switch (a.estado) {
    case EstadoAmortizacion::Anos:
        return Fijo(a.anos, 1, separador);
    case EstadoAmortizacion::Consultar:
        return TextoConsultar(idioma);
    case EstadoAmortizacion::SinRecargo:
    case EstadoAmortizacion::SinEquipos:
        break;
    }
    return kSinCifra;
}

} // namespace tarvik
