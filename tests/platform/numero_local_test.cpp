// Reading the numbers that the user types in the results window.

#include "platform/numero_local.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarvik {
namespace {

const QLocale kEspana(QLocale::Spanish, QLocale::Spain);
const QLocale kEstadosUnidos(QLocale::English, QLocale::UnitedStates);

struct CasoNumero {
    const char* texto;
    std::optional<float> espanol;
    std::optional<float> ingles;
};

class Numeros : public ::testing::TestWithParam<CasoNumero> {};

TEST_P(Numeros, AreDecimalsOfTheLocaleOrNothing) {
    const CasoNumero caso = GetParam();
    EXPECT_EQ(DecimalDeTexto(QString::fromUtf8(caso.texto), kEspana), caso.espanol) << caso.texto;
    EXPECT_EQ(DecimalDeTexto(QString::fromUtf8(caso.texto), kEstadosUnidos), caso.ingles) << caso.texto;
}

constexpr std::nullopt_t kNo = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Casos, Numeros,
    ::testing::Values(CasoNumero{"1500", 1500.0f, 1500.0f}, CasoNumero{"0", 0.0f, 0.0f},
                      CasoNumero{"12,5", 12.5f, kNo}, CasoNumero{"12.5", kNo, 12.5f},
                      // Stored as the float nearest the decimal, not the double.
                      CasoNumero{"12,3", 12.3f, kNo}, CasoNumero{",5", 0.5f, kNo},
                      CasoNumero{"7.", kNo, 7.0f}, CasoNumero{"-3,25", -3.25f, kNo},
                      CasoNumero{"+2", 2.0f, 2.0f}, CasoNumero{" 42 ", 42.0f, 42.0f},
                      // Thousands separators of either locale.
                      CasoNumero{"1.500", kNo, 1.5f}, CasoNumero{"1,500", 1.5f, kNo},
                      CasoNumero{"1.500,5", kNo, kNo}, CasoNumero{"1,500.5", kNo, kNo},
                      CasoNumero{"1 500", kNo, kNo}, CasoNumero{"12,5,3", kNo, kNo},
                      // Not decimals at all.
                      CasoNumero{"", kNo, kNo}, CasoNumero{" ", kNo, kNo}, CasoNumero{"-", kNo, kNo},
                      CasoNumero{",", kNo, kNo}, CasoNumero{".", kNo, kNo}, CasoNumero{"abc", kNo, kNo},
                      CasoNumero{"12a", kNo, kNo}, CasoNumero{"nan", kNo, kNo}, CasoNumero{"NaN", kNo, kNo},
                      CasoNumero{"inf", kNo, kNo}, CasoNumero{"-infinity", kNo, kNo},
                      CasoNumero{"0x10", kNo, kNo}, CasoNumero{"1e3", kNo, kNo}, CasoNumero{"2E-1", kNo, kNo},
                      CasoNumero{"--1", kNo, kNo}, CasoNumero{"€5", kNo, kNo}, CasoNumero{"٣", kNo, kNo},
                      // Beyond the range of a float (about 3.4e38).
                      CasoNumero{"340282356779733661637539395458142568448", kNo, kNo},
                      CasoNumero{"340282346638528859811704183484516925440", 3.4028234663852886e38f,
                                 3.4028234663852886e38f}));

TEST(SeparadorDecimal, IsTheLocalesSingleCharacter) {
    EXPECT_EQ(SeparadorDecimal(kEspana), ',');
    EXPECT_EQ(SeparadorDecimal(kEstadosUnidos), '.');
    EXPECT_EQ(SeparadorDecimal(QLocale::c()), '.');
}

} // namespace
} // namespace tarvik
