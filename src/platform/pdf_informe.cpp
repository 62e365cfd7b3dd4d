#include "platform/pdf_informe.h"

#include "core/report/page_writer.h"
#include "platform/qt_page_writer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tarvik {

namespace {

// The page as Qt's PDF engine lays it out: A4 in whole points, a device of 1200 dots per inch whose
// user space maps onto the page's points with Y downward.
constexpr double kPuntosAncho = 595;
constexpr double kPuntosAlto = 842;
// Glyph positions are in 1/64 units of the logical coordinates, as Qt's layout keeps them.
constexpr double kFijo = 64;

// Every page's content starts from Qt's page frame: points, Y downward from the top of the page.
constexpr char kMarcoPagina[] = "/GSa gs /CSp cs /CSp CS\n0.060000000 0 0 -0.060000000 0 842 cm\n";

// Pages compressed by the writer's own thread before it hands them to others, and pages being
// compressed at once: compressing a page takes longer than writing it.
constexpr std::size_t kPaginasSinHilo = 8;
constexpr std::size_t kCompresiones = 2;

// Objects whose numbers are known before the pages: the rest follow in the order written.
constexpr int kInfo = 1;
constexpr int kCatalogo = 2;
constexpr int kPaginas = 3;
constexpr int kRecursos = 4;
constexpr int kEstado = 5;

// A number with the value that Qt's PDF engine writes (and so as a reader gets it back): the
// integer part, then the fraction cut (not rounded) to nine digits in all, without a fraction when
// that is zero; then a space.
void Numero(QByteArray& s, double v) {
    char buf[48];
    char* p = buf;
    if (!std::isfinite(v) || std::abs(v) > 4294967295.0) {
        s.append("0 ", 2);
        return;
    }
    if (v < 0) {
        *p++ = '-';
        v = -v;
    }
    double entera = 0;
    const double fraccion = std::modf(v, &entera);
    auto ival = static_cast<std::uint32_t>(entera);
    auto ifrac = static_cast<std::int32_t>(fraccion * 1e9);
    if (ifrac == 1000000000) {
        ++ival;
        ifrac = 0;
    }
    std::int32_t factor = 100000000;
    if (ival == 0) {
        *p++ = '0';
    } else {
        char* inicio = p;
        p = std::to_chars(p, p + 10, ival).ptr;
        for (auto d = p - inicio; d > 0; --d) {
            factor /= 10;
            ifrac /= 10;
        }
    }
    if (ifrac != 0) {
        *p++ = '.';
        for (; factor != 0; factor /= 10)
            *p++ = static_cast<char>('0' + (ifrac / factor) % 10);
        // The zeros that end Qt's fraction change no reader's value.
        while (p[-1] == '0')
            --p;
    }
    *p++ = ' ';
    s.append(buf, p - buf);
}

void Entero(QByteArray& s, long long v) {
    char buf[24];
    const auto fin = std::to_chars(buf, buf + sizeof buf, v).ptr;
    s.append(buf, fin - buf);
}

void Glifo(QByteArray& s, std::uint16_t g) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char hex[] = {'<', kHex[(g >> 12) & 0xF], kHex[(g >> 8) & 0xF], kHex[(g >> 4) & 0xF], kHex[g & 0xF],
                        '>'};
    s.append(hex, sizeof hex);
}

void Color(QByteArray& s, const QColor& c) {
    Numero(s, static_cast<double>(c.redF()));
    Numero(s, static_cast<double>(c.greenF()));
    Numero(s, static_cast<double>(c.blueF()));
}

// A text of the document's information, in UTF-16 with its byte-order mark.
QByteArray TextoPdf(const QString& texto) {
    QByteArray s = "<FEFF";
    for (const QChar c : texto)
        s += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return s + '>';
}

// Qt keeps a coordinate in 1/64 units, cut towards zero.
std::int32_t Fijo(double v) {
    return static_cast<std::int32_t>(v * kFijo);
}

// A PDF that Qt's engine wrote in memory, read only as far as its objects and pages: its objects
// are copied into the report's document under new numbers.
class PdfQt {
  public:
    // False when the bytes are not a complete PDF as Qt's engine writes it.
    bool Leer(QByteArray datos);
    // The text of an object between "obj" and "endobj", empty when there is none.
    QByteArrayView Cuerpo(int numero) const;
    const std::vector<int>& Paginas() const { return paginas_; }

  private:
    QByteArray datos_;
    std::vector<qsizetype> desplazamientos_;
    std::vector<int> paginas_;
};

// The object that a dictionary's key refers to ("/Key N 0 R"), or 0.
int Referencia(QByteArrayView dict, QByteArrayView clave) {
    for (qsizetype desde = 0;;) {
        const qsizetype i = dict.indexOf(clave, desde);
        if (i < 0)
            return 0;
        desde = i + clave.size();
        // A longer name that starts with the same letters is not the key.
        if (desde < dict.size() && (std::isalnum(static_cast<unsigned char>(dict[desde])) != 0))
            continue;
        while (desde < dict.size() && (dict[desde] == ' ' || dict[desde] == '\n'))
            ++desde;
        int numero = 0;
        const auto r = std::from_chars(dict.data() + desde, dict.data() + dict.size(), numero);
        if (r.ec != std::errc() || !QByteArrayView(r.ptr, dict.data() + dict.size()).startsWith(" 0 R"))
            return 0;
        return numero;
    }
}

// The references of a dictionary's sub-dictionary ("/Font << /F9 9 0 R >>"), in order.
std::vector<std::pair<QByteArray, int>> Entradas(QByteArrayView dict, QByteArrayView clave) {
    std::vector<std::pair<QByteArray, int>> entradas;
    qsizetype i = dict.indexOf(clave);
    if (i < 0)
        return entradas;
    i = dict.indexOf("<<", i);
    const qsizetype fin = i < 0 ? -1 : dict.indexOf(">>", i);
    if (fin < 0)
        return entradas;
    for (qsizetype j = dict.indexOf('/', i); j >= 0 && j < fin; j = dict.indexOf('/', j + 1)) {
        qsizetype k = j + 1;
        while (k < fin && dict[k] != ' ' && dict[k] != '\n')
            ++k;
        const QByteArrayView nombre = dict.sliced(j, k - j);
        if (const int n = Referencia(dict.sliced(j, fin - j), nombre); n > 0)
            entradas.emplace_back(nombre.toByteArray(), n);
    }
    return entradas;
}

bool PdfQt::Leer(QByteArray datos) {
    datos_ = std::move(datos);
    const qsizetype marca = datos_.lastIndexOf("startxref");
    if (marca < 0)
        return false;
    qsizetype xref = 0;
    const char* fin = datos_.constData() + datos_.size();
    const char* p = datos_.constData() + marca + 9;
    while (p < fin && (*p == '\n' || *p == '\r' || *p == ' '))
        ++p;
    if (std::from_chars(p, fin, xref).ec != std::errc() || xref < 0 || xref >= datos_.size())
        return false;
    // "xref\n0 N\n" and N entries of 20 bytes.
    p = datos_.constData() + xref;
    const QByteArrayView tabla(p, fin);
    if (!tabla.startsWith("xref\n0 "))
        return false;
    int cuenta = 0;
    p += 7;
    const auto r = std::from_chars(p, fin, cuenta);
    if (r.ec != std::errc() || cuenta < 1 || (fin - r.ptr - 1) / 20 < cuenta)
        return false;
    p = r.ptr + 1;
    for (int n = 0; n < cuenta; ++n, p += 20) {
        qsizetype d = 0;
        std::from_chars(p, p + 10, d);
        desplazamientos_.push_back(d > 0 && d < datos_.size() ? d : -1);
    }
    // The page tree of Qt's documents is one level: the catalogue's pages and their kids.
    const int raiz = Referencia(QByteArrayView(p, fin), "/Root");
    const int arbol = Referencia(Cuerpo(raiz), "/Pages");
    const QByteArrayView nodo = Cuerpo(arbol);
    const qsizetype kids = nodo.indexOf("/Kids");
    if (kids < 0)
        return false;
    const char* q = nodo.data() + nodo.indexOf('[', kids) + 1;
    const char* cierre = nodo.data() + nodo.indexOf(']', kids);
    while (q < cierre) {
        while (q < cierre && (*q == ' ' || *q == '\n'))
            ++q;
        int numero = 0;
        const auto leido = std::from_chars(q, cierre, numero);
        if (leido.ec != std::errc())
            break;
        paginas_.push_back(numero);
        q = leido.ptr + 4; // " 0 R"
    }
    return !paginas_.empty();
}

QByteArrayView PdfQt::Cuerpo(int numero) const {
    if (numero <= 0 || static_cast<std::size_t>(numero) >= desplazamientos_.size() ||
        desplazamientos_[static_cast<std::size_t>(numero)] < 0)
        return {};
    const qsizetype inicio = datos_.indexOf("obj", desplazamientos_[static_cast<std::size_t>(numero)]);
    const qsizetype fin = inicio < 0 ? -1 : datos_.indexOf("endobj", inicio);
    if (fin < 0)
        return {};
    return QByteArrayView(datos_).sliced(inicio + 3, fin - inicio - 3);
}

// Qt's PDF of the pages that `dibujar` draws on an A4 QPdfWriter, as the report's pages are played.
std::optional<PdfQt> PaginasQt(const std::function<void(QPagedPaintDevice&, QPainter&)>& dibujar) {
    QByteArray datos;
    {
        QBuffer buffer(&datos);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter pintor;
        if (!pintor.begin(&pdf))
            return std::nullopt;
        dibujar(pdf, pintor);
        if (!pintor.end())
            return std::nullopt;
    }
    PdfQt pdf;
    if (!pdf.Leer(std::move(datos)))
        return std::nullopt;
    return pdf;
}

bool MismaCara(const QRawFont& a, const QRawFont& b) {
    return a.familyName() == b.familyName() && a.styleName() == b.styleName();
}

struct Letra {
    quint32 glifo = 0;
    std::int32_t avance = 0; // 1/64 units
    bool valida = false;
};

// One face of a font (regular, bold), embedded as one subset whatever the sizes used.
struct Cara {
    QRawFont raw;
    // Glyph number in the subset for each glyph of the font; 0 (".notdef") until used.
    std::vector<std::uint16_t> subconjunto;
    std::vector<quint32> orden{0};
};

// A recorded font: its face, its size and the glyphs and kerning learned from Qt's layout.
struct Fuente {
    QFont fuente;
    double desplazamiento = 0;
    std::size_t cara = 0;
    QByteArray nombre; // "/T0 300 Tf": the face's resource name and the pixel size
    std::unordered_map<char16_t, Letra> letras;
    // Adjustment of the first letter's advance before the second, in 1/64 units, or kForma when
    // that pair is laid out otherwise (a ligature) and needs the whole text laid out.
    std::unordered_map<std::uint32_t, std::int32_t> pares;
    // Underline: offset below the baseline and thickness, as Qt draws it.
    double bajoSubrayado = 0;
    double grosorSubrayado = 0;
};
constexpr std::int32_t kForma = std::numeric_limits<std::int32_t>::min();

// A text laid out by Qt: the glyphs and their positions, from the text's origin, in 1/64 units.
struct Trazado {
    std::vector<quint32> glifos;
    std::vector<std::int32_t> x;
    std::vector<std::int32_t> y;
    std::int32_t ancho = 0;
    QRawFont raw;
};

std::optional<Trazado> Trazar(const QString& texto, const QFont& fuente) {
    QTextLayout capa(texto, fuente);
    capa.beginLayout();
    QTextLine linea = capa.createLine();
    capa.endLayout();
    Trazado t;
    t.ancho = static_cast<std::int32_t>(std::lround(linea.horizontalAdvance() * kFijo));
    const auto corridas = linea.glyphRuns();
    if (corridas.size() > 1)
        return std::nullopt;
    const double base = linea.ascent();
    for (const QGlyphRun& corrida : corridas) {
        t.raw = corrida.rawFont();
        const auto indices = corrida.glyphIndexes();
        const auto posiciones = corrida.positions();
        for (qsizetype i = 0; i < indices.size(); ++i) {
            t.glifos.push_back(indices[i]);
            t.x.push_back(static_cast<std::int32_t>(std::lround(posiciones[i].x() * kFijo)));
            t.y.push_back(static_cast<std::int32_t>(std::lround((posiciones[i].y() - base) * kFijo)));
        }
    }
    return t;
}

class EscritorPdf {
  public:
    EscritorPdf(QIODevice& destino, const DocumentoPdf& documento);
    bool Pagina(const RecordedPage& pagina);
    bool Terminar();

  private:
    int Reservar() {
        desplazamientos_.push_back(-1);
        return static_cast<int>(desplazamientos_.size()) - 1;
    }
    void Salida(const char* datos, qsizetype n);
    void Salida(QByteArrayView datos) { Salida(datos.data(), datos.size()); }
    // An object's number and position, then its body.
    void Empezar(int numero);
    void Objeto(int numero, QByteArrayView cuerpo);
    // Writes the content of the oldest page still being compressed, once it is.
    void EscribirFlujo();
    // Copies an object of Qt's PDF (and those it refers to) under new numbers, or under `destino`
    // when given; gives its number.
    int Importar(const PdfQt& pdf, int numero, std::map<int, int>& nuevos, int destino = 0);

    // The font of a text, learned on its first use; none when Qt would draw it otherwise than as
    // a face of its own (a bold made up from the regular face).
    Fuente* FuenteDe(const RecordedPage& pagina, std::uint16_t recurso);
    std::uint16_t EnSubconjunto(Cara& cara, quint32 glifo);
    bool Texto(const RecordedPage::Operation& o, Fuente& f);
    void Linea(const QColor& color, double ancho, QPointF desde, QPointF hasta);
    bool Imagen(const RecordedPage& pagina, const RecordedPage::Operation& o);
    bool Dibujo(const RecordedPage& pagina, const RecordedPage::Operation& o);
    // Leaves the page's scaled coordinates (for a picture) and returns to them.
    void Salir();
    void Entrar();
    void CerrarTexto();

    QIODevice& destino_;
    DocumentoPdf documento_;
    bool ok_ = true;
    qint64 escritos_ = 0;
    std::vector<qint64> desplazamientos_{-1};
    std::vector<int> paginas_;
    std::vector<std::unique_ptr<Fuente>> fuentes_; // by the page file's font number
    std::vector<Cara> caras_;
    std::vector<quint32> glifos_;
    std::vector<std::int32_t> xs_;
    std::vector<std::int32_t> ys_;
    struct ImagenPdf {
        QByteArray nombre;
        int ancho = 0;
        int alto = 0;
        int objeto = 0; // written at the end
        QImage imagen;
    };
    std::map<std::uint16_t, ImagenPdf> imagenes_;
    struct Dibujado {
        QByteArray nombre;
        int objeto = 0; // the form, written at the end
        QPicture dibujo;
    };
    std::map<std::uint16_t, Dibujado> dibujos_;
    QByteArray recursosXObject_;
    // The content of the page being written, and the contents of the pages before it still being
    // compressed, with their objects' numbers, oldest first.
    QByteArray contenido_;
    std::deque<std::pair<int, std::future<QByteArray>>> comprimiendo_;
    bool escalado_ = false;
    // Inside a text object, with this font; the fill colour of texts, which lasts from one text
    // object to the next in the scaled coordinates.
    bool enTexto_ = false;
    std::optional<QColor> colorTexto_;
    const Fuente* fuenteTexto_ = nullptr;
    // The stroking colour and width in force in the scaled coordinates.
    std::optional<std::pair<QColor, double>> pluma_;
    // No pen has been set yet in the document.
    bool plegar_ = true;
    QByteArray escala_;
};

EscritorPdf::EscritorPdf(QIODevice& destino, const DocumentoPdf& documento)
    : destino_(destino), documento_(documento) {
    for (int n = kInfo; n <= kEstado; ++n)
        Reservar();
    static constexpr char kCabecera[] = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    Salida(kCabecera, sizeof kCabecera - 1);
    Objeto(kEstado, "<<\n/Type /ExtGState\n/SA true\n/SM 0.02\n/ca 1.0\n/CA 1.0\n/AIS false\n/SMask /None>>");
    Numero(escala_, kResolucionPdf / kMmPerInch / kUnidadesPagina);
    escala_ = escala_ + "0 0 " + escala_ + "0 0 cm\n";
}

void EscritorPdf::Salida(const char* datos, qsizetype n) {
    if (ok_ && destino_.write(datos, n) != n)
        ok_ = false;
    escritos_ += n;
}

void EscritorPdf::Empezar(int numero) {
    desplazamientos_[static_cast<std::size_t>(numero)] = escritos_;
    QByteArray cabecera;
    Entero(cabecera, numero);
    cabecera += " 0 obj\n";
    Salida(cabecera);
}

void EscritorPdf::Objeto(int numero, QByteArrayView cuerpo) {
    Empezar(numero);
    Salida(cuerpo);
    Salida("\nendobj\n", 8);
}

void EscritorPdf::EscribirFlujo() {
    auto [flujo, pendiente] = std::move(comprimiendo_.front());
    comprimiendo_.pop_front();
    // qCompress puts the length in four bytes before the zlib stream.
    const QByteArray comprimido = pendiente.get();
    const auto zlib = QByteArrayView(comprimido).sliced(4);
    QByteArray cuerpo = "<< /Length ";
    Entero(cuerpo, zlib.size());
    cuerpo += " /Filter /FlateDecode >>\nstream\n";
    Empezar(flujo);
    Salida(cuerpo);
    Salida(zlib);
    Salida("\nendstream\nendobj\n", 18);
}

int EscritorPdf::Importar(const PdfQt& pdf, int numero, std::map<int, int>& nuevos, int destino) {
    if (const auto hecho = nuevos.find(numero); hecho != nuevos.end())
        return hecho->second;
    const int nuevo = destino != 0 ? destino : Reservar();
    nuevos[numero] = nuevo;
    const QByteArrayView cuerpo = pdf.Cuerpo(numero);
    if (cuerpo.isEmpty()) {
        ok_ = false;
        return nuevo;
    }
    // References are rewritten in the dictionary only; a stream's bytes are copied as they are.
    qsizetype fin = cuerpo.indexOf(">>\nstream\n");
    fin = fin < 0 ? cuerpo.size() : fin;
    QByteArray copia;
    qsizetype desde = 0;
    for (qsizetype r = cuerpo.indexOf(" 0 R"); r >= 0 && r < fin; r = cuerpo.indexOf(" 0 R", r + 4)) {
        qsizetype i = r;
        while (i > desde && std::isdigit(static_cast<unsigned char>(cuerpo[i - 1])) != 0)
            --i;
        int viejo = 0;
        if (i == r || std::from_chars(cuerpo.data() + i, cuerpo.data() + r, viejo).ec != std::errc())
            continue;
        copia += cuerpo.sliced(desde, i - desde);
        Entero(copia, Importar(pdf, viejo, nuevos));
        desde = r;
    }
    copia += cuerpo.sliced(desde);
    Objeto(nuevo, copia);
    return nuevo;
}

Fuente* EscritorPdf::FuenteDe(const RecordedPage& pagina, std::uint16_t recurso) {
    if (recurso >= fuentes_.size())
        fuentes_.resize(recurso + std::size_t{1});
    auto& f = fuentes_[recurso];
    if (!f) {
        const auto& grabada = *pagina.resources->fonts[recurso];
        f = std::make_unique<Fuente>();
        f->fuente = grabada.font;
        f->desplazamiento = grabada.baselineShift;
        QRawFont raw = QRawFont::fromFont(grabada.font);
        // A bold that the system has no face for is drawn twice by Qt's engine: not written here.
        if (!raw.isValid() || (grabada.font.bold() && raw.weight() < QFont::DemiBold)) {
            f.reset();
            return nullptr;
        }
        const auto misma =
            std::find_if(caras_.begin(), caras_.end(), [&](const Cara& c) { return MismaCara(c.raw, raw); });
        f->cara = static_cast<std::size_t>(misma - caras_.begin());
        if (misma == caras_.end()) {
            Cara nueva;
            nueva.raw = raw;
            caras_.push_back(std::move(nueva));
        }
        f->nombre = "/T" + QByteArray::number(static_cast<qulonglong>(f->cara)) + ' ';
        Numero(f->nombre, grabada.font.pixelSize());
        f->nombre += "Tf ";
        const QFontMetricsF medidas(grabada.font);
        const double bajo = medidas.underlinePos();
        f->bajoSubrayado = std::ceil(bajo) + 0.5;
        if (bajo <= medidas.descent())
            f->bajoSubrayado = std::min(f->bajoSubrayado, medidas.descent() - 0.5);
        f->grosorSubrayado = medidas.lineWidth();
    }
    return f.get();
}

std::uint16_t EscritorPdf::EnSubconjunto(Cara& cara, quint32 glifo) {
    if (glifo >= cara.subconjunto.size())
        cara.subconjunto.resize(glifo + std::size_t{1}, 0);
    auto& numero = cara.subconjunto[glifo];
    if (numero == 0 && glifo != 0) {
        if (cara.orden.size() > std::numeric_limits<std::uint16_t>::max()) {
            ok_ = false;
            return 0;
        }
        numero = static_cast<std::uint16_t>(cara.orden.size());
        cara.orden.push_back(glifo);
    }
    return numero;
}

bool EscritorPdf::Texto(const RecordedPage::Operation& o, Fuente& f) {
    const QString& texto = o.text;
    const auto n = static_cast<std::size_t>(texto.size());
    if (n == 0)
        return true;
    // The fast path: every letter and every pair of letters already learned from Qt's layout.
    // The glyphs and their positions from the text's origin, in buffers kept from text to text.
    auto& glifos = glifos_;
    auto& xs = xs_;
    auto& ys = ys_;
    glifos.resize(n);
    xs.resize(n);
    ys.assign(n, 0);
    bool conocido = true;
    std::int32_t x = 0;
    std::int32_t ancho = 0;
    // Every letter is learned, even after an unknown pair, so that the pairs can be learned below.
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = texto[static_cast<qsizetype>(i)].unicode();
        auto letra = f.letras.find(c);
        if (letra == f.letras.end()) {
            Letra nueva;
            // A letter that Qt draws from another face is left to the whole text's layout.
            if (const auto t = Trazar(QString(QChar(c)), f.fuente);
                t && t->glifos.size() == 1 && t->x[0] == 0 && t->y[0] == 0 && c >= 0x20 &&
                MismaCara(t->raw, caras_[f.cara].raw)) {
                nueva = {t->glifos[0], t->ancho, true};
            }
            letra = f.letras.emplace(c, nueva).first;
        }
        if (!letra->second.valida) {
            conocido = false;
            continue;
        }
        glifos[i] = letra->second.glifo;
        xs[i] = x;
        x += letra->second.avance;
        if (i + 1 < n) {
            const auto par =
                f.pares.find(std::uint32_t{c} << 16 | texto[static_cast<qsizetype>(i + 1)].unicode());
            if (par == f.pares.end() || par->second == kForma)
                conocido = false;
            else
                x += par->second;
        }
    }
    if (!conocido) {
        const auto t = Trazar(texto, f.fuente);
        if (!t || (!t->glifos.empty() && !MismaCara(t->raw, caras_[f.cara].raw)))
            return false;
        // Learn the pairs of a text laid out letter for letter.
        const bool porLetra = t->glifos.size() == n;
        for (std::size_t i = 0; i + 1 < n; ++i) {
            const char16_t c = texto[static_cast<qsizetype>(i)].unicode();
            const std::uint32_t clave =
                std::uint32_t{c} << 16 | texto[static_cast<qsizetype>(i + 1)].unicode();
            const auto letra = f.letras.find(c);
            const auto siguiente = f.letras.find(texto[static_cast<qsizetype>(i + 1)].unicode());
            // Both letters as Qt draws them alone, side by side on the baseline.
            const bool igual = porLetra && letra != f.letras.end() && letra->second.valida &&
                               letra->second.glifo == t->glifos[i] && siguiente != f.letras.end() &&
                               siguiente->second.valida && siguiente->second.glifo == t->glifos[i + 1] &&
                               t->y[i] == 0 && t->y[i + 1] == 0;
            if (igual)
                f.pares.emplace(clave, t->x[i + 1] - t->x[i] - letra->second.avance);
            else
                f.pares[clave] = kForma;
        }
        glifos = t->glifos;
        xs = t->x;
        ys = t->y;
        ancho = t->ancho;
    } else {
        ancho = x;
    }
    Cara& cara = caras_[f.cara];
    const std::int32_t x0 = Fijo(o.from.x());
    const double yBase = o.from.y() + f.desplazamiento;
    const std::int32_t y0 = Fijo(yBase);
    // Consecutive texts share one text object; each starts again from the text matrix that Qt
    // gives every text, so the glyphs land where Qt's engine puts them.
    if (!enTexto_) {
        contenido_ += "BT\n";
        enTexto_ = true;
        fuenteTexto_ = nullptr;
    }
    if (colorTexto_ != o.colour) {
        contenido_ += "/CSp cs ";
        Color(contenido_, o.colour);
        contenido_ += "scn\n";
        colorTexto_ = o.colour;
    }
    if (fuenteTexto_ != &f)
        contenido_ += f.nombre;
    fuenteTexto_ = &f;
    contenido_ += "1 0 0 -1 0 0 Tm\n";
    std::int32_t ultimoX = 0;
    std::int32_t ultimoY = 0;
    for (std::size_t i = 0; i < glifos.size(); ++i) {
        const std::int32_t gx = x0 + xs[i];
        const std::int32_t gy = y0 + ys[i];
        Numero(contenido_, (gx - ultimoX) / kFijo);
        Numero(contenido_, (ultimoY - gy) / kFijo);
        contenido_ += "Td ";
        Glifo(contenido_, EnSubconjunto(cara, glifos[i]));
        contenido_ += " Tj\n";
        ultimoX = gx;
        ultimoY = gy;
    }
    if (f.fuente.underline()) {
        // Qt underlines from the whole unit left of the text to the whole unit left of its end.
        const double y = yBase + f.bajoSubrayado;
        Linea(o.colour, f.grosorSubrayado, {std::floor(o.from.x()), y},
              {std::floor(o.from.x() + ancho / kFijo), y});
    }
    return true;
}

void EscritorPdf::CerrarTexto() {
    if (enTexto_)
        contenido_ += "ET\n";
    enTexto_ = false;
}

void EscritorPdf::Linea(const QColor& color, double ancho, QPointF desde, QPointF hasta) {
    CerrarTexto();
    // The pen stays until it changes, as in Qt's engine: a table's rules share one.
    if (!pluma_ || pluma_->first != color || pluma_->second != ancho) {
        Color(contenido_, color);
        contenido_ += "SCN\n";
        Numero(contenido_, ancho);
        contenido_ += "w 0 J 2 j []0  d\n";
        pluma_.emplace(color, ancho);
    }
    Numero(contenido_, desde.x());
    Numero(contenido_, desde.y());
    contenido_ += "m\n";
    Numero(contenido_, hasta.x());
    Numero(contenido_, hasta.y());
    contenido_ += "l\nS\n";
}

void EscritorPdf::Entrar() {
    if (!escalado_)
        contenido_ += "q\n" + escala_;
    escalado_ = true;
}

void EscritorPdf::Salir() {
    CerrarTexto();
    if (escalado_)
        contenido_ += "Q\n";
    escalado_ = false;
    pluma_.reset();
    colorTexto_.reset();
}

bool EscritorPdf::Imagen(const RecordedPage& pagina, const RecordedPage::Operation& o) {
    auto hecha = imagenes_.find(o.resource);
    if (hecha == imagenes_.end()) {
        // Encoded at the end by Qt's engine, which chooses the image's compression (JPEG or
        // deflated pixels, a mask for transparency).
        const QImage& imagen = *pagina.resources->images[o.resource];
        ImagenPdf nueva{"/I" + QByteArray::number(o.resource), imagen.width(), imagen.height(), Reservar(),
                        imagen};
        recursosXObject_ += nueva.nombre + ' ' + QByteArray::number(nueva.objeto) + " 0 R\n";
        hecha = imagenes_.emplace(o.resource, std::move(nueva)).first;
    }
    const ImagenPdf& i = hecha->second;
    // Until the first pen of the document Qt's engine folds the page's scale into the picture's
    // matrix; after it the picture sits in the scaled coordinates like the rest of the page.
    const double escala = plegar_ ? kResolucionPdf / kMmPerInch / kUnidadesPagina : 1;
    const QRectF r(o.from, o.to);
    CerrarTexto();
    if (plegar_)
        Salir();
    contenido_ += "q\n/GSa gs\n";
    Numero(contenido_, r.width() / i.ancho * escala);
    contenido_ += "0 0 ";
    Numero(contenido_, r.height() / i.alto * escala);
    Numero(contenido_, r.x() * escala);
    Numero(contenido_, r.y() * escala);
    contenido_ += "cm\n";
    Entero(contenido_, i.ancho);
    contenido_ += " 0 0 -";
    Entero(contenido_, i.alto);
    contenido_ += " 0 ";
    Entero(contenido_, i.alto);
    contenido_ += " cm " + i.nombre + "  Do\nQ\n";
    Entrar();
    return true;
}

bool EscritorPdf::Dibujo(const RecordedPage& pagina, const RecordedPage::Operation& o) {
    auto hecho = dibujos_.find(o.resource);
    if (hecho == dibujos_.end()) {
        // Drawn at the end by Qt's engine, after the report's glyphs, so that the chart's texts
        // share the report's font subsets.
        Dibujado nuevo{"/D" + QByteArray::number(o.resource), Reservar(),
                       *pagina.resources->drawings[o.resource]};
        recursosXObject_ += nuevo.nombre + ' ' + QByteArray::number(nuevo.objeto) + " 0 R\n";
        hecho = dibujos_.emplace(o.resource, std::move(nuevo)).first;
    }
    // The form starts from the page's own coordinates, as Qt's page did.
    Salir();
    contenido_ += "Q\n" + hecho->second.nombre + " Do\nq\n";
    contenido_ += kMarcoPagina;
    Entrar();
    return true;
}

bool EscritorPdf::Pagina(const RecordedPage& pagina) {
    using Kind = RecordedPage::Kind;
    contenido_.clear();
    contenido_ += "q\n";
    contenido_ += kMarcoPagina;
    escalado_ = false;
    pluma_.reset();
    colorTexto_.reset();
    Entrar();
    for (const RecordedPage::Operation& o : pagina.operations) {
        bool hecha = true;
        switch (o.kind) {
        case Kind::Text:
            if (Fuente* f = FuenteDe(pagina, o.resource))
                hecha = Texto(o, *f);
            else
                hecha = false;
            plegar_ = false;
            break;
        case Kind::Line:
            Linea(o.colour, o.width, o.from, o.to);
            plegar_ = false;
            break;
        case Kind::Fill: {
            const QRectF r(o.from, o.to);
            Salir();
            contenido_ += "q\n/CSp cs ";
            Color(contenido_, o.colour);
            contenido_ += "scn\n/GSa gs\nq\n" + escala_;
            Numero(contenido_, r.x());
            Numero(contenido_, r.y());
            Numero(contenido_, r.width());
            Numero(contenido_, r.height());
            contenido_ += "re\nf\nQ\nQ\n";
            Entrar();
            break;
        }
        case Kind::Image:
            hecha = Imagen(pagina, o);
            break;
        case Kind::Drawing:
            hecha = Dibujo(pagina, o);
            break;
        }
        if (!hecha)
            return false;
    }
    Salir();
    contenido_ += "Q\n";
    const int hoja = Reservar();
    const int flujo = Reservar();
    QByteArray dict = "<<\n/Type /Page\n/Parent 3 0 R\n/Contents ";
    dict += QByteArray::number(flujo) + " 0 R\n/Resources 4 0 R\n/MediaBox [0 0 ";
    Numero(dict, kPuntosAncho);
    Numero(dict, kPuntosAlto);
    dict += "]\n>>";
    Objeto(hoja, dict);
    // The page's content is compressed on other threads while the next pages are written; the
    // first pages here, as a short report is done before a thread pays off.
    // The content is shared, not copied, with the thread that compresses it.
    const bool corto = paginas_.size() < kPaginasSinHilo;
    // A long report's pages at zlib's level 5: about half the time of the default level for a few
    // per cent more bytes, still fewer than Qt's PDF writer gives the same pages. A short report
    // keeps the default level, which costs it nothing to speak of.
    const auto comprimir = [datos = std::exchange(contenido_, QByteArray()), nivel = corto ? -1 : 5] {
        return qCompress(datos, nivel);
    };
    std::future<QByteArray> comprimido;
    try {
        comprimido = std::async(corto ? std::launch::deferred : std::launch::async, comprimir);
    } catch (const std::system_error&) {
        // No thread to be had: compressed here when its turn comes.
        comprimido = std::async(std::launch::deferred, comprimir);
    }
    comprimiendo_.emplace_back(flujo, std::move(comprimido));
    if (comprimiendo_.size() > kCompresiones)
        EscribirFlujo();
    paginas_.push_back(hoja);
    return ok_;
}

bool EscritorPdf::Terminar() {
    while (!comprimiendo_.empty())
        EscribirFlujo();
    if (paginas_.empty())
        return false;
    // One document of Qt's engine: first a page for each face with its glyphs in the order in which
    // the report first used them, so that Qt numbers them as the pages do; then a page for each
    // picture; then a page for each chart, whose texts add their glyphs to the same subsets.
    std::vector<QGlyphRun> corridas;
    for (const Cara& cara : caras_) {
        QList<quint32> glifos(cara.orden.begin() + 1, cara.orden.end());
        if (glifos.isEmpty())
            glifos.append(0);
        QGlyphRun corrida;
        corrida.setRawFont(cara.raw);
        corrida.setGlyphIndexes(glifos);
        corrida.setPositions(QList<QPointF>(glifos.size(), QPointF(100, 100)));
        corridas.push_back(std::move(corrida));
    }
    const auto pdf = PaginasQt([&](QPagedPaintDevice& hoja, QPainter& p) {
        bool primera = true;
        const auto nueva = [&] {
            if (!primera)
                hoja.newPage();
            primera = false;
        };
        for (const QGlyphRun& corrida : corridas) {
            nueva();
            p.drawGlyphRun({}, corrida);
        }
        for (const auto& [numero, imagen] : imagenes_) {
            nueva();
            p.drawImage(QRectF(0, 0, 100, 100), imagen.imagen);
        }
        for (const auto& [numero, dibujo] : dibujos_) {
            nueva();
            PageResources recursos;
            recursos.drawings.resize(numero + std::size_t{1});
            recursos.drawings[numero] = dibujo.dibujo;
            RecordedPage sola;
            sola.resources = &recursos;
            sola.operations.push_back({RecordedPage::Kind::Drawing, numero, {}, {}, {}, 0, {}});
            PlayPage(sola, p);
        }
    });
    if (!pdf || pdf->Paginas().size() != caras_.size() + imagenes_.size() + dibujos_.size())
        return false;
    std::map<int, int> nuevos;
    QByteArray fuentes;
    for (std::size_t i = 0; i < caras_.size(); ++i) {
        const auto tipos =
            Entradas(pdf->Cuerpo(Referencia(pdf->Cuerpo(pdf->Paginas()[i]), "/Resources")), "/Font");
        if (tipos.size() != 1)
            return false;
        fuentes += "/T" + QByteArray::number(static_cast<qulonglong>(i)) + ' ' +
                   QByteArray::number(Importar(*pdf, tipos[0].second, nuevos)) + " 0 R\n";
    }
    std::size_t pagina = caras_.size();
    for (const auto& [numero, imagen] : imagenes_) {
        const auto objetos = Entradas(
            pdf->Cuerpo(Referencia(pdf->Cuerpo(pdf->Paginas()[pagina++]), "/Resources")), "/XObject");
        if (objetos.size() != 1)
            return false;
        Importar(*pdf, objetos[0].second, nuevos, imagen.objeto);
    }
    for (const auto& [numero, dibujo] : dibujos_) {
        // The chart's page becomes a form with that page's content and resources.
        const QByteArrayView hoja = pdf->Cuerpo(pdf->Paginas()[pagina++]);
        const QByteArrayView contenido = pdf->Cuerpo(Referencia(hoja, "/Contents"));
        const qsizetype flujo = contenido.indexOf(">>\nstream\n");
        const int largo = Referencia(contenido, "/Length");
        if (flujo < 0 || largo == 0)
            return false;
        QByteArray forma = "<<\n/Type /XObject\n/Subtype /Form\n/BBox [0 0 ";
        Numero(forma, kPuntosAncho);
        Numero(forma, kPuntosAlto);
        forma += "]\n/Resources " +
                 QByteArray::number(Importar(*pdf, Referencia(hoja, "/Resources"), nuevos)) +
                 " 0 R\n/Length " + QByteArray::number(Importar(*pdf, largo, nuevos)) +
                 " 0 R\n/Filter /FlateDecode\n";
        forma += contenido.sliced(flujo);
        Objeto(dibujo.objeto, forma);
    }
    Objeto(kRecursos, "<<\n/ColorSpace <<\n/CSp /DeviceRGB\n>>\n/ExtGState <<\n/GSa 5 0 R\n>>\n/Font <<\n" +
                          fuentes + ">>\n/XObject <<\n" + recursosXObject_ + ">>\n>>");
    QByteArray arbol = "<<\n/Type /Pages\n/Kids [";
    for (const int p : paginas_)
        arbol += QByteArray::number(p) + " 0 R ";
    arbol += "]\n/Count " + QByteArray::number(static_cast<qulonglong>(paginas_.size())) + "\n>>";
    Objeto(kPaginas, arbol);
    Objeto(kCatalogo, "<<\n/Type /Catalog\n/Pages 3 0 R\n>>");
    Objeto(kInfo, "<<\n/Title " + TextoPdf(documento_.titulo) + "\n/Creator " + TextoPdf(documento_.creador) +
                      "\n/Producer " + TextoPdf(documento_.creador) + "\n>>");
    const qint64 tabla = escritos_;
    QByteArray xref = "xref\n0 " + QByteArray::number(static_cast<qulonglong>(desplazamientos_.size())) +
                      "\n0000000000 65535 f \n";
    for (std::size_t n = 1; n < desplazamientos_.size(); ++n) {
        if (desplazamientos_[n] < 0)
            return false;
        xref += QByteArray::number(desplazamientos_[n]).rightJustified(10, '0') + " 00000 n \n";
    }
    xref += "trailer\n<<\n/Size " + QByteArray::number(static_cast<qulonglong>(desplazamientos_.size())) +
            "\n/Info 1 0 R\n/Root 2 0 R\n>>\nstartxref\n" + QByteArray::number(tabla) + "\n%%EOF\n";
    Salida(xref);
    return ok_;
}

} // namespace

bool EscribirPdf(QIODevice& paginas, QIODevice& destino, const DocumentoPdf& documento) {
    EscritorPdf pdf(destino, documento);
    bool escritas = true;
    const bool leidas = ReadPages(paginas, [&](int, const RecordedPage& pagina) {
        escritas = pdf.Pagina(pagina);
        return escritas;
    });
    return leidas && escritas && pdf.Terminar();
}

} // namespace tarvik
