#include "core/lang/traduccion.h"
#include "platform/grafico_consumo.h"
#include "platform/texto_qt.h"
#include "soporte/rotulos_grafico.h"

#include <gtest/gtest.h>

using namespace tarvik;

namespace {

const char* const kMeses[] = {"ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
                              "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};

} // namespace

TEST(GraficoConsumo, TheReportsMonthLabelsStayWholeAtAnyNumberOfReadings) {
    EstablecerIdiomaActivo(kEspanol);
    QStringList meses;
    for (const char* mes : kMeses)
        meses.append(DesdeAnsi(mes));
    std::vector<TLectura> lecturas;
    for (int n = 1; n <= 130; ++n) {
        TLectura l;
        l.mes = kMeses[(n - 1) % 12];
        l.kwht = 40000 + (n * 7919) % 20000;
        l.kvarh = 0.75 * l.kwht;
        lecturas.push_back(l);
        const auto escena = EscenaGraficoConsumo(lecturas, 400);
        const QStringList faltas = prueba::FaltasRotulos(*escena, meses, n);
        EXPECT_TRUE(faltas.isEmpty())
            << n << " readings: " << faltas.join(QStringLiteral("; ")).toStdString();
    }
}
