#pragma once
// Everything the simulated devices hold, as JSON: what an apply wrote can be checked from
// outside the process (velkinctl --sim-state-out, sim-state).
#include <nlohmann/json.hpp>

#include "device/sim/SimBackend.h"

// {"devices": [{"name", "family", "vid", "pid", "product", "present", "reports", ...}]}
// with the family's state: byte blocks as lower-case hexadecimal strings, codes as
// "0x%08x". "reports" counts the feature transfers of the kept trace (set, get, failed).
nlohmann::json SimStateDump(CSimBackend& backend);
