#include "core/lang/idioma.h"
#include "core/lang/traduccion.h"

#include <gtest/gtest.h>

using namespace tarvik;

namespace {
constexpr std::uint32_t kEspana = 0x0C0A;
constexpr std::uint32_t kFrancia = 0x040C;
} // namespace

TEST(IdiomaDelSistema, AnySpanishVariantIsSpanishEverythingElseEnglish) {
    const std::pair<std::uint32_t, int> casos[] =
        {
            {0x0C0A, kEspanol},     {0x080A, kEspanol}, {0x040A, kEspanol},
            {0x580A, kEspanol},     {0x0403, kIngles},  {0x040C, kIngles},
            {0x0409, kIngles},      {0, kIngles},       {0x010A, kEspanol}, // only the lowest byte counts
            {0x0000040A, kEspanol},
        };
    for (auto [identificador, idioma] : casos)
        EXPECT_EQ(IdiomaDelSistema(identificador), idioma) << std::hex << identificador;
}

TEST(ElegirIdiomaInicial, SettingsAgainstTheSystemLanguage) {
    struct Caso {
        const char* nombre;
        std::uint32_t sistema;
        std::optional<std::int32_t> automatico, idioma;
        int esperado;
    };
    const Caso casos[] = {
        {"nothing stored, Spain", kEspana, {}, {}, kEspanol},
        {"nothing stored, Mexico", 0x080A, {}, {}, kEspanol},
        {"nothing stored, Spain traditional", 0x040A, {}, {}, kEspanol},
        {"nothing stored, Catalan", 0x0403, {}, {}, kIngles},
        {"nothing stored, French", kFrancia, {}, {}, kIngles},
        {"nothing stored, no system language", 0, {}, {}, kIngles},
        {"auto follows the system over a fixed language", kEspana, 1, kIngles, kEspanol},
        {"auto 0 fixes English on a Spanish system", kEspana, 0, kIngles, kIngles},
        {"auto 0 fixes Spanish on a French system", kFrancia, 0, kEspanol, kEspanol},
        {"auto 0 without language follows Spain", kEspana, 0, {}, kEspanol},
        {"auto 0 without language follows France", kFrancia, 0, {}, kIngles},
        {"auto 256 counts as 0", kEspana, 256, kIngles, kIngles},
        {"auto -256 counts as 0", kEspana, -256, kIngles, kIngles},
        {"auto 257 counts as set", kEspana, 257, kIngles, kEspanol},
        {"language 3 leaves Spanish", kFrancia, 0, 3, kEspanol},
        {"language 0 leaves Spanish", kFrancia, 0, 0, kEspanol},
        {"language -1 leaves Spanish", kFrancia, 0, -1, kEspanol},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(ElegirIdiomaInicial(c.sistema, c.automatico, c.idioma), c.esperado) << c.nombre;
}

TEST(IdentificadorDeEtiqueta, LanguageTagsToWindowsIdentifiers) {
    const std::pair<const char*, std::uint16_t> casos[] = {
        {"es-ES", 0x0C0A},
        {"es-MX", 0x080A},
        {"es_AR", 0x2C0A},
        {"es-419", 0x580A},
        {"es", 0x040A},
        {"ES-es", 0x0C0A},
        {"es-Latn-MX", 0x080A},
        {"es-XX", 0x040A},
        {"ca-ES", 0x0403},
        {"fr-FR", 0x040C},
        {"en-US", 0x0409},
        {"en-GB", 0x0409},
        {"eu", 0x042D},
        {"gl-ES", 0x0456},
        {"C", 0},
        {"", 0},
        {"tlh", 0},
        {"-", 0},
    };
    for (auto [etiqueta, identificador] : casos)
        EXPECT_EQ(IdentificadorDeEtiqueta(etiqueta), identificador) << etiqueta;
}
