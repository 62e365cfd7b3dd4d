#include "cli/comandos.h"

#include "core/catalogue/catalogo.h"
#include "core/lang/traduccion.h"
#include "platform/archivo_estudio.h"
#include "platform/avisos.h"

#include <algorithm>
#include <cstdio>

namespace tarvik::cli {

namespace {

const char* const kUso =
    "Usage: tarvik-cli calc STUDY.fac [--dbf DIR] [--lang es|en]\n"
    "       tarvik-cli totals STUDY.fac [--dbf DIR] [--lang es|en]\n"
    "       tarvik-cli report STUDY.fac -o OUT.pdf [--sections 0,1,2] [--dbf DIR] [--lang es|en]\n"
    "       tarvik-cli --version | --help\n";

int ErrorUso(const std::string& motivo) {
    std::fprintf(stderr, "tarvik-cli: %s\n%s", motivo.c_str(), kUso);
    return kErrorUso;
}

// Message boxes raised outside the engine are kept with the engine's messages, in order; a
// confirmation is answered Yes, since nobody is there to answer it.
class AvisosCli : public Avisos {
  public:
    explicit AvisosCli(ListaMensajes& mensajes) : mensajes_(mensajes) {}
    Respuesta Mostrar(TipoMensaje tipo, const QString& texto) override {
        mensajes_.push_back({tipo, "", texto.toStdString()});
        return tipo == TipoMensaje::Confirmacion ? Respuesta::Si : Respuesta::Aceptar;
    }

  private:
    ListaMensajes& mensajes_;
};

// Splits the words after the command into the study file and the options the command accepts.
bool Analizar(const std::vector<std::string>& palabras, const Comando& comando, Argumentos& a,
              std::string& motivo) {
    a.comando = comando.nombre;
    std::vector<std::string> admitidas = comando.opciones;
    admitidas.insert(admitidas.end(), {"--dbf", "--lang"});
    for (std::size_t i = 1; i < palabras.size(); ++i) {
        const std::string& p = palabras[i];
        if (p.size() > 1 && p[0] == '-') {
            if (std::find(admitidas.begin(), admitidas.end(), p) == admitidas.end()) {
                motivo = "unknown option " + p + " for " + a.comando;
                return false;
            }
            if (i + 1 >= palabras.size()) {
                motivo = "option " + p + " needs a value";
                return false;
            }
            a.opciones[p] = palabras[++i];
        } else if (a.estudio.empty()) {
            a.estudio = p;
        } else {
            motivo = "more than one study file";
            return false;
        }
    }
    if (a.estudio.empty()) {
        motivo = "no study file";
        return false;
    }
    return true;
}

bool ElegirIdioma(const Argumentos& a, std::string& motivo) {
    const auto it = a.opciones.find("--lang");
    const std::string idioma = it == a.opciones.end() ? "es" : it->second;
    if (idioma != "es" && idioma != "en") {
        motivo = "unknown language " + idioma + " (es or en)";
        return false;
    }
    EstablecerIdiomaActivo(idioma == "es" ? kEspanol : kIngles);
    return true;
}

// Loads the study as Open does, with the panel showing it, and the catalogues that stay loaded.
bool Cargar(const Argumentos& a, const std::string& rutaPrograma, Contexto& c) {
    ResultadoCarga carga = CargarFacturacion(a.estudio, c.sesion.Datos);
    if (!carga.ok()) {
        const std::string motivo =
            carga.error == ErrorCarga::Apertura ? carga.detalle : "not a billing file of a known version";
        std::fprintf(stderr, "tarvik-cli: %s: %s\n", a.estudio.c_str(), motivo.c_str());
        return false;
    }
    c.sesion.Datos = carga.datos;
    c.sesion.Lecturas = std::move(carga.lecturas);
    c.panel = MostrarDatos(c.sesion.Datos);
    // Harmonic filters run at 50 Hz: Open shows a filter study with that frequency whatever it holds.
    if (c.panel.equipos == 0)
        c.panel.frecuencia = 0;
    const auto dbf = a.opciones.find("--dbf");
    c.sesion.rutas = dbf == a.opciones.end()
                         ? Rutas::DesdePrograma(rutaPrograma)
                         : Rutas::DesdeCarpetas(ExtraerRuta(rutaPrograma, kSeparador), dbf->second);
    c.sesion.CargarCatalogosFijos();
    return true;
}

} // namespace

const std::vector<Comando>& Comandos() {
    static const std::vector<Comando> comandos = {
        {"calc", {}, EjecutarCalc},
        {"totals", {}, EjecutarTotals},
        {"report", {"-o", "--sections"}, EjecutarReport},
    };
    return comandos;
}

int Ejecutar(const std::vector<std::string>& palabras, const std::string& rutaPrograma, char separador) {
    if (palabras.size() == 1 && palabras[0] == "--version") {
        std::printf("tarvik-cli %s\n", TARVIK_VERSION_TEXT);
        return kExito;
    }
    if (palabras.size() == 1 && palabras[0] == "--help") {
        std::fputs(kUso, stdout);
        return kExito;
    }
    if (palabras.empty())
        return ErrorUso("no command");
    const auto& comandos = Comandos();
    const auto comando = std::find_if(comandos.begin(), comandos.end(),
                                      [&](const Comando& c) { return palabras[0] == c.nombre; });
    if (comando == comandos.end())
        return ErrorUso("unknown command " + palabras[0]);
    Argumentos argumentos;
    std::string motivo;
    if (!Analizar(palabras, *comando, argumentos, motivo) || !ElegirIdioma(argumentos, motivo))
        return ErrorUso(motivo);

    Contexto contexto;
    contexto.separador = separador;
    if (!Cargar(argumentos, rutaPrograma, contexto))
        return kErrorUso;
    AvisosCli avisos(contexto.mensajes);
    EstablecerAvisos(&avisos);
    const int codigo = comando->ejecutar(contexto, argumentos);
    EstablecerAvisos(nullptr);
    return codigo;
}

void Imprimir(const std::string& texto) {
    std::fwrite(texto.data(), 1, texto.size(), stdout);
    std::fflush(stdout);
}

} // namespace tarvik::cli
