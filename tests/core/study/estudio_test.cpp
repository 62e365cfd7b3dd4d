#include "core/study/estudio.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tarvik;

TEST(Estudio, RecogerDatosCutsTextsToTheirCapacities) {
    DatosPanel panel;
    panel.empresa = std::string(150, 'E');
    panel.direccion = std::string(120, 'D');
    panel.cliente = std::string(101, 'C');
    panel.fax = std::string(21, '9');
    panel.telefono = std::string(20, '8');
    TDatosEstudio datos;
    datos.version = 50;
    datos.reservado1 = 7;
    datos.reservado2 = 1234;
    RecogerDatos(panel, datos);
    EXPECT_EQ(datos.empresa, std::string(100, 'E'));
    EXPECT_EQ(datos.direccion, std::string(96, 'D'));
    EXPECT_EQ(datos.cliente, std::string(100, 'C'));
    EXPECT_EQ(datos.fax, std::string(20, '9'));
    EXPECT_EQ(datos.telefono, std::string(20, '8'));
    EXPECT_EQ(datos.reservado1, 0);
    EXPECT_EQ(datos.version, 50);      // set only when saved
    EXPECT_EQ(datos.reservado2, 1234); // carried from the last file read
}

TEST(Estudio, DesiredFactorIsStoredAsAFloatAndShownWithTwoDecimals) {
    DatosPanel panel;
    panel.cosenoDeseado = 0.95;
    TDatosEstudio datos;
    RecogerDatos(panel, datos);
    EXPECT_EQ(datos.cosenoDeseado, 0.95f);
    EXPECT_NE(static_cast<double>(datos.cosenoDeseado), 0.95);
    EXPECT_NEAR(datos.cosenoDeseado, 0.949999988, 1e-9);
    EXPECT_EQ(MostrarDatos(datos).cosenoDeseado, 0.95);
}

TEST(Estudio, NewStudyKeepsOnlyHarmonicsAndReadingType) {
    DatosPanel actual;
    actual.empresa = "EMPRESA";
    actual.tarifa = 8;
    actual.voltaje = 2;
    actual.horas = 500;
    actual.cosenoDeseado = 0.9;
    actual.armonicos = 1;
    actual.tipoLectura = 1;
    actual.temperatura = 1;
    actual.tipoCalculo = 1;
    actual.potenciaMaxima = 400;
    actual.tieneTransformador = true;
    actual.transformadorEntrada = 630;
    actual.equipos = 1;
    DatosPanel esperado;
    esperado.armonicos = 1;
    esperado.tipoLectura = 1;
    EXPECT_EQ(NuevoEstudio(actual), esperado);
    EXPECT_EQ(esperado.horas, 200);
    EXPECT_EQ(esperado.cosenoDeseado, 1.0);
    EXPECT_EQ(esperado.equipos, 0);
}

// Values from a file that no input can show are brought to the nearest one it can.
TEST(Estudio, MostrarDatosBringsValuesIntoTheInputsRange) {
    TDatosEstudio alto;
    alto.horas = 800;
    alto.voltaje = 5;
    alto.tarifa = 12;
    alto.seleccionModelo = 9;
    alto.armonicos = 2;
    alto.tipoLectura = 2;
    alto.frecuencia = 2;
    alto.temperatura = 7;
    alto.tipoCalculo = 2;
    alto.equipos = 3;
    alto.cosenoDeseado = 1.5f;
    DatosPanel esperado;
    esperado.horas = 744;
    esperado.voltaje = 2;
    esperado.tarifa = 8;
    esperado.seleccionModelo = 8;
    esperado.armonicos = 1;
    esperado.tipoLectura = 1;
    esperado.frecuencia = 1;
    esperado.temperatura = 1;
    esperado.tipoCalculo = 1;
    esperado.equipos = 1;
    esperado.cosenoDeseado = 1.0;
    EXPECT_EQ(MostrarDatos(alto), esperado);

    TDatosEstudio bajo;
    bajo.horas = -5;
    bajo.voltaje = -1;
    bajo.tarifa = -2;
    bajo.temperatura = -3; // no choice
    bajo.potenciaMaxima = -3;
    bajo.transformadorEntrada = -1;
    bajo.equipos = -4;
    bajo.cosenoDeseado = std::numeric_limits<float>::quiet_NaN();
    esperado = DatosPanel{};
    esperado.horas = 1;
    esperado.temperatura = -1;
    esperado.cosenoDeseado = 0.0;
    EXPECT_EQ(MostrarDatos(bajo), esperado);

    TDatosEstudio redondeo;
    redondeo.cosenoDeseado = 0.876f;
    EXPECT_EQ(MostrarDatos(redondeo).cosenoDeseado, 0.88);
}

TEST(Estudio, PeriodHoursAndReadingsPerYearFollowTheReadingType) {
    EXPECT_EQ(HorasPorPeriodo(200, 0), 200);
    EXPECT_EQ(HorasPorPeriodo(200, 1), 400);
    EXPECT_EQ(HorasPorPeriodo(std::numeric_limits<std::int32_t>::max(), 1),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(LecturasPorAno(0), 12);
    EXPECT_EQ(LecturasPorAno(1), 6);
}
