// The calculation on a year of readings and on a million, beside the time it takes only to read the
// bytes of a million-reading study.

#include "catalogos_prueba.h"
#include "engine/calculo.h"
#include "study/facturacion.h"

#include <benchmark/benchmark.h>

#include <fstream>

using namespace tarvik;

namespace {

// A catalogue of the usual size: eight series of banks from 5 to 1000 kvar at three voltage classes,
// with and without harmonics, and fixed transformer capacitors.
std::vector<TEquipo> Bancos() {
    std::vector<TEquipo> bancos;
    for (const char* serie :
         {"Ambar", "Berilo", "Coral", "Diamante", "Granate", "Iolita", "Jade", "Hematites"})
        for (std::int32_t tension : {400, 480, 230})
            for (std::uint8_t armonicos : {0, 1})
                for (float kvar = 5; kvar <= 1000; kvar *= 1.25f)
                    bancos.push_back(prueba::Equipo(serie, kvar, tension, kvar * 40, armonicos));
    for (float kvar : {10.0f, 15.0f, 20.0f, 25.0f, 30.0f, 32.5f, 40.0f, 50.0f})
        bancos.push_back(prueba::Equipo("Fija", kvar, 400, 0, 0, 1));
    return bancos;
}

class Carpeta : public prueba::CarpetaPrograma {
  public:
    Carpeta() { Escribir("bateria.dat", Bancos()); }
};

Sesion SesionDe(const Carpeta& carpeta, std::size_t lecturas) {
    Sesion s;
    s.rutas = carpeta.rutas();
    const float conductores[][2] = {{1.5f, 17.5f}, {2.5f, 24}, {4, 32},    {6, 41},   {10, 57},  {16, 76},
                                    {25, 96},      {35, 119},  {50, 144},  {70, 184}, {95, 223}, {120, 259},
                                    {150, 299},    {185, 341}, {240, 403}, {300, 464}};
    for (const auto& c : conductores) {
        TConductor t;
        t.seccion = c[0];
        t.intensidad = c[1];
        s.CatalogoConductores.push_back(t);
    }
    for (float i : {50.0f, 100.0f, 150.0f, 200.0f, 250.0f, 300.0f, 400.0f, 500.0f, 600.0f, 800.0f, 1000.0f}) {
        TTransformador t;
        t.designacion = "TI " + std::to_string(static_cast<int>(i)) + "/5";
        t.intensidad = i;
        s.CatalogoTransformadores.push_back(t);
    }
    s.Lecturas.resize(lecturas);
    for (std::size_t i = 0; i < lecturas; ++i) {
        TLectura& l = s.Lecturas[i];
        l.mes = "MES";
        l.kwht = 40000 + static_cast<double>(i % 97) * 13.5;
        l.kvarh = 26000 + static_cast<double>(i % 89) * 21.25;
        l.mdr = 120 + static_cast<double>(i % 31);
        l.cpc = 630;
        l.rr = 85.4;
        l.it = 3200;
    }
    return s;
}

DatosPanel Panel() {
    DatosPanel p;
    p.equipos = 1;
    p.cosenoDeseado = 0.98;
    return p;
}

void Calculo(benchmark::State& state) {
    const Carpeta carpeta;
    Sesion s = SesionDe(carpeta, static_cast<std::size_t>(state.range(0)));
    const DatosPanel panel = Panel();
    ListaMensajes mensajes;
    for (auto _ : state) {
        mensajes.clear();
        const bool ok = Calcular(s, panel, mensajes, ',');
        if (!ok)
            state.SkipWithError("the calculation was refused");
        benchmark::DoNotOptimize(s.Analisis.qc);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(Calculo)->Arg(12)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Reading the bytes of a million-reading study from the (cached) file, and decoding it, for scale.
void LecturaEstudio(benchmark::State& state, bool decodificar) {
    const Carpeta carpeta;
    const Sesion s = SesionDe(carpeta, 1000000);
    const std::string ruta = (carpeta.raiz() / "grande.fac").string();
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
