#include <QApplication>
#include <cstdio>

#include "app/CVelkinApp.h"
#include "platform/PointerSettings.h"
#include "widgets/UiFont.h"
#include "widgets/WidgetGallery.h"

#if defined(__SANITIZE_ADDRESS__)
// The font configuration is read on a thread from the start (CFontConfigRead) while Qt may
// start fontconfig on this thread too. When the program then ends early (a second copy
// handing over to the first, a refused option), LeakSanitizer at times finds fontconfig's
// own start-up allocations unreferenced; they are the library's, made once per process, and
// their stacks end inside it (it has no frame pointers). Everything else is still checked.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

int main(int argc, char** argv) {
    // Answered before the font thread and Qt start: they need no display and no time.
    switch (FindAppInfoRequest(argc, argv)) {
    case EAppInfoRequest::Help:
        std::fputs(AppOptionsHelp(), stdout);
        return 0;
    case EAppInfoRequest::Version:
        std::puts("velkin " VELKIN_VERSION);
        return 0;
    case EAppInfoRequest::None:
        break;
    }
    const CFontConfigRead fontConfig;
    QApplication app(argc, argv);
    QApplication::setApplicationName("velkin");
    // Qt has taken its own options out of argv; everything left must be ours.
    CAppOptions opt;
    std::string strError;
    if (!ParseAppOptions(argc, argv, opt, strError)) {
        std::fprintf(stderr, "velkin: %s\nRun velkin --help for the options.\n", strError.c_str());
        return 2;
    }
    if (opt.bWidgetGallery)
        return RunWidgetGallery(argc, argv);
    // The pointer settings of a profile go to the desktop. A trial on simulated devices
    // leaves the user's real desktop alone (every setting is then reported as not supported).
    if (!opt.bSimulate)
        UseDesktopPointerSettings();
    CVelkinApp theApp(opt);
    return theApp.Run();
}
