// The catalogue readers against any bytes, each file read as banks, as current transformers and
// as conductors: every complete record is read, nothing past a field, and a record encoded again
// reads back the same.

#include "comun.h"

#include "catalogue/catalogo.h"

#include <limits>

using namespace tarvik;
using namespace tarvik::fuzz;

namespace {

template <class Registro> std::vector<std::uint8_t> Imagen(const std::vector<Registro>& lista) {
    std::vector<std::uint8_t> b;
    for (const Registro& r : lista) {
        const std::vector<std::uint8_t> uno = r.Codificar();
        Exigir(uno.size() == Registro::kTamano, "a record encodes to its size");
        b.insert(b.end(), uno.begin(), uno.end());
    }
    return b;
}

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

TEquipo Equipo(const char* codigo, const char* serie, float potencia, std::int32_t tension, float precio,
               std::uint8_t armonicos, std::uint8_t tipo) {
    TEquipo e;
    e.codigo = codigo;
    e.serie = serie;
    e.potencia = potencia;
    e.tension = tension;
    e.precio = precio;
    e.armonicos = armonicos;
    e.tipo = tipo;
    return e;
}

TTransformador Transformador(const char* designacion, float intensidad) {
    TTransformador t;
    t.designacion = designacion;
    t.intensidad = intensidad;
    return t;
}

TConductor Conductor(float seccion, float intensidad) {
    TConductor c;
    c.seccion = seccion;
    c.intensidad = intensidad;
    return c;
}

} // namespace

std::vector<Semilla> tarvik::fuzz::Semillas(const std::filesystem::path& datos) {
    std::vector<Semilla> s = {
        {"bateria", Imagen<TEquipo>({Equipo("JD-400-7.5", "Jade", 7.5f, 400, 612, 0, 0),
                                     Equipo("JD-440-120", "Jade", 120, 440, 4380.5f, 1, 0),
                                     Equipo("HM-400-300", "Hematites", 300, 400, 0, 1, 0),
                                     Equipo("CF-400-10", "Ambar", 10, 400, 215, 0, 1)})},
        {"filtros", Imagen<TEquipo>({Equipo("FZ-400-100", "Zentrola", 100, 400, 9850, 1, 0),
                                     Equipo("FZ-230-50", "Zentrola", 50, 230, 7100, 1, 0)})},
        {"trans", Imagen<TTransformador>({Transformador("TI 50/5", 50), Transformador("TI 400/5", 400),
                                          Transformador("TI 4000/5", 4000)})},
        {"cond", Imagen<TConductor>(
                     {Conductor(1.5f, 17.5f), Conductor(16, 76), Conductor(95, 223), Conductor(300, 464)})},
    };
    // Odd values a damaged catalogue may hold.
    TEquipo raro = Equipo("XXXXXXXXXXXXXXXXXXXX", "", std::numeric_limits<float>::infinity(), -1,
                          std::numeric_limits<float>::quiet_NaN(), 7, 255);
    raro.indicador = 0x80;
    s.push_back({"valores-extremos", Imagen<TEquipo>({raro})});
    s.push_back({"cond-sin-intensidad", Imagen<TConductor>({Conductor(1.5f, 0)})});
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
