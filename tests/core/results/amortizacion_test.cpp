#include "core/results/amortizacion.h"

#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tarvik;

namespace {

// Two banks of 4200 € (the bank's conductor 20 m at 12 €/m) and a transformer capacitor of 310 €
// (its conductor's length never entered) at 400 V; a 150 € current transformer, counted twice,
// the banks' quantity.
Sesion Priced() {
    Sesion s;
    TEquipoSeleccionado banco;
    banco.cantidad = 2;
    banco.precio = 4200;
    banco.tension = 400;
    TEquipoSeleccionado fijo;
    fijo.cantidad = 1;
    fijo.precio = 310;
    fijo.tension = 400;
    fijo.tipo = 1;
    s.EquiposSeleccionados = {banco, fijo};
    TTransformadorSeleccionado ti;
    ti.intensidad = 400;
    ti.tension = 400;
    ti.precio = 150;
    s.TransformadoresSeleccionados = {ti};
    TConductorSeleccionado medido;
    medido.longitud = 20;
    medido.precio = 12;
    s.ConductoresSeleccionados = {medido, TConductorSeleccionado{}};
    return s;
}

struct Caso {
    const char* nombre;
    std::function<void(Sesion&)> cambio;
    std::int32_t tarifa;
    double recargoAnual;
    const char* inversion; // C locale, Spanish
    const char* anos;
    const char* anosIngles;
};

TEST(Amortizacion, InvestmentOverTheYearlySurchargeOrWhyThereIsNoFigure) {
    const auto nada = [](Sesion&) {};
    const Caso casos[] = {
        {"everything priced: 8400 + 310 + 2 x 150 + 20 x 12", nada, 0, 1200, "9250", "7.7", "7.7"},
        {"a bank price typed in the results window",
         [](Sesion& s) { s.EquiposSeleccionados[0].precio = 1000; }, 0, 1200, "2850", "2.4", "2.4"},
        {"a bank on request", [](Sesion& s) { s.EquiposSeleccionados[0].precio = 0; }, 0, 1200, "Consultar",
         "Consultar", "On request"},
        {"a current transformer without a price",
         [](Sesion& s) { s.TransformadoresSeleccionados[0].precio = 0; }, 0, 1200, "Consultar", "Consultar",
         "On request"},
        {"a conductor length without a price", [](Sesion& s) { s.ConductoresSeleccionados[1].longitud = 3; },
         0, 1200, "Consultar", "Consultar", "On request"},
        {"another series on request: the quoted one is offered",
         [](Sesion& s) {
             s.EquiposSeleccionados.push_back(s.EquiposSeleccionados[0]);
             s.EquiposSeleccionados.back().precio = 0;
             s.ConductoresSeleccionados.emplace_back();
         },
         0, 1200, "9250", "7.7", "7.7"},
        {"a cheaper series, its conductor unmeasured: 5000 + 310 + 300",
         [](Sesion& s) {
             s.EquiposSeleccionados.push_back(s.EquiposSeleccionados[0]);
             s.EquiposSeleccionados.back().cantidad = 1;
             s.EquiposSeleccionados.back().precio = 5000;
             s.ConductoresSeleccionados.emplace_back();
         },
         0, 1200, "5610", "4.7", "4.7"},
        {"two transformer capacitors: the cheaper",
         [](Sesion& s) {
             s.EquiposSeleccionados.push_back(s.EquiposSeleccionados[1]);
             s.EquiposSeleccionados.back().precio = 200;
         },
         0, 1200, "9140", "7.6", "7.6"},
        {"no surcharge", nada, 0, 0, "9250", "\x97", "\x97"},
        {"no surcharge and a price on request", [](Sesion& s) { s.EquiposSeleccionados[1].precio = 0; }, 0, 0,
         "Consultar", "\x97", "\x97"},
        {"the transformer capacitor's conductor under tariff 1.1",
         [](Sesion& s) {
             s.CondensadorTrafo.longitudConductor = 10;
             s.CondensadorTrafo.precioConductor = 5;
         },
         kTarifa11, 1200, "9300", "7.8", "7.8"},
        {"that conductor is not part of other tariffs",
         [](Sesion& s) {
             s.CondensadorTrafo.longitudConductor = 10;
             s.CondensadorTrafo.precioConductor = 0;
         },
         3, 1200, "9250", "7.7", "7.7"},
    };
    for (const Caso& c : casos) {
        Sesion s = Priced();
        c.cambio(s);
        const Amortizacion a = CalcularAmortizacion(s, c.tarifa, c.recargoAnual);
        EXPECT_EQ(TextoInversion(a, '.', kEspanol), c.inversion) << c.nombre;
        EXPECT_EQ(TextoAmortizacion(a, '.', kEspanol), c.anos) << c.nombre;
        EXPECT_EQ(TextoAmortizacion(a, '.', kIngles), c.anosIngles) << c.nombre;
    }
}

TEST(Amortizacion, OneDecimalInTheUsersLocale) {
    const Amortizacion a = CalcularAmortizacion(Priced(), 0, 1000);
    EXPECT_DOUBLE_EQ(a.anos, 9.25);
    EXPECT_EQ(TextoAmortizacion(a, ',', kEspanol), "9,2"); // 9.25 is a tie on its binary value: to even
    EXPECT_EQ(Cp1252ToUtf8(TextoAmortizacion(CalcularAmortizacion(Priced(), 0, 0), ',', kIngles)), "—");
}

} // namespace
