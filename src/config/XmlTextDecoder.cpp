#include "config/XmlTextDecoder.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string>
#include <vector>

#include "config/Log.h"
#include "config/TextEncoding.h"

namespace XmlTextDecoder {
namespace {

// The declaration must sit near the top; nobody searches a whole file for it.
constexpr size_t kHeadLen = 1024;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string LowerCopy(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = LowerAscii(c);
    return out;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Value after "key" [ws] "=" [ws] in s (lower-cased), starting the search at nFrom and ending
// at nEnd. Quoted values end at the quote; unquoted ones at white space, ';', '"', '\'', '>'.
std::string ValueAfter(const std::string& strLow, const std::string& strOrig, const char* pszKey,
                       size_t nFrom, size_t nEnd) {
    const size_t nKeyLen = std::strlen(pszKey);
    for (size_t nPos = strLow.find(pszKey, nFrom); nPos != std::string::npos && nPos < nEnd;
         nPos = strLow.find(pszKey, nPos + 1)) {
        size_t k = nPos + nKeyLen;
        while (k < nEnd && IsSpace(strLow[k]))
            ++k;
        if (k >= nEnd || strLow[k] != '=')
            continue;
        ++k;
        while (k < nEnd && IsSpace(strLow[k]))
            ++k;
        if (k >= nEnd)
            return {};
        char cQuote = 0;
        if (strLow[k] == '"' || strLow[k] == '\'')
            cQuote = strLow[k++];
        const size_t nStart = k;
        while (k < nEnd) {
            const char c = strLow[k];
            if (cQuote ? c == cQuote
                       : (IsSpace(c) || c == ';' || c == '"' || c == '\'' || c == '>'))
                break;
            ++k;
        }
        return strOrig.substr(nStart, k - nStart);
    }
    return {};
}

enum class EKind { Utf8, Utf16, Cp1252, Other };

// Encoding names are compared without case, '-' and '_' (utf-8, UTF8, utf_8).
EKind Classify(const std::string& strName) {
    std::string strKey;
    for (char c : strName)
        if (c != '-' && c != '_')
            strKey += LowerAscii(c);
    if (strKey == "utf8")
        return EKind::Utf8;
    if (strKey == "utf16" || strKey == "utf16le" || strKey == "utf16be" || strKey == "ucs2" ||
        strKey == "unicode")
        return EKind::Utf16;
    if (strKey == "windows1252" || strKey == "cp1252" || strKey == "xcp1252")
        return EKind::Cp1252;
    return EKind::Other;
}

// Valid UTF-8 stays as it is; each ill-formed byte becomes U+FFFD.
std::string Sanitized(const std::string& strBytes) {
    if (TextEncoding::IsValidUtf8(strBytes.data(), strBytes.size()))
        return strBytes;
    return TextEncoding::Utf16ToUtf8(TextEncoding::Utf8ToUtf16(strBytes));
}

std::string WithoutZeros(const uint8_t* p, size_t n) {
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
        if (p[i] != 0)
            out += static_cast<char>(p[i]);
    return out;
}

std::string FromUtf16Bytes(const uint8_t* p, size_t n, bool bBigEndian) {
    std::vector<uint8_t> units;
    units.reserve(n);
    for (size_t i = 0; i + 1 < n; i += 2) {
        if (p[i] != 0 || p[i + 1] != 0) {
            units.push_back(p[i]);
            units.push_back(p[i + 1]);
        }
    }
    return TextEncoding::Utf16ToUtf8(units.data(), units.size(), bBigEndian);
}

std::string Undeclared(const std::string& strBytes, std::string& strUsed) {
    if (TextEncoding::IsValidUtf8(strBytes.data(), strBytes.size())) {
        strUsed = "UTF-8";
        return strBytes;
    }
    strUsed = "Windows-1252";
    return TextEncoding::Cp1252ToUtf8(strBytes.data(), strBytes.size());
}

// Converts with glibc iconv; false when iconv does not know the name. Bytes the converter
// rejects become U+FFFD and conversion goes on behind them.
bool ConvertWithIconv(const std::string& strName, const std::string& strBytes,
                      std::string& strOut) {
    // Only plain encoding names go to iconv: "//IGNORE"-style suffixes or paths are no names.
    if (strName.size() > 40)
        return false;
    for (char c : strName) {
        const bool bOk = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':' ||
                         c == '(' || c == ')' || c == '+';
        if (!bOk)
            return false;
    }
    iconv_t cd = iconv_open("UTF-8", strName.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    strOut.assign(strBytes.size() * 2 + 16, '\0');
    char* pIn = const_cast<char*>(strBytes.data());
    size_t nInLeft = strBytes.size();
    size_t nUsed = 0;
    static const char s_szReplacement[] = "\xEF\xBF\xBD";
    // The output is UTF-8, which has no shift states, so no final flush is needed.
    while (nInLeft > 0) {
        if (strOut.size() - nUsed < 16)
            strOut.resize(strOut.size() * 2);
        char* pOut = strOut.data() + nUsed;
        size_t nOutLeft = strOut.size() - nUsed;
        const size_t r = iconv(cd, &pIn, &nInLeft, &pOut, &nOutLeft);
        const int nErr = errno;
        nUsed = static_cast<size_t>(pOut - strOut.data());
        if (r != static_cast<size_t>(-1))
            break;
        if (nErr == E2BIG) {
            strOut.resize(strOut.size() * 2);
            continue;
        }
        if (nErr != EILSEQ && nErr != EINVAL)
            break;
        // An invalid or truncated sequence: mark it and go on behind its first byte.
        if (strOut.size() - nUsed < 16)
            strOut.resize(strOut.size() * 2);
        std::memcpy(strOut.data() + nUsed, s_szReplacement, 3);
        nUsed += 3;
        ++pIn;
        --nInLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the initial shift state
    }
    iconv_close(cd);
    strOut.resize(nUsed);
    // Some encodings (UTF-7, for one) can spell U+0000 without a zero byte.
    std::erase(strOut, '\0');
    return true;
}

} // namespace

std::string FindDeclaredEncoding(std::string_view strHead) {
    std::string strOrig;
    for (char c : strHead)
        if (c != 0)
            strOrig += c;
    const std::string strLow = LowerCopy(strOrig);

    if (size_t nDecl = strLow.find("<?xml"); nDecl != std::string::npos) {
        size_t nEnd = strLow.find("?>", nDecl);
        if (nEnd == std::string::npos)
            nEnd = strLow.size();
        std::string strName = ValueAfter(strLow, strOrig, "encoding", nDecl + 5, nEnd);
        if (!strName.empty())
            return strName;
    }
    for (size_t nMeta = strLow.find("<meta"); nMeta != std::string::npos;
         nMeta = strLow.find("<meta", nMeta + 5)) {
        size_t nEnd = strLow.find('>', nMeta);
        if (nEnd == std::string::npos)
            nEnd = strLow.size();
        const std::string_view strTag(strLow.data() + nMeta, nEnd - nMeta);
        const bool bContentType = strTag.find("content-type") != std::string_view::npos;
        const bool bCharsetAttr = strTag.find("charset") != std::string_view::npos;
        if (!bContentType && !bCharsetAttr)
            continue;
        std::string strName = ValueAfter(strLow, strOrig, "charset", nMeta + 5, nEnd);
        if (!strName.empty())
            return strName;
    }
    return {};
}

Decoded Decode(const uint8_t* pData, size_t nLen) {
    Decoded res;
    if (pData == nullptr || nLen == 0) {
        res.strEncoding = "UTF-8";
        return res;
    }
    if (nLen >= 3 && pData[0] == 0xEF && pData[1] == 0xBB && pData[2] == 0xBF) {
        res.strEncoding = "UTF-8";
        res.strText = Sanitized(WithoutZeros(pData + 3, nLen - 3));
        return res;
    }
    if (nLen >= 2 &&
        ((pData[0] == 0xFF && pData[1] == 0xFE) || (pData[0] == 0xFE && pData[1] == 0xFF))) {
        const bool bBig = pData[0] == 0xFE;
        res.strEncoding = bBig ? "UTF-16BE" : "UTF-16LE";
        res.strText = FromUtf16Bytes(pData + 2, nLen - 2, bBig);
        return res;
    }
    // UTF-16 saved without a byte-order mark still shows itself: every ASCII character of
    // the markup has a zero byte beside it. Taking such a file as 8-bit would keep the ASCII
    // text but garble everything else.
    // Two units are looked at, so a single stray zero byte in an 8-bit file does not count.
    const bool bLe16 =
        nLen >= 4 && pData[0] != 0 && pData[1] == 0 && pData[2] != 0 && pData[3] == 0;
    const bool bBe16 =
        nLen >= 4 && pData[0] == 0 && pData[1] != 0 && pData[2] == 0 && pData[3] != 0;
    if (bLe16 || bBe16) {
        const bool bBig = bBe16;
        res.strEncoding = bBig ? "UTF-16BE" : "UTF-16LE";
        res.strText = FromUtf16Bytes(pData, nLen, bBig);
        return res;
    }

    const std::string strBytes = WithoutZeros(pData, nLen);
    const std::string strName = FindDeclaredEncoding(
        std::string_view(reinterpret_cast<const char*>(pData), nLen < kHeadLen ? nLen : kHeadLen));
    if (strName.empty()) {
        res.strText = Undeclared(strBytes, res.strEncoding);
        return res;
    }
    switch (Classify(strName)) {
    case EKind::Utf8:
        res.strEncoding = "UTF-8";
        res.strText = Sanitized(strBytes);
        return res;
    case EKind::Utf16:
        // Declared UTF-16 but stored in 8 bits (no zero bytes beside the markup): the
        // declaration is wrong, the bytes tell the truth.
        res.strText = Undeclared(strBytes, res.strEncoding);
        return res;
    case EKind::Cp1252:
        res.strEncoding = "Windows-1252";
        res.strText = TextEncoding::Cp1252ToUtf8(strBytes.data(), strBytes.size());
        return res;
    case EKind::Other:
        break;
    }
    if (ConvertWithIconv(strName, strBytes, res.strText)) {
        res.strEncoding = strName;
        return res;
    }
    LogPrint("Unknown text encoding \"%s\", reading the file as UTF-8 or Windows-1252\n",
             strName.c_str());
    res.strText = Undeclared(strBytes, res.strEncoding);
    return res;
}

} // namespace XmlTextDecoder
