#pragma once
// The udev rule that lets the logged-in user open the configured devices' hidraw nodes.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "config/GlobalVar.h"

using UsbId = std::pair<uint16_t, uint16_t>; // vendor, product

// Every vendor/product pair the installation may open, without repeats: the mouse with
// the product ids discovery also tries, its companion keyboard and receiver, the keyboard
// and the pad.
std::vector<UsbId> ConfiguredUsbIds(const CGlobalVar& var);
// One rule line per id, matching add and change events of hidraw nodes, tagged uaccess.
std::string MakeUdevRules(const std::vector<UsbId>& vIds);
