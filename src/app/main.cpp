#include <QApplication>
#include <cstring>

#include "app/CVelkinApp.h"
#include "widgets/WidgetGallery.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("velkin");
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--widget-gallery") == 0)
            return RunWidgetGallery(argc, argv);
    CVelkinApp theApp;
    return theApp.Run();
}
