#pragma once
// Exported profiles (.bkm): one Profile record with up to 20 of the macros its keys use,
// each slot enciphered like a macro file and tagged with the function class of its keys.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/GlobalVar.h"
#include "storage/MacroStore.h"
#include "storage/ProfileStore.h"
#include "storage/StorageUi.h"

inline constexpr int BKM_MACRO_SLOTS = 20;
inline constexpr size_t BKM_FILE_SIZE = sizeof(Profile) + BKM_MACRO_SLOTS * MACRO_FILE_SIZE;
static_assert(BKM_FILE_SIZE == 85856);

inline constexpr uint8_t FUN_CLASS_MACRO = 5;
inline constexpr uint8_t FUN_CLASS_BULLET = 12;

// The file's bytes: the profile, then each macro once (by id) in the order mouse keys
// (modes, key sets, keys; when bMouse) and keyboard keys (ordinary macros only).
std::vector<uint8_t> BuildProfileFile(const Profile& profile, bool bMouse,
                                      const CMacroStore& macros, const CMacroStore& bullets);

// Writes the current profile to strPath. False (with "Create profile failed.") on failure.
bool ExportProfile(const CProList& store, const CGlobalVar& var, const CMacroStore& macros,
                   const CMacroStore& bullets, const std::string& strPath, IStorageUi& ui);

// Imports a .bkm: its macros are written under Mac/<file title>/ and BMac/<file title>/
// and added to the stores, the profile is appended with a new id and the file title as its
// name, becomes current and the store is saved. nullptr after a message when refused.
Profile* ImportProfile(CProList& store, const CGlobalVar& var, CMacroStore& macros,
                       CMacroStore& bullets, const std::string& strPath, IStorageUi& ui);
