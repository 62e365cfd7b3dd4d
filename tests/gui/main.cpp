#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whatever the windows store goes to a folder of this run, never to the user's own settings.
    QTemporaryDir ajustes;
    qputenv("XDG_CONFIG_HOME", ajustes.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
