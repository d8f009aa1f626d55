#pragma once
// Only one copy runs per user. The first copy listens on a local socket named after the
// mutex name; a second copy connects, hands over message 1132 (wParam 0, lParam 515) so the
// first shows its window, and ends. A socket left behind by a crashed copy is removed and
// listened on again.
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(const QString& strMutexName, QObject* pParent = nullptr);
    ~CSingleInstance() override;

    // True when another copy answered; nWindow is the window id it reported (0 when none).
    bool HandOverToRunningCopy(quint64& nWindow, int nTimeoutMs = 1000);
    // Starts listening; false when the name cannot be taken.
    bool Listen();
    // Called on the user-interface thread with (message, wParam, lParam) from a second copy.
    void SetHandler(std::function<void(uint32_t, uintptr_t, intptr_t)> fnHandler) {
        m_fnHandler = std::move(fnHandler);
    }
    // The window id reported to a second copy.
    void SetWindowId(quint64 nWindow) { m_nWindow = nWindow; }
    QString ServerName() const { return m_strName; }

private:
    void OnNewConnection();
    QString m_strName;
    QLocalServer m_server;
    quint64 m_nWindow = 0;
    std::function<void(uint32_t, uintptr_t, intptr_t)> m_fnHandler;
};
