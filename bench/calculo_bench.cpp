// The calculation of an example study with the shipped catalogues, on its year of readings and on a
// million readings, beside the time it takes only to read the bytes of a million-reading study.

#include "catalogos_prueba.h"
#include "engine/calculo.h"
#include "study/facturacion.h"

#include <benchmark/benchmark.h>

#include <fstream>

using namespace tarvik;

namespace {

// The monthly 400-volt example with the shipped catalogues, its readings repeated up to `lecturas`.
Sesion Ejemplo(std::size_t lecturas, DatosPanel& panel) {
    Sesion s;
    const ResultadoCarga carga =
        CargarFacturacion(TARVIK_SOURCE_DIR "/examples/bancos-400v-mensual.fac", s.Datos);
    s.Datos = carga.datos;
    panel = MostrarDatos(s.Datos);
    s.rutas = Rutas::DesdeCarpetas(TARVIK_SOURCE_DIR, TARVIK_SOURCE_DIR "/dbf");
    s.CargarCatalogosFijos();
    s.Lecturas.reserve(lecturas);
    while (!carga.lecturas.empty() && s.Lecturas.size() < lecturas)
        s.Lecturas.push_back(carga.lecturas[s.Lecturas.size() % carga.lecturas.size()]);
    return s;
}

void Calculo(benchmark::State& state) {
    DatosPanel panel;
    Sesion s = Ejemplo(static_cast<std::size_t>(state.range(0)), panel);
    ListaMensajes mensajes;
    for (auto _ : state) {
        mensajes.clear();
        if (!Calcular(s, panel, mensajes, ','))
            state.SkipWithError("the calculation was refused");
        benchmark::DoNotOptimize(s.Analisis.qc);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(Calculo)->Arg(12)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Reading the bytes of a million-reading study from the (cached) file, and decoding it, for scale.
void LecturaEstudio(benchmark::State& state, bool decodificar) {
    const prueba::CarpetaPrograma carpeta;
    DatosPanel panel;
    const Sesion s = Ejemplo(1000000, panel);
    const std::string ruta = (carpeta.ruta() / "grande.fac").string();
    {
        const auto bytes = CodificarFacturacion(s.Datos, s.Lecturas);
        std::ofstream f(ruta, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    for (auto _ : state) {
        if (decodificar) {
            const ResultadoCarga r = CargarFacturacion(ruta, s.Datos);
            benchmark::DoNotOptimize(r.lecturas.data());
        } else {
            std::vector<std::uint8_t> bytes;
            std::string detalle;
            LeerBytes(ruta, bytes, detalle);
            benchmark::DoNotOptimize(bytes.data());
        }
    }
}
BENCHMARK_CAPTURE(LecturaEstudio, bytes, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(LecturaEstudio, decoded, true)->Unit(benchmark::kMicrosecond);

} // namespace
