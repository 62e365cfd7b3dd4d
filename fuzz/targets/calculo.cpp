// The whole calculation against any study and any catalogues: a study file and the bank, filter,
// current-transformer and conductor catalogues, loaded as the program loads them, calculated with
// the panel showing the study (some of its choices replaced by the input), then the totals texts
// and the results tables in both languages. Whatever the files hold, every message is one the
// calculation may raise, a refusal says why, the result lists stay aligned, and no result number
// or number text is infinite or not a number.
//
// Input: an 18-byte head, then the study, bank, filter and current-transformer bytes by the head's
// lengths, and the conductor catalogue in the rest. Head: a little-endian 16-bit word of flags
// (bit 0: ',' as the decimal separator; bit 1 + i: replace panel choice i), the eight panel choices
// as signed bytes (calculation type, equipment, voltage, frequency, temperature, harmonics,
// reading type, tariff), and four little-endian 16-bit lengths.
// libFuzzer: -max_len=32768

#include "comun.h"

#include "engine/calculo.h"
#include "lang/traduccion.h"
#include "results/tablas.h"
#include "results/totales.h"
#include "study/facturacion.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <span>
#include <string_view>

using namespace tarvik;
using namespace tarvik::fuzz;

namespace {

constexpr std::size_t kEleccionesPanel = 8;
constexpr std::size_t kPartes = 4; // the study, banks, filters, current transformers
constexpr std::size_t kCabecera = 2 + kEleccionesPanel + 2 * kPartes;

struct Entrada {
    std::uint16_t banderas = 0;
    std::int8_t elecciones[kEleccionesPanel] = {};
    std::vector<std::uint8_t> estudio, bancos, filtros, transformadores, conductores;
};

std::vector<std::uint8_t> Unir(const Entrada& e) {
    std::vector<std::uint8_t> b = {static_cast<std::uint8_t>(e.banderas),
                                   static_cast<std::uint8_t>(e.banderas >> 8)};
    for (const std::int8_t v : e.elecciones)
        b.push_back(static_cast<std::uint8_t>(v));
    for (const auto* parte : {&e.estudio, &e.bancos, &e.filtros, &e.transformadores}) {
        const auto n = static_cast<std::uint16_t>(std::min<std::size_t>(parte->size(), 0xFFFF));
        b.push_back(static_cast<std::uint8_t>(n));
        b.push_back(static_cast<std::uint8_t>(n >> 8));
    }
    for (const auto* parte : {&e.estudio, &e.bancos, &e.filtros, &e.transformadores, &e.conductores})
        b.insert(b.end(), parte->begin(), parte->end());
    return b;
}

// Splits an input; a part whose length runs past the end gets what is left.
Entrada Partir(std::span<const std::uint8_t> b) {
    Entrada e;
    if (b.size() < kCabecera)
        return e;
    e.banderas = static_cast<std::uint16_t>(b[0] | b[1] << 8);
    for (std::size_t i = 0; i < kEleccionesPanel; ++i)
        e.elecciones[i] = static_cast<std::int8_t>(b[2 + i]);
    std::span<const std::uint8_t> resto = b.subspan(kCabecera);
    const std::array partes = {&e.estudio, &e.bancos, &e.filtros, &e.transformadores};
    for (std::size_t i = 0; i < kPartes; ++i) {
        const std::size_t at = 2 + kEleccionesPanel + 2 * i;
        const std::size_t n = std::min<std::size_t>(b[at] | b[at + 1] << 8, resto.size());
        partes[i]->assign(resto.begin(), resto.begin() + static_cast<std::ptrdiff_t>(n));
        resto = resto.subspan(n);
    }
    e.conductores.assign(resto.begin(), resto.end());
    return e;
}

void AplicarElecciones(const Entrada& e, DatosPanel& p) {
    std::int32_t* elecciones[kEleccionesPanel] = {&p.tipoCalculo, &p.equipos,   &p.voltaje,     &p.frecuencia,
                                                  &p.temperatura, &p.armonicos, &p.tipoLectura, &p.tarifa};
    for (std::size_t i = 0; i < kEleccionesPanel; ++i)
        if (e.banderas & (2u << i))
            *elecciones[i] = e.elecciones[i];
}

// The program folder of this process, whose dbf/ receives the equipment catalogues of each input
// (the selections read them from their files).
const Rutas& Carpeta() {
    static const Rutas rutas = [] {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        std::string plantilla = (base / "tarvik-fuzz-XXXXXX").string();
        Exigir(::mkdtemp(plantilla.data()) != nullptr, "a scratch folder can be made");
        std::filesystem::create_directories(std::filesystem::path(plantilla) / "dbf");
        static const std::string carpeta = plantilla;
        std::atexit([] { std::filesystem::remove_all(carpeta); });
        return Rutas::DesdeCarpeta(carpeta);
    }();
    return rutas;
}

void Escribir(const std::string& ruta, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    Exigir(static_cast<bool>(f), "a catalogue can be written");
}

void ComprobarMensajes(const ListaMensajes& mensajes) {
    static const std::set<std::string, std::less<>> kClaves = {
        "error_datos",     "no_compensacion",    "error_facturacion", "error_potencia_maxima",
        "error_cpc_value", "error_qc",           "no_filtros",        "no_baterias",
        "baterias_35",     "no_existen_baterias"};
    for (const Mensaje& m : mensajes) {
        Exigir(kClaves.contains(m.clave), "a message is one the calculation may raise");
        Exigir(m.texto.empty(), "a calculation message is a key");
    }
}

bool Finito(std::initializer_list<double> valores) {
    return std::all_of(valores.begin(), valores.end(), [](double v) { return std::isfinite(v); });
}

void ComprobarResultados(const Sesion& s, const DatosPanel& p) {
    Exigir(s.ConductoresSeleccionados.size() == s.EquiposSeleccionados.size(),
           "one conductor row per selected unit");
    Exigir(!s.EquiposSeleccionados.empty(), "a calculation that succeeds selects equipment");
    const TAnalisisConsumo& a = s.Analisis;
    Exigir(Finito({a.kwhTotal, a.kvarhTotal, a.cosenoMinimo, a.cosenoMedio, a.cosenoDeseado, a.tanMaxDemanda,
                   a.difTanMaxDemanda, a.importeTotal, a.precioMedio, a.recargoTotal, a.descuentoTotal,
                   a.saldoReactiva, a.qc, a.potenciaMaxima, a.cosenoMaxReactiva, a.trafoEntrada}),
           "the analysis is finite");
    for (const TEquipoSeleccionado& e : s.EquiposSeleccionados)
        Exigir(Finito({e.potencia, e.tension, e.precio}), "selected equipment is finite");
    for (const TConductorSeleccionado& c : s.ConductoresSeleccionados)
        Exigir(Finito({c.intensidadNominal, c.intensidadConductor, c.precio, c.longitud}),
               "a conductor row is finite");
    for (const TTransformadorSeleccionado& t : s.TransformadoresSeleccionados)
        Exigir(Finito({t.intensidad, t.precio, t.tension}), "a current transformer row is finite");
    if (p.tipoCalculo == 0)
        for (const TLectura& l : s.Lecturas)
            Exigir(std::isfinite(l.coseno), "every analysed reading has a finite power factor");
}

// A number as the tables write it: an optional minus sign, digits and at most one separator.
bool TextoDeNumero(std::string_view t, char separador) {
    if (t.starts_with('-'))
        t.remove_prefix(1);
    return !t.empty() && std::count(t.begin(), t.end(), separador) <= 1 &&
           std::all_of(t.begin(), t.end(), [&](char c) { return (c >= '0' && c <= '9') || c == separador; });
}

// A cell of a number row: the left margin (where the row has it), then a number with the row's
// suffix, or one of the row's own texts.
void ComprobarCelda(std::string_view celda, char separador, std::string_view sufijo,
                    std::initializer_list<std::string_view> textos) {
    if (celda.empty())
        return; // a column without a unit
    for (std::string_view t : textos)
        if (celda == t || (celda.starts_with(' ') && celda.substr(1) == t))
            return;
    if (celda.starts_with(' '))
        celda.remove_prefix(1);
    const std::string_view entera = celda;
    Exigir(celda.ends_with(sufijo), "a number cell ends as its row says", entera);
    celda.remove_suffix(sufijo.size());
    Exigir(TextoDeNumero(celda, separador), "a number cell holds a finite number", entera);
}

void ComprobarFilas(const Rejilla& r, std::initializer_list<std::size_t> filas, char separador,
                    std::string_view sufijo, std::initializer_list<std::string_view> textos) {
    for (const std::size_t f : filas)
        for (std::size_t c = 1; c < r[f].size(); ++c)
            ComprobarCelda(r[f][c], separador, sufijo, textos);
}

void ComprobarTablas(const Sesion& s, const DatosPanel& p, char sep) {
    for (const int idioma : {kEspanol, kIngles}) {
        EstablecerIdiomaActivo(idioma);
        const std::string consultar = Texto("consultar");
        const Rejilla equipos = MostrarEquipos(s.EquiposSeleccionados, p.equipos, p.tarifa, sep);
        ComprobarFilas(equipos, {2, 3, 4}, sep, "", {});
        ComprobarFilas(equipos, {5}, sep, "", {consultar});
        const Rejilla transformadores =
            MostrarTransformadores(s.TransformadoresSeleccionados, s.EquiposSeleccionados, sep);
        ComprobarFilas(transformadores, {1}, sep, "/5", {});
        ComprobarFilas(transformadores, {2}, sep, "", {});
        ComprobarFilas(transformadores, {3}, sep, "", {consultar});
        const Rejilla conductores =
            MostrarConductores(s.ConductoresSeleccionados, s.EquiposSeleccionados, p.tarifa, sep);
        ComprobarFilas(conductores, {1, 3, 4}, sep, "", {});
        // The "no conductor" text is written in the language of the calculation.
        ComprobarFilas(
            conductores, {2}, sep, "",
            {Texto("no_existe", kEspanol).substr(0, 10), Texto("no_existe", kIngles).substr(0, 10)});
        ComprobarFilas(conductores, {5}, sep, "x3 " + Texto("phases_caption_singular"), {});
        ComprobarFilas(conductores, {6}, sep, "", {consultar});
    }
    EstablecerIdiomaActivo(kEspanol);
}

void ComprobarTotales(const Sesion& s, const DatosPanel& p, char sep) {
    const TextosTotales t = LlenarTotales(s.Analisis, p.cosenoDeseado, s.Lecturas.size(), p.tipoLectura, sep);
    for (const std::string* texto : {&t.fpb, &t.fpm, &t.fpd, &t.total_penalizacion})
        Exigir(TextoDeNumero(*texto, sep), "a totals text holds a finite number", *texto);
}

// A year of monthly readings at a power factor of 0.8, and a study that asks for 0.98.
std::vector<std::uint8_t> EstudioDeMuestra(std::int32_t tipoCalculo, std::int32_t equipos) {
    TDatosEstudio d{.empresa = "KELTU",
                    .tarifa = 2,
                    .horas = 300,
                    .cosenoDeseado = 0.98f,
                    .armonicos = equipos == 1 ? 1 : 0,
                    .tipoCalculo = tipoCalculo,
                    .potenciaMaxima = 450,
                    .tieneTransformador = true,
                    .transformadorEntrada = 630,
                    .equipos = equipos};
    std::vector<TLectura> lecturas;
    for (int i = 0; i < 12; ++i)
        lecturas.push_back({.mes = "MES",
                            .ano = 2024,
                            .kwht = 40000.0 + 900 * i,
                            .mdr = 150.0 + i,
                            .kvarh = 30000,
                            .cpc = 630,
                            .rr = 80});
    return CodificarFacturacion(d, lecturas);
}

} // namespace

std::vector<Semilla> tarvik::fuzz::Semillas(const std::filesystem::path& datos) {
    Entrada pequena;
    pequena.bancos = Imagen<TEquipo>({
        {.codigo = "JD-400-150", .serie = "Jade", .potencia = 150, .tension = 400, .precio = 3100},
        {.codigo = "AM-400-200", .serie = "Ambar", .potencia = 200, .tension = 400, .precio = 0},
        {.codigo = "JD-400-250A",
         .serie = "Jade",
         .potencia = 250,
         .tension = 400,
         .precio = 5200,
         .armonicos = 1},
        {.codigo = "CF-400-35", .serie = "Fijo", .potencia = 35, .tension = 400, .precio = 300, .tipo = 1},
    });
    pequena.filtros = Imagen<TEquipo>({
        {.codigo = "FZ-400-130", .serie = "Zentrola", .potencia = 130, .tension = 400, .precio = 9850},
        {.codigo = "FZ-400-300", .serie = "Zentrola", .potencia = 300, .tension = 400},
    });
    pequena.transformadores = Imagen<TTransformador>(
        {{.designacion = "TI 400/5", .intensidad = 400}, {.designacion = "TI 1000/5", .intensidad = 1000}});
    pequena.conductores = Imagen<TConductor>({{.seccion = 35, .intensidad = 119},
                                              {.seccion = 95, .intensidad = 223},
                                              {.seccion = 185, .intensidad = 300}});

    std::vector<Semilla> s;
    for (const std::int32_t tipoCalculo : {0, 1})
        for (const std::int32_t equipos : {0, 1}) {
            Entrada e = pequena;
            e.estudio = EstudioDeMuestra(tipoCalculo, equipos);
            s.push_back({"muestra-" + std::to_string(tipoCalculo) + std::to_string(equipos), Unir(e)});
        }
    // The panel's choices replaced: 60 Hz banks by the tariff "1.1", and choices out of range.
    Entrada elegida = pequena;
    elegida.estudio = EstudioDeMuestra(0, 1);
    elegida.banderas = 1 | 0x1FE;
    const std::int8_t elecciones[] = {0, 1, 0, 1, 0, 0, 1, 8};
    std::copy(std::begin(elecciones), std::end(elecciones), elegida.elecciones);
    s.push_back({"elecciones", Unir(elegida)});
    const std::int8_t fuera[] = {2, -1, 3, 2, 2, 2, 2, 9};
    std::copy(std::begin(fuera), std::end(fuera), elegida.elecciones);
    s.push_back({"elecciones-fuera", Unir(elegida)});

    // Every example study with the shipped catalogues.
    if (!datos.empty()) {
        Entrada enviada;
        enviada.bancos = Bytes(datos / "dbf" / "bateria.dat");
        enviada.filtros = Bytes(datos / "dbf" / "filtros.dat");
        enviada.transformadores = Bytes(datos / "dbf" / "trans.dat");
        enviada.conductores = Bytes(datos / "dbf" / "cond.dat");
        for (Semilla& ejemplo : ArchivosDe(datos, "examples", ".fac")) {
            enviada.estudio = std::move(ejemplo.bytes);
            s.push_back({ejemplo.nombre, Unir(enviada)});
        }
    }
    return s;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Entrada e = Partir({data, size});
    const ResultadoCarga carga = DecodificarFacturacion(e.estudio, TDatosEstudio{});
    if (!carga.ok())
        return 0;

    Sesion s;
    s.rutas = Carpeta();
    Escribir(s.rutas.RutaBateria, e.bancos);
    Escribir(s.rutas.RutaBateria60, e.bancos);
    Escribir(s.rutas.RutaFiltros, e.filtros);
    s.CatalogoTransformadores = DecodificarRegistros<TTransformador>(e.transformadores);
    s.CatalogoConductores = DecodificarRegistros<TConductor>(e.conductores);
    s.Datos = carga.datos;
    s.Lecturas = carga.lecturas;
    DatosPanel panel = MostrarDatos(s.Datos);
    AplicarElecciones(e, panel);
    const char separador = (e.banderas & 1) ? ',' : '.';

    // Totals first, as the program offers them: by consumption, with readings.
    if (panel.tipoCalculo == 0 && !s.Lecturas.empty()) {
        ListaMensajes mensajes;
        const bool analizado = ValidarYAnalizar(s, panel, mensajes);
        ComprobarMensajes(mensajes);
        Exigir(analizado || !mensajes.empty(), "a refused analysis says why");
        if (analizado)
            ComprobarTotales(s, panel, separador);
    }

    ListaMensajes mensajes;
    const bool calculado = Calcular(s, panel, mensajes, separador);
    ComprobarMensajes(mensajes);
    if (!calculado) {
        Exigir(!mensajes.empty(), "a refused calculation says why");
        Exigir(!s.calculoRealizado && s.resultadosObsoletos, "a refused calculation leaves no results");
        return 0;
    }
    ComprobarResultados(s, panel);
    ComprobarTablas(s, panel, separador);
    return 0;
}
