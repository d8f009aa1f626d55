#pragma once
// Width and height of a PNG image from its header, without decoding it (the core has no
// image library; checks of an installation only need the sizes).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct PngSize {
    uint32_t nWidth, nHeight;
};

std::optional<PngSize> ReadPngSize(const void* pData, size_t nLen);
std::optional<PngSize> ReadPngSizeFile(const std::string& strPath);
