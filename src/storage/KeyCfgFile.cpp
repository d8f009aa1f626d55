#include "storage/KeyCfgFile.h"

#include <cstdio>
#include <cstring>

#include "config/KeyTablesLoader.h"
#include "config/Log.h"
#include "platform/FileLookup.h"
#include "storage/MacroFile.h"
#include "storage/MacroFolders.h"
#include "storage/ProfileDefaults.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileId.h"

std::vector<uint8_t> BuildKeyCfgFile(const Profile& profile, const CMacroStore& macros,
                                     const CMacroStore& bullets) {
    std::vector<uint8_t> vBuf(KYG_FILE_SIZE, 0);
    uint32_t dwMagic = KYG_MAGIC;
    for (int i = 0; i < 4; ++i)
        vBuf[i] = static_cast<uint8_t>(dwMagic >> (8 * i));
    KeyAssign keys[MS_MODE_NUM][MS_KEY_MAX];
    for (int m = 0; m < MS_MODE_NUM; ++m)
        std::memcpy(keys[m], profile.Ms.Mode[m].Keys[0], sizeof(keys[m]));
    int nSlot = 0;
    for (auto& mode : keys) {
        for (KeyAssign& ka : mode) {
            uint32_t nClass = FunClass(ka.Main.dwFun);
            const StMacro* p = nullptr;
            if (nClass == FUN_CLASS_MACRO)
                p = macros.Find(ka.Main.dwMacroId);
            else if (nClass == FUN_CLASS_BULLET)
                p = bullets.Find(ka.Main.dwMacroId);
            if (!p || nSlot >= KYG_MACRO_SLOTS)
                continue;
            // Each key gets its own copy under its own id.
            StMacro copy = *p;
            copy.dwId = NewMacroId();
            copy.byBufferId = static_cast<uint8_t>(nClass);
            ka.Main.dwMacroId = copy.dwId;
            EncodeMacroBytes(copy, vBuf.data() + 4 + nSlot * MACRO_FILE_SIZE);
            ++nSlot;
        }
    }
    std::memcpy(vBuf.data() + KYG_KEYS_OFFSET, keys, sizeof(keys));
    return vBuf;
}

bool ExportKeyCfg(const CProList& store, const CMacroStore& macros, const CMacroStore& bullets,
                  const std::string& strPath, IStorageUi& ui) {
    const Profile* pCur = store.Current();
    if (!pCur)
        return false;
    std::vector<uint8_t> vBuf = BuildKeyCfgFile(*pCur, macros, bullets);
    if (!MyCreateFile(strPath, vBuf.data(), vBuf.size())) {
        ui.Message("Create keycfg failed.");
        return false;
    }
    return true;
}

bool ImportKeyCfg(CProList& store, CGlobalVar& var, CMacroStore& macros, CMacroStore& bullets,
                  const std::string& strPath, IStorageUi& ui) {
    Profile* pCur = store.Current();
    if (!pCur)
        return false;
    FILE* pFile = fopen(strPath.c_str(), "rb");
    if (!pFile) {
        ui.Message("Open keycfg failed");
        return false;
    }
    std::vector<uint8_t> vBuf(KYG_FILE_SIZE);
    size_t nGot = fread(vBuf.data(), 1, KYG_FILE_SIZE, pFile);
    fclose(pFile);
    if (nGot != KYG_FILE_SIZE) {
        ui.Message("Read keycfg failed.");
        return false;
    }
    uint32_t dwMagic = static_cast<uint32_t>(vBuf[0]) | static_cast<uint32_t>(vBuf[1]) << 8 |
                       static_cast<uint32_t>(vBuf[2]) << 16 | static_cast<uint32_t>(vBuf[3]) << 24;
    if (dwMagic != KYG_MAGIC) {
        ui.Message("This is not a valid keycfg");
        return false;
    }

    std::string strOrgMac = GetMacroFolders(var).strOrgMac;
    for (int i = 0; i < KYG_MACRO_SLOTS; ++i) {
        StMacro rec;
        if (!DecodeMacroBytes(vBuf.data() + 4 + i * MACRO_FILE_SIZE, MACRO_FILE_SIZE,
                              EMacroForm::Enciphered, rec))
            continue;
        uint8_t byClass = rec.byBufferId;
        rec.dwDirty = 0;
        rec.byBufferId = 0;
        if (byClass != FUN_CLASS_MACRO && byClass != FUN_CLASS_BULLET)
            continue;
        bool bBullet = byClass == FUN_CLASS_BULLET;
        std::string strTarget =
            strOrgMac + "/" + SafeNameFromFile(MacroName(rec)) + (bBullet ? ".mcb" : ".mcf");
        if (save_macro_to_file_mcb(strTarget, rec, false))
            (bBullet ? bullets : macros).Add(rec);
    }

    // Failures here are not shown: the keys still apply for this run.
    if (!FileLookup::WriteAtomic(var.szUserDataDir + "keycfg.kyg", vBuf.data(), vBuf.size()))
        LogPrint("keycfg.kyg could not be written to %s", var.szUserDataDir.c_str());

    KeyAssign keys[MS_MODE_NUM][MS_KEY_MAX];
    std::memcpy(keys, vBuf.data() + KYG_KEYS_OFFSET, sizeof(keys));
    BuildDefaultMouseKeys(var, &keys);
    FillMsDefault(pCur->Ms, var);
    store.Save();
    return true;
}
