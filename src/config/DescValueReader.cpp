#include "config/DescValueReader.h"

#include <algorithm>

#include "config/TextEncoding.h"

bool IsKeyGiven(const CIniFile& ini, const std::string& strSection, const std::string& strKey) {
    auto value = ini.Raw(strSection, strKey);
    return value && !value->empty();
}

int GetListBuffered(const CIniFile& ini, const std::string& strSection, const std::string& strKey,
                    int nBase, int32_t* pOut, int nCapacity, size_t nBufLen) {
    auto value = ini.Raw(strSection, strKey);
    if (!value || nCapacity <= 0 || nBufLen == 0) {
        return 0;
    }
    std::string strCut = TextEncoding::CutToUtf16Units(*value, nBufLen - 1);
    if (strCut.size() < value->size()) {
        const char cNext = (*value)[strCut.size()];
        const bool bItemEnds = cNext == ',' || cNext == ' ' || cNext == '\t';
        if (!bItemEnds) {
            const size_t nComma = strCut.rfind(',');
            strCut.resize(nComma == std::string::npos ? 0 : nComma + 1);
        }
    }
    return CIniFile::ParseList(strCut, nBase, pOut, nCapacity);
}

int GetByteList(const CIniFile& ini, const std::string& strSection, const std::string& strKey,
                int nBase, uint8_t* pOut, int nCapacity) {
    if (nCapacity <= 0) {
        return 0;
    }
    int32_t aValues[256];
    const int nCount = ini.GetList(strSection, strKey, nBase, aValues, std::min(nCapacity, 256));
    for (int i = 0; i < nCount; ++i) {
        pOut[i] = static_cast<uint8_t>(aValues[i]);
    }
    return nCount;
}

int32_t AddWrapped(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

uint32_t MakeRgb(int32_t r, int32_t g, int32_t b) {
    return (static_cast<uint32_t>(r) & 0xFF) | ((static_cast<uint32_t>(g) & 0xFF) << 8) |
           ((static_cast<uint32_t>(b) & 0xFF) << 16);
}

int GetColorList(const CIniFile& ini, const std::string& strSection, const std::string& strKey,
                 uint32_t* pOut, int nMax, const uint32_t* pDefault, int nDefault) {
    int32_t aNum[30] = {};
    const int nCount = ini.GetList(strSection, strKey, 10, aNum, 30);
    for (int i = 0; i < nMax; ++i) {
        pOut[i] = 0;
    }
    if (nCount == 0) {
        const int n = std::min(nDefault, nMax);
        for (int i = 0; i < n; ++i) {
            pOut[i] = pDefault[i];
        }
        return n;
    }
    int nColors = 0;
    for (int i = 0; i < nCount && nColors < nMax; i += 3) {
        const uint32_t clr = MakeRgb(aNum[i], aNum[i + 1], aNum[i + 2]);
        pOut[nColors++] = clr;
        if (clr == 0) {
            break;
        }
    }
    return nColors;
}
