#include "core/study/lecturas_csv.h"

#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <system_error>

namespace tarvik {
namespace {

enum class Clase { Etiqueta, Ano, Numero, Importe }; // an amount may be negative

struct Columna {
    const char* espanol; // the header as written, UTF-8
    const char* ingles;
    Clase clase;
    bool obligatoria;
    double TLectura::*campo;             // for numbers and amounts
    std::array<const char*, 10> nombres; // header names after Normalizar, both languages
};

// In the order they are written.
const std::array<Columna, 10> kColumnas = {{
    {"Mes",
     "Month",
     Clase::Etiqueta,
     true,
     nullptr,
     {"mes", "mesdelectura", "mesbimestre", "periodo", "etiqueta", "month", "readingmonth", "monthbimonthly",
      "period", "label"}},
    {"Año", "Year", Clase::Ano, false, nullptr, {"ano", "anio", "year"}},
    {"kWh",
     "kWh",
     Clase::Numero,
     true,
     &TLectura::kwht,
     {"kwh", "kwht", "kwhtotales", "totalskwh", "activa", "energiaactiva", "active", "activeenergy"}},
    {"kvarh",
     "kvarh",
     Clase::Numero,
     true,
     &TLectura::kvarh,
     {"kvarh", "kvarhtotales", "totalskvarh", "reactiva", "energiareactiva", "reactive", "reactiveenergy"}},
    {"Máxima demanda (kW)",
     "Peak demand (kW)",
     Clase::Numero,
     false,
     &TLectura::mdr,
     {"maximademanda", "maxdemanda", "demandamaxima", "maximetro", "mdr", "kw", "peakdemand", "maxdemand",
      "maximumdemand", "maximeter"}},
    {"Transformador de entrada (kVA)",
     "Input transformer (kVA)",
     Clase::Numero,
     false,
     &TLectura::cpc,
     {"transformadordeentrada", "transformador", "trafo", "cpc", "kva", "inputtransformer", "transformer"}},
    {"Recargo por reactiva (€)",
     "Reactive power surcharge (€)",
     Clase::Numero,
     false,
     &TLectura::rr,
     {"recargoporreactiva", "recargoreactiva", "recargo", "rr", "reactivepowersurcharge",
      "reactiveenergysurcharge", "reactivesurcharge", "surcharge"}},
    {"Importe término de potencia (€)",
     "Amount of power term (€)",
     Clase::Importe,
     false,
     &TLectura::it,
     {"importeterminodepotencia", "importepotencia", "terminodepotencia", "it", "amountofpowerterm",
      "powertermamount", "powerterm"}},
    {"Importe término de activa (€)",
     "Amount of active term (€)",
     Clase::Importe,
     false,
     &TLectura::ia,
     {"importeterminodeactiva", "importeactiva", "terminodeactiva", "ia", "amountofactiveterm",
      "activetermamount", "activeterm", "energyterm"}},
    {"Descuento por reactiva (€)",
     "Reactive energy discount (€)",
     Clase::Importe,
     false,
     &TLectura::ifp,
     {"descuentoporreactiva", "descuentoreactiva", "descuento", "bonificacion", "ifp",
      "reactiveenergydiscount", "reactivediscount", "discount"}},
}};

constexpr std::size_t kSinColumna = kColumnas.size();
constexpr std::size_t kErroresMostrados = 20;

// A Windows-1252 letter without its accent, in lower case; other bytes as they are.
char SinAcento(unsigned char c) {
    static constexpr std::string_view kAcentuadas = "\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE"
                                                    "\xEF\xF1\xF2\xF3\xF4\xF5\xF6\xF9\xFA\xFB\xFC\xFD\xFF";
    static constexpr std::string_view kLlanas = "aaaaaaceeeeiiiinooooouuuuyy";
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        c = static_cast<unsigned char>(c + 0x20);
    const std::size_t i = kAcentuadas.find(static_cast<char>(c));
    if (i != std::string_view::npos)
        return kLlanas[i];
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
}

// A header cell reduced to its words: lower case, no accents, no units in brackets, letters and
// digits only ("Máxima demanda (kW)" → "maximademanda").
std::string Normalizar(std::string_view cabecera) {
    std::string nombre;
    int parentesis = 0;
    for (const char c : cabecera) {
        if (c == '(' || c == '[')
            ++parentesis;
        else if ((c == ')' || c == ']') && parentesis > 0)
            --parentesis;
        else if (parentesis == 0) {
            const char llana = SinAcento(static_cast<unsigned char>(c));
            if ((llana >= 'a' && llana <= 'z') || (llana >= '0' && llana <= '9'))
                nombre += llana;
        }
    }
    return nombre;
}

// The column that a header cell names; a trailing unit is also accepted ("Peak demand kW").
std::size_t ColumnaDe(std::string_view cabecera) {
    std::string nombre = Normalizar(cabecera);
    for (int intento = 0; intento < 2; ++intento) {
        for (std::size_t i = 0; i < kColumnas.size(); ++i)
            for (const char* alias : kColumnas[i].nombres)
                if (alias != nullptr && nombre == alias)
                    return i;
        for (std::string_view unidad : {"kvarh", "kwh", "kva", "kw", "euros", "eur"}) {
            if (nombre.size() > unidad.size() && nombre.ends_with(unidad)) {
                nombre.resize(nombre.size() - unidad.size());
                break;
            }
        }
    }
    return kSinColumna;
}

// The length of the UTF-8 sequence starting at `i`, or 0 when it is malformed.
std::size_t LongitudUtf8(std::string_view t, std::size_t i) {
    const auto b = static_cast<unsigned char>(t[i]);
    const std::size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > t.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(t[i + k]) >> 6) != 0x2)
            return 0;
    return n;
}

bool EsUtf8(std::string_view t) {
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t n = LongitudUtf8(t, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

// The file's text in Windows-1252, whatever it was written in.
std::string A1252(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return Utf8ToCp1252(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return Utf8ToCp1252(Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFF'));
    if (EsUtf8(bytes))
        return Utf8ToCp1252(bytes);
    return std::string(bytes);
}

// The separator that the header row uses most, outside quotes: tab, then semicolon, then comma.
char ElegirSeparador(std::string_view t) {
    std::size_t tabuladores = 0, puntosYComa = 0, comas = 0;
    bool comillas = false;
    for (const char c : t) {
        if (c == '"')
            comillas = !comillas;
        else if (!comillas && (c == '\n' || c == '\r'))
            break;
        else if (!comillas && c == '\t')
            ++tabuladores;
        else if (!comillas && c == ';')
            ++puntosYComa;
        else if (!comillas && c == ',')
            ++comas;
    }
    if (tabuladores > 0 && tabuladores >= puntosYComa && tabuladores >= comas)
        return '\t';
    return puntosYComa > 0 && puntosYComa >= comas ? ';' : ',';
}

struct Fila {
    std::size_t linea = 0;
    std::vector<std::string> celdas;
};

// Splits the text into rows of cells. Unquoted cells lose their surrounding blanks; quoted cells
// keep everything between their quotes, separators and line breaks included.
std::optional<ErrorCsv> PartirFilas(std::string_view t, char separador, std::vector<Fila>& filas) {
    std::size_t i = 0, linea = 1;
    const auto finDeLinea = [&] {
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n')
            ++i;
        ++i;
        ++linea;
    };
    while (i < t.size()) {
        Fila fila{linea, {}};
        for (;;) {
            std::string celda;
            std::size_t j = i;
            while (j < t.size() && t[j] == ' ')
                ++j;
            if (j < t.size() && t[j] == '"') {
                i = j + 1;
                for (;;) {
                    if (i >= t.size())
                        return ErrorCsv{fila.linea, MotivoCsv::ComillasAbiertas, {}, {}};
                    if (t[i] == '"') {
                        if (i + 1 < t.size() && t[i + 1] == '"') {
                            celda += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (t[i] == '\n')
                        ++linea;
                    celda += t[i++];
                }
                // Anything between the closing quote and the separator belongs to the cell.
                while (i < t.size() && t[i] != separador && t[i] != '\n' && t[i] != '\r')
                    if (t[i++] != ' ')
                        celda += t[i - 1];
            } else {
                while (i < t.size() && t[i] != separador && t[i] != '\n' && t[i] != '\r')
                    celda += t[i++];
                const std::size_t fin = celda.find_last_not_of(' ');
                const std::size_t inicio = celda.find_first_not_of(' ');
                celda = fin == std::string::npos ? std::string() : celda.substr(inicio, fin - inicio + 1);
            }
            fila.celdas.push_back(std::move(celda));
            if (i < t.size() && t[i] == separador) {
                ++i;
                continue;
            }
            if (i < t.size())
                finDeLinea();
            break;
        }
        filas.push_back(std::move(fila));
    }
    return std::nullopt;
}

bool Vacia(const Fila& fila) {
    for (const std::string& c : fila.celdas)
        if (!c.empty())
            return false;
    return true;
}

// A number cell as a double, with the file's decimal mark; nothing else may stand in the cell.
std::optional<double> LeerReal(std::string celda, char decimal) {
    const char otra = decimal == ',' ? '.' : ',';
    if (celda.find(otra) != std::string::npos)
        return std::nullopt;
    for (char& c : celda)
        if (c == decimal)
            c = '.';
    std::string_view v = celda;
    if (v.starts_with('+'))
        v.remove_prefix(1);
    if (v.empty() || !(v[0] == '-' || v[0] == '.' || (v[0] >= '0' && v[0] <= '9')))
        return std::nullopt; // no "inf", "nan" or a second sign
    double valor = 0;
    const auto [fin, error] = std::from_chars(v.data(), v.data() + v.size(), valor);
    if (error != std::errc{} || fin != v.data() + v.size() || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}

std::optional<std::int32_t> LeerEntero(std::string_view v) {
    if (v.starts_with('+'))
        v.remove_prefix(1);
    std::int32_t valor = 0;
    const auto [fin, error] = std::from_chars(v.data(), v.data() + v.size(), valor);
    if (v.empty() || error != std::errc{} || fin != v.data() + v.size())
        return std::nullopt;
    return valor;
}

// Reads one cell into the reading; the reason when it cannot.
std::optional<MotivoCsv> LeerCelda(const Columna& columna, const std::string& celda, char decimal,
                                   TLectura& lectura) {
    if (columna.clase == Clase::Etiqueta) {
        if (celda.size() > kCapMes)
            return MotivoCsv::EtiquetaLarga;
        lectura.mes = celda;
        return std::nullopt;
    }
    if (celda.empty())
        return columna.obligatoria ? std::optional(MotivoCsv::FaltaValor) : std::nullopt;
    if (columna.clase == Clase::Ano) {
        const auto ano = LeerEntero(celda);
        if (!ano)
            return MotivoCsv::NoEsEntero;
        lectura.ano = *ano;
        return std::nullopt;
    }
    const auto valor = LeerReal(celda, decimal);
    if (!valor)
        return MotivoCsv::NoEsNumero;
    if (columna.clase == Clase::Numero && *valor < 0)
        return MotivoCsv::Negativo;
    lectura.*columna.campo = *valor;
    return std::nullopt;
}

// The decimal comma when the cells are not comma-separated and a number cell holds a comma.
char ElegirDecimal(const std::vector<Fila>& filas, std::size_t desde, const std::vector<std::size_t>& indices,
                   char separador) {
    if (separador == ',')
        return '.';
    for (std::size_t f = desde; f < filas.size(); ++f)
        for (std::size_t c = 0; c < kColumnas.size(); ++c)
            if (kColumnas[c].clase != Clase::Etiqueta && indices[c] < filas[f].celdas.size() &&
                filas[f].celdas[indices[c]].find(',') != std::string::npos)
                return ',';
    return '.';
}

std::string Nombre(const Columna& columna, int idioma) {
    return Utf8ToCp1252(idioma == kIngles ? columna.ingles : columna.espanol);
}

std::string TextoReal(double valor, char decimal) {
    char texto[32];
    const auto fin = std::to_chars(texto, texto + sizeof texto, valor).ptr;
    std::string resultado(texto, fin);
    for (char& c : resultado)
        if (c == '.')
            c = decimal;
    return resultado;
}

} // namespace

ResultadoLecturasCsv LeerLecturasCsv(std::string_view bytes) {
    ResultadoLecturasCsv resultado;
    const auto fallar = [&](ErrorCsv error) {
        resultado.lecturas.clear();
        if (resultado.errores.size() < kErroresMostrados)
            resultado.errores.push_back(std::move(error));
        else
            ++resultado.erroresOmitidos;
    };
    const std::string texto = A1252(bytes);
    const char separador = ElegirSeparador(texto);
    std::vector<Fila> filas;
    if (const auto error = PartirFilas(texto, separador, filas)) {
        fallar(*error);
        return resultado;
    }
    std::size_t cabecera = 0;
    while (cabecera < filas.size() && Vacia(filas[cabecera]))
        ++cabecera;
    if (cabecera == filas.size()) {
        fallar({1, MotivoCsv::Vacio, {}, {}});
        return resultado;
    }

    // Where each column stands in the rows.
    const Fila& nombres = filas[cabecera];
    std::vector<std::size_t> indices(kColumnas.size(), SIZE_MAX);
    bool alguna = false;
    for (std::size_t i = 0; i < nombres.celdas.size(); ++i) {
        const std::size_t c = ColumnaDe(nombres.celdas[i]);
        if (c == kSinColumna)
            continue;
        alguna = true;
        if (indices[c] != SIZE_MAX)
            fallar({nombres.linea, MotivoCsv::ColumnaRepetida, nombres.celdas[i], {}});
        else
            indices[c] = i;
    }
    if (!alguna) {
        fallar({nombres.linea, MotivoCsv::SinCabecera, {}, {}});
        return resultado;
    }
    for (std::size_t c = 0; c < kColumnas.size(); ++c)
        if (kColumnas[c].obligatoria && indices[c] == SIZE_MAX)
            fallar({nombres.linea, MotivoCsv::FaltaColumna, Nombre(kColumnas[c], kEspanol), {}});
    if (!resultado.ok())
        return resultado;

    const char decimal = ElegirDecimal(filas, cabecera + 1, indices, separador);
    for (std::size_t f = cabecera + 1; f < filas.size(); ++f) {
        const Fila& fila = filas[f];
        if (Vacia(fila))
            continue;
        TLectura lectura;
        for (std::size_t c = 0; c < kColumnas.size(); ++c) {
            if (indices[c] == SIZE_MAX)
                continue;
            const std::string celda = indices[c] < fila.celdas.size() ? fila.celdas[indices[c]] : "";
            if (const auto motivo = LeerCelda(kColumnas[c], celda, decimal, lectura)) {
                fallar({fila.linea, *motivo, nombres.celdas[indices[c]], celda});
                break;
            }
        }
        if (resultado.ok())
            resultado.lecturas.push_back(std::move(lectura));
    }
    if (resultado.ok() && resultado.lecturas.empty())
        fallar({nombres.linea, MotivoCsv::Vacio, {}, {}});
    return resultado;
}

namespace {

std::string EscribirLecturas(const std::vector<TLectura>& lecturas, char separador, char separadorDecimal,
                             int idioma) {
    std::string csv;
    for (std::size_t c = 0; c < kColumnas.size(); ++c) {
        if (c > 0)
            csv += separador;
        csv += CeldaCsv(idioma == kIngles ? kColumnas[c].ingles : kColumnas[c].espanol, separador);
    }
    csv += "\r\n";
    for (const TLectura& l : lecturas) {
        for (std::size_t c = 0; c < kColumnas.size(); ++c) {
            const Columna& columna = kColumnas[c];
            if (c > 0)
                csv += separador;
            if (columna.clase == Clase::Etiqueta)
                csv += CeldaCsv(Cp1252ToUtf8(l.mes), separador);
            else if (columna.clase == Clase::Ano)
                csv += std::to_string(l.ano);
            else
                csv += TextoReal(l.*columna.campo, separadorDecimal);
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace

std::string EscribirLecturasCsv(const std::vector<TLectura>& lecturas, char separadorDecimal, int idioma) {
    return "\xEF\xBB\xBF" +
           EscribirLecturas(lecturas, separadorDecimal == ',' ? ';' : ',', separadorDecimal, idioma);
}

std::string EscribirLecturasTabuladas(const std::vector<TLectura>& lecturas, char separadorDecimal,
                                      int idioma) {
    return EscribirLecturas(lecturas, '\t', separadorDecimal, idioma);
}

ResultadoLecturasCsv LeerLecturasPegadas(std::string_view texto) {
    const char separador = ElegirSeparador(texto);
    const std::string_view primera = texto.substr(0, texto.find_first_of("\r\n"));
    for (std::size_t desde = 0; desde <= primera.size();) {
        const std::size_t fin = std::min(primera.find(separador, desde), primera.size());
        if (ColumnaDe(primera.substr(desde, fin - desde)) != kSinColumna)
            return LeerLecturasCsv(texto);
        desde = fin + 1;
    }
    // Rows without a header: the columns in the order they are written, named in plain ASCII so
    // that the text keeps its encoding.
    std::string cabecera;
    for (const Columna& c : kColumnas)
        cabecera += (cabecera.empty() ? "" : std::string(1, separador)) + c.nombres.front();
    ResultadoLecturasCsv resultado = LeerLecturasCsv(cabecera + "\n" + std::string(texto));
    for (ErrorCsv& e : resultado.errores)
        e.linea = std::max<std::size_t>(e.linea, 2) - 1;
    return resultado;
}

std::string CeldaCsv(std::string_view texto, char separador) {
    const bool citar = texto.find_first_of(std::string{'"', '\r', '\n', separador}) != std::string::npos ||
                       (!texto.empty() && (texto.front() == ' ' || texto.back() == ' '));
    if (!citar)
        return std::string(texto);
    std::string celda = "\"";
    for (const char c : texto)
        celda += c == '"' ? std::string("\"\"") : std::string(1, c);
    return celda + '"';
}

std::string TextoErrorCsv(const ErrorCsv& e, int idioma) {
    const bool es = idioma != kIngles;
    std::string motivo;
    std::string columna; // the column named after the reason, Windows-1252
    switch (e.motivo) {
    case MotivoCsv::Vacio:
        motivo = es ? "el archivo no tiene ninguna lectura" : "the file holds no readings";
        break;
    case MotivoCsv::SinCabecera:
        motivo = es ? "la primera fila no nombra las columnas (Mes, Año, kWh, kvarh…)"
                    : "the first row does not name the columns (Month, Year, kWh, kvarh…)";
        break;
    case MotivoCsv::FaltaColumna:
        motivo = es ? "falta la columna " : "the column is missing: ";
        for (const Columna& c : kColumnas)
            if (Nombre(c, kEspanol) == e.columna)
                columna = Nombre(c, idioma);
        break;
    case MotivoCsv::ColumnaRepetida:
        motivo = es ? "la columna aparece dos veces: " : "the column appears twice: ";
        columna = e.columna;
        break;
    case MotivoCsv::ComillasAbiertas:
        motivo = es ? "unas comillas no se cierran" : "a quotation mark is never closed";
        break;
    case MotivoCsv::NoEsNumero:
        motivo = es ? "no es un número" : "is not a number";
        break;
    case MotivoCsv::NoEsEntero:
        motivo = es ? "no es un número entero" : "is not a whole number";
        break;
    case MotivoCsv::Negativo:
        motivo = es ? "no puede ser negativo" : "cannot be negative";
        break;
    case MotivoCsv::EtiquetaLarga:
        motivo = es ? "tiene más de 15 caracteres" : "is longer than 15 characters";
        break;
    case MotivoCsv::FaltaValor:
        motivo = es ? "está vacío" : "is empty";
        break;
    }
    std::string linea = Utf8ToCp1252(es ? "Línea " : "Line ") + std::to_string(e.linea) + ": ";
    const bool deCelda = e.motivo != MotivoCsv::Vacio && e.motivo != MotivoCsv::SinCabecera &&
                         e.motivo != MotivoCsv::FaltaColumna && e.motivo != MotivoCsv::ColumnaRepetida &&
                         e.motivo != MotivoCsv::ComillasAbiertas;
    if (deCelda)
        linea += e.columna + " \"" + e.valor + "\" ";
    return linea + Utf8ToCp1252(motivo) + columna;
}

} // namespace tarvik
