#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// The receiving end of the hand-over: a listening local socket served by a
// thread of its own, so that a later start gets its receipt at once even
// while the window thread is busy loading a file.
//
// Every connection has one deadline for its whole message, however it
// trickles in. A failed accept (no descriptors left, say) is tried again
// after a pause; the socket is never given up while the listener lives, so no
// other instance can take the channel over in between. At most
// kMaxConnections are served at once, each holding at most one message.
class HandOverListener {
public:
    // Receives the paths of each message taken, on the listener's thread,
    // after the receipt went out.
    using Deliver = std::function<void(const QStringList&)>;

    static constexpr int kMaxConnections = 32;
    static constexpr int kAcceptRetryMs = 200;

    // Listens on `socketPath` (whatever is there is replaced) for the user
    // alone; null when no socket or thread can be made.
    static std::unique_ptr<HandOverListener> Start(const QString& socketPath, int deadlineMs, Deliver deliver);
    // Stops the thread, closes every connection and removes the socket,
    // unless another instance has put its own at the path meanwhile.
    ~HandOverListener();

    HandOverListener(const HandOverListener&) = delete;
    HandOverListener& operator=(const HandOverListener&) = delete;

    // The whole-message deadline of connections accepted from now on.
    void SetMessageDeadline(int milliseconds) { m_deadlineMs = milliseconds; }

private:
    struct Connection;

    HandOverListener(QString socketPath, int deadlineMs, Deliver deliver);
    void Run();
    bool AcceptWaiting(std::vector<Connection>& connections);
    bool Serve(Connection& connection);

    QString m_socketPath;
    Deliver m_deliver;
    std::atomic<int> m_deadlineMs;
    int m_listening = -1;
    int m_wakeRead = -1;  // written to on destruction, to stop the thread
    int m_wakeWrite = -1;
    bool m_bound = false;
    unsigned long long m_device = 0; // which file at the path is this socket
    unsigned long long m_inode = 0;
    std::thread m_thread;
};
