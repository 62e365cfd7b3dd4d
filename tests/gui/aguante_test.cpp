// A long run of random but valid user actions on the program's real windows: typing in the inputs
// panel, choices, readings added, changed and deleted through the editor, studies opened and saved,
// calculations with prices and lengths typed into the results tables, totals with their chart,
// options and the print dialog, with every message box, file dialog and text input answered at
// random.
// After each action the windows must agree with the session. The run is short by default;
// TARVIK_SOAK_ACCIONES sets the number of actions and TARVIK_SOAK_SEMILLA the seed.

#include "gui/ayudas.h"

#include "app/results/entrada_texto.h"
#include "app/study/lista_lecturas.h"
#include "app/study/panel_entradas.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <deque>
#include <map>
#include <random>

namespace tarvik::prueba {
namespace {

constexpr int kAccionesPorDefecto = 300;
constexpr unsigned kSemillaPorDefecto = 20241209;

unsigned Entorno(const char* nombre, unsigned porDefecto) {
    bool ok = false;
    const unsigned valor = qEnvironmentVariable(nombre).toUInt(&ok);
    return ok ? valor : porDefecto;
}

class Azar {
  public:
    explicit Azar(unsigned semilla) : motor_(semilla) {}
    int Entre(int a, int b) { return std::uniform_int_distribution<int>(a, b)(motor_); }
    bool Probable(int porCiento) { return Entre(1, 100) <= porCiento; }
    template <class T> const T& Uno(const std::vector<T>& v) {
        return v[static_cast<std::size_t>(Entre(0, static_cast<int>(v.size()) - 1))];
    }

    // Any text a user may type: letters, digits, signs, accented letters of Windows-1252 and some
    // characters it cannot hold.
    QString Texto(int largoMaximo) {
        static const QString kLetras =
            QStringLiteral("abcxyzABCXYZ0123456789 .,-+/%&'\"\\{}ñÑáéíóúüçÇ€œß¿¡ΩЖ中\t");
        QString t;
        for (int n = Entre(0, largoMaximo); n > 0; --n)
            t += kLetras[Entre(0, static_cast<int>(kLetras.size()) - 1)];
        return t;
    }
    // A number as a user types it: mostly whole numbers of a few digits, sometimes a sign, a
    // decimal separator, too many digits or something else.
    QString Numero() {
        switch (Entre(0, 9)) {
        case 0:
            return Texto(6);
        case 1:
            return QString::number(Entre(0, 9)) + QStringLiteral("9999999999");
        case 2:
            return QStringLiteral("-") + QString::number(Entre(0, 5000));
        case 3:
            return QStringLiteral("0,") + QString::number(Entre(0, 99));
        case 4:
            return QStringLiteral("0.") + QString::number(Entre(0, 99));
        default:
            return QString::number(Entre(0, Entre(0, 1) ? 999 : 999999));
        }
    }

  private:
    std::mt19937 motor_;
};

// Message boxes: a question gets Yes or No at random.
class AvisosAzar : public Avisos {
  public:
    explicit AvisosAzar(Azar& azar) : azar_(azar) {}
    Respuesta Mostrar(TipoMensaje tipo, const QString&) override {
        ++mostrados;
        if (tipo != TipoMensaje::Confirmacion)
            return Respuesta::Aceptar;
        return azar_.Probable(60) ? Respuesta::Si : Respuesta::No;
    }
    int mostrados = 0;

  private:
    Azar& azar_;
};

// File dialogs: a study saved before, an example, a file that is no study, a folder, a file that
// does not exist, or Cancel.
class DialogosAzar : public Dialogos {
  public:
    DialogosAzar(Azar& azar, const QString& carpeta) : azar_(azar), carpeta_(carpeta) {
        QFile basura(carpeta_.filePath(QStringLiteral("basura.fac")));
        basura.open(QIODevice::WriteOnly);
        basura.write("no es un estudio");
        for (const QString& e : QDir(QStringLiteral(TARVIK_SOURCE_DIR "/examples")).entryList({"*.fac"}))
            abribles_.push_back(QStringLiteral(TARVIK_SOURCE_DIR "/examples/") + e);
    }
    QString Abrir(QWidget*, const QString&, const QString&) override {
        std::vector<QString> rutas = abribles_;
        rutas.insert(rutas.end(), {carpeta_.filePath(QStringLiteral("basura.fac")), carpeta_.path(),
                                   carpeta_.filePath(QStringLiteral("falta.fac")), QString()});
        for (int i = 0; i < 3; ++i)
            rutas.push_back(Guardado(i));
        return azar_.Uno(rutas);
    }
    QString Guardar(QWidget*, const QString&, const QString&, const QString&) override {
        const QString rutas[] = {Guardado(azar_.Entre(0, 2)), carpeta_.path(),
                                 carpeta_.filePath(QStringLiteral("no/hay/carpeta.fac")), QString()};
        return rutas[azar_.Probable(70) ? 0 : azar_.Entre(1, 3)];
    }
    void MostrarAyuda(QWidget*, const QString&, int) override { ++ayudas; }
    std::optional<bool> ReemplazarLecturas(QWidget*, int, int) override {
        const std::optional<bool> respuestas[] = {true, false, std::nullopt};
        return respuestas[azar_.Entre(0, 2)];
    }
    int ayudas = 0;

  private:
    QString Guardado(int i) const { return carpeta_.filePath(QStringLiteral("estudio%1.fac").arg(i)); }
    Azar& azar_;
    QDir carpeta_;
    std::vector<QString> abribles_;
};

// The text-input dialog: Cancel, a number as typed, or any text.
class EntradaAzar : public EntradaTexto {
  public:
    explicit EntradaAzar(Azar& azar) : azar_(azar) {}
    std::optional<QString> Pedir(QWidget*, const QString&, const QString&, const QString&) override {
        ++pedidas;
        if (azar_.Probable(15))
            return std::nullopt;
        return azar_.Probable(75) ? azar_.Numero() : azar_.Texto(12);
    }
    int pedidas = 0;

  private:
    Azar& azar_;
};

class Aguante : public ConVentanas {
  protected:
    void SetUp() override {
        ConVentanas::SetUp();
        ventanas.mainform->show();
    }
    void TearDown() override {
        ventanas.mainform->hide();
        ConVentanas::TearDown();
    }

    template <class W> W* Hijo(QObject* padre, const QString& nombre) const {
        return padre->findChild<W*>(nombre);
    }
    // Whether a user could reach the control now.
    static bool Alcanzable(const QWidget* w) { return w && w->isVisible() && w->isEnabled(); }

    // Types into an input as the user would, often after emptying it, and usually leaves it.
    void Escribir(QWidget* entrada, const QString& texto) {
        if (azar.Probable(60))
            Vaciar(entrada);
        Teclear(entrada, texto);
        if (azar.Probable(85))
            Salir(entrada);
    }

    // Answers whichever modal window is open when the event loop next runs: the reading editor, the
    // results, the totals and the options get random use and are closed; any other window (the
    // chart, the print dialog) is closed at once.
    void AlAbrirseUnaVentana() {
        QTimer::singleShot(0, [this] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialogo)
                return;
            ++abiertas[dialogo->objectName().isEmpty()
                           ? QString::fromLatin1(dialogo->metaObject()->className())
                           : dialogo->objectName()];
            if (dialogo == ventanas.edicion)
                RellenarLectura(*dialogo);
            else if (dialogo == ventanas.resultados)
                UsarResultados(*dialogo);
            else if (dialogo == ventanas.totales)
                UsarTotales(*dialogo);
            else if (dialogo == ventanas.opciones)
                UsarOpciones(*dialogo);
            if (dialogo->isVisible())
                dialogo->reject();
        });
    }

    // Double-clicks cells of the three tables (the text input answers), turning pages between;
    // mostly the cells of prices and lengths, where a value can be typed.
    void UsarResultados(QDialog& d) {
        static const std::pair<const char*, std::vector<int>> kTablas[] = {
            {"tabla_capacitores", {5}}, {"tabla_trans", {3}}, {"tabla_conductor", {4, 6}}};
        auto* paginas = Hijo<QTabWidget>(&d, QStringLiteral("PageControl1"));
        for (int n = azar.Entre(0, 8); n > 0; --n) {
            const auto& [nombre, editables] = kTablas[azar.Entre(0, 2)];
            auto* tabla = Hijo<QTableWidget>(&d, QString::fromLatin1(nombre));
            if (!paginas->isTabVisible(paginas->indexOf(tabla->parentWidget())))
                continue;
            const int fila = azar.Probable(70) ? azar.Uno(editables) : azar.Entre(1, tabla->rowCount());
            const int columna = azar.Entre(0, tabla->columnCount() - 1);
            DobleClic(tabla, fila, columna);
        }
    }

    void UsarTotales(QDialog& d) {
        if (azar.Probable(40)) {
            AlAbrirseUnaVentana();
            Hijo<QAbstractButton>(&d, QStringLiteral("Button2"))->click();
        }
    }

    // Report sections ticked or not, the language following the system or chosen; closed by its
    // button or by Escape.
    void UsarOpciones(QDialog& d) {
        auto* secciones = Hijo<QListWidget>(&d, QStringLiteral("l"));
        for (int i = 0; i < secciones->count(); ++i)
            if (azar.Probable(30))
                secciones->item(i)->setCheckState(
                    secciones->item(i)->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        if (azar.Probable(20))
            Hijo<QCheckBox>(&d, QStringLiteral("CheckBoxLanguage"))->click();
        auto* idiomas = Hijo<QComboBox>(&d, QStringLiteral("siLangCombo"));
        if (idiomas->isEnabled() && azar.Probable(30))
            idiomas->setCurrentIndex(azar.Entre(0, idiomas->count() - 1));
        if (azar.Probable(50))
            Hijo<QAbstractButton>(&d, QStringLiteral("closebutton"))->click();
    }

    void RellenarLectura(QDialog& d) {
        if (azar.Probable(70))
            Escribir(Hijo<QLineEdit>(&d, QStringLiteral("mes")), azar.Texto(18));
        for (const char* campo : {"ano", "kwht", "kvarh", "mdr", "cpc", "rr", "it", "ia"})
            if (azar.Probable(50))
                Escribir(Hijo<QWidget>(&d, QString::fromLatin1(campo)), azar.Numero());
        Hijo<QAbstractButton>(&d, QString::fromLatin1(azar.Probable(80) ? "ok" : "cancel"))->click();
    }

    void SeleccionarLectura() {
        QListView* vista = ventanas.mainform->Panel()->Lista()->Vista();
        const int filas = vista->model()->rowCount();
        if (filas > 0 && azar.Probable(85))
            vista->setCurrentIndex(vista->model()->index(azar.Entre(0, filas - 1), 0));
    }

    void Pulsar(const char* nombre) {
        QAbstractButton* boton = Hijo<QAbstractButton>(ventanas.mainform.get(), QString::fromLatin1(nombre));
        ASSERT_NE(boton, nullptr) << nombre;
        if (Alcanzable(boton))
            boton->click();
    }

    struct Accion {
        const char* nombre;
        int peso;
        void (Aguante::*hacer)();
    };

    void TextoCliente() {
        static const char* const kEntradas[] = {"cinstalacion", "cusuario", "cdireccion", "cprovincia",
                                                "cministerio",  "cfax",     "ctelf"};
        Escribir(Hijo<QLineEdit>(ventanas.mainform.get(), QString::fromLatin1(kEntradas[azar.Entre(0, 6)])),
                 azar.Texto(azar.Probable(10) ? 120 : 16));
    }
    void NumeroPanel() {
        static const char* const kEntradas[] = {"choras", "ccoseno", "potencia_maxima", "ccpc"};
        auto* entrada =
            Hijo<QSpinBox>(ventanas.mainform.get(), QString::fromLatin1(kEntradas[azar.Entre(0, 3)]));
        if (!Alcanzable(entrada))
            return;
        if (azar.Probable(25))
            entrada->stepBy(azar.Entre(-3, 3));
        else
            Escribir(entrada, azar.Numero());
    }
    void Eleccion() {
        static const std::pair<const char*, int> kGrupos[] = {
            {"cBat_filter", 2}, {"cTipoCalculo", 2}, {"ctemperatura", 2}, {"cvoltaje", 3},
            {"cfrecuencia", 2}, {"cArmonicos", 2},   {"clectura", 2}};
        const auto& [grupo, opciones] = kGrupos[azar.Entre(0, 6)];
        auto* boton = Hijo<QRadioButton>(
            ventanas.mainform.get(),
            QStringLiteral("%1_%2").arg(QString::fromLatin1(grupo)).arg(azar.Entre(0, opciones - 1)));
        if (Alcanzable(boton))
            boton->click();
    }
    void Transformador() {
        auto* casilla = Hijo<QCheckBox>(ventanas.mainform.get(), QStringLiteral("ctienetransformador"));
        if (Alcanzable(casilla))
            casilla->click();
    }
    void Anadir() { Pulsar("addbutton"); }
    void Cambiar() {
        SeleccionarLectura();
        if (azar.Probable(50)) {
            Pulsar("editbutton");
        } else if (Alcanzable(ventanas.mainform->Panel()->Lista())) {
            emit ventanas.mainform->Panel()->Lista()->filaActivada();
        }
    }
    void Borrar() {
        SeleccionarLectura();
        Pulsar("delbutton");
    }
    void Nuevo() { Pulsar("newbutton"); }
    void Abrir() { Pulsar("openbutton"); }
    void Guardar() { Pulsar("guardarButton"); }
    void Totales() { Pulsar("Totalesbutton"); }
    void Calculos() { Pulsar("resultButton"); }
    void Imprimir() { Pulsar("bimp"); }
    void Opciones() { Pulsar("OptiosButton"); }
    void Ayuda() { Pulsar("HelpButton"); }
    void Cerrar() {
        Pulsar("salirbutton");
        if (!ventanas.mainform->isVisible())
            ventanas.mainform->show(); // the program is started again on the same windows
    }

    // Every action, by how often a user would take it.
    static const std::vector<Accion>& Acciones() {
        static const std::vector<Accion> kAcciones = {
            {"type a customer text", 10, &Aguante::TextoCliente},
            {"type or step a number", 10, &Aguante::NumeroPanel},
            {"choose", 14, &Aguante::Eleccion},
            {"own transformer", 2, &Aguante::Transformador},
            {"add a reading", 12, &Aguante::Anadir},
            {"change a reading", 6, &Aguante::Cambiar},
            {"delete a reading", 4, &Aguante::Borrar},
            {"new", 2, &Aguante::Nuevo},
            {"open", 3, &Aguante::Abrir},
            {"save", 3, &Aguante::Guardar},
            {"totals", 5, &Aguante::Totales},
            {"calculations", 10, &Aguante::Calculos},
            {"print", 2, &Aguante::Imprimir},
            {"options", 2, &Aguante::Opciones},
            {"help", 1, &Aguante::Ayuda},
            {"exit", 1, &Aguante::Cerrar},
        };
        return kAcciones;
    }

    const Accion& Elegida() {
        int total = 0;
        for (const Accion& a : Acciones())
            total += a.peso;
        int n = azar.Entre(1, total);
        for (const Accion& a : Acciones())
            if ((n -= a.peso) <= 0)
                return a;
        return Acciones().back();
    }

    // What must hold between actions.
    void Comprobar() const {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a window was left open";
        const Tmainform& w = *ventanas.mainform;
        EXPECT_EQ(w.Panel()->Lista()->Vista()->model()->rowCount(), static_cast<int>(sesion.Lecturas.size()));
        const bool porConsumo = w.Panel()->TipoCalculo() == 0;
        EXPECT_EQ(Boton("Totalesbutton")->isEnabled(), porConsumo && !sesion.Lecturas.empty());
        EXPECT_EQ(Boton("resultButton")->isEnabled(), !porConsumo || !sesion.Lecturas.empty());
        EXPECT_TRUE(!Boton("bimp")->isEnabled() || (sesion.calculoRealizado && !sesion.resultadosObsoletos));
        if (sesion.calculoRealizado) {
            EXPECT_EQ(sesion.ConductoresSeleccionados.size(), sesion.EquiposSeleccionados.size());
            for (const TEquipoSeleccionado& e : sesion.EquiposSeleccionados)
                EXPECT_TRUE(std::isfinite(e.precio) && std::isfinite(e.potencia)) << e.codigo;
            for (const TConductorSeleccionado& c : sesion.ConductoresSeleccionados)
                EXPECT_TRUE(std::isfinite(c.precio) && std::isfinite(c.longitud));
            for (const TTransformadorSeleccionado& t : sesion.TransformadoresSeleccionados)
                EXPECT_TRUE(std::isfinite(t.precio));
        }
    }

    const unsigned semilla = Entorno("TARVIK_SOAK_SEMILLA", kSemillaPorDefecto);
    Azar azar{semilla};
    AvisosAzar avisosAzar{azar};
    DialogosAzar dialogosAzar{azar, carpeta.path()};
    EntradaAzar entradaAzar{azar};
    Reemplazo<Avisos> reemplazoAvisos{avisosAzar};
    Reemplazo<Dialogos> reemplazoDialogos{dialogosAzar};
    Reemplazo<EntradaTexto> reemplazoEntrada{entradaAzar};
    std::map<QString, int> abiertas; // modal windows opened, by name
};

TEST_F(Aguante, RandomUserActionsKeepTheWindowsAndTheSessionInStep) {
    const unsigned acciones = Entorno("TARVIK_SOAK_ACCIONES", kAccionesPorDefecto);
    std::printf("soak: %u actions, seed %u (TARVIK_SOAK_SEMILLA)\n", acciones, semilla);
    std::fflush(stdout);
    std::deque<const char*> ultimas; // the last actions, shown with a failure
    for (unsigned i = 0; i < acciones; ++i) {
        const Accion& accion = Elegida();
        ultimas.push_back(accion.nombre);
        if (ultimas.size() > 8)
            ultimas.pop_front();
        AlAbrirseUnaVentana();
        (this->*accion.hacer)();
        QApplication::processEvents();
        std::string traza = "seed " + std::to_string(semilla) + ", action " + std::to_string(i) + ":";
        for (const char* a : ultimas)
            traza += std::string(" / ") + a;
        SCOPED_TRACE(traza);
        Comprobar();
        if (HasFailure())
            return;
    }
    std::printf("soak: %d message boxes, %d values typed into the results, %zu readings at the end\n",
                avisosAzar.mostrados, entradaAzar.pedidas, sesion.Lecturas.size());
    for (const auto& [nombre, veces] : abiertas)
        std::printf("soak: %s opened %d times\n", qPrintable(nombre), veces);
}

} // namespace
} // namespace tarvik::prueba
