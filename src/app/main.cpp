#include <QApplication>

#include "app/CVelkinApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("velkin");
    CVelkinApp theApp;
    return theApp.Run();
}
