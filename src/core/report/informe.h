#pragma once
// The calculation report: the print job's order of sections and the frame of every page (header
// with the logo, product name, version, date and maker's lines; footer with the page number), the
// final report's tables, the equipment description pages and the billing chart.
//
// Everything is drawn on a page writer. Pictures are asked of the writer by name: the two logos
// (kLogoInforme, kLogoPie), the description pictures by their file path and the consumption chart
// (kGraficoConsumo), which the platform draws from the study's readings.

#include "core/engine/sesion.h"
#include "core/lang/mensajes.h"
#include "core/report/page_writer.h"

#include <array>
#include <limits>
#include <string>
#include <string_view>

namespace tarvik {

// The report sections chosen in the options dialog, in print order: the final report, the general
// characteristics of the selected equipment and the billing chart (only in studies by consumption).
using SeccionesInforme = std::array<bool, 3>;
inline constexpr std::size_t kInformeFinal = 0;
inline constexpr std::size_t kCaracteristicas = 1;
inline constexpr std::size_t kGrafico = 2;
inline constexpr SeccionesInforme kTodasLasSecciones = {true, true, true};

// What the front end takes from the user's locale.
struct OpcionesInforme {
    std::string fecha;    // today in the short date format, Windows-1252
    char separador = '.'; // decimal separator
};

inline constexpr const char* kLogoInforme = "logoreporte";
inline constexpr const char* kLogoPie = "footer_logo";
inline constexpr const char* kGraficoConsumo = "grafico1";
// The consumption chart is a square vector picture of this many units a side.
inline constexpr int kLadoGrafico = 400;

// Page margins of the report, in mm.
inline constexpr double kMargenIzquierdo = 20;
inline constexpr double kMargenDerecho = 15;
inline constexpr double kMargenSuperior = 10;
inline constexpr double kMargenInferior = 15;

// The page header and footer, and the page count of a job.
class MarcoInforme : public PageFrame {
  public:
    explicit MarcoInforme(std::string fecha) : fecha_(std::move(fecha)) {}

    int NumeroPagina = 0;

    void pageBegun(PageWriter&) override { ++NumeroPagina; }
    void header(PageWriter& writer) override;
    void footer(PageWriter& writer) override;

  private:
    std::string fecha_;
};

// The whole report on a writer: margins, page frame and the chosen sections in order. False when a
// section stopped the job (the messages say why); the recorded pages must then not be printed.
bool EscribirInforme(PageWriter& writer, const Sesion& sesion, const SeccionesInforme& secciones,
                     const OpcionesInforme& opciones, ListaMensajes& mensajes);

// The final report: customer and service data, billing readings, selected equipment, current
// transformers and conductors, with their notes.
void InformeFinal(PageWriter& writer, const Sesion& sesion, char separador);

// One description (heading, picture and text) per selected equipment series. False, with the
// message naming the file, when a description text or picture cannot be read.
bool CaracteristicasEquipos(PageWriter& writer, const Sesion& sesion, ListaMensajes& mensajes);

// The consumption chart across the page, under two empty lines.
void GraficoFacturacion(PageWriter& writer);

// The top edge of the page footer's rule at the line height now in force: nothing of a page's
// content may reach below it.
double LimitePie(const PageWriter& writer);

// Prints up to `lineas` lines of a memo, one at a time, each followed by a new line. A line is never
// printed where two or fewer lines are left, over the page footer: a new page starts first (unless
// the page is still empty, so that a page too small for three lines cannot page without end).
void ImprimirLineas(PageWriter& writer, MemoBuffer& memo, int lineas);
inline constexpr int kTodasLasLineas = std::numeric_limits<int>::max();

// The folder of the description texts in the active language: "es" or "en".
std::string IdiomaDescripciones();

// Whether a series name can be part of a description file name: no path separator, no "..", no
// control character and none of the characters that file names cannot hold.
bool SerieValidaComoArchivo(std::string_view serie);

// The largest size with the picture's proportions inside a box, in device pixels with truncation.
// A picture with a zero side fills the box.
struct TamanoDispositivo {
    long ancho = 0;
    long alto = 0;
};
TamanoDispositivo AjustarImagen(PictureSize imagen, long anchoCaja, long altoCaja);

} // namespace tarvik
