#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow ventana;
    ventana.setWindowTitle("TARVIK");
    ventana.show();
    return app.exec();
}
