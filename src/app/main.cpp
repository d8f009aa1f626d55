#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/CVelkinApp.h"
#include "platform/PointerSettings.h"
#include "widgets/UiFont.h"
#include "widgets/WidgetGallery.h"

int main(int argc, char** argv) {
    const CFontConfigRead fontConfig;
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
    // The pointer settings of a profile go to the desktop. A trial on simulated devices
    // leaves the user's real desktop alone (every setting is then reported as not supported).
    if (!opt.bSimulate)
        UseDesktopPointerSettings();
    CVelkinApp theApp(opt);
    return theApp.Run();
}
