#include "platform/window/Application.h"

#include <QMainWindow>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    QApplication::setApplicationName("Pravolis");
    platform::Application::SetTitle("Pravolis");
    QMainWindow window;
    window.setWindowTitle("Pravolis");
    window.resize(800, 600);
    window.show();
    return app.exec();
}
