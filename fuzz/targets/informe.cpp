// The calculation report against any study, catalogues, description text, picture size and paper:
// after a calculation that succeeds, the report's chosen sections are laid out on the recording
// page writer, with a description of every selected series in the data folder. Whatever the input,
// the job ends; it is refused only for a description it cannot read, saying which file; and every
// page is numbered in turn.
//
// Input: as entrada_calculo.h lays it out. Flags beyond those of the calculation: bit 10 leaves
// the description pictures without a size (the writer cannot read them), bits 11 to 13 leave out
// the final report, the equipment pages and the chart. The page is 100 mm plus the width byte wide
// and 100 mm plus twice the height byte high, as paper goes; with bit 14 it starts at 20 mm, where no
// line fits and every line takes a page of its own (hundreds of pages an input, so kept apart from
// the common case to leave the fuzzer its speed).
// libFuzzer: -max_len=32768

#include "fuzz/entrada_calculo.h"

#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "core/report/informe.h"
#include "core/report/recording_page_writer.h"
#include "core/util/cp1252.h"

#include <string>

using namespace tarvik;
using namespace tarvik::fuzz;

namespace {

// Writes the description text of every selected series that can name a file, in both languages,
// and gives its picture a size unless the input says otherwise.
void Describir(const EntradaCalculo& e, const Sesion& s, RecordingPageWriter& writer) {
    const std::filesystem::path dbf = s.rutas.RutaDbf;
    for (const char* idioma : {"es", "en"}) {
        std::filesystem::remove_all(dbf / idioma);
        std::filesystem::create_directories(dbf / idioma);
    }
    for (const TEquipoSeleccionado& equipo : s.EquiposSeleccionados) {
        if (!SerieValidaComoArchivo(equipo.serie))
            continue;
        const std::string nombre = Cp1252ToUtf8((s.Datos.equipos == 0 ? "Filter " : "Serie ") + equipo.serie);
        for (const char* idioma : {"es", "en"})
            EscribirArchivo(s.rutas.RutaDbf + idioma + kSeparador + nombre + ".txt", e.descripcion);
        if (!(e.banderas & 0x400))
            writer.setPictureSize(s.rutas.RutaDbf + nombre + ".bmp", {e.anchoImagen, e.altoImagen});
    }
}

} // namespace

std::vector<Semilla> tarvik::fuzz::Semillas(const std::filesystem::path& datos) {
    return SemillasCalculo(datos);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const EntradaCalculo e = Partir({data, size});
    Sesion s;
    DatosPanel panel;
    if (!Cargar(e, s, panel))
        return 0;
    ListaMensajes calculo;
    if (!Calcular(s, panel, calculo, e.Separador()))
        return 0;

    EstablecerIdiomaActivo(e.Ingles() ? kIngles : kEspanol);
    const double minimo = (e.banderas & 0x4000) ? 20.0 : 100.0;
    RecordingPageWriter writer(minimo + e.anchoPagina, minimo + 2.0 * e.altoPagina);
    writer.setPictureSize(kLogoInforme, {142, 142});
    writer.setPictureSize(kLogoPie, {227, 84});
    Describir(e, s, writer);
    const SeccionesInforme secciones = {!(e.banderas & 0x800), !(e.banderas & 0x1000),
                                        !(e.banderas & 0x2000)};
    ListaMensajes mensajes;
    const bool completo = EscribirInforme(writer, s, secciones, {"09/12/2024", e.Separador()}, mensajes);
    EstablecerIdiomaActivo(kEspanol);

    Exigir(completo == mensajes.empty(), "a report is refused exactly when it says why");
    // The message is in the report's language.
    const char* const noAbre = e.Ingles() ? "Cannot open file \"" : "No se puede abrir el archivo \"";
    for (const Mensaje& m : mensajes)
        Exigir(m.clave.empty() && m.texto.starts_with(noAbre),
               "a refused report names the file it could not read", m.texto);
    int paginas = 0;
    for (const std::string& linea : writer.log())
        if (linea.starts_with("page "))
            Exigir(linea == "page " + std::to_string(++paginas), "pages are numbered in turn", linea);
    return 0;
}
