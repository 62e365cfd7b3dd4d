#pragma once
// The main window: the command band, the inputs panel with the readings, and the maker's footer.

#include "core/engine/sesion.h"
#include "core/study/estudio.h"

#include <QWidget>

class QMenu;
class QPushButton;
class QToolButton;

namespace tarvik {

class ModeloLecturas;
struct ResultadoLecturasCsv;
class PanelEntradas;
class Tedicion;
class TWResult;
class TWTotales;
class Twopciones;

// The file-type filter of the open and save dialogs, and the extension a typed name gets.
inline constexpr const char* kFiltroFacturacion = "Archivo de facturación (*.fac)";
inline constexpr const char* kExtensionFacturacion = "fac";

class Tmainform : public QWidget {
    Q_OBJECT

  public:
    // Sets the captions, loads the conductor and current-transformer catalogues and starts a new
    // study. The windows that the commands hand over to are connected afterwards.
    explicit Tmainform(Sesion& sesion, QWidget* parent = nullptr);
    ~Tmainform() override;

    void Conectar(Tedicion* edicion, TWTotales* totales, TWResult* resultados, Twopciones* opciones);

    DatosPanel LeerPanel() const;
    void EscribirPanel(const DatosPanel& datos);
    PanelEntradas* Panel() const { return panel_; }

    // Reads a billing file into the window (the Open command after its dialog). A file that cannot
    // be read or is not a billing file is reported and leaves the current study as it was.
    bool AbrirArchivo(const QString& ruta);

    // Reads the readings of a spreadsheet's CSV file into the study, replacing or appending them as
    // the user chooses when the study has readings. A file that cannot be read is reported with
    // its bad rows, and nothing of it is imported.
    bool ImportarLecturasDe(const QString& ruta);

  protected:
    void closeEvent(QCloseEvent* evento) override;
    // A billing file dropped anywhere on the window opens as with Open, a CSV file imports its
    // readings; Ctrl+C and Ctrl+V in the readings list copy rows out and paste rows in.
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void Nuevo();
    void Abrir();
    void Guardar();
    // Asks for a file name and writes the study there; false when cancelled or when it failed.
    bool GuardarComo();
    void Totales();
    void CalcularResultados();
    void Imprimir();
    void Opciones();
    void Ayuda();
    void AnadirLectura();
    void EditarLectura();
    void BorrarLectura();

    // Shows a study (a new one, or one just read) and resets the results' state.
    void MostrarEstudio(const DatosPanel& datos, std::vector<TLectura> lecturas);
    void AplicarReglasComandos();
    void MarcarObsoletos();

    QWidget* CrearCabecera();
    QWidget* CrearPie();

    // The recent studies on the Open button and the dropping of files on the window.
    void PrepararArchivos();
    void LlenarRecientes();
    void AbrirReciente(const QString& ruta);
    // The study on screen now belongs to `ruta` (none for a new study): the caption names it and
    // it becomes the most recent study.
    void PonerArchivo(const QString& ruta);

    // Readings from and to spreadsheets: import and export on the Open button's menu, and the
    // clipboard in the readings list.
    void AnadirAccionesLecturas(QMenu* menu);
    void ImportarLecturas();
    void ExportarLecturas();
    void CopiarLecturas();
    void PegarLecturas();
    // Shows why a text of readings cannot be read: its bad rows with their lines.
    void MostrarErroresCsv(const QString& origen, const ResultadoLecturasCsv& csv);
    // Puts readings into the study and marks the results stale.
    void IncorporarLecturas(std::vector<TLectura> lecturas, bool reemplazar);

    Sesion& sesion_;
    ModeloLecturas* modelo_;
    PanelEntradas* panel_ = nullptr;
    QToolButton* Totalesbutton_ = nullptr;
    QToolButton* resultButton_ = nullptr;
    QToolButton* bimp_ = nullptr;
    QMenu* recientes_ = nullptr;
    QString titulo_;

    Tedicion* edicion_ = nullptr;
    TWTotales* totales_ = nullptr;
    TWResult* resultados_ = nullptr;
    Twopciones* opciones_ = nullptr;
};

} // namespace tarvik
