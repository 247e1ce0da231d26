#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pravolis");
    QMainWindow window;
    window.setWindowTitle("Pravolis");
    window.resize(800, 600);
    window.show();
    return app.exec();
}
