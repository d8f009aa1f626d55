// The PNG header reader of the installation check.
#include <cstddef>
#include <cstdint>

#include "config/PngSize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    auto size = ReadPngSize(pData, nSize);
    if (size && (size->nWidth == 0 || size->nHeight == 0))
        __builtin_trap();
    return 0;
}
