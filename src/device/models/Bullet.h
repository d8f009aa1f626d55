#pragma once
// Bullet macros made from a handful of numbers: fire, then pull the pointer down, shot
// after shot.
#include <cstdint>
#include <string>

#include "storage/MacroRecord.h"

inline constexpr uint8_t BULLET_CODE_MOVE = 252;
inline constexpr uint32_t BULLET_FIRE_BUTTON = 240;
inline constexpr int BULLET_EVENT_LIMIT = 170;
inline constexpr int BULLET_SHOTS_MAX = 56;            // fire and move per shot
inline constexpr int BULLET_SHOTS_MAX_CONTINUOUS = 85; // one fire, then moves only
inline constexpr uint32_t BULLET_FIRE_DELAY_MS = 10;

struct BulletRequest {
    int nShots;
    int nHoldMs;  // how long each fire press lasts
    int nDelayMs; // pause after each movement
    int nPull;    // downward movement per shot
    bool bContinuous;
};

// The largest shot count the new-bullet dialog accepts.
inline int BulletShotMax(bool bContinuous) {
    return bContinuous ? BULLET_SHOTS_MAX_CONTINUOUS : BULLET_SHOTS_MAX;
}
// The dialog's rules once the user confirms: hold time and movement delay below 1 become
// 10, a negative pull-down 10.
void NormaliseBulletRequest(BulletRequest& req);
// Everything from the last '.' of a name on is cut off.
std::u16string BulletBaseName(const std::u16string& strName);

// Builds a new bullet macro with id dwId: per shot a fire click (code 240, held nHoldMs, or
// only for the first shot and with hold 0 when firing continuously; 10 ms after it), then a
// movement of (0, nPull) followed by nDelayMs. Stops after 170 events. The pull-down is
// limited to the movement's signed byte (0..127) and the hold to the 16-bit field. Returns
// the number of events.
int MakeBullet(const BulletRequest& req, const std::u16string& strName, uint32_t dwId,
               StMacro& out);
