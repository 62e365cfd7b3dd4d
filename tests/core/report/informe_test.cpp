#include "core/lang/traduccion.h"
#include "core/report/informe.h"
#include "core/report/recording_page_writer.h"
#include "core/study/facturacion.h"
#include "core/study/rutas.h"
#include "core/util/archivo.h"
#include "soporte/catalogos_prueba.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace tarvik;
using tarvik::prueba::CarpetaPrograma;

namespace {

const std::string kFecha = "09/12/2026";

struct Impreso {
    std::string texto;
    double x;
    double y;
};

// The texts of a recorded job, page by page.
std::vector<std::vector<Impreso>> Paginas(const RecordingPageWriter& w) {
    std::vector<std::vector<Impreso>> paginas;
    for (const std::string& e : w.log()) {
        if (e.starts_with("page ")) {
            paginas.emplace_back();
        } else if (e.starts_with("text ")) {
            const auto abre = e.find('"');
            const auto cierra = e.rfind('"');
            const double x = std::stod(e.substr(5));
            const double y = std::stod(e.substr(e.find(' ', 5)));
            paginas.back().push_back({e.substr(abre + 1, cierra - abre - 1), x, y});
        }
    }
    return paginas;
}

std::vector<std::string> Textos(const RecordingPageWriter& w) {
    std::vector<std::string> textos;
    for (const auto& pagina : Paginas(w))
        for (const Impreso& t : pagina)
            textos.push_back(t.texto);
    return textos;
}

bool Tiene(const std::vector<std::string>& textos, const std::string& texto) {
    return std::find(textos.begin(), textos.end(), texto) != textos.end();
}

bool PaginaTiene(const std::vector<Impreso>& pagina, const std::string& texto) {
    return std::any_of(pagina.begin(), pagina.end(), [&](const Impreso& t) { return t.texto == texto; });
}

std::vector<std::string> Entradas(const RecordingPageWriter& w, const std::string& inicio) {
    std::vector<std::string> r;
    for (const std::string& e : w.log())
        if (e.starts_with(inicio))
            r.push_back(e);
    return r;
}

// A study of a metalworking shop, calculated: banks by consumption, one current transformer, one
// conductor per unit.
Sesion Estudio(int lecturas = 3) {
    Sesion s;
    s.Datos.empresa = "TALLERES NORTE";
    s.Datos.cliente = "ANA RUIZ";
    s.Datos.horas = 200;
    s.Datos.equipos = 1;
    for (int i = 0; i < lecturas; ++i) {
        TLectura l;
        l.mes = "MES" + std::to_string(i + 1);
        l.ano = 2023;
        l.kwht = 20000;
        l.kvarh = 15000;
        l.mdr = 120;
        l.coseno = 0.8;
        l.rr = 310;
        s.Lecturas.push_back(l);
    }
    s.Analisis.kwhTotal = 20000.0 * lecturas;
    s.Analisis.kvarhTotal = 15000.0 * lecturas;
    s.Analisis.potenciaMaxima = 120;
    s.Analisis.cosenoMedio = 0.8;
    s.Analisis.cosenoDeseado = 0.98;
    s.EquiposSeleccionados = {{1, "JAD-400-100-R7S", "Jade", 1, 0, 100, 400, 5230.5, 102}};
    s.TransformadoresSeleccionados = {{"TI 250/5 cl.1", 250, 18, 400}};
    s.ConductoresSeleccionados = {{216.51, "95.00", 223, 4.5, 2, 2}};
    return s;
}

class InformeTest : public ::testing::Test {
  protected:
    InformeTest() {
        EstablecerIdiomaActivo(kEspanol);
        writer.setPictureSize(kLogoInforme, {142, 142});
        writer.setPictureSize(kLogoPie, {227, 84});
        sesion.rutas = carpeta.rutas();
    }
    ~InformeTest() override { EstablecerIdiomaActivo(kEspanol); }

    bool Escribir(const SeccionesInforme& secciones) {
        return EscribirInforme(writer, sesion, secciones, {kFecha, '.'}, mensajes);
    }

    // The description text (in both languages) and picture of a file name, e.g. "Serie Jade".
    std::string Describir(const std::string& nombre, const std::string& texto = "Linea uno.\nLinea dos.") {
        const auto dbf = carpeta.ruta() / "dbf";
        for (const char* idioma : {"es", "en"}) {
            std::filesystem::create_directories(dbf / idioma);
            std::ofstream(dbf / idioma / (nombre + ".txt")) << texto;
        }
        const std::string imagen = (dbf / (nombre + ".bmp")).string();
        std::ofstream(imagen) << "BM";
        writer.setPictureSize(imagen, {240, 288});
        return imagen;
    }

    CarpetaPrograma carpeta;
    Sesion sesion = Estudio();
    RecordingPageWriter writer;
    ListaMensajes mensajes;
};

} // namespace

TEST_F(InformeTest, AJobWithoutSectionsIsOnePageWithTheHeaderAndFooter) {
    EXPECT_TRUE(Escribir({false, false, false}));
    // Logo 20 mm square at the top-left corner of the printable area (20, 10); texts right of it;
    // the rule 22 mm down with a pen of 2/100 inch (12 px at 600 dpi). The footer rule lies one line
    // (10.08 pt × 1.15 = 4.089 mm) and 2 mm above the bottom edge (282), the footer logo 10 mm high
    // and 10 × 227 / 84 mm wide under it, the page number right-aligned on the bottom edge.
    const std::string marca = " h=3.00 bold #D81F85";
    EXPECT_EQ(writer.log(), (std::vector<std::string>{
                                "page 1",
                                "picture logoreporte 20.00 10.00 40.00 30.00",
                                "text 45.00 18.00 \"TARVIK\" h=8.00 bold #D81F85",
                                "text 79.00 18.00 \"versi\xF3n 6\"" + marca,
                                "text 180.00 10.00 \"" + kFecha + "\"" + marca,
                                "text 45.00 22.00 \"" + Texto("tarvik_nombre") + "\"" + marca,
                                "text 45.00 25.50 \"" + Texto("keltu_address") + "\"" + marca,
                                "text 45.00 29.00 \"Tel. +34 916 890 410 \xB7 Fax +34 916 890 411\"" + marca,
                                "line 20.00 32.00 195.00 32.00 px=12",
                                "line 20.00 275.91 195.00 275.91 px=12",
                                "picture footer_logo 20.00 277.91 47.02 287.91",
                                "text 186.00 282.00 \"pag. 1\" h=3.00",
                            }));
}

TEST_F(InformeTest, SectionsFollowInOrderEachOnItsOwnPages) {
    Describir("Serie Jade");
    struct Caso {
        SeccionesInforme secciones;
        int tipoCalculo;
        // Per page: holds the final report, the descriptions, the chart.
        std::vector<std::array<bool, 3>> paginas;
    };
    const Caso casos[] = {
        {{true, true, true}, 0, {{true, false, false}, {false, true, false}, {false, false, true}}},
        {{true, false, true}, 0, {{true, false, false}, {false, false, true}}},
        {{false, true, true}, 0, {{false, true, false}, {false, false, true}}},
        // By contracted power the chart is never printed, and no page is left empty for it.
        {{true, false, true}, 1, {{true, false, false}}},
        {{false, true, true}, 1, {{false, true, false}}},
        {{false, false, true}, 1, {{false, false, false}}},
    };
    for (const Caso& c : casos) {
        RecordingPageWriter w;
        w.setPictureSize(kLogoInforme, {142, 142});
        w.setPictureSize(kLogoPie, {227, 84});
        w.setPictureSize((carpeta.ruta() / "dbf" / "Serie Jade.bmp").string(), {240, 288});
        sesion.Datos.tipoCalculo = c.tipoCalculo;
        EXPECT_TRUE(EscribirInforme(w, sesion, c.secciones, {kFecha, '.'}, mensajes));
        std::vector<std::array<bool, 3>> paginas;
        int numero = 0;
        for (const std::string& e : w.log()) {
            if (e.starts_with("page ")) {
                paginas.push_back({false, false, false});
                ++numero;
            }
            paginas.back()[0] = paginas.back()[0] || e.find(Texto("datos_generales")) != std::string::npos;
            paginas.back()[1] =
                paginas.back()[1] || e.find(Texto("equipamiento_emplear")) != std::string::npos;
            paginas.back()[2] = paginas.back()[2] || e.starts_with(std::string("picture ") + kGraficoConsumo);
            if (e.find("\"pag. ") != std::string::npos) {
                EXPECT_NE(e.find("\"pag. " + std::to_string(numero) + "\""), std::string::npos) << e;
            }
        }
        EXPECT_EQ(paginas, c.paginas) << c.secciones[kInformeFinal] << c.secciones[kCaracteristicas]
                                      << c.secciones[kGrafico] << " by " << c.tipoCalculo;
    }
}

TEST_F(InformeTest, ServiceDataByConsumptionAndByContractedPower) {
    struct Caso {
        int tipoCalculo;
        int equipos;
        bool transformador;
        std::vector<std::string> presentes;
        std::vector<std::string> ausentes;
    };
    const std::string contratada = Texto("potencia_contratada") + ": ";
    const std::string propio = Texto("tienetransformadorpropio") + ": ";
    const std::string entrada = Texto("header_seccion_5") + ": ";
    const Caso casos[] = {
        // 60000 kWh over 3 readings of 200 h: 100 kW on average; 45000 kvarh: 75 kvar.
        {0,
         1,
         false,
         {"100.00", "75.00", "120.00", "0.80", "0.98", Texto("facturacion_caption"), "MES3"},
         {contratada}},
        {1, 0, true, {contratada, "250"}, {propio, entrada, Texto("facturacion_caption"), "MES3", "100.00"}},
        {1, 1, false, {contratada, "250", propio, "No"}, {entrada}},
        {1, 1, true, {contratada, "250", propio, "Si", entrada, "630"}, {}},
    };
    for (const Caso& c : casos) {
        RecordingPageWriter w;
        sesion.Datos.tipoCalculo = c.tipoCalculo;
        sesion.Datos.equipos = c.equipos;
        sesion.Datos.potenciaMaxima = 250;
        sesion.Datos.tieneTransformador = c.transformador;
        sesion.Datos.transformadorEntrada = 630;
        w.runJob([&](PageWriter& pw) { InformeFinal(pw, sesion, '.'); });
        const auto textos = Textos(w);
        for (const std::string& t : c.presentes)
            EXPECT_TRUE(Tiene(textos, t)) << c.tipoCalculo << c.equipos << c.transformador << ": " << t;
        for (const std::string& t : c.ausentes)
            EXPECT_FALSE(Tiene(textos, t)) << c.tipoCalculo << c.equipos << c.transformador << ": " << t;
    }
}

TEST_F(InformeTest, EquipmentTableByEquipmentTypeFrequencyAndLanguage) {
    struct Caso {
        int idioma;
        int equipos;
        int frecuencia;
        std::string tipo;
        std::string potencia; // caption
        std::string hercios;
        std::string conductores; // title
    };
    const Caso casos[] = {
        {kEspanol, 0, 1, "Filtro Jade", "Potencia (kW)", "50",
         "Conductores seleccionados para el Filtro Zentrola"},
        {kIngles, 0, 1, "Jade Filter", "Power (kW)", "50", "Selected conductors for the Zentrola Filter"},
        {kEspanol, 1, 0, "Serie Jade", "Potencia (kvar)", "50",
         "Conductores seleccionados para la Bater\xED"
         "a Autom\xE1"
         "tica"},
        {kEspanol, 1, 1, "Serie Jade", "Potencia (kvar)", "60",
         "Conductores seleccionados para la Bater\xED"
         "a Autom\xE1"
         "tica"},
    };
    for (const Caso& c : casos) {
        EstablecerIdiomaActivo(c.idioma);
        RecordingPageWriter w;
        sesion.Datos.equipos = c.equipos;
        sesion.Datos.frecuencia = c.frecuencia;
        w.runJob([&](PageWriter& pw) { InformeFinal(pw, sesion, ','); });
        const auto textos = Textos(w);
        for (const std::string& t : {c.tipo, c.potencia, c.hercios, c.conductores})
            EXPECT_TRUE(Tiene(textos, t)) << c.tipo << " " << c.hercios << ": " << t;
        // Power with one decimal, price with two, the locale's separator; the conductor's total price
        // is its price per metre times its length; two conductors per phase.
        for (const std::string& t :
             std::vector<std::string>{"100,0", "400", "5230,50", "216,51", "95.00", "223,00", "2,00",
                                      "2x3 " + Texto("phases_caption"), "9,00", "250/5", "18,00"})
            EXPECT_TRUE(Tiene(textos, t)) << c.tipo << ": " << t;
    }
}

TEST_F(InformeTest, TransformerTablesFollowTheTariffAndTheSelection) {
    // The user's length and price of the transformer capacitor's conductor, typed in the results.
    sesion.CondensadorTrafo.longitudConductor = 12.5;
    sesion.CondensadorTrafo.precioConductor = 3.2;
    struct Caso {
        std::int32_t tarifa;
        std::string unidad; // the transformer capacitor's code; empty when nothing holds one
        bool transformadores;
        bool tablasCondensador;
    };
    const Caso casos[] = {
        {kTarifa11, "TRF-400-20", true, true},
        // Under tariff "1.1" without a unit: no tables of zeros.
        {kTarifa11, "", true, false},
        {3, "TRF-400-20", false, false},
    };
    for (const Caso& c : casos) {
        RecordingPageWriter w;
        sesion.Datos.tarifa = c.tarifa;
        sesion.CondensadorTrafo.equipo.codigo = c.unidad;
        sesion.CondensadorTrafo.equipo.potencia = c.unidad.empty() ? 0 : 20;
        sesion.CondensadorTrafo.cantidadConductores = c.unidad.empty() ? 0 : 1;
        sesion.TransformadoresSeleccionados = {{"TI 250/5 cl.1", 250, 18, 400}, {"TI sin medida", 0, 0, 400}};
        if (!c.transformadores)
            sesion.TransformadoresSeleccionados.clear();
        w.runJob([&](PageWriter& pw) { InformeFinal(pw, sesion, '.'); });
        const auto textos = Textos(w);
        const std::string caso =
            std::string(kTarifas[static_cast<std::size_t>(c.tarifa)]) + " '" + c.unidad + "'";
        for (const std::string& t :
             {Texto("trans_caption"), Texto("conductor_bateria_caption"), c.unidad, std::string("12.50"),
              std::string("40.00"), "1x3 " + Texto("phases_caption")})
            EXPECT_EQ(Tiene(textos, t), c.tablasCondensador) << caso << ": " << t;
        EXPECT_FALSE(Tiene(textos, "0x3 " + Texto("phases_caption"))) << caso;
        for (const std::string& t : {Texto("trans_seleccionados"), std::string("250/5"), std::string("0/5")})
            EXPECT_EQ(Tiene(textos, t), c.transformadores) << caso << ": " << t;
        // One transformer for the banks; none for the one that measures nothing.
        if (c.transformadores) {
            for (const char* t : {"1", "0"})
                EXPECT_TRUE(Tiene(textos, t)) << caso << ": " << t;
        }
    }
}

TEST_F(InformeTest, APriceOfZeroPrintsAsOnRequestLikeTheResultsWindow) {
    sesion.EquiposSeleccionados.front().precio = 0;
    sesion.TransformadoresSeleccionados.front().precio = 0;
    sesion.ConductoresSeleccionados.front().precio = 0;
    for (const int idioma : {kEspanol, kIngles}) {
        EstablecerIdiomaActivo(idioma);
        RecordingPageWriter w;
        w.runJob([&](PageWriter& pw) { InformeFinal(pw, sesion, '.'); });
        const auto textos = Textos(w);
        EXPECT_EQ(std::count(textos.begin(), textos.end(), Texto("consultar")), 3) << idioma;
        EXPECT_FALSE(Tiene(textos, "0.00")) << idioma;
    }
}

TEST_F(InformeTest, NotesWrapAcrossThePrintableAreaAndTheEquipmentNoteStopsAtTwoLines) {
    // A page 80 mm wide leaves 45 mm for the notes: 30 characters a line.
    RecordingPageWriter w(80, 297);
    w.runJob([&](PageWriter& pw) {
        pw.setMargins(20, 15, 10, 15);
        InformeFinal(pw, sesion, '.');
    });
    auto lineas = [&](const std::string& nota) {
        std::string junta;
        int n = 0;
        for (const auto& pagina : Paginas(w))
            for (const Impreso& t : pagina)
                if (t.x == 20 && nota.find(t.texto) != std::string::npos) {
                    junta += (junta.empty() ? "" : " ") + t.texto;
                    ++n;
                }
        return std::pair{n, junta};
    };
    const auto [nEquipos, equipos] = lineas(Texto("baterias_seleccionadas_footer"));
    EXPECT_EQ(nEquipos, 2);
    EXPECT_TRUE(Texto("baterias_seleccionadas_footer").starts_with(equipos));
    EXPECT_LT(equipos.size(), Texto("baterias_seleccionadas_footer").size());
    for (const char* clave : {"conductores_seleccionados_footer", "conductores_seleccionados_footer2"}) {
        auto [n, junta] = lineas(Texto(clave));
        EXPECT_GT(n, 2) << clave;
        std::string completa = Texto(clave);
        for (std::string* t : {&junta, &completa})
            while (t->ends_with(' '))
                t->pop_back();
        EXPECT_EQ(junta, completa) << clave;
    }
}

TEST_F(InformeTest, ALongBillingTableContinuesOnTheNextPagesInTheReportsLanguage) {
    sesion = Estudio(120);
    sesion.rutas = carpeta.rutas();
    struct Caso {
        int idioma;
        std::string continuacion;
        std::string pagina;
    };
    for (const Caso& c :
         {Caso{kEspanol, " (continuaci\xF3n)", "pag. "}, Caso{kIngles, " (continued)", "page "}}) {
        EstablecerIdiomaActivo(c.idioma);
        RecordingPageWriter w;
        EXPECT_TRUE(EscribirInforme(w, sesion, {true, false, false}, {kFecha, '.'}, mensajes));
        const auto paginas = Paginas(w);
        ASSERT_GE(paginas.size(), 3u);
        const std::string titulo = Texto("facturacion_caption");
        EXPECT_TRUE(PaginaTiene(paginas[0], titulo));
        EXPECT_TRUE(PaginaTiene(paginas[1], titulo + c.continuacion)) << c.idioma;
        EXPECT_TRUE(PaginaTiene(paginas[1], Texto("mes_caption")));
        // Every page has its frame; the rows run on without a gap.
        for (std::size_t p = 0; p < paginas.size(); ++p) {
            EXPECT_TRUE(PaginaTiene(paginas[p], "TARVIK"));
            EXPECT_TRUE(PaginaTiene(paginas[p], c.pagina + std::to_string(p + 1))) << c.idioma;
        }
        const auto textos = Textos(w);
        for (int i = 1; i <= 120; ++i)
            EXPECT_TRUE(Tiene(textos, "MES" + std::to_string(i))) << i;
    }
}

TEST_F(InformeTest, OneDescriptionPerSeriesWithItsPictureBesideTheText) {
    const std::string imagen = Describir("Serie Jade", "Primera linea.\nSegunda linea.");
    sesion.EquiposSeleccionados.push_back(sesion.EquiposSeleccionados.front());
    sesion.EquiposSeleccionados.back().serie = "JADE"; // the same series, named in capitals
    EXPECT_TRUE(Escribir({false, true, false}));
    const auto textos = Textos(writer);
    EXPECT_EQ(std::count(textos.begin(), textos.end(), "Serie Jade"), 1);
    EXPECT_EQ(Entradas(writer, "picture " + imagen).size(), 1u);
    // The picture fills the height of its 50 × 60 mm box at the left edge, from the first text line;
    // the text column starts 55 mm right of the left edge.
    const auto pagina = Paginas(writer).front();
    const auto linea = std::find_if(pagina.begin(), pagina.end(),
                                    [](const Impreso& t) { return t.texto == "Primera linea."; });
    ASSERT_NE(linea, pagina.end());
    EXPECT_DOUBLE_EQ(linea->x, 75);
    const std::string dibujo = Entradas(writer, "picture " + imagen).front();
    double l, t, r, b;
    ASSERT_EQ(std::sscanf(dibujo.c_str() + ("picture " + imagen).size(), "%lf %lf %lf %lf", &l, &t, &r, &b),
              4);
    EXPECT_NEAR(l, 20, 0.05);
    EXPECT_NEAR(t, linea->y, 0.05);
    EXPECT_NEAR(b - t, 60, 0.05);
    EXPECT_NEAR(r - l, 60.0 * 240 / 288, 0.05);
}

TEST_F(InformeTest, FiltersAreDescribedUnderTheirFilterFileName) {
    Describir("Filter Zentrola ZS");
    sesion.Datos.equipos = 0;
    sesion.EquiposSeleccionados.front().serie = "Zentrola ZS";
    EXPECT_TRUE(Escribir({false, true, false}));
    EXPECT_TRUE(mensajes.empty());
    EXPECT_TRUE(Tiene(Textos(writer), "Filtro Zentrola ZS"));
}

TEST_F(InformeTest, ADescriptionStartsANewPageWhenItsPictureWouldNotFit) {
    Describir("Serie Jade");
    struct Caso {
        double y;
        int paginas;
    };
    // The picture's box is 60 mm high and starts under the series heading's two lines; it must end
    // on the footer rule's top edge at the latest: one line and 2 mm above the bottom edge (282 mm),
    // less half the rule's 0.508 mm. Lines follow the 10 pt font.
    const double lh = 1.15 * 10 * kMmPerPoint;
    const double limite = 282 - lh - 2 - 0.254 - 60 - 2 * lh;
    for (const Caso& c : {Caso{limite - 0.01, 1}, Caso{limite + 0.01, 2}}) {
        RecordingPageWriter w;
        w.setPictureSize((carpeta.ruta() / "dbf" / "Serie Jade.bmp").string(), {240, 288});
        w.runJob([&](PageWriter& pw) {
            pw.setMargins(20, 15, 10, 15);
            pw.moveTo(20, c.y - 2 * pw.lineHeight()); // the general heading and its empty line
            EXPECT_TRUE(CaracteristicasEquipos(pw, sesion, mensajes));
        });
        const auto paginas = Paginas(w);
        ASSERT_EQ(static_cast<int>(paginas.size()), c.paginas) << c.y;
        EXPECT_TRUE(PaginaTiene(paginas.back(), "Serie Jade")) << c.y;
    }
}

TEST_F(InformeTest, ALongDescriptionGoesOnInTheSameColumnOnTheNextPage) {
    std::string texto;
    for (int i = 1; i <= 90; ++i)
        texto += "Linea " + std::to_string(i) + "\n";
    Describir("Serie Jade", texto);
    EXPECT_TRUE(Escribir({false, true, false}));
    const auto paginas = Paginas(writer);
    ASSERT_EQ(paginas.size(), 2u);
    for (const auto& pagina : paginas)
        for (const Impreso& t : pagina)
            if (t.texto.starts_with("Linea ")) {
                EXPECT_DOUBLE_EQ(t.x, 75);
                EXPECT_LT(t.y, 282 - 2 * 4.0); // two lines are always left under the text
            }
    EXPECT_TRUE(PaginaTiene(paginas[1], "Linea 90"));
}

TEST_F(InformeTest, AMissingDescriptionFileStopsTheWholeJobNamingTheFile) {
    const auto dbf = carpeta.ruta() / "dbf";
    struct Caso {
        int idioma;
        bool texto;
        bool imagen;
        std::string falta;
        std::string accion;
    };
    const Caso casos[] = {
        {kEspanol, false, true, (dbf / "es" / "Serie Jade.txt").string(), "No se puede abrir el archivo"},
        {kIngles, false, true, (dbf / "en" / "Serie Jade.txt").string(), "Cannot open file"},
        {kEspanol, true, false, (dbf / "Serie Jade.bmp").string(), "No se puede abrir el archivo"},
        {kIngles, true, false, (dbf / "Serie Jade.bmp").string(), "Cannot open file"},
    };
    for (const Caso& c : casos) {
        std::filesystem::remove_all(dbf);
        EstablecerIdiomaActivo(c.idioma);
        const std::string imagen = Describir("Serie Jade");
        if (!c.texto)
            std::filesystem::remove(dbf / (c.idioma == kEspanol ? "es" : "en") / "Serie Jade.txt");
        RecordingPageWriter w; // a writer measures only the pictures it can read
        if (c.imagen)
            w.setPictureSize(imagen, {240, 288});
        else
            std::filesystem::remove(imagen);
        mensajes.clear();
        EXPECT_FALSE(EscribirInforme(w, sesion, {true, true, true}, {kFecha, '.'}, mensajes));
        EXPECT_EQ(mensajes, (ListaMensajes{{TipoMensaje::Error,
                                            {},
                                            c.accion + " \"" + c.falta + "\". No such file or directory"}}));
    }
}

TEST_F(InformeTest, APictureThatCannotBeDecodedIsReported) {
    const std::string imagen = Describir("Serie Jade");
    const std::pair<int, std::string> casos[] = {
        {kEspanol, "No se puede abrir el archivo \"" + imagen + "\". El archivo no es un mapa de bits."},
        {kIngles, "Cannot open file \"" + imagen + "\". The file is not a bitmap."}};
    for (const auto& [idioma, texto] : casos) {
        EstablecerIdiomaActivo(idioma);
        RecordingPageWriter w; // knows no picture size: the file is not a picture it can read
        mensajes.clear();
        EXPECT_FALSE(EscribirInforme(w, sesion, {false, true, false}, {kFecha, '.'}, mensajes));
        EXPECT_EQ(mensajes, (ListaMensajes{{TipoMensaje::Error, {}, texto}}));
    }
}

TEST_F(InformeTest, ASeriesNameCannotLeadOutOfTheDataFolder) {
    // A file that "x/../../../secreto" would reach from dbf/es/Serie x/.
    std::filesystem::create_directories(carpeta.ruta() / "dbf" / "es" / "Serie x");
    std::ofstream(carpeta.ruta() / "secreto.txt") << "no";
    std::ofstream(carpeta.ruta() / "secreto.bmp") << "BM";
    for (const std::string serie : {"x/../../../secreto", "a\\b",
                                    "Ja\x01"
                                    "de",
                                    "Jade?", "Ja:de", "Jade*", "<Jade>", "Ja|de", "\"Jade\"", ".."}) {
        EXPECT_FALSE(SerieValidaComoArchivo(serie)) << serie;
        sesion.EquiposSeleccionados.front().serie = serie;
        mensajes.clear();
        EXPECT_FALSE(Escribir({false, true, false})) << serie;
        const std::string ruta =
            (carpeta.ruta() / "dbf" / "es").string() + kSeparador + "Serie " + serie + ".txt";
        EXPECT_EQ(mensajes, (ListaMensajes{{TipoMensaje::Error,
                                            {},
                                            "No se puede abrir el archivo \"" + ruta +
                                                "\". No such file or directory"}}))
            << serie;
    }
    for (const std::string serie : {"Jade", "Zentrola ZS", "Diamante 2.0", "\xC1mbar"})
        EXPECT_TRUE(SerieValidaComoArchivo(serie)) << serie;
}

TEST_F(InformeTest, TheChartIsTheLargestSquareCentredInHalfThePage) {
    writer.runJob([&](PageWriter& pw) {
        pw.setMargins(20, 15, 10, 15);
        pw.moveTo(20, 50);
        GraficoFacturacion(pw);
    });
    const auto dibujos = Entradas(writer, std::string("picture ") + kGraficoConsumo);
    ASSERT_EQ(dibujos.size(), 1u);
    double l, t, r, b;
    ASSERT_EQ(std::sscanf(dibujos[0].c_str(), "picture grafico1 %lf %lf %lf %lf", &l, &t, &r, &b), 4);
    // The box: 175 mm wide, half of 272 mm high, two lines below the position.
    EXPECT_NEAR(b - t, 136, 0.05);
    EXPECT_NEAR(r - l, 136, 0.05);
    EXPECT_NEAR(l - 20, 195 - r, 0.05);
    EXPECT_NEAR(t, 50 + 2 * writer.lineHeight(), 0.05);
}

TEST(AjustarImagen, KeepsTheProportionsInDevicePixelsWithTruncation) {
    struct Caso {
        PictureSize imagen;
        long ancho, alto;
        TamanoDispositivo esperado;
    };
    const Caso casos[] = {
        {{240, 288}, 1181, 1417, {1180, 1417}}, // tall: full height, 1417 × 240 / 288 = 1180.8
        {{300, 100}, 1000, 1000, {1000, 333}},  // wide: full width
        {{200, 100}, 1000, 300, {600, 300}},    // wide but the height limits it
        {{100, 200}, 300, 1000, {300, 600}},    // tall but the width limits it
        {{400, 400}, 4134, 3213, {3213, 3213}}, // square in a wide box
        {{0, 10}, 50, 60, {50, 60}},            // a zero side fills the box
        {{10, 0}, 50, 60, {50, 60}},
    };
    for (const Caso& c : casos) {
        const TamanoDispositivo t = AjustarImagen(c.imagen, c.ancho, c.alto);
        EXPECT_EQ(t.ancho, c.esperado.ancho) << c.imagen.width << "x" << c.imagen.height;
        EXPECT_EQ(t.alto, c.esperado.alto) << c.imagen.width << "x" << c.imagen.height;
    }
}

TEST(DescripcionesEnviadas, EveryShippedSeriesHasItsTextsAndPicture) {
    const std::filesystem::path dbf = std::filesystem::path(TARVIK_SOURCE_DIR) / "dbf";
    struct Catalogo {
        const char* archivo;
        const char* prefijo;
    };
    for (const Catalogo& c : {Catalogo{"bateria.dat", "Serie "}, Catalogo{"bateria60.dat", "Serie "},
                              Catalogo{"filtros.dat", "Filter "}}) {
        const auto equipos = LeerArchivo<TEquipo>((dbf / c.archivo).string());
        ASSERT_FALSE(equipos.empty()) << c.archivo;
        for (const TEquipo& e : equipos) {
            ASSERT_TRUE(SerieValidaComoArchivo(e.serie)) << e.serie;
            const std::string nombre = c.prefijo + e.serie;
            for (const char* idioma : {"es", "en"})
                EXPECT_GT(std::filesystem::file_size(dbf / idioma / (nombre + ".txt")), 200u)
                    << nombre << idioma;
            std::vector<std::uint8_t> bmp;
            std::string detalle;
            ASSERT_TRUE(LeerBytes((dbf / (nombre + ".bmp")).string(), bmp, detalle))
                << nombre << ": " << detalle;
            ASSERT_GT(bmp.size(), 26u);
            EXPECT_EQ(bmp[0], 'B');
            EXPECT_EQ(bmp[1], 'M');
        }
    }
}

TEST(ImprimirLineas, TextNeverRunsIntoThePageFooter) {
    struct Caso {
        double altoPagina;
        double y;
        std::vector<std::vector<std::string>> paginas;
    };
    const Caso casos[] = {
        // Three lines left: the first line prints, the next would reach the footer's band.
        {297, 268, {{"uno"}, {"dos", "tres"}}},
        {297, 258, {{"uno", "dos", "tres"}}},
        // A page with room for less than three lines still takes one line each, and the job ends.
        {32, 15, {{"uno"}, {"dos"}, {"tres"}}},
    };
    for (const Caso& c : casos) {
        RecordingPageWriter w(210, c.altoPagina);
        w.runJob([&](PageWriter& pw) {
            pw.setMargins(20, 15, 10, 15);
            pw.setFontHeight(3);
            pw.setLineHeight(5);
            pw.moveTo(20, c.y);
            MemoBuffer memo{"uno\ndos\ntres", 20, 195, Alignment::Left, false, 0};
            ImprimirLineas(pw, memo, kTodasLasLineas);
        });
        std::vector<std::vector<std::string>> paginas;
        for (const auto& pagina : Paginas(w)) {
            paginas.emplace_back();
            for (const Impreso& t : pagina)
                paginas.back().push_back(t.texto);
        }
        EXPECT_EQ(paginas, c.paginas) << c.altoPagina << " " << c.y;
    }
}
