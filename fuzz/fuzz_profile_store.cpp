// pro.dct and curid.dct over arbitrary bytes: loading, keeping an unusable file aside, and
// saving back what was loaded.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzStorageEnv.h"
#include "platform/FileLookup.h"
#include "storage/ProfileStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CGlobalVar& var = FuzzInstallation();
    CProList store(var);
    // Short inputs stand for a whole store with these bytes at its start, so the fuzzer
    // reaches the slots without having to grow 675072 bytes.
    std::vector<uint8_t> vFile(pData, pData + nSize);
    if (nSize > 0 && pData[0] == 'F') {
        vFile.assign(PRO_FILE_SIZE, 0);
        std::memcpy(vFile.data(), pData + 1, std::min(nSize - 1, PRO_FILE_SIZE));
    }
    FileLookup::WriteAtomic(store.ProFilePath(), vFile.data(), vFile.size());
    FileLookup::WriteAtomic(store.CurIdPath(), pData, nSize < 8 ? nSize : 8);
    int n = store.Load(nSize % 2 == 0);
    if (n > 0) {
        store.SelectById(store.ReadCurrentId());
        store.Save();
        store.WriteCurrentId();
        CProList again(var);
        if (again.Load(false) != n)
            abort(); // what was saved must load back the same
    }
    return 0;
}
