#pragma once
// Firmware model of an 816 keyboard: the data collection (1032-byte report 6) and the
// command collection (6-byte report 5).
#include <array>
#include <map>
#include <vector>

#include "device/sim/SimDevice.h"

class CSimKb816 : public CSimDevice {
public:
    struct CState {
        std::array<uint8_t, 4> byPassword{};
        int nPasswordWrites = 0;
        std::array<uint8_t, 136> byCfg{};
        std::array<uint8_t, 1024> byMatrix{};
        std::array<std::array<uint8_t, 1024>, 4> byMacros{}; // parts at 0xCC, 0xD0, 0xD4, 0xD8
        std::vector<uint8_t> vColorTable;                    // data area of the last write
        std::map<int, std::array<uint8_t, 792>> mapLed;      // per address
        int nUnknown = 0;
    };

    CSimKb816(std::string strName, uint16_t wVid, uint16_t wPid,
              std::string strProduct = "Gaming Keyboard");
    CState State() const;
    void SetState(const CState& st);
    // Makes the next answer echo this command byte instead of the request's (a confused
    // device); 0 restores normal answers.
    void SetWrongEcho(uint8_t byEcho);

protected:
    bool OnSetFeature(int nCol, const uint8_t* pBuf, size_t nLen) override;
    bool OnGetFeature(int nCol, uint8_t* pBuf, size_t nLen) override;

private:
    int m_nDataCol = -1, m_nCmdCol = -1;
    CState m_st;
    uint8_t m_byPending = 0; // read request awaiting its answer
    uint8_t m_byWrongEcho = 0;
};
