#pragma once
// Gun keys: a mouse button that selects one of the device's built-in recoil patterns. Its
// parameters travel packed in dwParam of the key's main function (class 8, code 192).
#include <cstdint>

#include "config/GlobalVar.h"

inline constexpr uint32_t GUN_FUN_CLASS = 8;
inline constexpr uint32_t GUN_FUN_CODE = 192;
inline constexpr int GUN_COUNT = 7; // m4, akm, m16, p9, scar-l, UZI, TOMPSON
inline constexpr int GUN_LEVELS = 3;
inline constexpr int GUN_SPEED_MAX = 127;
inline constexpr int GUN_VALUE_MAX = 255;
inline constexpr int GUN_SPEED_DEFAULT = 25; // what a configured fire speed of 1 stands for

struct GunParams {
    int nGun;   // 0..6
    int nLevel; // 0..2; 3..15 can come from a stored key and name no level
    int nValue; // recoil value 1..255
    int nSpeed; // fire speed 1..127
};

// dwParam = gun | level << 4 | value << 16 | speed << 24; each field is cut to its bits.
uint32_t PackGunParam(const GunParams& gun);
GunParams UnpackGunParam(uint32_t dwParam);
// The dialog's starting values for a gun: recoil [MS] GunValue[3 * gun], fire speed
// [MS] ShootSpeed (1, or a value outside 1..127, gives 25). Level 0.
GunParams GunDefaults(const CGlobalVar& var, int nGun);
// A number typed into the fire-speed or recoil box: above nMax gives nMax, 0 or less 1.
int ClampGunInput(int nTyped, int nMax);
