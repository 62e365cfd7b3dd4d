// The whole report, page by page, over generated studies of every size from one reading to well past
// three pages of them: both calculation types, banks and filters, tariffs "3.1" and "1.1", Spanish
// and English, every section. Each page is read back from the recording writer and must keep its
// body above the page footer, hold more than a stray rule or one or two lone lines, and keep one
// type size across a section.

#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "core/report/informe.h"
#include "core/report/recording_page_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace tarvik;

namespace {

constexpr double kMmPorPixel = kMmPerInch / 600; // the recording writer's device
constexpr double kBajoLinea = 0.25;              // of the font height: the em box below the baseline

// What a page holds between its header rule and its footer rule.
struct Pagina {
    double pie = 0; // top edge of the footer rule
    std::vector<std::string> cuerpo;
};

std::vector<Pagina> LeerPaginas(const std::vector<std::string>& log) {
    std::vector<std::vector<std::string>> crudas;
    for (const std::string& e : log) {
        if (e.starts_with("page "))
            crudas.emplace_back();
        else
            crudas.back().push_back(e);
    }
    std::vector<Pagina> paginas;
    for (const auto& entradas : crudas) {
        // The header ends with the first thick rule of the page and the footer starts with the last.
        std::size_t cabecera = entradas.size();
        std::size_t pie = entradas.size();
        for (std::size_t i = 0; i < entradas.size(); ++i) {
            if (!entradas[i].starts_with("line ") || entradas[i].find(" px=12") == std::string::npos)
                continue;
            if (cabecera == entradas.size())
                cabecera = i;
            pie = i;
        }
        Pagina p;
        double x1, y1, x2, y2;
        int px = 0;
        if (pie < entradas.size() &&
            std::sscanf(entradas[pie].c_str(), "line %lf %lf %lf %lf px=%d", &x1, &y1, &x2, &y2, &px) == 5)
            p.pie = y1 - px * kMmPorPixel / 2;
        for (std::size_t i = cabecera + 1; i < pie; ++i)
            p.cuerpo.push_back(entradas[i]);
        paginas.push_back(p);
    }
    return paginas;
}

struct Escrito {
    double linea;
    double altura;
};

std::optional<Escrito> LeerTexto(const std::string& e) {
    double x, y;
    if (std::sscanf(e.c_str(), "text %lf %lf", &x, &y) != 2)
        return std::nullopt;
    const auto h = e.rfind(" h=");
    return Escrito{y, std::stod(e.substr(h + 3))};
}

// The lowest point that an entry of the body reaches.
double Fondo(const std::string& e) {
    if (const auto t = LeerTexto(e))
        return t->linea + kBajoLinea * t->altura;
    double a, b, c, d;
    int px = 0;
    if (std::sscanf(e.c_str(), "line %lf %lf %lf %lf px=%d", &a, &b, &c, &d, &px) == 5)
        return std::max(b, d) + px * kMmPorPixel / 2;
    if (std::sscanf(e.c_str(), "fill %lf %lf %lf %lf", &a, &b, &c, &d) == 4)
        return d;
    // A picture's name may hold spaces: its bottom edge is the last number.
    return std::stod(e.substr(e.rfind(' ') + 1));
}

// Every fault of one report, one line each.
std::vector<std::string> Faltas(const std::vector<std::string>& log, const std::string& rotuloDescripciones) {
    std::vector<std::string> faltas;
    const auto paginas = LeerPaginas(log);
    int seccion = 0; // 0 final report, 1 descriptions, 2 chart
    std::set<double> alturas[3];
    for (std::size_t n = 0; n < paginas.size(); ++n) {
        const Pagina& p = paginas[n];
        const std::string donde = "page " + std::to_string(n + 1) + ": ";
        std::set<double> lineas;
        bool contenido = false;
        for (const std::string& e : p.cuerpo) {
            if (e.find("\"" + rotuloDescripciones + "\"") != std::string::npos)
                seccion = 1;
            if (e.starts_with("picture " + std::string(kGraficoConsumo)))
                seccion = 2;
            if (Fondo(e) > p.pie + 1e-6)
                faltas.push_back(donde + "below the footer rule (" + std::to_string(p.pie) + "): " + e);
            if (const auto t = LeerTexto(e)) {
                lineas.insert(std::round(t->linea * 100) / 100);
                alturas[seccion].insert(t->altura);
            }
            contenido = contenido || !e.starts_with("line ");
        }
        const bool imagen = std::any_of(p.cuerpo.begin(), p.cuerpo.end(),
                                        [](const std::string& e) { return e.starts_with("picture "); });
        if (!contenido)
            faltas.push_back(donde + "nothing but the frame and rules");
        else if (!imagen && lineas.size() <= 2)
            faltas.push_back(donde + "only " + std::to_string(lineas.size()) + " line(s) of text");
    }
    for (int s = 0; s < 3; ++s)
        if (alturas[s].size() > 1)
            faltas.push_back("section " + std::to_string(s) + " mixes " + std::to_string(alturas[s].size()) +
                             " type sizes");
    return faltas;
}

const char* const kMeses[] = {"ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
                              "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};

// A metalworking shop on 400 V at 50 Hz with a power factor near 0.80, `lecturas` monthly bills.
Sesion Generar(int lecturas, int tipoCalculo, int equipos, int tarifa, DatosPanel& panel) {
    Sesion s;
    s.rutas = Rutas::DesdeCarpeta(TARVIK_SOURCE_DIR);
    s.CargarCatalogosFijos();
    for (int i = 0; i < lecturas; ++i) {
        TLectura l;
        l.mes = kMeses[i % 12];
        l.ano = 2020 + i / 12;
        l.kwht = 40000 + (i * 7919) % 20000;
        l.kvarh = l.kwht * (0.7 + (i % 5) * 0.02);
        l.mdr = 250 + (i * 13) % 40;
        l.cpc = 400;
        l.rr = 800 + (i * 97) % 900;
        s.Lecturas.push_back(l);
    }
    panel.empresa = "TALLERES MEC\xC1NICOS HERMANOS ORD\xD3\xD1"
                    "EZ, S.L.";
    panel.cliente = "ANTONIO ORD\xD3\xD1"
                    "EZ PE\xD1"
                    "A";
    panel.direccion = "POL\xCDGONO INDUSTRIAL EL PRADO, CALLE B, NAVE 7";
    panel.provincia = "VALLADOLID";
    panel.distribuidor = "EL\xC9"
                         "CTRICA DEL DUERO DISTRIBUCI\xD3N";
    panel.fax = "983 401 118";
    panel.telefono = "983 401 117";
    panel.tarifa = tarifa;
    panel.horas = 340;
    panel.cosenoDeseado = 0.98;
    panel.tipoCalculo = tipoCalculo;
    panel.potenciaMaxima = 250;
    panel.tieneTransformador = true;
    panel.transformadorEntrada = 630;
    panel.equipos = equipos;
    return s;
}

TEST(BarridoInforme, EveryPageKeepsClearOfTheFooterHoldsContentAndOneTypeSize) {
    struct Familia {
        int tipoCalculo;
        int equipos;
        int desde, hasta; // numbers of readings
    };
    const Familia familias[] = {
        {0, 1, 1, 130}, // by consumption, capacitor banks
        {0, 0, 1, 130}, // by consumption, harmonic filters
        {1, 1, 12, 12}, // by contracted power: the readings do not show
        {1, 0, 12, 12},
    };
    constexpr int kTarifa31 = 3;
    int casos = 0;
    int fallidos = 0;
    for (const Familia& f : familias)
        for (int lecturas = f.desde; lecturas <= f.hasta; ++lecturas)
            for (const int tarifa : {kTarifa31, kTarifa11})
                for (const int idioma : {kEspanol, kIngles}) {
                    EstablecerIdiomaActivo(idioma);
                    DatosPanel panel;
                    Sesion s = Generar(lecturas, f.tipoCalculo, f.equipos, tarifa, panel);
                    ListaMensajes calculo;
                    const std::string caso =
                        std::to_string(lecturas) + " readings, type " + std::to_string(f.tipoCalculo) +
                        ", equipment " + std::to_string(f.equipos) + ", tariff " +
                        kTarifas[static_cast<std::size_t>(tarifa)] + (idioma == kEspanol ? ", es" : ", en");
                    ASSERT_TRUE(Calcular(s, panel, calculo)) << caso;

                    RecordingPageWriter w;
                    w.setPictureSize(kLogoInforme, {142, 142});
                    w.setPictureSize(kLogoPie, {227, 84});
                    for (const TEquipoSeleccionado& e : s.EquiposSeleccionados)
                        w.setPictureSize(s.rutas.RutaDbf + (f.equipos == 0 ? "Filter " : "Serie ") + e.serie +
                                             ".bmp",
                                         {240, 288});
                    ListaMensajes mensajes;
                    ASSERT_TRUE(EscribirInforme(w, s, kTodasLasSecciones, {"09/12/2026", '.'}, mensajes))
                        << caso << ": " << (mensajes.empty() ? "" : mensajes.front().texto);
                    ++casos;
                    const auto faltas = Faltas(w.log(), Texto("equipamiento_emplear"));
                    if (!faltas.empty()) {
                        ++fallidos;
                        ADD_FAILURE()
                            << caso << ": " << faltas.size() << " fault(s), the first: " << faltas.front();
                    }
                }
    EstablecerIdiomaActivo(kEspanol);
    EXPECT_EQ(fallidos, 0) << "of " << casos << " reports";
}

} // namespace
