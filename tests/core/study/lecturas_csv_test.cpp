#include "core/study/lecturas_csv.h"

#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tarvik;

namespace {

TLectura L(const std::string& mes, std::int32_t ano, double kwht, double kvarh, double mdr = 0,
           double cpc = 0, double rr = 0, double it = 0, double ia = 0, double ifp = 0) {
    TLectura l;
    l.mes = mes;
    l.ano = ano;
    l.kwht = kwht;
    l.kvarh = kvarh;
    l.mdr = mdr;
    l.cpc = cpc;
    l.rr = rr;
    l.it = it;
    l.ia = ia;
    l.ifp = ifp;
    return l;
}

std::string Utf16le(const std::string& utf8Ascii) {
    std::string t = "\xFF\xFE";
    for (const char c : utf8Ascii)
        t += std::string{c, '\0'};
    return t;
}

struct CasoBueno {
    const char* nombre;
    std::string csv;
    std::vector<TLectura> lecturas;
};

TEST(LecturasCsv, ReadsTheFilesThatSpreadsheetsAndUtilitiesWrite) {
    const CasoBueno casos[] = {
        {"comma, decimal point, English names",
         "Month,Year,kWh,kvarh,Peak demand (kW),Input transformer (kVA),Reactive power surcharge (€)\n"
         "JAN,2023,40000.5,30000,120,630,95.25\n"
         "FEB,2023,41000,31000.75,121,630,0\n",
         {L("JAN", 2023, 40000.5, 30000, 120, 630, 95.25), L("FEB", 2023, 41000, 31000.75, 121, 630)}},
        {"semicolon, decimal comma, Spanish names, CR LF",
         "Mes;Año;kWh;kvarh;Máxima demanda (kW);Recargo por reactiva (€)\r\n"
         "ENERO;2023;40000,5;30000;120,5;-0\r\n",
         {L("ENERO", 2023, 40000.5, 30000, 120.5)}},
        {"tab separated, the list's own captions, columns in any order, extra columns ignored",
         "kvar.h\tNotes\tMes de Lectura\tkW.h Totales\tAño\tImporte termino de potencia (€)\n"
         "28000\tcheck meter\tMARZO\t35000\t2024\t-12.5\n",
         {L("MARZO", 2024, 35000, 28000, 0, 0, 0, -12.5)}},
        {"Windows-1252 accents in names and labels",
         "Mes;A\xF1o;kWh;kvarh\n" + std::string("ENERO-\xD1"
                                                "U;2023;1;2\n"),
         {L("ENERO-\xD1U", 2023, 1, 2)}},
        {"UTF-8 with its mark",
         "\xEF\xBB\xBFMes,kWh,kvarh\nJUNIO \xC3\x91,1,2\n",
         {L("JUNIO \xD1", 0, 1, 2)}},
        {"UTF-16 as a spreadsheet's Unicode text",
         Utf16le("Month\tkWh\tkvarh\r\nMAY\t7\t8\r\n"),
         {L("MAY", 0, 7, 8)}},
        {"quoted cells: separators, doubled quotes, a line break, blanks kept",
         "Mes,kWh,kvarh\n\"A,\"\"B\"\"\",\"1.5\",2\n\" C\nD \",3,4\n",
         {L("A,\"B\"", 0, 1.5, 2), L(" C\nD ", 0, 3, 4)}},
        {"missing optional cells and blank rows read as nothing",
         "Month,Year,kWh,kvarh,Surcharge\n\nJUL,,5,6\n,,,,\nAUG,2023,7,8,\n",
         {L("JUL", 0, 5, 6), L("AUG", 2023, 7, 8)}},
        {"units written without brackets",
         "Period;kWh;kvarh;Peak demand kW;Transformer kVA\nQ1;1;2;3;4\n",
         {L("Q1", 0, 1, 2, 3, 4)}},
    };
    for (const CasoBueno& c : casos) {
        const ResultadoLecturasCsv r = LeerLecturasCsv(c.csv);
        ASSERT_TRUE(r.ok()) << c.nombre << ": " << TextoErrorCsv(r.errores.front(), kIngles);
        EXPECT_EQ(r.lecturas, c.lecturas) << c.nombre;
    }
}

struct CasoMalo {
    const char* nombre;
    std::string csv;
    ErrorCsv error; // the first one reported
};

TEST(LecturasCsv, ReportsWhatCannotBeReadWithItsLineAndImportsNothing) {
    const CasoMalo casos[] = {
        {"an empty file", "", {1, MotivoCsv::Vacio, "", ""}},
        {"a header without readings", "Mes;kWh;kvarh\r\n\r\n", {1, MotivoCsv::Vacio, "", ""}},
        {"no header row", "ENERO;1;2\n", {1, MotivoCsv::SinCabecera, "", ""}},
        {"a required column missing",
         "Month,kWh,Surcharge\nJAN,1,2\n",
         {1, MotivoCsv::FaltaColumna, "kvarh", ""}},
        {"a column named twice",
         "Month,kWh,kvarh,Totals kWh\nJAN,1,2,3\n",
         {1, MotivoCsv::ColumnaRepetida, "Totals kWh", ""}},
        {"a cell that is not a number, after good rows",
         "Month,kWh,kvarh\nJAN,1,2\nFEB,12a,2\nMAR,1,2\n",
         {3, MotivoCsv::NoEsNumero, "kWh", "12a"}},
        {"thousands marks mixed with the decimal comma",
         "Mes;kWh;kvarh\nENE;1.234,5;2\n",
         {2, MotivoCsv::NoEsNumero, "kWh", "1.234,5"}},
        {"infinity", "Mes,kWh,kvarh\nENE,inf,2\n", {2, MotivoCsv::NoEsNumero, "kWh", "inf"}},
        {"a fractional year",
         "Mes,Year,kWh,kvarh\nENE,2023.5,1,2\n",
         {2, MotivoCsv::NoEsEntero, "Year", "2023.5"}},
        {"a negative energy", "Mes,kWh,kvarh\nENE,1,-2\n", {2, MotivoCsv::Negativo, "kvarh", "-2"}},
        {"a required cell left empty", "Mes,kWh,kvarh\nENE,,2\n", {2, MotivoCsv::FaltaValor, "kWh", ""}},
        {"a label of 16 characters",
         "Mes,kWh,kvarh\nSEPTIEMBRE 2023X,1,2\n",
         {2, MotivoCsv::EtiquetaLarga, "Mes", "SEPTIEMBRE 2023X"}},
        {"a quote that never closes, counted from its row",
         "Mes,kWh,kvarh\nA,1,2\n\"B\n,1,2\n",
         {3, MotivoCsv::ComillasAbiertas, "", ""}},
        {"line numbers count the breaks inside quotes",
         "Mes,kWh,kvarh\n\"A\nB\",1,2\nC,x,2\n",
         {4, MotivoCsv::NoEsNumero, "kWh", "x"}},
    };
    for (const CasoMalo& c : casos) {
        const ResultadoLecturasCsv r = LeerLecturasCsv(c.csv);
        ASSERT_FALSE(r.ok()) << c.nombre;
        EXPECT_EQ(r.errores.front(), c.error)
            << c.nombre << ": " << TextoErrorCsv(r.errores.front(), kIngles);
        EXPECT_TRUE(r.lecturas.empty()) << c.nombre;
    }
}

TEST(LecturasCsv, EveryBadRowIsListedUpToALimitAndTheRestCounted) {
    std::string csv = "Mes,kWh,kvarh\n";
    for (int i = 0; i < 30; ++i)
        csv += "M,x,1\nN,1,1\n";
    const ResultadoLecturasCsv r = LeerLecturasCsv(csv);
    ASSERT_EQ(r.errores.size(), 20u);
    EXPECT_EQ(r.errores[1].linea, 4u);
    EXPECT_EQ(r.erroresOmitidos, 10u);
    EXPECT_TRUE(r.lecturas.empty());
}

TEST(LecturasCsv, ErrorTextsNameTheLineTheColumnAndTheCellInBothLanguages) {
    const ErrorCsv celda{3, MotivoCsv::NoEsNumero, "kWh", "12a"};
    EXPECT_EQ(Cp1252ToUtf8(TextoErrorCsv(celda, kEspanol)), "Línea 3: kWh \"12a\" no es un número");
    EXPECT_EQ(TextoErrorCsv(celda, kIngles), "Line 3: kWh \"12a\" is not a number");
    const ErrorCsv falta{1, MotivoCsv::FaltaColumna, Utf8ToCp1252("Año"), ""};
    EXPECT_EQ(Cp1252ToUtf8(TextoErrorCsv(falta, kEspanol)), "Línea 1: falta la columna Año");
    EXPECT_EQ(TextoErrorCsv(falta, kIngles), "Line 1: the column is missing: Year");
}

TEST(LecturasCsv, ExportReadsBackExactlyInBothLocalesAndLanguages) {
    std::vector<TLectura> lecturas = {
        L(Utf8ToCp1252("AÑO \"X\"; a,b"), 2023, 0.1 + 0.2, 1.0 / 3, 123.456, 630, 1e-7, -5.5, -0.0, 12.25),
        L(" ESPACIOS ", 0, 1e20, 4.9e-324, std::numeric_limits<double>::max(), 0, 95.125, 0, 1e-300, -1e300),
        L("", -7, 40000, 30000),
    };
    for (const char decimal : {'.', ','})
        for (const int idioma : {kEspanol, kIngles}) {
            const std::string csv = EscribirLecturasCsv(lecturas, decimal, idioma);
            const ResultadoLecturasCsv r = LeerLecturasCsv(csv);
            ASSERT_TRUE(r.ok()) << TextoErrorCsv(r.errores.front(), kIngles) << "\n" << csv;
            ASSERT_EQ(r.lecturas.size(), lecturas.size());
            for (std::size_t i = 0; i < lecturas.size(); ++i) {
                EXPECT_EQ(r.lecturas[i], lecturas[i]) << decimal << idioma << " reading " << i;
                EXPECT_EQ(std::signbit(r.lecturas[i].ia), std::signbit(lecturas[i].ia));
            }
        }
}

TEST(LecturasCsv, ExportLeavesOutTheComputedPowerFactorAndTheReservedBytes) {
    TLectura l = L("ENERO", 2023, 1, 2);
    l.coseno = 0.447;
    l.reservado1[0] = 9;
    const std::string csv = EscribirLecturasCsv({l}, ',', kEspanol);
    EXPECT_EQ(csv.substr(3),
              "Mes;Año;kWh;kvarh;Máxima demanda (kW);Transformador de entrada (kVA);Recargo por reactiva (€);"
              "Importe término de potencia (€);Importe término de activa (€);Descuento por reactiva (€)\r\n"
              "ENERO;2023;1;2;0;0;0;0;0;0\r\n");
    EXPECT_EQ(LeerLecturasCsv(csv).lecturas, std::vector<TLectura>{L("ENERO", 2023, 1, 2)});
}

} // namespace

namespace {

TEST(LecturasCsv, PastedRowsWithoutHeaderTakeTheListsColumnOrder) {
    const ResultadoLecturasCsv sinCabecera =
        LeerLecturasPegadas("ENERO\t2023\t40000,5\t30000\t120\t630\t95\r\nFEBRERO\t2023\t41000\t31000\n");
    ASSERT_TRUE(sinCabecera.ok()) << TextoErrorCsv(sinCabecera.errores.front(), kIngles);
    EXPECT_EQ(sinCabecera.lecturas, (std::vector<TLectura>{L("ENERO", 2023, 40000.5, 30000, 120, 630, 95),
                                                           L("FEBRERO", 2023, 41000, 31000)}));
    // A bad cell is counted from the first pasted row.
    const ResultadoLecturasCsv mal = LeerLecturasPegadas("A\t2023\t1\t2\nB\t2023\tx\t2\n");
    ASSERT_FALSE(mal.ok());
    EXPECT_EQ(mal.errores.front().linea, 2u);
    EXPECT_EQ(mal.errores.front().valor, "x");
    // With the header row that a copy out of the list carries, in either language.
    const std::vector<TLectura> lecturas = {L("ENERO \xD1", 2023, 0.1, 2.5, 3, 4, 5, -6, 7, 8)};
    for (const int idioma : {kEspanol, kIngles})
        EXPECT_EQ(LeerLecturasPegadas(EscribirLecturasTabuladas(lecturas, ',', idioma)).lecturas, lecturas);
}

} // namespace
