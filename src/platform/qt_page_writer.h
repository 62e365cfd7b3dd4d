#pragma once
// The report's page writer over QPainter. Every page is drawn into a vector picture in hundredths of
// a millimetre and appended to a page file; the renderer then plays the page file onto a printer or
// a PDF writer. Text sizes are set as pixel sizes in that unit, so they do not depend on any
// device's resolution.
//
// Pictures are found by name: a picture registered with registerDrawing (the consumption chart), a
// picture compiled into the program (":/" + name: the logos), or else a picture file (a UTF-8 path).

#include "core/report/page_writer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPicture>

#include <QDataStream>
#include <QIODevice>
#include <QPagedPaintDevice>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace tarvik {

class QtPageWriter : public PageWriter {
  public:
    // Pages of `papelMm` (width and height) for a device of `dpi` dots per inch, appended to
    // `archivo`, which must be open for writing.
    QtPageWriter(QSizeF papelMm, double dpi, QIODevice& archivo);
    ~QtPageWriter() override;

    // A vector picture of `unidades` that `dibujar` draws into a rectangle of a painter.
    using Drawing = std::function<void(QPainter&, const QRectF&)>;
    void registerDrawing(const std::string& nombre, QSize unidades, Drawing dibujar);

    int pages() const { return paginas_; }
    // False when a page could not be written to the page file.
    bool ok() const { return salida_.status() == QDataStream::Ok; }

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

    const QFont& FuenteActual() const;
    const QImage* Imagen(const std::string& nombre) const;

    double dpi_;
    QDataStream salida_;
    QPicture pagina_;
    QPainter pintor_;
    int paginas_ = 0;
    std::map<std::string, Vectorial> dibujos_;
    mutable std::map<std::string, std::optional<QImage>> imagenes_;
    // The font of the last measurement or drawing, built again only when the page font changes.
    mutable Font fuenteHecha_;
    mutable std::optional<QFont> fuente_;
    mutable std::optional<QFontMetricsF> medidas_;
};

// Reads the pages of a page file in order, handing each with its number (from 1) to `pagina`, which
// returns false to stop. False when the file is not a page file or a page cannot be read.
bool ReadPages(QIODevice& archivo, const std::function<bool(int, const QPicture&)>& pagina);

// Plays the pages of a page file onto a paged device (a printer or a PDF writer), from page `desde`
// to page `hasta` (1-based, both included). Each page covers the whole sheet from its top-left
// corner. False when the file is not a page file or the device cannot be painted on.
bool RenderPages(QIODevice& archivo, QPagedPaintDevice& dispositivo, int desde, int hasta);

// Plays one recorded page onto a painter, with the page's top-left corner at the painter's origin.
void PlayPage(const QPicture& pagina, QPainter& pintor);

} // namespace tarvik
