// The calculation report for a year of readings and for a very long study: laying the pages out
// on the recording writer, and the whole job into a PDF file. The cost per page should not grow
// with the length of the report.

#include "core/lang/traduccion.h"
#include "core/report/informe.h"
#include "core/report/recording_page_writer.h"
#include "platform/grafico_consumo.h"
#include "platform/informe_qt.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tarvik;

namespace {

// A calculated study of banks by consumption with `lecturas` readings.
Sesion Estudio(int lecturas) {
    Sesion s;
    s.rutas = Rutas::DesdeCarpeta(TARVIK_SOURCE_DIR);
    s.Datos.empresa = "TALLERES NORTE, S.L.";
    s.Datos.cliente = "ANA RUIZ";
    s.Datos.equipos = 1;
    for (int i = 0; i < lecturas; ++i) {
        TLectura l;
        l.mes = "MES " + std::to_string(i % 12 + 1);
        l.ano = 2000 + i / 12;
        l.kwht = 40000 + i % 7 * 1000;
        l.kvarh = 30000 + i % 5 * 1000;
        l.mdr = 120 + i % 9;
        l.coseno = 0.8;
        l.rr = 310 + i % 11;
        s.Lecturas.push_back(l);
        s.Analisis.kwhTotal += l.kwht;
        s.Analisis.kvarhTotal += l.kvarh;
    }
    s.Analisis.potenciaMaxima = 128;
    s.Analisis.cosenoMedio = 0.8;
    s.Analisis.cosenoDeseado = 0.98;
    s.EquiposSeleccionados = {{1, "JAD-400-100-R7S", "Jade", 1, 0, 100, 400, 5230.5, 102},
                              {1, "TRF-400-20", "Trafo", 0, 0, 20, 400, 280, 1000}};
    s.TransformadoresSeleccionados = {{"TI 250/5 cl.1 10VA", 250, 18, 400}};
    s.ConductoresSeleccionados = {{216.51, "95.00", 223, 4.5, 2, 1}, {43.3, "10.00", 57, 1.2, 2, 1}};
    return s;
}

const OpcionesInforme kOpciones{"09/12/2026", ','};

void InformeEnPaginas(benchmark::State& state) {
    const Sesion sesion = Estudio(static_cast<int>(state.range(0)));
    int paginas = 0;
    for (auto _ : state) {
        RecordingPageWriter w;
        ListaMensajes mensajes;
        w.setPictureSize((TARVIK_SOURCE_DIR "/dbf/Serie Jade.bmp"), {240, 288});
        w.setPictureSize((TARVIK_SOURCE_DIR "/dbf/Serie Trafo.bmp"), {240, 288});
        if (!EscribirInforme(w, sesion, kTodasLasSecciones, kOpciones, mensajes))
            state.SkipWithError("the report stopped");
        paginas = static_cast<int>(std::count_if(
            w.log().begin(), w.log().end(), [](const std::string& e) { return e.starts_with("page "); }));
        benchmark::DoNotOptimize(w.log().data());
    }
    state.counters["pages"] = paginas;
    state.counters["per_page"] = benchmark::Counter(paginas, benchmark::Counter::kIsIterationInvariantRate |
                                                                 benchmark::Counter::kInvert);
}

// The whole job into a PDF file. The second argument leaves the billing chart out: the chart of a
// long study is one page that costs as much as many pages of tables, so it is also measured apart.
void InformePdf(benchmark::State& state) {
    const Sesion sesion = Estudio(static_cast<int>(state.range(0)));
    const SeccionesInforme secciones{true, true, state.range(1) != 0};
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath("informe.pdf");
    int paginas = 0;
    for (auto _ : state) {
        QString error;
        if (!EscribirInformePdf(sesion, secciones, kOpciones, ruta, error))
            state.SkipWithError(error.toStdString().c_str());
        QFile pdf(ruta);
        pdf.open(QIODevice::ReadOnly);
        paginas = static_cast<int>(pdf.readAll().count("/Type /Page\n"));
    }
    state.counters["pages"] = paginas;
    state.counters["per_page"] = benchmark::Counter(paginas, benchmark::Counter::kIsIterationInvariantRate |
                                                                 benchmark::Counter::kInvert);
}

// The billing chart alone, built and drawn into a vector picture as the report records it, and the
// same picture played into a PDF page: the part of the chart's page that grows with the readings.
void GraficoConsumo(benchmark::State& state) {
    const Sesion sesion = Estudio(static_cast<int>(state.range(0)));
    const QRectF destino(0, 0, kLadoGrafico, kLadoGrafico);
    for (auto _ : state) {
        QPicture dibujo;
        QPainter pintor(&dibujo);
        DibujarGraficoConsumo(sesion.Lecturas, kLadoGrafico, pintor, destino);
        pintor.end();
        if (state.range(1) != 0) {
            QBuffer salida;
            salida.open(QIODevice::WriteOnly);
            QPdfWriter pdf(&salida);
            QPainter pagina(&pdf);
            pagina.drawPicture(0, 0, dibujo);
        }
        benchmark::DoNotOptimize(dibujo.size());
    }
}

} // namespace

BENCHMARK(GraficoConsumo)
    ->ArgsProduct({{12, 1000, 10000}, {0, 1}})
    ->ArgNames({"lecturas", "pdf"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(InformeEnPaginas)->Arg(12)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(InformePdf)
    ->ArgsProduct({{12, 1000, 10000}, {1, 0}})
    ->ArgNames({"lecturas", "grafico"})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    EstablecerIdiomaActivo(kEspanol);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
