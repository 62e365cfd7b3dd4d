// tarvik-dibujos: draws the pictures shipped with the program: one cabinet drawing per described
// equipment series (dbf/NAME.bmp, for every description source NAME.txt) and the two logos of the
// calculation report (logoreporte.bmp, footer_logo.bmp).

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextOption>

#include <cstdio>
#include <map>

namespace {

constexpr const char* kUso = "usage: tarvik-dibujos DESCRIPTIONS DBF RESOURCES\n"
                             "  DESCRIPTIONS/es/NAME.txt  ->  DBF/NAME.bmp (a cabinet drawing per series)\n"
                             "  RESOURCES/logoreporte.bmp, RESOURCES/footer_logo.bmp (the report logos)\n";

const QColor kMagenta(0xD8, 0x1F, 0x85);
const QColor kFrente(0xE2, 0xE2, 0xDE); // light grey sheet steel
const QColor kLateral(0xC4, 0xC4, 0xC0);
const QColor kTecho(0xEE, 0xEE, 0xEA);
const QColor kContorno(0x4A, 0x4A, 0x4A);
const QColor kPantalla(0x1E, 0x2C, 0x3A);
const QColor kVerde(0x6C, 0xE0, 0x8A);

constexpr int kAncho = 240; // the description picture's box is 50 x 60 mm
constexpr int kAlto = 288;

// What a series' cabinet looks like.
struct Armario {
    int columnas = 1;   // doors side by side
    double alto = 0.78; // of the picture's height
    double anchoColumna = 0.34;
    bool mural = false;      // hung on a wall: brackets instead of a plinth
    bool ventilador = false; // fan grille on the door
    bool clima = false;      // cooling unit on the side
    bool estatico = false;   // thyristor switching: heat-sink fins on the door
    bool tactil = false;     // touch display instead of the controller
    bool caja = false;       // a fixed capacitor's enclosure
};

const std::map<QString, Armario> kArmarios = {
    {"Serie Ambar", {.alto = 0.56, .anchoColumna = 0.40, .mural = true}},
    {"Serie Berilo", {.columnas = 2, .alto = 0.80, .anchoColumna = 0.30}},
    {"Serie Coral", {.anchoColumna = 0.38}},
    {"Serie Diamante", {.alto = 0.80, .anchoColumna = 0.38, .ventilador = true, .estatico = true}},
    {"Serie Granate", {.alto = 0.82, .anchoColumna = 0.38, .ventilador = true}},
    {"Serie Iolita", {.alto = 0.82, .anchoColumna = 0.38, .ventilador = true}},
    {"Serie Jade", {.columnas = 2, .alto = 0.82, .anchoColumna = 0.30, .ventilador = true, .estatico = true}},
    {"Serie Esmeralda", {.anchoColumna = 0.38}},
    {"Serie Fluorita", {.alto = 0.52, .anchoColumna = 0.38, .mural = true}},
    {"Serie Hematites", {.alto = 0.80, .clima = true}},
    {"Serie Trafo", {.alto = 0.36, .anchoColumna = 0.50, .mural = true, .caja = true}},
    {"Filter Zentrola ZS", {.alto = 0.82, .anchoColumna = 0.42, .ventilador = true, .tactil = true}},
};

// The maker's mark: two capacitor plates between two leads.
void Simbolo(QPainter& p, QPointF centro, double alto, const QColor& color) {
    p.save();
    p.setPen(QPen(color, alto / 8, Qt::SolidLine, Qt::FlatCap));
    const double x = centro.x();
    const double y = centro.y();
    const double g = alto / 6;
    p.drawLine(QPointF(x - g, y - alto / 2), QPointF(x - g, y + alto / 2));
    p.drawLine(QPointF(x + g, y - alto / 2), QPointF(x + g, y + alto / 2));
    p.drawLine(QPointF(x - g - alto / 2, y), QPointF(x - g, y));
    p.drawLine(QPointF(x + g, y), QPointF(x + g + alto / 2, y));
    p.restore();
}

void Texto(QPainter& p, const QRectF& caja, const QString& texto, int pixeles, bool negrita,
           const QColor& color, Qt::Alignment alineacion = Qt::AlignCenter) {
    QFont fuente("Arial");
    fuente.setPixelSize(pixeles);
    fuente.setBold(negrita);
    p.setFont(fuente);
    p.setPen(color);
    p.drawText(caja, texto, QTextOption(alineacion));
}

void Rejilla(QPainter& p, const QRectF& zona, int ranuras) {
    p.setPen(QPen(kContorno, 1.2));
    const double paso = zona.height() / ranuras;
    for (int i = 0; i < ranuras; ++i) {
        const double y = zona.top() + paso * (i + 0.5);
        p.drawLine(QPointF(zona.left(), y), QPointF(zona.right(), y));
    }
}

void Ventilador(QPainter& p, QPointF centro, double radio) {
    p.setPen(QPen(kContorno, 1.2));
    p.setBrush(kLateral);
    p.drawEllipse(centro, radio, radio);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centro, radio * 0.7, radio * 0.7);
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(centro);
        p.rotate(45 * i);
        p.drawLine(QPointF(-radio, 0), QPointF(radio, 0));
        p.restore();
    }
}

void Puerta(QPainter& p, const QRectF& puerta, const Armario& a, bool primera) {
    p.setPen(QPen(kContorno, 1.4));
    p.setBrush(kFrente);
    p.drawRect(puerta);
    // Maker's band with the mark.
    const QRectF banda(puerta.left() + 8, puerta.top() + 8, puerta.width() - 16,
                       std::max(14.0, puerta.height() * 0.07));
    p.setPen(Qt::NoPen);
    p.setBrush(kMagenta);
    p.drawRect(banda);
    Texto(p, banda, "KELTU", static_cast<int>(banda.height() * 0.75), true, Qt::white);
    if (a.caja) {
        // A fixed capacitor: the rating plate with the capacitor symbol, screws at the corners.
        const QRectF placa(puerta.center().x() - 26, banda.bottom() + 8, 52, 26);
        p.setPen(QPen(kContorno, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(placa);
        Simbolo(p, placa.center(), 16, kContorno);
        p.setBrush(kContorno);
        for (const QPointF& c :
             {puerta.topLeft() + QPointF(5, 5), puerta.topRight() + QPointF(-5, 5),
              puerta.bottomLeft() + QPointF(5, -5), puerta.bottomRight() + QPointF(-5, -5)})
            p.drawEllipse(c, 2, 2);
        return;
    }
    // Handle on the opening side.
    p.setPen(QPen(kContorno, 1.4));
    p.setBrush(kContorno);
    p.drawRoundedRect(QRectF(puerta.right() - 9, puerta.center().y() - 14, 4, 28), 2, 2);
    if (primera) {
        // The controller, or a touch display.
        const double lado = std::min(puerta.width() * 0.42, puerta.height() * 0.2);
        const QRectF marco(puerta.center().x() - lado / 2, banda.bottom() + 10, lado,
                           lado * (a.tactil ? 0.75 : 1));
        p.setPen(QPen(kContorno, 1.2));
        p.setBrush(QColor(0x9A, 0x9A, 0x96));
        p.drawRect(marco);
        const QRectF pantalla = marco.adjusted(4, 4, -4, a.tactil ? -4 : -lado * 0.45);
        p.setBrush(kPantalla);
        p.drawRect(pantalla);
        Texto(p, pantalla, a.tactil ? "THD 5 %" : "0.98",
              static_cast<int>(pantalla.height() * (a.tactil ? 0.32 : 0.45)), true, kVerde);
        if (!a.tactil) {
            for (int i = 0; i < 3; ++i) {
                p.setBrush(i == 0 ? kVerde : QColor(0xF0, 0xB0, 0x30));
                p.drawEllipse(QPointF(marco.left() + lado * (0.25 + 0.25 * i), marco.bottom() - lado * 0.2),
                              3, 3);
            }
        }
    }
    const double abajo = puerta.bottom() - 10;
    if (a.estatico) {
        // Heat-sink fins of the thyristor modules.
        const QRectF aletas(puerta.left() + 12, puerta.center().y() + 4, puerta.width() - 30,
                            puerta.height() * 0.12);
        p.setPen(QPen(kContorno, 1.2));
        for (int i = 0; i <= 8; ++i) {
            const double x = aletas.left() + aletas.width() * i / 8;
            p.drawLine(QPointF(x, aletas.top()), QPointF(x, aletas.bottom()));
        }
    }
    if (a.ventilador)
        Ventilador(p, QPointF(puerta.center().x(), abajo - puerta.height() * 0.16), puerta.width() * 0.17);
    Rejilla(p,
            QRectF(puerta.left() + 14, abajo - puerta.height() * 0.07, puerta.width() - 36,
                   puerta.height() * 0.06),
            5);
}

QImage Blanca(int ancho, int alto) {
    QImage imagen(ancho, alto, QImage::Format_RGB32);
    imagen.fill(Qt::white);
    return imagen;
}

// A cabinet seen from the front, a little from the right and from above.
QImage Dibujo(const QString& nombre, const Armario& a) {
    QImage imagen = Blanca(kAncho, kAlto);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    const double fondo = 18;
    const double ancho = kAncho * a.anchoColumna * a.columnas;
    const double alto = kAlto * a.alto;
    const double suelo = kAlto - 38;
    const double izquierda = (kAncho - ancho - fondo) / 2;
    const double zocalo = a.mural ? 0 : 10;
    const QRectF frente(izquierda, suelo - alto, ancho, alto - zocalo);

    if (a.mural) {
        // The wall and its brackets.
        p.fillRect(QRectF(0, 0, kAncho, suelo + 6), QColor(0xF6, 0xF6, 0xF4));
        p.setPen(QPen(QColor(0xB0, 0xB0, 0xAC), 1));
        p.drawLine(QPointF(0, suelo + 6), QPointF(kAncho, suelo + 6));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xE8, 0xE8, 0xE8));
        p.drawEllipse(QRectF(izquierda - 10, suelo - 6, ancho + fondo + 20, 14));
        p.setBrush(QColor(0x3A, 0x3A, 0x3A));
        p.drawRect(QRectF(frente.left(), frente.bottom(), ancho, zocalo));
    }
    QPolygonF lateral;
    lateral << frente.topRight() << frente.topRight() + QPointF(fondo, -fondo * 0.6)
            << frente.bottomRight() + QPointF(fondo, -fondo * 0.6) << frente.bottomRight();
    QPolygonF techo;
    techo << frente.topLeft() << frente.topLeft() + QPointF(fondo, -fondo * 0.6)
          << frente.topRight() + QPointF(fondo, -fondo * 0.6) << frente.topRight();
    p.setPen(QPen(kContorno, 1.4));
    p.setBrush(kLateral);
    p.drawPolygon(lateral);
    p.setBrush(kTecho);
    p.drawPolygon(techo);
    p.setBrush(kFrente);
    p.drawRect(frente);

    if (a.clima) {
        // Cooling unit hung on the side wall.
        const QRectF unidad(frente.right() + 2, frente.top() + alto * 0.12, fondo + 14, alto * 0.42);
        p.setBrush(QColor(0xF4, 0xF4, 0xF2));
        p.drawRect(unidad);
        Rejilla(p, unidad.adjusted(4, 6, -4, -alto * 0.2), 6);
        Ventilador(p, QPointF(unidad.center().x(), unidad.bottom() - alto * 0.09), unidad.width() * 0.34);
    }
    if (a.caja) {
        // Terminal cover and cable glands of a fixed capacitor.
        p.setPen(QPen(kContorno, 1.2));
        p.setBrush(kLateral);
        p.drawRect(QRectF(frente.left() + 10, frente.top() + frente.height() * 0.66, frente.width() - 20,
                          frente.height() * 0.24));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(QColor(0x30, 0x30, 0x30));
            p.drawRect(
                QRectF(frente.left() + frente.width() * (0.25 + 0.25 * i) - 5, frente.bottom(), 10, 8));
        }
    }
    const double anchoPuerta = (frente.width() - 6) / a.columnas;
    for (int c = 0; c < a.columnas; ++c)
        Puerta(p,
               QRectF(frente.left() + 3 + c * anchoPuerta, frente.top() + 3, anchoPuerta - 3,
                      a.caja ? frente.height() * 0.6 : frente.height() - 6),
               a, c == 0);
    Texto(p, QRectF(0, kAlto - 28, kAncho, 24), nombre, 15, true, QColor(0x50, 0x50, 0x50));
    return imagen;
}

// The maker's mark: a rounded square of its colour with the capacitor symbol in white.
void Marca(QPainter& p, const QRectF& cuadro, double radio, double centroSimbolo, double altoSimbolo) {
    p.setPen(Qt::NoPen);
    p.setBrush(kMagenta);
    p.drawRoundedRect(cuadro, radio, radio);
    Simbolo(p, QPointF(cuadro.center().x(), centroSimbolo), altoSimbolo, Qt::white);
}

// The report's logo: the mark with the name in white under the symbol.
QImage LogoInforme() {
    QImage imagen = Blanca(142, 142);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    Marca(p, QRectF(3, 3, 136, 136), 18, 54, 46);
    Texto(p, QRectF(0, 88, 142, 36), "KELTU", 30, true, Qt::white);
    return imagen;
}

// The footer logo: the mark, and the name in the maker's colour beside it.
QImage LogoPie() {
    QImage imagen = Blanca(227, 84);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    Marca(p, QRectF(4, 8, 64, 64), 10, 40, 34);
    Texto(p, QRectF(78, 4, 149, 52), "KELTU", 44, true, kMagenta, Qt::AlignLeft | Qt::AlignVCenter);
    Texto(p, QRectF(80, 52, 147, 22), "power factor", 16, false, QColor(0x60, 0x60, 0x60),
          Qt::AlignLeft | Qt::AlignVCenter);
    return imagen;
}

bool Guardar(const QImage& imagen, const QString& ruta) {
    if (imagen.save(ruta, "BMP"))
        return true;
    std::fprintf(stderr, "%s: cannot be written\n", qPrintable(ruta));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacion(argc, argv);
    const QStringList args = aplicacion.arguments().mid(1);
    if (args.size() != 3) {
        std::fputs(kUso, stderr);
        return 2;
    }
    const QDir descripciones(args[0] + "/es");
    const QDir dbf(args[1]);
    const QDir recursos(args[2]);
    bool correcto = true;
    for (const QFileInfo& fuente : descripciones.entryInfoList({"*.txt"}, QDir::Files, QDir::Name)) {
        const QString nombre = fuente.completeBaseName();
        const auto armario = kArmarios.find(nombre);
        if (armario == kArmarios.end()) {
            std::fprintf(stderr, "%s: no drawing is defined for this series\n", qPrintable(nombre));
            correcto = false;
            continue;
        }
        // An 8-bit palette keeps the shipped bitmaps small.
        correcto &=
            Guardar(Dibujo(nombre, armario->second)
                        .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither),
                    dbf.filePath(nombre + ".bmp"));
    }
    correcto &= Guardar(LogoInforme(), recursos.filePath("logoreporte.bmp"));
    correcto &= Guardar(LogoPie(), recursos.filePath("footer_logo.bmp"));
    return correcto ? 0 : 1;
}
