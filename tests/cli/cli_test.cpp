// Black-box tests of tarvik-cli: each writes a study and a small catalogue folder, runs the program
// and reads its JSON.

#include "core/catalogue/catalogo.h"
#include "core/engine/calculo.h"
#include "core/results/tablas.h"
#include "core/util/cp1252.h"
#include "platform/archivo_estudio.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <limits>

using namespace tarvik;

namespace {

struct Ejecucion {
    int codigo = -1;
    QByteArray salida, errores;
    bool normal = false; // the program ended by itself, not by a signal
    QJsonObject json() const {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(salida, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n"
                                                         << salida.toStdString();
        return doc.object();
    }
};

// Runs the program under a locale, with the system's interface language `idioma` and the settings
// under `ajustes` (an empty settings folder unless given).
Ejecucion Ejecutar(const QStringList& argumentos, const QString& lang = "C", const QString& idioma = "es",
                   const QString& ajustes = {}) {
    static const QTemporaryDir sinAjustes;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", lang);
    env.insert("LC_ALL", lang);
    env.insert("LANGUAGE", idioma);
    env.insert("XDG_CONFIG_HOME", ajustes.isEmpty() ? sinAjustes.path() : ajustes);
    p.setProcessEnvironment(env);
    p.start(TARVIK_CLI, argumentos);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError(),
            p.exitStatus() == QProcess::NormalExit};
}

template <class Registro> void Escribir(const QString& ruta, const std::vector<Registro>& registros) {
    std::ofstream f(ruta.toStdString(), std::ios::binary);
    for (const Registro& r : registros) {
        const auto b = r.Codificar();
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
}

TEquipo Equipo(const std::string& codigo, const std::string& serie, float potencia, float precio,
               std::uint8_t tipo = 0) {
    TEquipo e;
    e.codigo = codigo;
    e.serie = serie;
    e.potencia = potencia;
    e.tension = 400;
    e.precio = precio;
    e.tipo = tipo;
    return e;
}

TLectura Lectura(const std::string& mes, double kwht, double kvarh, double mdr, double rr) {
    TLectura l;
    l.mes = mes;
    l.ano = 2023;
    l.kwht = kwht;
    l.kvarh = kvarh;
    l.mdr = mdr;
    l.cpc = 630;
    l.rr = rr;
    return l;
}

// A study folder with a catalogue folder: banks of 150 and 200 kvar, a transformer capacitor, conductors up
// to 300 A and two current transformers.
class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        datos = TDatosEstudio{};
        lecturas.clear();
        dbf = dir.filePath("dbf");
        ASSERT_TRUE(QDir().mkpath(dbf));
        Escribir(dbf + "/bateria.dat",
                 std::vector<TEquipo>{Equipo("JD-150", "Jade", 150, 4200), Equipo("AM-200", "Ambar", 200, 0),
                                      Equipo("FX-32", "Fija", 32.5f, 310, 1)});
        std::vector<TConductor> conductores;
        for (auto [s, i] : {std::pair{70.0f, 184.0f}, {95.0f, 223.0f}, {120.0f, 259.0f}, {185.0f, 300.0f}}) {
            TConductor c;
            c.seccion = s;
            c.intensidad = i;
            conductores.push_back(c);
        }
        Escribir(dbf + "/cond.dat", conductores);
        TTransformador t;
        t.designacion = "TI 400/5";
        t.intensidad = 400;
        TTransformador t2 = t;
        t2.designacion = "TI 300/5";
        t2.intensidad = 300;
        Escribir(dbf + "/trans.dat", std::vector<TTransformador>{t, t2});

        datos.empresa = Utf8ToCp1252("MONTAÑA Y CÍA");
        datos.cliente = "\x1a odd";
        datos.equipos = 1;
        for (int i = 0; i < 12; ++i)
            lecturas.push_back(Lectura(Utf8ToCp1252("AÑO") + std::to_string(i), 40000 + i / 3.0,
                                       30000 + 0.1 * i, 100 + i, 100));
    }

    QString Estudio(const std::string& nombre = "estudio.fac") const {
        const QString ruta = dir.filePath(QString::fromStdString(nombre));
        const auto bytes = CodificarFacturacion(datos, lecturas);
        std::ofstream f(ruta.toStdString(), std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return ruta;
    }

    // The same calculation in this process, as the program runs it after loading the study.
    Sesion EnProceso(char separador) const {
        Sesion s;
        s.rutas = Rutas::DesdeCarpetas(dir.path().toStdString(), dbf.toStdString());
        s.CargarCatalogosFijos();
        s.Datos = datos;
        s.Lecturas = lecturas;
        ListaMensajes m;
        EXPECT_TRUE(Calcular(s, MostrarDatos(datos), m, separador));
        return s;
    }

    QTemporaryDir dir;
    QString dbf;
    TDatosEstudio datos;
    std::vector<TLectura> lecturas;
};

QJsonArray Tabla(const Rejilla& r) {
    QJsonArray filas;
    for (const auto& fila : r) {
        QJsonArray celdas;
        for (const auto& c : fila)
            celdas.append(QString::fromStdString(Cp1252ToUtf8(c)));
        filas.append(celdas);
    }
    return filas;
}

} // namespace

TEST_F(Cli, CalcPrintsEveryResultExactly) {
    const Ejecucion e = Ejecutar({"calc", Estudio(), "--dbf", dbf});
    ASSERT_EQ(e.codigo, 0) << e.errores.toStdString();
    const QJsonObject j = e.json();
    const Sesion s = EnProceso('.');
    EXPECT_TRUE(j["ok"].toBool());
    EXPECT_TRUE(j["messages"].toArray().isEmpty());

    // Every double reads back to the very value the engine computed.
    const QJsonObject a = j["analysis"].toObject();
    EXPECT_EQ(a["qc"].toDouble(), s.Analisis.qc);
    EXPECT_EQ(a["cosenoMedio"].toDouble(), s.Analisis.cosenoMedio);
    EXPECT_EQ(a["cosenoMinimo"].toDouble(), s.Analisis.cosenoMinimo);
    EXPECT_EQ(a["difTanMaxDemanda"].toDouble(), s.Analisis.difTanMaxDemanda);
    EXPECT_EQ(a["precioMedio"].toDouble(), s.Analisis.precioMedio);
    EXPECT_EQ(a["reservado"].toArray().size(), 3);
    const QJsonArray r = j["readings"].toArray();
    ASSERT_EQ(r.size(), 12);
    for (std::size_t i = 0; i < 12; ++i) {
        const QJsonValue lectura = r[static_cast<int>(i)];
        EXPECT_EQ(lectura["coseno"].toDouble(), s.Lecturas[i].coseno);
        EXPECT_EQ(lectura["kwht"].toDouble(), lecturas[i].kwht);
        EXPECT_EQ(lectura["kvarh"].toDouble(), lecturas[i].kvarh);
    }
    EXPECT_EQ(r[0]["mes"].toString(), QString::fromUtf8("AÑO0"));
    EXPECT_FALSE(r[0].toObject().contains("reservado1"));

    const QJsonObject st = j["study"].toObject();
    EXPECT_EQ(st["empresa"].toString(), QString::fromUtf8("MONTAÑA Y CÍA"));
    EXPECT_EQ(st["cliente"].toString(), QString::fromUtf8("\x1a odd"));
    EXPECT_EQ(st["cosenoDeseado"].toDouble(), 1.0);
    EXPECT_EQ(st["version"].toInt(), 100);

    const QJsonArray eq = j["equipment"].toArray();
    ASSERT_EQ(eq.size(), 2);
    EXPECT_EQ(eq[0]["codigo"].toString().toStdString(), "AM-200");
    EXPECT_EQ(eq[0]["codigoSerie"].toInt(), 1);
    EXPECT_EQ(eq[1]["codigo"].toString().toStdString(), "FX-32");
    const QJsonArray co = j["conductors"].toArray();
    ASSERT_EQ(co.size(), 2);
    EXPECT_EQ(co[0]["intensidadNominal"].toDouble(), s.ConductoresSeleccionados[0].intensidadNominal);
    EXPECT_EQ(co[0]["cantidad"].toInt(), 2);
    const QJsonArray tr = j["transformers"].toArray();
    ASSERT_EQ(tr.size(), 1);
    EXPECT_EQ(tr[0]["designacion"].toString().toStdString(),
              "TI 300/5"); // 111 kW at 0.8: 200 A, 300 A required
    EXPECT_EQ(tr[0]["cantidad"].toInt(), 1);

    // The tables exactly as the results window fills them.
    const QJsonObject t = j["tables"].toObject();
    EXPECT_EQ(t["equipment"].toArray(), Tabla(MostrarEquipos(s.EquiposSeleccionados, 1, 0, '.')));
    EXPECT_EQ(t["transformers"].toArray(),
              Tabla(MostrarTransformadores(s.TransformadoresSeleccionados, s.EquiposSeleccionados, '.')));
    EXPECT_EQ(t["conductors"].toArray(),
              Tabla(MostrarConductores(s.ConductoresSeleccionados, s.EquiposSeleccionados, 0, '.')));
    EXPECT_EQ(t["equipment"].toArray()[1].toArray()[1].toString().toStdString(), " AM-200");
    EXPECT_EQ(t["equipment"].toArray()[2].toArray()[1].toString().toStdString(), " 200.00");
    EXPECT_EQ(t["transformers"].toArray()[1].toArray()[1].toString().toStdString(), " 300/5");
    EXPECT_EQ(t["equipment"].toArray()[1].toArray()[0].toString().toStdString(),
              " Código del equipo a instalar");
    EXPECT_EQ(t["equipment"].toArray()[5].toArray()[1].toString().toStdString(), " Consultar");
}

TEST_F(Cli, NumberTextsFollowTheUserLocale) {
    const Ejecucion es = Ejecutar({"calc", Estudio(), "--dbf", dbf}, "es_ES.UTF-8");
    ASSERT_EQ(es.codigo, 0) << es.errores.toStdString();
    const QJsonObject j = es.json();
    EXPECT_EQ(j["tables"]["equipment"].toArray()[2].toArray()[2].toString().toStdString(), " 32,50");
    EXPECT_EQ(j["conductors"].toArray().at(0)["seccion"].toString().toStdString(), "95,00");
    // JSON numbers stay JSON numbers.
    EXPECT_TRUE(j["analysis"]["qc"].isDouble());

    const Ejecucion c = Ejecutar({"calc", Estudio(), "--dbf", dbf}, "C");
    const QJsonObject jc = c.json();
    EXPECT_EQ(jc["tables"]["equipment"].toArray()[2].toArray()[2].toString().toStdString(), " 32.50");
}

TEST_F(Cli, OddDoublesReadBackExactly) {
    const double valores[] = {
        0.1, 1.0 / 3, 4.9406564584124654e-324, 1.7976931348623157e308, 123456789.123456789, -2.5e-7};
    for (std::size_t i = 0; i < std::size(valores); ++i)
        lecturas[i].rr = valores[i];
    const Ejecucion e = Ejecutar({"calc", Estudio(), "--dbf", dbf});
    const QJsonArray r = e.json()["readings"].toArray();
    for (std::size_t i = 0; i < std::size(valores); ++i)
        EXPECT_EQ(r[static_cast<int>(i)]["rr"].toDouble(), valores[i]) << i;
}

TEST_F(Cli, AFilterStudyIsCalculatedAtFiftyHertzAsOpenShowsIt) {
    const struct {
        std::int32_t equipos;
        std::int32_t frecuencia;
        int esperada;
    } casos[] = {{0, 1, 0}, {1, 1, 1}, {0, 0, 0}};
    for (const auto& c : casos) {
        datos.equipos = c.equipos;
        datos.frecuencia = c.frecuencia;
        // A filter study finds no filter catalogue here; the study is printed all the same.
        const Ejecucion e = Ejecutar({"calc", Estudio(), "--dbf", dbf});
        const QJsonObject estudio = e.json()["study"].toObject();
        EXPECT_EQ(estudio["frecuencia"].toInt(), c.esperada) << c.equipos << " " << c.frecuencia;
    }
}

TEST_F(Cli, RefusedCalculationExitsOneWithItsMessages) {
    const struct {
        const char* nombre;
        void (*preparar)(TDatosEstudio&, std::vector<TLectura>&);
        std::vector<std::pair<QString, QString>> mensajes; // kind, key
        bool sinCatalogo;
    } casos[] = {
        {"no compensation needed",
         [](TDatosEstudio&, std::vector<TLectura>& l) {
             for (auto& x : l)
                 x.kvarh = 0;
         },
         {{"information", "no_compensacion"}},
         false},
        {"contracted power without values",
         [](TDatosEstudio& d, std::vector<TLectura>&) {
             d.tipoCalculo = 1;
             d.tieneTransformador = true;
         },
         {{"information", "error_potencia_maxima"}, {"information", "error_cpc_value"}},
         false},
        {"missing catalogue",
         [](TDatosEstudio&, std::vector<TLectura>&) {},
         {{"information", "no_baterias"}},
         true},
    };
    for (const auto& c : casos) {
        c.preparar(datos, lecturas);
        if (c.sinCatalogo)
            QFile::remove(dbf + "/bateria.dat");
        const Ejecucion e = Ejecutar({"calc", Estudio(), "--dbf", dbf, "--lang", "en"});
        EXPECT_EQ(e.codigo, 1) << c.nombre;
        const QJsonObject j = e.json();
        EXPECT_FALSE(j["ok"].toBool());
        EXPECT_FALSE(j.contains("tables"));
        const QJsonArray m = j["messages"].toArray();
        ASSERT_EQ(m.size(), static_cast<int>(c.mensajes.size())) << c.nombre;
        for (std::size_t i = 0; i < c.mensajes.size(); ++i) {
            const QJsonValue mensaje = m[static_cast<int>(i)];
            EXPECT_EQ(mensaje["kind"].toString(), c.mensajes[i].first);
            EXPECT_EQ(mensaje["key"].toString(), c.mensajes[i].second);
            EXPECT_TRUE(mensaje["text"].isString());
        }
        SetUp();
    }
}

TEST_F(Cli, TotalsTextsAndRefusals) {
    const Ejecucion e = Ejecutar({"totals", Estudio(), "--dbf", dbf}, "es_ES.UTF-8");
    ASSERT_EQ(e.codigo, 0) << e.errores.toStdString();
    const QJsonObject j = e.json();
    EXPECT_TRUE(j["ok"].toBool());
    EXPECT_EQ(j["fpb"].toString().toStdString(), "0,80");
    EXPECT_EQ(j["fpm"].toString().toStdString(), "0,80");
    EXPECT_EQ(j["fpd"].toString().toStdString(), "1,00");
    EXPECT_EQ(j["total_penalizacion"].toString().toStdString(), "1200");

    // Already compensated: the step's message, then the billing error, in the chosen language.
    for (auto& l : lecturas)
        l.kvarh = 0;
    const struct {
        const char* idioma;
        const char* compensacion;
        const char* facturacion;
    } idiomas[] = {{"es", "No es necesario realizar la compensación.", "Error en los datos de facturación."},
                   {"en", "It is not necessary to compensate", "Billing error"}};
    for (const auto& i : idiomas) {
        const Ejecucion r = Ejecutar({"totals", Estudio(), "--dbf", dbf, "--lang", i.idioma});
        EXPECT_EQ(r.codigo, 1);
        const QJsonArray m = r.json()["messages"].toArray();
        ASSERT_EQ(m.size(), 2);
        EXPECT_EQ(m[0]["key"].toString().toStdString(), "no_compensacion");
        EXPECT_EQ(m[0]["kind"].toString().toStdString(), "information");
        EXPECT_EQ(m[0]["text"].toString().toStdString(), i.compensacion);
        EXPECT_EQ(m[1]["key"].toString().toStdString(), "error_facturacion");
        EXPECT_EQ(m[1]["kind"].toString().toStdString(), "error");
        EXPECT_EQ(m[1]["text"].toString().toStdString(), i.facturacion);
        EXPECT_FALSE(r.json().contains("fpb"));
    }

    // Not totalled at all: by contracted power, or without readings.
    datos.tipoCalculo = 1;
    const Ejecucion p = Ejecutar({"totals", Estudio(), "--dbf", dbf});
    EXPECT_EQ(p.codigo, 2);
    EXPECT_TRUE(p.salida.isEmpty());
    datos.tipoCalculo = 0;
    lecturas.clear();
    const Ejecucion v = Ejecutar({"totals", Estudio(), "--dbf", dbf});
    EXPECT_EQ(v.codigo, 2);
    EXPECT_EQ(v.errores.count('\n'), 1);
}

TEST_F(Cli, UnreadableStudiesAndBadCommandLines) {
    const QString basura = dir.filePath("basura.fac");
    {
        std::ofstream f(basura.toStdString(), std::ios::binary);
        f << "not a study at all";
    }
    const QString ausente = dir.filePath("ausente.fac");
    for (const QString& ruta : {basura, ausente}) {
        const Ejecucion e = Ejecutar({"calc", ruta, "--dbf", dbf});
        EXPECT_EQ(e.codigo, 2) << ruta.toStdString();
        EXPECT_TRUE(e.salida.isEmpty());
        EXPECT_EQ(e.errores.count('\n'), 1) << e.errores.toStdString();
        EXPECT_TRUE(e.errores.contains(ruta.toUtf8())) << e.errores.toStdString();
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("vacia"));
    const QStringList malas[] = {{},
                                 {"compute", Estudio()},
                                 {"calc"},
                                 {"calc", Estudio(), "--lang", "fr"},
                                 {"calc", Estudio(), "--dbf"},
                                 {"report", Estudio(), Estudio(), "-o", "x.pdf"},
                                 {"calc", dir.filePath("vacia")},
                                 {"export", Estudio(), "-o", "x.csv"},
                                 {"summary", Estudio(), "-o", "x.txt"},
                                 {"totals", Estudio(), "-o", "x.pdf"}};
    for (const QStringList& a : malas) {
        const Ejecucion e = Ejecutar(a);
        EXPECT_EQ(e.codigo, 2) << a.join(' ').toStdString();
        EXPECT_TRUE(e.salida.isEmpty());
    }
    EXPECT_EQ(Ejecutar({"--version"}).codigo, 0);
    const Ejecucion ayuda = Ejecutar({"--help"});
    EXPECT_EQ(ayuda.codigo, 0);
    EXPECT_TRUE(ayuda.salida.contains("tarvik-cli calc"));
}

// Studies and catalogues from elsewhere: numbers that are not finite or out of every range end in
// a refusal with its message, or in results whose every number is finite; never in a crash.
TEST_F(Cli, HostileStudiesAndCataloguesEndWithAMessageOrSoundResults) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    using CambioEstudio = void (*)(TDatosEstudio&, std::vector<TLectura>&);
    using CambioCatalogo = void (*)(const QString& carpeta);
    const CambioEstudio igual = [](TDatosEstudio&, std::vector<TLectura>&) {};
    const struct {
        const char* nombre;
        CambioEstudio estudio;
        CambioCatalogo catalogo;
        int codigo;
        const char* clave; // the calculation's first message, if any
    } casos[] = {
        {"active energy not a number", [](TDatosEstudio&, std::vector<TLectura>& l) { l[3].kwht = kNaN; },
         nullptr, 1, "error_datos"},
        {"infinite reactive energy", [](TDatosEstudio&, std::vector<TLectura>& l) { l[3].kvarh = -kInf; },
         nullptr, 1, "error_datos"},
        {"surcharges past every number",
         [](TDatosEstudio&, std::vector<TLectura>& l) { l[3].rr = std::numeric_limits<double>::max(); },
         nullptr, 1, "error_facturacion"},
        {"a peak demand beyond every bank",
         [](TDatosEstudio&, std::vector<TLectura>& l) { l[3].mdr = 1e300; }, nullptr, 1, "no_baterias"},
        {"a desired factor that is not a number",
         [](TDatosEstudio& d, std::vector<TLectura>&) {
             d.cosenoDeseado = std::numeric_limits<float>::quiet_NaN();
         },
         nullptr, 1, "no_compensacion"},
        {"choices out of range",
         [](TDatosEstudio& d, std::vector<TLectura>&) {
             d.tarifa = -3;
             d.voltaje = 7;
             d.tipoLectura = 99;
             d.temperatura = 1 << 30;
             d.horas = std::numeric_limits<std::int32_t>::min();
         },
         nullptr, 1, "baterias_35"},
        {"damaged banks", igual,
         [](const QString& carpeta) {
             constexpr float inf = std::numeric_limits<float>::infinity();
             Escribir(
                 carpeta + "/bateria.dat",
                 std::vector<TEquipo>{Equipo("JD-INF", "Jade", inf, 0),
                                      Equipo("AM-200", "Ambar", 200, std::numeric_limits<float>::quiet_NaN()),
                                      Equipo("FX-32", "Fija", 32.5f, -inf, 1)});
         },
         0, nullptr},
        {"conductors whose largest current is 0 and no current transformers", igual,
         [](const QString& carpeta) {
             TConductor c;
             c.seccion = 1.5f;
             Escribir(carpeta + "/cond.dat", std::vector<TConductor>{c});
             Escribir(carpeta + "/trans.dat", std::vector<TTransformador>{});
         },
         0, nullptr},
    };
    for (const auto& c : casos) {
        c.estudio(datos, lecturas);
        if (c.catalogo)
            c.catalogo(dbf);
        const QString estudio = Cli::Estudio();
        const Ejecucion e = Ejecutar({"calc", estudio, "--dbf", dbf});
        ASSERT_TRUE(e.normal) << c.nombre;
        EXPECT_EQ(e.codigo, c.codigo) << c.nombre << "\n" << e.errores.toStdString();
        const QJsonObject j = e.json();
        EXPECT_EQ(j["ok"].toBool(), c.codigo == 0) << c.nombre;
        const QJsonArray m = j["messages"].toArray();
        if (c.clave) {
            ASSERT_FALSE(m.isEmpty()) << c.nombre;
            EXPECT_EQ(m[0]["key"].toString().toStdString(), c.clave) << c.nombre;
        }
        // Every result number is finite: none prints as null, no cell shows one that is not.
        for (const char* lista : {"equipment", "conductors", "transformers"})
            for (const QJsonValue fila : j[lista].toArray())
                for (const QJsonValue valor : fila.toObject())
                    EXPECT_FALSE(valor.isNull()) << c.nombre << ": " << lista;
        if (c.codigo == 0) {
            EXPECT_EQ(j["equipment"].toArray().size(), j["conductors"].toArray().size()) << c.nombre;
        }
        const QString tablas = QJsonDocument(j["tables"].toObject()).toJson().toLower();
        EXPECT_FALSE(tablas.contains("nan") || tablas.contains("inf")) << c.nombre;

        const Ejecucion totales = Ejecutar({"totals", estudio, "--dbf", dbf});
        ASSERT_TRUE(totales.normal) << c.nombre;
        EXPECT_TRUE(totales.codigo == 0 || totales.codigo == 1) << c.nombre;
        for (const char* campo : {"fpb", "fpm", "fpd", "total_penalizacion"}) {
            const QString texto = totales.json()[campo].toString().toLower();
            EXPECT_FALSE(texto.contains("nan") || texto.contains("inf")) << c.nombre << ": " << campo;
        }
        SetUp();
    }
}

// The example studies with the catalogues shipped beside the program (no --dbf).
TEST(CliEjemplos, EveryExampleIsSizedWithTheShippedCatalogues) {
    const QDir ejemplos(TARVIK_SOURCE_DIR "/examples");
    const QStringList estudios = ejemplos.entryList({"*.fac"}, QDir::Files);
    ASSERT_FALSE(estudios.isEmpty());
    for (const QString& nombre : estudios) {
        const Ejecucion e = Ejecutar({"calc", ejemplos.filePath(nombre)});
        EXPECT_EQ(e.codigo, 0) << nombre.toStdString() << e.salida.toStdString();
        const QJsonObject j = e.json();
        EXPECT_TRUE(j["ok"].toBool()) << nombre.toStdString();
        const QJsonArray equipos = j["equipment"].toArray();
        EXPECT_FALSE(equipos.isEmpty()) << nombre.toStdString();
        EXPECT_EQ(j["conductors"].toArray().size(), equipos.size()) << nombre.toStdString();
        const int extra = j["study"]["tarifa"].toInt() == 8 ? 1 : 0; // tariff "1.1" adds a blank column
        EXPECT_EQ(j["tables"]["equipment"].toArray()[0].toArray().size(), equipos.size() + 1 + extra)
            << nombre.toStdString();
    }
}

namespace {

// Pages of a PDF file that Qt wrote: one page object each.
int PaginasPdf(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray pdf = f.readAll();
    return static_cast<int>(pdf.count("/Type /Page\n"));
}

} // namespace

TEST_F(Cli, ReportWritesTheChosenSectionsAsAPdf) {
    // The shipped catalogues and descriptions beside the program, and the shipped example study.
    const QString ejemplo = TARVIK_SOURCE_DIR "/examples/bancos-400v-mensual.fac";
    struct Caso {
        QString secciones;
        int paginas;
    };
    // Final report (two pages), one page of descriptions, the chart.
    for (const Caso& c : {Caso{"", 4}, Caso{"0,1,2", 4}, Caso{"0", 2}, Caso{"2,1", 2}, Caso{"1", 1}}) {
        const QString pdf = dir.filePath("informe.pdf");
        QFile::remove(pdf);
        QStringList argumentos = {"report", ejemplo, "-o", pdf};
        if (!c.secciones.isEmpty())
            argumentos << "--sections" << c.secciones;
        const Ejecucion e = Ejecutar(argumentos);
        EXPECT_EQ(e.codigo, 0) << c.secciones.toStdString() << ": " << e.errores.toStdString();
        EXPECT_EQ(PaginasPdf(pdf), c.paginas) << c.secciones.toStdString();
    }
}

TEST_F(Cli, ReportRefusalsAndUsageErrors) {
    // The test catalogue has no description files: the job stops and no PDF is left.
    const QString pdf = dir.filePath("informe.pdf");
    datos.tarifa = kTarifa11;
    Ejecucion e = Ejecutar({"report", Estudio(), "-o", pdf, "--dbf", dbf});
    EXPECT_EQ(e.codigo, 1);
    EXPECT_TRUE(e.errores.contains("Serie "));
    EXPECT_TRUE(e.errores.contains(".txt\". No such file or directory")) << e.errores.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    // Without the descriptions section the report is written: the final report and the chart.
    e = Ejecutar({"report", Estudio(), "-o", pdf, "--dbf", dbf, "--sections", "0,2"});
    EXPECT_EQ(e.codigo, 0) << e.errores.toStdString();
    EXPECT_EQ(PaginasPdf(pdf), 3);
    // A refused calculation writes nothing and says why.
    QFile::remove(pdf);
    lecturas.clear();
    e = Ejecutar({"report", Estudio(), "-o", pdf, "--dbf", dbf, "--sections", "0"});
    EXPECT_EQ(e.codigo, 1);
    EXPECT_FALSE(e.errores.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));

    for (const QStringList& a : {QStringList{"report", Estudio(), "--dbf", dbf},
                                 QStringList{"report", Estudio(), "-o", pdf, "--sections", "3"},
                                 QStringList{"report", Estudio(), "-o", pdf, "--sections", "0,0"},
                                 QStringList{"report", Estudio(), "-o", pdf, "--sections", "0,"},
                                 QStringList{"report", Estudio(), "-o", pdf, "--sections", ""}}) {
        e = Ejecutar(a);
        EXPECT_EQ(e.codigo, 2) << a.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(pdf)) << a.join(' ').toStdString();
    }
}

TEST_F(Cli, WithoutLangTheLanguageIsTheStoredOneElseTheSystems) {
    QTemporaryDir ajustes;
    const auto guardar = [&](const char* contenido) {
        QDir().mkpath(ajustes.filePath("KELTU"));
        QFile f(ajustes.filePath("KELTU/Tarvik.conf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenido);
    };
    const struct {
        const char* ajustes; // nullptr: nothing stored
        const char* sistema;
        QStringList extra;
        const char* precio; // the price cell of the equipment on request
    } casos[] = {
        {nullptr, "es_ES", {}, " Consultar"},
        {nullptr, "en_GB", {}, " Consult Us"},
        {"[General]\nauto=1\nlanguage=1\n", "en_US", {}, " Consult Us"},
        {"[General]\nauto=0\nlanguage=2\n", "es_ES", {}, " Consult Us"},
        {"[General]\nauto=0\nlanguage=1\n", "en_US", {}, " Consultar"},
        {"[General]\nauto=0\nlanguage=2\n", "es_ES", {"--lang", "es"}, " Consultar"},
    };
    for (const auto& c : casos) {
        if (c.ajustes)
            guardar(c.ajustes);
        else
            QFile::remove(ajustes.filePath("KELTU/Tarvik.conf"));
        const Ejecucion e =
            Ejecutar(QStringList{"calc", Estudio(), "--dbf", dbf} + c.extra, "C", c.sistema, ajustes.path());
        ASSERT_EQ(e.codigo, 0) << e.errores.toStdString();
        EXPECT_EQ(e.json()["tables"]
                      .toObject()["equipment"]
                      .toArray()
                      .at(5)
                      .toArray()
                      .at(1)
                      .toString()
                      .toStdString(),
                  c.precio)
            << (c.ajustes ? c.ajustes : "none") << " " << c.sistema;
    }
    EXPECT_TRUE(Ejecutar({"--help"}).salida.contains("Without --lang the language is the one fixed"));
}

namespace {

std::vector<QJsonObject> Lineas(const QByteArray& salida) {
    std::vector<QJsonObject> lineas;
    for (const QByteArray& linea : salida.split('\n')) {
        if (linea.isEmpty())
            continue;
        QJsonParseError error;
        lineas.push_back(QJsonDocument::fromJson(linea, &error).object());
        EXPECT_EQ(error.error, QJsonParseError::NoError) << linea.toStdString();
    }
    return lineas;
}

} // namespace

// Several studies and folders: one line each in the order given, a failing study in the middle
// gives its error line, and the exit code is the worst of them.
TEST_F(Cli, BatchRunsAnswerEveryStudyInOrderWhateverFails) {
    const QString bueno = Estudio("a.fac");
    {
        std::ofstream f(dir.filePath("b-roto.fac").toStdString(), std::ios::binary);
        f << "not a study";
    }
    QDir(dir.path()).mkdir("lote");
    const QString carpeta = dir.filePath("lote");
    for (int i = 0; i < 40; ++i) {
        lecturas[0].kwht = 40000 + i; // each study its own figures, to see the order
        Estudio(QString("lote/e%1.fac").arg(i, 2, 10, QChar('0')).toStdString());
    }
    auto sinReactiva = lecturas;
    for (auto& l : lecturas)
        l.kvarh = 0;
    const QString compensado = Estudio("c.fac");
    lecturas = sinReactiva;

    const Ejecucion e =
        Ejecutar({"calc", bueno, dir.filePath("b-roto.fac"), compensado, carpeta, "--dbf", dbf});
    EXPECT_EQ(e.codigo, 2);
    const std::vector<QJsonObject> l = Lineas(e.salida);
    ASSERT_EQ(l.size(), 43u) << e.salida.toStdString();
    EXPECT_EQ(l[0]["file"].toString(), bueno);
    EXPECT_TRUE(l[0]["ok"].toBool());
    EXPECT_EQ(l[1]["file"].toString(), dir.filePath("b-roto.fac"));
    EXPECT_FALSE(l[1]["ok"].toBool());
    EXPECT_EQ(l[1]["error"].toString(), "not a billing file of a known version");
    EXPECT_FALSE(l[2]["ok"].toBool());
    EXPECT_EQ(l[2]["messages"].toArray().at(0)["key"].toString(), "no_compensacion");
    for (std::size_t i = 0; i < 40; ++i) {
        EXPECT_EQ(l[3 + i]["file"].toString(),
                  QDir(carpeta).filePath(QString("e%1.fac").arg(i, 2, 10, QChar('0'))));
        EXPECT_EQ(l[3 + i]["readings"].toArray().at(0)["kwht"].toDouble(), 40000.0 + static_cast<double>(i));
    }
    EXPECT_TRUE(e.errores.isEmpty()) << "no progress line when stderr is not a terminal";

    // Refused but readable: exit 1; all good: 0. Totals run the same way.
    EXPECT_EQ(Ejecutar({"calc", bueno, compensado, "--dbf", dbf}).codigo, 1);
    const Ejecucion t = Ejecutar({"totals", carpeta, "--dbf", dbf});
    EXPECT_EQ(t.codigo, 0);
    const std::vector<QJsonObject> lt = Lineas(t.salida);
    ASSERT_EQ(lt.size(), 40u);
    EXPECT_EQ(lt[39]["total_penalizacion"].toString(), "1200");
    EXPECT_TRUE(lt[39]["file"].toString().endsWith("e39.fac"));
}

// The payback in the totals: the 200 kvar bank's price is on request in this catalogue; with the
// transformer capacitor alone priced, a study without surcharge has no payback at all.
TEST_F(Cli, TotalsGiveTheInvestmentAndPayback) {
    Ejecucion e = Ejecutar({"totals", Estudio(), "--dbf", dbf, "--lang", "en"});
    ASSERT_EQ(e.codigo, 0) << e.errores.toStdString();
    EXPECT_EQ(e.json()["investment"].toString().toStdString(), "On request");
    EXPECT_EQ(e.json()["payback"].toString().toStdString(), "On request");
    for (auto& l : lecturas)
        l.rr = 0;
    e = Ejecutar({"totals", Estudio(), "--dbf", dbf});
    EXPECT_EQ(e.json()["payback"].toString().toStdString(), "\u2014");
    EXPECT_EQ(e.json()["total_penalizacion"].toString().toStdString(), "0");
}

TEST_F(Cli, SummaryHasOneRowPerStudyAsCsvOrJson) {
    const QString bueno = Estudio("a.fac");
    {
        std::ofstream f(dir.filePath("b-roto.fac").toStdString(), std::ios::binary);
        f << "x";
    }
    datos.cliente = Utf8ToCp1252("PEÑA; \"HIJOS\"");
    const QString otro = Estudio("c.fac");
    const QString csv = dir.filePath("resumen.csv");
    Ejecucion e = Ejecutar({"summary", bueno, dir.filePath("b-roto.fac"), otro, "-o", csv, "--dbf", dbf},
                           "es_ES.UTF-8");
    EXPECT_EQ(e.codigo, 2) << e.errores.toStdString();
    EXPECT_TRUE(e.salida.isEmpty());
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList filas = QString::fromUtf8(f.readAll()).split("\r\n");
    ASSERT_EQ(filas.size(), 5); // header, three studies, the last line break
    EXPECT_TRUE(filas[0].startsWith(QString::fromUtf8("\uFEFFArchivo;Cliente;Tipo de cálculo;")))
        << filas[0].toStdString();
    EXPECT_EQ(filas[1].toStdString(), bueno.toStdString() + ";\x1a odd;En función del consumo;" +
                                          "150,01;AM-200 x1 + FX-32 x1;Consultar;1200;Consultar;");
    EXPECT_EQ(filas[2].toStdString(),
              dir.filePath("b-roto.fac").toStdString() + ";;;;;;;;not a billing file of a known version");
    EXPECT_TRUE(filas[3].startsWith(otro + QString::fromUtf8(";\"PEÑA; \"\"HIJOS\"\"\";")))
        << filas[3].toStdString();

    const QString json = dir.filePath("resumen.json");
    e = Ejecutar({"summary", dir.path(), "-o", json, "--dbf", dbf, "--lang", "en"});
    EXPECT_EQ(e.codigo, 2);
    QFile g(json);
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    const QJsonArray a = QJsonDocument::fromJson(g.readAll()).array();
    ASSERT_EQ(a.size(), 3);
    EXPECT_EQ(a[0]["file"].toString(), bueno);
    EXPECT_EQ(a[0]["calculation"].toString(), "Depending on the consumption");
    EXPECT_EQ(a[0]["equipment"].toArray().at(0)["codigo"].toString(), "AM-200");
    EXPECT_EQ(a[0]["surcharge"].toDouble(), 1200);
    EXPECT_TRUE(a[0]["investment"].isNull());
    EXPECT_EQ(a[0]["payback_text"].toString(), "On request");
    EXPECT_FALSE(a[1]["ok"].toBool());
}

// Readings in from a spreadsheet and out again: the customer data and settings come from the
// template, the readings from the file; a file with a bad row writes no study.
TEST_F(Cli, ImportAndExportReadingsRoundTrip) {
    const QString plantilla = Estudio("plantilla.fac");
    const QString entrada = dir.filePath("lecturas.csv");
    {
        QFile f(entrada);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Mes;A\xF1o;kWh;kvarh;Recargo por reactiva (\x80)\r\n"
                "ENERO;2024;40000,5;30000;100\r\nFEBRERO;2024;41000;31000,25;100\r\n");
    }
    const QString estudio = dir.filePath("importado.fac");
    Ejecucion e = Ejecutar({"import", entrada, "-o", estudio, "--from", plantilla});
    ASSERT_EQ(e.codigo, 0) << e.errores.toStdString();
    const ResultadoCarga carga = CargarFacturacion(estudio.toStdString(), {});
    ASSERT_TRUE(carga.ok());
    EXPECT_EQ(carga.datos.empresa, datos.empresa);
    EXPECT_EQ(carga.datos.equipos, 1);
    ASSERT_EQ(carga.lecturas.size(), 2u);
    EXPECT_EQ(carga.lecturas[1].kvarh, 31000.25);
    EXPECT_EQ(carga.lecturas[0].mes, "ENERO");

    // Out and in again, bit for bit, with the template's odd readings.
    const QString salida = dir.filePath("salida.csv");
    ASSERT_EQ(Ejecutar({"export", plantilla, "--readings", "-o", salida}, "es_ES.UTF-8").codigo, 0);
    const QString vuelta = dir.filePath("vuelta.fac");
    ASSERT_EQ(Ejecutar({"import", salida, "-o", vuelta}).codigo, 0);
    const ResultadoCarga otra = CargarFacturacion(vuelta.toStdString(), {});
    ASSERT_EQ(otra.lecturas.size(), lecturas.size());
    for (std::size_t i = 0; i < lecturas.size(); ++i)
        EXPECT_EQ(otra.lecturas[i], lecturas[i]) << i;
    EXPECT_EQ(otra.datos, TDatosEstudio{});

    // A bad row: its line and reason on stderr, and no study.
    {
        QFile f(entrada);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("Month,kWh,kvarh\nJAN,1,2\nFEB,two,2\n");
    }
    const QString nada = dir.filePath("nada.fac");
    e = Ejecutar({"import", entrada, "-o", nada, "--lang", "en"});
    EXPECT_EQ(e.codigo, 2);
    EXPECT_EQ(e.errores.toStdString(),
              "tarvik-cli: " + entrada.toStdString() + ": Line 3: kWh \"two\" is not a number\n");
    EXPECT_FALSE(QFile::exists(nada));
}
