#pragma once
// Firmware models of the 901 companion keyboard, the pad and the receiver's consumer
// collection.
#include <array>

#include "device/sim/SimDevice.h"

class CSimKb901 : public CSimDevice {
public:
    CSimKb901(std::string strName, uint16_t wVid, uint16_t wPid,
              std::string strProduct = "Gaming Keyboard");
    std::array<uint8_t, 504> Matrix() const;
    void SetMatrix(const std::array<uint8_t, 504>& a);
    int Writes() const;

protected:
    bool OnSetFeature(int nCol, const uint8_t* pBuf, size_t nLen) override;
    bool OnGetFeature(int nCol, uint8_t* pBuf, size_t nLen) override;

private:
    std::array<uint8_t, 504> m_byMatrix{};
    int m_nWrites = 0;
};

class CSimPad : public CSimDevice {
public:
    CSimPad(std::string strName, uint16_t wVid, uint16_t wPid, const uint8_t byCode[2],
            std::string strProduct = "Gaming Pad");
    // The 26-byte general block; bytes 0..1 are the pad's code, which writes do not change.
    std::array<uint8_t, 26> General() const;
    void SetGeneral(const std::array<uint8_t, 26>& a);

protected:
    bool OnSetFeature(int nCol, const uint8_t* pBuf, size_t nLen) override;
    bool OnGetFeature(int nCol, uint8_t* pBuf, size_t nLen) override;

private:
    std::array<uint8_t, 26> m_byGeneral{};
};

class CSimReceiver : public CSimDevice {
public:
    CSimReceiver(std::string strName, uint16_t wVid, uint16_t wPid,
                 std::string strProduct = "Receiver");
    // A companion keyboard's key-set switch key with virtual-key code byVk: report 2 with
    // the usage 0x3000 + byVk.
    void PressKeySwitch(uint8_t byVk);

protected:
    bool OnSetFeature(int, const uint8_t*, size_t) override { return false; }
    bool OnGetFeature(int, uint8_t*, size_t) override { return false; }
};
