#include "platform/qt_page_writer.h"

#include "platform/texto_qt.h"

#include <QFile>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace tarvik {

namespace {

// Logical units of a recorded page per millimetre.
constexpr double kUnidades = 100;
// The page file starts with this mark and layout version.
constexpr quint32 kMarcaArchivo = 0x42525031; // "BRP1"
constexpr QDataStream::Version kVersionFlujo = QDataStream::Qt_6_0;

QColor Color(Colour c) {
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                  static_cast<int>((c >> 16) & 0xFFu));
}

QPointF Punto(double x, double y) {
    return {x * kUnidades, y * kUnidades};
}

QRectF Rectangulo(const Rect& r) {
    return QRectF(Punto(r.left, r.top), Punto(r.right, r.bottom));
}

} // namespace

QtPageWriter::QtPageWriter(QSizeF papelMm, double dpi, QIODevice& archivo)
    : PageWriter(papelMm.width(), papelMm.height()), dpi_(dpi), salida_(&archivo) {
    salida_.setVersion(kVersionFlujo);
    salida_ << kMarcaArchivo;
}

QtPageWriter::~QtPageWriter() {
    if (pintor_.isActive())
        pintor_.end();
}

void QtPageWriter::registerDrawing(const std::string& nombre, QSize unidades, Drawing dibujar) {
    dibujos_[nombre] = {unidades, std::move(dibujar)};
}

const QFont& QtPageWriter::FuenteActual() const {
    if (!fuente_ || !(fuenteHecha_ == font())) {
        const Font& f = font();
        QFont q(QString::fromStdString(f.name));
        q.setPixelSize(std::max(1, static_cast<int>(std::lround(f.height * kUnidades))));
        q.setBold(f.bold);
        q.setUnderline(f.underline);
        q.setHintingPreference(QFont::PreferNoHinting);
        fuente_ = q;
        medidas_.emplace(q);
        fuenteHecha_ = f;
    }
    return *fuente_;
}

double QtPageWriter::textWidth(std::string_view text) const {
    FuenteActual();
    return medidas_->horizontalAdvance(DesdeAnsi(std::string(text))) / kUnidades;
}

const QImage* QtPageWriter::Imagen(const std::string& nombre) const {
    auto [it, nueva] = imagenes_.try_emplace(nombre);
    if (nueva) {
        const QString recurso = ":/" + QString::fromStdString(nombre);
        QImage imagen(QFile::exists(recurso) ? recurso : QString::fromUtf8(nombre.c_str()));
        if (!imagen.isNull())
            it->second = std::move(imagen);
    }
    return it->second ? &*it->second : nullptr;
}

std::optional<PictureSize> QtPageWriter::pictureSize(const std::string& picture) const {
    if (const auto d = dibujos_.find(picture); d != dibujos_.end())
        return PictureSize{d->second.unidades.width(), d->second.unidades.height()};
    if (const QImage* imagen = Imagen(picture))
        return PictureSize{imagen->width(), imagen->height()};
    return std::nullopt;
}

void QtPageWriter::beginPage() {
    pagina_ = QPicture();
    pintor_.begin(&pagina_);
}

void QtPageWriter::endPage() {
    pintor_.end();
    salida_ << pagina_;
    ++paginas_;
}

void QtPageWriter::drawText(double x, double baseline, std::string_view text) {
    pintor_.setFont(FuenteActual());
    pintor_.setPen(Color(font().colour));
    pintor_.drawText(Punto(x, baseline), DesdeAnsi(std::string(text)));
}

void QtPageWriter::drawLine(double x1, double y1, double x2, double y2, Colour colour, int pixels) {
    QPen pluma(Color(colour));
    pluma.setWidthF(pixels * kMmPerInch / dpi_ * kUnidades);
    pluma.setCapStyle(Qt::FlatCap);
    pintor_.setPen(pluma);
    pintor_.drawLine(Punto(x1, y1), Punto(x2, y2));
}

void QtPageWriter::fillRect(const Rect& rect, Colour colour) {
    pintor_.fillRect(Rectangulo(rect), Color(colour));
}

void QtPageWriter::renderPicture(const std::string& picture, const Rect& rect) {
    const QRectF destino = Rectangulo(rect);
    if (const auto d = dibujos_.find(picture); d != dibujos_.end()) {
        pintor_.save();
        d->second.dibujar(pintor_, destino);
        pintor_.restore();
    } else if (const QImage* imagen = Imagen(picture)) {
        pintor_.drawImage(destino, *imagen);
    }
}

void PlayPage(const QPicture& pagina, QPainter& pintor) {
    const QPaintDevice& dispositivo = *pintor.device();
    pintor.save();
    pintor.scale(dispositivo.logicalDpiX() / kMmPerInch / kUnidades,
                 dispositivo.logicalDpiY() / kMmPerInch / kUnidades);
    // Playing a picture scales it by the ratio of the device's resolution to the picture's: undo it.
    pintor.scale(static_cast<double>(pagina.logicalDpiX()) / dispositivo.logicalDpiX(),
                 static_cast<double>(pagina.logicalDpiY()) / dispositivo.logicalDpiY());
    pintor.drawPicture(0, 0, pagina);
    pintor.restore();
}

bool ReadPages(QIODevice& archivo, const std::function<bool(int, const QPicture&)>& pagina) {
    QDataStream entrada(&archivo);
    entrada.setVersion(kVersionFlujo);
    quint32 marca = 0;
    entrada >> marca;
    if (entrada.status() != QDataStream::Ok || marca != kMarcaArchivo)
        return false;
    for (int numero = 1; !entrada.atEnd(); ++numero) {
        QPicture leida;
        entrada >> leida;
        if (entrada.status() != QDataStream::Ok)
            return false;
        if (!pagina(numero, leida))
            break;
    }
    return true;
}

bool RenderPages(QIODevice& archivo, QPagedPaintDevice& dispositivo, int desde, int hasta) {
    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        return false;
    bool primera = true;
    const bool leidas = ReadPages(archivo, [&](int numero, const QPicture& pagina) {
        if (numero > hasta)
            return false;
        if (numero >= desde) {
            if (!primera)
                dispositivo.newPage();
            primera = false;
            PlayPage(pagina, pintor);
        }
        return true;
    });
    return pintor.end() && leidas;
}

} // namespace tarvik
