#include "core/engine/analisis.h"

#include <cmath>
#include <type_traits>

namespace tarvik {

AnalisisEnCurso::AnalisisEnCurso(TAnalisisConsumo& analisis, std::int32_t horas, double deseado,
                                 float deseado32)
    : a_(analisis), objetivo_(std::tan(std::acos(static_cast<double>(deseado32)))), horas_(horas),
      deseado_(deseado) {
    a_ = TAnalisisConsumo{};
    valido_ = std::isfinite(objetivo_) && horas_ > 0;
    if (valido_)
        a_.cosenoMinimo = 2147483647.0;
}

AnalisisEnCurso::AnalisisEnCurso(TAnalisisConsumo& analisis, const DatosPanel& panel)
    : AnalisisEnCurso(analisis, HorasPorPeriodo(panel.horas, panel.tipoLectura), panel.cosenoDeseado,
                      static_cast<float>(panel.cosenoDeseado)) {}

template <class Lectura>
inline bool AnalisisEnCurso::Paso(Lectura& l, FactorPotencia& c, TAnalisisConsumo& a, Marcha& m) const {
    // The peak-demand reading: on equal peaks the later one.
    if (!std::isfinite(l.mdr))
        return false;
    if (l.mdr >= m.picoMaximo) {
        if (l.kwht == 0)
            return false;
        a.potenciaMaxima = l.mdr;
        a.tanMaxDemanda = c.Tangente();
        a.difTanMaxDemanda = a.tanMaxDemanda - objetivo_;
        if (!std::isfinite(a.difTanMaxDemanda))
            return false;
        m.picoMaximo = l.mdr;
    }

    if (l.kwht == 0)
        return false;
    if (!c.Finito())
        return false;
    // A reading with the same tan φ as the lowest so far has the same factor: not a lower one.
    if (c.Tangente() != m.tanMinimo && c.MenorQue(a.cosenoMinimo)) {
        a.cosenoMinimo = c.Exacto();
        m.tanMinimo = c.Tangente();
    }
    if constexpr (std::is_same_v<Lectura, TLectura>)
        l.coseno = c.Exacto();
    // The reading with the highest reactive energy: on equal values the later one.
    if (l.kvarh >= m.reactivaMaxima) {
        // Its factor is evaluated when the analysis ends: a rising series of readings would
        // otherwise evaluate nearly every one.
        m.maxReactiva = c;
        a.trafoEntrada = l.cpc;
        m.reactivaMaxima = l.kvarh;
    }
    // Reactive power needed during the period's working hours to reach the target tan φ.
    const double q = (c.Tangente() - objetivo_) * (l.kwht / horas_);
    if (!std::isfinite(q))
        return false;
    if (q > m.requerimientoMaximo)
        m.requerimientoMaximo = q;
    a.kwhTotal += l.kwht;
    a.kvarhTotal += l.kvarh;
    a.importeTotal += l.ifp;
    a.importeTotal += l.it;
    a.importeTotal += l.ia;
    a.recargoTotal += l.rr;
    a.descuentoTotal += l.ifp;
    a.cosenoDeseado = deseado_;
    if (l.cpc > m.trafoMayor)
        m.trafoMayor = l.cpc;
    return true;
}

template <class Lectura, class FactorDe>
bool AnalisisEnCurso::AnadirTramo(std::span<Lectura> lecturas, FactorDe factorDe) {
    if (!valido_)
        return false;
    // The figures run in locals and are written back however the run ends: kept in the members,
    // each would be stored again at every reading, since a reading written into could be one of them.
    TAnalisisConsumo a = a_;
    Marcha m = m_;
    bool valido = true;
    for (std::size_t i = 0; valido && i < lecturas.size(); ++i) {
        FactorPotencia c = factorDe(i);
        valido = Paso(lecturas[i], c, a, m);
    }
    a_ = a;
    m_ = m;
    valido_ = valido;
    return valido;
}

bool AnalisisEnCurso::Anadir(std::span<TLectura> lecturas, std::span<const double> cosenos) {
    const bool evaluados = cosenos.size() == lecturas.size();
    return AnadirTramo(lecturas, [&](std::size_t i) {
        const double tangente = lecturas[i].kvarh / lecturas[i].kwht;
        return evaluados ? FactorPotencia(tangente, cosenos[i]) : FactorPotencia(tangente);
    });
}

bool AnalisisEnCurso::Anadir(std::span<const TCifrasLectura> lecturas, std::span<const double> tangentes,
                             std::span<const double> aproximados) {
    return AnadirTramo(
        lecturas, [&](std::size_t i) { return FactorPotencia::ConAproximado(tangentes[i], aproximados[i]); });
}

bool AnalisisEnCurso::Terminar() {
    TAnalisisConsumo& a = a_;
    if (m_.maxReactiva)
        a.cosenoMaxReactiva = m_.maxReactiva->Exacto();
    if (!valido_ || a.kwhTotal == 0)
        return false;
    a.cosenoMedio = FactorPotencia(a.kvarhTotal / a.kwhTotal).Exacto();
    a.precioMedio = a.importeTotal / a.kwhTotal;
    a.saldoReactiva = a.recargoTotal - a.descuentoTotal;
    a.qc = m_.requerimientoMaximo;
    // The totals project the surcharge to a year: at most twelve times the sum of the readings.
    for (double v : {a.kwhTotal, a.kvarhTotal, a.cosenoMedio, a.importeTotal, a.precioMedio, a.recargoTotal,
                     a.descuentoTotal, a.saldoReactiva, a.cosenoDeseado, a.trafoEntrada, a.recargoTotal * 12})
        if (!std::isfinite(v))
            return false;
    return true;
}

bool AnalizarLecturas(std::vector<TLectura>& lecturas, std::int32_t horas, double deseado, float deseado32,
                      TAnalisisConsumo& a, std::span<const double> cosenos) {
    AnalisisEnCurso analisis(a, horas, deseado, deseado32);
    analisis.Anadir(lecturas, cosenos);
    return analisis.Terminar();
}

bool AnalisisConsumo(Sesion& sesion, const DatosPanel& panel, std::span<const double> cosenos) {
    AnalisisEnCurso analisis(sesion.Analisis, panel);
    analisis.Anadir(sesion.Lecturas, cosenos);
    return TerminarAnalisisConsumo(sesion, panel, analisis);
}

bool TerminarAnalisisConsumo(Sesion& sesion, const DatosPanel& panel, AnalisisEnCurso& analisis) {
    const bool analizado = analisis.Terminar();
    sesion.trafoEntradaMayor = analisis.TrafoMayor();
    TAnalisisConsumo& a = sesion.Analisis;
    if (EquipamientoDe(panel.equipos) == Equipamiento::Filtros) {
        a.qc = a.qc / 0.7;
        if (a.potenciaMaxima != 0) {
            const double candidato = a.potenciaMaxima * a.difTanMaxDemanda / 0.7;
            if (candidato > a.qc)
                a.qc = candidato;
        }
    } else if (a.potenciaMaxima != 0) {
        const double candidato = a.potenciaMaxima * a.difTanMaxDemanda;
        if (candidato > a.qc)
            a.qc = candidato;
    }
    return analizado && std::isfinite(a.qc);
}

std::int64_t ReactivaContratada(std::int32_t potencia) {
    const std::int64_t centesimas = 81LL * potencia;
    // Integer division truncates toward zero, which is already the ceiling for a negative quotient.
    return centesimas > 0 ? (centesimas + 99) / 100 : centesimas / 100;
}

bool AnalisisPotenciaContratada(TAnalisisConsumo& a, const DatosPanel& panel) {
    const std::int32_t p = panel.potenciaMaxima;
    a.qc = EquipamientoDe(panel.equipos) == Equipamiento::Filtros
               ? static_cast<double>(p)
               : static_cast<double>(ReactivaContratada(p));
    a.potenciaMaxima = p;
    a.trafoEntrada = panel.transformadorEntrada;
    a.cosenoMedio = 1.0;
    return true;
}

} // namespace tarvik
