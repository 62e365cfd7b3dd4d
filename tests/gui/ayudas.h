#pragma once
// What the window tests share: answered message boxes and file dialogs, typing and leaving inputs,
// and the program's windows built as at start-up.

#include "app/app/arranque.h"
#include "app/app/dialogos.h"
#include "platform/avisos.h"

#include <QAbstractButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace tarvik::prueba {

struct AvisoMostrado {
    TipoMensaje tipo;
    QString texto;
};

// Message boxes answered from a list; every box shown is kept.
class AvisosPrueba : public Avisos {
  public:
    Respuesta Mostrar(TipoMensaje tipo, const QString& texto) override;
    std::deque<Respuesta> respuestas;
    std::vector<AvisoMostrado> mostrados;
};

struct DialogoPedido {
    QString titulo;
    QString filtro;
    QString sufijo;
};

// File dialogs answered from a list (an empty text cancels); help asked for is kept.
class DialogosPrueba : public Dialogos {
  public:
    QString Abrir(QWidget*, const QString& titulo, const QString& filtro) override;
    QString Guardar(QWidget*, const QString& titulo, const QString& filtro, const QString& sufijo) override;
    void MostrarAyuda(QWidget*, const QString& rutaPrograma, int idioma) override {
        ayudas.emplace_back(rutaPrograma, idioma);
    }
    // Answers from `reemplazos` (true replace, false append, nothing cancel); each question kept.
    std::optional<bool> ReemplazarLecturas(QWidget*, int actuales, int nuevas) override;
    std::deque<QString> rutas;
    std::deque<std::optional<bool>> reemplazos;
    std::vector<std::pair<int, int>> preguntas;
    std::vector<DialogoPedido> pedidos;
    std::vector<std::pair<QString, int>> ayudas;

  private:
    QString Siguiente();
};

// The text a message box shows for a key in the active language.

// Types a text into an input key by key, as the user would.
void Teclear(QWidget* entrada, const QString& texto);
// Empties an input by key presses.
void Vaciar(QWidget* entrada);
// The user leaves an input.
void Salir(QWidget* entrada);
// Double-clicks a cell as the mouse does, on the table's page, scrolled into view; `fila` counts
// the heading row as 0.
void DobleClic(QTableWidget* tabla, int fila, int columna);
// Sends a drag of `urls` over `destino` and drops it there; whether the drag was accepted.
bool Soltar(QWidget* destino, const QList<QUrl>& urls);
// Runs `accion` on the modal dialog that the next command opens, then makes sure it closed.
void EnDialogoModal(std::function<void(QDialog&)> accion);

// The program's windows over a fresh study, with boxes and dialogs answered by the test.
class ConVentanas : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    template <class W = QAbstractButton> W* Control(const char* nombre) const {
        W* w = ventanas.mainform->findChild<W*>(QString::fromLatin1(nombre));
        EXPECT_NE(w, nullptr) << nombre;
        return w;
    }
    QAbstractButton* Boton(const char* nombre) const { return Control<QAbstractButton>(nombre); }
    // Clicks choice `indice` of a choice group.
    void Elegir(const char* grupo, int indice) const;
    // Adds a reading through the editor with the given label and kWh.
    void AnadirLectura(const QString& mes, const QString& kwh);
    QString Ruta(const char* nombre) const { return carpeta.filePath(QString::fromLatin1(nombre)); }

    QTemporaryDir carpeta;
    AvisosPrueba avisos;
    DialogosPrueba dialogos;
    Reemplazo<Avisos> reemplazoAvisos{avisos};
    Reemplazo<Dialogos> reemplazoDialogos{dialogos};
    Sesion sesion;
    Ventanas ventanas;
};

} // namespace tarvik::prueba
