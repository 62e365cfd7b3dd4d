#include "core/engine/calculo.h"
#include "core/results/amortizacion.h"
#include "soporte/catalogos_prueba.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace tarvik;
using prueba::Equipo;
using prueba::Lectura;

namespace {

constexpr auto kError = TipoMensaje::Error;
constexpr auto kInfo = TipoMensaje::Informacion;

// Twelve monthly readings at a power factor of 0.8 whose peak needs 90 kvar to reach 1.
std::vector<TLectura> AnoDeLecturas() {
    std::vector<TLectura> v(12, Lectura(40000, 30000, 100, 630));
    v[5].mdr = 120;
    return v;
}

class Calculo : public ::testing::Test {
  protected:
    void SetUp() override {
        s.rutas = carpeta.rutas();
        carpeta.Escribir("bateria.dat", std::vector<TEquipo>{Equipo("Jade", 150), Equipo("Ambar", 200),
                                                             Equipo("Fijo", 32.5f, 400, 0, 0, 1)});
        carpeta.Escribir("filtros.dat",
                         std::vector<TEquipo>{Equipo("Zentrola", 130), Equipo("Zentrola", 300)});
        s.CatalogoConductores = prueba::ConductoresHasta300();
        s.CatalogoTransformadores = {prueba::Transformador("400/5", 400),
                                     prueba::Transformador("300/5", 300)};
        s.Lecturas = AnoDeLecturas();
        p.equipos = 1;
    }

    prueba::CarpetaPrograma carpeta;
    Sesion s;
    DatosPanel p;
    ListaMensajes m;
};

} // namespace

TEST_F(Calculo, BanksConductorsAndTransformersOfAYear) {
    p.empresa = "KELTU";
    ASSERT_TRUE(Calcular(s, p, m, ','));
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(s.Datos.empresa, "KELTU"); // the study record is refreshed from the panel first
    // Per period: 0.75 × 40000 / 200 = 150 kvar; at the peak 120 × 0.75 = 90: qc 150, so 200 kvar.
    EXPECT_EQ(s.Analisis.qc, 150);
    ASSERT_EQ(s.EquiposSeleccionados.size(), 2u);
    EXPECT_EQ(s.EquiposSeleccionados[0].serie, "Ambar");
    EXPECT_EQ(s.EquiposSeleccionados[1].serie, "Fijo"); // transformer capacitor of 630 kVA
    ASSERT_EQ(s.ConductoresSeleccionados.size(), 2u);
    EXPECT_EQ(s.ConductoresSeleccionados[0].cantidad, 2);
    EXPECT_EQ(s.ConductoresSeleccionados[0].seccion, "95,00"); // 433.01 A in two shares of 216.51
    EXPECT_EQ(s.ConductoresSeleccionados[1].cantidad, 1);
    // 120 kW at 0.8 and 400 V: 216 A, 324 A required.
    ASSERT_EQ(s.TransformadoresSeleccionados.size(), 1u);
    EXPECT_EQ(s.TransformadoresSeleccionados[0].designacion, "400/5");
    for (const TLectura& l : s.Lecturas)
        EXPECT_DOUBLE_EQ(l.coseno, 0.8);
}

TEST_F(Calculo, MessagesOfEveryRefusalInOrder) {
    const struct {
        const char* nombre;
        void (*preparar)(Sesion&, DatosPanel&);
        ListaMensajes esperados;
    } casos[] = {
        {"average already at the desired factor",
         [](Sesion& sesion, DatosPanel& panel) {
             sesion.Lecturas = std::vector<TLectura>(9, Lectura(4000, 0));
             for (int i = 0; i < 3; ++i)
                 sesion.Lecturas.push_back(Lectura(4000, 3000));
             panel.cosenoDeseado = 0.95;
         },
         {{kInfo, "no_compensacion", ""}}},
        {"no readings by consumption",
         [](Sesion& sesion, DatosPanel&) { sesion.Lecturas.clear(); },
         {{kError, "error_datos", ""}}},
        {"readings that cannot be analysed",
         [](Sesion& sesion, DatosPanel&) {
             sesion.Lecturas = {Lectura(1000, 500), Lectura(-1000, -500)};
         },
         {{kError, "error_facturacion", ""}}},
        {"no contracted power and no transformer rating",
         [](Sesion&, DatosPanel& panel) {
             panel.tipoCalculo = 1;
             panel.tieneTransformador = true;
         },
         {{kInfo, "error_potencia_maxima", ""}, {kInfo, "error_cpc_value", ""}}},
        {"banks above 35 degrees, whatever the catalogue",
         [](Sesion& sesion, DatosPanel& panel) {
             sesion.rutas = Rutas::DesdeCarpeta("/nonexistent");
             panel.temperatura = 1;
         },
         {{kInfo, "baterias_35", ""}}},
        {"banks without a temperature choice",
         [](Sesion&, DatosPanel& panel) { panel.temperatura = -1; },
         {{kInfo, "no_existen_baterias", ""}}},
        {"no bank large enough",
         [](Sesion& sesion, DatosPanel&) {
             sesion.Lecturas = std::vector<TLectura>(12, Lectura(400000, 300000));
         },
         {{kInfo, "no_baterias", ""}}},
        {"no filter large enough",
         [](Sesion& sesion, DatosPanel& panel) {
             panel.equipos = 0;
             sesion.Lecturas = std::vector<TLectura>(12, Lectura(400000, 300000));
         },
         {{kInfo, "no_filtros", ""}}},
        {"missing catalogue",
         [](Sesion& sesion, DatosPanel&) { sesion.rutas = Rutas::DesdeCarpeta("/nonexistent"); },
         {{kInfo, "no_baterias", ""}}},
    };
    for (const auto& c : casos) {
        Sesion sesion;
        sesion.rutas = carpeta.rutas();
        sesion.Lecturas = AnoDeLecturas();
        DatosPanel panel;
        panel.equipos = 1;
        c.preparar(sesion, panel);
        ListaMensajes mensajes;
        EXPECT_FALSE(Calcular(sesion, panel, mensajes)) << c.nombre;
        EXPECT_EQ(mensajes, c.esperados) << c.nombre;
    }
}

TEST_F(Calculo, AcceptedWithoutOwnTransformerAndFiltersIgnoreTheTemperature) {
    p.tipoCalculo = 1;
    p.potenciaMaxima = 100;
    p.transformadorEntrada = 0;
    ASSERT_TRUE(Calcular(s, p, m));
    EXPECT_EQ(s.Analisis.qc, 81);
    ASSERT_EQ(s.EquiposSeleccionados.size(), 1u);
    EXPECT_EQ(s.EquiposSeleccionados[0].potencia, 150);

    p.equipos = 0;
    p.temperatura = 1;
    ASSERT_TRUE(Calcular(s, p, m));
    EXPECT_EQ(s.EquiposSeleccionados[0].potencia, 130);
    EXPECT_TRUE(m.empty());
}

TEST_F(Calculo, ARefusalLeavesPartialListsAndMarksTheResultsStale) {
    ASSERT_TRUE(Calcular(s, p, m));
    s.calculoRealizado = true;
    s.resultadosObsoletos = false;
    const auto conductores = s.ConductoresSeleccionados;
    const auto transformadores = s.TransformadoresSeleccionados;
    const TAnalisisConsumo anterior = s.Analisis;

    p.voltaje = 1; // no 480-volt bank in the catalogue
    EXPECT_FALSE(Calcular(s, p, m));
    EXPECT_EQ(m, (ListaMensajes{{kInfo, "no_baterias", ""}}));
    EXPECT_TRUE(s.EquiposSeleccionados.empty());
    EXPECT_EQ(s.ConductoresSeleccionados.size(), conductores.size());
    EXPECT_EQ(s.TransformadoresSeleccionados.size(), transformadores.size());
    EXPECT_EQ(s.Analisis.qc, anterior.qc);
    EXPECT_EQ(s.Datos.voltaje, 1);
    EXPECT_FALSE(s.calculoRealizado);
    EXPECT_TRUE(s.resultadosObsoletos);
}

TEST_F(Calculo, TotalsPathDoesNotRefreshTheStudyRecord) {
    p.empresa = "NUEVA";
    s.Datos.empresa = "ANTERIOR";
    ASSERT_TRUE(ValidarYAnalizar(s, p, m));
    EXPECT_EQ(s.Datos.empresa, "ANTERIOR");
    EXPECT_EQ(s.Analisis.cosenoDeseado, 1.0);
}

// The totals of a study read without holding its readings (each passed by once, in order) must be
// those of the same study held whole, to the bit: the same answer and messages, the same analysis,
// the same transformer capacitor and the same payback.
TEST_F(Calculo, ReadingsPassedByOneAtATimeGiveTheTotalsOfTheStudyHeldWhole) {
    constexpr double k2a53 = 9007199254740992.0; // 2^53: adding 1 to it is lost, in order
    const auto con = [](TLectura l, double TLectura::*campo, double valor) {
        l.*campo = valor;
        return l;
    };
    const TLectura base = Lectura(40000, 30000, 100, 630, 25);
    const struct {
        const char* nombre;
        std::vector<TLectura> lecturas;
        std::int32_t equipos = 1, tipoLectura = 0;
        double deseado = 1.0;
    } casos[] = {
        {"a year of readings", AnoDeLecturas()},
        {"on equal peaks the later reading",
         {Lectura(40000, 10000, 120), Lectura(40000, 30000, 120), Lectura(40000, 20000, 90)}},
        {"on equal highest reactive energies the later reading",
         {Lectura(40000, 30000, 100, 400), Lectura(40000, 30000, 90, 500), Lectura(40000, 100, 80, 250)}},
        {"the largest transformer away from the highest reactive energy",
         {Lectura(40000, 30000, 100, 400), Lectura(40000, 100, 80, 800), Lectura(40000, 200, 80, -5)}},
        {"surcharges summed in reading order",
         {con(base, &TLectura::rr, k2a53), con(base, &TLectura::rr, 1), con(base, &TLectura::rr, 1),
          con(base, &TLectura::rr, -k2a53), con(base, &TLectura::rr, 1)}},
        {"filters, bi-monthly readings", {base, con(base, &TLectura::mdr, 120), base}, 0, 1},
        {"already compensated", {Lectura(40000, 100, 100)}, 1, 0, 0.9},
        {"a reading of 0 kWh at the end", {base, base, Lectura(0, 100, 100)}},
        {"a reading of 0 kWh first, then a peak that is not a number",
         {Lectura(0, 100), con(base, &TLectura::mdr, std::nan(""))}},
        {"a peak that is not a number after readings that average",
         {base, con(base, &TLectura::mdr, std::nan("")), base}},
        {"surcharges whose yearly projection is past every number",
         {base, con(base, &TLectura::rr, std::numeric_limits<double>::max() / 4)}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        p.equipos = c.equipos;
        p.tipoLectura = c.tipoLectura;
        p.cosenoDeseado = c.deseado;
        Sesion entera = s;
        entera.Lecturas = c.lecturas;
        ListaMensajes mensajesEntera;
        const bool okEntera = ValidarYAnalizar(entera, p, mensajesEntera);

        Sesion pasada = s;
        pasada.Lecturas.clear();
        ListaMensajes mensajesPasada;
        ValidacionEnCurso validacion(pasada, p);
        // The readings' figures in runs of three, each gone once the next run is read.
        for (std::size_t i = 0; i < c.lecturas.size(); i += 3) {
            std::vector<TCifrasLectura> tramo;
            for (std::size_t j = i; j < std::min(i + 3, c.lecturas.size()); ++j)
                tramo.push_back(c.lecturas[j].Cifras());
            validacion.Anadir(tramo);
        }
        EXPECT_EQ(validacion.Lecturas(), c.lecturas.size());
        EXPECT_EQ(validacion.Terminar(mensajesPasada), okEntera);
        EXPECT_EQ(mensajesPasada, mensajesEntera);
        if (!okEntera)
            continue;
        EXPECT_EQ(std::memcmp(&pasada.Analisis, &entera.Analisis, sizeof(TAnalisisConsumo)), 0);
        EXPECT_EQ(pasada.trafoEntradaMayor, entera.trafoEntradaMayor);
        const Amortizacion a = AmortizacionDelAnalisis(pasada, p, c.lecturas.size());
        const Amortizacion b = AmortizacionDelEstudio(entera, p);
        EXPECT_EQ(a.estado, b.estado);
        EXPECT_EQ(a.inversion, b.inversion);
        EXPECT_EQ(a.recargoAnual, b.recargoAnual);
        EXPECT_EQ(a.anos, b.anos);
        EXPECT_EQ(a.consultar, b.consultar);
    }
}

TEST_F(Calculo, TheTransformerCapacitorCoversTheReadingsLargestTransformer) {
    s.Lecturas = {Lectura(40000, 30000, 100, 400), Lectura(40000, 30000, 120, 630),
                  Lectura(40000, 100, 90, 200)};
    ASSERT_TRUE(ValidarYAnalizar(s, p, m));
    EXPECT_EQ(s.trafoEntradaMayor, 630);
    s.Lecturas.back().cpc = 800; // not the highest reactive energy, still the largest transformer
    ASSERT_TRUE(ValidarYAnalizar(s, p, m));
    EXPECT_EQ(s.trafoEntradaMayor, 800);
}
