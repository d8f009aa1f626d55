#pragma once
// The receiver's consumer collection through which a companion keyboard reports its
// key-set switch keys (3-byte input reports, id 2).
#include "device/hid/HidLib.h"

constexpr uint16_t KBMON_VID = 0x258A;
constexpr uint16_t KBMON_PID = 0x0016;
constexpr uint16_t KBMON_PID_ALT = 0x002A;
constexpr int KBMON_REPORT = 3;

// Opens the monitor collection of the receiver (product 0x0016, else 0x002A); null when
// neither is there.
HidHandle OpenKbMonitorDevice(CHidLib& lib);
