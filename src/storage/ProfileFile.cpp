#include "storage/ProfileFile.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "config/TextEncoding.h"
#include "platform/FileLookup.h"
#include "storage/MacroFile.h"
#include "storage/MacroFolders.h"
#include "storage/ProfileId.h"
#include "storage/WideField.h"

namespace {

struct CSlotCollector {
    std::vector<uint8_t>& vBuf;
    size_t nBase;
    int nMax;
    int nUsed = 0;
    std::vector<uint32_t> vIds;

    bool Has(uint32_t dwId) const {
        for (uint32_t d : vIds)
            if (d == dwId)
                return true;
        return false;
    }
    void Add(const StMacro& rec, uint8_t byClass) {
        if (nUsed >= nMax || Has(rec.dwId))
            return;
        StMacro copy = rec;
        copy.dwDirty = 0;
        copy.byBufferId = byClass;
        EncodeMacroBytes(copy, vBuf.data() + nBase + nUsed * MACRO_FILE_SIZE);
        vIds.push_back(rec.dwId);
        ++nUsed;
    }
};

} // namespace

std::vector<uint8_t> BuildProfileFile(const Profile& profile, bool bMouse,
                                      const CMacroStore& macros, const CMacroStore& bullets) {
    std::vector<uint8_t> vBuf(BKM_FILE_SIZE, 0);
    std::memcpy(vBuf.data(), &profile, sizeof(Profile));
    CSlotCollector slots{vBuf, sizeof(Profile), BKM_MACRO_SLOTS, 0, {}};
    if (bMouse) {
        for (const MsMode& mode : profile.Ms.Mode)
            for (const auto& set : mode.Keys)
                for (const KeyAssign& ka : set) {
                    uint32_t nClass = FunClass(ka.Main.dwFun);
                    const StMacro* p = nullptr;
                    if (nClass == FUN_CLASS_MACRO)
                        p = macros.Find(ka.Main.dwMacroId);
                    else if (nClass == FUN_CLASS_BULLET)
                        p = bullets.Find(ka.Main.dwMacroId);
                    if (p)
                        slots.Add(*p, static_cast<uint8_t>(nClass));
                }
    }
    for (const KeyAssign& ka : profile.Kb.KbKeys) {
        if (FunClass(ka.Main.dwFun) != FUN_CLASS_MACRO)
            continue;
        if (const StMacro* p = macros.Find(ka.Main.dwMacroId))
            slots.Add(*p, FUN_CLASS_MACRO);
    }
    return vBuf;
}

bool ExportProfile(const CProList& store, const CGlobalVar& var, const CMacroStore& macros,
                   const CMacroStore& bullets, const std::string& strPath, IStorageUi& ui) {
    const Profile* pCur = store.Current();
    if (!pCur)
        return false;
    std::vector<uint8_t> vBuf = BuildProfileFile(*pCur, var.MsFw != 0, macros, bullets);
    if (!MyCreateFile(strPath, vBuf.data(), vBuf.size())) {
        ui.Message("Create profile failed.");
        return false;
    }
    return true;
}

Profile* ImportProfile(CProList& store, const CGlobalVar& var, CMacroStore& macros,
                       CMacroStore& bullets, const std::string& strPath, IStorageUi& ui) {
    std::string strTitle = FileTitle(strPath);
    for (const Profile& p : store.List()) {
        if (strcasecmp(GetWideField(p.szName, PROFILE_NAME_LEN).c_str(), strTitle.c_str()) == 0) {
            ui.Message(Txt("tc_msg20"));
            return nullptr;
        }
    }
    // pro.dct holds twelve profiles; a thirteenth would be lost at the next start.
    if (store.Count() >= PROFILE_FILE_SLOTS) {
        ui.Message("The number of profile has reached it's maximum");
        return nullptr;
    }

    FILE* pFile = fopen(strPath.c_str(), "rb");
    if (!pFile) {
        ui.Message("Open profile failed");
        return nullptr;
    }
    long nSize = -1;
    if (fseek(pFile, 0, SEEK_END) == 0)
        nSize = ftell(pFile);
    if (nSize != static_cast<long>(BKM_FILE_SIZE)) {
        fclose(pFile);
        ui.Message("Check profile failed.");
        return nullptr;
    }
    std::vector<uint8_t> vBuf(BKM_FILE_SIZE);
    rewind(pFile);
    size_t nGot = fread(vBuf.data(), 1, BKM_FILE_SIZE, pFile);
    fclose(pFile);
    if (nGot != BKM_FILE_SIZE) {
        ui.Message("Open profile failed.");
        return nullptr;
    }
    auto pProfile = std::make_unique<Profile>();
    std::memcpy(pProfile.get(), vBuf.data(), sizeof(Profile));
    if (!IsProfileValid(*pProfile)) {
        ui.Message("This is not a valid profile");
        return nullptr;
    }

    MacroFolderPaths folders = GetMacroFolders(var);
    std::string strSafeTitle = SafeNameFromFile(strTitle);
    for (int i = 0; i < BKM_MACRO_SLOTS; ++i) {
        const uint8_t* pSlot = vBuf.data() + sizeof(Profile) + i * MACRO_FILE_SIZE;
        if ((pSlot[0] | pSlot[1] | pSlot[2] | pSlot[3]) == 0)
            continue;
        StMacro rec;
        if (!DecodeMacroBytes(pSlot, MACRO_FILE_SIZE, EMacroForm::Enciphered, rec))
            continue;
        uint8_t byClass = rec.byBufferId;
        rec.byBufferId = 0;
        bool bBullet = byClass == FUN_CLASS_BULLET;
        std::string strName = SafeNameFromFile(MacroName(rec));
        std::string strTarget = (bBullet ? folders.strBMac : folders.strMac) + "/" + strSafeTitle +
                                "/" + strName + (bBullet ? ".mcb" : ".mcf");
        bool bReplace = true;
        if (FileLookup::Exists(strTarget)) {
            char sz[512];
            snprintf(sz, sizeof(sz), "%s  %s,  %s", Txt("tc_macro_msg8").c_str(),
                     MacroName(rec).c_str(), Txt("tc_macro_msg35").c_str());
            bReplace = ui.AskYesNo(sz);
        }
        uint32_t dwOld = rec.dwId;
        uint32_t dwNew = NewMacroId();
        if (var.MsFw != 0) {
            for (int m = 0; m < MS_PROFILE_MODES; ++m)
                for (int s = 0; s < MS_KEY_SETS; ++s)
                    for (int k = 0; k < MS_PROFILE_KEYS; ++k) {
                        KeyAssign& ka = pProfile->Ms.Mode[m].Keys[s][k];
                        uint32_t nClass = FunClass(ka.Main.dwFun);
                        if ((nClass != FUN_CLASS_MACRO && nClass != FUN_CLASS_BULLET) ||
                            ka.Main.dwMacroId != dwOld)
                            continue;
                        if (bReplace)
                            ka.Main.dwMacroId = dwNew;
                        else
                            ka = var.Dev.Keys.MsDefKey[m][k];
                    }
        }
        // Answered no: the file on disk stays the user's; the keys that used the imported
        // macro went back to their defaults, so nothing names it.
        if (!bReplace)
            continue;
        rec.dwId = dwNew;
        // The keys already name the new id: a macro whose write failed still enters the
        // store, marked to be written again.
        bool bWritten = save_macro_to_file_mcb(strTarget, rec, rec.byKind == MACRO_KIND_CONVERTED);
        rec.dwDirty = bWritten ? 0 : MACRO_DIRTY_BITS;
        (bBullet ? bullets : macros).Add(rec);
    }

    pProfile->dwId = NewProfileId();
    SetWideField(pProfile->szName, PROFILE_NAME_LEN, strTitle);
    Profile* pAdded = store.AddCopy(*pProfile);
    if (!pAdded)
        return nullptr;
    store.SetCurrent(pAdded);
    store.Save();
    store.WriteCurrentId();
    return pAdded;
}
