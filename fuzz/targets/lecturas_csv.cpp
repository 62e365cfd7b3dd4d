// The spreadsheet readers against any bytes: a readings file and pasted rows either give readings or
// name their bad rows, and readings that were read go out and come back through the export
// unchanged, bit for bit, with either decimal mark and in either language.

#include "fuzz/comun.h"

#include "core/lang/traduccion.h"
#include "core/study/facturacion.h"
#include "core/study/lecturas_csv.h"

#include <string>
#include <string_view>

using namespace tarvik;
using namespace tarvik::fuzz;

namespace {

// The readings' fields that travel in a spreadsheet, compared through the billing file's encoding so
// that NaN and -0 compare by their bits.
std::vector<std::uint8_t> Bits(const std::vector<TLectura>& lecturas) {
    std::vector<std::uint8_t> b;
    for (const TLectura& l : lecturas) {
        const std::vector<std::uint8_t> uno = CodificarLectura(l);
        b.insert(b.end(), uno.begin(), uno.end());
    }
    return b;
}

void LeerYVolver(const ResultadoLecturasCsv& leido) {
    for (const ErrorCsv& e : leido.errores)
        for (int idioma : {kEspanol, kIngles})
            Exigir(!TextoErrorCsv(e, idioma).empty(), "every bad row has a text");
    if (!leido.ok())
        return;
    Exigir(leido.erroresOmitidos == 0, "a file that reads has no omitted errors");
    const std::vector<std::uint8_t> antes = Bits(leido.lecturas);
    for (char decimal : {'.', ','})
        for (int idioma : {kEspanol, kIngles}) {
            const ResultadoLecturasCsv vuelta =
                LeerLecturasCsv(EscribirLecturasCsv(leido.lecturas, decimal, idioma));
            Exigir(vuelta.ok(), "an exported file reads back");
            Exigir(Bits(vuelta.lecturas) == antes, "an exported file reads back unchanged");
            const ResultadoLecturasCsv pegado =
                LeerLecturasPegadas(EscribirLecturasTabuladas(leido.lecturas, decimal, idioma));
            Exigir(pegado.ok(), "copied rows paste back");
            Exigir(Bits(pegado.lecturas) == antes, "copied rows paste back unchanged");
        }
}

} // namespace

std::vector<Semilla> tarvik::fuzz::Semillas(const std::filesystem::path&) {
    auto semilla = [](const char* nombre, std::string_view texto) {
        return Semilla{nombre, std::vector<std::uint8_t>(texto.begin(), texto.end())};
    };
    return {
        semilla("coma", "Month,Year,kWh,kvarh,Peak demand (kW)\nJAN 2025,2025,52310,40120,268\n"
                        "FEB 2025,2025,49875.5,38004,259\n"),
        semilla("punto-y-coma", "Mes;A\xF1o;kWh;kvarh;Recargo\nENERO;2024;41000,5;30500;12,30\n"),
        semilla("tabulador", "\xEF\xBB\xBFMonth\tkWh\tkvarh\tExtra\n\"A \"\"B\"\"\"\t1e3\t-0\tx\n"),
        semilla("mala", "Month,kWh,kvarh\nJAN,abc,1\nFEB,,2\n\"MAR,3,4\n"),
        semilla("pegado", "ENERO\t2024\t41000\t30500\t180\t400\t12,3\t0\t0\t0\n"),
    };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    const std::string_view texto(reinterpret_cast<const char*>(datos), tamano);
    LeerYVolver(LeerLecturasCsv(texto));
    LeerYVolver(LeerLecturasPegadas(texto));
    return 0;
}
