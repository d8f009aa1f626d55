#pragma once
// Firmware model of an 8948 mouse: a pointer collection, the command collection (report 5),
// the data collection (report 4) and, unless left out, the notification collection
// (input report 7).
#include <array>
#include <map>

#include "device/sim/SimDevice.h"

class CSimMouse8948 : public CSimDevice {
public:
    struct CState {
        uint8_t byCode[4] = {0, 0, 0, 0};
        int nMode = 1; // 1..3
        std::array<std::array<uint8_t, 500>, 3> byGeneral{};
        std::array<std::array<uint32_t, 20>, 3> dwMatrix{};
        std::map<int, std::array<uint8_t, 510>> mapMacros;
        std::array<uint8_t, 63> byGun{};
        bool bGunWritten = false;
        int nUnknownCommands = 0;
    };

    // nSensorCode: 6-bit sensor type code in general byte 1 of every mode.
    CSimMouse8948(std::string strName, uint16_t wVid, uint16_t wPid, const uint8_t byCode[4],
                  int nSensorCode, bool bWithNotify = true,
                  std::string strProduct = "Gaming Mouse");

    CState State() const;
    void SetState(const CState& st);
    void SetSensorCode(int nCode);
    // The mouse's own buttons: change the state and send notification report 7.
    void PressModeButton(int nMode);
    void PressDpiButton(int nOrdinal);
    // Any notification: report bytes 1, 2, 4, 5.
    void Notify(uint8_t by1, uint8_t by2, uint8_t by4, uint8_t by5);
    bool HasNotify() const { return m_nNotifyCol >= 0; }

protected:
    bool OnSetFeature(int nCol, const uint8_t* pBuf, size_t nLen) override;
    bool OnGetFeature(int nCol, uint8_t* pBuf, size_t nLen) override;

private:
    void NotifyLocked(uint8_t by1, uint8_t by2, uint8_t by4, uint8_t by5);
    int m_nCmdCol = -1, m_nDataCol = -1, m_nNotifyCol = -1;
    CState m_st;
    uint8_t m_byReply[5] = {0, 0, 0, 0, 0}; // answer to the last command
    int m_nProfileMode = 1;                 // mode whose general data the data collection returns
};
