#pragma once
// Key configuration files (.kyg): the default keys of key set 0 of the three mouse modes
// with up to 15 macros they use. keycfg.kyg in the user data folder is the one start-up takes.
#include <cstdint>
#include <string>
#include <vector>

#include "config/GlobalVar.h"
#include "storage/KeyCfgStartup.h"
#include "storage/MacroStore.h"
#include "storage/ProfileStore.h"
#include "storage/StorageUi.h"

inline constexpr int KYG_MACRO_SLOTS = 15;

// The file's bytes for a profile: its key set 0 of each mode, and each macro a key uses
// copied once per key with a new id, which that key then names.
std::vector<uint8_t> BuildKeyCfgFile(const Profile& profile, const CMacroStore& macros,
                                     const CMacroStore& bullets);

// Writes the current profile's keys. False (with "Create keycfg failed.") on failure.
bool ExportKeyCfg(const CProList& store, const CMacroStore& macros, const CMacroStore& bullets,
                  const std::string& strPath, IStorageUi& ui);

// Imports a .kyg: its macros become presets in OrgMac and enter the stores, the file becomes
// keycfg.kyg, its keys the default mouse keys of var, the current profile's mouse region is
// reset to the new defaults and the store is saved. False after a message when refused.
bool ImportKeyCfg(CProList& store, CGlobalVar& var, CMacroStore& macros, CMacroStore& bullets,
                  const std::string& strPath, IStorageUi& ui);
