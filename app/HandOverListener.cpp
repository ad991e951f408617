#include "app/HandOverListener.h"

#include "app/InstanceChannel.h"

#include <QFile>

#if defined(Q_OS_UNIX)

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Connections that wait to be accepted; more are refused by the system.
constexpr int kBacklog = 64;

} // namespace

// One connection from a later start and what it has sent so far.
struct HandOverListener::Connection {
    int socket;
    Clock::time_point deadline;
    QByteArray received;
};

HandOverListener::HandOverListener(QString socketPath, int deadlineMs, Deliver deliver)
    : m_socketPath(std::move(socketPath)), m_deliver(std::move(deliver)), m_deadlineMs(deadlineMs)
{
}

std::unique_ptr<HandOverListener> HandOverListener::Start(const QString& socketPath, int deadlineMs, Deliver deliver)
{
    const QByteArray name = QFile::encodeName(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || static_cast<std::size_t>(name.size()) >= sizeof address.sun_path)
        return nullptr;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));

    std::unique_ptr<HandOverListener> listener(new HandOverListener(socketPath, deadlineMs, std::move(deliver)));
    listener->m_listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener->m_listening < 0)
        return nullptr;
    ::unlink(name.constData());
    if (::bind(listener->m_listening, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return nullptr;
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0)
        return nullptr;
    listener->m_bound = true;
    listener->m_device = info.st_dev;
    listener->m_inode = info.st_ino;
    int wake[2];
    if (::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(listener->m_listening, kBacklog) != 0 ||
        ::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return nullptr;
    listener->m_wakeRead = wake[0];
    listener->m_wakeWrite = wake[1];
    try {
        listener->m_thread = std::thread(&HandOverListener::Run, listener.get());
    } catch (const std::system_error&) {
        return nullptr;
    }
    return listener;
}

HandOverListener::~HandOverListener()
{
    if (m_thread.joinable()) {
        const char stop = 0;
        while (::write(m_wakeWrite, &stop, 1) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    // The path may hold another instance's socket by now; that one stays.
    const QByteArray name = QFile::encodeName(m_socketPath);
    struct stat info {};
    if (m_bound && ::lstat(name.constData(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode)
        ::unlink(name.constData());
    for (int descriptor : {m_listening, m_wakeRead, m_wakeWrite}) {
        if (descriptor >= 0)
            ::close(descriptor);
    }
}

void HandOverListener::Run()
{
    std::vector<Connection> connections;
    std::vector<pollfd> polled;
    Clock::time_point acceptPausedUntil;
    const auto drop = [&connections](std::size_t index) {
        ::close(connections[index].socket);
        connections.erase(connections.begin() + static_cast<std::ptrdiff_t>(index));
    };
    for (;;) {
        const Clock::time_point now = Clock::now();
        for (std::size_t i = connections.size(); i-- > 0;) {
            if (connections[i].deadline <= now)
                drop(i);
        }
        const bool roomForMore = connections.size() < kMaxConnections;
        const bool accepting = roomForMore && now >= acceptPausedUntil;
        // A negative descriptor is skipped by poll: the socket stays open but
        // waits while accepting pauses or the connections are at their bound.
        polled.assign({{m_wakeRead, POLLIN, 0}, {accepting ? m_listening : -1, POLLIN, 0}});
        Clock::time_point wakeAt = roomForMore && !accepting ? acceptPausedUntil : Clock::time_point::max();
        for (const Connection& connection : connections) {
            polled.push_back({connection.socket, POLLIN, 0});
            wakeAt = std::min(wakeAt, connection.deadline);
        }
        const long long waitMs = wakeAt == Clock::time_point::max()
                                     ? -1
                                     : std::chrono::ceil<std::chrono::milliseconds>(wakeAt - now).count();
        if (::poll(polled.data(), polled.size(), static_cast<int>(std::min<long long>(waitMs, INT_MAX))) < 0) {
            if (errno != EINTR) // out of memory, say: wait a little rather than spin
                std::this_thread::sleep_for(std::chrono::milliseconds(kAcceptRetryMs));
            continue;
        }
        if (polled[0].revents != 0)
            break;
        for (std::size_t i = connections.size(); i-- > 0;) {
            if (polled[i + 2].revents != 0 && !Serve(connections[i]))
                drop(i);
        }
        if (polled[1].revents != 0 && !AcceptWaiting(connections))
            acceptPausedUntil = Clock::now() + std::chrono::milliseconds(kAcceptRetryMs);
    }
    for (const Connection& connection : connections)
        ::close(connection.socket);
}

// Takes the connections waiting, up to the bound. False when accepting
// failed for want of descriptors or memory, or the like: the waiting ones
// stay queued and are tried again after a pause.
bool HandOverListener::AcceptWaiting(std::vector<Connection>& connections)
{
    while (connections.size() < kMaxConnections) {
        const int socket = ::accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (socket >= 0) {
            connections.push_back({socket, Clock::now() + std::chrono::milliseconds(m_deadlineMs.load()), {}});
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
    return true;
}

// Reads what `connection` has sent; true while its message is still coming.
// A whole message is answered with the receipt and delivered; anything
// malformed, oversized or cut short is dropped unanswered.
bool HandOverListener::Serve(Connection& connection)
{
    char chunk[16 * 1024];
    const qsizetype room = InstanceChannel::kMaxMessageBytes + 1 - connection.received.size();
    const auto wanted = static_cast<std::size_t>(std::min<qsizetype>(room, sizeof chunk));
    const ssize_t count = ::read(connection.socket, chunk, wanted);
    if (count < 0)
        return errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK;
    if (count == 0)
        return false;
    connection.received.append(chunk, count);
    const std::optional<qsizetype> whole = InstanceChannel::AnnouncedMessageBytes(connection.received);
    if (!whole)
        return false;
    if (*whole == 0 || connection.received.size() < *whole)
        return true;
    if (connection.received.size() > *whole)
        return false;
    const std::optional<QStringList> paths = InstanceChannel::DecodeMessage(connection.received);
    // The files are this instance's only once the later start can read that
    // they are; without the receipt it opens them itself.
    if (paths && ::send(connection.socket, &InstanceChannel::kReceipt, 1, MSG_NOSIGNAL) == 1)
        m_deliver(*paths);
    return false;
}

#else

// Elsewhere there is no private folder for the channel (see ChannelFolder.h).
HandOverListener::HandOverListener(QString socketPath, int deadlineMs, Deliver deliver)
    : m_socketPath(std::move(socketPath)), m_deliver(std::move(deliver)), m_deadlineMs(deadlineMs)
{
}
std::unique_ptr<HandOverListener> HandOverListener::Start(const QString&, int, Deliver) { return nullptr; }
HandOverListener::~HandOverListener() = default;

#endif
