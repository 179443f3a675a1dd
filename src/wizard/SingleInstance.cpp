#include "wizard/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {

QString userKey(const QString &key) {
    const QByteArray user = qgetenv("USER");
    return QString::fromLatin1(
        QCryptographicHash::hash((key + QString::fromLocal8Bit(user)).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16));
}

}  // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent), m_key(userKey(key)) {}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
    delete m_lock;
}

QString SingleInstance::lockFilePath() const {
    return QDir::temp().filePath(QStringLiteral("acctupgrade-") + m_key + QStringLiteral(".lock"));
}

QString SingleInstance::serverName() const { return QStringLiteral("acctupgrade-") + m_key; }

bool SingleInstance::acquire() {
    if (m_primary) return true;
    auto lock = new QLockFile(lockFilePath());
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        delete lock;
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(1000)) {
            socket.write("raise\n");
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
        }
        return false;
    }
    m_lock = lock;
    m_primary = true;
    QLocalServer::removeServer(serverName());  // a socket file a dead copy left behind
    m_server = new QLocalServer(this);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            emit raiseRequested();
        }
    });
    m_server->listen(serverName());
    return true;
}
