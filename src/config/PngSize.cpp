#include "config/PngSize.h"

#include <cstdio>
#include <cstring>

std::optional<PngSize> ReadPngSize(const void* pData, size_t nLen) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const uint8_t* p = static_cast<const uint8_t*>(pData);
    // Signature, then the IHDR chunk: length 13, type, width, height (big-endian).
    if (!p || nLen < 24 || std::memcmp(p, kSignature, 8) != 0 ||
        std::memcmp(p + 12, "IHDR", 4) != 0)
        return std::nullopt;
    auto be32 = [p](size_t n) {
        return (uint32_t(p[n]) << 24) | (uint32_t(p[n + 1]) << 16) | (uint32_t(p[n + 2]) << 8) |
               p[n + 3];
    };
    PngSize size{be32(16), be32(20)};
    if (size.nWidth == 0 || size.nHeight == 0 || size.nWidth > 0x7FFFFFFF ||
        size.nHeight > 0x7FFFFFFF)
        return std::nullopt;
    return size;
}

std::optional<PngSize> ReadPngSizeFile(const std::string& strPath) {
    FILE* pFile = fopen(strPath.c_str(), "rb");
    if (!pFile)
        return std::nullopt;
    uint8_t byHead[24];
    size_t n = fread(byHead, 1, sizeof(byHead), pFile);
    fclose(pFile);
    return ReadPngSize(byHead, n);
}
