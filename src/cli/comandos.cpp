#include "cli/comandos.h"

#include "core/catalogue/catalogo.h"
#include "core/lang/traduccion.h"
#include "platform/ajustes_idioma.h"
#include "platform/archivo_estudio.h"
#include "platform/avisos.h"

#include <QCommandLineParser>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

namespace tarvik::cli {

namespace {

const char* const kUso =
    "Usage: tarvik-cli calc STUDY.fac|FOLDER... [--dbf DIR] [--lang es|en]\n"
    "       tarvik-cli totals STUDY.fac|FOLDER... [--dbf DIR] [--lang es|en]\n"
    "       tarvik-cli report STUDY.fac -o OUT.pdf [--sections 0,1,2] [--dbf DIR] [--lang es|en]\n"
    "       tarvik-cli summary STUDY.fac|FOLDER... -o SUMMARY.csv|SUMMARY.json [--dbf DIR] [--lang es|en]\n"
    "       tarvik-cli import READINGS.csv -o STUDY.fac [--from TEMPLATE.fac]\n"
    "       tarvik-cli export STUDY.fac --readings -o READINGS.csv [--lang es|en]\n"
    "       tarvik-cli --version | --help\n"
    "\n"
    "calc and totals on one study print one JSON object; on several studies or folders (the .fac\n"
    "files in a folder, by name) one JSON object per line, in the order given, each with its \"file\".\n"
    "A study that fails gives its error line and the run goes on.\n"
    "Without --lang the language is the one fixed in the desktop program's options, or else the\n"
    "system's interface language. Number texts follow the user's locale (LANG=C gives \".\").\n"
    "Exit status: 0 done, 1 a calculation was refused, 2 a usage error or a file that cannot be\n"
    "read; a run over several studies exits with the worst of theirs.\n";

int ErrorUso(const QString& motivo) {
    std::fprintf(stderr, "tarvik-cli: %s\n%s", motivo.toUtf8().constData(), kUso);
    return kErrorUso;
}

// Every option of every command: its name and, for one that takes a value, the value's name.
struct Opcion {
    const char* nombre;
    const char* valor; // nullptr: a flag
};
constexpr Opcion kOpciones[] = {{"dbf", "DIR"},       {"lang", "es|en"},    {"o", "FILE"},
                                {"sections", "LIST"}, {"from", "TEMPLATE"}, {"readings", nullptr},
                                {"help", nullptr},    {"h", nullptr}};

QCommandLineOption Definicion(const char* nombre) {
    for (const Opcion& o : kOpciones)
        if (std::string_view(o.nombre) == nombre)
            return o.valor ? QCommandLineOption(QString::fromLatin1(nombre), {}, QString::fromLatin1(o.valor))
                           : QCommandLineOption(QString::fromLatin1(nombre));
    return QCommandLineOption(QString::fromLatin1(nombre));
}

bool ElegirIdioma(const Argumentos& a, QString& motivo) {
    const auto it = a.opciones.find("lang");
    if (it == a.opciones.end()) {
        // As the desktop program starts: the language fixed in its options, else the system's.
        EstablecerIdiomaActivo(IdiomaAlArrancar());
        return true;
    }
    if (it->second != "es" && it->second != "en") {
        motivo = QStringLiteral("unknown language %1 (es or en)").arg(QString::fromStdString(it->second));
        return false;
    }
    EstablecerIdiomaActivo(it->second == "es" ? kEspanol : kIngles);
    return true;
}

} // namespace

const std::vector<Comando>& Comandos() {
    static const std::vector<Comando> comandos = {
        {"calc", {"dbf"}, true, EjecutarCalc},
        {"totals", {"dbf"}, true, EjecutarTotals},
        {"report", {"dbf", "o", "sections"}, false, EjecutarReport},
        {"summary", {"dbf", "o"}, true, EjecutarSummary},
        {"import", {"o", "from"}, false, EjecutarImport},
        {"export", {"o", "readings"}, false, EjecutarExport},
    };
    return comandos;
}

int Ejecutar(const QStringList& palabras, const std::string& rutaPrograma, char separador) {
    if (palabras == QStringList{QStringLiteral("--version")}) {
        std::printf("tarvik-cli %s\n", TARVIK_VERSION_TEXT);
        return kExito;
    }
    if (palabras.isEmpty())
        return ErrorUso(QStringLiteral("no command"));
    const auto& comandos = Comandos();
    const auto comando = std::find_if(comandos.begin(), comandos.end(), [&](const Comando& c) {
        return palabras[0] == QLatin1String(c.nombre);
    });
    QCommandLineParser analizador;
    analizador.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    std::vector<const char*> admitidas = {"help", "h"};
    if (comando != comandos.end()) {
        admitidas.push_back("lang");
        admitidas.insert(admitidas.end(), comando->opciones.begin(), comando->opciones.end());
    }
    for (const char* nombre : admitidas)
        analizador.addOption(Definicion(nombre));
    if (!analizador.parse(QStringList{QStringLiteral("tarvik-cli")} + palabras))
        return ErrorUso(analizador.errorText());
    if (analizador.isSet(QStringLiteral("help")) || analizador.isSet(QStringLiteral("h"))) {
        std::fputs(kUso, stdout);
        return kExito;
    }
    if (comando == comandos.end())
        return ErrorUso(QStringLiteral("unknown command %1").arg(palabras[0]));

    Argumentos a;
    a.comando = comando->nombre;
    const QStringList posicionales = analizador.positionalArguments();
    for (qsizetype i = 1; i < posicionales.size(); ++i)
        a.archivos.push_back(posicionales[i].toStdString());
    for (const char* nombre : comando->opciones) {
        const QString clave = QString::fromLatin1(nombre);
        if (Definicion(nombre).valueName().isEmpty())
            a.lecturas = a.lecturas || analizador.isSet(clave);
        else if (analizador.isSet(clave))
            a.opciones[nombre] = analizador.value(clave).toStdString();
    }
    if (analizador.isSet(QStringLiteral("lang")))
        a.opciones["lang"] = analizador.value(QStringLiteral("lang")).toStdString();
    if (a.archivos.empty())
        return ErrorUso(QStringLiteral("no %1 file").arg(a.comando == "import" ? "readings" : "study"));
    if (!comando->variosArchivos && a.archivos.size() > 1)
        return ErrorUso(QStringLiteral("%1 takes one file").arg(palabras[0]));
    QString motivo;
    if (!ElegirIdioma(a, motivo))
        return ErrorUso(motivo);

    Entorno entorno;
    entorno.rutaPrograma = rutaPrograma;
    entorno.separador = separador;
    const auto dbf = a.opciones.find("dbf");
    entorno.base.rutas = dbf == a.opciones.end()
                             ? Rutas::DesdePrograma(rutaPrograma)
                             : Rutas::DesdeCarpetas(ExtraerRuta(rutaPrograma, kSeparador), dbf->second);
    entorno.base.CargarCatalogosFijos();
    return comando->ejecutar(a, entorno);
}

namespace {

// Reads a study with `leer` (from the fields of a new study) into the context, for the panel to show
// as Open shows it once `mostrar` has its fields; false with the reason when it cannot be read.
template <class Leer> bool Abrir(const Entorno& entorno, Contexto& c, std::string& motivo, Leer leer) {
    c.sesion = entorno.base;
    c.separador = entorno.separador;
    const auto mostrar = [&c](const TDatosEstudio& datos) {
        c.sesion.Datos = datos;
        c.panel = MostrarDatos(c.sesion.Datos);
        // Harmonic filters run at 50 Hz: Open shows a filter study with that frequency whatever it
        // holds.
        if (EquipamientoDe(c.panel.equipos) == Equipamiento::Filtros)
            c.panel.frecuencia = static_cast<std::int32_t>(FrecuenciaRed::Hz50);
    };
    const ResultadoCarga carga = leer(entorno.base.Datos, mostrar);
    if (!carga.ok()) {
        motivo =
            carga.error == ErrorCarga::Apertura ? carga.detalle : "not a billing file of a known version";
        return false;
    }
    return true;
}

} // namespace

bool CargarEstudio(const std::string& ruta, const Entorno& entorno, Contexto& c, std::string& motivo) {
    return Abrir(entorno, c, motivo, [&](const TDatosEstudio& previo, const auto& mostrar) {
        ResultadoCarga carga = CargarFacturacion(ruta, previo);
        if (carga.ok()) {
            mostrar(carga.datos);
            c.sesion.Lecturas = std::move(carga.lecturas);
        }
        return carga;
    });
}

bool RecorrerEstudio(const std::string& ruta, const Entorno& entorno, Contexto& c, std::string& motivo,
                     const std::function<void()>& alEmpezar,
                     const std::function<void(std::span<const TCifrasLectura>)>& porBloque, Hilos hilos) {
    return Abrir(entorno, c, motivo, [&](const TDatosEstudio& previo, const auto& mostrar) {
        return RecorrerFacturacion(
            ruta, previo,
            [&](const TDatosEstudio& datos) {
                mostrar(datos);
                alEmpezar();
            },
            porBloque, hilos);
    });
}

bool CargarEstudio(const Argumentos& a, const Entorno& e, Contexto& c) {
    std::string motivo;
    if (CargarEstudio(a.archivos.front(), e, c, motivo))
        return true;
    Error(a.archivos.front() + ": " + motivo);
    return false;
}

void Error(const std::string& texto) {
    std::fprintf(stderr, "tarvik-cli: %s\n", texto.c_str());
}

void Imprimir(const QJsonObject& objeto, bool enUnaLinea) {
    QByteArray texto =
        QJsonDocument(objeto).toJson(enUnaLinea ? QJsonDocument::Compact : QJsonDocument::Indented);
    if (enUnaLinea)
        texto += '\n';
    std::fwrite(texto.constData(), 1, static_cast<std::size_t>(texto.size()), stdout);
    std::fflush(stdout);
}

} // namespace tarvik::cli
