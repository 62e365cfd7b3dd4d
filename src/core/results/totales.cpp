#include "core/results/totales.h"

#include "core/results/amortizacion.h"
#include "core/util/numeros.h"

namespace tarvik {

TextosTotales LlenarTotales(const TAnalisisConsumo& a, double cosenoDeseado, std::size_t lecturas,
                            std::int32_t tipoLectura, char separador) {
    const double anual = RecargoAnual(a.recargoTotal, lecturas, tipoLectura);
    return {Fijo(a.cosenoMinimo, 2, separador), Fijo(a.cosenoMedio, 2, separador),
            Fijo(cosenoDeseado, 2, separador), Fijo(anual, 0, separador)};
}

} // namespace tarvik
