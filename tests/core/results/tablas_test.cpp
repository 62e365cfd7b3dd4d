#include "core/lang/traduccion.h"
#include "core/results/tablas.h"
#include "core/results/totales.h"
#include "core/util/cp1252.h"
#include "core/util/numeros.h"

#include <gtest/gtest.h>

using namespace tarvik;

namespace {

TEquipoSeleccionado Unidad(const std::string& codigo, double potencia, double tension, double precio,
                           std::uint8_t armonicos = 0) {
    TEquipoSeleccionado e;
    e.codigo = codigo;
    e.serie = "Jade";
    e.potencia = potencia;
    e.tension = tension;
    e.precio = precio;
    e.armonicos = armonicos;
    return e;
}

std::vector<std::string> Columna(const Rejilla& r, std::size_t c) {
    std::vector<std::string> v;
    for (const auto& fila : r)
        v.push_back(fila.at(c));
    return v;
}

// Sets the active language for one test and restores the previous one.
class Idioma {
  public:
    explicit Idioma(int idioma) : previo_(IdiomaActivo()) { EstablecerIdiomaActivo(idioma); }
    ~Idioma() { EstablecerIdiomaActivo(previo_); }

  private:
    int previo_;
};

} // namespace

TEST(Fijo, CorrectlyRoundedFromTheBinaryValueWithoutGrouping) {
    const struct {
        double valor;
        int decimales;
        char separador;
        const char* texto;
    } casos[] = {
        {12.5, 2, ',', "12,50"},
        {12.5, 2, '.', "12.50"},
        {0.125, 2, '.', "0.12"}, // an exact tie: to even
        {2.675, 2, '.', "2.67"},
        {0.375, 2, '.', "0.38"},
        {100.0 / 7 * 12, 0, '.', "171"},
        {1234567.891, 0, ',', "1234568"},
        {1e21, 0, '.', "1000000000000000000000"},
        {0.949999988079071, 2, '.', "0.95"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Fijo(c.valor, c.decimales, c.separador), c.texto) << c.valor;
}

TEST(MostrarEquipos, OneColumnPerUnitWithMarginsAndDecimals) {
    const std::vector<TEquipoSeleccionado> equipos{Unidad("JD-100", 100, 400, 1500),
                                                   Unidad("JD-125", 12.5, 440, 0, 1)};
    const Rejilla r = MostrarEquipos(equipos, 1, 0, ',');
    ASSERT_EQ(r.size(), 6u);
    for (const auto& fila : r)
        ASSERT_EQ(fila.size(), 3u);
    EXPECT_EQ(Columna(r, 0), (std::vector<std::string>{" Tipo", Utf8ToCp1252(" Código del equipo a instalar"),
                                                       " Potencia (kvar)", Utf8ToCp1252(" Tensión (Voltios)"),
                                                       " Cantidad", Utf8ToCp1252(" Precio(€)")}));
    EXPECT_EQ(Columna(r, 1),
              (std::vector<std::string>{" Serie Jade", " JD-100", " 100,00", " 400", " 1", " 1500"}));
    EXPECT_EQ(Columna(r, 2)[2], " 12,50");
    EXPECT_EQ(Columna(r, 2)[5], " Consultar");
    EXPECT_TRUE(HayEquiposConArmonicos(equipos));
    EXPECT_FALSE(HayEquiposConArmonicos({equipos[0]}));
}

TEST(MostrarEquipos, SeriesHeadingAndPowerUnitByEquipmentAndLanguage) {
    const struct {
        int idioma;
        std::int32_t tipoEquipos;
        const char* encabezado;
        const char* potencia;
        const char* consultar;
    } casos[] = {
        {kEspanol, 1, " Serie Jade", " Potencia (kvar)", " Consultar"},
        {kEspanol, 0, " Filtro Jade", " Potencia (kW)", " Consultar"},
        {kIngles, 1, " Jade Series", " Power (kvar)", " Consult Us"},
        {kIngles, 0, " Jade Filter", " Power (kW)", " Consult Us"},
    };
    for (const auto& c : casos) {
        const Idioma idioma(c.idioma);
        const Rejilla r = MostrarEquipos({Unidad("JD", 90, 400, 0)}, c.tipoEquipos, 0, '.');
        EXPECT_EQ(r[0][1], c.encabezado);
        EXPECT_EQ(r[2][0], c.potencia);
        EXPECT_EQ(r[5][1], c.consultar);
    }
}

TEST(MostrarEquipos, EmptyListAndTariffOneOneColumns) {
    const struct {
        std::size_t unidades;
        std::int32_t tarifa;
        std::size_t columnas;
        bool ultimaEnBlanco;
    } casos[] = {{0, 0, 2, true}, {0, 8, 3, true}, {2, 8, 4, true}, {2, 7, 3, false}};
    for (const auto& c : casos) {
        const std::vector<TEquipoSeleccionado> equipos(c.unidades, Unidad("X", 10, 400, 5));
        const Rejilla r = MostrarEquipos(equipos, 0, c.tarifa, '.');
        ASSERT_EQ(r.size(), 6u);
        EXPECT_EQ(r[0].size(), c.columnas);
        // The extra column, and the only data column of an empty list, stay blank.
        EXPECT_EQ(Columna(r, c.columnas - 1) == std::vector<std::string>(6, ""), c.ultimaEnBlanco)
            << c.unidades << " " << c.tarifa;
    }
}

TEST(MostrarTransformadores, RatioQuantityAndPriceOnRequestWithoutMargin) {
    const std::vector<TTransformadorSeleccionado> trafos{
        {"T250", 250, 0, 400}, {"T12", 12.5, 300, 230}, {"T0", 0, 0, 400}};
    std::vector<TEquipoSeleccionado> equipos{Unidad("A", 10, 400, 0), Unidad("B", 10, 230, 0)};
    equipos[1].cantidad = 4;
    const Rejilla r = MostrarTransformadores(trafos, equipos, '.');
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(Columna(r, 0)[0], " ");
    EXPECT_EQ(Columna(r, 0),
              (std::vector<std::string>{" ", " I1/I2", " Cantidad", Utf8ToCp1252(" Precio (€)")}));
    EXPECT_EQ(Columna(r, 1), (std::vector<std::string>{" ", " 250/5", " 1", "Consultar"}));
    EXPECT_EQ(Columna(r, 2), (std::vector<std::string>{" ", " 12/5", " 4", " 300"}));
    EXPECT_EQ(Columna(r, 3)[2], " 0"); // no current, no quantity

    const Rejilla vacia = MostrarTransformadores({}, equipos, '.');
    EXPECT_EQ(vacia[0].size(), 2u);
    EXPECT_EQ(Columna(vacia, 1), std::vector<std::string>(4, ""));
}

TEST(MostrarConductores, OneColumnPerConductorRowWithTheUnitCode) {
    const std::vector<TEquipoSeleccionado> equipos{Unidad("JD-400", 400, 400, 0),
                                                   Unidad("FIJO", 32.5, 400, 0)};
    const struct {
        int idioma;
        const char* noExiste;
        const char* fase;
        const char* consultar;
    } casos[] = {{kEspanol, " No existe", "x3 Fase", "Consultar"},
                 {kIngles, " Does not e", "x3 Phase", "Consult Us"}};
    for (const auto& c : casos) {
        const Idioma idioma(c.idioma);
        std::vector<TConductorSeleccionado> conductores(2);
        conductores[0] = {1.5 * 400000 / (1.7320508075688772 * 400), "185,00", 300, 45, 12.5, 3};
        conductores[1] = {0, Texto("no_existe").substr(0, 10), 0, 0, 0, 0};
        const Rejilla r = MostrarConductores(conductores, equipos, 8, ',');
        ASSERT_EQ(r.size(), 7u);
        EXPECT_EQ(r[0].size(), 4u);
        EXPECT_EQ(Columna(r, 1), (std::vector<std::string>{" JD-400", " 866,03", " 185,00", " 300,00",
                                                           " 12,50", std::string(" 3") + c.fase, " 45"}));
        EXPECT_EQ(Columna(r, 2), (std::vector<std::string>{" FIJO", " 0,00", c.noExiste, " 0,00", " 0,00",
                                                           std::string(" 0") + c.fase, c.consultar}));
        EXPECT_EQ(Columna(r, 3), std::vector<std::string>(7, ""));
    }
    EXPECT_EQ(MostrarConductores({}, {}, 0, '.')[0].size(), 1u);
}

TEST(LlenarTotales, YearlySurchargeFromTheAverageMonth) {
    const struct {
        double recargo;
        std::size_t lecturas;
        std::int32_t tipoLectura;
        const char* total;
    } casos[] = {
        {1200, 12, 0, "1200"}, {300, 3, 0, "1200"}, {600, 6, 1, "600"}, {100, 7, 0, "171"}, {0, 0, 0, "0"},
    };
    for (const auto& c : casos) {
        TAnalisisConsumo a;
        a.recargoTotal = c.recargo;
        EXPECT_EQ(LlenarTotales(a, 1.0, c.lecturas, c.tipoLectura, '.').total_penalizacion, c.total)
            << c.recargo;
    }
    TAnalisisConsumo a;
    a.cosenoMinimo = 0.7049;
    a.cosenoMedio = 0.8;
    const TextosTotales t = LlenarTotales(a, 1.0, 12, 0, ',');
    EXPECT_EQ(t.fpb, "0,70");
    EXPECT_EQ(t.fpm, "0,80");
    EXPECT_EQ(t.fpd, "1,00");
    EXPECT_EQ(LlenarTotales(a, 0.95, 12, 0, '.').fpd, "0.95");
}
