#include "core/engine/factor_potencia.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace tarvik;

namespace {

double Exacto(double tangente) {
    return std::cos(std::atan(tangente));
}

// tan φ whose factors lie on, and a few units in the last place around, every half ten-thousandth
// (where the rounding turns) and a sample of ordinary readings' tan φ.
std::vector<double> TangentesDificiles() {
    std::vector<double> t;
    for (int k = 1; k < 10000; ++k) {
        const double enElBorde = std::tan(std::acos((k + 0.5) / 10000));
        double arriba = enElBorde;
        double abajo = enElBorde;
        t.push_back(enElBorde);
        for (int paso = 0; paso < 4; ++paso) {
            arriba = std::nextafter(arriba, 10.0);
            abajo = std::nextafter(abajo, 0.0);
            t.push_back(arriba);
            t.push_back(abajo);
        }
    }
    std::mt19937_64 azar(20261210);
    std::uniform_real_distribution<double> lectura(0, 5);
    for (int i = 0; i < 20000; ++i)
        t.push_back(lectura(azar));
    for (double v : {0.0, -0.0, -0.75, 1e-300, 1e150, 1e200, -1e200, std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max()})
        t.push_back(v);
    return t;
}

} // namespace

// Every rounding to ten-thousandths is the one of cos(atan(tan φ)), also where a half lies a unit in
// the last place away.
TEST(FactorPotencia, RoundsAsTheLibraryCosineOfTheArcTangent) {
    for (double t : TangentesDificiles()) {
        FactorPotencia f(t);
        const double esperado = std::nearbyint(Exacto(t) * 10000);
        ASSERT_EQ(f.Diezmilesimas(), esperado) << "tan " << t;
        ASSERT_EQ(f.Exacto(), Exacto(t)) << "tan " << t;
    }
}

// The comparison with a running minimum holds on equal factors, on factors a unit in the last place
// apart and far apart, as the exact value compares.
TEST(FactorPotencia, ComparesAsTheExactFactor) {
    for (double t : TangentesDificiles()) {
        const double c = Exacto(t);
        for (double limite : {c, std::nextafter(c, 0.0), std::nextafter(c, 2.0), c - 1e-12, c + 1e-12, 0.5,
                              1.0, 2147483647.0, 0.0}) {
            FactorPotencia f(t);
            ASSERT_EQ(f.MenorQue(limite), c < limite) << "tan " << t << " against " << limite;
        }
    }
}

TEST(FactorPotencia, NotANumberStaysOne) {
    FactorPotencia f(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(f.Finito());
    EXPECT_FALSE(f.MenorQue(2.0));
    EXPECT_TRUE(std::isnan(f.Diezmilesimas()));
    FactorPotencia infinito(std::numeric_limits<double>::infinity());
    EXPECT_TRUE(infinito.Finito());
}
