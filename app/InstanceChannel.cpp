#include "app/InstanceChannel.h"

#include "app/HandOverListener.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStringDecoder>
#include <QtEndian>

namespace {

constexpr char kMagic[4] = {'K', 'X', 'H', '1'};
constexpr qsizetype kHeaderBytes = 8;

// Whether an instance is listening on `socketPath`.
bool AnswersOn(const QString& socketPath)
{
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    const bool connected = probe.waitForConnected(500);
    probe.abort();
    return connected;
}

} // namespace

InstanceChannel::InstanceChannel(QString socketPath, QObject* parent)
    : QObject(parent), m_socketPath(std::move(socketPath))
{
}

// The listener's thread ends here, before the object it delivers to goes.
InstanceChannel::~InstanceChannel() = default;

void InstanceChannel::SetMessageDeadline(int milliseconds)
{
    m_messageDeadlineMs = milliseconds;
    if (m_listener)
        m_listener->SetMessageDeadline(milliseconds);
}

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

std::optional<qsizetype> InstanceChannel::AnnouncedMessageBytes(QByteArrayView received)
{
    if (received.size() < kHeaderBytes)
        return 0;
    const quint32 length = qFromBigEndian<quint32>(received.data() + sizeof kMagic);
    if (!received.startsWith(QByteArrayView(kMagic, sizeof kMagic)) || length > kMaxMessageBytes - kHeaderBytes)
        return std::nullopt;
    return kHeaderBytes + static_cast<qsizetype>(length);
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
    if (m_listener || AnswersOn(m_socketPath))
        return false;
    // Files are opened on the window thread, from its event loop rather than
    // within whatever it is doing: opening them may show message boxes.
    m_listener = HandOverListener::Start(m_socketPath, m_messageDeadlineMs, [this](const QStringList& paths) {
        QMetaObject::invokeMethod(this, [this, paths] { emit filesReceived(paths); }, Qt::QueuedConnection);
    });
    return m_listener != nullptr;
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
