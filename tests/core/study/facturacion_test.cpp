#include "soporte/archivos.h"
#include "soporte/estudio_prueba.h"

#include "core/study/facturacion.h"
#include "core/util/cp1252.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

using namespace tarvik;

namespace {

std::int32_t I32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int32_t>(prueba::LeerLE(b, at, 4));
}
std::string Texto(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(b.data()) + at + 1, b[at]);
}

std::string TextoAleatorio(std::mt19937& rng, std::size_t maximo) {
    static const std::string letras = Utf8ToCp1252("ABCDEFGHIJKLMNOPQRSTUVWXYZ ÁÉÍÓÚÑÜÇ0123456789.,-/ºª€");
    std::string t(std::uniform_int_distribution<std::size_t>(0, maximo)(rng), ' ');
    for (char& c : t)
        c = letras[std::uniform_int_distribution<std::size_t>(0, letras.size() - 1)(rng)];
    return t;
}

int Entre(std::mt19937& rng, int a, int b) {
    return std::uniform_int_distribution<int>(a, b)(rng);
}

DatosPanel PanelAleatorio(std::mt19937& rng) {
    DatosPanel p;
    for (std::string* t :
         {&p.empresa, &p.cliente, &p.direccion, &p.provincia, &p.distribuidor, &p.fax, &p.telefono})
        *t = TextoAleatorio(rng, 130);
    p.tarifa = Entre(rng, 0, 8);
    p.voltaje = Entre(rng, 0, 2);
    p.horas = Entre(rng, kHorasMin, kHorasMax);
    p.cosenoDeseado = Entre(rng, 0, 100) / 100.0;
    p.porPrecio = Entre(rng, 0, 1) != 0;
    p.armonicos = Entre(rng, 0, 1);
    p.tipoLectura = Entre(rng, 0, 1);
    p.seleccionModelo = Entre(rng, 0, 8);
    p.frecuencia = Entre(rng, 0, 1);
    p.temperatura = Entre(rng, -1, 1);
    p.tipoCalculo = Entre(rng, 0, 1);
    p.potenciaMaxima = Entre(rng, 0, 100000);
    p.tieneTransformador = Entre(rng, 0, 1) != 0;
    p.transformadorEntrada = Entre(rng, 0, 5000);
    p.equipos = Entre(rng, 0, 1);
    return p;
}

TLectura LecturaAleatoria(std::mt19937& rng) {
    std::uniform_real_distribution<double> real(-1e5, 1e6);
    TLectura l;
    l.mes = TextoAleatorio(rng, kCapMes);
    l.ano = Entre(rng, 1990, 2040);
    for (double* v : {&l.kwht, &l.mdr, &l.coseno, &l.kvarh, &l.ifp, &l.it, &l.cpc, &l.ia, &l.rr})
        *v = real(rng);
    for (auto& b : l.reservado1)
        b = static_cast<std::uint8_t>(rng());
    for (auto& b : l.reservado2)
        b = static_cast<std::uint8_t>(rng());
    return l;
}

// The shared study with every header field away from the values that older layouts stand in with.
TDatosEstudio DatosCompletos() {
    TDatosEstudio d = prueba::EstudioCompleto().datos;
    d.tarifa = 3;
    d.voltaje = 1;
    d.cosenoDeseado = 0.95f;
    d.porPrecio = true;
    d.armonicos = 1;
    d.tipoLectura = 1;
    d.seleccionModelo = 4;
    d.reservado1 = 0;
    d.frecuencia = 1;
    d.temperatura = 1;
    d.reservado2 = 555;
    d.tipoCalculo = 1;
    d.potenciaMaxima = 321;
    d.tieneTransformador = true;
    d.transformadorEntrada = 630;
    d.equipos = 0;
    return d;
}

TLectura LecturaEjemplo(const std::string& mes, double kwht) {
    TLectura l;
    l.mes = mes;
    l.ano = 2023;
    l.kwht = kwht;
    l.kvarh = kwht * 0.75;
    l.mdr = 150;
    l.cpc = 630;
    l.reservado1.fill(0xA5);
    l.reservado2.fill(0x5A);
    return l;
}

std::vector<std::uint8_t> Mas(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(Facturacion, RoundTripOfRandomStudiesGivesBackTheStudy) {
    std::mt19937 rng(61616);
    for (int vuelta = 0; vuelta < 150; ++vuelta) {
        const DatosPanel panel = PanelAleatorio(rng);
        TDatosEstudio datos;
        datos.version = 34; // as left by an older file that was opened
        datos.reservado2 = static_cast<std::int32_t>(rng());
        RecogerDatos(panel, datos);
        std::vector<TLectura> lecturas(static_cast<std::size_t>(Entre(rng, 0, 14)));
        for (TLectura& l : lecturas)
            l = LecturaAleatoria(rng);

        const std::vector<std::uint8_t> imagen = CodificarFacturacion(datos, lecturas);
        EXPECT_EQ(imagen.size(), kTamCabecera + kTamLectura * lecturas.size());
        const ResultadoCarga leido = DecodificarFacturacion(imagen, DatosCompletos());
        ASSERT_TRUE(leido.ok());

        TDatosEstudio esperado = datos;
        esperado.version = 100;
        EXPECT_EQ(leido.datos, esperado) << vuelta;
        EXPECT_EQ(leido.lecturas, lecturas) << vuelta; // reserved bytes included

        // Shown again, the panel differs only by texts cut to their capacities.
        DatosPanel visto = panel;
        visto.empresa = TruncateBytes(visto.empresa, kCapEmpresa);
        visto.cliente = TruncateBytes(visto.cliente, kCapCliente);
        visto.direccion = TruncateBytes(visto.direccion, kCapDireccion);
        visto.provincia = TruncateBytes(visto.provincia, kCapProvincia);
        visto.distribuidor = TruncateBytes(visto.distribuidor, kCapDistribuidor);
        visto.fax = TruncateBytes(visto.fax, kCapFax);
        visto.telefono = TruncateBytes(visto.telefono, kCapTelefono);
        EXPECT_EQ(MostrarDatos(leido.datos), visto) << vuelta;
    }
}

// A reading's figures alone (what the totals decode) come out as the same fields of the whole
// reading, also from bytes cut short at any length, where the fields past the end read as 0.
TEST(Facturacion, AReadingsFiguresDecodeAsTheWholeReading) {
    std::mt19937 rng(136);
    for (int vuelta = 0; vuelta < 20; ++vuelta) {
        const std::vector<std::uint8_t> bytes = CodificarLectura(LecturaAleatoria(rng));
        for (std::size_t n = 0; n <= bytes.size(); ++n) {
            const std::span<const std::uint8_t> cortados = std::span(bytes).first(n);
            TCifrasLectura cifras;
            DecodificarCifras(cortados, cifras);
            EXPECT_EQ(cifras, DecodificarLectura(cortados).Cifras()) << vuelta << ": " << n << " bytes";
        }
    }
}

TEST(Facturacion, HeaderAndReadingLieAtTheirOffsets) {
    const TDatosEstudio d = DatosCompletos();
    const auto cab = CodificarCabecera(d);
    ASSERT_EQ(cab.size(), 616u);
    EXPECT_EQ(cab[0] | (cab[1] << 8), 100);
    EXPECT_EQ(Texto(cab, 2), d.empresa);
    EXPECT_EQ(Texto(cab, 103), d.provincia);
    EXPECT_EQ(Texto(cab, 204), d.distribuidor);
    EXPECT_EQ(Texto(cab, 305), d.fax);
    EXPECT_EQ(Texto(cab, 326), d.telefono);
    EXPECT_EQ(Texto(cab, 356), d.cliente);
    EXPECT_EQ(Texto(cab, 457), d.direccion);
    EXPECT_EQ(static_cast<std::uint32_t>(I32(cab, 560)), std::bit_cast<std::uint32_t>(0.95f));
    EXPECT_EQ(cab[564], 1);
    EXPECT_EQ(cab[604], 1);
    const std::pair<std::size_t, std::int32_t> enteros[] = {
        {348, 3}, {352, 1}, {556, 320}, {568, 1}, {572, 1},   {576, 4},   {580, 0},
        {584, 1}, {588, 1}, {592, 555}, {596, 1}, {600, 321}, {608, 630}, {612, 0}};
    for (const auto& [offset, valor] : enteros)
        EXPECT_EQ(I32(cab, offset), valor) << "offset " << offset;

    TLectura l = LecturaEjemplo("DICIEMBRE", 20000);
    l.coseno = 0.8;
    l.ifp = -1.5;
    l.it = 2.5;
    l.ia = 3.5;
    l.rr = 4.5;
    const auto lec = CodificarLectura(l);
    ASSERT_EQ(lec.size(), 136u);
    EXPECT_EQ(Texto(lec, 0), "DICIEMBRE");
    EXPECT_EQ(I32(lec, 16), 2023);
    const std::pair<std::size_t, double> reales[] = {{24, 20000}, {64, 150},  {72, 0.8},
                                                     {80, 15000}, {88, -1.5}, {96, 2.5},
                                                     {104, 630},  {120, 3.5}, {128, 4.5}};
    for (const auto& [offset, valor] : reales)
        EXPECT_EQ(prueba::LeerLE(lec, offset, 8), std::bit_cast<std::uint64_t>(valor)) << "offset " << offset;
    EXPECT_EQ(lec[32], 0xA5);
    EXPECT_EQ(lec[63], 0xA5);
    EXPECT_EQ(lec[112], 0x5A);
    EXPECT_EQ(lec[119], 0x5A);
}

TEST(Facturacion, AStudyWithoutReadingsIsExactly616Bytes) {
    const std::vector<std::uint8_t> imagen = CodificarFacturacion(DatosCompletos(), {});
    EXPECT_EQ(imagen.size(), 616u);
    const ResultadoCarga leido = DecodificarFacturacion(imagen, TDatosEstudio{});
    ASSERT_TRUE(leido.ok());
    EXPECT_EQ(leido.datos, DatosCompletos());
    EXPECT_TRUE(leido.lecturas.empty());
}

// Older layouts stop earlier; the fields they lack get the values of a study of those days,
// whatever the study open before held, except `reservado2`, which keeps the previous value.
TEST(Facturacion, OlderLayoutsOpenWithTheirStatedValues) {
    struct Caso {
        std::uint16_t version;
        std::size_t cabecera;
    };
    const TDatosEstudio completo = DatosCompletos();
    TDatosEstudio previo = DatosCompletos();
    previo.reservado2 = 999;
    const TLectura a = LecturaEjemplo("ENERO", 1000), b = LecturaEjemplo("FEBRERO", 2000);
    for (const Caso c : {Caso{2, 588}, Caso{34, 592}, Caso{50, 596}, Caso{100, 616}}) {
        SCOPED_TRACE(c.version);
        auto bytes = CodificarCabecera(completo);
        bytes.resize(c.cabecera);
        bytes[0] = static_cast<std::uint8_t>(c.version);
        bytes = Mas(Mas(bytes, CodificarLectura(a)), CodificarLectura(b));

        const ResultadoCarga r = DecodificarFacturacion(bytes, previo);
        ASSERT_TRUE(r.ok());
        TDatosEstudio esperado = completo;
        esperado.version = c.version;
        if (c.cabecera < 616) {
            esperado.tipoCalculo = 0;
            esperado.potenciaMaxima = 0;
            esperado.tieneTransformador = false;
            esperado.transformadorEntrada = 0;
            esperado.equipos = 1;
        }
        if (c.cabecera < 596)
            esperado.reservado2 = 999;
        if (c.cabecera < 592)
            esperado.temperatura = 0;
        EXPECT_EQ(r.datos, esperado);
        // The first reading starts right after the header.
        EXPECT_EQ(r.lecturas, (std::vector<TLectura>{a, b}));
    }
}

TEST(Facturacion, ATrailingPartialReadingIsDropped) {
    auto bytes =
        CodificarFacturacion(DatosCompletos(), {LecturaEjemplo("ENERO", 1), LecturaEjemplo("FEBRERO", 2),
                                                LecturaEjemplo("MARZO", 3)});
    bytes.resize(616 + 3 * 136 + 50, 0x77);
    const ResultadoCarga r = DecodificarFacturacion(bytes, TDatosEstudio{});
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.lecturas.size(), 3u);
    EXPECT_EQ(r.lecturas[2].mes, "MARZO");
}

TEST(Facturacion, UnknownVersionsAndShortFilesAreRefused) {
    const auto cabecera = CodificarCabecera(DatosCompletos());
    auto conVersion = [&](std::uint16_t version, std::size_t longitud) {
        auto b = cabecera;
        b[0] = static_cast<std::uint8_t>(version);
        b[1] = static_cast<std::uint8_t>(version >> 8);
        b.resize(longitud);
        return b;
    };
    const std::pair<const char*, std::vector<std::uint8_t>> casos[] = {
        {"empty", {}},
        {"one byte", {100}},
        {"version 101", conVersion(101, 616)},
        {"version 0", conVersion(0, 616)},
        {"version 3", conVersion(3, 616)},
        {"version 356", conVersion(356, 616)},
        {"version 100, header cut", conVersion(100, 615)},
        {"version 50, header cut", conVersion(50, 595)},
        {"version 34, header cut", conVersion(34, 591)},
        {"version 2, header cut", conVersion(2, 587)},
        {"version 2, only the word", conVersion(2, 2)},
    };
    for (const auto& [nombre, bytes] : casos) {
        const ResultadoCarga r = DecodificarFacturacion(bytes, DatosCompletos());
        EXPECT_EQ(r.error, ErrorCarga::Formato) << nombre;
        EXPECT_TRUE(r.lecturas.empty()) << nombre;
    }
}

TEST(Facturacion, OversizedTextLengthsAreClampedToTheField) {
    TDatosEstudio d = DatosCompletos();
    d.empresa = std::string(100, 'E');
    auto bytes = CodificarCabecera(d);
    bytes[2] = 255;   // empresa
    bytes[305] = 200; // fax
    auto lectura = CodificarLectura(LecturaEjemplo("ENERO", 1000));
    lectura[0] = 255;
    const ResultadoCarga r = DecodificarFacturacion(Mas(bytes, lectura), TDatosEstudio{});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.datos.empresa, std::string(100, 'E'));
    EXPECT_EQ(r.datos.provincia, d.provincia);
    EXPECT_EQ(r.datos.fax.size(), kCapFax);
    EXPECT_EQ(r.datos.fax.substr(0, d.fax.size()), d.fax);
    EXPECT_EQ(r.datos.telefono, d.telefono);
    ASSERT_EQ(r.lecturas.size(), 1u);
    EXPECT_EQ(r.lecturas[0].mes.size(), kCapMes);
    EXPECT_EQ(r.lecturas[0].ano, 2023);
}

TEST(Facturacion, AnyNonZeroBooleanReadsTrue) {
    for (const std::uint8_t valor : std::initializer_list<std::uint8_t>{0x01, 0x02, 0x80, 0xFF}) {
        auto bytes = CodificarCabecera(TDatosEstudio{});
        bytes[564] = valor;
        bytes[604] = valor;
        const ResultadoCarga r = DecodificarFacturacion(bytes, TDatosEstudio{});
        ASSERT_TRUE(r.ok());
        EXPECT_TRUE(r.datos.porPrecio) << int(valor);
        EXPECT_TRUE(r.datos.tieneTransformador) << int(valor);
    }
}
