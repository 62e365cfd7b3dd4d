// The catalogue readers against any bytes, each file read as banks, as current transformers and
// as conductors: every complete record is read, nothing past a field, and a record encoded again
// reads back the same. A kilobyte holds a dozen equipment records and many more of the others;
// longer inputs only repeat the same record decoder at a quarter of the speed.
// libFuzzer: -max_len=1024

#include "fuzz/comun.h"

#include "core/catalogue/catalogo.h"

#include <limits>

using namespace tarvik;
using namespace tarvik::fuzz;

namespace {

template <class Registro, class... Flotantes>
void Comprobar(std::span<const std::uint8_t> bytes, Flotantes... flotantes) {
    const std::vector<Registro> lista = DecodificarRegistros<Registro>(bytes);
    Exigir(lista.size() == bytes.size() / Registro::kTamano, "every complete record is read");
    const std::vector<std::uint8_t> imagen = Imagen(lista);
    const std::vector<Registro> otra = DecodificarRegistros<Registro>(imagen);
    Exigir(otra.size() == lista.size(), "an encoded catalogue reads back whole");
    for (std::size_t i = 0; i < lista.size(); ++i)
        Exigir(SinNaN(lista[i], flotantes...) == SinNaN(otra[i], flotantes...),
               "a record reads back the same");
    Exigir(Imagen(otra) == imagen, "a record encodes back to the same bytes");
}

} // namespace

std::vector<Semilla> tarvik::fuzz::Semillas(const std::filesystem::path& datos) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    std::vector<Semilla> s = {
        {"bateria",
         Imagen<TEquipo>({
             {.codigo = "JD-400-7.5", .serie = "Jade", .potencia = 7.5f, .tension = 400, .precio = 612},
             {.codigo = "JD-440-120",
              .serie = "Jade",
              .potencia = 120,
              .tension = 440,
              .precio = 4380.5f,
              .armonicos = 1},
             {.codigo = "HM-400-300", .serie = "Hematites", .potencia = 300, .tension = 400, .armonicos = 1},
             {.codigo = "CF-400-10",
              .serie = "Ambar",
              .potencia = 10,
              .tension = 400,
              .precio = 215,
              .tipo = 1},
         })},
        {"filtros", Imagen<TEquipo>({
                        {.codigo = "FZ-400-100",
                         .serie = "Zentrola",
                         .potencia = 100,
                         .tension = 400,
                         .precio = 9850,
                         .armonicos = 1},
                        {.codigo = "FZ-230-50",
                         .serie = "Zentrola",
                         .potencia = 50,
                         .tension = 230,
                         .precio = 7100,
                         .armonicos = 1},
                    })},
        {"trans", Imagen<TTransformador>({{.designacion = "TI 50/5", .intensidad = 50},
                                          {.designacion = "TI 400/5", .intensidad = 400},
                                          {.designacion = "TI 4000/5", .intensidad = 4000}})},
        {"cond", Imagen<TConductor>({{.seccion = 1.5f, .intensidad = 17.5f},
                                     {.seccion = 16, .intensidad = 76},
                                     {.seccion = 95, .intensidad = 223},
                                     {.seccion = 300, .intensidad = 464}})},
        // Odd values a damaged catalogue may hold.
        {"valores-extremos", Imagen<TEquipo>({{.codigo = "XXXXXXXXXXXXXXXXXXXX",
                                               .potencia = kInf,
                                               .tension = -1,
                                               .precio = kNaN,
                                               .armonicos = 7,
                                               .tipo = 255,
                                               .indicador = 0x80}})},
        {"cond-sin-intensidad", Imagen<TConductor>({{.seccion = 1.5f, .intensidad = 0}})},
    };
    for (Semilla& fuera : ArchivosDe(datos, "dbf", ".dat"))
        s.push_back(std::move(fuera));
    return s;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    Comprobar<TEquipo>(bytes, &TEquipo::potencia, &TEquipo::precio);
    Comprobar<TTransformador>(bytes, &TTransformador::intensidad);
    Comprobar<TConductor>(bytes, &TConductor::seccion, &TConductor::intensidad);
    return 0;
}
