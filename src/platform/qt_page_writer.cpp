#include "platform/qt_page_writer.h"

#include "core/util/bytes.h"
#include "platform/texto_qt.h"

#include <QFile>
#include <QPen>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <span>

namespace tarvik {

namespace {

// Text widths kept for each font.
constexpr std::size_t kAnchosGuardados = 512;

// The page file: this mark, then blocks of a kind byte, a 32-bit length and that many bytes. A font
// or a picture comes in its own block before the first page that uses it; the resources of each
// kind are numbered from 0 in the order of their blocks.
constexpr char kMarcaArchivo[] = {'B', 'R', 'P', '2'};
constexpr qint64 kCabeceraBloque = 5;
enum Bloque : std::uint8_t { kBloqueFuente = 1, kBloqueImagen = 2, kBloqueDibujo = 3, kBloquePagina = 4 };
// Font block: flags, pixel size, family name in UTF-8 (the rest of the block).
constexpr std::uint8_t kNegrita = 1;
constexpr std::uint8_t kSubrayada = 2;
// Picture block: width, height, whether it has an alpha channel, then the rows of 32-bit pixels.
constexpr int kLadoMaximoImagen = 16384;
// Page block: operations, each a kind byte (the order of RecordedPage::Kind) and its fields.
//   text:    font u16, colour u32, x f64, baseline f64, length u32, Windows-1252 bytes
//   line:    colour u32, pen width f64, x1 y1 x2 y2 f64
//   fill:    colour u32, left top right bottom f64
//   picture: picture u16, left top right bottom f64
//   drawing: vector picture u16

QColor Color(Colour c) {
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                  static_cast<int>((c >> 16) & 0xFFu));
}

QFont FuenteQt(const QString& familia, int pixeles, bool negrita, bool subrayada) {
    QFont q(familia);
    q.setPixelSize(pixeles);
    q.setBold(negrita);
    q.setUnderline(subrayada);
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
}

// The same letters in the same size and weight; the colour travels with each text.
bool MismaLetra(const Font& a, const Font& b) {
    return a.name == b.name && a.height == b.height && a.bold == b.bold && a.underline == b.underline;
}

// Little-endian fields appended to a block.
class Bytes {
  public:
    explicit Bytes(QByteArray& destino) : destino_(destino) {}
    void u8(std::uint8_t v) { destino_.append(static_cast<char>(v)); }
    void u16(std::uint16_t v) { Poner(v); }
    void u32(std::uint32_t v) { Poner(v); }
    void i32(std::int32_t v) { Poner(v); }
    void f64(double v) { Poner(std::bit_cast<std::uint64_t>(v)); }
    void Punto(double x, double y) {
        f64(x * kUnidadesPagina);
        f64(y * kUnidadesPagina);
    }
    void Rectangulo(const Rect& r) {
        Punto(r.left, r.top);
        Punto(r.right, r.bottom);
    }
    void Texto(std::string_view texto) {
        u32(static_cast<std::uint32_t>(texto.size()));
        destino_.append(texto.data(), static_cast<qsizetype>(texto.size()));
    }

  private:
    template <typename T> void Poner(T v) {
        char b[sizeof v];
        qToLittleEndian(v, b);
        destino_.append(b, sizeof v);
    }
    QByteArray& destino_;
};

// Up to `largo` bytes of a stream whose length is unknown, read a piece at a time: a damaged length
// costs no more memory than the stream really holds.
QByteArray LeerPorPartes(QIODevice& archivo, qint64 largo) {
    constexpr qint64 kPieza = 1 << 20;
    QByteArray datos;
    while (datos.size() < largo) {
        const QByteArray pieza = archivo.read(std::min(kPieza, largo - datos.size()));
        if (pieza.isEmpty())
            break;
        datos += pieza;
    }
    return datos;
}

std::span<const std::uint8_t> Vista(const QByteArray& datos) {
    return {reinterpret_cast<const std::uint8_t*>(datos.constData()), static_cast<std::size_t>(datos.size())};
}

// The next `cuantos` bytes of a reader as a view, or none (and the reader failed) when they are not
// all there.
std::optional<std::span<const std::uint8_t>> Tramo(ByteReader& r, std::span<const std::uint8_t> datos,
                                                   std::size_t cuantos) {
    if (!r.ok() || r.offset() > datos.size() || datos.size() - r.offset() < cuantos) {
        r.seek(datos.size());
        r.u8(); // marks the reader as failed
        return std::nullopt;
    }
    const auto tramo = datos.subspan(r.offset(), cuantos);
    r.skip(cuantos);
    return tramo;
}

QPointF LeerPunto(ByteReader& r, bool& finito) {
    const double x = r.f64();
    const double y = r.f64();
    finito = finito && std::isfinite(x) && std::isfinite(y);
    return {x, y};
}

std::optional<PageResources::RecordedFont> LeerFuente(const QByteArray& datos) {
    ByteReader r(Vista(datos));
    const std::uint8_t marcas = r.u8();
    const std::int32_t pixeles = r.i32();
    if (!r.ok() || pixeles < 1 || (marcas & ~(kNegrita | kSubrayada)) != 0)
        return std::nullopt;
    const QString familia =
        QString::fromUtf8(datos.constData() + r.offset(), datos.size() - static_cast<qsizetype>(r.offset()));
    QFont q = FuenteQt(familia, pixeles, (marcas & kNegrita) != 0, (marcas & kSubrayada) != 0);
    const double desplazamiento = QFontMetricsF(q).ascent() - QFontMetrics(q).ascent();
    return PageResources::RecordedFont{std::move(q), desplazamiento};
}

std::optional<QImage> LeerImagen(const QByteArray& datos) {
    ByteReader r(Vista(datos));
    const std::int32_t ancho = r.i32();
    const std::int32_t alto = r.i32();
    const bool alfa = r.u8() != 0;
    if (!r.ok() || ancho < 1 || alto < 1 || ancho > kLadoMaximoImagen || alto > kLadoMaximoImagen)
        return std::nullopt;
    const auto filaBytes = static_cast<std::size_t>(ancho) * 4;
    const auto pixeles = Tramo(r, Vista(datos), filaBytes * static_cast<std::size_t>(alto));
    if (!pixeles || r.offset() != static_cast<std::size_t>(datos.size()))
        return std::nullopt;
    QImage imagen(ancho, alto, alfa ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (imagen.isNull())
        return std::nullopt;
    for (int y = 0; y < alto; ++y)
        std::copy_n(pixeles->data() + static_cast<std::size_t>(y) * filaBytes, filaBytes, imagen.scanLine(y));
    return imagen;
}

// Qt reads the picture's own commands, and refuses a damaged picture when it is played.
std::optional<QPicture> LeerDibujo(const QByteArray& datos) {
    QPicture dibujo;
    dibujo.setData(datos.constData(), static_cast<uint>(datos.size()));
    if (dibujo.isNull())
        return std::nullopt;
    return dibujo;
}

template <typename T> bool Presente(const std::vector<std::optional<T>>& recursos, std::uint16_t numero) {
    return numero < recursos.size() && recursos[numero].has_value();
}

// The operations of a page block; false when one is cut short, unknown, not finite or refers to a
// resource that the file does not hold.
bool LeerPagina(const QByteArray& datos, RecordedPage& pagina) {
    using Kind = RecordedPage::Kind;
    const auto vista = Vista(datos);
    const PageResources& recursos = *pagina.resources;
    ByteReader r(vista);
    bool valida = true;
    while (valida && r.ok() && r.offset() < vista.size()) {
        RecordedPage::Operation o{};
        o.kind = static_cast<Kind>(r.u8());
        switch (o.kind) {
        case Kind::Text:
            o.resource = r.u16();
            o.colour = Color(static_cast<Colour>(r.i32()));
            o.from = LeerPunto(r, valida);
            if (const auto texto = Tramo(r, vista, static_cast<std::uint32_t>(r.i32())))
                o.text = DesdeAnsi(std::string(reinterpret_cast<const char*>(texto->data()), texto->size()));
            valida = valida && Presente(recursos.fonts, o.resource);
            break;
        case Kind::Line:
            o.colour = Color(static_cast<Colour>(r.i32()));
            o.width = r.f64();
            valida = valida && std::isfinite(o.width) && o.width >= 0;
            o.from = LeerPunto(r, valida);
            o.to = LeerPunto(r, valida);
            break;
        case Kind::Fill:
            o.colour = Color(static_cast<Colour>(r.i32()));
            o.from = LeerPunto(r, valida);
            o.to = LeerPunto(r, valida);
            break;
        case Kind::Image:
            o.resource = r.u16();
            o.from = LeerPunto(r, valida);
            o.to = LeerPunto(r, valida);
            valida = valida && Presente(recursos.images, o.resource);
            break;
        case Kind::Drawing:
            o.resource = r.u16();
            valida = Presente(recursos.drawings, o.resource);
            break;
        default:
            return false;
        }
        pagina.operations.push_back(std::move(o));
    }
    return valida && r.ok();
}

} // namespace

QtPageWriter::QtPageWriter(QSizeF papelMm, double dpi, QIODevice& archivo)
    : PageWriter(papelMm.width(), papelMm.height()), dpi_(dpi), archivo_(archivo) {
    ok_ = archivo_.write(kMarcaArchivo, sizeof kMarcaArchivo) == sizeof kMarcaArchivo;
}

void QtPageWriter::registerDrawing(const std::string& nombre, QSize unidades, Drawing dibujar) {
    dibujos_[nombre] = {unidades, std::move(dibujar)};
}

std::optional<std::uint16_t> QtPageWriter::GuardarRecurso(std::uint8_t tipo, std::uint16_t& cuenta,
                                                          const QByteArray& datos) {
    if (cuenta == std::numeric_limits<std::uint16_t>::max()) {
        ok_ = false;
        return std::nullopt;
    }
    Escribir(tipo, datos);
    return cuenta++;
}

void QtPageWriter::Escribir(std::uint8_t tipo, const QByteArray& datos) {
    QByteArray cabecera;
    Bytes b(cabecera);
    b.u8(tipo);
    b.u32(static_cast<std::uint32_t>(datos.size()));
    if (archivo_.write(cabecera) != kCabeceraBloque || archivo_.write(datos) != datos.size())
        ok_ = false;
}

QtPageWriter::Fuente& QtPageWriter::FuenteActual() const {
    const Font& f = font();
    if (ultima_ && MismaLetra(ultima_->font, f))
        return *ultima_;
    const auto hecha = std::find_if(fuentes_.begin(), fuentes_.end(),
                                    [&](const auto& conocida) { return MismaLetra(conocida->font, f); });
    if (hecha != fuentes_.end()) {
        ultima_ = hecha->get();
    } else {
        QFont q = FuenteQt(QString::fromStdString(f.name),
                           std::max(1, static_cast<int>(std::lround(f.height * kUnidadesPagina))), f.bold,
                           f.underline);
        QFontMetricsF medidas(q);
        fuentes_.push_back(std::make_unique<Fuente>(Fuente{f, std::move(q), medidas, std::nullopt, {}}));
        ultima_ = fuentes_.back().get();
    }
    return *ultima_;
}

double QtPageWriter::textWidth(std::string_view text) const {
    Fuente& f = FuenteActual();
    // The captions that repeat stay; the figures of a long table of readings would only pile up.
    if (f.anchos.size() >= kAnchosGuardados)
        f.anchos.clear();
    auto [ancho, nuevo] = f.anchos.try_emplace(std::string(text));
    if (nuevo)
        ancho->second = f.medidas.horizontalAdvance(DesdeAnsi(ancho->first)) / kUnidadesPagina;
    return ancho->second;
}

QtPageWriter::Imagen& QtPageWriter::BuscarImagen(const std::string& nombre) const {
    auto [it, nueva] = imagenes_.try_emplace(nombre);
    if (nueva) {
        const QString recurso = ":/" + QString::fromStdString(nombre);
        QImage imagen(QFile::exists(recurso) ? recurso : QString::fromUtf8(nombre.c_str()));
        if (!imagen.isNull())
            it->second.imagen = std::move(imagen);
    }
    return it->second;
}

std::optional<PictureSize> QtPageWriter::pictureSize(const std::string& picture) const {
    if (const auto d = dibujos_.find(picture); d != dibujos_.end())
        return PictureSize{d->second.unidades.width(), d->second.unidades.height()};
    if (const Imagen& i = BuscarImagen(picture); i.imagen)
        return PictureSize{i.imagen->width(), i.imagen->height()};
    return std::nullopt;
}

void QtPageWriter::beginPage() {
    pagina_.clear();
}

void QtPageWriter::endPage() {
    Escribir(kBloquePagina, pagina_);
    ++paginas_;
}

void QtPageWriter::drawText(double x, double baseline, std::string_view text) {
    Fuente& f = FuenteActual();
    if (!f.numero) {
        QByteArray datos;
        Bytes b(datos);
        b.u8(static_cast<std::uint8_t>((f.font.bold ? kNegrita : 0) | (f.font.underline ? kSubrayada : 0)));
        b.i32(f.qfont.pixelSize());
        datos.append(f.qfont.family().toUtf8());
        f.numero = GuardarRecurso(kBloqueFuente, fuentesEscritas_, datos);
        if (!f.numero)
            return;
    }
    Bytes b(pagina_);
    b.u8(static_cast<std::uint8_t>(RecordedPage::Kind::Text));
    b.u16(*f.numero);
    b.u32(font().colour);
    b.Punto(x, baseline);
    b.Texto(text);
}

void QtPageWriter::drawLine(double x1, double y1, double x2, double y2, Colour colour, int pixels) {
    Bytes b(pagina_);
    b.u8(static_cast<std::uint8_t>(RecordedPage::Kind::Line));
    b.u32(colour);
    b.f64(pixels * kMmPerInch / dpi_ * kUnidadesPagina);
    b.Punto(x1, y1);
    b.Punto(x2, y2);
}

void QtPageWriter::fillRect(const Rect& rect, Colour colour) {
    Bytes b(pagina_);
    b.u8(static_cast<std::uint8_t>(RecordedPage::Kind::Fill));
    b.u32(colour);
    b.Rectangulo(rect);
}

void QtPageWriter::renderPicture(const std::string& picture, const Rect& rect) {
    Bytes b(pagina_);
    if (const auto d = dibujos_.find(picture); d != dibujos_.end()) {
        QPicture dibujo;
        QPainter pintor(&dibujo);
        d->second.dibujar(pintor, QRectF(QPointF(rect.left, rect.top) * kUnidadesPagina,
                                         QPointF(rect.right, rect.bottom) * kUnidadesPagina));
        pintor.end();
        // The picture of a long study's chart runs to megabytes: written from where it lies.
        const auto numero =
            GuardarRecurso(kBloqueDibujo, dibujosEscritos_,
                           QByteArray::fromRawData(dibujo.data(), static_cast<qsizetype>(dibujo.size())));
        if (!numero)
            return;
        b.u8(static_cast<std::uint8_t>(RecordedPage::Kind::Drawing));
        b.u16(*numero);
        return;
    }
    Imagen& i = BuscarImagen(picture);
    if (!i.imagen)
        return;
    if (!i.numero) {
        // The page file holds 32-bit pixels, whatever the picture's file held.
        const bool alfa = i.imagen->hasAlphaChannel();
        const QImage pixeles = i.imagen->convertToFormat(alfa ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        QByteArray datos;
        Bytes d(datos);
        d.i32(pixeles.width());
        d.i32(pixeles.height());
        d.u8(alfa ? 1 : 0);
        for (int y = 0; y < pixeles.height(); ++y)
            datos.append(reinterpret_cast<const char*>(pixeles.constScanLine(y)), pixeles.width() * 4);
        i.numero = GuardarRecurso(kBloqueImagen, imagenesEscritas_, datos);
        if (!i.numero)
            return;
    }
    b.u8(static_cast<std::uint8_t>(RecordedPage::Kind::Image));
    b.u16(*i.numero);
    b.Rectangulo(rect);
}

void PlayPage(const RecordedPage& pagina, QPainter& pintor) {
    using Kind = RecordedPage::Kind;
    const QPaintDevice& dispositivo = *pintor.device();
    const PageResources& recursos = *pagina.resources;
    pintor.save();
    pintor.scale(dispositivo.logicalDpiX() / kMmPerInch / kUnidadesPagina,
                 dispositivo.logicalDpiY() / kMmPerInch / kUnidadesPagina);
    std::optional<std::uint16_t> fuente;
    for (const RecordedPage::Operation& o : pagina.operations) {
        switch (o.kind) {
        case Kind::Text:
            if (fuente != o.resource) {
                pintor.setFont(recursos.fonts[o.resource]->font);
                fuente = o.resource;
            }
            // Text takes only the colour of the pen: a rule's pen of that colour serves, and the
            // device is spared a change of pen between every text and rule of a table.
            if (pintor.pen().color() != o.colour)
                pintor.setPen(o.colour);
            pintor.drawText(o.from + QPointF(0, recursos.fonts[o.resource]->baselineShift), o.text);
            break;
        case Kind::Line: {
            QPen pluma(o.colour);
            pluma.setWidthF(o.width);
            pluma.setCapStyle(Qt::FlatCap);
            pintor.setPen(pluma);
            pintor.drawLine(o.from, o.to);
            break;
        }
        case Kind::Fill:
            pintor.fillRect(QRectF(o.from, o.to), o.colour);
            break;
        case Kind::Image:
            pintor.drawImage(QRectF(o.from, o.to), *recursos.images[o.resource]);
            break;
        case Kind::Drawing: {
            const QPicture& dibujo = *recursos.drawings[o.resource];
            pintor.save();
            // Playing a picture scales it by the ratio of the device's resolution to the picture's:
            // undo it, so that the picture keeps the page's units.
            pintor.scale(static_cast<double>(dibujo.logicalDpiX()) / dispositivo.logicalDpiX(),
                         static_cast<double>(dibujo.logicalDpiY()) / dispositivo.logicalDpiY());
            pintor.drawPicture(0, 0, dibujo);
            pintor.restore();
            break;
        }
        }
    }
    pintor.restore();
}

bool ReadPages(QIODevice& archivo, const std::function<bool(int, const RecordedPage&)>& pagina) {
    if (archivo.read(sizeof kMarcaArchivo) != QByteArray(kMarcaArchivo, sizeof kMarcaArchivo))
        return false;
    PageResources recursos;
    for (int numero = 1;;) {
        const QByteArray cabecera = archivo.read(kCabeceraBloque);
        if (cabecera.isEmpty())
            return archivo.atEnd();
        ByteReader r(Vista(cabecera));
        const std::uint8_t tipo = r.u8();
        const auto largo = static_cast<std::uint32_t>(r.i32());
        // A length beyond the rest of the file is a damaged file, not a reason to allocate it.
        if (!r.ok() || (!archivo.isSequential() && largo > archivo.bytesAvailable()))
            return false;
        const QByteArray datos = archivo.isSequential() ? LeerPorPartes(archivo, largo) : archivo.read(largo);
        if (datos.size() != static_cast<qsizetype>(largo))
            return false;
        switch (tipo) {
        case kBloqueFuente:
            recursos.fonts.push_back(LeerFuente(datos));
            break;
        case kBloqueImagen:
            recursos.images.push_back(LeerImagen(datos));
            break;
        case kBloqueDibujo:
            recursos.drawings.push_back(LeerDibujo(datos));
            break;
        case kBloquePagina: {
            RecordedPage leida;
            leida.resources = &recursos;
            if (!LeerPagina(datos, leida))
                return false;
            if (!pagina(numero++, leida))
                return true;
            break;
        }
        default:
            return false;
        }
    }
}

bool RenderPages(QIODevice& archivo, QPagedPaintDevice& dispositivo, int desde, int hasta) {
    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        return false;
    bool primera = true;
    const bool leidas = ReadPages(archivo, [&](int numero, const RecordedPage& pagina) {
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
