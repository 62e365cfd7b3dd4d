// The calculation of an example study with the shipped catalogues, on its year of readings and on a
// million readings; opening a million-reading study, alone and with its calculation, beside the
// time it takes only to read its bytes.

#include "core/engine/calculo.h"
#include "core/util/archivo.h"
#include "platform/archivo_estudio.h"
#include "soporte/catalogos_prueba.h"

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

enum class Apertura { Bytes, Decodificada, Calculada };

// Reading the bytes of a million-reading study from the (cached) file, for scale; opening it as the
// Open command does; and opening it and calculating it, as Open then Calculations do.
void AbrirEstudio(benchmark::State& state, Apertura hasta) {
    const prueba::CarpetaPrograma carpeta;
    DatosPanel panel;
    Sesion s = Ejemplo(1000000, panel);
    const std::string ruta = (carpeta.ruta() / "grande.fac").string();
    {
        const auto bytes = CodificarFacturacion(s.Datos, s.Lecturas);
        std::ofstream f(ruta, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    s.Lecturas.clear();
    s.Lecturas.shrink_to_fit();
    ListaMensajes mensajes;
    for (auto _ : state) {
        if (hasta == Apertura::Bytes) {
            std::vector<std::uint8_t> bytes;
            std::string detalle;
            LeerBytes(ruta, bytes, detalle);
            benchmark::DoNotOptimize(bytes.data());
            continue;
        }
        ResultadoCarga r = CargarFacturacion(ruta, s.Datos);
        if (hasta == Apertura::Calculada) {
            s.Datos = std::move(r.datos);
            s.Lecturas = std::move(r.lecturas);
            mensajes.clear();
            if (!Calcular(s, panel, mensajes, ','))
                state.SkipWithError("the calculation was refused");
            benchmark::DoNotOptimize(s.Analisis.qc);
        }
        benchmark::DoNotOptimize(r.lecturas.data());
    }
}
BENCHMARK_CAPTURE(AbrirEstudio, bytes, Apertura::Bytes)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AbrirEstudio, decoded, Apertura::Decodificada)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AbrirEstudio, calculated, Apertura::Calculada)->Unit(benchmark::kMicrosecond);

} // namespace
