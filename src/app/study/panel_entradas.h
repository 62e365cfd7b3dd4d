#pragma once
// The inputs panel of the main window: the customer's identification, the main choices and the
// two-page lower area (the readings with their consumption inputs, or the contracted power).
// It is the editing view of the study record; the widgets hold the values until they are read.

#include "core/study/estudio.h"

#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QToolButton;

namespace tarvik {

class EntradaNumero;
class ListaLecturas;
class ModeloLecturas;

class PanelEntradas : public QWidget {
    Q_OBJECT

  public:
    PanelEntradas(ModeloLecturas& lecturas, QWidget* parent = nullptr);

    // The values the inputs show now.
    DatosPanel LeerPanel() const;
    // Sets every input (numbers brought into their ranges) and shows the page of the calculation
    // type. Changes made here are not the user's: they mark nothing stale.
    void EscribirPanel(const DatosPanel& datos);

    // Filters force 50 Hz; the capacitor-bank inputs are enabled only for capacitor banks.
    void AplicarReglaEquipos();
    // The transformer rating is enabled only while its box is both checked and enabled.
    void AplicarReglaTransformador();

    std::int32_t TipoCalculo() const;
    std::int32_t TipoLectura() const;
    // Puts the keyboard focus on the first customer input.
    void EnfocarPrimero();

    ListaLecturas* Lista() const { return lista_; }
    QToolButton* BotonAnadir() const { return addbutton_; }
    QToolButton* BotonEditar() const { return editbutton_; }
    QToolButton* BotonBorrar() const { return delbutton_; }

  signals:
    // The user changed an input that the calculation reads.
    void resultadosObsoletos();
    // The user changed the calculation type or the equipment type.
    void tipoCambiado();

  private:
    struct Grupo {
        QGroupBox* caja = nullptr;
        QButtonGroup* botones = nullptr;
    };
    Grupo CrearGrupo(const char* nombre, const QString& titulo, const QStringList& opciones, int columnas);
    static std::int32_t Eleccion(const Grupo& grupo);
    void Elegir(const Grupo& grupo, std::int32_t indice);
    QWidget* CrearDatosCliente();
    QWidget* CrearElecciones();
    QWidget* CrearPaginaLecturas(ModeloLecturas& lecturas);
    QWidget* CrearPaginaPotencia();
    void AplicarReglaPagina();
    // Connects a user change of a choice to the staleness mark (and to `extra`, when given).
    void AlElegir(const Grupo& grupo, void (PanelEntradas::*extra)() = nullptr);
    void MarcarObsoleto();

    // The customer inputs in keyboard order: empresa, cliente, direccion, provincia,
    // distribuidor, fax, telefono.
    QLineEdit* cinstalacion_ = nullptr;
    QLineEdit* cusuario_ = nullptr;
    QLineEdit* cdireccion_ = nullptr;
    QLineEdit* cprovincia_ = nullptr;
    QLineEdit* cministerio_ = nullptr;
    QLineEdit* cfax_ = nullptr;
    QLineEdit* ctelf_ = nullptr;

    Grupo cBat_filter_;
    Grupo cTipoCalculo_;
    Grupo ctemperatura_;
    Grupo cvoltaje_;
    Grupo cfrecuencia_;
    Grupo cArmonicos_;
    Grupo clectura_;

    QStackedWidget* paginas_ = nullptr;
    ListaLecturas* lista_ = nullptr;
    QToolButton* addbutton_ = nullptr;
    QToolButton* editbutton_ = nullptr;
    QToolButton* delbutton_ = nullptr;
    EntradaNumero* choras_ = nullptr;
    EntradaNumero* ccoseno_ = nullptr;
    EntradaNumero* potencia_maxima_ = nullptr;
    QCheckBox* ctienetransformador_ = nullptr;
    QLabel* ccpcLabel_ = nullptr;
    EntradaNumero* ccpc_ = nullptr;

    // Inputs that no control shows: kept and saved with the study.
    std::int32_t tarifa_ = 0;
    std::int32_t seleccionModelo_ = 0;
    bool porPrecio_ = false;

    // Set while the program (not the user) changes inputs.
    bool escribiendo_ = false;
};

} // namespace tarvik
