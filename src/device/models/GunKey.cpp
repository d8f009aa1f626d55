#include "device/models/GunKey.h"

uint32_t PackGunParam(const GunParams& gun) {
    return (uint32_t(gun.nGun) & 0xF) | (uint32_t(gun.nLevel) & 0xF) << 4 |
           (uint32_t(gun.nValue) & 0xFF) << 16 | (uint32_t(gun.nSpeed) & 0xFF) << 24;
}

GunParams UnpackGunParam(uint32_t dwParam) {
    GunParams gun;
    gun.nGun = int(dwParam & 0xF);
    gun.nLevel = int((dwParam >> 4) & 0xF);
    gun.nValue = int((dwParam >> 16) & 0xFF);
    gun.nSpeed = int(dwParam >> 24);
    return gun;
}

GunParams GunDefaults(const CGlobalVar& var, int nGun) {
    GunParams gun{};
    if (nGun < 0 || nGun >= GUN_COUNT)
        nGun = 0;
    gun.nGun = nGun;
    gun.nLevel = 0;
    gun.nValue = var.Dev.Ms.GunValue[3 * nGun];
    const int nSpeed = var.Dev.Ms.ShootSpeed;
    // A speed the box would not accept falls back to the built-in one as well.
    gun.nSpeed = nSpeed <= 1 || nSpeed > GUN_SPEED_MAX ? GUN_SPEED_DEFAULT : nSpeed;
    return gun;
}

int ClampGunInput(int nTyped, int nMax) {
    if (nTyped > nMax)
        return nMax;
    return nTyped <= 0 ? 1 : nTyped;
}
