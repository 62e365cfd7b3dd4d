#include "cli/lote.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define TARVIK_ES_TERMINAL(fd) (_isatty(fd) != 0)
#else
#include <unistd.h>
#define TARVIK_ES_TERMINAL(fd) (isatty(fd) != 0)
#endif

namespace tarvik::cli {

bool ListarEstudios(const std::vector<std::string>& archivos, std::vector<std::string>& estudios,
                    bool& varios, std::string& motivo) {
    varios = archivos.size() > 1;
    for (const std::string& archivo : archivos) {
        const QString ruta = QString::fromStdString(archivo);
        if (!QFileInfo(ruta).isDir()) {
            estudios.push_back(archivo);
            continue;
        }
        varios = true;
        const QDir carpeta(ruta);
        if (!carpeta.isReadable()) {
            motivo = archivo + ": the folder cannot be read";
            return false;
        }
        const QStringList nombres = carpeta.entryList(
            {QStringLiteral("*.fac")}, QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
        if (nombres.isEmpty()) {
            motivo = archivo + ": the folder holds no .fac study";
            return false;
        }
        for (const QString& nombre : nombres)
            estudios.push_back(carpeta.filePath(nombre).toStdString());
    }
    return true;
}

Progreso::Progreso(std::size_t total) : total_(total), terminal_(TARVIK_ES_TERMINAL(2)) {}

Progreso::~Progreso() {
    if (terminal_ && hechos_ > 0) {
        ultimo_ = {};
        Mostrar();
        std::fputc('\n', stderr);
    }
}

void Progreso::Avanzar() {
    ++hechos_;
    if (terminal_ && std::chrono::steady_clock::now() - ultimo_ > std::chrono::milliseconds(100))
        Mostrar();
}

void Progreso::Mostrar() {
    ultimo_ = std::chrono::steady_clock::now();
    std::fprintf(stderr, "\rtarvik-cli: %zu/%zu studies", hechos_, total_);
    std::fflush(stderr);
}

} // namespace tarvik::cli
