#include "core/report/informe.h"

#include "core/lang/traduccion.h"

namespace tarvik {

namespace {

constexpr double kTamanoLetra = 10.08; // points: 0.14 inch
constexpr Colour kColorMarca = Rgb(216, 31, 133);
constexpr Colour kGrisSombra = Rgb(128, 128, 128);
constexpr int kPlumaRaya = -2; // two hundredths of an inch
constexpr double kGrosorRaya = -kPlumaRaya * kMmPerHundredthInch;
// The footer rule lies one line and this many mm above the bottom edge.
constexpr double kAlturaRayaPie = 2;
constexpr Pen kPlumaFina{kBlack, 1};

// The logos as shipped, for a writer that cannot measure them.
constexpr PictureSize kTamanoLogo{142, 142};
constexpr PictureSize kTamanoLogoPie{227, 84};

// The maker's telephone and fax, the same in every language (Windows-1252).
constexpr std::string_view kLineaContacto = "Tel. +34 916 890 410 \xB7 Fax +34 916 890 411";

// Width of a picture drawn `alto` mm high with its proportions.
double AnchoProporcional(const PageWriter& writer, const char* imagen, PictureSize porDefecto, double alto) {
    const PictureSize tamano = writer.pictureSize(imagen).value_or(porDefecto);
    return tamano.height > 0 ? alto * tamano.width / tamano.height : alto;
}

// Start of every page: printable area, first line, font, shade and pen as the report uses them.
void PrepararPagina(PageWriter& writer) {
    writer.lineHeightFromFont();
    writer.setMargins(kMargenIzquierdo, kMargenDerecho, kMargenSuperior, kMargenInferior);
    writer.goToFirstLine();
    writer.setFontName("Arial");
    writer.setFontSize(kTamanoLetra);
    writer.setShadeColour(kGrisSombra);
    writer.setPen(kPlumaFina);
    writer.setDefaultShade(0);
}

// A rule across the printable area with the thick pen.
void Raya(PageWriter& writer, double y) {
    const Area& a = writer.area();
    writer.setPen({kBlack, kPlumaRaya});
    writer.moveTo(a.left, y);
    writer.lineTo(a.right, y);
    writer.setPen(kPlumaFina);
}

} // namespace

void MarcoInforme::header(PageWriter& writer) {
    PrepararPagina(writer);
    const Area a = writer.area();
    const double w = AnchoProporcional(writer, kLogoInforme, kTamanoLogo, 20);
    writer.drawPicture(kLogoInforme, {a.left, a.top, a.left + w, a.top + 20});
    {
        SavedFont fuente(writer);
        writer.setFontHeight(8);
        writer.setFontColour(kColorMarca);
        writer.setBold(true);
        writer.printAt(a.left + w + 5, a.top + 8, "TARVIK");
        writer.setFontHeight(3);
        writer.printAt(a.left + w + 39, a.top + 8, Texto("tarvik_version"));
        writer.moveTo(a.right, a.top);
        writer.printRight(fecha_, a.right);
        writer.printAt(a.left + w + 5, a.top + 12, Texto("tarvik_nombre"));
        writer.printAt(a.left + w + 5, a.top + 15.5, Texto("keltu_address"));
        writer.printAt(a.left + w + 5, a.top + 19, kLineaContacto);
    }
    writer.setBold(false);
    Raya(writer, a.top + 22);
    writer.moveTo(a.left, a.top + 25);
    writer.newLine();
}

void MarcoInforme::footer(PageWriter& writer) {
    const Area a = writer.area();
    const double lh = writer.lineHeight();
    Raya(writer, a.bottom - lh - kAlturaRayaPie);
    const double wf = AnchoProporcional(writer, kLogoPie, kTamanoLogoPie, 10);
    writer.drawPicture(kLogoPie, {a.left, a.bottom - lh, a.left + wf, a.bottom - lh + 10});
    SavedFont fuente(writer);
    writer.setFontHeight(3);
    writer.moveTo(a.right, a.bottom);
    const char* pagina = IdiomaActivo() == kEspanol ? "pag. " : "page ";
    writer.printRight(pagina + std::to_string(NumeroPagina), a.right);
}

double LimitePie(const PageWriter& writer) {
    return writer.area().bottom - writer.lineHeight() - kAlturaRayaPie - kGrosorRaya / 2;
}

void ImprimirLineas(PageWriter& writer, MemoBuffer& memo, int lineas) {
    constexpr int kLineasPie = 2;
    for (int i = 0; i < lineas && !memo.finished(); ++i) {
        if (writer.linesLeft() <= kLineasPie && !writer.pageIsFresh())
            writer.continueOnNewPage();
        writer.printMemo(memo, 1);
    }
}

bool EscribirInforme(PageWriter& writer, const Sesion& sesion, const SeccionesInforme& secciones,
                     const OpcionesInforme& opciones, ListaMensajes& mensajes) {
    writer.setMargins(kMargenIzquierdo, kMargenDerecho, kMargenSuperior, kMargenInferior);
    MarcoInforme marco(opciones.fecha);
    writer.setFrame(&marco);
    const bool grafico = secciones[kGrafico] && sesion.Datos.tipoCalculo == 0;
    bool completo = true;
    writer.runJob([&](PageWriter& w) {
        marco.NumeroPagina = 1;
        if (secciones[kInformeFinal]) {
            InformeFinal(w, sesion, opciones.separador);
            if (secciones[kCaracteristicas] || grafico)
                w.newPage();
        }
        if (secciones[kCaracteristicas]) {
            if (!CaracteristicasEquipos(w, sesion, mensajes)) {
                completo = false;
                return;
            }
            if (grafico)
                w.newPage();
        }
        if (grafico)
            GraficoFacturacion(w);
    });
    writer.setFrame(nullptr);
    return completo;
}

} // namespace tarvik
