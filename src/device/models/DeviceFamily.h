#pragma once
// The device families in one table: how they are numbered everywhere (device list, apply
// paths, velkinctl), which configuration makes their model, what a full apply asks of them
// and which apply bits they know. The window, the session and velkinctl read this table;
// none keeps its own copy.
#include <array>
#include <memory>
#include <string>

#include "config/GlobalVar.h"

class CHidDev;
class CHidLib;
class CMacroStore;

enum EFamily : int { FAMILY_NONE = 0, FAMILY_MOUSE = 1, FAMILY_KEYBOARD = 2, FAMILY_PAD = 3 };
inline constexpr int FAMILY_COUNT = 3; // mouse, keyboard, pad

struct CFamilyInfo {
    EFamily eFamily;
    const char* pszName;     // as velkinctl names it: "mouse", "keyboard", "pad"
    const char* pszListText; // text id of its device-list row
    const char* pszListIcon; // skin image of its device-list row
    int nFullFlags;          // the Apply and Reset buttons' request
    int nAccepted;           // bits the family's requests may carry
    int nWrites;             // bits of nAccepted that select something to write
    const char* pszBits;     // what each bit writes, for messages
    const char* pszAbsent;   // the configuration that makes an installation lack it
    // Whether the installation configures a model for the family, and that model.
    bool (*pfnConfigured)(const CGlobalVar& var);
    std::unique_ptr<CHidDev> (*pfnCreate)(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros);
};

// In the order the device list shows them: mouse, keyboard, pad.
const std::array<CFamilyInfo, FAMILY_COUNT>& Families();
// The row of a family; null for FAMILY_NONE or any other number.
const CFamilyInfo* FamilyInfo(int nFamily);
// The row named so ("mouse", ...); null when none is.
const CFamilyInfo* FamilyByName(const std::string& strName);
