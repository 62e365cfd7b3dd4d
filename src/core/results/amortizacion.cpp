#include "core/results/amortizacion.h"

#include "core/engine/calculo.h"
#include "core/engine/seleccion.h"
#include "core/lang/traduccion.h"
#include "core/util/numeros.h"

namespace tarvik {
namespace {

constexpr const char* kSinCifra = "\x97"; // an em dash

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
    const auto sumar = [&a](double precio, double cantidad) {
        if (precio == 0)
            a.consultar = true;
        a.inversion += precio * cantidad;
    };
    for (const TEquipoSeleccionado& e : s.EquiposSeleccionados)
        sumar(e.precio, e.cantidad);
    for (const TTransformadorSeleccionado& t : s.TransformadoresSeleccionados)
        if (t.intensidad != 0)
            sumar(t.precio, CantidadTransformadores(s.EquiposSeleccionados, t.tension));
    for (const TConductorSeleccionado& c : s.ConductoresSeleccionados)
        if (c.longitud != 0)
            sumar(c.precio, c.longitud);
    if (tarifa == kTarifa11 && s.CondensadorTrafo.longitudConductor != 0)
        sumar(s.CondensadorTrafo.precioConductor, s.CondensadorTrafo.longitudConductor);

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

Amortizacion AmortizacionDelEstudio(const Sesion& s, const DatosPanel& panel) {
    if (s.calculoRealizado && !s.resultadosObsoletos)
        return CalcularAmortizacion(
            s, panel.tarifa, RecargoAnual(s.Analisis.recargoTotal, s.Lecturas.size(), panel.tipoLectura));
    Sesion copia = s;
    ListaMensajes mensajes;
    if (!Calcular(copia, panel, mensajes)) {
        Amortizacion a;
        a.estado = EstadoAmortizacion::SinEquipos;
        return a;
    }
    return CalcularAmortizacion(
        copia, panel.tarifa,
        RecargoAnual(copia.Analisis.recargoTotal, copia.Lecturas.size(), panel.tipoLectura));
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
