#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/CVelkinApp.h"
#include "widgets/WidgetGallery.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("velkin");
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--widget-gallery") == 0)
            return RunWidgetGallery(argc, argv);
    CAppOptions opt;
    std::string strError;
    if (!ParseAppOptions(argc, argv, opt, strError)) {
        std::fprintf(stderr, "velkin: %s\n", strError.c_str());
        return 2;
    }
    CVelkinApp theApp(opt);
    return theApp.Run();
}
