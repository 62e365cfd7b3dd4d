#include "app/app/arranque.h"

#include "app/lang/caja_avisos.h"
#include "lang/traduccion.h"
#include "platform/ajustes_idioma.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFont>
#include <QTimer>

// The pictures live in a static library, so their registration must be asked for by name.
static void CargarRecursos() {
    Q_INIT_RESOURCE(ventanas);
}

namespace tarvik {
namespace {

constexpr int kEsperaPresentacion = 2000; // ms

// Waits while the windows keep being painted and answered.
void Esperar(int milisegundos) {
    QEventLoop bucle;
    QTimer::singleShot(milisegundos, &bucle, &QEventLoop::quit);
    bucle.exec();
}

} // namespace

Ventanas CrearVentanas(Sesion& sesion, bool presentacion) {
    CargarRecursos();
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));
    Ventanas v;
    v.mainform = std::make_unique<Tmainform>(sesion);
    if (presentacion) {
        v.present = std::make_unique<TwPresent>();
        v.present->show();
        v.present->repaint();
        QCoreApplication::processEvents();
    }
    QWidget* padre = v.mainform.get();
    v.edicion = new Tedicion(padre);
    v.totales = new TWTotales(sesion, padre);
    v.resultados = new TWResult(sesion, padre);
    v.grafico = new TWGrafico1(sesion, padre);
    v.opciones = new Twopciones(padre);
    v.mainform->Conectar(v.edicion, v.totales, v.resultados, v.opciones);
    return v;
}

int EjecutarTarvik(QApplication& aplicacion) {
    Sesion sesion;
    sesion.rutas =
        Rutas::DesdePrograma(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());

    // The language is chosen before any window fetches a caption; the message boxes speak it.
    EstablecerIdiomaActivo(IdiomaAlArrancar());
    CajaAvisos cajas;
    EstablecerAvisos(&cajas);

    Ventanas ventanas = CrearVentanas(sesion, true);
    Esperar(kEsperaPresentacion);
    ventanas.present->close();
    ventanas.mainform->show();

    // A billing file named on the command line opens at once.
    const QStringList argumentos = QCoreApplication::arguments();
    if (argumentos.size() > 1)
        ventanas.mainform->AbrirArchivo(argumentos.at(1));
    const int resultado = aplicacion.exec();
    EstablecerAvisos(nullptr);
    return resultado;
}

} // namespace tarvik
