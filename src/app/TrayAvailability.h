#pragma once
// Whether the desktop has a notification area for the tray icon. The program asks Qt; the
// window tests stand in for a desktop that has one, which the offscreen platform never
// has. User-interface thread only.
#include <optional>

bool TrayAvailable();
// An answer that replaces Qt's until it is reset with std::nullopt.
void SetTrayAvailableOverride(std::optional<bool> bAvailable);
