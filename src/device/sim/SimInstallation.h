#pragma once
// The simulated devices of an installation: one per configured family with the
// installation's ids, device codes and sensor, unless a simulation file says otherwise.
#include <string>

#include "config/GlobalVar.h"
#include "device/sim/SimBackend.h"

// The families the installation configures: [OPT] MsFw (mouse, and its companion keyboard
// and receiver when [MS] KeySwVk names switch keys), KbFw 20 (816 keyboard), PadFw 40 (pad).
void AttachInstallationDevices(const CGlobalVar& var, CSimBackend& backend);

// Reads a simulation file (JSON). Its "devices" list, when present, replaces the
// installation's devices; each entry takes what it leaves out from the installation:
//   {"family": "8948"|"816"|"901"|"pad"|"receiver", "name": "...", "vid": 0x258A,
//    "pid": "0x1007", "code": [1,2,3,4], "sensor": "0x3360" or "sensorCode": 6,
//    "mode": 1..3, "notify": true, "product": "...", "failNext": 0, "failAfter": 0,
//    "present": true}
// failNext feature transfers fail once failAfter transfers have succeeded.
// Numbers may be JSON numbers or strings ("0x1007"). False with strError on a bad file;
// the backend is then left with the installation's devices.
bool LoadSimulationFile(const std::string& strPath, const CGlobalVar& var, CSimBackend& backend,
                        std::string& strError);
bool LoadSimulationJson(const std::string& strJson, const CGlobalVar& var, CSimBackend& backend,
                        std::string& strError);

// The 6-bit type code under which the mouse reports a sensor id; 0 when none.
int SimSensorCode(int nSensor);
