#include "device/models/VkToHid.h"

#include <array>
#include <cstddef>

namespace {

struct CVkRange {
    uint8_t byVkFirst, byVkLast, byUsageFirst;
};

// Ranges map consecutively; single codes are ranges of one.
constexpr CVkRange kRanges[] = {
    {65, 90, 4},     {49, 57, 30},    {48, 48, 39},    {13, 13, 40},    {27, 27, 41},
    {8, 8, 42},      {9, 9, 43},      {32, 32, 44},    {189, 189, 45},  {187, 187, 46},
    {219, 219, 47},  {221, 221, 48},  {220, 220, 49},  {186, 186, 51},  {222, 222, 52},
    {192, 192, 53},  {188, 188, 54},  {190, 190, 55},  {191, 191, 56},  {20, 20, 57},
    {112, 123, 58},  {44, 44, 70},    {145, 145, 71},  {19, 19, 72},    {45, 45, 73},
    {36, 36, 74},    {33, 33, 75},    {46, 46, 76},    {35, 35, 77},    {34, 34, 78},
    {39, 39, 79},    {37, 37, 80},    {40, 40, 81},    {38, 38, 82},    {144, 144, 83},
    {111, 111, 84},  {106, 106, 85},  {109, 109, 86},  {107, 107, 87},  {253, 253, 88},
    {97, 105, 89},   {96, 96, 98},    {110, 110, 99},  {226, 226, 100}, {93, 93, 101},
    {194, 194, 133}, {193, 193, 135}, {195, 195, 137}, {162, 162, 224}, {160, 160, 225},
    {164, 164, 226}, {91, 91, 227},   {163, 163, 228}, {161, 161, 229}, {165, 165, 230},
    {92, 92, 231},
};

std::array<uint8_t, 256> BuildTable() {
    std::array<uint8_t, 256> a{};
    for (const CVkRange& r : kRanges)
        for (int v = r.byVkFirst; v <= r.byVkLast; ++v)
            a[size_t(v)] = uint8_t(r.byUsageFirst + (v - r.byVkFirst));
    return a;
}

} // namespace

uint8_t VkToHid(uint8_t byVk) {
    static const std::array<uint8_t, 256> s_Table = BuildTable();
    return s_Table[byVk];
}
