// The simulation's control commands arrive from a local socket: parse and run any line
// against the demo-like simulated devices without crashing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/sim/SimControl.h"
#include "device/sim/SimMouse8948.h"
#include "device/sim/SimSmallDevices.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static CGlobalVar* pVar = [] {
        auto* p = new CGlobalVar;
        p->Dev.Ms.SensorCfgs[0].Sensor = 0x3360;
        p->Dev.Ms.SensorCfgs[0].DM = 6;
        p->Dev.Ms.nSensorCfgIndex = 0;
        p->Dev.Ms.KeySwVk[0] = 0x70;
        p->Dev.Ms.KeySwVk[1] = 0x71;
        return p;
    }();
    CSimBackend backend;
    const uint8_t byCode[4] = {1, 2, 3, 4};
    backend.Attach(std::make_shared<CSimMouse8948>("mouse", 0x258A, 0x1007, byCode, 6));
    backend.Attach(std::make_shared<CSimReceiver>("receiver", 0x258A, 0x0016));
    int nEvents = 0;
    CSimControlHooks hooks;
    hooks.fnArrival = [&nEvents](const std::string&) { ++nEvents; };
    hooks.fnRemoval = [&nEvents](const std::string&) { ++nEvents; };
    std::string strInput(reinterpret_cast<const char*>(pData), nSize);
    size_t nStart = 0;
    while (nStart <= strInput.size()) {
        size_t nEnd = strInput.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strInput.size();
        std::string strAnswer =
            RunSimCommandLine(strInput.substr(nStart, nEnd - nStart), *pVar, backend, hooks);
        if (strAnswer.rfind("ok", 0) != 0 && strAnswer.rfind("error: ", 0) != 0)
            __builtin_trap();
        nStart = nEnd + 1;
    }
    return 0;
}
