#include "core/results/totales.h"

#include "core/study/estudio.h"
#include "core/util/numeros.h"

namespace tarvik {

TextosTotales LlenarTotales(const TAnalisisConsumo& a, double cosenoDeseado, std::size_t lecturas,
                            std::int32_t tipoLectura, char separador) {
    const double meses = static_cast<double>(
        PeriodoLecturaDe(tipoLectura) == PeriodoLectura::Mensual ? lecturas : 2 * lecturas);
    const double anual = meses == 0 ? 0.0 : a.recargoTotal / meses * 12;
    return {Fijo(a.cosenoMinimo, 2, separador), Fijo(a.cosenoMedio, 2, separador),
            Fijo(cosenoDeseado, 2, separador), Fijo(anual, 0, separador)};
}

} // namespace tarvik
