#include "device/sim/SimInstallation.h"

#include <cstring>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "config/SensorTable.h"
#include "device/hid/KbMonitorDevice.h"
#include "device/sim/SimKb816.h"
#include "device/sim/SimMouse8948.h"
#include "device/sim/SimSmallDevices.h"

namespace {

using nlohmann::json;

int Num(const json& j) {
    if (j.is_number_integer())
        return j.get<int>();
    if (j.is_string()) {
        const std::string s = j.get<std::string>();
        size_t nUsed = 0;
        int n = std::stoi(s, &nUsed, 0);
        if (nUsed != s.size())
            throw std::invalid_argument("not a number: " + s);
        return n;
    }
    throw std::invalid_argument("not a number: " + j.dump());
}

int NumOr(const json& obj, const char* pszKey, int nDefault) {
    auto it = obj.find(pszKey);
    return it == obj.end() ? nDefault : Num(*it);
}

uint16_t Id16(const json& obj, const char* pszKey, int nDefault) {
    int n = NumOr(obj, pszKey, nDefault);
    if (n < 0 || n > 0xFFFF)
        throw std::invalid_argument(std::string(pszKey) + " out of range");
    return uint16_t(n);
}

void Code(const json& obj, uint8_t* pOut, size_t nLen) {
    auto it = obj.find("code");
    if (it == obj.end())
        return;
    if (!it->is_array() || it->size() != nLen)
        throw std::invalid_argument("code needs " + std::to_string(nLen) + " bytes");
    for (size_t i = 0; i < nLen; ++i) {
        int n = Num((*it)[i]);
        if (n < 0 || n > 255)
            throw std::invalid_argument("code byte out of range");
        pOut[i] = uint8_t(n);
    }
}

uint16_t MousePid(const CGlobalVar& var) {
    if (var.Dev.Ms.PID != 0)
        return uint16_t(var.Dev.Ms.PID);
    return (var.MsFw & 0xF) == 1 ? 0x1007 : 0x0028;
}

bool HasCompanion(const CGlobalVar& var) {
    return var.MsFw != 0 && var.Dev.Ms.KeySwVk[0] != 0;
}

SimDevicePtr MakeDevice(const json& e, const CGlobalVar& var) {
    std::string strFamily = e.value("family", std::string());
    std::string strName = e.value("name", strFamily);
    SimDevicePtr p;
    if (strFamily == "8948") {
        uint8_t byCode[4];
        std::memcpy(byCode, var.Dev.Ms.PSD, 4);
        Code(e, byCode, 4);
        int nSensorCode = SimSensorCode(var.Dev.Ms.Sensor);
        if (e.contains("sensor"))
            nSensorCode = SimSensorCode(Num(e["sensor"]));
        nSensorCode = NumOr(e, "sensorCode", nSensorCode);
        auto pMouse = std::make_shared<CSimMouse8948>(
            strName, Id16(e, "vid", var.Dev.Ms.VID), Id16(e, "pid", MousePid(var)), byCode,
            nSensorCode, e.value("notify", true), e.value("product", std::string("Gaming Mouse")));
        int nMode = NumOr(e, "mode", 1);
        if (nMode < 1 || nMode > 3)
            throw std::invalid_argument("mode must be 1..3");
        CSimMouse8948::CState st = pMouse->State();
        st.nMode = nMode;
        pMouse->SetState(st);
        p = pMouse;
    } else if (strFamily == "816") {
        p = std::make_shared<CSimKb816>(strName, Id16(e, "vid", var.Dev.Kb.VID),
                                        Id16(e, "pid", var.Dev.Kb.PID),
                                        e.value("product", std::string("Gaming Keyboard")));
    } else if (strFamily == "901") {
        p = std::make_shared<CSimKb901>(strName, Id16(e, "vid", var.Dev.Kb.VID),
                                        Id16(e, "pid", var.Dev.Kb.PID),
                                        e.value("product", std::string("Gaming Keyboard")));
    } else if (strFamily == "pad") {
        uint8_t byCode[2] = {var.Dev.Pad.PSD[0], var.Dev.Pad.PSD[1]};
        Code(e, byCode, 2);
        p = std::make_shared<CSimPad>(strName, Id16(e, "vid", var.Dev.Pad.VID),
                                      Id16(e, "pid", var.Dev.Pad.PID), byCode,
                                      e.value("product", std::string("Gaming Pad")));
    } else if (strFamily == "receiver") {
        p = std::make_shared<CSimReceiver>(strName, Id16(e, "vid", KBMON_VID),
                                           Id16(e, "pid", KBMON_PID),
                                           e.value("product", std::string("Receiver")));
    } else {
        throw std::invalid_argument("unknown family \"" + strFamily + "\"");
    }
    p->FailNext(NumOr(e, "failNext", 0), NumOr(e, "failAfter", 0));
    if (!e.value("present", true))
        p->Vanish();
    return p;
}

} // namespace

int SimSensorCode(int nSensor) {
    if (nSensor == 0)
        return 0;
    for (int nCode = 1; nCode < 64; ++nCode)
        if (GetSenosr(nCode) == nSensor)
            return nCode;
    return 0;
}

void AttachInstallationDevices(const CGlobalVar& var, CSimBackend& backend) {
    if (var.MsFw != 0)
        backend.Attach(MakeDevice(json{{"family", "8948"}, {"name", "mouse"}}, var));
    if (HasCompanion(var)) {
        const char* pszFamily = var.Dev.Ms.KbIC == 2305 ? "901" : "816";
        backend.Attach(MakeDevice(json{{"family", pszFamily}, {"name", "companion"}}, var));
        backend.Attach(MakeDevice(json{{"family", "receiver"}, {"name", "receiver"}}, var));
    }
    if (var.KbFw == 20)
        backend.Attach(MakeDevice(json{{"family", "816"}, {"name", "keyboard"}}, var));
    if (var.PadFw == 40)
        backend.Attach(MakeDevice(json{{"family", "pad"}, {"name", "pad"}}, var));
}

bool LoadSimulationJson(const std::string& strJson, const CGlobalVar& var, CSimBackend& backend,
                        std::string& strError) {
    try {
        json j = json::parse(strJson);
        if (!j.is_object())
            throw std::invalid_argument("the file must hold a JSON object");
        if (!j.contains("devices"))
            return true;
        if (!j["devices"].is_array())
            throw std::invalid_argument("\"devices\" must be a list");
        std::vector<SimDevicePtr> v;
        for (const json& e : j["devices"]) {
            if (!e.is_object())
                throw std::invalid_argument("every device must be an object");
            v.push_back(MakeDevice(e, var));
        }
        backend.DetachAll();
        for (auto& p : v)
            backend.Attach(p);
        return true;
    } catch (const std::exception& ex) {
        strError = ex.what();
        return false;
    }
}

bool LoadSimulationFile(const std::string& strPath, const CGlobalVar& var, CSimBackend& backend,
                        std::string& strError) {
    std::ifstream f(strPath);
    if (!f) {
        strError = "cannot read " + strPath;
        return false;
    }
    std::stringstream ss;
    ss << f.rdbuf();
    return LoadSimulationJson(ss.str(), var, backend, strError);
}
