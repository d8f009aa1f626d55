#include "platform/PointerSettings.h"

#include <atomic>

#include "platform/PointerSettingsGnome.h"

namespace {
CNoPointerSettings g_NoPointerSettings;
std::atomic<IPointerSettings*> g_pPointerSettings{nullptr};
} // namespace

const char* PointerKeyName(EPointerKey eKey) {
    switch (eKey) {
    case EPointerKey::DoubleClickMs:
        return "double-click time";
    case EPointerKey::WheelLines:
        return "wheel scroll lines";
    case EPointerKey::Acceleration:
        return "pointer acceleration";
    case EPointerKey::Speed:
        return "pointer speed";
    case EPointerKey::Trails:
        return "pointer trails";
    }
    return "?";
}

IPointerSettings& GetPointerSettings() {
    IPointerSettings* p = g_pPointerSettings.load();
    return p ? *p : g_NoPointerSettings;
}

void SetPointerSettings(IPointerSettings* pSettings) {
    g_pPointerSettings.store(pSettings);
}

void UseDesktopPointerSettings() {
    static CGnomePointerSettings s_Gnome;
    SetPointerSettings(&s_Gnome);
}
