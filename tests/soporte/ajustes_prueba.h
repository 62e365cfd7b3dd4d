#pragma once
// An empty settings store of the test's own: QSettings of the program ("KELTU", "Tarvik") write into
// a temporary folder removed at the end of the test, never into the user's settings.

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvik::prueba {

class AjustesPrueba {
  public:
    AjustesPrueba() {
        EXPECT_TRUE(carpeta_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta_.path());
    }

    // The program's settings, as it reads and writes them.
    static QSettings Ajustes() { return QSettings(QStringLiteral("KELTU"), QStringLiteral("Tarvik")); }
    // The file that holds them.
    QString Archivo() const { return carpeta_.filePath(QStringLiteral("KELTU/Tarvik.conf")); }

  private:
    QTemporaryDir carpeta_;
};

} // namespace tarvik::prueba
