#pragma once
// The commands of the headless front end and what they share: the command line, the study loaded
// as Open loads it, the catalogues, the language and the decimal separator.

#include "core/engine/sesion.h"
#include "core/lang/mensajes.h"
#include "core/study/estudio.h"

#include <map>
#include <string>
#include <vector>

namespace tarvik::cli {

enum CodigoSalida { kExito = 0, kRechazado = 1, kErrorUso = 2 };

struct Argumentos {
    std::string comando;
    std::string estudio;                         // the study file
    std::map<std::string, std::string> opciones; // option name ("--dbf", "-o") → value
};

// What every command starts from.
struct Contexto {
    Sesion sesion;
    DatosPanel panel;       // the inputs panel as it shows the loaded study
    char separador = '.';   // the user's locale decimal separator
    ListaMensajes mensajes; // every message, in the order it was raised
};

struct Comando {
    const char* nombre;
    std::vector<std::string> opciones; // accepted besides --dbf and --lang, each with a value
    int (*ejecutar)(Contexto&, const Argumentos&);
};

// The commands that run on a study.
const std::vector<Comando>& Comandos();

// Runs one command line. `rutaPrograma` is the running program's file, whose folder holds dbf/.
int Ejecutar(const std::vector<std::string>& argumentos, const std::string& rutaPrograma, char separador);

// The commands.
int EjecutarCalc(Contexto& contexto, const Argumentos& argumentos);
int EjecutarTotals(Contexto& contexto, const Argumentos& argumentos);
int EjecutarReport(Contexto& contexto, const Argumentos& argumentos);

// Writes a JSON text to standard output.
void Imprimir(const std::string& texto);

} // namespace tarvik::cli
