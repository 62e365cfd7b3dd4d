#include "app/app/arranque.h"

#include "app/app/medida_arranque.h"
#include "app/lang/caja_avisos.h"
#include "core/lang/traduccion.h"
#include "platform/ajustes_idioma.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QTimer>

// The pictures live in a static library, so their registration must be asked for by name.
static void CargarRecursos() {
    Q_INIT_RESOURCE(ventanas);
    Q_INIT_RESOURCE(icono);
}

namespace tarvik {
namespace {

constexpr int kEsperaPresentacion = 2000; // ms

// The program's icon in the sizes drawn for it.
QIcon IconoPrograma() {
    QIcon icono;
    for (const int lado : {16, 32, 48, 64})
        icono.addFile(QStringLiteral(":/icono/tarvik-%1.png").arg(lado), QSize(lado, lado));
    return icono;
}

// Waits while the windows keep being painted and answered.
void Esperar(int milisegundos) {
    QEventLoop bucle;
    // A precise timer: a long interval would otherwise be free to end some percent early or late.
    QTimer::singleShot(milisegundos, Qt::PreciseTimer, &bucle, &QEventLoop::quit);
    bucle.exec();
}

} // namespace

Ventanas CrearVentanas(Sesion& sesion, bool presentacion) {
    CargarRecursos();
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));
    QApplication::setWindowIcon(IconoPrograma());
    Ventanas v;
    v.mainform = std::make_unique<Tmainform>(sesion);
    medida::Marcar("principal");
    if (presentacion) {
        v.present = std::make_unique<TwPresent>();
        v.present->show();
        v.present->repaint();
        QCoreApplication::processEvents();
        medida::Marcar("presentacion");
    }
    QWidget* padre = v.mainform.get();
    v.edicion = new Tedicion(padre);
    v.totales = new TWTotales(sesion, padre);
    v.resultados = new TWResult(sesion, padre);
    v.grafico = new TWGrafico1(sesion, padre);
    v.opciones = new Twopciones(padre);
    v.totales->EstablecerGrafico(v.grafico);
    v.mainform->Conectar(v.edicion, v.totales, v.resultados, v.opciones);
    medida::Marcar("ventanas");
    return v;
}

int EjecutarTarvik(QApplication& aplicacion) {
    Sesion sesion;
    sesion.rutas =
        Rutas::DesdePrograma(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());

    // The language is chosen before any window fetches a caption; the message boxes speak it.
    EstablecerIdiomaActivo(IdiomaAlArrancar());
    CajaAvisos cajas;
    const Reemplazo<Avisos> reemplazo(cajas);
    medida::Marcar("idioma");

    Ventanas ventanas = CrearVentanas(sesion, true);
    Esperar(kEsperaPresentacion);
    medida::MarcarEspera();
    ventanas.present->close();
    medida::TerminarAlPintar(*ventanas.mainform);
    ventanas.mainform->show();

    // A billing file named on the command line opens at once.
    const QStringList argumentos = QCoreApplication::arguments();
    if (argumentos.size() > 1)
        ventanas.mainform->AbrirArchivo(argumentos.at(1));
    return aplicacion.exec();
}

} // namespace tarvik
