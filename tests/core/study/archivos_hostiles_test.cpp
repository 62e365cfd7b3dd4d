// Billing and catalogue files from elsewhere: whatever they hold, reading them gives a clear error
// or a sound study, and never a crash, a hang or a read past a field.

#include "soporte/archivos.h"

#include "core/catalogue/catalogo.h"
#include "core/study/facturacion.h"
#include "core/util/archivo.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <system_error>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace tarvik;
using prueba::CarpetaTemporal;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Writes a value over the file image, little-endian, as the file holds it.
template <class T> void Poner(std::vector<std::uint8_t>& b, std::size_t offset, T valor) {
    using Bits = std::conditional_t<
        sizeof(T) == 8, std::uint64_t,
        std::conditional_t<sizeof(T) == 4, std::uint32_t,
                           std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint8_t>>>;
    const auto bits = std::bit_cast<Bits>(valor);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        b.at(offset + i) = static_cast<std::uint8_t>(bits >> (8 * i));
}

// A study whose texts fill their fields, so that a length byte above the capacity points at text.
TDatosEstudio Lleno() {
    return {.empresa = std::string(kCapEmpresa, 'E'),
            .provincia = std::string(kCapProvincia, 'P'),
            .distribuidor = std::string(kCapDistribuidor, 'D'),
            .fax = std::string(kCapFax, 'F'),
            .telefono = std::string(kCapTelefono, 'T'),
            .tarifa = 2,
            .voltaje = 1,
            .cliente = std::string(kCapCliente, 'C'),
            .direccion = std::string(kCapDireccion, '\xD1'),
            .horas = 300,
            .cosenoDeseado = 0.95f,
            .temperatura = 1,
            .reservado2 = 77,
            .potenciaMaxima = 400,
            .transformadorEntrada = 630,
            .equipos = 1};
}

std::vector<TLectura> DosLecturas() {
    std::vector<TLectura> l;
    for (const char letra : {'A', 'B'}) {
        l.push_back(
            {.mes = std::string(kCapMes, letra), .ano = 2024, .kwht = 30000, .mdr = 150, .kvarh = 21000});
        l.back().reservado1.fill(0x5A);
    }
    return l;
}

std::vector<std::uint8_t> Imagen() {
    return CodificarFacturacion(Lleno(), DosLecturas());
}

ResultadoCarga Leer(const std::vector<std::uint8_t>& b) {
    return DecodificarFacturacion(b, TDatosEstudio{});
}

// What the panel shows of any study is within its inputs' ranges.
::testing::AssertionResult PanelEnRango(const DatosPanel& p) {
    const auto dentro = [](std::int32_t v, std::int32_t a, std::int32_t b) { return v >= a && v <= b; };
    if (dentro(p.tarifa, 0, 8) && dentro(p.voltaje, 0, 2) && dentro(p.armonicos, 0, 1) &&
        dentro(p.tipoLectura, 0, 1) && dentro(p.seleccionModelo, 0, 8) &&
        dentro(p.horas, kHorasMin, kHorasMax) && dentro(p.frecuencia, 0, 1) && dentro(p.temperatura, -1, 1) &&
        dentro(p.tipoCalculo, 0, 1) && dentro(p.equipos, 0, 1) && p.potenciaMaxima >= 0 &&
        p.transformadorEntrada >= 0 && std::isfinite(p.cosenoDeseado) && p.cosenoDeseado >= 0 &&
        p.cosenoDeseado <= 1)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "a panel value out of range";
}

struct Campo {
    const char* nombre;
    std::size_t offset; // in the file image: readings of the second record start at 616 + 136
};

// Each file is refused by the whole-file reader and by the catalogue loader, with its reason.
void ComprobarRechazos(const std::vector<std::pair<std::string, std::errc>>& casos) {
    for (const auto& [ruta, error] : casos) {
        std::vector<std::uint8_t> bytes{1};
        std::string detalle;
        EXPECT_FALSE(LeerBytes(ruta, bytes, detalle)) << ruta;
        EXPECT_TRUE(bytes.empty()) << ruta;
        EXPECT_EQ(detalle, std::make_error_code(error).message()) << ruta;
        EXPECT_TRUE(LeerArchivo<TEquipo>(ruta).empty()) << ruta;
        EXPECT_TRUE(LeerArchivo<TConductor>(ruta).empty()) << ruta;
    }
}

} // namespace

TEST(ArchivoHostil, EveryVersionWordOpensOnlyTheFourLayouts) {
    const std::vector<std::pair<std::uint16_t, std::size_t>> conocidas = {
        {2, 588}, {34, 592}, {50, 596}, {100, 616}};
    for (const std::size_t tamano : {std::size_t{588}, std::size_t{888}}) {
        std::vector<std::uint8_t> b = Imagen();
        b.resize(tamano);
        for (std::uint32_t v = 0; v <= 0xFFFF; ++v) {
            Poner(b, 0, static_cast<std::uint16_t>(v));
            const ResultadoCarga r = Leer(b);
            std::size_t cabecera = 0;
            for (const auto& [version, longitud] : conocidas)
                if (version == v)
                    cabecera = longitud;
            if (cabecera != 0 && tamano >= cabecera) {
                ASSERT_TRUE(r.ok()) << v;
                EXPECT_EQ(r.lecturas.size(), (tamano - cabecera) / kTamLectura) << v;
            } else {
                ASSERT_EQ(r.error, ErrorCarga::Formato) << v << " in " << tamano << " bytes";
            }
        }
    }
}

TEST(ArchivoHostil, ExtremeNumbersAreReadAsTheyAreAndShownWithinRange) {
    const Campo enteros[] = {{"tarifa", 348},
                             {"voltaje", 352},
                             {"horas", 556},
                             {"armonicos", 568},
                             {"tipoLectura", 572},
                             {"seleccionModelo", 576},
                             {"reservado1", 580},
                             {"frecuencia", 584},
                             {"temperatura", 588},
                             {"reservado2", 592},
                             {"tipoCalculo", 596},
                             {"potenciaMaxima", 600},
                             {"transformadorEntrada", 608},
                             {"equipos", 612},
                             {"ano", kTamCabecera + kTamLectura + 16}};
    const Campo dobles[] = {{"kwht", 24}, {"mdr", 64},  {"coseno", 72}, {"kvarh", 80}, {"ifp", 88},
                            {"it", 96},   {"cpc", 104}, {"ia", 120},    {"rr", 128}};
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t valoresEnteros[] = {kMin, -1, 2, 9, 745, kMax};
    const double valoresReales[] = {kNaN, -kNaN, kInf, -kInf, 1e300, -1e300, -1, -0.0, 4.9e-324};
    const float valoresFloat[] = {std::numeric_limits<float>::quiet_NaN(),
                                  -std::numeric_limits<float>::quiet_NaN(),
                                  std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(),
                                  3.4e38f,
                                  -3.4e38f,
                                  -1,
                                  -0.0f,
                                  1.4e-45f};

    // A study read and saved again gives back the same bytes: each value landed in its own field.
    const auto comprobar = [](const std::vector<std::uint8_t>& b, const std::string& que) {
        const ResultadoCarga r = Leer(b);
        ASSERT_TRUE(r.ok()) << que;
        EXPECT_EQ(CodificarFacturacion(r.datos, r.lecturas), b) << que;
        EXPECT_TRUE(PanelEnRango(MostrarDatos(r.datos))) << que;
    };
    for (const Campo& c : enteros)
        for (const std::int32_t v : valoresEnteros) {
            std::vector<std::uint8_t> b = Imagen();
            Poner(b, c.offset, v);
            comprobar(b, std::string(c.nombre) + " = " + std::to_string(v));
        }
    for (std::size_t i = 0; i < std::size(valoresReales); ++i) {
        std::vector<std::uint8_t> b = Imagen();
        Poner(b, 560, valoresFloat[i]);
        comprobar(b, "cosenoDeseado = " + std::to_string(valoresFloat[i]));
        for (const Campo& c : dobles) {
            b = Imagen();
            Poner(b, kTamCabecera + kTamLectura + c.offset, valoresReales[i]);
            comprobar(b, std::string(c.nombre) + " = " + std::to_string(valoresReales[i]));
        }
    }
}

// Catalogue and description files are read whole: a huge file would exhaust memory.
TEST(ArchivoHostil, WhatIsNoRegularFileIsRefusedWithTheSystemsReason) {
    CarpetaTemporal dir;
    prueba::EscribirTodo(dir / "grande.dat", {});
    std::filesystem::resize_file(dir / "grande.dat", kTamMaximoArchivo + 1); // sparse: no disk used
    ComprobarRechazos({
        {dir / "no-existe.dat", std::errc::no_such_file_or_directory},
        {dir.ruta().string(), std::errc::is_a_directory},
        {dir / "grande.dat", std::errc::file_too_large},
    });
}

// Opened, a pipe would wait for a writer for ever, and a device would never end.
TEST(ArchivoHostil, APipeOrADeviceIsRefusedWithoutWaiting) {
#ifdef _WIN32
    GTEST_SKIP() << "named pipes and devices have no path in the file system on Windows";
#else
    CarpetaTemporal dir;
    ASSERT_EQ(::mkfifo((dir / "tuberia.dat").c_str(), 0600), 0);
    ComprobarRechazos(
        {{dir / "tuberia.dat", std::errc::invalid_argument}, {"/dev/zero", std::errc::invalid_argument}});
#endif
}

TEST(ArchivoHostil, AFileWithoutReadPermissionIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no permission bit that stops reading";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop the superuser from reading";
    CarpetaTemporal dir;
    const std::string ruta = dir / "cond.dat";
    prueba::EscribirTodo(ruta, TConductor{.seccion = 1.5f, .intensidad = 17.5f}.Codificar());
    std::filesystem::permissions(ruta, std::filesystem::perms::none);
    std::vector<std::uint8_t> bytes;
    std::string detalle;
    EXPECT_FALSE(LeerBytes(ruta, bytes, detalle));
    EXPECT_EQ(detalle, std::make_error_code(std::errc::permission_denied).message());
    EXPECT_TRUE(LeerArchivo<TConductor>(ruta).empty());
#endif
}

namespace {

TEquipo EquipoLleno() {
    TEquipo e{.codigo = std::string(20, 'K'),
              .serie = std::string(20, 'S'),
              .potencia = 150,
              .tension = 400,
              .precio = 3000,
              .armonicos = 1,
              .tipo = 1,
              .indicador = 9};
    e.reservado1.fill(0x11);
    return e;
}

TTransformador TransformadorLleno() {
    TTransformador t{.designacion = std::string(20, 'D'), .intensidad = 400};
    t.reservado1.fill(0xFF); // laid out as a text whose length byte says 255
    return t;
}

struct CampoCatalogo {
    const char* nombre;
    std::size_t offset;
    bool entero; // int32; otherwise a float
};

template <class Registro>
void ComprobarCampos(const Registro& base, const std::vector<CampoCatalogo>& campos) {
    const float reales[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            -1,
                            3.4e38f,
                            0};
    const std::int32_t enteros[] = {std::numeric_limits<std::int32_t>::min(), -1, 0, 1, 65535,
                                    std::numeric_limits<std::int32_t>::max()};
    for (const CampoCatalogo& c : campos)
        for (std::size_t i = 0; i < std::size(reales); ++i) {
            std::vector<std::uint8_t> b = base.Codificar();
            if (c.entero)
                Poner(b, c.offset, enteros[i]);
            else
                Poner(b, c.offset, reales[i]);
            const std::vector<Registro> leidos = DecodificarRegistros<Registro>(b);
            ASSERT_EQ(leidos.size(), 1u);
            EXPECT_EQ(leidos[0].Codificar(), b) << c.nombre << " #" << i;
        }
}

} // namespace

TEST(CatalogoHostil, ExtremeNumbersAreReadAsTheyAre) {
    ComprobarCampos(EquipoLleno(), {{"potencia", 52, false}, {"tension", 60, true}, {"precio", 64, false}});
    ComprobarCampos(TransformadorLleno(), {{"intensidad", 44, false}});
    ComprobarCampos(TConductor{}, {{"seccion", 0, false}, {"intensidad", 8, false}});
}

TEST(CatalogoHostil, AConductorCatalogueWhoseLargestCurrentIsZeroLoads) {
    CarpetaTemporal dir;
    std::vector<std::uint8_t> b;
    for (const float intensidad : {17.5f, 24.0f, 0.0f}) {
        const std::vector<std::uint8_t> uno =
            TConductor{.seccion = 1.5f, .intensidad = intensidad}.Codificar();
        b.insert(b.end(), uno.begin(), uno.end());
    }
    prueba::EscribirTodo(dir / "cond.dat", b);
    const std::vector<TConductor> cond = LeerArchivo<TConductor>(dir / "cond.dat");
    ASSERT_EQ(cond.size(), 3u);
    EXPECT_EQ(cond.back().intensidad, 0.0f);
}
