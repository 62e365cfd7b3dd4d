#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

using namespace tarvik;

namespace {

// Restores the active language that a test changes.
class Traduccion : public ::testing::Test {
  protected:
    void TearDown() override { EstablecerIdiomaActivo(idiomaPrevio_); }

  private:
    int idiomaPrevio_ = IdiomaActivo();
};

std::string LeerArchivo(const std::filesystem::path& ruta) {
    std::ifstream archivo(ruta, std::ios::binary);
    std::ostringstream contenido;
    contenido << archivo.rdbuf();
    return contenido.str();
}

std::vector<std::string> Partir(std::string_view texto, char separador) {
    std::vector<std::string> partes;
    for (;;) {
        const std::size_t fin = texto.find(separador);
        partes.emplace_back(texto.substr(0, fin));
        if (fin == std::string_view::npos)
            return partes;
        texto.remove_prefix(fin + 1);
    }
}

// The texts as quoted for every key (UTF-8, tab-separated: order, section, key, Spanish, English,
// which texts are quoted: "both", "english" or "none"). The table supplies the others itself.
struct ClaveCitada {
    std::size_t orden;
    std::string seccion, clave, espanol, ingles, citados;
};

std::vector<ClaveCitada> ClavesCitadas() {
    std::vector<ClaveCitada> claves;
    const std::vector<std::string> lineas =
        Partir(LeerArchivo(TARVIK_TEST_DATA "/claves_traduccion.tsv"), '\n');
    for (std::size_t i = 1; i < lineas.size(); ++i) {
        if (lineas[i].empty())
            continue;
        const std::vector<std::string> c = Partir(lineas[i], '\t');
        if (c.size() != 6) {
            ADD_FAILURE() << "line " << i + 1 << " of claves_traduccion.tsv";
            continue;
        }
        claves.push_back({std::stoul(c[0]), c[1], c[2], c[3], c[4], c[5]});
    }
    return claves;
}

SeccionTraduccion SeccionDe(const std::string& nombre) {
    return nombre == "stDlgsCaptions" ? SeccionTraduccion::Dialogos : SeccionTraduccion::Cadenas;
}

} // namespace

TEST_F(Traduccion, TextoFollowsTheActiveLanguageAndIgnoresLetterCase) {
    // The main window asks for "HelpButton_caption"; the stored row is HelpButton_Caption.
    EstablecerIdiomaActivo(kEspanol);
    EXPECT_EQ(Texto("HelpButton_caption"), "Ayuda");
    EXPECT_EQ(Texto("HELPBUTTON_CAPTION"), "Ayuda");
    EXPECT_EQ(TextoDialogo("Confirm"), "Confirmar");
    EstablecerIdiomaActivo(kIngles);
    EXPECT_EQ(Texto("HelpButton_caption"), "Help");
    EXPECT_EQ(TextoDialogo("confirm"), "Confirm");
    EXPECT_EQ(Texto("HelpButton_caption", kEspanol), "Ayuda");
}

TEST_F(Traduccion, MissingKeysGiveEmptyTextsAndEmptyTextsFallBackToSpanish) {
    for (int idioma : {kEspanol, kIngles}) {
        EstablecerIdiomaActivo(idioma);
        EXPECT_EQ(Texto("clave_que_no_existe"), "");
        EXPECT_EQ(Texto(""), "");
        EXPECT_EQ(Texto("Confirm"), "") << "a dialog key is not a program text";
        EXPECT_EQ(TextoDialogo("addbutton_caption"), "") << "a program key is not a dialog text";
    }
    // "Network" has an empty English text; the colour-dialog rows have an empty Spanish one.
    EXPECT_EQ(TextoDialogo("Network", kIngles), "Network");
    EXPECT_EQ(TextoDialogo("Hue:", kEspanol), "");
    EXPECT_EQ(TextoDialogo("Hue:", kIngles), "Hue:");
}

TEST_F(Traduccion, ActiveLanguageIsAlwaysSpanishOrEnglish) {
    const std::pair<int, int> casos[] = {{1, 1}, {2, 2}, {0, 1}, {3, 1}, {-1, 1}, {258, 1}};
    for (auto [pedido, activo] : casos) {
        EstablecerIdiomaActivo(kIngles);
        EstablecerIdiomaActivo(pedido);
        EXPECT_EQ(IdiomaActivo(), activo) << pedido;
    }
}

TEST(TablaTraducciones, StoredBlockHasEverySectionInOrderWithCrLfLines) {
    const std::vector<std::string> lineas = [] {
        std::vector<std::string> l;
        std::string_view bloque = BloqueTraducciones();
        for (std::size_t fin; (fin = bloque.find("\r\n")) != std::string_view::npos;
             bloque.remove_prefix(fin + 2))
            l.emplace_back(bloque.substr(0, fin));
        l.emplace_back(bloque);
        return l;
    }();
    std::vector<std::string> secciones;
    for (const std::string& linea : lineas) {
        EXPECT_EQ(linea.find_first_of("\r\n"), std::string::npos) << "a bare CR or LF in: " << linea;
        if (linea.find('\x01') == std::string::npos) {
            secciones.push_back(linea);
            continue;
        }
        EXPECT_EQ(std::count(linea.begin(), linea.end(), '\x01'), 3) << linea;
        EXPECT_EQ(linea.back(), '\x01') << linea;
    }
    const std::vector<std::string> esperadas = {
        "stCaptions", "stHints",        "stDisplayLabels", "stFonts",       "stMultiLines", "stDlgsCaptions",
        "stStrings",  "stOtherStrings", "stLocales",       "stCollections", "stCharSets"};
    EXPECT_EQ(secciones, esperadas);
}

// Every quoted text is stored byte for byte in Windows-1252, odd blanks, non-breaking spaces and
// control characters included, and the rows keep their stored order.
TEST(TablaTraducciones, RowsMatchTheQuotedTextsByteForByte) {
    const std::vector<ClaveCitada> claves = ClavesCitadas();
    ASSERT_FALSE(claves.empty());
    std::size_t filasCitadas[2] = {0, 0};
    for (const ClaveCitada& c : claves) {
        const SeccionTraduccion seccion = SeccionDe(c.seccion);
        const std::vector<FilaTraduccion>& filas = FilasTraduccion(seccion);
        ++filasCitadas[static_cast<int>(seccion)];
        ASSERT_LE(c.orden, filas.size()) << c.clave;
        const FilaTraduccion& fila = filas[c.orden - 1];
        EXPECT_EQ(fila.clave, c.clave);
        if (c.citados == "both") {
            EXPECT_EQ(fila.espanol, Utf8ToCp1252(c.espanol)) << c.clave;
        }
        if (c.citados != "none") {
            EXPECT_EQ(fila.ingles, Utf8ToCp1252(c.ingles)) << c.clave;
        }
    }
    EXPECT_EQ(FilasTraduccion(SeccionTraduccion::Cadenas).size(), filasCitadas[0]);
    EXPECT_EQ(FilasTraduccion(SeccionTraduccion::Dialogos).size(), filasCitadas[1]);

    // The odd bytes themselves, in case the quotations lost them on their way.
    EXPECT_NE(Texto("armlabelcaption", kIngles).find(std::string("Technical ") + '\x1A' + "Department"),
              std::string::npos);
    EXPECT_NE(Texto("grafico1title", kIngles).find(std::string("Power") + '\xA0' + "consumption"),
              std::string::npos);
    EXPECT_EQ(Texto("tipocalculo", kEspanol), " Tipo de c\xE1lculo ");
    EXPECT_NE(Texto("label13_caption", kIngles).find('\x80'), std::string::npos) << "euro sign";
}

TEST(TablaTraducciones, TextsThatTheTableSuppliesItself) {
    // The maker's notice line is the same in both languages; every standard-dialog row that the
    // program may show has a Spanish text unless its Spanish is meant to be empty.
    const std::string aviso = Texto("keltu_address", kEspanol);
    EXPECT_FALSE(aviso.empty());
    EXPECT_EQ(Texto("keltu_address", kIngles), aviso);
    for (const ClaveCitada& c : ClavesCitadas()) {
        if (c.seccion == "stDlgsCaptions" && c.citados == "english") {
            EXPECT_FALSE(TextoDialogo(c.clave, kEspanol).empty()) << c.clave;
        }
    }
}

// Every key that the sources ask for by a literal exists in its section, so a misspelt key cannot
// silently show an empty caption.
TEST(TablaTraducciones, EveryKeyTheSourcesAskForExists) {
    // Texto and TextoDialogo, and their QString forms TextoQt and TextoDialogoQt.
    const std::regex llamada(R"re(\b(Texto|TextoDialogo)(?:Qt)?\s*\(\s*"([^"]*)")re");
    const std::regex mensaje(R"re(TipoMensaje::\w+\s*,\s*"([^"]*)")re");
    std::set<std::string> vistas;
    for (const auto& entrada : std::filesystem::recursive_directory_iterator(TARVIK_SOURCE_DIR "/src")) {
        const std::string ext = entrada.path().extension().string();
        if (!entrada.is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        const std::string fuente = LeerArchivo(entrada.path());
        const std::string donde = entrada.path().filename().string();
        for (std::sregex_iterator it(fuente.begin(), fuente.end(), llamada), fin; it != fin; ++it) {
            const std::string clave = (*it)[2];
            const bool esDialogo = (*it)[1] == "TextoDialogo";
            vistas.insert(clave);
            EXPECT_FALSE((esDialogo ? TextoDialogo(clave, kIngles) : Texto(clave, kIngles)).empty())
                << donde << " asks for " << clave;
        }
        for (std::sregex_iterator it(fuente.begin(), fuente.end(), mensaje), fin; it != fin; ++it) {
            vistas.insert((*it)[1]);
            EXPECT_FALSE(Texto((*it)[1].str(), kIngles).empty()) << donde << " shows " << (*it)[1];
        }
    }
    EXPECT_TRUE(vistas.count("Confirm")) << "the scan missed the message box's own keys";
}
