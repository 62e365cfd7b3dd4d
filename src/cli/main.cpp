#include "comandos.h"
#include "platform/texto_qt.h"

#include <QApplication>
#include <QDir>
#include <QLocale>

#include <clocale>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The report draws its pages and its chart without any window: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Numbers are formatted by the program itself; the C library keeps "." whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    // Number texts follow the user's locale, as in the windows.
    const std::string punto = tarvik::HaciaAnsi(QLocale::system().decimalPoint());
    const char separador = punto.size() == 1 ? punto[0] : '.';
    std::vector<std::string> palabras(argv + 1, argv + argc);
    return tarvik::cli::Ejecutar(
        palabras, QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString(), separador);
}
