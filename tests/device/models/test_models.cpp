// Which models exist for a configuration, the family constants, the key-set lookup of the
// mouse and the families whose encoders are not written yet.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "ModelFixture.h"
#include "config/SensorTable.h"
#include "device/models/ApplyThread.h"
#include "device/models/Dev816.h"
#include "device/models/Dev8948.h"
#include "device/models/Dev901.h"
#include "device/models/DevPad.h"
#include "device/models/ModelFactory.h"
#include "device/models/VkToHid.h"
#include "storage/ProfileStore.h"

namespace {

using CModelsTest = CDrvTest;

template <class T> bool Is(const std::unique_ptr<CHidDev>& p) {
    return p && dynamic_cast<T*>(p.get()) != nullptr;
}

TEST_F(CModelsTest, ModelsForTheConfiguration) {
    struct {
        int nMsFw, nKbFw, nPadFw;
        bool bMs, bKb, bPad;
    } kCases[] = {
        {0, 0, 0, false, false, false}, {0x12, 0, 0, true, false, false},
        {1, 20, 40, true, true, true},  {0, 21, 41, false, false, false},
        {0, 20, 0, false, true, false}, {0, 0, 40, false, false, true},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.nMsFw * 10000 + c.nKbFw * 100 + c.nPadFw);
        m_pVar->MsFw = c.nMsFw;
        m_pVar->KbFw = c.nKbFw;
        m_pVar->PadFw = c.nPadFw;
        CDevModels m = CreateDevModels(*m_pVar, &m_lib);
        EXPECT_EQ(Is<CDev8948>(m.pMs), c.bMs);
        EXPECT_EQ(Is<CDev816>(m.pKb), c.bKb);
        EXPECT_EQ(Is<CDevPad>(m.pPad), c.bPad);
        if (m.pMs) {
            EXPECT_EQ(m.pMs->DevCode(), c.nMsFw);
            EXPECT_TRUE(dynamic_cast<CDrv8948*>(m.pMs->Drv()));
        }
        if (m.pKb) {
            EXPECT_EQ(m.pKb->DevCode(), c.nKbFw);
            EXPECT_TRUE(dynamic_cast<CDrv816*>(m.pKb->Drv()));
        }
        if (m.pPad) {
            EXPECT_EQ(m.pPad->DevCode(), c.nPadFw);
            EXPECT_TRUE(dynamic_cast<CDrvPad*>(m.pPad->Drv()));
        }
    }
}

TEST_F(CModelsTest, CompanionKeyboard) {
    MouseDesc& ms = m_pVar->Dev.Ms;
    ms.KbIC = 2305;
    EXPECT_FALSE(CreateCompanionKb(*m_pVar, &m_lib)); // no KeySwVk configured
    ms.KeySwVk[1] = 0x71;
    ms.KeySwVk[2] = 0x72;
    EXPECT_FALSE(CreateCompanionKb(*m_pVar, &m_lib)) << "only the first switch key counts";
    ms.KeySwVk[0] = 0x70;
    auto p = CreateCompanionKb(*m_pVar, &m_lib);
    EXPECT_TRUE(Is<CDev901>(p));
    EXPECT_TRUE(dynamic_cast<CDrv901*>(p->Drv()));
    ms.KbIC = 2070;
    EXPECT_TRUE(Is<CDev816>(CreateCompanionKb(*m_pVar, &m_lib)));
    ms.KbIC = 2306;
    EXPECT_FALSE(CreateCompanionKb(*m_pVar, &m_lib));
}

TEST_F(CModelsTest, FamilyConstantsAndBase) {
    CDev8948 ms(*m_pVar, &m_lib);
    CDev816 kb(*m_pVar, &m_lib);
    CDev901 kb901(*m_pVar, &m_lib);
    CDevPad pad(*m_pVar, &m_lib);
    struct {
        CHidDev* p;
        int nFamily, nEnter;
    } kCases[] = {{&ms, 10, 1}, {&kb, 130, 130}, {&kb901, 126, 124}, {&pad, 1, 1}};
    for (auto& c : kCases) {
        EXPECT_EQ(c.p->GetFamilyCode(), c.nFamily);
        EXPECT_EQ(c.p->GetEnterInx(), c.nEnter);
        EXPECT_EQ(c.p->Reset(), 0);
    }
    auto pPro = std::make_unique<Profile>();
    EXPECT_EQ(pad.GetKeySet(*pPro, 0, 0), nullptr);
    EXPECT_EQ(kb901.GetKeySet(*pPro, 0, 0), nullptr);
    EXPECT_EQ(ms.UpdateMatrix(1), 0);
    EXPECT_EQ(pad.UpdateMatrix(1), 0);
    pad.SetReset(1);
    EXPECT_EQ(pad.Reset(), 1);
}

TEST_F(CModelsTest, MouseKeySetLookup) {
    CDev8948 ms(*m_pVar, &m_lib);
    auto pPro = std::make_unique<Profile>();
    pPro->Ms.nMode = 2;
    pPro->Ms.Mode[2].nKeySet = 4;
    pPro->Ms.Mode[1].nKeySet = 1;
    struct {
        int nMode, nSet;
        int nExpMode, nExpSet; // -1: null
    } kCases[] = {
        {-1, -1, 2, 4}, {1, -1, 1, 1},   {-1, 0, 2, 0},  {0, 3, 0, 3},    {2, 4, 2, 4},
        {3, 0, -1, -1}, {-2, 0, -1, -1}, {0, 5, -1, -1}, {0, -2, -1, -1},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.nMode * 10 + c.nSet);
        KeyAssign* p = ms.GetKeySet(*pPro, c.nMode, c.nSet);
        if (c.nExpMode < 0) {
            EXPECT_EQ(p, nullptr);
        } else {
            EXPECT_EQ(p, pPro->Ms.Mode[c.nExpMode].Keys[c.nExpSet]);
        }
    }
    // A damaged current mode or key set gives null rather than a record outside the profile.
    pPro->Ms.nMode = 3;
    EXPECT_EQ(ms.GetKeySet(*pPro, -1, 0), nullptr);
    pPro->Ms.nMode = 0;
    pPro->Ms.Mode[0].nKeySet = 5;
    EXPECT_EQ(ms.GetKeySet(*pPro, -1, -1), nullptr);
}

TEST_F(CModelsTest, MouseWithoutDeviceRefusesBeforeAnything) {
    CDev8948 ms(*m_pVar, &m_lib);
    auto pPro = std::make_unique<Profile>();
    pPro->dwId = 1;
    ms.SetReset(1);
    EXPECT_EQ(ms.ApplySetting(*pPro, nullptr, 1067, 0x800F), 0);
    EXPECT_FALSE(m_log.Has("Apply_M_STD_8948_1"));
    EXPECT_EQ(ms.Reset(), 1); // nothing was applied, so the defaults are still to be written
}

TEST(VkToHid, Table) {
    struct {
        uint8_t byVk, byUsage;
    } kCases[] = {
        {65, 4},    {90, 29},   {49, 30},   {57, 38},   {48, 39},   {13, 40},   {27, 41},
        {8, 42},    {9, 43},    {32, 44},   {189, 45},  {187, 46},  {219, 47},  {221, 48},
        {220, 49},  {186, 51},  {222, 52},  {192, 53},  {188, 54},  {190, 55},  {191, 56},
        {20, 57},   {112, 58},  {123, 69},  {44, 70},   {145, 71},  {19, 72},   {45, 73},
        {36, 74},   {33, 75},   {46, 76},   {35, 77},   {34, 78},   {39, 79},   {37, 80},
        {40, 81},   {38, 82},   {144, 83},  {111, 84},  {106, 85},  {109, 86},  {107, 87},
        {253, 88},  {97, 89},   {105, 97},  {96, 98},   {110, 99},  {226, 100}, {93, 101},
        {194, 133}, {193, 135}, {195, 137}, {162, 224}, {160, 225}, {164, 226}, {91, 227},
        {163, 228}, {161, 229}, {165, 230}, {92, 231},  {0, 0},     {7, 0},     {64, 0},
        {124, 0},   {250, 0},   {255, 0},   {16, 0},    {17, 0},    {18, 0},
    };
    for (auto& c : kCases)
        EXPECT_EQ(VkToHid(c.byVk), c.byUsage) << int(c.byVk);
}

} // namespace

namespace {

TEST_F(CModelsTest, MouseSensorDefaults) {
    MouseDesc& desc = m_pVar->Dev.Ms;
    BuildSensorTable(desc);
    SensorCfg& cfg = desc.SensorCfgs[1]; // 0x3389, eight levels
    for (int i = 0; i < 8; ++i) {
        cfg.DPI[i] = 400 * (i + 1);
        cfg.DC[i] = 0x00030201u + uint32_t(i);
    }
    CDev8948 ms(*m_pVar, &m_lib);
    auto pPro = std::make_unique<Profile>();
    for (MsMode& mode : pPro->Ms.Mode) {
        mode.bDpiXY = 1;
        for (DpiLevel& lv : mode.Dpi)
            lv = {7, 9, {1, 1, 1, 1}, 0};
    }
    ms.SetSensorDefault(*pPro, 0x3389);
    EXPECT_EQ(pPro->Ms.nSensor, 0x3389);
    for (const MsMode& mode : pPro->Ms.Mode) {
        EXPECT_EQ(mode.bDpiXY, 0);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(mode.Dpi[i].nX, 400 * (i + 1));
            EXPECT_EQ(mode.Dpi[i].nY, 400 * (i + 1));
            EXPECT_EQ(mode.Dpi[i].rgb[0], 1 + i);
            EXPECT_EQ(mode.Dpi[i].rgb[1], 2);
            EXPECT_EQ(mode.Dpi[i].rgb[2], 3);
            EXPECT_EQ(mode.Dpi[i].rgb[3], 0);
            EXPECT_EQ(mode.Dpi[i].bOff, 0);
        }
        for (int i = 8; i < 10; ++i)
            EXPECT_EQ(mode.Dpi[i].bOff, 1);
    }
    // A sensor outside the table changes nothing.
    auto pBefore = std::make_unique<Profile>(*pPro);
    ms.SetSensorDefault(*pPro, 0x1234);
    EXPECT_EQ(std::memcmp(pBefore.get(), pPro.get(), sizeof(Profile)), 0);
    // The other families leave the resolution alone.
    CDevPad pad(*m_pVar, &m_lib);
    pad.SetSensorDefault(*pPro, 0x3360);
    EXPECT_EQ(std::memcmp(pBefore.get(), pPro.get(), sizeof(Profile)), 0);
}

} // namespace
