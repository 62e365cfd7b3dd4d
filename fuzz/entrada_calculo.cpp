#include "fuzz/entrada_calculo.h"

#include "core/catalogue/catalogo.h"
#include "core/study/facturacion.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>

namespace tarvik::fuzz {

namespace {

constexpr std::size_t kPartes = 5; // the study, banks, filters, current transformers, conductors
constexpr std::size_t kCabecera = 2 + kEleccionesPanel + 2 + 4 + 2 * kPartes;

void Anadir16(std::vector<std::uint8_t>& b, std::size_t valor) {
    const auto v = static_cast<std::uint16_t>(std::min<std::size_t>(valor, 0xFFFF));
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::uint16_t Leer16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

template <class E> auto Partes(E& e) {
    return std::array{&e.estudio, &e.bancos, &e.filtros, &e.transformadores, &e.conductores, &e.descripcion};
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

void AplicarElecciones(const EntradaCalculo& e, DatosPanel& p) {
    std::int32_t* elecciones[kEleccionesPanel] = {&p.tipoCalculo, &p.equipos,   &p.voltaje,     &p.frecuencia,
                                                  &p.temperatura, &p.armonicos, &p.tipoLectura, &p.tarifa};
    for (std::size_t i = 0; i < kEleccionesPanel; ++i)
        if (e.banderas & (2u << i))
            *elecciones[i] = e.elecciones[i];
}

// A year of monthly readings at a power factor of 0.8, and a study that asks for 0.98.
std::vector<std::uint8_t> EstudioDeMuestra(std::int32_t tipoCalculo, std::int32_t equipos) {
    TDatosEstudio d{.empresa = "KELTU",
                    .tarifa = 2,
                    .horas = 300,
                    .cosenoDeseado = 0.98f,
                    .armonicos = equipos == 1 ? 1 : 0,
                    .tipoCalculo = tipoCalculo,
                    .potenciaMaxima = 200,
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

std::vector<std::uint8_t> Unir(const EntradaCalculo& e) {
    std::vector<std::uint8_t> b;
    Anadir16(b, e.banderas);
    for (const std::int8_t v : e.elecciones)
        b.push_back(static_cast<std::uint8_t>(v));
    b.insert(b.end(), {e.anchoPagina, e.altoPagina});
    Anadir16(b, e.anchoImagen);
    Anadir16(b, e.altoImagen);
    const auto partes = Partes(e);
    for (std::size_t i = 0; i < kPartes; ++i)
        Anadir16(b, partes[i]->size());
    for (const auto* parte : partes)
        b.insert(b.end(), parte->begin(), parte->end());
    return b;
}

EntradaCalculo Partir(std::span<const std::uint8_t> b) {
    EntradaCalculo e;
    if (b.size() < kCabecera)
        return e;
    e.banderas = Leer16(b, 0);
    std::size_t at = 2;
    for (std::int8_t& v : e.elecciones)
        v = static_cast<std::int8_t>(b[at++]);
    e.anchoPagina = b[at++];
    e.altoPagina = b[at++];
    e.anchoImagen = Leer16(b, at);
    e.altoImagen = Leer16(b, at + 2);
    at += 4;
    std::span<const std::uint8_t> resto = b.subspan(kCabecera);
    const auto partes = Partes(e);
    for (std::size_t i = 0; i < kPartes; ++i, at += 2) {
        const std::size_t n = std::min<std::size_t>(Leer16(b, at), resto.size());
        partes[i]->assign(resto.begin(), resto.begin() + static_cast<std::ptrdiff_t>(n));
        resto = resto.subspan(n);
    }
    e.descripcion.assign(resto.begin(), resto.end());
    return e;
}

void EscribirArchivo(const std::string& ruta, std::span<const std::uint8_t> bytes) {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    Exigir(static_cast<bool>(f), "a scratch file can be written", ruta);
}

bool Cargar(const EntradaCalculo& e, Sesion& s, DatosPanel& panel) {
    const ResultadoCarga carga = DecodificarFacturacion(e.estudio, TDatosEstudio{});
    if (!carga.ok())
        return false;
    s.rutas = Carpeta();
    EscribirArchivo(s.rutas.RutaBateria, e.bancos);
    EscribirArchivo(s.rutas.RutaBateria60, e.bancos);
    EscribirArchivo(s.rutas.RutaFiltros, e.filtros);
    s.CatalogoTransformadores = DecodificarRegistros<TTransformador>(e.transformadores);
    s.CatalogoConductores = DecodificarRegistros<TConductor>(e.conductores);
    s.Datos = carga.datos;
    s.Lecturas = carga.lecturas;
    panel = MostrarDatos(s.Datos);
    AplicarElecciones(e, panel);
    return true;
}

std::vector<Semilla> SemillasCalculo(const std::filesystem::path& datos) {
    EntradaCalculo pequena;
    pequena.anchoPagina = 210 - 20;
    pequena.altoPagina = (297 - 20) / 2;
    pequena.anchoImagen = 120;
    pequena.altoImagen = 160;
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
    const std::string texto = "Equipo de prueba.\r\nUna segunda l\xEDnea bastante larga para que el texto "
                              "tenga que partirse en varias l\xEDneas dentro de su columna.\r\n";
    pequena.descripcion.assign(texto.begin(), texto.end());

    std::vector<Semilla> s;
    for (const std::int32_t tipoCalculo : {0, 1})
        for (const std::int32_t equipos : {0, 1}) {
            EntradaCalculo e = pequena;
            e.estudio = EstudioDeMuestra(tipoCalculo, equipos);
            s.push_back({"muestra-" + std::to_string(tipoCalculo) + std::to_string(equipos), Unir(e)});
        }
    // The panel's choices replaced: 60 Hz banks by the tariff "1.1" in English, and choices out of
    // range.
    EntradaCalculo elegida = pequena;
    elegida.estudio = EstudioDeMuestra(0, 1);
    elegida.banderas = 1 | 0x1FE | 0x200;
    const std::int8_t elecciones[] = {0, 1, 0, 1, 0, 0, 1, 8};
    std::copy(std::begin(elecciones), std::end(elecciones), elegida.elecciones);
    s.push_back({"elecciones", Unir(elegida)});
    const std::int8_t fuera[] = {2, -1, 3, 2, 2, 2, 2, 9};
    std::copy(std::begin(fuera), std::end(fuera), elegida.elecciones);
    s.push_back({"elecciones-fuera", Unir(elegida)});

    // Every example study with the shipped catalogues and a shipped description.
    if (!datos.empty()) {
        EntradaCalculo enviada = pequena;
        enviada.bancos = Bytes(datos / "dbf" / "bateria.dat");
        enviada.filtros = Bytes(datos / "dbf" / "filtros.dat");
        enviada.transformadores = Bytes(datos / "dbf" / "trans.dat");
        enviada.conductores = Bytes(datos / "dbf" / "cond.dat");
        enviada.descripcion = Bytes(datos / "dbf" / "es" / "Serie Jade.txt");
        for (Semilla& ejemplo : ArchivosDe(datos, "examples", ".fac")) {
            enviada.estudio = std::move(ejemplo.bytes);
            s.push_back({ejemplo.nombre, Unir(enviada)});
        }
    }
    return s;
}

} // namespace tarvik::fuzz
