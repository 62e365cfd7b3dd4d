#include "app/app/arranque.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    // The C library's number conversions keep the point whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    return tarvik::EjecutarTarvik(aplicacion);
}
