#pragma once
// A reading's power factor, cos(arctan(kvarh / kWh)), with every answer that the library's cos and
// atan give, evaluating them only where they could change the answer.
//
// Evaluating cos and atan costs more than reading and decoding a reading from a study file.
// 1/√(1 + tan²) is the same quantity and lies within a few units in the last place of it (about
// 1e-16), so it settles every comparison and every rounding that a value that close cannot turn;
// only within kMargen of the line are cos and atan evaluated. The answers are those of the exact
// value, to the bit.

#include <cmath>
#include <optional>

namespace tarvik {

class FactorPotencia {
  public:
    explicit FactorPotencia(double tangente) : FactorPotencia(tangente, Aproximado(tangente), {}) {}
    // The factor with its approximation worked out beforehand (for many readings in one pass, where
    // the processor overlaps their divisions and roots).
    static double Aproximado(double tangente) { return 1.0 / std::sqrt(1.0 + tangente * tangente); }
    static FactorPotencia ConAproximado(double tangente, double aproximado) {
        return FactorPotencia(tangente, aproximado, {});
    }
    // A factor already evaluated from the same tan φ.
    FactorPotencia(double tangente, double exacto) : FactorPotencia(tangente, Aproximado(tangente), exacto) {}

    double Tangente() const { return tangente_; }
    // The power factor as cos(atan(tan φ)) gives it, evaluated once.
    double Exacto() {
        if (!exacto_)
            exacto_ = std::cos(std::atan(tangente_));
        return *exacto_;
    }
    // Not a number only for a tan φ that is not one; an infinite tan φ is a factor of about 0.
    bool Finito() { return std::isfinite(aproximado_) || std::isfinite(Exacto()); }
    // Whether the factor is below `limite`.
    bool MenorQue(double limite) {
        if (aproximado_ - kMargen >= limite)
            return false;
        if (aproximado_ + kMargen < limite)
            return true;
        return Exacto() < limite;
    }
    // The factor in ten-thousandths, halves to even.
    double Diezmilesimas() {
        const double escaladas = aproximado_ * 10000;
        // Halves to even, as nearbyint rounds, without a call to the library: the sum of a value
        // between 0 and 10000 and 2^52 has no fraction digits left, so the sum itself is rounded.
        const double redondeadas = escaladas + 0x1p52 - 0x1p52;
        // Both values round to the same whole number unless a half lies between them.
        if (std::fabs(escaladas - redondeadas) < 0.5 - 2 * kMargen * 10000)
            return redondeadas;
        return std::nearbyint(Exacto() * 10000);
    }

  private:
    FactorPotencia(double tangente, double aproximado, std::optional<double> exacto)
        : tangente_(tangente), aproximado_(aproximado), exacto_(exacto) {}

    // Millions of times wider than the distance between the two evaluations.
    static constexpr double kMargen = 1e-9;
    double tangente_;
    double aproximado_;
    std::optional<double> exacto_;
};

} // namespace tarvik
