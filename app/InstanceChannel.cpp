#include "InstanceChannel.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

// Whether an instance is listening on `serverName`.
bool AnswersOn(const QString& serverName)
{
    QLocalSocket probe;
    probe.connectToServer(serverName);
    const bool connected = probe.waitForConnected(500);
    probe.abort();
    return connected;
}

} // namespace

InstanceChannel::InstanceChannel(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName))
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::DefaultServerName()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("kestrix.socket"));
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return QStringLiteral("kestrix-") + user;
}

bool InstanceChannel::HandOver(const QStringList& paths, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << paths;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running instance closes the connection once it has read everything.
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool InstanceChannel::Listen()
{
    // Listening replaces whatever is at the socket's path, so look first.
    if (AnswersOn(m_serverName))
        return false;
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
    if (m_server->listen(m_serverName))
        return true;
    delete m_server;
    m_server = nullptr;
    return false;
}

void InstanceChannel::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.setVersion(kStreamVersion);
            in.startTransaction();
            QStringList paths;
            in >> paths;
            if (!in.commitTransaction())
                return; // the rest is still on its way
            socket->disconnectFromServer();
            emit filesReceived(paths);
        });
    }
}
