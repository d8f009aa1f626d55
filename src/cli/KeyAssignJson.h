#pragma once
// JSON form of key records for velkinctl: every KeyFun field under its record name; the
// words (dwFun, dwParam, dwGun, dwResv) as hexadecimal strings "0x%08X", as the key
// tables print them.
#include <nlohmann/json.hpp>

#include "storage/KeyAssign.h"

nlohmann::json HexWordJson(uint32_t dw);
nlohmann::json KeyFunJson(const KeyFun& kf);
nlohmann::json KeyAssignJson(const KeyAssign& ka);
// An array of n records.
nlohmann::json KeyAssignArrayJson(const KeyAssign* pKeys, int n);
