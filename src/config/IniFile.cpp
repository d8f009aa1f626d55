#include "config/IniFile.h"

#include <cctype>
#include <cstring>
#include <string_view>

#include "config/TextEncoding.h"
#include "platform/FileLookup.h"
#include "platform/MessageBox.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

bool ParseItem(const std::string& strItem, int nBase, int32_t& nOut) {
    uint32_t dw;
    if (!CIniFile::ParseDigits(strItem, nBase, dw))
        return false;
    nOut = static_cast<int32_t>(dw);
    return true;
}

// Signed decimal items for rectangles and points; stops at the first item that is no number.
int ParseSignedList(const std::string& strValue, int32_t* pOut, int nCapacity) {
    int nCount = 0;
    size_t nStart = 0;
    while (nStart <= strValue.size() && nCount < nCapacity) {
        size_t nComma = strValue.find(',', nStart);
        std::string strItem = Trim(strValue.substr(
            nStart, nComma == std::string::npos ? std::string::npos : nComma - nStart));
        if (!strItem.empty()) {
            bool bNeg = false;
            std::string strDigits = strItem;
            if (strDigits[0] == '-' || strDigits[0] == '+') {
                bNeg = strDigits[0] == '-';
                strDigits = strDigits.substr(1);
            }
            int32_t n;
            if (!ParseItem(strDigits, 10, n))
                break;
            pOut[nCount++] = bNeg ? -n : n;
        }
        if (nComma == std::string::npos)
            break;
        nStart = nComma + 1;
    }
    return nCount;
}
} // namespace

std::string CIniFile::Fold(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

CIniFile::CIniFile(const std::string& strPath) {
    Load(strPath);
}

bool CIniFile::Load(const std::string& strPath) {
    m_mapSections.clear();
    m_vHexPrefixNotes.clear();
    m_strPath = strPath;
    m_bLoaded = false;
    auto data = FileLookup::ReadAll(strPath);
    if (!data)
        return false;
    LoadFromBytes(data->data(), data->size());
    m_strPath = strPath;
    return true;
}

std::string CIniFile::DecodeText(const void* pData, size_t nLen) {
    const uint8_t* p = static_cast<const uint8_t*>(pData);
    if (nLen >= 2 && p[0] == 0xFF && p[1] == 0xFE)
        return TextEncoding::Utf16ToUtf8(p + 2, nLen - 2, false);
    if (nLen >= 2 && p[0] == 0xFE && p[1] == 0xFF)
        return TextEncoding::Utf16ToUtf8(p + 2, nLen - 2, true);
    if (nLen >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return TextEncoding::SystemCodePageToUtf8(reinterpret_cast<const char*>(p + 3), nLen - 3);
    return TextEncoding::SystemCodePageToUtf8(reinterpret_cast<const char*>(p), nLen);
}

void CIniFile::LoadFromBytes(const void* pData, size_t nLen) {
    m_mapSections.clear();
    m_vHexPrefixNotes.clear();
    m_strPath.clear();
    m_bLoaded = true;
    const std::string strText = DecodeText(pData, nLen);
    auto trim = [](std::string_view v) {
        while (!v.empty() && IsBlank(v.front()))
            v.remove_prefix(1);
        while (!v.empty() && IsBlank(v.back()))
            v.remove_suffix(1);
        return v;
    };
    Section* pCur = nullptr;
    std::string_view text(strText);
    while (!text.empty()) {
        size_t nEnd = text.find('\n');
        std::string_view line = trim(text.substr(0, nEnd));
        text.remove_prefix(nEnd == std::string_view::npos ? text.size() : nEnd + 1);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            size_t nClose = line.find(']');
            std::string strName = Fold(std::string(trim(line.substr(
                1, nClose == std::string_view::npos ? std::string_view::npos : nClose - 1))));
            // A section that appears twice is read from its first occurrence only.
            auto [it, bNew] = m_mapSections.try_emplace(std::move(strName));
            pCur = bNew ? &it->second : nullptr;
            continue;
        }
        if (!pCur)
            continue;
        size_t nEq = line.find('=');
        if (nEq == std::string_view::npos)
            continue;
        std::string strKey = Fold(std::string(trim(line.substr(0, nEq))));
        std::string_view value = trim(line.substr(nEq + 1));
        if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                  (value.front() == '\'' && value.back() == '\'')))
            value = value.substr(1, value.size() - 2);
        if (strKey.empty())
            continue;
        pCur->mapValues.try_emplace(std::move(strKey), value); // the first one wins
    }
}

std::optional<std::string> CIniFile::Raw(const std::string& strSection,
                                         const std::string& strKey) const {
    auto it = m_mapSections.find(Fold(strSection));
    if (it == m_mapSections.end())
        return std::nullopt;
    auto itKey = it->second.mapValues.find(Fold(strKey));
    if (itKey == it->second.mapValues.end())
        return std::nullopt;
    return itKey->second;
}

bool CIniFile::HasSection(const std::string& strSection) const {
    return m_mapSections.count(Fold(strSection)) != 0;
}

bool CIniFile::ParseDigits(const std::string& strItem, int nBase, uint32_t& dwOut) {
    // No prefix, not even in base 16: other installations read "0x10" in a list as the end of
    // the list, and the same file must program a device the same way everywhere.
    size_t i = 0;
    if (strItem.empty())
        return false;
    uint64_t nValue = 0;
    for (; i < strItem.size(); ++i) {
        int d = DigitValue(strItem[i]);
        if (d >= nBase)
            return false;
        nValue = nValue * static_cast<uint64_t>(nBase) + static_cast<uint64_t>(d);
        // A number too long for the 32-bit field it lands in is as malformed as a letter.
        if (nValue > 0xFFFFFFFFull)
            return false;
    }
    dwOut = static_cast<uint32_t>(nValue);
    return true;
}

bool CIniFile::HasHexPrefix(const std::string& strItem) {
    size_t i = 0;
    while (i < strItem.size() && IsBlank(strItem[i]))
        ++i;
    return i + 1 < strItem.size() && strItem[i] == '0' &&
           (strItem[i + 1] == 'x' || strItem[i + 1] == 'X');
}

void CIniFile::NoteHexPrefixes(const std::string& strSection, const std::string& strKey,
                               const std::string& strValue, const int* pBases, int nItems) const {
    int nItem = 0;
    size_t nStart = 0;
    while (nStart <= strValue.size() && nItem < nItems) {
        size_t nComma = strValue.find(',', nStart);
        std::string strItem = Trim(strValue.substr(
            nStart, nComma == std::string::npos ? std::string::npos : nComma - nStart));
        if (!strItem.empty()) {
            const int nBase = pBases ? pBases[nItem] : 16;
            ++nItem;
            if (nBase == 16 && HasHexPrefix(strItem)) {
                const size_t nSlash = m_strPath.rfind('/');
                CIniHexPrefixNote note{nSlash == std::string::npos ? m_strPath
                                                                   : m_strPath.substr(nSlash + 1),
                                       strSection, strKey, strItem};
                bool bKnown = false;
                for (const CIniHexPrefixNote& n : m_vHexPrefixNotes)
                    bKnown = bKnown || (Fold(n.strSection) == Fold(strSection) &&
                                        Fold(n.strKey) == Fold(strKey) && n.strItem == strItem);
                if (!bKnown)
                    m_vHexPrefixNotes.push_back(std::move(note));
            }
        }
        if (nComma == std::string::npos)
            break;
        nStart = nComma + 1;
    }
}

std::optional<int32_t> CIniFile::ParseInt(const std::string& strValue) {
    size_t i = 0;
    while (i < strValue.size() && IsBlank(strValue[i]))
        ++i;
    bool bNeg = false;
    if (i < strValue.size() && (strValue[i] == '-' || strValue[i] == '+')) {
        bNeg = strValue[i] == '-';
        ++i;
    }
    int nBase = 10;
    if (i + 1 < strValue.size() && strValue[i] == '0' &&
        (strValue[i + 1] == 'x' || strValue[i + 1] == 'X')) {
        nBase = 16;
        i += 2;
    }
    uint64_t nValue = 0;
    size_t nDigits = 0;
    for (; i < strValue.size(); ++i, ++nDigits) {
        int d = DigitValue(strValue[i]);
        if (d >= nBase)
            break;
        nValue = (nValue * static_cast<uint64_t>(nBase) + static_cast<uint64_t>(d)) & 0xFFFFFFFFull;
    }
    if (nDigits == 0)
        return nBase == 16 ? std::optional<int32_t>(0) : std::nullopt;
    uint32_t nLow = static_cast<uint32_t>(nValue);
    return static_cast<int32_t>(bNeg ? 0u - nLow : nLow);
}

int32_t CIniFile::GetInt(const std::string& strSection, const std::string& strKey,
                         int32_t nDefault) const {
    auto value = Raw(strSection, strKey);
    if (!value)
        return nDefault;
    auto n = ParseInt(*value);
    return n ? *n : nDefault;
}

std::string CIniFile::GetString(const std::string& strSection, const std::string& strKey,
                                const std::string& strDefault, size_t nBufLen) const {
    auto value = Raw(strSection, strKey);
    const std::string& str = value ? *value : strDefault;
    if (nBufLen == 0)
        return std::string();
    return TextEncoding::CutToUtf16Units(str, nBufLen - 1);
}

int CIniFile::ParseList(const std::string& strValue, int nBase, int32_t* pOut, int nCapacity) {
    int nCount = 0;
    size_t nStart = 0;
    while (nStart <= strValue.size() && nCount < nCapacity) {
        size_t nComma = strValue.find(',', nStart);
        std::string strItem = Trim(strValue.substr(
            nStart, nComma == std::string::npos ? std::string::npos : nComma - nStart));
        if (!strItem.empty()) {
            int32_t n;
            if (!ParseItem(strItem, nBase, n))
                break;
            pOut[nCount++] = n;
        }
        if (nComma == std::string::npos)
            break;
        nStart = nComma + 1;
    }
    return nCount;
}

int CIniFile::GetList(const std::string& strSection, const std::string& strKey, int nBase,
                      int32_t* pOut, int nCapacity) const {
    auto value = Raw(strSection, strKey);
    if (!value || nCapacity <= 0)
        return 0;
    if (nBase == 16)
        NoteHexPrefixes(strSection, strKey, *value, nullptr, nCapacity);
    return ParseList(*value, nBase, pOut, nCapacity);
}

int CIniFile::GetList(const std::string& strSection, const std::string& strKey, int nBase,
                      std::vector<int32_t>& vOut, int nCapacity) const {
    vOut.assign(nCapacity > 0 ? static_cast<size_t>(nCapacity) : 0, 0);
    int n = GetList(strSection, strKey, nBase, vOut.data(), nCapacity);
    vOut.resize(static_cast<size_t>(n));
    return n;
}

uint32_t CIniFile::ParseColor(const std::string& strValue) {
    int32_t rgb[3] = {0, 0, 0};
    ParseList(strValue, 10, rgb, 3);
    // Each component is one byte of the colour value, as the platform's RGB() packs it.
    return (static_cast<uint32_t>(rgb[0]) & 0xFF) | ((static_cast<uint32_t>(rgb[1]) & 0xFF) << 8) |
           ((static_cast<uint32_t>(rgb[2]) & 0xFF) << 16);
}

uint32_t CIniFile::GetColor(const std::string& strSection, const std::string& strKey,
                            uint32_t clrDefault) const {
    auto value = Raw(strSection, strKey);
    if (!value || value->empty())
        return clrDefault;
    return ParseColor(*value);
}

bool CIniFile::GetRect(const std::string& strSection, const std::string& strKey, RECT& rc) const {
    auto value = Raw(strSection, strKey);
    if (!value || value->empty())
        return false;
    int32_t n[4];
    // The value is read into a 50-character buffer.
    if (ParseSignedList(TextEncoding::CutToUtf16Units(*value, 49), n, 4) < 4) {
        PlatformMessageBox("Error", "Wrong rect num");
        return false;
    }
    rc = RECT{n[0], n[1], n[2], n[3]};
    return true;
}

POINT CIniFile::GetPoint(const std::string& strSection, const std::string& strKey,
                         POINT ptDefault) const {
    auto value = Raw(strSection, strKey);
    if (!value || value->empty())
        return ptDefault;
    int32_t n[2];
    if (ParseSignedList(TextEncoding::CutToUtf16Units(*value, 49), n, 2) < 2) {
        PlatformMessageBox("Error", "Wrong POINT num");
        return ptDefault;
    }
    return POINT{n[0], n[1]};
}

bool WriteIniValue(const std::string& strPath, const std::string& strSection,
                   const std::string& strKey, const std::string& strValue) {
    std::string strText;
    if (auto data = FileLookup::ReadAll(strPath))
        strText = CIniFile::DecodeText(data->data(), data->size());
    auto fold = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string strSecFold = fold(strSection), strKeyFold = fold(strKey);
    const std::string strNewLine = strKey + "=" + strValue;

    std::vector<std::string> vLines;
    size_t nPos = 0;
    while (nPos < strText.size()) {
        size_t nEnd = strText.find('\n', nPos);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        std::string strLine = strText.substr(nPos, nEnd - nPos);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        vLines.push_back(strLine);
        nPos = nEnd + 1;
    }

    bool bInSection = false, bDone = false;
    long nSectionEnd = -1; // index after the last line of the wanted section
    for (size_t i = 0; i < vLines.size() && !bDone; ++i) {
        std::string strTrim = Trim(vLines[i]);
        if (!strTrim.empty() && strTrim[0] == '[') {
            size_t nClose = strTrim.find(']');
            std::string strName = fold(Trim(
                strTrim.substr(1, nClose == std::string::npos ? std::string::npos : nClose - 1)));
            if (bInSection)
                break;
            bInSection = strName == strSecFold;
            if (bInSection)
                nSectionEnd = static_cast<long>(i) + 1;
            continue;
        }
        if (!bInSection)
            continue;
        if (!strTrim.empty())
            nSectionEnd = static_cast<long>(i) + 1;
        size_t nEq = strTrim.find('=');
        if (nEq != std::string::npos && fold(Trim(strTrim.substr(0, nEq))) == strKeyFold) {
            vLines[i] = Trim(strTrim.substr(0, nEq)) + "=" + strValue; // the key keeps its spelling
            bDone = true;
        }
    }
    if (!bDone) {
        if (nSectionEnd < 0) {
            if (!vLines.empty() && !Trim(vLines.back()).empty())
                vLines.push_back("");
            vLines.push_back("[" + strSection + "]");
            vLines.push_back(strNewLine);
        } else {
            vLines.insert(vLines.begin() + nSectionEnd, strNewLine);
        }
    }
    std::string strOut;
    for (size_t i = 0; i < vLines.size(); ++i) {
        if (i + 1 == vLines.size() && vLines[i].empty())
            break;
        strOut += vLines[i];
        strOut += "\r\n";
    }
    return FileLookup::WriteAtomic(strPath, strOut.data(), strOut.size());
}
