#pragma once
// Value forms the device descriptions share beyond the INI reader's own: number lists read
// through a fixed-size buffer, byte lists, colour lists.
#include <cstdint>
#include <string>

#include "config/IniFile.h"

// A key is "given" when it holds a non-empty value; the installation files cannot tell a
// missing key from an empty one.
bool IsKeyGiven(const CIniFile& ini, const std::string& strSection, const std::string& strKey);

// A number list read through a buffer of nBufLen characters: the text past the buffer is
// not seen. A number the buffer cuts through is dropped rather than taken cut short.
int GetListBuffered(const CIniFile& ini, const std::string& strSection, const std::string& strKey,
                    int nBase, int32_t* pOut, int nCapacity, size_t nBufLen);

// A list of bytes: numbers are taken as their low byte. Entries past the count are left as
// they were. Returns the count.
int GetByteList(const CIniFile& ini, const std::string& strSection, const std::string& strKey,
                int nBase, uint8_t* pOut, int nCapacity);

// x + width and y + height of rectangles given by size: wraps like the 32-bit field instead
// of overflowing.
int32_t AddWrapped(int32_t a, int32_t b);

// RGB with each component cut to one byte, 0x00BBGGRR.
uint32_t MakeRgb(int32_t r, int32_t g, int32_t b);

// A colour list: up to 30 decimal numbers taken as R,G,B triples (a short last triple has
// its missing components 0) into at most nMax colours, ending after the first black one.
// When the value yields no number, the default list applies. Entries after the list are 0.
// Returns the number of colours stored.
int GetColorList(const CIniFile& ini, const std::string& strSection, const std::string& strKey,
                 uint32_t* pOut, int nMax, const uint32_t* pDefault, int nDefault);
