#include "device/sim/SimStateDump.h"

#include <cstdio>
#include <string>

#include "device/hid/HidTrace.h"
#include "device/sim/SimKb816.h"
#include "device/sim/SimMouse8948.h"
#include "device/sim/SimSmallDevices.h"

namespace {

using json = nlohmann::json;

std::string Hex4(unsigned n) {
    char sz[8];
    std::snprintf(sz, sizeof sz, "%04x", n & 0xFFFF);
    return sz;
}

std::string Word(uint32_t dw) {
    char sz[12];
    std::snprintf(sz, sizeof sz, "0x%08x", dw);
    return sz;
}

template <class A> std::string Hex(const A& a) {
    return HexBytes(a.data(), a.size());
}

json ReportCounts(const CSimDevice& dev) {
    int nSet = 0, nGet = 0, nFailed = 0;
    for (const CSimTraceEntry& e : dev.Trace()) {
        if (e.strOperation == "SetFeature")
            ++nSet;
        else if (e.strOperation == "GetFeature")
            ++nGet;
        else
            continue;
        if (e.nResult == 0)
            ++nFailed;
    }
    return {{"set", nSet}, {"get", nGet}, {"failed", nFailed}};
}

void MouseState(const CSimMouse8948& mouse, json& j) {
    const CSimMouse8948::CState st = mouse.State();
    j["family"] = "8948";
    j["code"] = HexBytes(st.byCode, sizeof st.byCode);
    j["mode"] = st.nMode;
    json jModes = json::array();
    for (size_t m = 0; m < st.byGeneral.size(); ++m) {
        json jMatrix = json::array();
        for (uint32_t dw : st.dwMatrix[m])
            jMatrix.push_back(Word(dw));
        jModes.push_back({{"general", Hex(st.byGeneral[m])}, {"matrix", jMatrix}});
    }
    j["modes"] = jModes;
    json jMacros = json::object();
    for (const auto& [nBuffer, by] : st.mapMacros)
        jMacros[std::to_string(nBuffer)] = Hex(by);
    j["macros"] = jMacros;
    j["gun"] = Hex(st.byGun);
    j["gunWritten"] = st.bGunWritten;
    j["unknownCommands"] = st.nUnknownCommands;
}

void Kb816State(const CSimKb816& kb, json& j) {
    const CSimKb816::CState st = kb.State();
    j["family"] = "816";
    j["password"] = Hex(st.byPassword);
    j["passwordWrites"] = st.nPasswordWrites;
    j["cfg"] = Hex(st.byCfg);
    j["matrix"] = Hex(st.byMatrix);
    json jMacros = json::array();
    for (const auto& part : st.byMacros)
        jMacros.push_back(Hex(part));
    j["macros"] = jMacros;
    j["colorTable"] = HexBytes(st.vColorTable.data(), st.vColorTable.size());
    json jLed = json::object();
    for (const auto& [nAddr, by] : st.mapLed)
        jLed[Hex4(unsigned(nAddr))] = Hex(by);
    j["led"] = jLed;
    j["unknownCommands"] = st.nUnknown;
}

} // namespace

json SimStateDump(CSimBackend& backend) {
    json jDevices = json::array();
    for (const SimDevicePtr& p : backend.Devices()) {
        json j = {{"name", p->Name()},         {"vid", Hex4(p->Vid())},
                  {"pid", Hex4(p->Pid())},     {"product", p->Product()},
                  {"present", p->IsPresent()}, {"reports", ReportCounts(*p)}};
        if (auto pMouse = std::dynamic_pointer_cast<CSimMouse8948>(p)) {
            MouseState(*pMouse, j);
        } else if (auto pKb = std::dynamic_pointer_cast<CSimKb816>(p)) {
            Kb816State(*pKb, j);
        } else if (auto p901 = std::dynamic_pointer_cast<CSimKb901>(p)) {
            j["family"] = "901";
            j["matrix"] = Hex(p901->Matrix());
            j["writes"] = p901->Writes();
        } else if (auto pPad = std::dynamic_pointer_cast<CSimPad>(p)) {
            j["family"] = "pad";
            j["general"] = Hex(pPad->General());
        } else if (std::dynamic_pointer_cast<CSimReceiver>(p)) {
            j["family"] = "receiver";
        }
        jDevices.push_back(std::move(j));
    }
    return {{"devices", jDevices}};
}
