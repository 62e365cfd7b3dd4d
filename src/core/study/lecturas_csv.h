#pragma once
// Readings as a spreadsheet's CSV text: the user's data of each reading (label, year, energies,
// peak demand, input transformer and bill amounts), one row per reading under a header row. The
// power factor is the calculation's and the reserved bytes are the billing file's: neither travels.

#include "core/study/estudio.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

enum class MotivoCsv {
    Vacio,            // no row of readings under the header
    SinCabecera,      // the first row names none of the columns
    FaltaColumna,     // a column that every reading needs is not in the header
    ColumnaRepetida,  // two header cells name the same column
    ComillasAbiertas, // a quoted cell runs to the end of the file
    NoEsNumero,
    NoEsEntero,
    Negativo,      // an energy, demand, transformer or surcharge below zero
    EtiquetaLarga, // a label longer than the 15 characters a reading holds
    FaltaValor,    // an empty cell in a column that every reading needs
};

// Why one row (or the whole file) cannot be read. `linea` is the file's line where the row starts,
// counting from 1; `columna` is the column's name as the file's header gives it, `valor` the cell.
// Both are Windows-1252.
struct ErrorCsv {
    std::size_t linea = 0;
    MotivoCsv motivo = MotivoCsv::Vacio;
    std::string columna;
    std::string valor;
    bool operator==(const ErrorCsv&) const = default;
};

// Either every reading of the file, or the reasons why it cannot be read (and no readings).
struct ResultadoLecturasCsv {
    std::vector<TLectura> lecturas;
    std::vector<ErrorCsv> errores;
    std::size_t erroresOmitidos = 0; // further rows that failed beyond the reported ones
    bool ok() const { return errores.empty(); }
};

// Reads a CSV text: comma, semicolon or tab separated (chosen by the header row), decimal point or
// comma, UTF-8 (with or without mark), UTF-16 with its mark or Windows-1252, quoted cells with
// doubled quotes, header names in Spanish or English in any order, unknown columns ignored. The
// label, kWh and kvarh columns are required; a missing or empty optional cell reads as 0. Rows
// whose cells are all empty are skipped.
ResultadoLecturasCsv LeerLecturasCsv(std::string_view bytes);

// The readings as CSV in UTF-8 with its mark, the header in language `idioma`. With the decimal
// comma the cells are separated by semicolons, otherwise by commas, as a spreadsheet of that
// locale reads them. Every number is the shortest text that reads back to the same double.
std::string EscribirLecturasCsv(const std::vector<TLectura>& lecturas, char separadorDecimal, int idioma);

// The readings as tab-separated UTF-8 text under a header row, as a spreadsheet pastes it (no mark).
std::string EscribirLecturasTabuladas(const std::vector<TLectura>& lecturas, char separadorDecimal,
                                      int idioma);

// Rows pasted from a spreadsheet (UTF-8): with a header row as LeerLecturasCsv; without one, in
// the order the readings list shows and the export writes them (label, year, kWh, kvarh, peak
// demand, transformer, surcharge, power term, active term, discount).
ResultadoLecturasCsv LeerLecturasPegadas(std::string_view texto);

// One cell of a CSV row: quoted (with doubled quotes) when it holds the separator, a quote, a line
// break or surrounding blanks.
std::string CeldaCsv(std::string_view texto, char separador);

// One error as a line for the user, in language `idioma`, Windows-1252.
std::string TextoErrorCsv(const ErrorCsv& error, int idioma);

} // namespace tarvik
