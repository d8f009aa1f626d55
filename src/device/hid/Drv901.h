#pragma once
// Driver of the 901 keyboard controller, used as a mouse's companion keyboard: its key
// matrix travels in 505-byte feature reports (id 9) on m_hMatrix.
#include <cstdint>

#include "device/hid/HidDrv.h"

constexpr int KB901_REPORT = 505;
constexpr int KB901_MATRIX_LEN = 504; // 126 codes of 4 bytes

class CDrv901 : public CHidDrv {
public:
    explicit CDrv901(CGlobalVar& var, CHidLib* pLib = nullptr) : CHidDrv(var, pLib) {}
    ~CDrv901() override;

    int FindDev() override;
    int IsPresent() override;
    HidHandle GetHandle() override { return Load(m_hMatrix); }
    void ClearHandle() override;

    int GetMatrix(uint8_t byMatrix[KB901_MATRIX_LEN]);
    int SetMatrix(const uint8_t byMatrix[KB901_MATRIX_LEN]);

private:
    HidHandle m_hMatrix;
    HidHandle m_hLed;   // never opened
    HidHandle m_hColor; // never opened
    HidHandle m_hMacro; // never opened
};
