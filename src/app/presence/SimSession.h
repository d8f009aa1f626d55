#pragma once
// The GUI's simulation session (--simulate[=FILE]): the simulated devices of the
// installation behind the HID access library, and a control socket through which scripts
// and `velkinctl sim-control` plug, unplug and press buttons on them. Plugging and
// unplugging also reach device presence as arrival and removal notifications.
//
// Wiring: after the configuration is loaded and before the main window looks for devices,
//   CSimSession sim(gVar); sim.Install(strFile, strError); sim.StartControl(strError);
// and once device presence exists: sim.SetPresence(&presence).
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

#include "config/GlobalVar.h"
#include "device/sim/SimBackend.h"

class QLocalServer;
class QLocalSocket;
class CDevicePresence;

class CSimSession : public QObject {
    Q_OBJECT
public:
    explicit CSimSession(CGlobalVar& var, QObject* pParent = nullptr);
    ~CSimSession() override; // closes the socket and gives the HID library back to hidraw

    // Attaches the installation's simulated devices (those of strFile instead when it is not
    // empty, as velkinctl --simulate=FILE) and installs the simulated back-end. False with
    // strError on a bad file; the installation's devices are then in use.
    bool Install(const std::string& strFile, std::string& strError);
    // Listens on strPath (SimControlSocketPath() when empty); a stale socket is replaced.
    bool StartControl(std::string& strError, const std::string& strPath = std::string());
    QString SocketPath() const;

    // Where plug and unplug report; may be null (then only the devices change).
    void SetPresence(CDevicePresence* pPresence);
    // Runs one command line and returns the answer.
    std::string Execute(const std::string& strLine);

    CSimBackend& Backend() { return m_backend; }

private:
    void OnConnection();
    void OnReadyRead(QLocalSocket* pSocket);

    CGlobalVar& m_var;
    CSimBackend m_backend;
    bool m_bInstalled = false;
    std::unique_ptr<QLocalServer> m_pServer;
    QPointer<CDevicePresence> m_pPresence;
};
