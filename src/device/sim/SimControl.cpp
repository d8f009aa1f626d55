#include "device/sim/SimControl.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <vector>

#include "device/hid/UsbEventPath.h"
#include "device/sim/SimKb816.h"
#include "device/sim/SimMouse8948.h"
#include "device/sim/SimSmallDevices.h"

namespace {

constexpr size_t kMaxLine = 256;
constexpr size_t kMaxName = 64;

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> v;
    std::string strWord;
    for (char c : s) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!strWord.empty())
                v.push_back(std::move(strWord));
            strWord.clear();
        } else {
            strWord += c;
        }
    }
    if (!strWord.empty())
        v.push_back(std::move(strWord));
    return v;
}

// A single decimal digit between nMin and nMax.
bool Digit(const std::string& s, int nMin, int nMax, int& nOut) {
    if (s.size() != 1 || s[0] < '0' || s[0] > '9')
        return false;
    nOut = s[0] - '0';
    return nOut >= nMin && nOut <= nMax;
}

bool PrintableName(const std::string& s) {
    if (s.empty() || s.size() > kMaxName)
        return false;
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7E)
            return false;
    return true;
}

std::string Error(const std::string& s) {
    return "error: " + s;
}

template <class T> std::shared_ptr<T> FirstOf(CSimBackend& backend) {
    for (const SimDevicePtr& p : backend.Devices())
        if (auto pT = std::dynamic_pointer_cast<T>(p))
            return pT;
    return nullptr;
}

int LevelCount(const CGlobalVar& var) {
    const SensorCfg* pCfg = var.Dev.Ms.pSensorCfg();
    int n = pCfg ? pCfg->DM : 0;
    return n > DPI_LEVEL_MAX ? DPI_LEVEL_MAX : n;
}

std::string PressDpi(const CGlobalVar& var, CSimBackend& backend) {
    auto pMouse = FirstOf<CSimMouse8948>(backend);
    if (!pMouse)
        return Error("no simulated mouse");
    if (!pMouse->IsPresent())
        return Error("the mouse is unplugged");
    CSimMouse8948::CState st = pMouse->State();
    const auto& gd = st.byGeneral[size_t(st.nMode - 1)];
    const int nCount = LevelCount(var);
    int nOn = 0;
    for (int i = 0; i < nCount; ++i)
        if (i >= 8 || !((gd[4] >> i) & 1))
            ++nOn;
    if (nOn == 0)
        return Error("the mouse has no switched-on resolution level");
    const int nCur = gd[3] >> 4;
    pMouse->PressDpiButton(nCur >= nOn ? 1 : nCur + 1);
    return "ok";
}

std::string PressMode(int nMode, CSimBackend& backend) {
    auto pMouse = FirstOf<CSimMouse8948>(backend);
    if (!pMouse)
        return Error("no simulated mouse");
    if (!pMouse->IsPresent())
        return Error("the mouse is unplugged");
    pMouse->PressModeButton(nMode);
    return "ok";
}

std::string PressKeySet(int nSet, const CGlobalVar& var, CSimBackend& backend) {
    auto pReceiver = FirstOf<CSimReceiver>(backend);
    if (!pReceiver)
        return Error("no simulated receiver");
    if (!pReceiver->IsPresent())
        return Error("the receiver is unplugged");
    const uint8_t byVk = var.Dev.Ms.KeySwVk[nSet];
    if (byVk == 0)
        return Error("no key-set switch key " + std::to_string(nSet) + " is configured");
    pReceiver->PressKeySwitch(byVk);
    return "ok";
}

std::string Plug(const CSimCommand& cmd, CSimBackend& backend, const CSimControlHooks& hooks) {
    SimDevicePtr p = backend.Find(cmd.strDevice);
    if (!p)
        return Error("no simulated device \"" + cmd.strDevice + "\"");
    const bool bPlug = cmd.eCmd == ESimCommand::Plug;
    if (p->IsPresent() == bPlug)
        return Error(cmd.strDevice + (bPlug ? " is already plugged in" : " is already unplugged"));
    const std::string strPath = SimUsbPath(p->Vid(), p->Pid(), p->Name());
    if (bPlug) {
        p->Return();
        if (hooks.fnArrival)
            hooks.fnArrival(strPath);
    } else {
        p->Vanish();
        if (hooks.fnRemoval)
            hooks.fnRemoval(strPath);
    }
    return "ok";
}

std::string Hex4(unsigned n) {
    char sz[8];
    std::snprintf(sz, sizeof sz, "%04x", n & 0xFFFF);
    return sz;
}

} // namespace

bool ParseSimCommand(const std::string& strLine, CSimCommand& cmd, std::string& strError) {
    if (strLine.size() > kMaxLine) {
        strError = "command too long";
        return false;
    }
    std::vector<std::string> v = Words(strLine);
    if (v.empty()) {
        strError = "empty command";
        return false;
    }
    const std::string& strCmd = v[0];
    CSimCommand out;
    if (strCmd == "plug" || strCmd == "unplug") {
        out.eCmd = strCmd == "plug" ? ESimCommand::Plug : ESimCommand::Unplug;
        if (v.size() != 2 || !PrintableName(v[1])) {
            strError = strCmd + " needs one device name";
            return false;
        }
        out.strDevice = v[1];
    } else if (strCmd == "dpi-button" || strCmd == "state") {
        out.eCmd = strCmd == "state" ? ESimCommand::State : ESimCommand::DpiButton;
        if (v.size() != 1) {
            strError = strCmd + " takes no argument";
            return false;
        }
    } else if (strCmd == "mode") {
        out.eCmd = ESimCommand::Mode;
        if (v.size() != 2 || !Digit(v[1], 1, 3, out.nValue)) {
            strError = "mode needs 1, 2 or 3";
            return false;
        }
    } else if (strCmd == "keyset") {
        out.eCmd = ESimCommand::KeySet;
        if (v.size() != 2 || !Digit(v[1], 0, 2, out.nValue)) {
            strError = "keyset needs 0, 1 or 2";
            return false;
        }
    } else {
        strError = "unknown command (plug, unplug, dpi-button, mode, keyset, state)";
        return false;
    }
    cmd = out;
    return true;
}

std::string RunSimCommand(const CSimCommand& cmd, const CGlobalVar& var, CSimBackend& backend,
                          const CSimControlHooks& hooks) {
    switch (cmd.eCmd) {
    case ESimCommand::Plug:
    case ESimCommand::Unplug:
        return Plug(cmd, backend, hooks);
    case ESimCommand::DpiButton:
        return PressDpi(var, backend);
    case ESimCommand::Mode:
        return PressMode(cmd.nValue, backend);
    case ESimCommand::KeySet:
        return PressKeySet(cmd.nValue, var, backend);
    case ESimCommand::State:
        return "ok " + SimStateJson(backend);
    }
    return Error("unknown command");
}

std::string RunSimCommandLine(const std::string& strLine, const CGlobalVar& var,
                              CSimBackend& backend, const CSimControlHooks& hooks) {
    CSimCommand cmd;
    std::string strError;
    if (!ParseSimCommand(strLine, cmd, strError))
        return Error(strError);
    return RunSimCommand(cmd, var, backend, hooks);
}

std::string SimStateJson(CSimBackend& backend) {
    nlohmann::json jDevices = nlohmann::json::array();
    for (const SimDevicePtr& p : backend.Devices()) {
        nlohmann::json j = {{"name", p->Name()},
                            {"vid", Hex4(p->Vid())},
                            {"pid", Hex4(p->Pid())},
                            {"present", p->IsPresent()}};
        if (auto pMouse = std::dynamic_pointer_cast<CSimMouse8948>(p)) {
            CSimMouse8948::CState st = pMouse->State();
            j["family"] = "8948";
            j["mode"] = st.nMode;
            nlohmann::json jLevels = nlohmann::json::array();
            for (const auto& gd : st.byGeneral)
                jLevels.push_back({{"ordinal", gd[3] >> 4}, {"offMask", gd[4]}});
            j["levels"] = jLevels;
        } else if (std::dynamic_pointer_cast<CSimReceiver>(p)) {
            j["family"] = "receiver";
        } else if (std::dynamic_pointer_cast<CSimKb816>(p)) {
            j["family"] = "816";
        } else if (std::dynamic_pointer_cast<CSimKb901>(p)) {
            j["family"] = "901";
        } else if (std::dynamic_pointer_cast<CSimPad>(p)) {
            j["family"] = "pad";
        }
        jDevices.push_back(std::move(j));
    }
    return nlohmann::json{{"devices", jDevices}}.dump(-1, ' ', false,
                                                      nlohmann::json::error_handler_t::replace);
}

std::string SimControlSocketPath() {
    const char* pszDir = std::getenv("XDG_RUNTIME_DIR");
    std::string strDir = pszDir && *pszDir ? pszDir : "";
    if (strDir.empty()) {
        const char* pszTmp = std::getenv("TMPDIR");
        strDir = pszTmp && *pszTmp ? pszTmp : "/tmp";
    }
    if (strDir.back() != '/')
        strDir += '/';
    return strDir + "velkin-sim-" + std::to_string(getuid());
}

std::string SimUsbPath(uint16_t wVid, uint16_t wPid, const std::string& strName) {
    return MakeUsbEventPath(wVid, wPid, "sim-" + strName);
}
