#include "platform/ajustes_idioma.h"

#include "core/lang/idioma.h"
#include "core/lang/traduccion.h"

#include "soporte/ajustes_prueba.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace tarvik;

namespace {

// Each test gets an empty settings store of its own.
class AjustesIdioma : public ::testing::Test {
  protected:
    QString Archivo() const { return ajustes_.Archivo(); }
    static void Guardar(const QString& nombre, const QVariant& valor) {
        prueba::AjustesPrueba::Ajustes().setValue(nombre, valor);
    }

  private:
    prueba::AjustesPrueba ajustes_;
};

} // namespace

TEST_F(AjustesIdioma, ReadsWhatWasWrittenAndDefaultsWhenMissingOrNotANumber) {
    EXPECT_EQ(LeerEnteroAjuste(kAjusteIdioma, 7), 7);
    EscribirEnteroAjuste(kAjusteAutomatico, 0);
    EscribirEnteroAjuste(kAjusteIdioma, 2);
    EXPECT_TRUE(QFile::exists(Archivo()));
    EXPECT_EQ(LeerEnteroAjuste(kAjusteAutomatico, 1), 0);
    EXPECT_EQ(LeerEnteroAjuste(kAjusteIdioma, 1), 2);
    EscribirEnteroAjuste(kAjusteIdioma, -5);
    EXPECT_EQ(LeerEnteroAjuste(kAjusteIdioma, 1), -5);

    for (const QVariant& raro : {QVariant(QStringLiteral("abc")), QVariant(QStringLiteral("99999999999")),
                                 QVariant(QStringList{QStringLiteral("1"), QStringLiteral("2")})}) {
        Guardar(kAjusteIdioma, raro);
        EXPECT_EQ(LeerEnteroAjuste(kAjusteIdioma, 1), 1) << raro.toString().toStdString();
    }
}

TEST_F(AjustesIdioma, StartUpLanguageComesFromTheStoredSettings) {
    // With "auto" 0 the stored language decides whatever the system's language is.
    const std::pair<int, int> casos[] = {{kIngles, kIngles}, {kEspanol, kEspanol}, {3, kEspanol}};
    for (auto [guardado, esperado] : casos) {
        Guardar(kAjusteAutomatico, 256);
        Guardar(kAjusteIdioma, guardado);
        EXPECT_EQ(IdiomaAlArrancar(), esperado) << guardado;
    }
    Guardar(kAjusteAutomatico, 1);
    EXPECT_EQ(IdiomaAlArrancar(), IdiomaDelSistema(IdiomaInterfazSistema()));
}

// The system language is read once per process, so each case runs in a fresh copy of this program
// started with the case's locale.
TEST(IdiomaInterfazSistema, FirstInterfaceLanguageOfTheLocale) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QByteArray idiomas = qgetenv("LANGUAGE"), todo = qgetenv("LC_ALL");
    const std::pair<const char*, std::uint16_t> casos[] = {
        {"es_MX.UTF-8", 0x080A}, {"es_ES.UTF-8", 0x0C0A}, {"ca_ES.UTF-8", 0x0403}, {"C", 0}};
    for (auto [local, identificador] : casos) {
        qputenv("LANGUAGE", "");
        qputenv("LC_ALL", local);
        EXPECT_EXIT(std::exit(IdiomaInterfazSistema() == identificador ? 0 : 1), ::testing::ExitedWithCode(0),
                    "")
            << local;
    }
    qputenv("LANGUAGE", idiomas);
    qputenv("LC_ALL", todo);
}
