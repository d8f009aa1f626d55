#pragma once
// Conversions between the encodings installation files come in and UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>

namespace TextEncoding {
bool IsValidUtf8(const char* p, size_t n);
// Windows-1252 bytes to UTF-8 (the five undefined bytes map to U+FFFD).
std::string Cp1252ToUtf8(const char* p, size_t n);
// UTF-16 units (little- or big-endian bytes) to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const uint8_t* p, size_t nBytes, bool bBigEndian);
// "System code page" text: UTF-8 when valid, else Windows-1252.
std::string SystemCodePageToUtf8(const char* p, size_t n);
void AppendUtf8(std::string& str, uint32_t nCodePoint);
// Number of UTF-16 units the UTF-8 text needs.
size_t Utf16Length(const std::string& str);
// Cuts UTF-8 text to at most nUnits UTF-16 units without splitting a character.
std::string CutToUtf16Units(const std::string& str, size_t nUnits);
std::u16string Utf8ToUtf16(const std::string& str);
std::string Utf16ToUtf8(const std::u16string& str);
} // namespace TextEncoding
