#pragma once
// The device descriptions held in gVar: the mouse with its sensors, the keyboard, the pad
// and the key tables. Each is filled by its own loader; all zero until it runs.
#include "config/KbPadDesc.h"
#include "config/KeyTables.h"
#include "config/MouseDesc.h"

struct DeviceDesc {
    MouseDesc Ms;
    KbDesc Kb;
    PadDesc Pad;
    KeyTables Keys;
};
