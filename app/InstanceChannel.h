#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class HandOverListener;

// Lets a second start of the program hand its file to the instance already
// running for the same user on the same display: the running one listens on
// a local socket in a folder only its user can enter (see ChannelFolder.h),
// a later one connects, sends the paths and waits for the receipt.
//
// A message is a header "KXH1" with the length of what follows (32 bits, big
// endian), then each path in UTF-8 ended by a zero byte; at most 64 KiB in
// all and 1000 paths, every path absolute. The receiver answers one byte on
// taking a message. A malformed or oversized message is dropped with its
// connection, unanswered; so is a connection whose whole message has not come
// within 5 seconds. The running one listens on a thread of its own (see
// HandOverListener.h) and opens the files on the window thread.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxMessageBytes = 64 * 1024;
    static constexpr qsizetype kMaxPaths = 1000;
    static constexpr int kMessageDeadlineMs = 5000;
    // The one byte that answers a message taken.
    static constexpr char kReceipt = '\x06';

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

    // How long a connection may take over its whole message (tests).
    void SetMessageDeadline(int milliseconds);

    // The message carrying `paths`, or nullopt when they break its limits.
    static std::optional<QByteArray> EncodeMessage(const QStringList& paths);
    // The paths of a whole message, or nullopt when it is malformed.
    static std::optional<QStringList> DecodeMessage(const QByteArray& message);
    // The size of the whole message that starts with `received`: 0 while its
    // header is incomplete, nullopt when the header is malformed or announces
    // more than a message may hold.
    static std::optional<qsizetype> AnnouncedMessageBytes(QByteArrayView received);

signals:
    // Files sent by a later start, in the order given; emitted on the
    // channel's own (window) thread, messages in the order received.
    void filesReceived(const QStringList& paths);

private:
    QString m_socketPath;
    int m_messageDeadlineMs = kMessageDeadlineMs;
    std::unique_ptr<HandOverListener> m_listener;
};
