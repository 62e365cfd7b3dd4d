#pragma once
// The user's manual inside the program: the help pages of one language with their contents beside
// them, for desktops that have no viewer for the compiled help files.

#include <QDialog>
#include <QList>
#include <QString>

class QByteArray;
class QPushButton;
class QTextBrowser;
class QTreeWidget;
class QUrl;

namespace tarvik {

// One entry of the help's contents: its title, the page it opens and the entries under it.
struct EntradaContenido {
    QString titulo;
    QString pagina;
    QList<EntradaContenido> hijas;
};

// The entries of a contents file of the compiled help (contenido.hhc, a list of sitemap objects
// nested in <UL> lists). Titles may hold HTML character references. Only entries that name a page of
// the help's own folder (a plain file name ending in .html or .htm) are kept; the nesting is cut
// at a few levels.
QList<EntradaContenido> LeerContenido(const QByteArray& texto);

// A window with the contents on the left and the page on the right, Back, Forward and Home buttons,
// opened on the start page index.html of the folder.
class VentanaAyuda : public QDialog {
    Q_OBJECT

  public:
    // carpeta: the folder of one language's pages (…/help/es or …/help/en), with index.html and the
    // contents file contenido.hhc; idioma: the language of the window's own captions.
    VentanaAyuda(const QString& carpeta, int idioma, QWidget* parent = nullptr);

    const QString& Carpeta() const { return carpeta_; }
    QTextBrowser* Navegador() const { return navegador_; }
    QTreeWidget* Contenido() const { return contenido_; }
    QPushButton* BotonAtras() const { return atras_; }
    QPushButton* BotonAdelante() const { return adelante_; }

    // Shows a page of the folder, by its file name.
    void MostrarPagina(const QString& pagina);

  private:
    // Selects the contents entry of the page being shown (the browser announces a page before
    // its source() names it).
    void MarcarEnContenido(const QUrl& direccion);

    QString carpeta_;
    QTextBrowser* navegador_;
    QTreeWidget* contenido_;
    QPushButton* atras_;
    QPushButton* adelante_;
};

// The Help command. rutaPrograma is the program's folder with its trailing separator; idioma picks
// tarvik.chm (Spanish) or tarvik_en.chm (English) and the matching pages under help/es or help/en.
// On Windows the compiled help file opens in the system's help viewer. Elsewhere, and when that
// fails, the pages open in a VentanaAyuda child of parent (one at a time: a later call raises it,
// or replaces it when the language changed). Help that is not there opens nothing, silently.
void AbrirAyuda(const QString& rutaPrograma, int idioma, QWidget* parent);

} // namespace tarvik
