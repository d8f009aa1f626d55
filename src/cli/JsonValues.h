#pragma once
// How velkinctl prints the configuration's value forms: colours as [R, G, B], rectangles as
// [left, top, right, bottom], points as [x, y].
#include <nlohmann/json.hpp>

#include "config/IniFile.h"

inline nlohmann::json RgbJson(uint32_t clr) {
    return {clr & 0xFF, (clr >> 8) & 0xFF, (clr >> 16) & 0xFF};
}
inline nlohmann::json RectJson(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}
inline nlohmann::json PointJson(const POINT& pt) {
    return {pt.x, pt.y};
}
