// What a screen reader learns about the windows: every control read through the accessibility
// interface that assistive technologies use.

#include "gui/ayudas.h"

#include "core/lang/traduccion.h"

#include <QAccessible>
#include <QListView>

#include <map>

namespace tarvik::prueba {
namespace {

QAccessibleInterface* Accesible(QObject* objeto) {
    QAccessibleInterface* interfaz = QAccessible::queryAccessibleInterface(objeto);
    EXPECT_NE(interfaz, nullptr) << objeto->objectName().toStdString();
    return interfaz;
}

class Accesibilidad : public ConVentanas {
  protected:
    void EnIdioma(int idioma) {
        EstablecerIdiomaActivo(idioma);
        ventanas = Ventanas{};
        ventanas = CrearVentanas(sesion, false);
    }
    QString Nombre(const char* control) const {
        return Accesible(Control<QWidget>(control))->text(QAccessible::Name);
    }
};

TEST_F(Accesibilidad, EveryCommandButtonIsReadAsAButtonWithItsCaptionAndWhatItDoes) {
    const struct {
        const char* boton;
        const char* clave;
    } botones[] = {
        {"newbutton", "newbutton_caption"},         {"openbutton", "openbutton_caption"},
        {"guardarButton", "guardarButton_caption"}, {"Totalesbutton", "Totalesbutton_caption"},
        {"resultButton", "resultButton_caption"},   {"bimp", "bimp_caption"},
        {"OptiosButton", "OptiosButton_caption"},   {"HelpButton", "HelpButton_caption"},
        {"salirbutton", "salirbutton_caption"},     {"addbutton", "addbutton_caption"},
        {"editbutton", "editbutton_caption"},       {"delbutton", "delbutton_caption"},
    };
    std::map<std::string, QString> espanol;
    for (const int idioma : {kEspanol, kIngles}) {
        EnIdioma(idioma);
        for (const auto& b : botones) {
            SCOPED_TRACE(b.boton);
            QAbstractButton* boton = Boton(b.boton);
            QAccessibleInterface* interfaz = Accesible(boton);
            EXPECT_EQ(interfaz->text(QAccessible::Name), TextoDe(b.clave));
            EXPECT_TRUE(interfaz->role() == QAccessible::Button ||
                        interfaz->role() == QAccessible::ButtonMenu)
                << interfaz->role();
            const QString descripcion = interfaz->text(QAccessible::Description);
            EXPECT_FALSE(descripcion.isEmpty());
            EXPECT_EQ(boton->toolTip(), descripcion);
            if (idioma == kEspanol)
                espanol[b.boton] = descripcion;
            else
                EXPECT_NE(descripcion, espanol[b.boton]) << "described in English";
        }
    }
}

TEST_F(Accesibilidad, EveryInputIsNamedAfterItsCaption) {
    const struct {
        const char* control;
        const char* clave; // null: a name of its own, for an input without a caption
    } entradas[] = {
        {"cinstalacion", "nombre_empresa"},
        {"cusuario", "nombre_cliente"},
        {"cdireccion", "direccion_empresa"},
        {"cprovincia", "provincia"},
        {"cministerio", "distribuidor"},
        {"cfax", "fax"},
        {"ctelf", "telefono"},
        {"cBat_filter", "tipoequipos"},
        {"cTipoCalculo", "tipocalculo"},
        {"ctemperatura", "ctemperatura_caption"},
        {"cvoltaje", "cvoltaje_caption"},
        {"cfrecuencia", "cfrecuencia_caption"},
        {"cArmonicos", nullptr},
        {"clectura", "clectura_caption"},
        {"choras", "horas_trabajo_mensuales"},
        {"ccoseno", "factor_potencia_deseado"},
        {"potencia_maxima", "potencia_contratada"},
        {"ctienetransformador", "tienetransformadorpropio"},
        {"ccpc", "header_seccion_5"},
    };
    for (const auto& e : entradas) {
        SCOPED_TRACE(e.control);
        const QString nombre = Nombre(e.control).trimmed();
        EXPECT_FALSE(nombre.isEmpty());
        if (e.clave) {
            EXPECT_EQ(nombre, TextoDe(e.clave).trimmed());
        }
    }
    // The number inputs say what they accept.
    for (const char* numero : {"choras", "ccoseno", "potencia_maxima", "ccpc"})
        EXPECT_FALSE(Accesible(Control<QWidget>(numero))->text(QAccessible::Description).isEmpty()) << numero;
}

TEST_F(Accesibilidad, TheReadingsAreReadRowByRowWithTheirHeadings) {
    AnadirLectura(QStringLiteral("ENERO"), QStringLiteral("1200"));
    auto* vista = Control<QListView>("lista");
    QAccessibleInterface* lista = Accesible(vista);
    EXPECT_EQ(lista->text(QAccessible::Name), "Lecturas");
    EXPECT_FALSE(lista->text(QAccessible::Description).isEmpty());
    ASSERT_NE(lista->tableInterface(), nullptr);
    QAccessibleInterface* fila = lista->tableInterface()->cellAt(0, 0);
    ASSERT_NE(fila, nullptr);
    EXPECT_EQ(fila->text(QAccessible::Name),
              QStringLiteral("%1: ENERO, %2: 0, %3: 1200, %4: 0, %5: 0, %6: 0")
                  .arg(TextoDe("header_seccion_0"), TextoDe("header_seccion_1"), TextoDe("header_seccion_2"),
                       TextoDe("header_seccion_3"), TextoDe("header_seccion_4"),
                       TextoDe("header_seccion_5")));
}

TEST_F(Accesibilidad, EachResultGridIsNamedAfterItsPage) {
    const struct {
        const char* tabla;
        const char* pagina;
    } tablas[] = {{"tabla_capacitores", "equipo_instalar"},
                  {"tabla_trans", "transformador_intensidad"},
                  {"tabla_conductor", "conductor"}};
    for (const auto& t : tablas) {
        auto* tabla = ventanas.resultados->findChild<QTableWidget*>(QString::fromLatin1(t.tabla));
        ASSERT_NE(tabla, nullptr) << t.tabla;
        QAccessibleInterface* interfaz = Accesible(tabla);
        EXPECT_EQ(interfaz->text(QAccessible::Name), TextoDe(t.pagina)) << t.tabla;
        EXPECT_FALSE(interfaz->text(QAccessible::Description).isEmpty()) << t.tabla;
    }
}

} // namespace
} // namespace tarvik::prueba
