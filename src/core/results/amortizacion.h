#pragma once
// The simple payback of the selected equipment: what it costs as priced in the results tables,
// against the yearly reactive-energy surcharge that it removes.

#include "core/engine/sesion.h"
#include "core/study/estudio.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvik {

enum class EstadoAmortizacion {
    Anos,       // the payback is a number of years
    Consultar,  // an item's price is on request, so the investment is not known
    SinRecargo, // there is no surcharge to pay the equipment back
    SinEquipos, // the calculation selected nothing
};

struct Amortizacion {
    double inversion = 0;    // euros, the items whose price is known
    double recargoAnual = 0; // euros a year
    double anos = 0;         // inversion / recargoAnual, when `estado` is Anos
    bool consultar = false;  // some item's price is on request
    EstadoAmortizacion estado = EstadoAmortizacion::SinRecargo;
};

// The surcharge of the readings averaged per month (a bi-monthly reading counts two) and projected
// to twelve months; 0 without readings.
double RecargoAnual(double recargoTotal, std::size_t lecturas, std::int32_t tipoLectura);

// The selected units of one kind (banks or filters, transformer capacitors, current transformers)
// are alternatives: the investment takes the cheapest quoted one of each kind, a unit with its
// supply conductor (price per metre × length, once a length was entered), a current transformer
// times the quantity its table shows; under tariff "1.1" also the transformer capacitor's
// conductor. A kind whose every alternative has a price on request, or that conductor with a
// length but no price, leaves the investment on request. Without a surcharge the payback is not
// given whatever the prices.
Amortizacion CalcularAmortizacion(const Sesion& sesion, std::int32_t tarifa, double recargoAnual);

// The payback of the study as it stands, once the consumption analysis of `panel` has succeeded
// (the Totals command analyses first): from the results with the prices typed in the results window
// while they are current, otherwise from the selection from that analysis at catalogue prices on a
// copy of the session (whose messages are not shown: the Calculations command shows them). The
// surcharge is that of the readings' analysis.
Amortizacion AmortizacionDelEstudio(const Sesion& sesion, const DatosPanel& panel);

// The same for a session whose consumption analysis has just succeeded over `lecturas` readings
// that it may no longer hold: the selection from that analysis on, at catalogue prices.
Amortizacion AmortizacionDelAnalisis(const Sesion& sesion, const DatosPanel& panel, std::size_t lecturas);

// The investment in whole euros, "Consultar" / "On request", or "—" without equipment; Windows-1252.
std::string TextoInversion(const Amortizacion& a, char separador, int idioma);
// The payback in years with one decimal, "Consultar" / "On request", or "—"; Windows-1252.
std::string TextoAmortizacion(const Amortizacion& a, char separador, int idioma);

} // namespace tarvik
