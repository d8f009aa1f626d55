#include "app/SingleInstance.h"

#include <QLocalSocket>
#include <unistd.h>

#include "platform/WndMessageIds.h"

CSingleInstance::CSingleInstance(const QString& strMutexName, QObject* pParent) : QObject(pParent) {
    // A named mutex is per desktop session on the original platform; scope ours to the user
    // so two users of one machine never see each other's copy.
    QString strSafe = strMutexName;
    for (QChar& c : strSafe)
        if (!c.isLetterOrNumber() && c != '_' && c != '-')
            c = '_';
    m_strName = strSafe + "-" + QString::number(getuid());
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
}

CSingleInstance::~CSingleInstance() {
    m_server.close();
}

bool CSingleInstance::HandOverToRunningCopy(quint64& nWindow, int nTimeoutMs) {
    nWindow = 0;
    QLocalSocket socket;
    socket.connectToServer(m_strName);
    if (!socket.waitForConnected(nTimeoutMs))
        return false;
    socket.write("1132 0 515\n");
    socket.flush();
    socket.waitForBytesWritten(nTimeoutMs);
    // The first copy answers with its window id; a copy too busy to answer still counts.
    if (socket.waitForReadyRead(nTimeoutMs)) {
        QByteArray reply = socket.readLine().trimmed();
        nWindow = reply.toULongLong(nullptr, 16);
    }
    socket.disconnectFromServer();
    return true;
}

bool CSingleInstance::Listen() {
    if (m_server.listen(m_strName))
        return true;
    if (m_server.serverError() == QAbstractSocket::AddressInUseError) {
        // Nobody answered on it (HandOverToRunningCopy failed), so it is a stale socket.
        QLocalServer::removeServer(m_strName);
        return m_server.listen(m_strName);
    }
    return false;
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* pSocket = m_server.nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] {
            while (pSocket->canReadLine()) {
                QList<QByteArray> parts = pSocket->readLine().trimmed().split(' ');
                if (parts.size() != 3)
                    continue;
                bool bOk1, bOk2, bOk3;
                uint32_t nMsg = parts[0].toUInt(&bOk1);
                uintptr_t wParam = parts[1].toULongLong(&bOk2);
                intptr_t lParam = parts[2].toLongLong(&bOk3);
                pSocket->write(QByteArray::number(m_nWindow, 16) + "\n");
                pSocket->flush();
                // Only the hand-over message is accepted from the socket.
                if (bOk1 && bOk2 && bOk3 && nMsg == WM_TRAY_NOTIFY && m_fnHandler)
                    m_fnHandler(nMsg, wParam, lParam);
            }
        });
    }
}
