#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QLocalServer;

// Lets a second start of the program hand its file to the instance already
// running for the same user on the same display: the running one listens on
// a local socket in a folder only its user can enter (see ChannelFolder.h),
// a later one connects, sends the paths and waits for the receipt.
//
// A message is a header "KXH1" with the length of what follows (32 bits, big
// endian), then each path in UTF-8 ended by a zero byte; at most 64 KiB in
// all and 1000 paths, every path absolute. The receiver answers one byte on
// taking a message. A malformed or oversized message is dropped with its
// connection, unanswered; so is a connection idle for 5 seconds.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxMessageBytes = 64 * 1024;
    static constexpr qsizetype kMaxPaths = 1000;
    static constexpr int kIdleTimeoutMs = 5000;

    // `socketPath`: the socket's full path (handover::SocketPathOfThisStart).
    explicit InstanceChannel(QString socketPath, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Sends `paths` (absolute) to a running instance. True only when one
    // took them; false when none listens, it did not answer in time, or the
    // paths do not fit in one message.
    bool HandOver(const QStringList& paths, int timeoutMs = 2000);
    // Starts listening, replacing a socket left behind by an instance that
    // ended without closing it. False when another instance is listening or
    // no socket can be made.
    bool Listen();
    // What a start does with its channel: hands `file` (if any; made
    // absolute) to the running instance and returns true, so this start can
    // end; otherwise listens for later starts, if none listens yet, and
    // returns false. A lock beside the socket keeps two starts from deciding
    // at the same moment.
    bool HandOverOrListen(const QString& file);

    // How long a connection may stay silent before it is dropped (tests).
    void SetIdleTimeout(int milliseconds) { m_idleTimeoutMs = milliseconds; }

    // The message carrying `paths`, or nullopt when they break its limits.
    static std::optional<QByteArray> EncodeMessage(const QStringList& paths);
    // The paths of a whole message, or nullopt when it is malformed.
    static std::optional<QStringList> DecodeMessage(const QByteArray& message);

signals:
    // Files sent by a later start, in the order given.
    void filesReceived(const QStringList& paths);

private:
    void OnNewConnection();

    QString m_socketPath;
    QLocalServer* m_server = nullptr;
    int m_idleTimeoutMs = kIdleTimeoutMs;
};
