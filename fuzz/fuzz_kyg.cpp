// Key configuration import (.kyg) and the start-up reading of keycfg.kyg over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "FuzzStorageEnv.h"
#include "platform/FileLookup.h"
#include "storage/KeyCfgFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CGlobalVar& var = FuzzInstallation();
    // Inputs starting with 'K' get the magic and are padded to the file size.
    std::vector<uint8_t> vFile(pData, pData + nSize);
    if (nSize > 0 && pData[0] == 'K') {
        vFile.assign(KYG_FILE_SIZE, 0);
        const uint8_t kMagic[4] = {0x01, 0xEE, 0x48, 0x89};
        std::memcpy(vFile.data(), kMagic, 4);
        std::memcpy(vFile.data() + 4, pData + 1, std::min(nSize - 1, KYG_FILE_SIZE - 4));
    }
    std::string strPath = var.szUserDataDir + "in.kyg";
    FileLookup::WriteAtomic(strPath, vFile.data(), vFile.size());
    CProList store(var);
    auto pProfile = std::make_unique<Profile>();
    store.CreateDefault(*pProfile, "fuzz");
    store.SetCurrent(store.AddCopy(*pProfile));
    CMacroStore macros(MACRO_STORE_MAX), bullets;
    CFuzzUi ui;
    if (ImportKeyCfg(store, var, macros, bullets, strPath, ui)) {
        KeyAssign keys[MS_MODE_NUM][MS_KEY_MAX];
        if (!ReadStartupKeycfg(var.szUserDataDir, keys))
            abort(); // the imported file is the one start-up takes
    }
    return 0;
}
