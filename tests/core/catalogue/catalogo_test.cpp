#include "soporte/archivos.h"

#include "core/catalogue/catalogo.h"
#include "core/study/rutas.h"

#include <gtest/gtest.h>

#include <bit>

using namespace tarvik;
using prueba::CarpetaTemporal;

namespace {

TEquipo Banco(const std::string& codigo, float potencia) {
    TEquipo e;
    e.codigo = codigo;
    e.serie = "Jade";
    e.potencia = potencia;
    e.tension = 440;
    e.precio = 1234.5f;
    e.armonicos = 1;
    e.tipo = 1;
    e.indicador = 9;
    return e;
}

std::uint64_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return prueba::LeerLE(b, at, 4);
}

} // namespace

TEST(Catalogo, RecordsLieAtTheirOffsets) {
    const auto e = Banco("AMB-400-90", 90).Codificar();
    ASSERT_EQ(e.size(), 72u);
    EXPECT_EQ(e[0], 10);
    EXPECT_EQ(std::string(e.begin() + 1, e.begin() + 11), "AMB-400-90");
    EXPECT_EQ(e[21], 4);
    EXPECT_EQ(std::string(e.begin() + 22, e.begin() + 26), "Jade");
    EXPECT_EQ(U32(e, 52), std::bit_cast<std::uint32_t>(90.0f));
    EXPECT_EQ(U32(e, 60), 440u);
    EXPECT_EQ(U32(e, 64), std::bit_cast<std::uint32_t>(1234.5f));
    EXPECT_EQ(e[68], 1);
    EXPECT_EQ(e[70], 1);
    EXPECT_EQ(e[71], 9);

    TTransformador t;
    t.designacion = "TI 400/5";
    t.intensidad = 400;
    const auto tb = t.Codificar();
    ASSERT_EQ(tb.size(), 52u);
    EXPECT_EQ(tb[21], 8);
    EXPECT_EQ(std::string(tb.begin() + 22, tb.begin() + 30), "TI 400/5");
    EXPECT_EQ(U32(tb, 44), std::bit_cast<std::uint32_t>(400.0f));

    TConductor c;
    c.seccion = 1.5f;
    c.intensidad = 17.5f;
    const auto cb = c.Codificar();
    ASSERT_EQ(cb.size(), 12u);
    EXPECT_EQ(U32(cb, 0), std::bit_cast<std::uint32_t>(1.5f));
    EXPECT_EQ(U32(cb, 8), std::bit_cast<std::uint32_t>(17.5f));
}

TEST(Catalogo, ReaderLoadsWholeRecordsOnly) {
    CarpetaTemporal carpeta;
    auto bytes = Banco("A", 75).Codificar();
    const auto segundo = Banco("B", 90).Codificar();
    bytes.insert(bytes.end(), segundo.begin(), segundo.end());
    const std::string ruta = carpeta / "bateria.dat";
    for (const std::size_t sobra : {0u, 6u, 71u}) {
        auto archivo = bytes;
        archivo.resize(144 + sobra, 0xEE);
        prueba::EscribirTodo(ruta, archivo);
        const auto lista = LeerArchivo<TEquipo>(ruta);
        ASSERT_EQ(lista.size(), 2u) << sobra;
        EXPECT_EQ(lista[0].codigo, "A");
        EXPECT_EQ(lista[1].codigo, "B");
        EXPECT_EQ(lista[1].potencia, 90.0f);
        EXPECT_EQ(lista[1].tension, 440);
        EXPECT_EQ(lista[1].precio, 1234.5f);
        EXPECT_EQ(lista[1].indicador, 9);
    }
    prueba::EscribirTodo(ruta, {});
    EXPECT_TRUE(LeerArchivo<TEquipo>(ruta).empty());
    EXPECT_TRUE(LeerArchivo<TEquipo>(carpeta / "filtros.dat").empty());
    EXPECT_TRUE(LeerArchivo<TConductor>(carpeta.ruta().string()).empty());
}

TEST(Catalogo, OversizedTextLengthsStayInsideTheirField) {
    auto bytes = Banco("AMB-400-90", 90).Codificar();
    bytes[0] = 255;
    const TEquipo e = TEquipo::Decodificar(bytes);
    EXPECT_EQ(e.codigo.size(), 20u);
    EXPECT_EQ(e.codigo.substr(0, 10), "AMB-400-90");
    EXPECT_EQ(e.serie, "Jade");

    TTransformador t;
    t.designacion = "TI 400/5";
    auto tb = t.Codificar();
    tb[21] = 200;
    EXPECT_EQ(TTransformador::Decodificar(tb).designacion.size(), 20u);
}

TEST(Catalogo, SeriesCodesAreExactAndCaseSensitive) {
    const std::pair<const char*, std::int32_t> casos[] = {
        {"Serie Ambar", 1},     {"Serie Berilo", 2},       {"Serie Coral", 10},
        {"Serie Diamante", 11}, {"Serie Esmeralda", 200},  {"Serie Fluorita", 201},
        {"Serie Granate", 100}, {"Serie Iolita", 101},     {"Serie Jade", 102},
        {"serie jade", 1000},   {"Serie Jade ", 1000},     {"SERIE JADE", 1000},
        {"Jade", 1000},         {"Serie Hematites", 1000}, {"", 1000},
    };
    for (const auto& [nombre, codigo] : casos)
        EXPECT_EQ(CodigoSerie(nombre), codigo) << '"' << nombre << '"';
}

TEST(Catalogo, VoltageClassesAdmitTheirCatalogueVoltages) {
    struct Caso {
        std::int32_t voltaje;
        std::vector<std::int32_t> admitidas;
        std::int32_t nominal;
    };
    for (const Caso& c : {Caso{0, {400, 440}, 400}, Caso{1, {480}, 480}, Caso{2, {220, 230, 240}, 230},
                          Caso{3, {}, 77}, Caso{-1, {}, 77}}) {
        std::int32_t nominal = 77;
        EXPECT_EQ(TensionesAdmitidas(c.voltaje, nominal), c.admitidas) << c.voltaje;
        EXPECT_EQ(nominal, c.nominal) << c.voltaje;
    }
    std::int32_t nominal = 0;
    EXPECT_TRUE(EnteroEnLista(440, TensionesAdmitidas(0, nominal)));
    EXPECT_FALSE(EnteroEnLista(440, TensionesAdmitidas(1, nominal)));
    EXPECT_FALSE(EnteroEnLista(0, {}));
}

TEST(Catalogo, PathHelpers) {
    EXPECT_EQ(UltimaPosicion("a\\b\\c", '\\'), 4);
    EXPECT_EQ(UltimaPosicion("abc", '\\'), -1);
    EXPECT_EQ(UltimaPosicion("", '\\'), -1);
    EXPECT_EQ(ExtraerRuta("C:\\Programs\\Tool\\tool.exe", '\\'), "C:\\Programs\\Tool\\");
    EXPECT_EQ(ExtraerRuta("tool.exe", '\\'), "tool.exe");
    EXPECT_EQ(ExtraerRuta("/opt/tarvik/tarvik", '/'), "/opt/tarvik/");

    const std::string s(1, kSeparador);
    const Rutas r = Rutas::DesdePrograma(s + "opt" + s + "tarvik" + s + "tarvik");
    EXPECT_EQ(r.RutaPrograma, s + "opt" + s + "tarvik" + s);
    EXPECT_EQ(r.RutaBateria, r.RutaPrograma + "dbf" + s + "bateria.dat");
    EXPECT_EQ(r.RutaBateria60, r.RutaPrograma + "dbf" + s + "bateria60.dat");
    EXPECT_EQ(r.RutaFiltros, r.RutaPrograma + "dbf" + s + "filtros.dat");
    EXPECT_EQ(r.RutaTrans, r.RutaPrograma + "dbf" + s + "trans.dat");
    EXPECT_EQ(r.RutaCond, r.RutaPrograma + "dbf" + s + "cond.dat");
}
