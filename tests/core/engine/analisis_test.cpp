#include "core/engine/analisis.h"
#include "core/engine/calculo.h"
#include "soporte/catalogos_prueba.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tarvik;
using prueba::Lectura;

namespace {

std::vector<TLectura> Repetidas(std::size_t n, const TLectura& l) {
    return std::vector<TLectura>(n, l);
}

// Readings whose power factors round to exactly 1 (no reactive energy) and 0.8 (a 4-3-5 triangle).
std::vector<TLectura> Mezcla(std::size_t unos, std::size_t ochos) {
    auto v = Repetidas(unos, Lectura(4000, 0));
    const auto b = Repetidas(ochos, Lectura(4000, 3000));
    v.insert(v.end(), b.begin(), b.end());
    return v;
}

} // namespace

struct CasoCompensacion {
    const char* nombre;
    std::size_t unos, ochos; // readings at 1.00 and at 0.80
    double deseado;
    bool necesita;
};

// The average of the rounded factors is compared exactly with the desired factor as the double it is:
// 0.95 lies below 0.95 as a double, 0.90, 0.93 and 0.80 lie above.
TEST(NecesitaCompensacion, ComparesTheAverageExactlyWithTheDesiredDouble) {
    const CasoCompensacion casos[] = {
        {"average 9500, desired 0.95", 9, 3, 0.95, false}, {"average 9000, desired 0.90", 1, 1, 0.90, true},
        {"average 9300, desired 0.93", 13, 7, 0.93, true}, {"average 8000, desired 0.80", 0, 4, 0.80, true},
        {"average 9000, desired 0.89", 1, 1, 0.89, false}, {"average 10000, desired 1", 3, 0, 1.0, false},
        {"average 9500, desired 0.96", 9, 3, 0.96, true},
    };
    for (const auto& c : casos) {
        ListaMensajes m;
        std::vector<double> cosenos;
        EXPECT_EQ(NecesitaCompensacion(Mezcla(c.unos, c.ochos), c.deseado, m, cosenos), c.necesita)
            << c.nombre;
        if (c.necesita)
            EXPECT_TRUE(m.empty()) << c.nombre;
        else
            EXPECT_EQ(m, (ListaMensajes{{TipoMensaje::Informacion, "no_compensacion", ""}})) << c.nombre;
    }
}

TEST(NecesitaCompensacion, ReadingsThatCannotBeAveragedAreADataError) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* nombre;
        std::vector<TLectura> lecturas;
        double deseado;
    } casos[] = {
        {"no readings", {}, 0.95},
        {"a reading without active energy", {Lectura(1000, 500), Lectura(0, 500)}, 0.95},
        {"a reactive energy that is not a number", {Lectura(1000, nan)}, 0.95},
        {"an infinite reactive energy", {Lectura(1000, inf)}, 0.95},
        {"a desired factor that is not a number", {Lectura(1000, 500)}, nan},
    };
    for (const auto& c : casos) {
        ListaMensajes m;
        std::vector<double> cosenos;
        EXPECT_FALSE(NecesitaCompensacion(c.lecturas, c.deseado, m, cosenos)) << c.nombre;
        EXPECT_EQ(m, (ListaMensajes{{TipoMensaje::Error, "error_datos", ""}})) << c.nombre;
    }
}

TEST(ValidarPotencia, ShowsOneInformationBoxPerFailedCheckInOrder) {
    const struct {
        std::int32_t potencia;
        bool tiene;
        std::int32_t trafo;
        std::vector<std::string> claves;
    } casos[] = {
        {0, true, 0, {"error_potencia_maxima", "error_cpc_value"}},
        {-5, false, 0, {"error_potencia_maxima"}},
        {100, true, 0, {"error_cpc_value"}},
        {100, false, 0, {}},
        {100, true, 630, {}},
    };
    for (const auto& c : casos) {
        DatosPanel p;
        p.potenciaMaxima = c.potencia;
        p.tieneTransformador = c.tiene;
        p.transformadorEntrada = c.trafo;
        ListaMensajes m;
        EXPECT_EQ(ValidarPotencia(p, m), c.claves.empty()) << c.potencia;
        ASSERT_EQ(m.size(), c.claves.size());
        for (std::size_t i = 0; i < m.size(); ++i) {
            EXPECT_EQ(m[i].clave, c.claves[i]);
            EXPECT_EQ(m[i].tipo, TipoMensaje::Informacion);
        }
    }
}

TEST(AnalizarLecturas, PeriodRequirementUsesTheWorkingHoursOfThePeriod) {
    // 20000 kWh and 15000 kvarh: tan φ 0.75; to a factor of 1 over 200 h that is 75 kvar.
    const struct {
        std::int32_t horas;
        double qc;
    } casos[] = {{200, 75.0}, {400, 37.5}};
    for (const auto& c : casos) {
        std::vector<TLectura> lecturas{Lectura(20000, 15000)};
        TAnalisisConsumo a;
        ASSERT_TRUE(AnalizarLecturas(lecturas, c.horas, 1.0, 1.0f, a));
        EXPECT_DOUBLE_EQ(a.qc, c.qc);
        EXPECT_DOUBLE_EQ(lecturas[0].coseno, 0.8);
        EXPECT_DOUBLE_EQ(a.cosenoMedio, 0.8);
    }
}

// Also with the power factors that the compensation check evaluated, as a calculation passes them on.
TEST(AnalizarLecturas, TotalsTrackersAndTies) {
    for (const bool compartidos : {false, true}) {
        SCOPED_TRACE(compartidos ? "factors from the compensation check"
                                 : "factors evaluated by the analysis");
        std::vector<TLectura> lecturas{Lectura(10000, 2000, 100, 400), Lectura(10000, 6000, 150, 500),
                                       Lectura(10000, 6000, 150, 630), Lectura(10000, -1000, 20, 800)};
        lecturas[0].ifp = -10;
        lecturas[0].it = 1000;
        lecturas[0].ia = 50;
        lecturas[1].rr = 30;
        lecturas[2].rr = 20;
        std::vector<double> cosenos;
        ListaMensajes m;
        if (compartidos)
            NecesitaCompensacion(lecturas, 0.95, m, cosenos);
        TAnalisisConsumo a;
        ASSERT_TRUE(AnalizarLecturas(lecturas, 200, 0.95, 0.95f, a, cosenos));
        // Equal peaks and equal highest reactive energies: the later reading wins.
        EXPECT_EQ(a.potenciaMaxima, 150);
        EXPECT_EQ(a.trafoEntrada, 630);
        EXPECT_DOUBLE_EQ(a.tanMaxDemanda, 0.6);
        // The target tan φ comes from the desired factor as a 32-bit float.
        const double objetivo = std::tan(std::acos(static_cast<double>(0.95f)));
        EXPECT_EQ(a.difTanMaxDemanda, 0.6 - objetivo);
        EXPECT_EQ(a.cosenoDeseado, 0.95);
        EXPECT_EQ(a.kwhTotal, 40000);
        EXPECT_EQ(a.kvarhTotal, 13000);
        EXPECT_EQ(a.importeTotal, 1040);
        EXPECT_EQ(a.descuentoTotal, -10);
        EXPECT_EQ(a.recargoTotal, 50);
        EXPECT_EQ(a.saldoReactiva, 60);
        EXPECT_EQ(a.precioMedio, 1040.0 / 40000);
        EXPECT_EQ(a.cosenoMinimo, std::cos(std::atan(0.6)));
        EXPECT_EQ(a.cosenoMaxReactiva, std::cos(std::atan(0.6)));
        EXPECT_EQ(a.qc, (0.6 - objetivo) * (10000.0 / 200));
        EXPECT_EQ(lecturas[3].coseno, std::cos(std::atan(-0.1)));
    }
}

TEST(AnalizarLecturas, ARequirementBelowTheTargetIsNegativeOnlyWhenAllAre) {
    std::vector<TLectura> bajo{Lectura(10000, 100), Lectura(10000, 200)};
    TAnalisisConsumo a;
    ASSERT_TRUE(AnalizarLecturas(bajo, 100, 0.8, 0.8f, a));
    EXPECT_LT(a.qc, 0);
    EXPECT_EQ(a.qc, (200.0 / 10000 - std::tan(std::acos(static_cast<double>(0.8f)))) * 100);
}

TEST(AnalizarLecturas, ArithmeticFailuresAreReportedNotCarried) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* nombre;
        std::vector<TLectura> lecturas;
        std::int32_t horas;
        float deseado;
    } casos[] = {
        {"no active energy", {Lectura(1000, 10, 5), Lectura(0, 10, 1)}, 200, 1.0f},
        {"no working hours", {Lectura(1000, 10)}, 0, 1.0f},
        {"energies that cancel out", {Lectura(1000, 500), Lectura(-1000, -500)}, 200, 1.0f},
        {"a peak demand that is not a number", {Lectura(1000, 10, nan)}, 200, 1.0f},
        {"a bill amount that is not a number", {Lectura(1000, 10, 0, 0, nan)}, 200, 1.0f},
        {"a transformer rating that is not a number", {Lectura(1000, 10, 0, nan)}, 200, 1.0f},
        {"surcharges whose yearly projection is past every number",
         {Lectura(1000, 10, 0, 0, std::numeric_limits<double>::max() / 4)},
         200,
         1.0f},
        {"a desired factor that is not a number", {Lectura(1000, 10)}, 200, std::nanf("")},
        {"no readings", {}, 200, 1.0f},
    };
    for (auto c : casos) {
        TAnalisisConsumo a;
        EXPECT_FALSE(AnalizarLecturas(c.lecturas, c.horas, c.deseado, c.deseado, a)) << c.nombre;
    }
}

TEST(AnalisisConsumo, PeakDemandRequirementWinsAndFiltersDivideBySevenTenths) {
    // The peak reading has tan φ 0.6 at 150 kW: 90 kvar, more than any period needs.
    const struct {
        std::int32_t equipos;
        double qc;
    } casos[] = {{1, 150 * 0.6}, {0, 150 * 0.6 / 0.7}};
    for (const auto& c : casos) {
        Sesion s;
        s.Lecturas = {Lectura(10000, 6000, 150), Lectura(20000, 4000, 100)};
        DatosPanel p;
        p.equipos = c.equipos;
        ASSERT_TRUE(AnalisisConsumo(s, p));
        EXPECT_EQ(s.Analisis.qc, c.qc);
    }
}

TEST(AnalisisPotenciaContratada, ReactivePowerIsTheExactCeilingOfEightyOnePercent) {
    const struct {
        std::int32_t potencia, equipos;
        double qc;
    } casos[] = {
        {100, 1, 81},   {101, 1, 82},
        {100, 0, 100},  {300, 1, 243}, // 0.81 × 300 in double is 243.00000000000003
        {1100, 1, 891}, {2147483647, 1, 1739461755},
    };
    for (const auto& c : casos) {
        TAnalisisConsumo a;
        a.kwhTotal = 5;
        a.cosenoMinimo = 0.5;
        DatosPanel p;
        p.potenciaMaxima = c.potencia;
        p.equipos = c.equipos;
        p.transformadorEntrada = 630;
        ASSERT_TRUE(AnalisisPotenciaContratada(a, p));
        EXPECT_EQ(a.qc, c.qc) << c.potencia;
        EXPECT_EQ(a.potenciaMaxima, c.potencia);
        EXPECT_EQ(a.trafoEntrada, 630);
        EXPECT_EQ(a.cosenoMedio, 1.0);
        // Nothing else is written.
        EXPECT_EQ(a.kwhTotal, 5);
        EXPECT_EQ(a.cosenoMinimo, 0.5);
    }
}
