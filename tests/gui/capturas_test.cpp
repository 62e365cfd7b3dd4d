// Pictures of the windows for the documentation: written only when TARVIK_CAPTURAS names a folder.

#include "ayudas.h"

#include "lang/traduccion.h"
#include "study/facturacion.h"

#include <QDir>
#include <QListView>

namespace tarvik::prueba {
namespace {

class Capturas : public ConVentanas {
  protected:
    void SetUp() override {
        destino = qEnvironmentVariable("TARVIK_CAPTURAS");
        if (destino.isEmpty())
            GTEST_SKIP() << "TARVIK_CAPTURAS is not set";
        ConVentanas::SetUp();
    }

    // Builds the windows in a language over an example study and shows the main window.
    void Preparar(int idioma) {
        EstablecerIdiomaActivo(idioma);
        ventanas = Ventanas{};
        ventanas = CrearVentanas(sesion, false);
        TDatosEstudio datos;
        datos.empresa = "METALURGIAS DEL HENARES S.L.";
        datos.cliente = "ANA GARCIA";
        datos.direccion = "POLIGONO EL CASCAJAL, NAVE 14";
        datos.provincia = "MADRID";
        datos.distribuidor = "ELECTRA CENTRO";
        datos.fax = "918 000 001";
        datos.telefono = "918 000 000";
        datos.equipos = 1;
        datos.voltaje = 0;
        datos.horas = 320;
        datos.cosenoDeseado = 0.98f;
        const char* meses[] = {"Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
                               "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre"};
        std::vector<TLectura> lecturas;
        for (int i = 0; i < 12; ++i) {
            TLectura l;
            l.mes = meses[i];
            l.ano = 2024;
            l.kwht = 41000 + 1375 * (i % 5);
            l.kvarh = 29500 + 820 * (i % 4);
            l.mdr = 210 + 6 * (i % 3);
            l.cpc = 630;
            lecturas.push_back(l);
        }
        ASSERT_TRUE(GuardarFacturacion(Ruta("ejemplo.fac").toStdString(), datos, lecturas).ok);
        ASSERT_TRUE(ventanas.mainform->AbrirArchivo(Ruta("ejemplo.fac")));
        ventanas.mainform->show();
        QListView* lista = ventanas.mainform->findChild<QListView*>(QStringLiteral("lista"));
        lista->setCurrentIndex(lista->model()->index(2, 0));
    }

    void Guardar(QWidget& ventana, const char* nombre) const {
        const QString ruta = QDir(destino).filePath(QString::fromLatin1(nombre));
        EXPECT_TRUE(ventana.grab().save(ruta)) << ruta.toStdString();
    }

    QString destino;
};

TEST_F(Capturas, MainWindowInSpanishAndEnglish) {
    Preparar(kEspanol);
    Guardar(*ventanas.mainform, "main-es.png");
    Preparar(kIngles);
    Guardar(*ventanas.mainform, "main-en.png");
}

TEST_F(Capturas, StartUpPicture) {
    Sesion otra;
    Ventanas conPresentacion = CrearVentanas(otra, true);
    Guardar(*conPresentacion.present, "presentacion.png");
}

TEST_F(Capturas, ReadingEditor) {
    Preparar(kEspanol);
    EnDialogoModal([this](QDialog& d) {
        Guardar(d, "editor.png");
        d.reject();
    });
    Boton("editbutton")->click();
}

} // namespace
} // namespace tarvik::prueba
