// The billing-file reader against any bytes: it never reads past a field, and what it reads
// survives a save and a second open unchanged, as does what the panel shows of it.

#include "fuzz/comun.h"

#include "core/study/estudio.h"
#include "core/study/facturacion.h"

#include <limits>

using namespace tarvik;
using namespace tarvik::fuzz;

namespace {

TDatosEstudio CabeceraComparable(TDatosEstudio d) {
    d.version = kVersionActual; // a save always writes the current layout
    return SinNaN(d, &TDatosEstudio::cosenoDeseado);
}

TLectura LecturaComparable(const TLectura& l) {
    return SinNaN(l, &TLectura::kwht, &TLectura::mdr, &TLectura::coseno, &TLectura::kvarh, &TLectura::ifp,
                  &TLectura::it, &TLectura::cpc, &TLectura::ia, &TLectura::rr);
}

bool MismoEstudio(const ResultadoCarga& a, const ResultadoCarga& b) {
    if (CabeceraComparable(a.datos) != CabeceraComparable(b.datos) || a.lecturas.size() != b.lecturas.size())
        return false;
    for (std::size_t i = 0; i < a.lecturas.size(); ++i)
        if (LecturaComparable(a.lecturas[i]) != LecturaComparable(b.lecturas[i]))
            return false;
    return true;
}

TLectura Lectura(const char* mes, std::int32_t ano, double kwht, double kvarh, double mdr) {
    return {.mes = mes,
            .ano = ano,
            .kwht = kwht,
            .mdr = mdr,
            .kvarh = kvarh,
            .ifp = 2.5,
            .it = 1830.4,
            .cpc = 150,
            .ia = 96.12,
            .rr = 12.3};
}

TDatosEstudio Cliente() {
    return {.empresa = "INSTALACIONES EL\xD1"
                       "ANDU S.L.",
            .provincia = "C\xC1"
                         "CERES",
            .distribuidor = "DISTRIBUIDORA DEL OESTE",
            .fax = "927 000 001",
            .telefono = "927 000 000",
            .tarifa = 3,
            .cliente = "CONSERVAS ATL\xC1NTICO",
            .direccion = "POL\xCDGONO INDUSTRIAL 4, NAVE 7",
            .horas = 320,
            .cosenoDeseado = 0.98f,
            .armonicos = 1,
            .temperatura = 1,
            .equipos = 1};
}

std::vector<TLectura> Ano(int periodos) {
    static const char* kMeses[] = {"ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
                                   "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};
    std::vector<TLectura> lecturas;
    for (int i = 0; i < periodos; ++i)
        lecturas.push_back(
            Lectura(kMeses[i * 12 / periodos], 2023, 41000 + 1500 * i, 30500 - 800 * i, 180 + i));
    return lecturas;
}

// A study saved by an older layout: the current image cut to that header length.
std::vector<std::uint8_t> Antigua(std::uint16_t version, const TDatosEstudio& d,
                                  const std::vector<TLectura>& l) {
    std::vector<std::uint8_t> b = CodificarFacturacion(d, l);
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(LongitudCabecera(version)), b.begin() + kTamCabecera);
    b[0] = static_cast<std::uint8_t>(version);
    b[1] = 0;
    return b;
}

} // namespace

std::vector<Semilla> tarvik::fuzz::Semillas(const std::filesystem::path& datos) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    std::vector<Semilla> s = {
        {"vacio", CodificarFacturacion(TDatosEstudio{}, {})},
        {"mensual", CodificarFacturacion(Cliente(), Ano(12))},
        {"v50", Antigua(50, Cliente(), Ano(2))},
        {"v34", Antigua(34, Cliente(), Ano(2))},
        {"v2", Antigua(2, Cliente(), Ano(2))},
    };

    TDatosEstudio bimensual = Cliente();
    bimensual.tipoLectura = 1;
    bimensual.tipoCalculo = 1;
    bimensual.potenciaMaxima = 450;
    bimensual.tieneTransformador = true;
    bimensual.transformadorEntrada = 630;
    s.push_back({"bimensual-con-resto", CodificarFacturacion(bimensual, Ano(6))});
    s.back().bytes.resize(s.back().bytes.size() + 50, 0xA5);

    TDatosEstudio extremo = Cliente();
    extremo.empresa.assign(kCapEmpresa, 'W');
    extremo.direccion.assign(kCapDireccion, '\xFF');
    extremo.tarifa = kTarifa11;
    extremo.voltaje = -1;
    extremo.horas = std::numeric_limits<std::int32_t>::max();
    extremo.cosenoDeseado = std::numeric_limits<float>::quiet_NaN();
    extremo.temperatura = -7;
    std::vector<TLectura> raras = {Lectura("123456789012345", -1, kInf, -kInf, 1e300),
                                   Lectura("", 0, 0, std::numeric_limits<double>::quiet_NaN(), -0.0)};
    s.push_back({"valores-extremos", CodificarFacturacion(extremo, raras)});

    for (Semilla& fuera : ArchivosDe(datos, "examples", ".fac"))
        s.push_back(std::move(fuera));
    return s;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TDatosEstudio previo;
    const ResultadoCarga primera = DecodificarFacturacion({data, size}, previo);
    if (!primera.ok())
        return 0;
    Exigir(primera.lecturas.size() == (size - LongitudCabecera(primera.datos.version)) / kTamLectura,
           "every complete reading is read");

    // Saving what was read and opening it again gives the same study, every field bit for bit.
    const std::vector<std::uint8_t> imagen = CodificarFacturacion(primera.datos, primera.lecturas);
    const ResultadoCarga segunda = DecodificarFacturacion(imagen, previo);
    Exigir(segunda.ok(), "a saved study opens");
    Exigir(MismoEstudio(primera, segunda), "a saved study opens unchanged");
    Exigir(CodificarFacturacion(segunda.datos, segunda.lecturas) == imagen,
           "a saved study saves the same bytes");

    // The panel shows the same values after the study is saved from it and opened again.
    const DatosPanel panel = MostrarDatos(primera.datos);
    TDatosEstudio recogido = primera.datos;
    RecogerDatos(panel, recogido);
    const ResultadoCarga reabierto =
        DecodificarFacturacion(CodificarFacturacion(recogido, primera.lecturas), previo);
    Exigir(reabierto.ok() && MostrarDatos(reabierto.datos) == panel,
           "the panel shows a reopened study alike");
    return 0;
}
