#pragma once
// The commands of the headless front end and what they share: the command line, the study loaded
// as Open loads it, the catalogues, the language and the decimal separator.

#include "core/engine/sesion.h"
#include "core/lang/mensajes.h"
#include "core/study/estudio.h"
#include "platform/archivo_estudio.h"

#include <QJsonObject>
#include <QStringList>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tarvik::cli {

enum CodigoSalida { kExito = 0, kRechazado = 1, kErrorUso = 2 };

struct Argumentos {
    std::string comando;
    std::vector<std::string> archivos;           // the files after the command
    std::map<std::string, std::string> opciones; // option name ("dbf", "o") → value
    bool lecturas = false;                       // --readings
};

// What every command on studies starts from: the program's folder and its catalogues, already
// loaded once for the whole run, and the user's locale decimal separator.
struct Entorno {
    std::string rutaPrograma;
    Sesion base; // paths and the catalogues that stay loaded; no study
    char separador = '.';
};

// One study as Open loads it, ready for a calculation.
struct Contexto {
    Sesion sesion;
    DatosPanel panel;       // the inputs panel as it shows the loaded study
    char separador = '.';   // the user's locale decimal separator
    ListaMensajes mensajes; // every message, in the order it was raised
};

// The answer for one study: its JSON, its exit code, and the reason when it could not be handled
// at all (a file that cannot be read, a study the command does not apply to).
struct RespuestaEstudio {
    QJsonObject objeto;
    int codigo = kExito;
    std::string error;
    std::vector<std::string> celdas; // a summary's row, UTF-8
};

struct Comando {
    const char* nombre;
    std::vector<const char*> opciones; // accepted besides --lang
    bool variosArchivos;               // several studies or folders
    int (*ejecutar)(const Argumentos&, const Entorno&);
};

// The commands.
const std::vector<Comando>& Comandos();

// Runs one command line (without the program's name). `rutaPrograma` is the running program's
// file, whose folder holds dbf/.
int Ejecutar(const QStringList& argumentos, const std::string& rutaPrograma, char separador);

// Loads a study as Open does, with the panel showing it; false with the reason.
bool CargarEstudio(const std::string& ruta, const Entorno& entorno, Contexto& contexto, std::string& motivo);
// The same without holding the study's readings: `alEmpezar` once the session and the panel show the
// study's fields, then `porBloque` with the readings' figures as they are read, a run at a time and
// in order; with Hilos::Dos a large study is read on a second thread meanwhile.
bool RecorrerEstudio(const std::string& ruta, const Entorno& entorno, Contexto& contexto, std::string& motivo,
                     const std::function<void()>& alEmpezar,
                     const std::function<void(std::span<const TCifrasLectura>)>& porBloque, Hilos hilos);
// The same as CargarEstudio for a command on one study: the reason goes to standard error.
bool CargarEstudio(const Argumentos& a, const Entorno& entorno, Contexto& contexto);

// Loads every study that the files name and answers it with `porEstudio`, on every core; `escribir`
// gets the answers in input order with each study's file and whether there are several (a list,
// or a folder). The worst exit code of the studies; kErrorUso when the files name no study.
int RecorrerEstudios(const Argumentos& a, const Entorno& e,
                     const std::function<RespuestaEstudio(Contexto&)>& porEstudio,
                     const std::function<void(const std::string&, RespuestaEstudio&, bool)>& escribir);
// The same with `porRuta` reading each study from its file itself, on a second thread too when it is
// the only study (the hilos it is given).
int RecorrerRutas(const Argumentos& a,
                  const std::function<RespuestaEstudio(const std::string&, Hilos)>& porRuta,
                  const std::function<void(const std::string&, RespuestaEstudio&, bool)>& escribir);

int EjecutarCalc(const Argumentos& argumentos, const Entorno& entorno);
int EjecutarTotals(const Argumentos& argumentos, const Entorno& entorno);
int EjecutarReport(const Argumentos& argumentos, const Entorno& entorno);
int EjecutarSummary(const Argumentos& argumentos, const Entorno& entorno);
int EjecutarImport(const Argumentos& argumentos, const Entorno& entorno);
int EjecutarExport(const Argumentos& argumentos, const Entorno& entorno);

// One line "tarvik-cli: …" on standard error.
void Error(const std::string& texto);
// Writes a JSON object to standard output: indented, or on one line for JSON Lines.
void Imprimir(const QJsonObject& objeto, bool enUnaLinea);

} // namespace tarvik::cli
