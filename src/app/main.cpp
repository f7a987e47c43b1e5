#include "main_window/startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    torvanu::Startup startup;
    startup.start();
    return QApplication::exec();
}
