#include "gui/ayudas.h"

#include "app/study/entrada_numero.h"
#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

namespace tarvik::prueba {

Respuesta AvisosPrueba::Mostrar(TipoMensaje tipo, const QString& texto) {
    mostrados.push_back({tipo, texto});
    if (tipo != TipoMensaje::Confirmacion)
        return Respuesta::Aceptar;
    if (respuestas.empty()) {
        ADD_FAILURE() << "unexpected question: " << texto.toStdString();
        return Respuesta::No;
    }
    const Respuesta r = respuestas.front();
    respuestas.pop_front();
    return r;
}

QString DialogosPrueba::Siguiente() {
    if (rutas.empty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return {};
    }
    const QString r = rutas.front();
    rutas.pop_front();
    return r;
}

QString DialogosPrueba::Abrir(QWidget*, const QString& titulo, const QString& filtro) {
    pedidos.push_back({titulo, filtro, {}});
    return Siguiente();
}

QString DialogosPrueba::Guardar(QWidget*, const QString& titulo, const QString& filtro,
                                const QString& sufijo) {
    pedidos.push_back({titulo, filtro, sufijo});
    return Siguiente();
}

std::optional<bool> DialogosPrueba::ReemplazarLecturas(QWidget*, int actuales, int nuevas) {
    preguntas.emplace_back(actuales, nuevas);
    if (reemplazos.empty()) {
        ADD_FAILURE() << "unexpected question on imported readings";
        return std::nullopt;
    }
    const std::optional<bool> r = reemplazos.front();
    reemplazos.pop_front();
    return r;
}

bool Soltar(QWidget* destino, const QList<QUrl>& urls) {
    QMimeData datos;
    datos.setUrls(urls);
    datos.setText(urls.isEmpty() ? QString() : urls.first().toString());
    QDragEnterEvent entra(QPoint(5, 5), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(destino, &entra);
    if (!entra.isAccepted())
        return false;
    QDropEvent suelta(QPointF(5, 5), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(destino, &suelta);
    return suelta.isAccepted();
}

namespace {
void Tecla(QWidget* destino, int tecla, Qt::KeyboardModifiers modificadores, const QString& texto) {
    QKeyEvent pulsada(QEvent::KeyPress, tecla, modificadores, texto);
    QApplication::sendEvent(destino, &pulsada);
    QKeyEvent soltada(QEvent::KeyRelease, tecla, modificadores, texto);
    QApplication::sendEvent(destino, &soltada);
}
} // namespace

void Teclear(QWidget* entrada, const QString& texto) {
    for (const QChar c : texto) {
        const char16_t codigo = c.toUpper().unicode();
        Tecla(entrada, codigo <= 0xFF ? codigo : 0, Qt::NoModifier, QString(c));
    }
}

void Vaciar(QWidget* entrada) {
    Tecla(entrada, Qt::Key_A, Qt::ControlModifier, QString());
    Tecla(entrada, Qt::Key_Backspace, Qt::NoModifier, QString());
}

void Salir(QWidget* entrada) {
    QFocusEvent salida(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(entrada, &salida);
}

void DobleClic(QTableWidget* tabla, int fila, int columna) {
    QWidget* pagina = tabla->parentWidget();
    for (QWidget* w = pagina; w; w = w->parentWidget())
        if (auto* paginas = qobject_cast<QTabWidget*>(w))
            paginas->setCurrentWidget(pagina);
    QApplication::processEvents();
    const QModelIndex celda = tabla->model()->index(fila - 1, columna);
    tabla->scrollTo(celda);
    const QPoint centro = tabla->visualRect(celda).center();
    ASSERT_TRUE(tabla->viewport()->rect().contains(centro)) << fila << "," << columna;
    const auto enviar = [&](QEvent::Type tipo) {
        QMouseEvent e(tipo, centro, tabla->viewport()->mapToGlobal(centro), Qt::LeftButton,
                      tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tabla->viewport(), &e);
    };
    for (QEvent::Type tipo : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        enviar(tipo);
}

void EnDialogoModal(std::function<void(QDialog&)> accion) {
    QTimer::singleShot(0, [accion] {
        auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialogo) {
            ADD_FAILURE() << "no modal dialog open";
            return;
        }
        accion(*dialogo);
        if (dialogo->isVisible()) {
            ADD_FAILURE() << "the dialog was left open";
            dialogo->reject();
        }
    });
}

void ConVentanas::SetUp() {
    ASSERT_TRUE(carpeta.isValid());
    EstablecerIdiomaActivo(kEspanol);
    sesion.rutas = Rutas::DesdeCarpeta(TARVIK_BIN_DIR);
    ventanas = CrearVentanas(sesion, false);
}

void ConVentanas::TearDown() {
    ventanas = Ventanas{};
    EstablecerIdiomaActivo(kEspanol);
    EXPECT_TRUE(avisos.respuestas.empty()) << "answers left unused";
    EXPECT_TRUE(dialogos.rutas.empty()) << "file dialogs left unused";
}

void ConVentanas::Elegir(const char* grupo, int indice) const {
    auto* boton = ventanas.mainform->findChild<QRadioButton*>(QStringLiteral("%1_%2").arg(grupo).arg(indice));
    ASSERT_NE(boton, nullptr) << grupo << indice;
    boton->click();
}

void ConVentanas::AnadirLectura(const QString& mes, const QString& kwh) {
    EnDialogoModal([mes, kwh](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("mes"))->setText(mes);
        d.findChild<EntradaNumero*>(QStringLiteral("kwht"))->EstablecerTexto(kwh);
        d.accept();
    });
    Boton("addbutton")->click();
}

} // namespace tarvik::prueba
