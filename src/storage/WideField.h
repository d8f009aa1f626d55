#pragma once
// The NUL-terminated UTF-16 fields of the stored records, to and from UTF-8.
#include <cstddef>
#include <string>

#include "config/TextEncoding.h"

// Stores text cut to nCap - 1 UTF-16 units (never splitting a character); the rest of the
// field is zeroed.
inline void SetWideField(char16_t* pField, size_t nCap, const std::string& strUtf8) {
    std::u16string str =
        TextEncoding::Utf8ToUtf16(TextEncoding::CutToUtf16Units(strUtf8, nCap - 1));
    size_t i = 0;
    for (; i < str.size() && i + 1 < nCap; ++i)
        pField[i] = str[i];
    for (; i < nCap; ++i)
        pField[i] = 0;
}

// The text up to the first NUL or the end of the field.
inline std::string GetWideField(const char16_t* pField, size_t nCap) {
    size_t n = 0;
    while (n < nCap && pField[n] != 0)
        ++n;
    return TextEncoding::Utf16ToUtf8(std::u16string(pField, n));
}
