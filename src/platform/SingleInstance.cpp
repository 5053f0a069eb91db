#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace lectoria::platform {

namespace {

constexpr int kAnswerTimeoutMs = 3000;

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) {
        runtime = QDir::tempPath();
    }
    m_lockPath =
        QDir(runtime).filePath(QStringLiteral("lectoria-") + QString::fromLatin1(hash) + QStringLiteral(".lock"));
    m_serverName = QStringLiteral("lectoria-") + QString::fromLatin1(hash);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::Start()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // A copy that crashed leaves its lock behind; QLockFile sees that its process is gone.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(100)) {
        QLocalServer::removeServer(m_serverName);
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* client = m_server->nextPendingConnection()) {
                // The asking copy hangs up once it has read the answer: hanging up here could
                // drop the answer before it is read, and the copy would think nobody answered.
                connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
                client->write("ok\n");
                client->flush();
                emit activationRequested();
            }
        });
        m_server->listen(m_serverName);
        return Outcome::Primary;
    }
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kAnswerTimeoutMs)) {
        return Outcome::Failed;
    }
    socket.write("show\n");
    socket.flush();
    // The answer may already be in the buffer, and the first copy hangs up right after it.
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerTimeoutMs)) {
    }
    if (!socket.canReadLine() || !socket.readLine().startsWith("ok")) {
        return Outcome::Failed;
    }
    return Outcome::HandedOver;
}

} // namespace lectoria::platform
