#pragma once
// Display names of function words, as the key panels and menus show them, in the current
// language.
#include <cstdint>
#include <optional>
#include <string>

#include "config/GlobalVar.h"
#include "storage/KeyAssign.h"

// Where the names of the macros that keys refer to come from. The macro stores back it;
// until one is installed no macro exists, so macro functions have empty names.
class IMacroNameSource {
public:
    virtual ~IMacroNameSource() = default;
    // Name of the ordinary macro with this id, nullopt when there is none.
    virtual std::optional<std::string> MacroName(uint32_t dwMacroId) const = 0;
    // Name of the bullet macro with this id, nullopt when there is none.
    virtual std::optional<std::string> BulletName(uint32_t dwMacroId) const = 0;
};
void SetMacroNameSource(const IMacroNameSource* pSource);
const IMacroNameSource* GetMacroNameSource();

// Name of a function: by class and code; key names on var's layout, the resolution lock
// from var's current sensor.
std::string GetFunName(const KeyFun& kf, const CGlobalVar& var);
std::string GetFunName(const KeyFun& kf);

// Name of the key a rapid-fire function repeats: 0xF0..0xF6 are the mouse buttons, any
// other code a keyboard key.
std::string GetFireKeyName(uint8_t byKey, int nLayout);

// Name of a gun preset function from its parameter: preset in bits 0..3, scope in 4..7.
std::string GetGunName(uint32_t dwParam);
