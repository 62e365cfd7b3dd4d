#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whatever the windows store goes to a folder of this run, never to the user's own settings.
    QTemporaryDir ajustes;
    qputenv("XDG_CONFIG_HOME", ajustes.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // As in the program: the C library's number conversions keep the point.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
