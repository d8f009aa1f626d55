// Simulation files are written by hand; a bad one must be refused with a reason, never
// crash, and leave the attached devices as they were.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "config/GlobalVar.h"
#include "device/sim/SimInstallation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nLen) {
    static std::unique_ptr<CGlobalVar> s_pVar = [] {
        auto p = std::make_unique<CGlobalVar>();
        p->MsFw = 0x10;
        p->KbFw = 20;
        p->PadFw = 40;
        p->Dev.Ms.VID = 0x258A;
        p->Dev.Ms.PID = 0x1011;
        return p;
    }();
    CSimBackend backend;
    AttachInstallationDevices(*s_pVar, backend);
    std::string strError;
    bool bOk = LoadSimulationJson(std::string(reinterpret_cast<const char*>(pData), nLen),
                                  *s_pVar, backend, strError);
    if (!bOk && (strError.empty() || backend.Devices().size() != 3))
        std::abort();
    return 0;
}
