// Gun key packing and the generated bullet macros.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config/GlobalVar.h"
#include "device/models/Bullet.h"
#include "device/models/GunKey.h"

namespace {

TEST(GunKey, PackAndUnpack) {
    struct {
        GunParams gun;
        uint32_t dwParam;
    } kCases[] = {
        {{0, 0, 1, 1}, 0x01010000},
        {{6, 2, 255, 127}, 0x7FFF0026},
        {{3, 1, 0x80, 25}, 0x19800013},
        {{5, 3, 9, 8}, 0x08090035}, // level 3 names no level but survives the round trip
    };
    for (auto& c : kCases) {
        EXPECT_EQ(PackGunParam(c.gun), c.dwParam);
        GunParams g = UnpackGunParam(c.dwParam);
        EXPECT_EQ(g.nGun, c.gun.nGun);
        EXPECT_EQ(g.nLevel, c.gun.nLevel);
        EXPECT_EQ(g.nValue, c.gun.nValue);
        EXPECT_EQ(g.nSpeed, c.gun.nSpeed);
    }
    // Fields wider than their bits do not spill into their neighbours.
    EXPECT_EQ(PackGunParam({0x17, 0x12, 0x1FF, 0x180}), 0x80FF0027u);
    // Bits 8..15 are not part of the gun.
    GunParams g = UnpackGunParam(0x0102FF45);
    EXPECT_EQ(g.nGun, 5);
    EXPECT_EQ(g.nLevel, 4);
    EXPECT_EQ(g.nValue, 2);
    EXPECT_EQ(g.nSpeed, 1);
}

TEST(GunKey, DefaultsAndTypedValues) {
    auto pVar = std::make_unique<CGlobalVar>();
    for (int i = 0; i < 21; ++i)
        pVar->Dev.Ms.GunValue[i] = uint8_t(100 + i);
    struct {
        int nGun, nShootSpeed;
        int nValue, nSpeed;
    } kCases[] = {
        {0, 1, 100, 25}, {6, 1, 118, 25}, {2, 40, 106, 40}, {1, 0, 103, 25}, {4, 127, 112, 127},
    };
    for (auto& c : kCases) {
        pVar->Dev.Ms.ShootSpeed = c.nShootSpeed;
        GunParams g = GunDefaults(*pVar, c.nGun);
        EXPECT_EQ(g.nGun, c.nGun);
        EXPECT_EQ(g.nLevel, 0);
        EXPECT_EQ(g.nValue, c.nValue);
        EXPECT_EQ(g.nSpeed, c.nSpeed);
    }
    EXPECT_EQ(ClampGunInput(300, GUN_VALUE_MAX), 255);
    EXPECT_EQ(ClampGunInput(0, GUN_SPEED_MAX), 1);
    EXPECT_EQ(ClampGunInput(-4, GUN_SPEED_MAX), 1);
    EXPECT_EQ(ClampGunInput(128, GUN_SPEED_MAX), 127);
    EXPECT_EQ(ClampGunInput(127, GUN_SPEED_MAX), 127);
    EXPECT_EQ(ClampGunInput(55, GUN_VALUE_MAX), 55);
}

struct CEv {
    uint8_t byCode, byParam;
    uint16_t wPress;
    uint32_t dwDelay;
};

void ExpectEvents(const StMacro& m, int n, const std::vector<CEv>& vHead) {
    for (size_t i = 0; i < vHead.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.Events[i].byCode, vHead[i].byCode);
        EXPECT_EQ(m.Events[i].byParam, vHead[i].byParam);
        // Packed fields are copied out: a reference to them would be misaligned.
        const uint16_t wPress = m.Events[i].wPress;
        const uint32_t dwDelay = m.Events[i].dwDelay;
        EXPECT_EQ(wPress, vHead[i].wPress);
        EXPECT_EQ(dwDelay, vHead[i].dwDelay);
    }
    // Nothing after the last event.
    for (int i = n; i < MACRO_EVENT_MAX; ++i) {
        const uint32_t dwDelay = m.Events[i].dwDelay;
        ASSERT_EQ(m.Events[i].byCode, 0) << i;
        ASSERT_EQ(dwDelay, 0u) << i;
    }
}

TEST(MakeBullet, RecordAndEvents) {
    auto pMac = std::make_unique<StMacro>();
    std::memset(pMac.get(), 0xAB, sizeof *pMac);
    int n = MakeBullet({3, 60, 25, 7, false}, u"AK spray", 0x123456, *pMac);
    EXPECT_EQ(n, 6);
    EXPECT_EQ(pMac->dwMagic, 0xFAFB88A0u);
    EXPECT_EQ(pMac->dwId, 0x123456u);
    EXPECT_EQ(pMac->bAutoDelay, 240u);
    EXPECT_EQ(pMac->nLoopMode, 0);
    EXPECT_EQ(pMac->wLoopCount, 1);
    EXPECT_EQ(pMac->byBufferId, 0);
    EXPECT_EQ(pMac->byKind, 0);
    EXPECT_EQ(pMac->dwDirty, 0u);
    EXPECT_EQ(std::u16string(pMac->szName), u"AK spray");
    ExpectEvents(*pMac, n,
                 {{240, 0, 60, 10},
                  {252, 0, 0x0700, 25},
                  {240, 0, 60, 10},
                  {252, 0, 0x0700, 25},
                  {240, 0, 60, 10},
                  {252, 0, 0x0700, 25}});

    n = MakeBullet({3, 60, 25, 7, true}, u"hose", 1, *pMac);
    EXPECT_EQ(n, 4);
    ExpectEvents(
        *pMac, n,
        {{240, 0, 0, 10}, {252, 0, 0x0700, 25}, {252, 0, 0x0700, 25}, {252, 0, 0x0700, 25}});
}

TEST(MakeBullet, Limits) {
    auto pMac = std::make_unique<StMacro>();
    struct {
        int nShots;
        bool bContinuous;
        int nEvents;
    } kCases[] = {
        {56, false, 112}, {85, true, 86}, {85, false, 170}, {200, true, 170},
        {0, false, 0},    {-3, true, 0},  {1, true, 2},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.nShots);
        int n = MakeBullet({c.nShots, 50, 20, 5, c.bContinuous}, u"b", 2, *pMac);
        EXPECT_EQ(n, c.nEvents);
        ExpectEvents(*pMac, n, {});
    }
    // 170 events end on a fire event when the shots are not continuous: 85 full shots.
    MakeBullet({100, 50, 20, 5, false}, u"b", 2, *pMac);
    EXPECT_EQ(pMac->Events[169].byCode, 252);
    EXPECT_EQ(pMac->Events[170].byCode, 0);

    // The pull-down stays a downward signed byte, the hold fits its field.
    int n = MakeBullet({1, 70000, 20, 300, false}, u"b", 2, *pMac);
    ExpectEvents(*pMac, n, {{240, 0, 0xFFFF, 10}, {252, 0, 0x7F00, 20}});
    // Names are cut to 39 characters and keep their terminator.
    std::u16string strLong(60, u'x');
    MakeBullet({1, 1, 1, 1, false}, strLong, 2, *pMac);
    EXPECT_EQ(std::u16string(pMac->szName), std::u16string(39, u'x'));
    EXPECT_EQ(BulletShotMax(false), 56);
    EXPECT_EQ(BulletShotMax(true), 85);
}

TEST(MakeBullet, DialogRules) {
    struct {
        BulletRequest in, out;
    } kCases[] = {
        {{5, 0, 0, -1, false}, {5, 10, 10, 10, false}},
        {{5, -5, 3, 0, true}, {5, 10, 3, 0, true}},
        {{5, 1, 1, 127, false}, {5, 1, 1, 127, false}},
    };
    for (auto& c : kCases) {
        BulletRequest r = c.in;
        NormaliseBulletRequest(r);
        EXPECT_EQ(r.nHoldMs, c.out.nHoldMs);
        EXPECT_EQ(r.nDelayMs, c.out.nDelayMs);
        EXPECT_EQ(r.nPull, c.out.nPull);
        EXPECT_EQ(r.nShots, c.out.nShots);
    }
    EXPECT_EQ(BulletBaseName(u"spray.v2.mcb"), u"spray.v2");
    EXPECT_EQ(BulletBaseName(u"spray"), u"spray");
    EXPECT_EQ(BulletBaseName(u".hidden"), u"");
}

} // namespace
