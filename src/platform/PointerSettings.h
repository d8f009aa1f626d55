#pragma once
// The operating system's pointer settings (double-click time, wheel lines, acceleration,
// speed, trails) behind one seam. A back-end that cannot read or set a setting says so; it
// never claims a change it did not make. Tests install a recording fake.
#include <cstdint>

enum class EPointerKey { DoubleClickMs, WheelLines, Acceleration, Speed, Trails };

// Acceleration uses all three values (threshold 1, threshold 2, acceleration); the other
// settings only n[0].
struct PointerValue {
    int32_t n[3] = {0, 0, 0};
};

inline bool operator==(const PointerValue& a, const PointerValue& b) {
    return a.n[0] == b.n[0] && a.n[1] == b.n[1] && a.n[2] == b.n[2];
}

class IPointerSettings {
public:
    virtual ~IPointerSettings() = default;
    // False when the setting cannot be changed here at all.
    virtual bool Supported(EPointerKey eKey) = 0;
    // The system's current value; false when it cannot be read.
    virtual bool Get(EPointerKey eKey, PointerValue& value) = 0;
    // Sets the value and lets the desktop know; false when that failed.
    virtual bool Set(EPointerKey eKey, const PointerValue& value) = 0;
};

// Supports nothing: where no desktop back-end is installed every setting is reported as not
// supported.
class CNoPointerSettings : public IPointerSettings {
public:
    bool Supported(EPointerKey) override { return false; }
    bool Get(EPointerKey, PointerValue&) override { return false; }
    bool Set(EPointerKey, const PointerValue&) override { return false; }
};

const char* PointerKeyName(EPointerKey eKey);

// The installed back-end (CNoPointerSettings until one is installed). The caller keeps
// ownership; nullptr restores the default.
IPointerSettings& GetPointerSettings();
void SetPointerSettings(IPointerSettings* pSettings);
// Installs the desktop's back-end (GNOME settings through the gsettings tool).
void UseDesktopPointerSettings();
