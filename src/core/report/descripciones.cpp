#include "core/lang/traduccion.h"
#include "core/report/informe.h"
#include "core/results/tablas.h"
#include "core/study/facturacion.h"
#include "core/util/archivo.h"
#include "core/util/cp1252.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tarvik {

namespace {

constexpr double kAnchoImagen = 50; // mm: the picture's box
constexpr double kAltoImagen = 60;
constexpr double kSangriaTexto = 55; // mm from the left edge to the text column

std::string Minusculas(std::string texto) {
    std::transform(texto.begin(), texto.end(), texto.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return texto;
}

// A heading in bold and underlined on its own line, with an empty line under it.
void Subrayado(PageWriter& writer, const std::string& texto) {
    {
        SavedFont fuente(writer);
        writer.setBold(true);
        writer.setUnderline(true);
        writer.printLine(texto);
        writer.newLine();
    }
    writer.setBold(false);
}

// Reads a whole file; a series name that could leave the data folder counts as a missing file.
bool Leer(const std::string& ruta, bool valido, std::vector<std::uint8_t>& bytes, ListaMensajes& mensajes) {
    std::string detalle = std::strerror(ENOENT);
    if (valido && LeerBytes(ruta, bytes, detalle))
        return true;
    mensajes.push_back(ErrorArchivo(FalloArchivo::Abrir, ruta, detalle));
    return false;
}

// The description of one series: its text and the path and size of its picture.
struct Descripcion {
    std::string texto;
    std::string imagen;
    PictureSize tamano;
};

bool LeerDescripcion(const PageWriter& writer, const Sesion& sesion, const std::string& nombre, bool valido,
                     Descripcion& d, ListaMensajes& mensajes) {
    const std::string& dbf = sesion.rutas.RutaDbf;
    const std::string archivo = Cp1252ToUtf8(nombre);
    std::vector<std::uint8_t> bytes;
    if (!Leer(dbf + IdiomaDescripciones() + kSeparador + archivo + ".txt", valido, bytes, mensajes))
        return false;
    d.texto.assign(bytes.begin(), bytes.end());
    d.imagen = dbf + archivo + ".bmp";
    const auto tamano = valido ? writer.pictureSize(d.imagen) : std::nullopt;
    if (tamano) {
        d.tamano = *tamano;
        return true;
    }
    // A file that can be read but not decoded is not a picture.
    if (Leer(d.imagen, valido, bytes, mensajes))
        mensajes.push_back(ErrorArchivo(FalloArchivo::Abrir, d.imagen,
                                        IdiomaActivo() == kEspanol ? "El archivo no es un mapa de bits."
                                                                   : "The file is not a bitmap."));
    return false;
}

// Draws a picture at the largest size that fits a box, at the box's top-left corner or centred.
void DibujarAjustada(PageWriter& writer, const std::string& imagen, PictureSize tamano, const Rect& caja,
                     bool centrada) {
    const DeviceRect c = writer.rectToDevice(caja);
    const long anchoCaja = c.right - c.left;
    const long altoCaja = c.bottom - c.top;
    const TamanoDispositivo t = AjustarImagen(tamano, anchoCaja, altoCaja);
    const long left = c.left + (centrada ? (anchoCaja - t.ancho) / 2 : 0);
    const long top = c.top + (centrada ? (altoCaja - t.alto) / 2 : 0);
    writer.drawPicture(imagen, writer.rectFromDevice({left, top, left + t.ancho, top + t.alto}));
}

} // namespace

std::string IdiomaDescripciones() {
    return IdiomaActivo() == kEspanol ? "es" : "en";
}

bool SerieValidaComoArchivo(std::string_view serie) {
    constexpr std::string_view kReservados = "<>:\"/\\|?*";
    if (serie.find("..") != std::string_view::npos)
        return false;
    return std::none_of(serie.begin(), serie.end(), [&](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c < 0x20 || c == 0x7F || kReservados.find(ch) != std::string_view::npos;
    });
}

TamanoDispositivo AjustarImagen(PictureSize imagen, long anchoCaja, long altoCaja) {
    const std::int64_t w = imagen.width;
    const std::int64_t h = imagen.height;
    if (w <= 0 || h <= 0)
        return {anchoCaja, altoCaja};
    std::int64_t ancho;
    std::int64_t alto;
    if (w > h) {
        ancho = anchoCaja;
        alto = anchoCaja * h / w;
        if (alto > altoCaja) {
            alto = altoCaja;
            ancho = altoCaja * w / h;
        }
    } else {
        alto = altoCaja;
        ancho = altoCaja * w / h;
        if (ancho > anchoCaja) {
            ancho = anchoCaja;
            alto = anchoCaja * h / w;
        }
    }
    return {static_cast<long>(ancho), static_cast<long>(alto)};
}

bool CaracteristicasEquipos(PageWriter& writer, const Sesion& sesion, ListaMensajes& mensajes) {
    const bool filtros = sesion.Datos.equipos == 0;
    Subrayado(writer, Texto("equipamiento_emplear"));
    std::vector<std::string> descritas;
    for (const TEquipoSeleccionado& e : sesion.EquiposSeleccionados) {
        const std::string nombre = (filtros ? "Filter " : "Serie ") + e.serie;
        const std::string clave = Minusculas(nombre);
        if (std::find(descritas.begin(), descritas.end(), clave) != descritas.end())
            continue;
        // The picture starts under the series heading's two lines and keeps clear of the footer.
        if (writer.y() + 2 * writer.lineHeight() + kAltoImagen > LimitePie(writer))
            writer.continueOnNewPage();
        Subrayado(writer, NombreSerie(sesion.Datos.equipos, e.serie));

        Descripcion d;
        if (!LeerDescripcion(writer, sesion, nombre, SerieValidaComoArchivo(e.serie), d, mensajes))
            return false;
        const Area& a = writer.area();
        DibujarAjustada(writer, d.imagen, d.tamano,
                        {a.left, writer.y(), a.left + kAnchoImagen, writer.y() + kAltoImagen}, false);
        MemoBuffer texto{std::move(d.texto), a.left + kSangriaTexto, a.right, Alignment::Left, false, 0};
        ImprimirLineas(writer, texto, kTodasLasLineas);
        writer.newLine();
        descritas.push_back(clave);
    }
    return true;
}

void GraficoFacturacion(PageWriter& writer) {
    writer.newLine();
    writer.newLine();
    const Area& a = writer.area();
    const double top = writer.y();
    DibujarAjustada(writer, kGraficoConsumo, {kLadoGrafico, kLadoGrafico},
                    {a.left, top, a.right, top + (a.bottom - a.top) / 2}, true);
}

} // namespace tarvik
