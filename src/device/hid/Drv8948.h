#pragma once
// Driver of the 8948 mouse controller: a command collection (6-byte feature reports, id 5),
// a data collection (520-byte feature reports, id 4) and a notification collection
// (8-byte input reports, id 7) that ServiceThread listens on.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "device/hid/HidDrv.h"
#include "platform/WndMessageIds.h"


constexpr int MS_GENERAL_LEN = 500; // general data as read back
constexpr int MS_PROFILE_LEN = 140; // general data as written
constexpr int MS_MATRIX_KEYS = 20;
constexpr int MS_MACRO_LEN = 510;
constexpr int MS_GUN_LEN = 63;
constexpr int MS_DATA_PAYLOAD = 518;
constexpr int MS_CMD_REPORT = 6;
constexpr int MS_DATA_REPORT = 520;
constexpr int MS_NOTIFY_REPORT = 8;

class CDrv8948 : public CHidDrv {
public:
    explicit CDrv8948(CGlobalVar& var, CHidLib* pLib = nullptr);
    ~CDrv8948() override;

    int FindDev() override;
    int IsPresent() override;
    int Init(CWndTarget* pWnd) override;
    int Shutdown() override;
    HidHandle GetHandle() override { return Load(m_hCmd); }
    void ClearHandle() override;
    // Mode index 0..2.
    int SetMode(int nMode) override;

    // Protocol. Each returns 1 on success, 0 on failure.
    int SendCmd(const uint8_t byCmd[5]);
    int GetCmd(uint8_t byReply[5]);
    int SendData(const uint8_t byPayload[MS_DATA_PAYLOAD]);
    int GetData(uint8_t byData[MS_GENERAL_LEN]);
    int GetPsd(uint8_t byCode[4]);
    int GetMode(); // 1..3, 0xFF when unknown or failed
    int GetProfile(int nMode, uint8_t byData[MS_GENERAL_LEN]);
    int SetProfile(int nMode, const uint8_t byData[MS_PROFILE_LEN]);
    int SetMatrix(int nMode, const uint32_t dwCodes[MS_MATRIX_KEYS]);
    int SetMacro(int nBuffer, const uint8_t byMacro[MS_MACRO_LEN]);
    int SetGunData(const uint8_t byGun[MS_GUN_LEN], uint8_t byGunOpt);

    int CmdDelay() const { return m_nCmdDelay; }
    int DevMode() const { return m_nDevMode; }
    // Sensor id the device reported at the last discovery (0 when none was read).
    int ConnectedSensor() const { return m_nSensor; }
    HidHandle DataHandle() { return Load(m_hData); }
    HidHandle NotifyHandle() { return Load(m_hNotify); }
    // The window is going away: reports are still read but no longer posted.
    void DetachWindow();

private:
    int Handshake();
    void ReadLevels(int nModeIndex, const uint8_t* pGeneral);
    void ServiceThread();
    void IdleWait(int nMs);

    HidHandle m_hCmd;
    HidHandle m_hData;
    HidHandle m_hNotify;
    int m_nDevMode = -1;
    int m_nCmdDelay = 20;
    int m_nSensor = 0;

    // Listener state.
    std::thread m_thread;
    std::atomic<int> m_nStop{0};
    std::mutex m_mtxWnd;
    CWndTarget* m_pWnd = nullptr;
    std::mutex m_mtxIdle;
    std::condition_variable m_cvIdle;
};
