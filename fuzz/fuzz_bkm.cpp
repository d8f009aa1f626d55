// Profile import (.bkm) over arbitrary bytes into a scratch installation.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzStorageEnv.h"
#include "platform/FileLookup.h"
#include "storage/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CGlobalVar& var = FuzzInstallation();
    // Inputs starting with 'B' are padded to the file size so the macro slots are reached.
    std::vector<uint8_t> vFile(pData, pData + nSize);
    if (nSize > 0 && pData[0] == 'B') {
        vFile.assign(BKM_FILE_SIZE, 0);
        std::memcpy(vFile.data(), pData + 1, std::min(nSize - 1, BKM_FILE_SIZE));
    }
    std::string strPath = var.szUserDataDir + "In.bkm";
    FileLookup::WriteAtomic(strPath, vFile.data(), vFile.size());
    CProList store(var);
    CMacroStore macros(MACRO_STORE_MAX), bullets;
    CFuzzUi ui;
    // Twice: the second import meets the files of the first.
    for (int i = 0; i < 2; ++i) {
        Profile* p = ImportProfile(store, var, macros, bullets, strPath, ui);
        if (p && store.Current() != p)
            abort();
        if (p)
            p->szName[0] = u'X'; // another name, so the second import is not refused
    }
    for (const Profile& p : store.List())
        if (!IsProfileValid(p))
            abort();
    return 0;
}
