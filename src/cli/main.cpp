#include "cli/comandos.h"
#include "platform/numero_local.h"

#include <QApplication>
#include <QDir>
#include <QLocale>

#include <clocale>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    // The report lays out text and draws its chart, which needs the graphical application, though
    // never a window or a display; the other commands need neither.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "report") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Numbers are formatted by the program itself; the C library keeps "." whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    // Number texts follow the user's locale, as in the windows.
    const char separador = tarvik::SeparadorDecimal(QLocale::system());
    return tarvik::cli::Ejecutar(
        QCoreApplication::arguments().mid(1),
        QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString(), separador);
}
