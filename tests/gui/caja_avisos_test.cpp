#include "app/lang/caja_avisos.h"

#include "core/lang/traduccion.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace tarvik;

namespace {

// What a box showed before the test answered it.
struct CajaVista {
    QString titulo;
    QString texto;
    QStringList botones;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
};

// Shows a message through the desktop boxes and answers the box from inside its event loop.
std::pair<Respuesta, CajaVista> Mostrar(TipoMensaje tipo,
                                        const std::function<void(QMessageBox&)>& responder) {
    CajaVista vista;
    QTimer espera;
    espera.setInterval(10);
    QObject::connect(&espera, &QTimer::timeout, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (caja == nullptr)
            return;
        espera.stop();
        vista = {caja->windowTitle(), caja->text(), {}, caja->icon()};
        for (QAbstractButton* boton : caja->buttons())
            vista.botones << boton->text();
        vista.botones.sort();
        responder(*caja);
        // A box that the answer left open fails the test instead of hanging it.
        QTimer::singleShot(2000, caja, [caja] {
            ADD_FAILURE() << "the box stayed open";
            caja->done(0);
        });
    });
    espera.start();
    CajaAvisos cajas;
    const Respuesta respuesta = cajas.Mostrar(tipo, QStringLiteral("¿Seguro?"));
    return {respuesta, vista};
}

void PulsarEscape(QMessageBox& caja) {
    QKeyEvent tecla(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&caja, &tecla);
}

void Cerrar(QMessageBox& caja) {
    caja.close();
}

void Pulsar(const QString& texto, QMessageBox& caja) {
    for (QAbstractButton* boton : caja.buttons())
        if (boton->text() == texto)
            boton->click();
}

} // namespace

TEST(CajaAvisos, TitleIconAndButtonsOfEachKindInEachLanguage) {
    struct Caso {
        int idioma;
        TipoMensaje tipo;
        QString titulo;
        QStringList botones; // sorted
        QMessageBox::Icon icono;
    };
    const Caso casos[] = {
        {kEspanol, TipoMensaje::Error, "Error", {"Aceptar"}, QMessageBox::Critical},
        {kEspanol, TipoMensaje::Informacion, "Información", {"Aceptar"}, QMessageBox::Information},
        {kEspanol, TipoMensaje::Confirmacion, "Confirmar", {"&No", "&Si"}, QMessageBox::Question},
        {kIngles, TipoMensaje::Error, "Error", {"OK"}, QMessageBox::Critical},
        {kIngles, TipoMensaje::Informacion, "Information", {"OK"}, QMessageBox::Information},
        {kIngles, TipoMensaje::Confirmacion, "Confirm", {"&No", "&Yes"}, QMessageBox::Question},
    };
    const int previo = IdiomaActivo();
    for (const Caso& c : casos) {
        EstablecerIdiomaActivo(c.idioma);
        const auto [respuesta, vista] = Mostrar(c.tipo, PulsarEscape);
        SCOPED_TRACE(c.titulo.toStdString());
        EXPECT_EQ(vista.titulo, c.titulo);
        EXPECT_EQ(vista.texto, QStringLiteral("¿Seguro?"));
        EXPECT_EQ(vista.botones, c.botones);
        EXPECT_EQ(vista.icono, c.icono);
        EXPECT_EQ(respuesta, c.tipo == TipoMensaje::Confirmacion ? Respuesta::No : Respuesta::Aceptar);
    }
    EstablecerIdiomaActivo(previo);
}

TEST(CajaAvisos, OnlyTheYesButtonConfirms) {
    const int previo = IdiomaActivo();
    EstablecerIdiomaActivo(kEspanol);
    EXPECT_EQ(Mostrar(TipoMensaje::Confirmacion, std::bind_front(Pulsar, "&Si")).first, Respuesta::Si);
    EXPECT_EQ(Mostrar(TipoMensaje::Confirmacion, std::bind_front(Pulsar, "&No")).first, Respuesta::No);
    EXPECT_EQ(Mostrar(TipoMensaje::Confirmacion, Cerrar).first, Respuesta::No);
    EXPECT_EQ(Mostrar(TipoMensaje::Confirmacion, PulsarEscape).first, Respuesta::No);
    EXPECT_EQ(Mostrar(TipoMensaje::Informacion, Cerrar).first, Respuesta::Aceptar);
    EstablecerIdiomaActivo(previo);
}
