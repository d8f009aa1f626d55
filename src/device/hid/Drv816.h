#pragma once
// Driver of the 816 keyboard controller: data blocks in 1032-byte feature reports (id 6) on
// m_hDevice, short commands (id 5) on m_hCmd.
#include <cstdint>

#include "device/hid/HidDrv.h"

constexpr int KB_DATA_REPORT = 1032;
constexpr int KB_CMD_REPORT = 6;
constexpr int KB_CFG_LEN = 136;
constexpr int KB_MATRIX_LEN = 1024;
constexpr int KB_MACRO_LEN = 1024;
constexpr int KB_COLOR_TABLE_MAX = 1003;
constexpr int KB_LED_MATRIX_LEN = 792;

class CDrv816 : public CHidDrv {
public:
    explicit CDrv816(CGlobalVar& var, CHidLib* pLib = nullptr) : CHidDrv(var, pLib) {}
    ~CDrv816() override;

    int FindDev() override;
    int IsPresent() override;
    HidHandle GetHandle() override { return Load(m_hDevice); }
    void ClearHandle() override;

    // Protocol; each returns 1 on success, 0 on failure.
    int SetPassword(const uint8_t byCode[4]);
    int GetProfile(uint8_t byCfg[KB_CFG_LEN]);
    int SetProfile(const uint8_t byCfg[KB_CFG_LEN]);
    int GetCommand(uint8_t byMatrix[KB_MATRIX_LEN]);
    int SetKeyMatrix(const uint8_t byMatrix[KB_MATRIX_LEN]);
    int SetMacroData(uint8_t byAddr, const uint8_t byMacros[KB_MACRO_LEN]);
    int SetColorTable(const uint8_t* pTable, int nLen);
    int SetLedMatrix(uint8_t byAddr, const uint8_t byColors[KB_LED_MATRIX_LEN]);

    HidHandle CmdHandle() { return Load(m_hCmd); }

    // Pause between a read request and reading its answer.
    static constexpr uint32_t kAnswerDelayMs = 20;

private:
    int SendBlock(uint8_t byCmd, uint8_t byAddr, uint8_t byB3, const uint8_t* pData, size_t nLen);
    int ReadAnswer(const uint8_t* pCmd, size_t nCmdLen, uint8_t* pData, size_t nLen, int nEcho);

    HidHandle m_hDevice;
    HidHandle m_hCmd;
};
