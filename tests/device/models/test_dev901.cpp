// The 901 companion keyboard: hardware codes of key functions and the rewrite of the
// key-set switch keys in its matrix.
#include <gtest/gtest.h>

#include <memory>

#include "ModelFixture.h"
#include "device/models/Dev901.h"
#include "device/sim/SimSmallDevices.h"
#include "storage/MacroStore.h"

namespace {

KeyFun Fun(uint32_t nClass, uint32_t nCode) {
    KeyFun k{};
    k.dwFun = MakeFun(nClass, nCode);
    return k;
}

KeyFun KeyFunOf(uint8_t byMod, uint8_t byVk, uint8_t byVk2) {
    KeyFun k = Fun(2, 0);
    k.byMod = byMod;
    k.byVk = byVk;
    k.byVk2 = byVk2;
    return k;
}

KeyFun MacroFun(uint32_t dwId) {
    KeyFun k = Fun(5, 0);
    k.dwMacroId = dwId;
    return k;
}

class CDev901Test : public CDrvTest {
protected:
    void SetUp() override {
        for (auto [dwId, nLoop] :
             {std::pair{0x05000011u, 0}, {0x05000012u, 1}, {0x05000013u, 2}, {0x05000014u, 7}}) {
            StMacro m{};
            m.dwId = dwId;
            m.nLoopMode = nLoop;
            m_macros.Add(m);
        }
        m_pKb = std::make_shared<CSimKb901>("kb901", 0x258A, 0x0049);
        m_backend.Attach(m_pKb);
        m_pDev = std::make_unique<CDev901>(*m_pVar, &m_lib, &m_macros);
        ASSERT_EQ(m_pDev->Drv()->FindDev(), 1);
    }

    CMacroStore m_macros;
    std::shared_ptr<CSimKb901> m_pKb;
    std::unique_ptr<CDev901> m_pDev;
};

TEST_F(CDev901Test, HardwareCodes) {
    struct {
        const char* pszName;
        KeyFun key;
        uint32_t dwExp;
    } kCases[] = {
        {"left button", Fun(1, 17), 0xF010},
        {"right button", Fun(1, 18), 0xF210},
        {"middle button", Fun(1, 19), 0xF110},
        {"back", Fun(1, 20), 0xF410},
        {"forward", Fun(1, 21), 0xF310},
        {"mouse code 23", Fun(1, 23), 0x130},
        {"mouse code 22", Fun(1, 22), 0xFFFFFFFF},
        {"mouse code 1", Fun(1, 1), 0xFFFFFFFF},
        // Ctrl+Shift (bits 0 and 1) with A (usage 4) and Z (usage 29).
        {"key with two keys", KeyFunOf(0x03, 65, 90), 0x1D040300},
        {"F12 alone", KeyFunOf(0, 123, 0), 0x00450000},
        {"keypad Enter", KeyFunOf(0, 253, 0), 0x00580000},
        {"right Win as second key", KeyFunOf(0x80, 13, 92), 0xE7288000},
        {"code 250 alone", KeyFunOf(0, 250, 0), 0xB00000},
        {"code 250 with a modifier", KeyFunOf(0x04, 250, 0), 0x00000400},
        {"key without usage", KeyFunOf(0x01, 7, 0), 0x00000100},
        {"media player", Fun(3, 33), 0x83010001},
        {"play/pause", Fun(3, 34), 0xCD000001},
        {"stop", Fun(4, 35), 0xB7000001},
        {"previous", Fun(3, 36), 0xB6000001},
        {"next", Fun(3, 37), 0xB5000001},
        {"volume up", Fun(3, 38), 0xE9000001},
        {"volume down", Fun(3, 39), 0xEA000001},
        {"mute", Fun(3, 40), 0x56340001},
        {"mute in class 4", Fun(4, 40), 0x56340001},
        {"mail", Fun(3, 48), 0x8A010001},
        {"calculator", Fun(3, 49), 0x92010001},
        {"my computer", Fun(3, 50), 0x94010001},
        {"search", Fun(3, 51), 0x21020001},
        {"home", Fun(3, 52), 0x23020001},
        {"back page", Fun(3, 53), 0x24020001},
        {"forward page", Fun(3, 54), 0x25020001},
        {"stop page", Fun(3, 55), 0x26020001},
        {"refresh", Fun(3, 56), 0x27020001},
        {"favourites", Fun(4, 57), 0x2A020001},
        {"multimedia 41", Fun(3, 41), 0xFFFFFFFF},
        {"multimedia 47", Fun(3, 47), 0xFFFFFFFF},
        {"multimedia 58", Fun(3, 58), 0xFFFFFFFF},
        {"macro once", MacroFun(0x05000011), 0x10002},
        {"macro repeated", MacroFun(0x05000012), 0x20002},
        {"macro while held", MacroFun(0x05000013), 0x40002},
        {"macro other loop mode", MacroFun(0x05000014), 0x40002},
        {"macro missing", MacroFun(0x05000099), 0xFFFFFFFF},
        {"class 0", Fun(0, 0), 0xFFFFFFFF},
        {"class 6", Fun(6, 1), 0xFFFFFFFF},
        {"class 12", Fun(12, 1), 0xFFFFFFFF},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(c.key), c.dwExp);
    }
    EXPECT_TRUE(m_log.Has("keyinfo_to_hardware_code can't find macro id 0x5000099"));
}

TEST_F(CDev901Test, FamilyOperations) {
    EXPECT_EQ(m_pDev->GetEnterInx(), 124);
    EXPECT_EQ(m_pDev->GetFamilyCode(), 126);
    auto pPro = std::make_unique<Profile>();
    pPro->dwId = 3;
    pPro->Kb.nKbLedEffect = 5;
    m_pDev->FillDefault(*pPro);
    EXPECT_EQ(pPro->Kb.nKbLedEffect, 5); // nothing of the profile is the 901's
    uint8_t byBuf[16] = {};
    EXPECT_EQ(m_pDev->StMacro_To_HdMacro(StMacro{}, byBuf, sizeof byBuf), 0);
    EXPECT_EQ(m_pDev->ApplySetting(*pPro, nullptr, 1067, 0x8007), 0);
    EXPECT_TRUE(m_pKb->Trace().empty());
}

class CUpdateMatrixTest : public CDev901Test {
protected:
    void SetUp() override {
        CDev901Test::SetUp();
        MouseDesc& ms = m_pVar->Dev.Ms;
        ms.KeySwVk[0] = 112; // F1, usage 0x3A
        ms.KeySwVk[1] = 0;   // unused entry
        ms.KeySwVk[2] = 65;  // A, usage 4
        ms.KeySwVkMatrix[0] = 5;
        ms.KeySwVkMatrix[1] = 9; // must stay untouched
        ms.KeySwVkMatrix[2] = 125;
        for (size_t i = 0; i < m_aStart.size(); ++i)
            m_aStart[i] = uint8_t(i);
        m_pKb->SetMatrix(m_aStart);
        m_pKb->ClearTrace();
    }
    // The report SetMatrix writes: id 9, then the start matrix with codes patched.
    Bytes Expected(std::initializer_list<std::pair<size_t, std::array<uint8_t, 4>>> il) {
        Bytes v(505);
        v[0] = 0x09;
        std::copy(m_aStart.begin(), m_aStart.end(), v.begin() + 1);
        for (auto& [n, a] : il)
            std::copy(a.begin(), a.end(), v.begin() + 1 + long(4 * n));
        return v;
    }
    std::array<uint8_t, 504> m_aStart;
};

TEST_F(CUpdateMatrixTest, SwitchKeysOnAndOff) {
    ASSERT_EQ(m_pDev->UpdateMatrix(1), 1);
    // On: the virtual-key code in the high byte over 0x300001, little-endian.
    EXPECT_EQ(SentReports(*m_pKb, 0),
              std::vector<Bytes>(
                  {Expected({{5, {0x01, 0x00, 0x30, 0x70}}, {125, {0x01, 0x00, 0x30, 0x41}}})}));
    EXPECT_TRUE(m_log.Has("UpdateMatrix SendCommand."));
    EXPECT_EQ(m_clock.Sleeps(), std::vector<uint32_t>({15}));

    m_pKb->SetMatrix(m_aStart);
    m_pKb->ClearTrace();
    ASSERT_EQ(m_pDev->UpdateMatrix(0), 1);
    // Off: the key's usage in byte 2.
    EXPECT_EQ(SentReports(*m_pKb, 0),
              std::vector<Bytes>(
                  {Expected({{5, {0x00, 0x00, 0x3A, 0x00}}, {125, {0x00, 0x00, 0x04, 0x00}}})}));
}

TEST_F(CUpdateMatrixTest, NothingToChangeSendsNothing) {
    std::array<uint8_t, 504> a = m_aStart;
    const uint8_t byOn5[4] = {0x01, 0x00, 0x30, 0x70};
    const uint8_t byOn125[4] = {0x01, 0x00, 0x30, 0x41};
    std::copy(byOn5, byOn5 + 4, a.begin() + 20);
    std::copy(byOn125, byOn125 + 4, a.begin() + 500);
    m_pKb->SetMatrix(a);
    EXPECT_EQ(m_pDev->UpdateMatrix(1), 1);
    EXPECT_TRUE(SentReports(*m_pKb, 0).empty());
    EXPECT_FALSE(m_log.Has("UpdateMatrix SendCommand."));
    EXPECT_TRUE(m_clock.Sleeps().empty());
    // One of the two differing is enough to send the block.
    a[500] = 0x00;
    m_pKb->SetMatrix(a);
    EXPECT_EQ(m_pDev->UpdateMatrix(1), 1);
    EXPECT_EQ(SentReports(*m_pKb, 0).size(), 1u);
    EXPECT_EQ(m_pKb->Matrix()[500], 0x01);
}

TEST_F(CUpdateMatrixTest, KeyWithoutUsageIsWrittenAsZeroWhenOff) {
    m_pVar->Dev.Ms.KeySwVk[0] = 7; // no usage
    m_pVar->Dev.Ms.KeySwVk[2] = 0;
    ASSERT_EQ(m_pDev->UpdateMatrix(0), 1);
    EXPECT_EQ(SentReports(*m_pKb, 0), std::vector<Bytes>({Expected({{5, {0, 0, 0, 0}}})}));
}

TEST_F(CUpdateMatrixTest, PositionPastTheMatrixIsSkipped) {
    m_pVar->Dev.Ms.KeySwVkMatrix[0] = 126;
    m_pVar->Dev.Ms.KeySwVkMatrix[2] = 255;
    EXPECT_EQ(m_pDev->UpdateMatrix(1), 1);
    EXPECT_TRUE(SentReports(*m_pKb, 0).empty());
    EXPECT_TRUE(m_log.Has("UpdateMatrix: matrix position 126 of key 0x70 out of range"));
}

TEST_F(CUpdateMatrixTest, TransferFailures) {
    m_pKb->FailNext(1); // retried
    EXPECT_EQ(m_pDev->UpdateMatrix(1), 1);
    EXPECT_EQ(m_pKb->Matrix()[20], 0x01);

    m_pKb->SetMatrix(m_aStart);
    m_pKb->FailNext(3);
    EXPECT_EQ(m_pDev->UpdateMatrix(1), 0);
    EXPECT_TRUE(m_log.Has("UpdateMatrix GetCommand Err."));

    m_pKb->FailNext(3, 1);
    EXPECT_EQ(m_pDev->UpdateMatrix(1), 0);
    EXPECT_TRUE(m_log.Has("UpdateMatrix SendCommand Err."));
    EXPECT_EQ(m_pKb->Matrix(), m_aStart);

    m_pDev->Drv()->ClearHandle();
    EXPECT_EQ(m_pDev->UpdateMatrix(0), 0);
}

} // namespace
