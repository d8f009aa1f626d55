// The 816 keyboard's apply against the simulated keyboard: the reports of whole applies,
// per-key colours, the matrix merge, macros on Fn entries, the companion keyboard's key
// rewrite and transfer faults.
#include <gtest/gtest.h>

#include <cstring>

#include "Kb816Fixture.h"
#include "device/models/ApplyThread.h"

namespace {

// The configuration block as the keyboard holds it before the apply (see the fixture).
std::pair<size_t, Bytes> DeviceGlobal() {
    return {1, {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7}};
}

TEST_F(CKb816Test, FullApplySendsEveryBlockInOrder) {
    CRecordingSink sink;
    ASSERT_EQ(Apply(0x8007, &sink), 1);
    const std::vector<Bytes> vExp = {
        // Device code: the first four PSD bytes.
        Padded(6, {0x05, 0x01, 0x16, 0x08, 0x20, 0x00}),
        // Read request of the configuration block.
        Padded(6, {0x05, 0x83}),
        // The block back with its effect and group bytes (13, 14) cleared.
        Kb816Data(3, 0, 0, {DeviceGlobal(), {100, {0xEE}}}),
        // Colour table: two effects of 7 colours, blue, green, red.
        Kb816Data(8, 0xA8, 0x40,
                  {{0, {0x33, 0x22, 0x11}}, {21, {0xCC, 0xBB, 0xAA}}, {39, {0x03, 0x02, 0x01}}}),
        // First macro part: macro 0x111 repeated twice (A down 10 ms, A up after 200 ms in
        // the long form), then macro 0x222 in slot 1 (left button down, 3 ms at least).
        Kb816Data(5, 0xCC, 0x40,
                  {{0, {0x00, 0x02, 0x0A, 0x04, 0x83, 0x04, 0x00, 0x03, 0x00, 0x02}},
                   {128, {0x00, 0x01, 0x03, 0xF0}}}),
        // Key matrix, big-endian codes.
        Kb816Data(4, 0xC8, 0x40,
                  {
                      {4 * 0, Be(0x29)},         // Esc
                      {4 * 5, Be(0x04)},         // A
                      {4 * 10, Be(0x10000500)},  // macro 0x111: play mode 5, number 1
                      {4 * 11, Be(0x10000101)},  // macro 0x222: play mode 1, number 2
                      {4 * 20, Be(0x060000E3)},  // right Win alone sends left Win
                      {4 * 75, Be(0x02000003)},  // F1 lives in Fn entry 3
                      {4 * 80, Be(0x02000003)},  // 80 is the other half of key 75
                      {4 * 81, Be(0x28)},        // Enter
                      {4 * 130, Be(0x58)},       // keypad Enter
                      {4 * 135, Be(0x3A)},       // Fn single-key entry 3: F1
                      {4 * 183, Be(0x040000CD)}, // Fn combination entry 3: play/pause
                  }),
        // The configuration block with the lighting: OurCfg, effect 1 + 1, group 2 + 32,
        // effect 0 flag 7 with direction 2 of an unlisted code (8), levels 3 and 4;
        // effect 1 colour choice 5 with direction 2 of code 7 (4), levels 16 and 1.
        Kb816Data(3, 0, 0,
                  {{0, {0x11}},
                   DeviceGlobal(),
                   {12, {0x00, 0x02, 0x22}},
                   {26, {0x87, 0x23, 0x45, 0xF0}},
                   {70, {0x5A, 0xA5}},
                   {100, {0xEE}}}),
    };
    const std::vector<Bytes> vSent = Sent();
    ASSERT_EQ(vSent.size(), vExp.size());
    for (size_t i = 0; i < vExp.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vSent[i], vExp[i]);
    }
    EXPECT_EQ(sink.Events(), std::vector<std::string>({"1067:20:0", "1067:40:0", "1067:100:0"}));
    // Password, read answer, block, interim write, colour table, macros, matrix, block, end.
    EXPECT_EQ(m_clock.Sleeps(), std::vector<uint32_t>({20, 20, 10, 20, 40, 25, 10, 10, 500, 20}));
    EXPECT_TRUE(BufferNumbersClear());
    EXPECT_TRUE(m_log.Has("New Assign Buffer_ID= 2"));
    EXPECT_TRUE(m_log.Has("Matrix[0][11] = 0x10000101"));
}

TEST_F(CKb816Test, FlagsSelectTheBlocks) {
    struct {
        int nFlag;
        int nEffect;
        std::vector<std::pair<uint8_t, uint8_t>> vData; // command and address of data reports
    } kCases[] = {
        {0x1, 1, {{5, 0xCC}, {4, 0xC8}}},
        {0x2, 1, {{3, 0}, {8, 0xA8}, {3, 0}}},
        // Per-key colours only in the per-key colour mode; no colour table then.
        {0x4, 1, {}},
        {0x4, 13, {{9, 172}, {9, 176}}},
        {0x6, 13, {{3, 0}, {9, 172}, {9, 176}, {3, 0}}},
        // Group 2 is the first of the second pair.
        {0x10, 13, {{9, 176}}},
        // Both colour bits: every group.
        {0x14, 13, {{9, 172}, {9, 176}}},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.nFlag * 100 + c.nEffect);
        m_pKb->ClearTrace();
        m_pPro->Kb.nKbLedEffect = c.nEffect;
        ASSERT_EQ(Apply(c.nFlag), 1);
        std::vector<std::pair<uint8_t, uint8_t>> vGot;
        for (const Bytes& b : Sent())
            if (b.size() == 1032)
                vGot.push_back({b[1], b[2]});
        EXPECT_EQ(vGot, c.vData);
    }
}

TEST_F(CKb816Test, PerKeyColourPages) {
    KbSettings& set = m_pPro->Kb;
    set.nKbLedEffect = 13;
    set.GroupColor[0][kPos[kEsc]] = 0x654321;
    set.GroupColor[0][kPos[kA]] = 0x030201;    // LED 35, one of the joined three
    set.GroupColor[0][kPos[kEnter]] = 0;       // LED 57: dark, must not put out the key
    set.GroupColor[1][kPos[kRWin]] = 0x0000FF; // second group of the pair
    set.GroupColor[1][kPos[kF1]] = 0x00FF00;   // LED 131, the last one
    set.GroupColor[2][kPos[kEsc]] = 0xABCDEF;  // first group of the second pair
    ASSERT_EQ(Apply(0x4), 1);
    // Per group three planes of 132 bytes: blue, green, red.
    const Bytes vPage0 = Kb816Data(9, 172, 0x40,
                                   {
                                       {0, {0x65}},
                                       {132, {0x43}},
                                       {264, {0x21}},
                                       {35, {0x03}},
                                       {57, {0x03}},
                                       {100, {0x03}},
                                       {132 + 35, {0x02}},
                                       {132 + 57, {0x02}},
                                       {132 + 100, {0x02}},
                                       {264 + 35, {0x01}},
                                       {264 + 57, {0x01}},
                                       {264 + 100, {0x01}},
                                       {396 + 264 + 7, {0xFF}},
                                       {396 + 132 + 131, {0xFF}},
                                   });
    const Bytes vPage1 = Kb816Data(9, 176, 0x40, {{0, {0xAB}}, {132, {0xCD}}, {264, {0xEF}}});
    EXPECT_EQ(Sent(),
              std::vector<Bytes>({Padded(6, {0x05, 0x01, 0x16, 0x08, 0x20}), vPage0, vPage1}));
    // The macro key's LED position lies past the planes.
    EXPECT_TRUE(m_log.Has("MatrixInx=10)"));
    EXPECT_EQ(m_clock.Sleeps(), std::vector<uint32_t>({20, 25, 25, 20}));
}

TEST_F(CKb816Test, ResetSendsTheDefaultConfigurationByteOnce) {
    m_pDev->SetReset(1);
    ASSERT_EQ(Apply(0x2), 1);
    EXPECT_EQ(m_pDev->Reset(), 0);
    EXPECT_EQ(m_pKb->State().byCfg[0], 0x22);
    ASSERT_EQ(Apply(0x2), 1);
    EXPECT_EQ(m_pKb->State().byCfg[0], 0x11);
}

TEST_F(CKb816Test, EmptyProfileSendsAnEmptyMatrix) {
    for (KeyAssign& k : m_pPro->Kb.KbKeys)
        k = KeyAssign{};
    m_pVar->Dev.Kb.PSD[0] = m_pVar->Dev.Kb.PSD[1] = m_pVar->Dev.Kb.PSD[2] = 0;
    ASSERT_EQ(Apply(0x1), 1);
    EXPECT_EQ(Sent(), std::vector<Bytes>({Kb816Data(4, 0xC8, 0x40, {})}));
    EXPECT_EQ(m_clock.Sleeps(), std::vector<uint32_t>({10, 20}));
}

TEST_F(CKb816Test, MacroOnAnFnKeyGoesToTheFnEntry) {
    KeyAssign& key = m_pPro->Kb.KbKeys[kMacro2];
    key.Main.nLink = 4;
    key.Fn.dwFun = MakeFun(2, 0xA0);
    key.Fn.byVk = 66; // Fn + the key: B
    ASSERT_EQ(Apply(0x1), 1);
    const Bytes v = SentMatrix();
    ASSERT_EQ(v.size(), 1032u);
    auto Code = [&](int n) { return Bytes(v.begin() + 8 + 4 * n, v.begin() + 12 + 4 * n); };
    EXPECT_EQ(Code(11), Be(0x02000004));
    EXPECT_EQ(Code(KB816_FN_SINGLE + 4), Be(0x10000101));
    EXPECT_EQ(Code(KB816_FN_COMBO + 4), Be(0x05));
    EXPECT_TRUE(m_log.Has("Matrix[0][136] = 0x10000101"));
}

TEST_F(CKb816Test, MacroSlotsFollowTheirNumbers) {
    // A number left over in a macro must neither keep it from being sent nor push the next
    // macro's number away from its slot. The apply numbers its own copies, so the numbers
    // in the store stay as they are.
    m_macros.Find(0x222)->byBufferId = 1;
    StMacro stale{};
    stale.dwId = 0x333;
    stale.byBufferId = 2;
    m_macros.Add(stale);
    ASSERT_EQ(Apply(0x1), 1);
    const CSimKb816::CState st = m_pKb->State();
    EXPECT_EQ(st.byMacros[0][0], 0x00);
    EXPECT_EQ(st.byMacros[0][1], 0x02); // slot 0: macro 0x111 (number 1)
    EXPECT_EQ(st.byMacros[0][129], 0x01);
    EXPECT_EQ(st.byMacros[0][131], 0xF0); // slot 1: macro 0x222 (number 2)
    EXPECT_EQ(Bytes(st.byMatrix.begin() + 40, st.byMatrix.begin() + 48),
              Bytes({0x10, 0x00, 0x05, 0x00, 0x10, 0x00, 0x01, 0x01}));
    EXPECT_EQ(m_macros.Find(0x111)->byBufferId, 0);
    EXPECT_EQ(m_macros.Find(0x222)->byBufferId, 1);
    EXPECT_EQ(m_macros.Find(0x333)->byBufferId, 2);
}

TEST_F(CKb816Test, MacroNumbersGoIntoTheSnapshotOnly) {
    std::vector<StMacro> vBefore;
    for (const StMacro& m : m_macros.List())
        vBefore.push_back(m);
    auto pSnap = MakeApplySnapshot(*m_pPro, m_macros, m_macros);
    ASSERT_TRUE(pSnap);
    auto mx = std::make_unique<CKb816Matrix>();
    ASSERT_TRUE(m_pDev->FillMatrix(pSnap->Pro(), *mx, pSnap->Stores()));
    // The numbers the key matrix refers to are the snapshot's.
    EXPECT_EQ(pSnap->Macros().Find(0x111)->byBufferId, 1);
    EXPECT_EQ(pSnap->Macros().Find(0x222)->byBufferId, 2);
    ASSERT_EQ(pSnap->Stores().Bullets.Count(), 0u);
    // A whole apply with the snapshot clears them again and leaves the store as it was.
    ASSERT_EQ(m_pDev->ApplySetting(*pSnap, nullptr, 1067, 0x7), 1);
    EXPECT_EQ(pSnap->Macros().Find(0x111)->byBufferId, 0);
    EXPECT_EQ(pSnap->Macros().Find(0x222)->byBufferId, 0);
    EXPECT_EQ(m_pKb->State().byMacros[0][1], 0x02); // macro 0x111 went to slot 0
    size_t i = 0;
    for (const StMacro& m : m_macros.List())
        EXPECT_EQ(std::memcmp(&m, &vBefore[i++], sizeof m), 0);
}

TEST_F(CKb816Test, MoreThanTenMacrosAreRefused) {
    KeyTables& keys = m_pVar->Dev.Keys;
    for (int i = 0; i < 11; ++i) {
        StMacro m{};
        m.dwId = 0x500 + uint32_t(i);
        m.Events[0] = {65, 0, 1, 5};
        m_macros.Add(m);
        const int k = kKeys + i;
        keys.g_defKEY[k].Main = Kb816Key(0, 66);
        keys.g_defKEY[k].Main.nMatrixInx = 30 + i;
        keys.g_defKEY[k].Main.nLink = -1;
        m_pPro->Kb.KbKeys[k] = keys.g_defKEY[k];
        m_pPro->Kb.KbKeys[k].Main = Kb816Macro(m.dwId);
        m_pPro->Kb.KbKeys[k].Main.nLink = -1;
    }
    m_pPro->Kb.KbKeys[kMacro1] = KeyAssign{};
    m_pPro->Kb.KbKeys[kMacro2] = KeyAssign{};
    keys.nKbKeyNum = kKeys + 11;
    EXPECT_EQ(Apply(0x1), 0);
    EXPECT_TRUE(m_log.Has("macro 0x0000050a finds no buffer, 10 macros at most"));
    EXPECT_TRUE(SentMatrix().empty());
    EXPECT_TRUE(BufferNumbersClear());
}

TEST_F(CKb816Test, InvalidAndCollidingKeys) {
    KbSettings& set = m_pPro->Kb;
    set.KbKeys[kA].Main = Kb816Fun(6, 1);        // no code
    set.KbKeys[kEnter].Main = Kb816Fun(8, 0xA2); // switched off: code 0
    // A second key on Esc's position: the first stays.
    KeyTables& keys = m_pVar->Dev.Keys;
    keys.g_defKEY[kKeys] = keys.g_defKEY[kA];
    keys.g_defKEY[kKeys].Main.nMatrixInx = 0;
    set.KbKeys[kKeys] = keys.g_defKEY[kKeys];
    keys.nKbKeyNum = kKeys + 1;
    ASSERT_EQ(Apply(0x1), 1);
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>({"Error: Get Invaild keycode, key index=1, MatrixInx=5"}));
    EXPECT_TRUE(m_log.Has("Error: Matrix[ 0 ]=0x29"));
    const Bytes v = SentMatrix();
    ASSERT_EQ(v.size(), 1032u);
    EXPECT_EQ(Bytes(v.begin() + 8, v.begin() + 12), Be(0x29));
    EXPECT_EQ(Bytes(v.begin() + 8 + 20, v.begin() + 8 + 24), Be(0));
}

TEST_F(CKb816Test, SyncKbKeepsWhatTheProfileDoesNotPlace) {
    m_pVar->Dev.Kb.SyncKB = 1;
    CSimKb816::CState st = m_pKb->State();
    st.byMatrix.fill(0xEE);
    m_pKb->SetState(st);
    m_pPro->Kb.KbKeys[kEnter].Main = Kb816Fun(8, 0xA2); // switched off
    m_pPro->Kb.KbKeys[kA] = KeyAssign{};                // no function: the device's stays
    ASSERT_EQ(Apply(0x1), 1);
    const Bytes v = SentMatrix();
    ASSERT_EQ(v.size(), 1032u);
    Bytes vExp(v.begin() + 8, v.end());
    EXPECT_EQ(Bytes(vExp.begin(), vExp.begin() + 4), Be(0x29));
    EXPECT_EQ(Bytes(vExp.begin() + 20, vExp.begin() + 24), Bytes(4, 0xEE)); // A
    EXPECT_EQ(Bytes(vExp.begin() + 324, vExp.begin() + 328), Be(0));        // Enter switched off
    EXPECT_EQ(Bytes(vExp.begin() + 4, vExp.begin() + 8), Bytes(4, 0xEE));   // no key at 1
    EXPECT_EQ(Bytes(vExp.begin() + 4 * 135, vExp.begin() + 4 * 136), Be(0x3A));
    EXPECT_EQ(Bytes(vExp.begin() + 4 * 136, vExp.begin() + 4 * 137), Bytes(4, 0xEE));
    EXPECT_TRUE(m_log.Has("bSyncKB"));
    // The read request went out before the matrix.
    const std::vector<Bytes> vSent = Sent();
    ASSERT_GE(vSent.size(), 2u);
    EXPECT_EQ(vSent[vSent.size() - 2], Padded(6, {0x05, 0x84, 0xC8}));

    // An unreadable matrix: the whole new matrix goes out.
    m_pKb->ClearTrace();
    m_pKb->FailNext(3, 3); // password, macro part, read request pass; the answer fails
    ASSERT_EQ(Apply(0x1), 1);
    const Bytes v2 = SentMatrix();
    ASSERT_EQ(v2.size(), 1032u);
    EXPECT_EQ(Bytes(v2.begin() + 8 + 4, v2.begin() + 8 + 8), Be(0));
    EXPECT_TRUE(m_log.Has("bSyncKB: key matrix not read"));
}

TEST_F(CKb816Test, TransferFaults) {
    struct {
        const char* pszName;
        int nFail, nSkip, nGoNoDev;
        int nResult;
        bool bMatrix; // the key matrix was written
        const char* pszLog;
    } kCases[] = {
        {"password fails once", 1, 0, 0, 1, true, nullptr},
        {"password fails", 3, 0, 0, 0, false, "SetPassword err=0x5"},
        {"password fails, go on", 3, 0, 1, 1, true, "SetPassword err=0x5"},
        {"block read fails", 3, 1, 0, 0, false, "GetProfile error, err=0x5"},
        {"colour table fails", 3, 4, 0, 0, false, "SetProfile error, err=0x5"},
        {"macros fail", 3, 5, 0, 0, false, "SetMacroData(cc) error, err=0x5"},
        {"matrix fails", 3, 6, 0, 0, false, "SetKeyMatrix error, err=0x5"},
        {"matrix fails, go on", 3, 6, 1, 1, false, "SetKeyMatrix error, err=0x5"},
        {"last block fails", 3, 7, 0, 0, true, "SetProfile error, err=0x5"},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        m_pKb->ClearTrace();
        m_pVar->GoWithNoDev = c.nGoNoDev;
        m_pKb->FailNext(c.nFail, c.nSkip);
        CRecordingSink sink;
        EXPECT_EQ(Apply(0x8007, &sink), c.nResult);
        EXPECT_EQ(!SentMatrix().empty(), c.bMatrix);
        if (c.pszLog) {
            EXPECT_TRUE(m_log.Has(c.pszLog));
        }
        // Every end closes the progress and leaves no buffer numbers behind.
        ASSERT_FALSE(sink.Events().empty());
        EXPECT_EQ(sink.Events().back(), "1067:100:0");
        EXPECT_TRUE(BufferNumbersClear());
        m_pKb->FailNext(0);
    }
}

TEST_F(CKb816Test, BlockNotReadIsNotWrittenBack) {
    m_pVar->GoWithNoDev = 1;
    m_pKb->FailNext(3, 1); // the read request of the block
    ASSERT_EQ(Apply(0x2), 1);
    for (const Bytes& b : Sent())
        EXPECT_FALSE(b.size() == 1032 && b[1] == 3);
    EXPECT_EQ(m_pKb->State().byCfg[1], 0xA1);
}

// Vanishes the keyboard when the apply reports a position.
class CVanishingSink : public CRecordingSink {
public:
    CVanishingSink(CSimKb816& kb, uintptr_t nAt) : m_kb(kb), m_nAt(nAt) {}
    void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) override {
        CRecordingSink::PostMessage(nMsg, wParam, lParam);
        if (wParam == m_nAt)
            m_kb.Vanish();
    }

private:
    CSimKb816& m_kb;
    uintptr_t m_nAt;
};

TEST_F(CKb816Test, KeyboardVanishingMidApply) {
    const KbSettings before = m_pPro->Kb;
    CVanishingSink sink(*m_pKb, 40);
    EXPECT_EQ(Apply(0x8007, &sink), 0);
    EXPECT_TRUE(m_log.Has("SetMacroData(cc) error, err=0x13"));
    EXPECT_TRUE(SentMatrix().empty());
    EXPECT_TRUE(BufferNumbersClear());
    EXPECT_EQ(std::memcmp(&before, &m_pPro->Kb, sizeof before), 0);
    EXPECT_EQ(sink.Events().back(), "1067:100:0");
    // Plugged in again and found: the next apply goes through.
    m_pKb->Return();
    ASSERT_EQ(m_pDev->Drv()->FindDev(), 1);
    EXPECT_EQ(Apply(0x7), 1);
}

TEST_F(CKb816Test, RefusesWithoutProfileId) {
    m_pPro->dwId = 0;
    m_pDev->SetReset(1);
    EXPECT_EQ(Apply(0x7), 0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(m_pDev->Reset(), 1); // nothing was written: the defaults are still to go out
}

TEST_F(CKb816Test, KeyboardApplyThread) {
    // The keyboard's apply thread runs the encoder on its own copy of the current profile
    // while this thread looks at the device and the macro store; the failure box goes with
    // the outcome to the listener, never shown from the worker.
    const CMacroStore bullets;
    CRecordingListener listener;
    CApplyThread th(*m_pVar);
    th.SetListener(&listener);
    ASSERT_TRUE(th.Start(m_pDev.get()));
    ASSERT_TRUE(th.Request(APPLY_FULL_KEYBOARD & ~APPLY_FLAG_PROGRESS,
                           MakeApplySnapshot(*m_pPro, m_macros, bullets), nullptr));
    ASSERT_TRUE(th.WaitHandled(1, 10000));
    EXPECT_EQ(th.LastResult(), 1);
    EXPECT_EQ(m_pKb->State().byCfg[0], 0x11);
    EXPECT_EQ(m_pKb->State().byMatrix[4 * 130 + 3], 0x58);
    m_pKb->FailNext(3);
    ASSERT_TRUE(th.Request(APPLY_FULL_KEYBOARD & ~APPLY_FLAG_PROGRESS,
                           MakeApplySnapshot(*m_pPro, m_macros, bullets), nullptr));
    ASSERT_TRUE(th.WaitHandled(2, 10000));
    EXPECT_EQ(th.LastResult(), 0);
    th.Stop();
    auto v = listener.Outcomes();
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].nResult, 1);
    EXPECT_TRUE(v[0].vMessages.empty());
    EXPECT_EQ(v[1].nResult, 0);
    EXPECT_EQ(MessageTexts(v[1]),
              std::vector<std::string>({"Error:    Update settings failed!      "}));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(BufferNumbersClear());
}

class CKb816CompanionTest : public CKb816Test {
protected:
    void SetUp() override {
        CKb816Test::SetUp();
        MouseDesc& ms = m_pVar->Dev.Ms;
        ms.KeySwVk[0] = 112; // F1, usage 0x3A
        ms.KeySwVk[2] = 65;  // A, usage 4
        ms.KeySwVkMatrix[0] = 75;
        ms.KeySwVkMatrix[1] = 9; // unused entry
        ms.KeySwVkMatrix[2] = 5;
        CSimKb816::CState st = m_pKb->State();
        for (size_t i = 0; i < st.byMatrix.size(); ++i)
            st.byMatrix[i] = uint8_t(i);
        m_aStart = st.byMatrix;
        m_pKb->SetState(st);
    }
    Bytes Expected(std::initializer_list<std::pair<size_t, Bytes>> il) {
        Bytes v = Kb816Data(4, 0xC8, 0x40, {});
        std::copy(m_aStart.begin(), m_aStart.end(), v.begin() + 8);
        for (auto& [n, b] : il)
            std::copy(b.begin(), b.end(), v.begin() + 8 + long(4 * n));
        return v;
    }
    std::array<uint8_t, 1024> m_aStart;
};

TEST_F(CKb816CompanionTest, UpdateMatrixSwitchesKeysOnAndOff) {
    ASSERT_EQ(m_pDev->UpdateMatrix(1), 1);
    EXPECT_EQ(Sent(), std::vector<Bytes>({Padded(6, {0x05, 0x84, 0xC8}),
                                          Expected({{75, Be(0x04003070)}, {5, Be(0x04003041)}})}));
    EXPECT_TRUE(m_log.Has("UpdateMatrix SendCommand."));
    EXPECT_EQ(m_clock.Sleeps(), std::vector<uint32_t>({20, 15}));

    m_pKb->ClearTrace();
    m_aStart = m_pKb->State().byMatrix;
    ASSERT_EQ(m_pDev->UpdateMatrix(0), 1);
    EXPECT_EQ(SentMatrix(), Expected({{75, Be(0x3A)}, {5, Be(0x04)}}));
}

TEST_F(CKb816CompanionTest, UpdateMatrixWithNothingToChange) {
    ASSERT_EQ(m_pDev->UpdateMatrix(1), 1);
    m_pKb->ClearTrace();
    ASSERT_EQ(m_pDev->UpdateMatrix(1), 1);
    EXPECT_TRUE(SentMatrix().empty());
    // Positions past the keys are never written.
    m_pVar->Dev.Ms.KeySwVkMatrix[0] = 132;
    m_pVar->Dev.Ms.KeySwVk[2] = 0;
    ASSERT_EQ(m_pDev->UpdateMatrix(0), 1);
    EXPECT_TRUE(SentMatrix().empty());
    EXPECT_TRUE(m_log.Has("UpdateMatrix: matrix position 132 of key 0x70 out of range"));
}

TEST_F(CKb816CompanionTest, UpdateMatrixFailures) {
    m_pKb->FailNext(3);
    EXPECT_EQ(m_pDev->UpdateMatrix(1), 0);
    EXPECT_TRUE(m_log.Has("UpdateMatrix GetCommand Err."));
    m_pKb->FailNext(3, 2);
    EXPECT_EQ(m_pDev->UpdateMatrix(1), 0);
    EXPECT_TRUE(m_log.Has("UpdateMatrix SendCommand Err."));
    EXPECT_EQ(m_pKb->State().byMatrix, m_aStart);
}

TEST_F(CKb816CompanionTest, ApplyWritesTheKeySwitchKeys) {
    ASSERT_EQ(Apply(0x1), 1);
    const Bytes v = SentMatrix();
    ASSERT_EQ(v.size(), 1032u);
    // F1's position comes from the key table: 75, and its half 80 keeps the Fn link.
    EXPECT_EQ(Bytes(v.begin() + 8 + 4 * 75, v.begin() + 8 + 4 * 76), Be(0x04003070));
    EXPECT_EQ(Bytes(v.begin() + 8 + 4 * 5, v.begin() + 8 + 4 * 6), Be(0x04003041));
}

} // namespace
