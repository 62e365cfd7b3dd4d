#pragma once
// The report's page writer over QPainter. Every page is recorded as a compact list of the writer's
// own drawing calls (text, line, filled rectangle, picture) in hundredths of a millimetre and
// appended to a page file; the renderer then plays the page file onto a printer or a PDF writer.
// Text sizes are set as pixel sizes in that unit, so they do not depend on any device's resolution.
//
// The page file holds each font and each picture once, before the first page that uses it, and the
// pages refer to them by number: a logo on every page is decoded and handed to the device once, so
// a PDF embeds it once.
//
// Pictures are found by name: a picture registered with registerDrawing (the consumption chart), a
// picture compiled into the program (":/" + name: the logos), or else a picture file (a UTF-8 path).

#include "core/report/page_writer.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QIODevice>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPicture>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tarvik {

// Logical units of a recorded page per millimetre: a page file's coordinates are in hundredths of a
// millimetre.
inline constexpr double kUnidadesPagina = 100;

class QtPageWriter : public PageWriter {
  public:
    // Pages of `papelMm` (width and height) for a device of `dpi` dots per inch, appended to
    // `archivo`, which must be open for writing.
    QtPageWriter(QSizeF papelMm, double dpi, QIODevice& archivo);

    // A vector picture of `unidades` that `dibujar` draws into a rectangle of a painter.
    using Drawing = std::function<void(QPainter&, const QRectF&)>;
    void registerDrawing(const std::string& nombre, QSize unidades, Drawing dibujar);

    int pages() const { return paginas_; }
    // False when a page could not be written to the page file.
    bool ok() const { return ok_; }

    double textWidth(std::string_view text) const override;
    std::optional<PictureSize> pictureSize(const std::string& picture) const override;

  protected:
    double dotsPerInch() const override { return dpi_; }
    void beginPage() override;
    void endPage() override;
    void drawText(double x, double baseline, std::string_view text) override;
    void drawLine(double x1, double y1, double x2, double y2, Colour colour, int pixels) override;
    void fillRect(const Rect& rect, Colour colour) override;
    void renderPicture(const std::string& picture, const Rect& rect) override;

  private:
    struct Vectorial {
        QSize unidades;
        Drawing dibujar;
    };
    struct Fuente {
        Font font;
        QFont qfont;
        QFontMetricsF medidas;
        std::optional<std::uint16_t> numero; // once it is in the page file
        // Widths already measured with this font: a report repeats its captions on every page.
        std::unordered_map<std::string, double> anchos;
    };
    struct Imagen {
        std::optional<QImage> imagen;
        std::optional<std::uint16_t> numero; // once it is in the page file
    };

    Fuente& FuenteActual() const;
    Imagen& BuscarImagen(const std::string& nombre) const;
    // Writes a font's or a picture's block and gives the number by which pages refer to it; none
    // when the page file cannot hold another of its kind.
    std::optional<std::uint16_t> GuardarRecurso(std::uint8_t tipo, std::uint16_t& cuenta,
                                                const QByteArray& datos);
    void Escribir(std::uint8_t tipo, const QByteArray& datos);

    double dpi_;
    QIODevice& archivo_;
    bool ok_ = true;
    QByteArray pagina_;
    int paginas_ = 0;
    // Fonts, pictures and vector pictures written to the page file so far.
    std::uint16_t fuentesEscritas_ = 0;
    std::uint16_t imagenesEscritas_ = 0;
    std::uint16_t dibujosEscritos_ = 0;
    std::map<std::string, Vectorial> dibujos_;
    mutable std::map<std::string, Imagen> imagenes_;
    mutable std::vector<std::unique_ptr<Fuente>> fuentes_;
    mutable Fuente* ultima_ = nullptr;
};

// The fonts and pictures of a page file, which its pages refer to by number.
struct PageResources {
    struct RecordedFont {
        QFont font;
        // Text has always stood where the font's ascent rounded to a whole unit puts it: this much
        // (under a unit) below the recorded baseline. Kept, so that no text moves on the page.
        double baselineShift;
    };
    std::vector<std::optional<RecordedFont>> fonts;
    std::vector<std::optional<QImage>> images;
    std::vector<std::optional<QPicture>> drawings;
};

// One page read back from a page file: its drawing calls, checked against the file's resources.
struct RecordedPage {
    enum class Kind : std::uint8_t { Text, Line, Fill, Image, Drawing };
    struct Operation {
        Kind kind;
        std::uint16_t resource; // font, picture or drawing
        QColor colour;
        QPointF from; // text position; line start; rectangle top-left
        QPointF to;   // line end; rectangle bottom-right
        double width; // pen width of a line
        QString text;
    };
    const PageResources* resources = nullptr;
    std::vector<Operation> operations;
};

// Reads the pages of a page file in order, handing each with its number (from 1) to `pagina`, which
// returns false to stop; the page lives only during the call. False when the file is not a page
// file or a page cannot be read.
bool ReadPages(QIODevice& archivo, const std::function<bool(int, const RecordedPage&)>& pagina);

// Plays the pages of a page file onto a paged device (a printer or a PDF writer), from page `desde`
// to page `hasta` (1-based, both included). Each page covers the whole sheet from its top-left
// corner. False when the file is not a page file or the device cannot be painted on.
bool RenderPages(QIODevice& archivo, QPagedPaintDevice& dispositivo, int desde, int hasta);

// Plays one recorded page onto a painter, with the page's top-left corner at the painter's origin.
void PlayPage(const RecordedPage& pagina, QPainter& pintor);

} // namespace tarvik
