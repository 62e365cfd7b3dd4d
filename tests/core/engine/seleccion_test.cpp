#include "core/engine/seleccion.h"
#include "core/lang/traduccion.h"
#include "soporte/catalogos_prueba.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

using namespace tarvik;
using prueba::Equipo;
using prueba::Lectura;

namespace {

// A session whose program folder holds the given bank (50 Hz) and filter catalogues.
class Seleccion : public ::testing::Test {
  protected:
    void SetUp() override { s.rutas = carpeta.rutas(); }
    void Bancos(const std::vector<TEquipo>& e) { carpeta.Escribir("bateria.dat", e); }
    void Filtros(const std::vector<TEquipo>& e) { carpeta.Escribir("filtros.dat", e); }

    std::vector<double> Potencias() const {
        std::vector<double> v;
        for (const auto& e : s.EquiposSeleccionados)
            v.push_back(e.potencia);
        return v;
    }
    std::vector<std::string> Series() const {
        std::vector<std::string> v;
        for (const auto& e : s.EquiposSeleccionados)
            v.push_back(e.serie);
        return v;
    }

    prueba::CarpetaPrograma carpeta;
    Sesion s;
    DatosPanel p;
    ListaMensajes m;
};

} // namespace

TEST_F(Seleccion, BankMustExceedTheRequirement) {
    Bancos({Equipo("Jade", 75), Equipo("Jade", 81), Equipo("Jade", 100), Equipo("Jade", 90)});
    s.Analisis.qc = 81;
    ASSERT_TRUE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(Potencias(), std::vector<double>{90});
    const TEquipoSeleccionado& e = s.EquiposSeleccionados[0];
    EXPECT_EQ(e.cantidad, 1);
    EXPECT_EQ(e.codigo, "Jad900");
    EXPECT_EQ(e.codigoSerie, 102);
    EXPECT_EQ(e.indicador, 7);
    EXPECT_EQ(e.tension, 400);
    EXPECT_TRUE(m.empty());
    EXPECT_TRUE(s.CatalogoEquipos.empty());
}

TEST_F(Seleccion, WithoutHarmonicsEveryModelOfTheBestPowerSortedBySeries) {
    Bancos({Equipo("Jade", 90), Equipo("Otra", 90), Equipo("Ambar", 95), Equipo("Ambar", 90),
            Equipo("Coral", 90)});
    s.Analisis.qc = 81;
    ASSERT_TRUE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(Series(), (std::vector<std::string>{"Ambar", "Coral", "Jade", "Otra"}));
}

TEST_F(Seleccion, WithHarmonicsTheSmallestBankOfEachSeriesThatReachesTheBest) {
    Bancos({Equipo("Iolita", 90, 400, 900, 1), Equipo("Jade", 100, 400, 1000, 1),
            Equipo("Iolita", 120, 400, 1200, 1), Equipo("Granate", 120, 400, 1200, 1),
            Equipo("Granate", 100, 400, 1100, 1), Equipo("Jade", 85, 400, 850, 0)});
    s.Analisis.qc = 81;
    p.armonicos = 1;
    ASSERT_TRUE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(Series(), (std::vector<std::string>{"Granate", "Iolita", "Jade"}));
    EXPECT_EQ(Potencias(), (std::vector<double>{100, 90, 100}));
    // A series row replaced by a smaller unit loses its catalogue price (price on request).
    EXPECT_EQ(s.EquiposSeleccionados[0].precio, 0);
    EXPECT_EQ(s.EquiposSeleccionados[1].precio, 900);
    EXPECT_EQ(s.EquiposSeleccionados[2].precio, 1000);
}

TEST_F(Seleccion, DamagedUnitsAreNeverOfferedAtAnInfinitePowerNorAtAPriceThatIsNotANumber) {
    const float inf = std::numeric_limits<float>::infinity();
    Bancos({Equipo("Jade", 100, 400, 1000, 1, 0, "JD-100"), Equipo("Coral", inf, 400, 500, 1, 0, "CR-INF"),
            Equipo("Iolita", 120, 400, std::numeric_limits<float>::quiet_NaN(), 1, 0, "IO-120"),
            Equipo("Fijo", 32.5f, 400, inf, 0, 1, "FX-32")});
    s.Analisis.qc = 81;
    p.armonicos = 1;
    s.trafoEntradaMayor = 630;
    ASSERT_TRUE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(Series(), (std::vector<std::string>{"Iolita", "Jade", "Fijo"}));
    EXPECT_EQ(s.EquiposSeleccionados[0].precio, 0);
    EXPECT_EQ(s.EquiposSeleccionados[1].precio, 1000);
    EXPECT_EQ(s.EquiposSeleccionados[2].precio, 0);
}

TEST_F(Seleccion, TheCooledSeriesAndOtherKindsAreNeverOffered) {
    Bancos({Equipo("Hematites", 85), Equipo("Jade", 86, 400, 1, 1), Equipo("Jade", 87, 400, 1, 0, 1),
            Equipo("Jade", 88, 480), Equipo("hematites", 95), Equipo("Jade", 99)});
    s.Analisis.qc = 81;
    ASSERT_TRUE(SeleccionarBaterias(s, p, m));
    // Only the exact name "Hematites" is the cooled series.
    EXPECT_EQ(Potencias(), std::vector<double>{95});
}

TEST_F(Seleccion, FourHundredVoltStudiesAdmitFourHundredFortyVoltBanks) {
    Bancos({Equipo("Jade", 90, 400), Equipo("Jade", 85, 440)});
    s.Analisis.qc = 81;
    ASSERT_TRUE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(Potencias(), std::vector<double>{85});
    EXPECT_EQ(s.tensionNominal, 400);

    p.voltaje = 1;
    EXPECT_FALSE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(s.tensionNominal, 480);
}

TEST_F(Seleccion, NoBankWithinAThousandKvarAboveTheRequirement) {
    Bancos({Equipo("Jade", 1100), Equipo("Jade", 1050)});
    s.Analisis.qc = 50;
    EXPECT_FALSE(SeleccionarBaterias(s, p, m));
    EXPECT_TRUE(s.EquiposSeleccionados.empty());
    EXPECT_TRUE(m.empty());
}

TEST_F(Seleccion, SixtyHertzReadsItsOwnCatalogue) {
    Bancos({Equipo("Jade", 90)});
    carpeta.Escribir("bateria60.dat", std::vector<TEquipo>{Equipo("Coral", 100)});
    s.Analisis.qc = 81;
    p.frecuencia = 1;
    ASSERT_TRUE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(Series(), std::vector<std::string>{"Coral"});
}

TEST_F(Seleccion, TransformerCapacitorAtFivePercentAfterTheBanks) {
    Bancos({Equipo("Fijo", 35, 400, 0, 0, 1), Equipo("Fijo", 30, 400, 0, 0, 1),
            Equipo("Fijo", 32.5f, 400, 0, 0, 1), Equipo("Fijo", 32.5f, 480, 0, 0, 1), Equipo("Jade", 100),
            Equipo("Ambar", 100)});
    s.Analisis.qc = 81;
    s.trafoEntradaMayor = 630; // the readings' largest, as their analysis leaves it
    ASSERT_TRUE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(Series(), (std::vector<std::string>{"Ambar", "Jade", "Fijo"}));
    EXPECT_EQ(Potencias(), (std::vector<double>{100, 100, 32.5}));
}

TEST_F(Seleccion, TransformerCapacitorByContractedPowerNeedsAnOwnTransformer) {
    Bancos({Equipo("Fijo", 32.5f, 400, 0, 0, 1)});
    s.Analisis.qc = 81;
    s.Analisis.trafoEntrada = 630;
    p.tipoCalculo = 1;
    EXPECT_FALSE(SeleccionarBaterias(s, p, m));
    EXPECT_TRUE(s.EquiposSeleccionados.empty());
    // Appended even when no automatic bank fits.
    p.tieneTransformador = true;
    EXPECT_FALSE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(Potencias(), std::vector<double>{32.5});
}

TEST_F(Seleccion, ARequirementThatIsNotANumberIsAnErrorForBanks) {
    Bancos({Equipo("Jade", 90)});
    s.Analisis.qc = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(SeleccionarBaterias(s, p, m));
    EXPECT_EQ(m, (ListaMensajes{{TipoMensaje::Error, "error_qc", ""}}));
}

TEST_F(Seleccion, FilterAboveNineTenthsOfTheRequirement) {
    const struct {
        double qc;
        std::vector<float> potencias;
        double elegida;
    } casos[] = {
        {100, {80, 90, 110, 95}, 95}, // 90 is exactly nine tenths: not accepted
        {100, {95, 91}, 91},
        {90 / 0.7, {150, 110, 120}, 120},
        // 10 / (10 / 0.9) rounds to 0.9 in double, but the exact quotient lies above it.
        {10 / 0.9, {10, 20}, 10},
    };
    for (const auto& c : casos) {
        std::vector<TEquipo> filtros;
        for (float f : c.potencias)
            filtros.push_back(Equipo("Zentrola", f));
        Filtros(filtros);
        s.Analisis.qc = c.qc;
        ASSERT_TRUE(SeleccionarFiltros(s, p, m)) << c.qc;
        EXPECT_EQ(Potencias(), std::vector<double>{c.elegida}) << c.qc;
    }
    EXPECT_TRUE(m.empty());
}

TEST_F(Seleccion, FiltersIgnoreHarmonicUnitsFixedCapacitorsAndFrequency) {
    Filtros({Equipo("Jade", 95, 400, 0, 1), Equipo("Jade", 96, 400, 0, 0, 1), Equipo("Jade", 120),
             Equipo("Ambar", 120), Equipo("Jade", 97, 230)});
    s.Analisis.qc = 100;
    p.frecuencia = 1;
    p.armonicos = 1;
    ASSERT_TRUE(SeleccionarFiltros(s, p, m));
    EXPECT_EQ(Series(), (std::vector<std::string>{"Ambar", "Jade"}));
    EXPECT_EQ(Potencias(), (std::vector<double>{120, 120}));
}

TEST_F(Seleccion, AFilterRequirementOfZeroIsAnError) {
    Filtros({Equipo("Jade", 95)});
    for (double qc : {0.0, std::numeric_limits<double>::infinity()}) {
        m.clear();
        s.Analisis.qc = qc;
        EXPECT_FALSE(SeleccionarFiltros(s, p, m));
        EXPECT_EQ(m, (ListaMensajes{{TipoMensaje::Error, "error_qc", ""}}));
    }
    // Without any eligible filter nothing is compared, so nothing fails.
    Filtros({});
    m.clear();
    s.Analisis.qc = 0;
    EXPECT_FALSE(SeleccionarFiltros(s, p, m));
    EXPECT_TRUE(m.empty());
}

namespace {

TEquipoSeleccionado Unidad(double potencia, double tension, std::int32_t cantidad = 1) {
    TEquipoSeleccionado e;
    e.potencia = potencia;
    e.tension = tension;
    e.cantidad = cantidad;
    return e;
}

} // namespace

TEST_F(Seleccion, ConductorPerPhaseByCurrent) {
    const struct {
        const char* nombre;
        double kvar, tension;
        double nominal;
        std::int32_t cantidad;
        double porConductor;
        const char* seccion;
    } casos[] = {
        {"100 kvar", 100, 400, 1.5 * (100 * 1000 / (std::sqrt(3.0) * 400)), 1, 223, "95.00"},
        {"400 kvar in three conductors", 400, 400, 1.5 * (400 * 1000 / (std::sqrt(3.0) * 400)), 3, 300,
         "185.00"},
        {"278 kvar: three shares fall short of the design current by rounding", 278, 400,
         1.5 * (278 * 1000 / (std::sqrt(3.0) * 400)), 4, 223, "95.00"},
        {"140 kvar in two conductors", 140, 400, 1.5 * (140 * 1000 / (std::sqrt(3.0) * 400)), 2, 184,
         "70.00"},
    };
    s.CatalogoConductores = prueba::ConductoresHasta300();
    for (const auto& c : casos) {
        s.EquiposSeleccionados = {Unidad(c.kvar, c.tension)};
        ASSERT_TRUE(SeleccionarConductores(s, '.'));
        ASSERT_EQ(s.ConductoresSeleccionados.size(), 1u);
        const TConductorSeleccionado& r = s.ConductoresSeleccionados[0];
        EXPECT_EQ(r.intensidadNominal, c.nominal) << c.nombre;
        EXPECT_EQ(r.cantidad, c.cantidad) << c.nombre;
        EXPECT_EQ(r.intensidadConductor, c.porConductor) << c.nombre;
        EXPECT_EQ(r.seccion, c.seccion) << c.nombre;
        EXPECT_EQ(r.precio, 0);
        EXPECT_EQ(r.longitud, 0);
    }
    EXPECT_NEAR(s.ConductoresSeleccionados[0].intensidadNominal, 303.11, 0.01);
}

TEST(ConductoresEnParalelo, SharesAndTheRoundingRule) {
    const double id100 = 1.5 * (100 * 1000 / (std::sqrt(3.0) * 400));
    const double id400 = 1.5 * (400 * 1000 / (std::sqrt(3.0) * 400));
    const double id278 = 1.5 * (278 * 1000 / (std::sqrt(3.0) * 400));
    Paralelo r;
    ASSERT_TRUE(ConductoresEnParalelo(id100, 300, r));
    EXPECT_EQ(r.conductores, 1);
    EXPECT_NEAR(r.intensidad, 216.51, 0.005);
    ASSERT_TRUE(ConductoresEnParalelo(id400, 300, r));
    EXPECT_EQ(r.conductores, 3);
    EXPECT_EQ(r.intensidad, id400 / 3);
    EXPECT_NEAR(r.intensidad, 288.68, 0.005);
    // Three shares of 278 kvar make less than the design current: a fourth conductor, same share.
    ASSERT_TRUE(ConductoresEnParalelo(id278, 300, r));
    EXPECT_EQ(r.conductores, 4);
    EXPECT_EQ(r.intensidad, id278 / 3);
    // Exactly at the limit: one conductor.
    ASSERT_TRUE(ConductoresEnParalelo(300, 300, r));
    EXPECT_EQ(r.conductores, 1);
}

TEST(ConductoresEnParalelo, ImpossibleLimitsEndAtOnce) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Paralelo r;
    EXPECT_FALSE(ConductoresEnParalelo(500, 0, r));
    EXPECT_FALSE(ConductoresEnParalelo(500, -300, r));
    EXPECT_FALSE(ConductoresEnParalelo(500, nan, r));
    EXPECT_FALSE(ConductoresEnParalelo(inf, 300, r));
    EXPECT_FALSE(ConductoresEnParalelo(nan, 300, r));
    // More conductors than a quantity can count.
    EXPECT_FALSE(ConductoresEnParalelo(1e30, 300, r));
    // A very large but countable number is found without walking to it.
    ASSERT_TRUE(ConductoresEnParalelo(300.0 * 2000000001, 300, r));
    EXPECT_EQ(r.conductores, 2000000001);
    EXPECT_EQ(r.intensidad, 300);
}

TEST_F(Seleccion, NoConductorFitsKeepsTheListsAligned) {
    const struct {
        const char* nombre;
        std::vector<TConductor> catalogo;
        TEquipoSeleccionado unidad;
    } casos[] = {
        {"empty catalogue", {}, Unidad(100, 400)},
        {"largest current zero", {prueba::Conductor(10, 50), prueba::Conductor(16, 0)}, Unidad(100, 400)},
        {"unit without voltage", prueba::ConductoresHasta300(), Unidad(100, 0)},
        {"infinite power", prueba::ConductoresHasta300(),
         Unidad(std::numeric_limits<double>::infinity(), 400)},
        {"current far below every conductor", {prueba::Conductor(1000, 200000)}, Unidad(10, 400)},
    };
    for (const auto& c : casos) {
        s.CatalogoConductores = c.catalogo;
        s.EquiposSeleccionados = {Unidad(10, 400), c.unidad};
        SeleccionarConductores(s, '.');
        ASSERT_EQ(s.ConductoresSeleccionados.size(), 2u) << c.nombre;
        const TConductorSeleccionado& r = s.ConductoresSeleccionados[1];
        EXPECT_EQ(r.intensidadNominal, 0) << c.nombre;
        EXPECT_EQ(r.intensidadConductor, 0) << c.nombre;
        EXPECT_EQ(r.cantidad, 0) << c.nombre;
        EXPECT_EQ(r.seccion, "No existe") << c.nombre;
    }
}

TEST_F(Seleccion, NoConductorTextIsCutToTheSectionCapacity) {
    EstablecerIdiomaActivo(kIngles);
    s.EquiposSeleccionados = {Unidad(10, 400)};
    SeleccionarConductores(s, '.');
    EstablecerIdiomaActivo(kEspanol);
    EXPECT_EQ(s.ConductoresSeleccionados[0].seccion, "Does not e");
}

TEST_F(Seleccion, SectionTextUsesTheDecimalSeparatorAndTheFirstRecordOfItsCurrent) {
    s.CatalogoConductores = {prueba::Conductor(2.5f, 24), prueba::Conductor(1.5f, 24),
                             prueba::Conductor(123456789.0f, 300)};
    s.EquiposSeleccionados = {Unidad(5, 400), Unidad(150, 400)};
    SeleccionarConductores(s, ',');
    EXPECT_EQ(s.ConductoresSeleccionados[0].seccion, "2,50");
    EXPECT_EQ(s.ConductoresSeleccionados[1].seccion, "123456792,"); // cut to 10 characters
}

TEST_F(Seleccion, AConductorWhoseSectionIsNotANumberIsPassedOver) {
    for (const float seccion :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        s.CatalogoConductores = {prueba::Conductor(seccion, 250), prueba::Conductor(120, 259)};
        s.EquiposSeleccionados = {Unidad(100, 400)}; // 216.51 A
        SeleccionarConductores(s, '.');
        EXPECT_EQ(s.ConductoresSeleccionados[0].seccion, "120.00");
        EXPECT_EQ(s.ConductoresSeleccionados[0].intensidadConductor, 259);
    }
}

TEST_F(Seleccion, CurrentTransformerForOneAndAHalfTimesThePeakCurrent) {
    const struct {
        const char* nombre;
        double potencia, coseno;
        std::vector<TTransformador> catalogo;
        std::vector<std::string> designaciones;
    } casos[] = {
        // 150 kW at 0.9 and 400 V: 240.56 A, truncated 240, 360 A required.
        {"400 before 500",
         150,
         0.9,
         {prueba::Transformador("T500", 500), prueba::Transformador("T400", 400),
          prueba::Transformador("T300", 300)},
         {"T400"}},
        {"360 fits exactly",
         150,
         0.9,
         {prueba::Transformador("T400", 400), prueba::Transformador("T360", 360)},
         {"T360"}},
        // By contracted power: 100 kW at 1.0: 144 A, 216 A required; every designation of that current.
        {"several designations",
         100,
         1.0,
         {prueba::Transformador("A250", 250), prueba::Transformador("T215", 215),
          prueba::Transformador("B250", 250)},
         {"A250", "B250"}},
        {"nothing large enough", 100, 1.0, {prueba::Transformador("T200", 200)}, {}},
        {"no peak demand", 0, 1.0, {prueba::Transformador("T200", 200)}, {}},
        {"a power factor of zero", 100, 0.0, {prueba::Transformador("T200", 200)}, {}},
        {"a current beyond any range", 100, 1e-300, {prueba::Transformador("T200", 200)}, {}},
    };
    s.tensionNominal = 400;
    for (const auto& c : casos) {
        s.CatalogoTransformadores = c.catalogo;
        s.Analisis.potenciaMaxima = c.potencia;
        s.Analisis.cosenoMedio = c.coseno;
        EXPECT_EQ(SeleccionarTransformadores(s), !c.designaciones.empty()) << c.nombre;
        std::vector<std::string> d;
        for (const auto& t : s.TransformadoresSeleccionados) {
            d.push_back(t.designacion);
            EXPECT_EQ(t.tension, 400);
            EXPECT_EQ(t.precio, 0);
        }
        EXPECT_EQ(d, c.designaciones) << c.nombre;
    }
    s.tensionNominal = 0;
    s.Analisis.potenciaMaxima = 150;
    EXPECT_FALSE(SeleccionarTransformadores(s));
}

TEST(CantidadTransformadores, FirstUnitOfTheRoundedVoltageElseTheLast) {
    const std::vector<TEquipoSeleccionado> equipos{Unidad(10, 400, 1), Unidad(10, 402, 3),
                                                   Unidad(10, 230, 5)};
    const struct {
        double tension;
        std::int32_t cantidad;
    } casos[] = {{400, 1}, {400.5, 1}, {401.5, 3}, {402.4, 3}, {480, 5}};
    for (const auto& c : casos)
        EXPECT_EQ(CantidadTransformadores(equipos, c.tension), c.cantidad) << c.tension;
    EXPECT_EQ(CantidadTransformadores({}, 400), 0);
}

TEST(ListaEquipos, ComparedFieldsMatchTheWholeRecord) {
    prueba::CarpetaPrograma carpeta;
    std::vector<TEquipo> registros{Equipo("Hematites", 85.5f, 440, 12, 1, 0, "HM-85"),
                                   Equipo("Jade", -3.25f, -230, 0, 0, 1, "JD")};
    registros[1].codigo = std::string(20, 'x');
    carpeta.Escribir("bateria.dat", registros);
    // A trailing partial record is dropped.
    {
        std::ofstream f(carpeta.ruta() / "dbf" / "bateria.dat", std::ios::binary | std::ios::app);
        f << "partial";
    }
    ListaEquipos lista;
    lista.Cargar(carpeta.rutas().RutaBateria);
    ASSERT_EQ(lista.size(), 2u);
    for (std::size_t i = 0; i < lista.size(); ++i) {
        const TEquipo e = lista[i];
        EXPECT_EQ(e.codigo, registros[i].codigo);
        EXPECT_EQ(lista.potencia(i), registros[i].potencia);
        EXPECT_EQ(lista.tension(i), registros[i].tension);
        EXPECT_EQ(lista.armonicos(i), registros[i].armonicos);
        EXPECT_EQ(lista.tipo(i), registros[i].tipo);
        EXPECT_EQ(lista.EsSerie(i, registros[i].serie), true);
    }
    EXPECT_FALSE(lista.EsSerie(0, "Hematite"));
    EXPECT_FALSE(lista.EsSerie(0, "hematites"));

    lista.Cargar(carpeta.rutas().RutaFiltros); // missing
    EXPECT_TRUE(lista.empty());
}
