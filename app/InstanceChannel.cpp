#include "app/InstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStringDecoder>
#include <QTimer>
#include <QtEndian>

#include <functional>

namespace {

constexpr char kMagic[4] = {'K', 'X', 'H', '1'};
constexpr qsizetype kHeaderBytes = 8;
constexpr char kReceipt = '\x06';

// Whether an instance is listening on `socketPath`.
bool AnswersOn(const QString& socketPath)
{
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    const bool connected = probe.waitForConnected(500);
    probe.abort();
    return connected;
}

// One connection from a later start: gathers its message, never more than
// one message's worth, and gives up on it when the connection idles.
class Incoming : public QObject {
public:
    using Deliver = std::function<void(const QStringList&)>;

    Incoming(QLocalSocket* socket, int idleTimeoutMs, Deliver deliver)
        : QObject(socket), m_socket(socket), m_idleTimeoutMs(idleTimeoutMs), m_deliver(std::move(deliver))
    {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        m_idle.setSingleShot(true);
        connect(&m_idle, &QTimer::timeout, this, &Incoming::Drop);
        connect(socket, &QLocalSocket::readyRead, this, &Incoming::Read);
        m_idle.start(m_idleTimeoutMs);
        if (socket->bytesAvailable() > 0)
            Read();
    }

private:
    void Read()
    {
        m_idle.start(m_idleTimeoutMs);
        m_buffer += m_socket->read(InstanceChannel::kMaxMessageBytes + 1 - m_buffer.size());
        if (m_buffer.size() > InstanceChannel::kMaxMessageBytes)
            return Drop();
        if (m_buffer.size() < kHeaderBytes)
            return;
        const quint32 length = qFromBigEndian<quint32>(m_buffer.constData() + sizeof kMagic);
        if (!m_buffer.startsWith(QByteArrayView(kMagic, sizeof kMagic)) ||
            length > InstanceChannel::kMaxMessageBytes - kHeaderBytes)
            return Drop();
        if (m_buffer.size() < kHeaderBytes + static_cast<qsizetype>(length))
            return;
        const std::optional<QStringList> paths = InstanceChannel::DecodeMessage(m_buffer);
        if (!paths || m_socket->bytesAvailable() > 0)
            return Drop();
        m_idle.stop();
        disconnect(m_socket, nullptr, this, nullptr);
        m_socket->write(&kReceipt, 1);
        m_socket->disconnectFromServer();
        m_deliver(*paths);
    }

    void Drop()
    {
        m_idle.stop();
        m_socket->abort();
        m_socket->deleteLater();
    }

    QLocalSocket* m_socket;
    int m_idleTimeoutMs;
    Deliver m_deliver;
    QByteArray m_buffer;
    QTimer m_idle;
};

} // namespace

InstanceChannel::InstanceChannel(QString socketPath, QObject* parent)
    : QObject(parent), m_socketPath(std::move(socketPath))
{
}

InstanceChannel::~InstanceChannel() = default;

std::optional<QByteArray> InstanceChannel::EncodeMessage(const QStringList& paths)
{
    if (paths.isEmpty() || paths.size() > kMaxPaths)
        return std::nullopt;
    QByteArray body;
    for (const QString& path : paths) {
        if (path.isEmpty() || path.contains(QChar(0)) || !QDir::isAbsolutePath(path))
            return std::nullopt;
        body += path.toUtf8();
        body += '\0';
        if (kHeaderBytes + body.size() > kMaxMessageBytes)
            return std::nullopt;
    }
    QByteArray message(kMagic, sizeof kMagic);
    char length[4];
    qToBigEndian(static_cast<quint32>(body.size()), length);
    message.append(length, sizeof length);
    return message + body;
}

std::optional<QStringList> InstanceChannel::DecodeMessage(const QByteArray& message)
{
    if (message.size() < kHeaderBytes || message.size() > kMaxMessageBytes ||
        !message.startsWith(QByteArrayView(kMagic, sizeof kMagic)))
        return std::nullopt;
    const quint32 length = qFromBigEndian<quint32>(message.constData() + sizeof kMagic);
    if (length != static_cast<quint64>(message.size() - kHeaderBytes) || length == 0 ||
        message.back() != '\0')
        return std::nullopt;
    QStringList paths;
    const QByteArray body = message.sliced(kHeaderBytes, length - 1);
    for (const QByteArray& piece : body.split('\0')) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString path = utf8(piece);
        if (utf8.hasError() || path.isEmpty() || !QDir::isAbsolutePath(path) || paths.size() == kMaxPaths)
            return std::nullopt;
        paths.append(path);
    }
    return paths;
}

bool InstanceChannel::HandOver(const QStringList& paths, int timeoutMs)
{
    const std::optional<QByteArray> message = EncodeMessage(paths);
    if (!message)
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(*message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Only the receipt says the running instance took the files; without it
    // this start opens them itself.
    while (socket.bytesAvailable() == 0) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kReceipt;
}

bool InstanceChannel::Listen()
{
    // Listening replaces whatever is at the socket's path, so look first.
    if (AnswersOn(m_socketPath))
        return false;
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
    if (m_server->listen(m_socketPath))
        return true;
    delete m_server;
    m_server = nullptr;
    return false;
}

bool InstanceChannel::HandOverOrListen(const QString& file)
{
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    lock.tryLock(5000); // a start that never gets the lock goes on all the same
    if (!file.isEmpty() && HandOver({QFileInfo(file).absoluteFilePath()}))
        return true;
    Listen();
    return false;
}

void InstanceChannel::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        // Delivered from the event loop, not from within the socket's
        // handler: opening the files may show message boxes.
        new Incoming(socket, m_idleTimeoutMs, [this](const QStringList& paths) {
            QMetaObject::invokeMethod(this, [this, paths] { emit filesReceived(paths); }, Qt::QueuedConnection);
        });
    }
}
