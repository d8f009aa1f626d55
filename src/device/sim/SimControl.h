#pragma once
// Control commands of a simulation session, one text line each, as the program's control
// socket and `velkinctl sim-control` exchange them:
//   plug <device> | unplug <device>   the named simulated device comes back / vanishes
//   dpi-button                        the mouse switches to its next switched-on level
//   mode <1..3>                       the mouse switches its mode
//   keyset <0..2>                     the receiver reports the key-set switch key
//   state                             JSON of the simulated devices
// Every command is answered with one line: "ok", "ok <json>" for state, or "error: ...".
#include <cstdint>
#include <functional>
#include <string>

#include "config/GlobalVar.h"
#include "device/sim/SimBackend.h"

enum class ESimCommand { Plug, Unplug, DpiButton, Mode, KeySet, State };

struct CSimCommand {
    ESimCommand eCmd = ESimCommand::State;
    std::string strDevice; // plug, unplug
    int nValue = 0;        // mode 1..3, keyset 0..2
};

// Parses one line (surrounding blanks and a final CR ignored). False with strError on
// anything else; never throws.
bool ParseSimCommand(const std::string& strLine, CSimCommand& cmd, std::string& strError);

// What plugging and unplugging tell the program besides the device itself: the USB path of
// the device ("...USB#VID_xxxx&PID_xxxx...") as arrival and removal notifications carry it.
struct CSimControlHooks {
    std::function<void(const std::string&)> fnArrival;
    std::function<void(const std::string&)> fnRemoval;
};

// Runs a parsed command on the backend's devices and returns the answer line (without
// line end). var supplies the resolution level count and the KeySwVk values.
std::string RunSimCommand(const CSimCommand& cmd, const CGlobalVar& var, CSimBackend& backend,
                          const CSimControlHooks& hooks);
// Parses and runs one line.
std::string RunSimCommandLine(const std::string& strLine, const CGlobalVar& var,
                              CSimBackend& backend, const CSimControlHooks& hooks);

// The devices as JSON: name, vid, pid, present; the mouse's mode and per-mode level ordinal
// and off mask.
std::string SimStateJson(CSimBackend& backend);

// The control socket of this user's simulation session: $XDG_RUNTIME_DIR/velkin-sim-<uid>,
// or the temporary folder when XDG_RUNTIME_DIR is not set.
std::string SimControlSocketPath();

// The Windows-form USB path the program matches for a simulated device.
std::string SimUsbPath(uint16_t wVid, uint16_t wPid, const std::string& strName);
