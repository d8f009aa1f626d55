#include "cli/StorageJson.h"

#include "cli/KeyAssignJson.h"
#include "storage/MacroFile.h"
#include "storage/WideField.h"

namespace {

template <typename T, size_t N> nlohmann::json HexArray(const T (&a)[N]) {
    nlohmann::json j = nlohmann::json::array();
    for (size_t i = 0; i < N; ++i)
        j.push_back(HexWordJson(static_cast<uint32_t>(a[i])));
    return j;
}

template <typename T, size_t N> nlohmann::json NumArray(const T (&a)[N]) {
    nlohmann::json j = nlohmann::json::array();
    for (size_t i = 0; i < N; ++i)
        j.push_back(a[i]);
    return j;
}

nlohmann::json KbLedJson(const KbLedEffect& e) {
    return {
        {"nLevel1", e.nLevel1}, {"nLevel2", e.nLevel2},         {"nDir", e.nDir},
        {"nFlag", e.nFlag},     {"Colors", HexArray(e.Colors)}, {"nColorChoice", e.nColorChoice}};
}

nlohmann::json MsLedJson(const MsLedEffect& e) {
    return {{"nLevel1", e.nLevel1},
            {"nLevel2", e.nLevel2},
            {"nDir", e.nDir},
            {"nFlag", e.nFlag},
            {"Colors", HexArray(e.Colors)},
            {"dwColorMask", HexWordJson(e.dwColorMask)},
            {"dwExtra", HexWordJson(e.dwExtra)},
            {"dwExtra2", HexWordJson(e.dwExtra2)}};
}

nlohmann::json PadLedJson(const PadLedEffect& e) {
    return {{"nLevel1", e.nLevel1},
            {"nLevel2", e.nLevel2},
            {"nDir", e.nDir},
            {"nFlag", e.nFlag},
            {"Colors", HexArray(e.Colors)},
            {"dwColorMask", HexWordJson(e.dwColorMask)}};
}

nlohmann::json KbJson(const KbSettings& kb) {
    nlohmann::json jLed = nlohmann::json::array(), jGroups = nlohmann::json::array();
    for (const auto& e : kb.Led)
        jLed.push_back(KbLedJson(e));
    for (const auto& g : kb.GroupColor)
        jGroups.push_back(HexArray(g));
    return {{"nLayer", kb.nLayer},
            {"KbKeys", KeyAssignArrayJson(kb.KbKeys, KB_PROFILE_KEYS)},
            {"nKbLedEffect", kb.nKbLedEffect},
            {"Led", jLed},
            {"nPanelWord", kb.nPanelWord},
            {"wColorGroup", kb.wColorGroup},
            {"byGroupOn", NumArray(kb.byGroupOn)},
            {"GroupColor", jGroups},
            {"Gest", KeyAssignArrayJson(kb.Gest, KB_GEST_KEYS)}};
}

nlohmann::json MsModeJson(const MsMode& m) {
    nlohmann::json jKeys = nlohmann::json::array(), jDpi = nlohmann::json::array(),
                   jLed = nlohmann::json::array();
    for (const auto& set : m.Keys)
        jKeys.push_back(KeyAssignArrayJson(set, MS_PROFILE_KEYS));
    for (const DpiLevel& lv : m.Dpi)
        jDpi.push_back({{"nX", lv.nX},
                        {"nY", lv.nY},
                        {"rgb", {lv.rgb[0], lv.rgb[1], lv.rgb[2], lv.rgb[3]}},
                        {"bOff", lv.bOff}});
    for (const auto& e : m.Led)
        jLed.push_back(MsLedJson(e));
    return {{"nRate", HexWordJson(static_cast<uint32_t>(m.nRate))},
            {"nKeySet", m.nKeySet},
            {"Keys", jKeys},
            {"Sys",
             {{"nWheelLines", m.Sys.nWheelLines},
              {"nDblClickMs", m.Sys.nDblClickMs},
              {"nSpeed", m.Sys.nSpeed},
              {"bEnhance", m.Sys.bEnhance},
              {"nTrails", m.Sys.nTrails}}},
            {"Dpi", jDpi},
            {"bDpiXY", m.bDpiXY},
            {"nLedEffect", HexWordJson(static_cast<uint32_t>(m.nLedEffect))},
            {"Led", jLed},
            {"byGunOpt", m.byGunOpt},
            {"byLodNum", m.byLodNum},
            {"byLodDef", m.byLodDef},
            {"byLodMask", m.byLodMask},
            {"byLod", NumArray(m.byLod)}};
}

} // namespace

nlohmann::json ProfileJson(const Profile& p) {
    nlohmann::json jModes = nlohmann::json::array(), jPadLed = nlohmann::json::array();
    for (const MsMode& m : p.Ms.Mode)
        jModes.push_back(MsModeJson(m));
    for (const auto& e : p.Pad.Led)
        jPadLed.push_back(PadLedJson(e));
    return {{"dwMagic", HexWordJson(p.dwMagic)},
            {"dwId", HexWordJson(p.dwId)},
            {"szSound", GetWideField(p.szSound, PROFILE_SOUND_LEN)},
            {"szName", GetWideField(p.szName, PROFILE_NAME_LEN)},
            {"Kb", KbJson(p.Kb)},
            {"Ms",
             {{"nMode", p.Ms.nMode},
              {"nSensor", HexWordJson(static_cast<uint32_t>(p.Ms.nSensor))},
              {"Mode", jModes}}},
            {"Pad", {{"nPadLedEffect", p.Pad.nPadLedEffect}, {"Led", jPadLed}}}};
}

nlohmann::json MacroJson(const StMacro& m) {
    nlohmann::json jEvents = nlohmann::json::array();
    for (const MacroEvent& ev : m.Events) {
        if (ev.byCode == 0 && ev.byParam == 0 && ev.dwDelay == 0)
            break;
        // The events are packed: dwDelay is not 4-byte aligned, so it is copied, never bound
        // to a reference.
        jEvents.push_back({{"byCode", ev.byCode},
                           {"byParam", ev.byParam},
                           {"wPress", static_cast<uint16_t>(ev.wPress)},
                           {"dwDelay", static_cast<uint32_t>(ev.dwDelay)}});
    }
    return {{"dwMagic", HexWordJson(m.dwMagic)}, {"dwId", HexWordJson(m.dwId)},
            {"dwDirty", HexWordJson(m.dwDirty)}, {"bAutoDelay", m.bAutoDelay},
            {"nLoopMode", m.nLoopMode},          {"szName", MacroName(m)},
            {"byBufferId", m.byBufferId},        {"byKind", m.byKind},
            {"wLoopCount", m.wLoopCount},        {"Events", jEvents}};
}
