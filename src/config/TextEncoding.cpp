#include "config/TextEncoding.h"

namespace TextEncoding {

void AppendUtf8(std::string& str, uint32_t c) {
    if (c < 0x80) {
        str += static_cast<char>(c);
    } else if (c < 0x800) {
        str += static_cast<char>(0xC0 | (c >> 6));
        str += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        str += static_cast<char>(0xE0 | (c >> 12));
        str += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        str += static_cast<char>(0xF0 | (c >> 18));
        str += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        str += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at p[i]; returns its length, 0 when invalid.
static size_t DecodeOne(const unsigned char* p, size_t n, size_t i, uint32_t& c) {
    unsigned char b = p[i];
    size_t nLen;
    uint32_t nMin;
    if (b < 0x80) {
        c = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        nLen = 2, c = b & 0x1F, nMin = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        nLen = 3, c = b & 0x0F, nMin = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        nLen = 4, c = b & 0x07, nMin = 0x10000;
    } else {
        return 0;
    }
    if (i + nLen > n)
        return 0;
    for (size_t k = 1; k < nLen; ++k) {
        if ((p[i + k] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i + k] & 0x3F);
    }
    if (c < nMin || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return nLen;
}

bool IsValidUtf8(const char* p, size_t n) {
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n;) {
        uint32_t c;
        size_t nLen = DecodeOne(u, n, i, c);
        if (nLen == 0)
            return false;
        i += nLen;
    }
    return true;
}

std::string Cp1252ToUtf8(const char* p, size_t n) {
    static const uint16_t kHigh[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string str;
    str.reserve(n + n / 4);
    for (size_t i = 0; i < n; ++i) {
        unsigned char b = static_cast<unsigned char>(p[i]);
        if (b < 0x80)
            str += static_cast<char>(b);
        else if (b < 0xA0)
            AppendUtf8(str, kHigh[b - 0x80]);
        else
            AppendUtf8(str, b);
    }
    return str;
}

std::string Utf16ToUtf8(const uint8_t* p, size_t nBytes, bool bBigEndian) {
    std::string str;
    str.reserve(nBytes / 2);
    size_t nUnits = nBytes / 2;
    auto unit = [&](size_t k) -> uint32_t {
        return bBigEndian ? (uint32_t(p[2 * k]) << 8) | p[2 * k + 1]
                          : (uint32_t(p[2 * k + 1]) << 8) | p[2 * k];
    };
    for (size_t k = 0; k < nUnits; ++k) {
        uint32_t c = unit(k);
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < nUnits) {
            uint32_t c2 = unit(k + 1);
            if (c2 >= 0xDC00 && c2 <= 0xDFFF) {
                AppendUtf8(str, 0x10000 + ((c - 0xD800) << 10) + (c2 - 0xDC00));
                ++k;
                continue;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        AppendUtf8(str, c);
    }
    return str;
}

std::string SystemCodePageToUtf8(const char* p, size_t n) {
    if (IsValidUtf8(p, n))
        return std::string(p, n);
    return Cp1252ToUtf8(p, n);
}

size_t Utf16Length(const std::string& str) {
    size_t nUnits = 0;
    for (unsigned char b : str) {
        if ((b & 0xC0) != 0x80)
            ++nUnits;
        if ((b & 0xF8) == 0xF0)
            ++nUnits;
    }
    return nUnits;
}

std::string CutToUtf16Units(const std::string& str, size_t nUnits) {
    size_t nUsed = 0;
    size_t i = 0;
    while (i < str.size()) {
        unsigned char b = static_cast<unsigned char>(str[i]);
        size_t nLen = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
        size_t nNeed = nLen == 4 ? 2 : 1;
        if (nUsed + nNeed > nUnits)
            break;
        nUsed += nNeed;
        i += nLen;
    }
    return str.substr(0, i < str.size() ? i : str.size());
}

std::u16string Utf8ToUtf16(const std::string& str) {
    std::u16string out;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(str.data());
    for (size_t i = 0; i < str.size();) {
        uint32_t c;
        size_t nLen = DecodeOne(u, str.size(), i, c);
        if (nLen == 0) {
            c = 0xFFFD;
            nLen = 1;
        }
        i += nLen;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& str) {
    std::string out;
    for (size_t k = 0; k < str.size(); ++k) {
        uint32_t c = str[k];
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < str.size() && str[k + 1] >= 0xDC00 &&
            str[k + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (str[k + 1] - 0xDC00u));
            ++k;
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace TextEncoding
