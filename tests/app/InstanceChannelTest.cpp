// A second start hands its file to the running instance; what it sends is
// bounded, and anything else on the channel is dropped unanswered.
#include "app/InstanceChannel.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <chrono>
#include <future>
#include <gtest/gtest.h>

namespace {

// Runs `work` on another thread, as a later start runs in its own process,
// while this thread's event loop serves the running instance.
template <typename Work>
auto Elsewhere(Work work)
{
    auto result = std::async(std::launch::async, work);
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return result.get();
}

bool HandOverFromElsewhere(const QString& socket, const QStringList& paths)
{
    return Elsewhere([&] { return InstanceChannel(socket).HandOver(paths, 2000); });
}

// What a raw connection that sends `bytes` gets back before the running
// instance closes it: "\x06" for a message taken, nothing for a dropped one;
// "left open" when it is still connected after 3 seconds.
QByteArray SendRaw(const QString& socketPath, const QByteArray& bytes)
{
    return Elsewhere([&] {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (!socket.waitForConnected(2000))
            return QByteArray("not connected");
        socket.write(bytes);
        socket.waitForBytesWritten(2000);
        QByteArray answer;
        while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(3000))
            answer += socket.readAll();
        if (socket.state() == QLocalSocket::ConnectedState)
            return QByteArray("left open");
        return answer + socket.readAll();
    });
}

QByteArray Message(const QByteArray& body, quint32 length)
{
    char header[8] = {'K', 'X', 'H', '1'};
    qToBigEndian(length, header + 4);
    return QByteArray(header, 8) + body;
}
QByteArray Message(const QByteArray& body) { return Message(body, static_cast<quint32>(body.size())); }

class InstanceChannelTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    const QString socket = folder.filePath("kestrix.socket");
};

TEST_F(InstanceChannelTest, HandsPathsToTheListeningInstanceOnly)
{
    InstanceChannel running(socket);
    EXPECT_FALSE(HandOverFromElsewhere(socket, {"/x.txt"})); // nobody listens yet
    ASSERT_TRUE(running.Listen());

    QSignalSpy received(&running, &InstanceChannel::filesReceived);
    const QStringList paths = {"/surveys/one.txt", "/surveys/twö, with blanks.txt"};
    EXPECT_TRUE(HandOverFromElsewhere(socket, paths));
    ASSERT_TRUE(received.count() == 1 || received.wait(2000));
    EXPECT_EQ(received.at(0).at(0).toStringList(), paths);

    InstanceChannel second(socket);
    EXPECT_FALSE(second.Listen()); // does not take over a running instance
}

TEST_F(InstanceChannelTest, ReplacesASocketLeftBehind)
{
    QFile leftOver(socket);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    InstanceChannel fresh(socket);
    EXPECT_TRUE(fresh.Listen());
}

// What goes on the wire: only a whole, well-formed message is taken.
TEST(InstanceChannelMessage, OnlyWellFormedMessagesWithinTheLimitsAreRead)
{
    struct Row {
        const char* name;
        QByteArray message;
        bool read;
    };
    const QByteArray manyPaths = QByteArray("/a").append('\0').repeated(1001);
    const Row rows[] = {
        {"two paths", Message(QByteArray("/a b.txt\0/c/d\xc3\xb6.txt\0", 20)), true},
        {"wrong magic", QByteArray("KXH2") + Message(QByteArray("/a\0", 3)).mid(4), false},
        {"length beyond the bytes", Message(QByteArray("/a\0", 3), 4), false},
        {"bytes beyond the length", Message(QByteArray("/a\0/b\0", 6), 3) + QByteArray("/b\0", 3), false},
        {"no paths", Message(QByteArray()), false},
        {"no final zero", Message("/a"), false},
        {"empty path", Message(QByteArray("/a\0\0", 4)), false},
        {"relative path", Message(QByteArray("a.txt\0", 6)), false},
        {"not UTF-8", Message(QByteArray("/a\xff.txt\0", 8)), false},
        {"1001 paths", Message(manyPaths), false},
        {"1000 paths", Message(manyPaths.left(3000)), true},
        {"over 64 KiB", Message(QByteArray("/").append(QByteArray(65528, 'x')).append('\0')), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<QStringList> paths = InstanceChannel::DecodeMessage(row.message);
        EXPECT_EQ(paths.has_value(), row.read);
        if (paths) { // what is read is what a sender writes
            EXPECT_EQ(InstanceChannel::EncodeMessage(*paths), row.message);
        }
    }
    // A sender keeps to the same limits rather than send what would be dropped.
    EXPECT_FALSE(InstanceChannel::EncodeMessage(QStringList(1001, "/a")));
    EXPECT_FALSE(InstanceChannel::EncodeMessage({"relative.txt"}));
    EXPECT_FALSE(InstanceChannel::EncodeMessage({"/" + QString(65528, 'x')}));
    EXPECT_TRUE(InstanceChannel::EncodeMessage({"/" + QString(65526, 'x')}));
}

TEST_F(InstanceChannelTest, DropsOversizedAndIdleConnectionsUnanswered)
{
    InstanceChannel running(socket);
    running.SetIdleTimeout(200);
    ASSERT_TRUE(running.Listen());
    QSignalSpy received(&running, &InstanceChannel::filesReceived);
    struct Row {
        const char* name;
        QByteArray bytes;
        QByteArray answer;
    };
    const Row rows[] = {
        {"a stream beyond 64 KiB", Message(QByteArray(200000, 'x'), 200000), ""},
        {"half a message, then silence", Message(QByteArray("/a.txt\0", 7)).left(9), ""},
        {"a whole message", Message(QByteArray("/a.txt\0", 7)), "\x06"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SendRaw(socket, row.bytes), row.answer);
    }
    ASSERT_TRUE(received.count() == 1 || received.wait(2000));
    EXPECT_EQ(received.count(), 1);
    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList({"/a.txt"}));
}

} // namespace
