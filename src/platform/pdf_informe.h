#pragma once
// The report's own PDF writer: plays a page file (qt_page_writer.h) straight into an A4 PDF file,
// without QPainter, and shows on every page the same pixels as the same pages played onto a
// QPdfWriter.
//
// Each page's text, rules, shaded boxes and logos are written here as PDF operations in the
// coordinates that Qt's PDF engine would give them: text glyph by glyph at the glyph positions that
// Qt's text layout gives (kerning included), rules with a flat cap, boxes filled, each logo embedded
// once. Three things are taken from a PDF that Qt's own engine writes in memory, so that they stay
// the same to the bit: the subsets of the fonts (Qt rebuilds the glyph outlines of the subset),
// the logos' image data (Qt chooses and encodes their compression) and the billing chart (a vector
// picture drawn by Qt Charts, embedded as one form).
//
// Every page is compressed (on other threads for a long report) and written, in order, as soon as
// it is finished; only the glyphs used, the pictures, the chart and the objects' positions are kept
// until the end.

#include <QIODevice>
#include <QString>

namespace tarvik {

// The resolution that the pages are laid out for: that of Qt's PDF writer, whose rules (given in
// device pixels) the report's pages keep.
inline constexpr double kResolucionPdf = 1200;

struct DocumentoPdf {
    QString titulo;
    QString creador;
};

// Writes the pages of the page file `paginas` (read from its current position) as a PDF into
// `destino`. False when the page file is damaged, holds an operation this writer cannot show as
// Qt would, or the PDF could not be written; `destino` then holds no usable document.
bool EscribirPdf(QIODevice& paginas, QIODevice& destino, const DocumentoPdf& documento);

} // namespace tarvik
