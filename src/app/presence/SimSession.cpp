#include "app/presence/SimSession.h"

#include <QLocalServer>
#include <QLocalSocket>

#include "app/presence/DevicePresence.h"
#include "config/Log.h"
#include "device/hid/HidBackend.h"
#include "device/sim/SimControl.h"
#include "device/sim/SimInstallation.h"

namespace {

// A client that sends this much without a line end is not speaking the protocol.
constexpr qint64 kMaxLine = 4096;

} // namespace

CSimSession::CSimSession(CGlobalVar& var, QObject* pParent) : QObject(pParent), m_var(var) {}

CSimSession::~CSimSession() {
    if (m_pServer)
        m_pServer->close();
    if (m_bInstalled)
        SetHidBackend(nullptr);
}

bool CSimSession::Install(const std::string& strFile, std::string& strError) {
    bool bOk = true;
    AttachInstallationDevices(m_var, m_backend);
    if (!strFile.empty() && !LoadSimulationFile(strFile, m_var, m_backend, strError)) {
        LogPrint("simulation file %s: %s", strFile.c_str(), strError.c_str());
        bOk = false;
    }
    SetHidBackend(&m_backend);
    m_bInstalled = true;
    return bOk;
}

bool CSimSession::StartControl(std::string& strError, const std::string& strPath) {
    const QString qsPath =
        QString::fromStdString(strPath.empty() ? SimControlSocketPath() : strPath);
    {
        // A socket file nobody answers on is left from a session that ended abruptly.
        QLocalSocket probe;
        probe.connectToServer(qsPath);
        if (probe.waitForConnected(200)) {
            strError = "another simulation session listens on " + qsPath.toStdString();
            return false;
        }
    }
    QLocalServer::removeServer(qsPath);
    m_pServer = std::make_unique<QLocalServer>();
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(qsPath)) {
        strError = "cannot listen on " + qsPath.toStdString() + ": " +
                   m_pServer->errorString().toStdString();
        m_pServer.reset();
        return false;
    }
    connect(m_pServer.get(), &QLocalServer::newConnection, this, [this] { OnConnection(); });
    LogPrint("simulation control on %s", qsPath.toUtf8().constData());
    return true;
}

QString CSimSession::SocketPath() const {
    return m_pServer ? m_pServer->fullServerName() : QString();
}

void CSimSession::SetPresence(CDevicePresence* pPresence) {
    m_pPresence = pPresence;
}

std::string CSimSession::Execute(const std::string& strLine) {
    // The notifications come after the answer: a removal may open a modal message box.
    CSimControlHooks hooks;
    hooks.fnArrival = [this](const std::string& strPath) {
        QMetaObject::invokeMethod(
            this,
            [this, strPath] {
                if (m_pPresence)
                    m_pPresence->OnDeviceArrival(strPath);
            },
            Qt::QueuedConnection);
    };
    hooks.fnRemoval = [this](const std::string& strPath) {
        QMetaObject::invokeMethod(
            this,
            [this, strPath] {
                if (m_pPresence)
                    m_pPresence->OnDeviceRemoval(strPath);
            },
            Qt::QueuedConnection);
    };
    return RunSimCommandLine(strLine, m_var, m_backend, hooks);
}

void CSimSession::OnConnection() {
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { OnReadyRead(pSocket); });
    }
}

void CSimSession::OnReadyRead(QLocalSocket* pSocket) {
    while (pSocket->canReadLine()) {
        QByteArray line = pSocket->readLine(kMaxLine + 1);
        std::string strAnswer = Execute(line.toStdString());
        pSocket->write((strAnswer + "\n").c_str());
    }
    if (pSocket->bytesAvailable() > kMaxLine) {
        pSocket->write("error: command too long\n");
        pSocket->disconnectFromServer();
    }
}
