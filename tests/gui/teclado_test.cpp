// The keyboard on the main window: the standard keys of the commands, the keys of the readings
// list and the order in which Tab walks the inputs.

#include "gui/ayudas.h"

#include "app/study/entrada_numero.h"
#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace tarvik::prueba {
namespace {

// Runs `accion` on the first modal dialog that opens from now on. A key clicks its button a moment
// after the key, so the dialog is watched for until it appears.
class AlAbrirseDialogo {
  public:
    explicit AlAbrirseDialogo(std::function<void(QDialog&)> accion) {
        QObject::connect(&reloj_, &QTimer::timeout, [this, accion] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialogo)
                return;
            reloj_.stop();
            abierto = true;
            accion(*dialogo);
        });
        reloj_.start(5);
    }
    bool abierto = false;

  private:
    QTimer reloj_;
};

class Teclado : public ConVentanas {
  protected:
    void SetUp() override {
        ConVentanas::SetUp();
        ventanas.mainform->show();
    }

    QLineEdit* Empresa() const { return Control<QLineEdit>("cinstalacion"); }
    QListView* Lista() const { return Control<QListView>("lista"); }

    void Activar() {
        Tmainform* ventana = ventanas.mainform.get();
        ventana->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([ventana] { return QApplication::activeWindow() == ventana; }));
    }

    // Presses keys with the keyboard focus on `destino` and lets the pressed button act. The main
    // window is made active first, as a desktop does when a dialog over it closes.
    void Pulsar(QWidget* destino, const QKeySequence& teclas) {
        Activar();
        destino->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), destino);
        QTest::keySequence(destino, teclas);
        // A pressed button stays down for a moment, then clicks.
        const QList<QAbstractButton*> botones = ventanas.mainform->findChildren<QAbstractButton*>();
        EXPECT_TRUE(QTest::qWaitFor([&botones] {
            return std::none_of(botones.begin(), botones.end(),
                                [](QAbstractButton* b) { return b->isDown(); });
        }));
    }

    // What the commands asked for, in order: the message boxes' texts, the file dialogs' titles and
    // "help" for the help.
    QStringList Pedidos() const {
        QStringList pedidos;
        for (const AvisoMostrado& a : avisos.mostrados)
            pedidos << a.texto;
        for (const DialogoPedido& d : dialogos.pedidos)
            pedidos << d.titulo;
        for (std::size_t i = 0; i < dialogos.ayudas.size(); ++i)
            pedidos << QStringLiteral("help");
        return pedidos;
    }

    // Two readings in the list.
    void DosLecturas() {
        AnadirLectura(QStringLiteral("ENERO"), QStringLiteral("100"));
        AnadirLectura(QStringLiteral("FEBRERO"), QStringLiteral("200"));
    }
};

struct CasoAtajo {
    QKeySequence::StandardKey teclas;
    const char* boton;
    std::vector<Respuesta> respuestas;
    std::vector<QString> rutas;
    // The box's text or the dialog's title that the command shows (a translation key), or "help".
    const char* pedido;
};

TEST_F(Teclado, EachStandardKeyRunsItsCommandFromAnInput) {
    const CasoAtajo casos[] = {
        {QKeySequence::New, "newbutton", {Respuesta::No}, {}, "guardar_datos_anteriores"},
        {QKeySequence::Open, "openbutton", {}, {QString()}, "opendialog_caption"},
        {QKeySequence::Save, "guardarButton", {}, {QString()}, "savedialog_caption"},
        {QKeySequence::HelpContents, "HelpButton", {}, {}, nullptr},
        {QKeySequence::Quit, "salirbutton", {Respuesta::No}, {}, "salir_tarvik"},
    };
    for (const CasoAtajo& c : casos) {
        SCOPED_TRACE(c.boton);
        avisos.mostrados.clear();
        dialogos.pedidos.clear();
        dialogos.ayudas.clear();
        avisos.respuestas.assign(c.respuestas.begin(), c.respuestas.end());
        dialogos.rutas.assign(c.rutas.begin(), c.rutas.end());
        const QKeySequence teclas(c.teclas);
        const QString consejo = Boton(c.boton)->toolTip();
        if (teclas.isEmpty()) {
            // No keys on this platform (quitting under the Windows conventions, which the offscreen
            // platform follows): the button has none and its tooltip names none.
            EXPECT_TRUE(Boton(c.boton)->shortcut().isEmpty());
            EXPECT_FALSE(consejo.contains('(')) << consejo.toStdString();
            avisos.respuestas.clear();
            continue;
        }
        EXPECT_TRUE(consejo.endsWith(QStringLiteral("(%1)").arg(teclas.toString(QKeySequence::NativeText))))
            << consejo.toStdString();

        Pulsar(Empresa(), teclas);
        EXPECT_EQ(Pedidos(), QStringList{c.pedido ? TextoDe(c.pedido) : QStringLiteral("help")});
        EXPECT_TRUE(avisos.respuestas.empty());
        EXPECT_TRUE(dialogos.rutas.empty());
    }
    EXPECT_TRUE(ventanas.mainform->isVisible()) << "No to the exit question keeps the window";
}

TEST_F(Teclado, PrintKeysPrintOnlyWhileThePrintCommandIsEnabled) {
    const QKeySequence imprimir(QKeySequence::Print);
    ASSERT_FALSE(Boton("bimp")->isEnabled());
    Teclear(Empresa(), QStringLiteral("antes"));
    Pulsar(Empresa(), imprimir);
    EXPECT_TRUE(Pedidos().isEmpty());
    EXPECT_NE(sesion.Datos.empresa, "ANTES") << "the print job did not run";

    ASSERT_TRUE(ventanas.mainform->AbrirArchivo(TARVIK_SOURCE_DIR "/examples/bancos-400v-mensual.fac"));
    EnDialogoModal([](QDialog& d) { d.accept(); });
    Boton("resultButton")->click();
    ASSERT_TRUE(Boton("bimp")->isEnabled());
    Teclear(Empresa(), QStringLiteral("ahora"));

    // With a printer the print dialog asks for it; without one, the message says there is none.
    const bool hayImpresoras = !QPrinterInfo::availablePrinters().isEmpty();
    AlAbrirseDialogo cancelar([](QDialog& d) { d.reject(); });
    Pulsar(Empresa(), imprimir);
    EXPECT_EQ(cancelar.abierto, hayImpresoras);
    EXPECT_EQ(Pedidos(), hayImpresoras ? QStringList{} : QStringList{TextoDe("no_impresoras")});
    EXPECT_EQ(sesion.Datos.empresa, HaciaAnsi(Empresa()->text())) << "the print job refreshed the record";
}

TEST_F(Teclado, InsertEnterAndDeleteActOnTheReadingsList) {
    DosLecturas();

    AlAbrirseDialogo anadir([](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("mes"))->setText(QStringLiteral("MARZO"));
        d.accept();
    });
    Pulsar(Lista(), QKeySequence(Qt::Key_Insert));
    ASSERT_TRUE(anadir.abierto);
    ASSERT_EQ(sesion.Lecturas.size(), 3u);
    EXPECT_EQ(sesion.Lecturas[2].mes, "MARZO");

    for (const Qt::Key intro : {Qt::Key_Return, Qt::Key_Enter}) {
        Lista()->setCurrentIndex(Lista()->model()->index(1, 0));
        QString mostrado;
        AlAbrirseDialogo editar([&mostrado](QDialog& d) {
            mostrado = d.findChild<QLineEdit*>(QStringLiteral("mes"))->text();
            d.findChild<EntradaNumero*>(QStringLiteral("kwht"))->EstablecerTexto(QStringLiteral("250"));
            d.accept();
        });
        Pulsar(Lista(), QKeySequence(intro));
        ASSERT_TRUE(editar.abierto) << intro;
        EXPECT_EQ(mostrado, "FEBRERO") << "the editor shows the selected reading";
        EXPECT_EQ(sesion.Lecturas[1].kwht, 250);
        sesion.Lecturas[1].kwht = 200;
    }

    Lista()->setCurrentIndex(Lista()->model()->index(0, 0));
    avisos.respuestas = {Respuesta::Si};
    Pulsar(Lista(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(avisos.mostrados.back().texto, TextoDe("borrar_lectura"));
    ASSERT_EQ(sesion.Lecturas.size(), 2u);
    EXPECT_EQ(sesion.Lecturas[0].mes, "FEBRERO");
}

TEST_F(Teclado, TheListKeysLeaveTheReadingsAloneWhileAnotherInputHasTheFocus) {
    DosLecturas();
    Lista()->setCurrentIndex(Lista()->model()->index(1, 0));
    Teclear(Empresa(), QStringLiteral("acme"));
    Empresa()->setCursorPosition(0);
    const std::size_t mostrados = avisos.mostrados.size();
    AlAbrirseDialogo editor([](QDialog& d) { d.reject(); });
    for (const Qt::Key tecla : {Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Return})
        Pulsar(Empresa(), QKeySequence(tecla));
    EXPECT_FALSE(editor.abierto) << "no reading to add or change";
    EXPECT_EQ(avisos.mostrados.size(), mostrados) << "no question to delete";
    EXPECT_EQ(sesion.Lecturas.size(), 2u);
    EXPECT_EQ(Empresa()->text(), "CME") << "Delete went to the text";
}

// The control that holds the focus: a choice counts as its group.
QString Enfocado() {
    QWidget* w = QApplication::focusWidget();
    if (w == nullptr)
        return {};
    if (qobject_cast<QRadioButton*>(w) && qobject_cast<QGroupBox*>(w->parentWidget()))
        w = w->parentWidget();
    return w->objectName();
}

TEST_F(Teclado, TabWalksTheCustomerInputsThenTheMainChoicesInTheirOrder) {
    // Capacitor banks, so that no choice is disabled.
    Elegir("cBat_filter", 1);
    Activar();
    Empresa()->setFocus();
    const QStringList esperado = {
        "cinstalacion", "cusuario",     "cdireccion",   "cprovincia", "cministerio", "cfax",       "ctelf",
        "cBat_filter",  "cTipoCalculo", "ctemperatura", "cvoltaje",   "cfrecuencia", "cArmonicos", "lista"};
    QStringList recorrido = {Enfocado()};
    while (recorrido.size() < esperado.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        recorrido << Enfocado();
    }
    EXPECT_EQ(recorrido, esperado);

    // Shift+Tab walks back the same way.
    for (qsizetype i = esperado.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(Enfocado(), esperado[i]);
    }
}

} // namespace
} // namespace tarvik::prueba
