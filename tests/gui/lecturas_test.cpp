// The readings table and the reading editor.

#include "gui/ayudas.h"

#include "app/study/entrada_numero.h"
#include "app/study/lista_lecturas.h"
#include "app/study/panel_entradas.h"
#include "platform/archivo_estudio.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>

namespace tarvik::prueba {
namespace {

class Lecturas : public ConVentanas {
  protected:
    ListaLecturas* Lista() const { return ventanas.mainform->Panel()->Lista(); }
    void Seleccionar(int fila) const {
        QListView* vista = Lista()->Vista();
        vista->setCurrentIndex(vista->model()->index(fila, 0));
    }
    // Opens a study holding these readings, as read from a billing file.
    void Cargar(const std::vector<TLectura>& lecturas) {
        ASSERT_TRUE(GuardarFacturacion(Ruta("l.fac").toStdString(), TDatosEstudio{}, lecturas).ok);
        ASSERT_TRUE(ventanas.mainform->AbrirArchivo(Ruta("l.fac")));
    }
    static EntradaNumero* Entrada(QDialog& d, const char* nombre) {
        return d.findChild<EntradaNumero*>(QString::fromLatin1(nombre));
    }
    static QLineEdit* Mes(QDialog& d) { return d.findChild<QLineEdit*>(QStringLiteral("mes")); }
};

TEST_F(Lecturas, TheHeaderHasSixSectionsAndSomeWidthLimits) {
    QHeaderView* cabecera = Lista()->Cabecera();
    ASSERT_EQ(cabecera->count(), kSeccionesLecturas);
    const int anchos[] = {135, 87, 110, 95, 145, 229};
    for (int i = 0; i < kSeccionesLecturas; ++i) {
        EXPECT_EQ(cabecera->sectionSize(i), anchos[i]) << i;
        EXPECT_EQ(cabecera->model()->headerData(i, Qt::Horizontal).toString(),
                  TextoDe(("header_seccion_" + std::to_string(i)).c_str()));
    }
    EXPECT_FALSE(cabecera->sectionsClickable());
    struct Caso {
        int seccion;
        int pedido;
        int resultado;
    };
    for (const Caso c :
         {Caso{0, 20, 50}, Caso{0, 300, 150}, Caso{3, 120, 120}, Caso{4, 20, 20}, Caso{5, 400, 400}}) {
        cabecera->resizeSection(c.seccion, c.pedido);
        EXPECT_EQ(cabecera->sectionSize(c.seccion), c.resultado) << c.seccion << " " << c.pedido;
    }
}

TEST_F(Lecturas, RowsShowEachReadingRoundedToWholeNumbers) {
    TLectura l;
    l.mes = "ENERO";
    l.ano = 2023;
    l.kwht = 123.6;
    l.kvarh = -0.4;
    l.mdr = 1e3;
    l.cpc = 630;
    // Exact halves round to even, as the report prints them; a control character shows as a space.
    TLectura mitades;
    mitades.mes = "FEB\x1A"
                  "RERO";
    mitades.ano = 2023;
    mitades.kwht = 40122.5;
    mitades.kvarh = 40123.5;
    mitades.mdr = -0.5;
    mitades.cpc = 2.5;
    Cargar({l, mitades});
    const auto& modelo = static_cast<const ModeloLecturas&>(*Lista()->Vista()->model());
    const QStringList esperados[] = {{"ENERO", "2023", "124", "0", "1000", "630"},
                                     {"FEB RERO", "2023", "40122", "40124", "0", "2"}};
    for (int fila = 0; fila < 2; ++fila)
        for (int i = 0; i < kSeccionesLecturas; ++i)
            EXPECT_EQ(modelo.TextoCelda(fila, i), esperados[fila][i]) << fila << " " << i;
    EXPECT_EQ(Lista()->Vista()->sizeHintForRow(0), kAltoFilaLecturas);
}

TEST_F(Lecturas, AddingShowsAnEmptyReadingAndStoresWhatWasTyped) {
    Elegir("clectura", 1);
    EnDialogoModal([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Edición"));
        EXPECT_EQ(d.findChild<QTabWidget*>()->tabText(0), TextoDe("lecturabimestral"));
        EXPECT_EQ(d.findChild<QPushButton*>(QStringLiteral("ok"))->text(), TextoDe("okcaption"));
        EXPECT_EQ(d.findChild<QPushButton*>(QStringLiteral("cancel"))->text(), QStringLiteral("&Cancelar"));
        EXPECT_EQ(Mes(d)->text(), QString());
        for (const char* n : {"ano", "kwht", "kvarh", "mdr", "cpc", "rr", "it", "ia", "ifp"})
            EXPECT_EQ(Entrada(d, n)->Texto(), QStringLiteral("0")) << n;
        EXPECT_TRUE(Entrada(d, "ifp")->isHidden());
        Teclear(Mes(d), QStringLiteral("Febrero"));
        Vaciar(Entrada(d, "kwht"));
        Teclear(Entrada(d, "kwht"), QStringLiteral("1500"));
        Vaciar(Entrada(d, "it"));
        Teclear(Entrada(d, "it"), QStringLiteral("-25"));
        d.accept();
    });
    Boton("addbutton")->click();
    ASSERT_EQ(sesion.Lecturas.size(), 1u);
    const TLectura& l = sesion.Lecturas[0];
    EXPECT_EQ(l.mes, "Febrero") << "the label keeps its case";
    EXPECT_EQ(l.ano, 0) << "the year input was never left";
    EXPECT_EQ(l.kwht, 1500);
    EXPECT_EQ(l.it, -25);
    EXPECT_EQ(l.ifp, 0);
    EXPECT_TRUE(sesion.resultadosObsoletos);
}

TEST_F(Lecturas, TheYearIsBroughtIntoRangeOnlyWhenLeft) {
    const std::pair<QString, std::int32_t> casos[] = {{"0", 1900}, {"5000", 3000}, {"2024", 2024}};
    for (const auto& [tecleado, ano] : casos) {
        EnDialogoModal([tecleado](QDialog& d) {
            EntradaNumero* entrada = Entrada(d, "ano");
            Vaciar(entrada);
            Teclear(entrada, tecleado);
            EXPECT_EQ(entrada->Texto(), tecleado);
            Salir(entrada);
            d.accept();
        });
        Boton("addbutton")->click();
        ASSERT_FALSE(sesion.Lecturas.empty());
        EXPECT_EQ(sesion.Lecturas.back().ano, ano) << tecleado.toStdString();
    }
}

TEST_F(Lecturas, TheLabelTakesFifteenCharactersAndNoMore) {
    EnDialogoModal([](QDialog& d) {
        Teclear(Mes(d), QStringLiteral("Diciembre-2023xy"));
        d.accept();
    });
    Boton("addbutton")->click();
    ASSERT_EQ(sesion.Lecturas.size(), 1u);
    EXPECT_EQ(sesion.Lecturas[0].mes, "Diciembre-2023x");
}

TEST_F(Lecturas, ATextThatIsNotAWholeNumberEndsTheCommandWithNothingChanged) {
    AnadirLectura(QStringLiteral("ENERO"), QStringLiteral("10"));
    const std::vector<TLectura> antes = sesion.Lecturas;
    struct Caso {
        const char* entrada;
        QString texto;
        bool aceptar;
    };
    const Caso casos[] = {
        {"kwht", "", true}, {"kwht", "", false},           {"it", "-", true},
        {"ano", "", true},  {"kvarh", "2147483648", true}, {"ia", "-2147483649", true},
    };
    for (const Caso& c : casos) {
        avisos.mostrados.clear();
        EnDialogoModal([c](QDialog& d) {
            Entrada(d, c.entrada)->EstablecerTexto(c.texto);
            if (c.aceptar)
                d.accept();
            else
                d.reject();
        });
        Boton("addbutton")->click();
        ASSERT_EQ(avisos.mostrados.size(), 1u) << c.entrada;
        EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Error);
        EXPECT_EQ(avisos.mostrados[0].texto, "'" + c.texto + "' is not a valid integer value");
        EXPECT_EQ(sesion.Lecturas, antes);
    }
}

TEST_F(Lecturas, EditingRoundsFractionsAndKeepsTheHiddenAmount) {
    TLectura l;
    l.mes = "MARZO";
    l.ano = 2022;
    l.kwht = 123.6;
    l.it = -20;
    l.ifp = 55;
    l.coseno = 0.8;
    l.reservado1[0] = 7;
    Cargar({l, l});
    Seleccionar(1);
    EnDialogoModal([](QDialog& d) {
        EXPECT_EQ(d.findChild<QPushButton*>(QStringLiteral("ok"))->text(), TextoDe("okcaption2"));
        EXPECT_EQ(Mes(d)->text(), QStringLiteral("MARZO"));
        EXPECT_EQ(Entrada(d, "ano")->Texto(), QStringLiteral("2022"));
        EXPECT_EQ(Entrada(d, "kwht")->Texto(), QStringLiteral("124"));
        EXPECT_EQ(Entrada(d, "it")->Texto(), QStringLiteral("-20"));
        d.accept();
    });
    Boton("editbutton")->click();
    TLectura esperada = l;
    esperada.kwht = 124;
    EXPECT_EQ(sesion.Lecturas[1], esperada);
    EXPECT_EQ(sesion.Lecturas[0], l);
}

TEST_F(Lecturas, ConfirmingAnUnchangedReadingStoresExactHalvesRoundedToEven) {
    TLectura l;
    l.mes = "ABRIL";
    l.ano = 2024;
    l.kwht = 40122.5;
    l.kvarh = 7.5;
    l.mdr = 0.5;
    l.it = -2.5;
    l.ia = -0.5;
    Cargar({l});
    Seleccionar(0);
    EnDialogoModal([](QDialog& d) {
        const std::pair<const char*, const char*> mostrados[] = {
            {"kwht", "40122"}, {"kvarh", "8"}, {"mdr", "0"}, {"it", "-2"}, {"ia", "0"}};
        for (const auto& [entrada, texto] : mostrados)
            EXPECT_EQ(Entrada(d, entrada)->Texto(), QString::fromLatin1(texto)) << entrada;
        d.accept();
    });
    Boton("editbutton")->click();
    TLectura esperada = l;
    esperada.kwht = 40122;
    esperada.kvarh = 8;
    esperada.mdr = 0;
    esperada.it = -2;
    esperada.ia = 0;
    EXPECT_EQ(sesion.Lecturas[0], esperada);
}

TEST_F(Lecturas, CancelledEditsAndEditsWithoutSelectionChangeNothing) {
    TLectura l;
    l.kwht = 10.5;
    Cargar({l});
    Boton("editbutton")->click(); // nothing selected: no dialog
    Seleccionar(0);
    EnDialogoModal([](QDialog& d) {
        Entrada(d, "kwht")->EstablecerTexto(QStringLiteral("99"));
        d.reject();
    });
    emit Lista()->Vista()->doubleClicked(Lista()->Vista()->model()->index(0, 0));
    EXPECT_EQ(sesion.Lecturas[0], l);
}

} // namespace
} // namespace tarvik::prueba
