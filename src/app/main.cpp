#include "app/app/arranque.h"
#include "app/app/medida_arranque.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv) {
    tarvik::medida::Empezar();
    QApplication aplicacion(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvik"));
    tarvik::medida::Marcar("qapplication");
    // The C library's number conversions keep the point whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    return tarvik::EjecutarTarvik(aplicacion);
}
