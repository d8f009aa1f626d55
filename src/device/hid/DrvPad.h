#pragma once
// Driver of the lit mouse pad: the whole pad state travels as one 26-byte block in
// 27-byte feature reports (id 0x30) on m_hGeneral.
#include <cstdint>

#include "device/hid/HidDrv.h"

constexpr int PAD_REPORT = 27;
constexpr int PAD_GENERAL_LEN = 26;

class CDrvPad : public CHidDrv {
public:
    explicit CDrvPad(CGlobalVar& var, CHidLib* pLib = nullptr) : CHidDrv(var, pLib) {}
    ~CDrvPad() override;

    int FindDev() override;
    int IsPresent() override { return 1; }
    HidHandle GetHandle() override { return Load(m_hGeneral); }
    void ClearHandle() override;

    int GetCommand(uint8_t byGeneral[PAD_GENERAL_LEN]);
    int SendCommand(const uint8_t byGeneral[PAD_GENERAL_LEN]);

private:
    HidHandle m_hGeneral;
};
