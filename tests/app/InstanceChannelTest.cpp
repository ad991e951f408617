// A second start hands its file to the running instance; what it sends is
// bounded, and anything else on the channel is dropped unanswered.
#include "AppTestSupport.h"
#include "NamedRows.h"
#include "app/InstanceChannel.h"
#include "app/KestrixApp.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

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

// What a raw connection that sends `bytes`, a byte every `pauseMs` when
// given, gets back before the running instance closes it: "\x06" for a
// message taken, nothing for a dropped one; "left open" when it is still
// connected after 3 seconds.
QByteArray SendRaw(const QString& socketPath, const QByteArray& bytes, int pauseMs = 0)
{
    return Elsewhere([&] {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (!socket.waitForConnected(2000))
            return QByteArray("not connected");
        for (qsizetype sent = 0; sent < bytes.size() && socket.state() == QLocalSocket::ConnectedState;) {
            const QByteArray piece = pauseMs > 0 ? bytes.mid(sent, 1) : bytes;
            socket.write(piece);
            socket.waitForBytesWritten(2000);
            sent += piece.size();
            QThread::msleep(pauseMs);
        }
        QByteArray answer;
        while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(3000))
            answer += socket.readAll();
        if (socket.state() == QLocalSocket::ConnectedState)
            return QByteArray("left open");
        return answer + socket.readAll();
    });
}

// Takes every descriptor this process has free, its soft limit lowered to
// just above those in use so that few are needed; gives all back on going.
class AllDescriptorsTaken {
public:
    AllDescriptorsTaken()
    {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        rlim_t highest = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
            highest = std::max<rlim_t>(highest, std::stoul(entry.path().filename().string()));
        rlimit lowered = m_saved;
        lowered.rlim_cur = std::min(m_saved.rlim_cur, highest + 8);
        setrlimit(RLIMIT_NOFILE, &lowered);
        for (int taken; (taken = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            m_taken.push_back(taken);
    }
    ~AllDescriptorsTaken()
    {
        for (int taken : m_taken)
            close(taken);
        setrlimit(RLIMIT_NOFILE, &m_saved);
    }

private:
    rlimit m_saved{};
    std::vector<int> m_taken;
};

QByteArray Message(const QByteArray& body, quint32 length)
{
    char header[8] = {'K', 'X', 'H', '1'};
    qToBigEndian(length, header + 4);
    return QByteArray(header, 8) + body;
}
QByteArray Message(const QByteArray& body) { return Message(body, static_cast<quint32>(body.size())); }

class InstanceChannelTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    const QString socket = PathIn(folder, "kestrix.socket");
};

// The first start finds nobody to hand its file to and serves; a second
// start hands its file over and can end, and the running program opens it.
TEST_F(InstanceChannelTest, ASecondStartHandsItsFileToTheRunningProgram)
{
    AppHarness harness;
    ASSERT_TRUE(harness.Start());
    InstanceChannel first(socket);
    ASSERT_FALSE(first.HandOverOrListen(harness.MakeSurvey("first.txt")));
    QObject::connect(&first, &InstanceChannel::filesReceived, &harness.App(), &CKestrixApp::OpenHandedOverFiles);
    EXPECT_FALSE(InstanceChannel(socket).Listen()); // nobody takes over a running instance

    const QString handed = harness.MakeSurvey("twö, with blanks.txt");
    EXPECT_TRUE(Elsewhere([&] { return InstanceChannel(socket).HandOverOrListen(handed); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return harness.Frames().size() == 4; }, 5000));
    EXPECT_EQ(harness.Captions().value(0), "twö, with blanks.txt:1");
}

TEST_F(InstanceChannelTest, ReplacesASocketLeftBehind)
{
    QFile leftOver(socket);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    InstanceChannel fresh(socket);
    EXPECT_TRUE(fresh.Listen());
}

// The receipt comes from the listener's own thread: later starts are answered
// at once while the window thread is busy (here blocked until they are done),
// and their files reach the window thread, in order, once its events run.
TEST_F(InstanceChannelTest, AnswersWhileTheWindowThreadIsBusy)
{
    InstanceChannel running(socket);
    ASSERT_TRUE(running.Listen());
    QSignalSpy received(&running, &InstanceChannel::filesReceived);
    const bool bothTaken = std::async(std::launch::async, [&] {
                               return InstanceChannel(socket).HandOver({"/first.txt"}, 1000) &&
                                      InstanceChannel(socket).HandOver({"/second.txt", "/third.txt"}, 1000);
                           }).get();
    EXPECT_TRUE(bothTaken);
    EXPECT_EQ(received.count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 2; }, 2000));
    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList({"/first.txt"}));
    EXPECT_EQ(received.at(1).at(0).toStringList(), QStringList({"/second.txt", "/third.txt"}));
}

// With no descriptor left a waiting connection cannot be accepted; the
// channel keeps its socket and takes the next hand-over once there are.
TEST_F(InstanceChannelTest, StillListensAfterRunningOutOfDescriptors)
{
    InstanceChannel running(socket);
    ASSERT_TRUE(running.Listen());
    QSignalSpy received(&running, &InstanceChannel::filesReceived);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QFile::encodeName(socket).toStdString().copy(address.sun_path, sizeof address.sun_path - 1);
    const int waiting = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(waiting, 0);
    {
        AllDescriptorsTaken exhausted;
        EXPECT_EQ(::connect(waiting, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        QTest::qWait(600); // accepting it fails meanwhile, more than once
    }
    close(waiting);
    EXPECT_TRUE(Elsewhere([&] { return InstanceChannel(socket).HandOver({"/after.txt"}); }));
    EXPECT_TRUE(received.count() == 1 || received.wait(2000));
}

struct MessageRow {
    const char* name;
    QByteArray message;
    bool read;
};

class WireMessage : public ::testing::TestWithParam<MessageRow> {};

// What goes on the wire: only a whole, well-formed message is taken, and what
// is read is what a sender writes.
TEST_P(WireMessage, IsReadOnlyWhenWellFormedAndWithinTheLimits)
{
    const std::optional<QStringList> paths = InstanceChannel::DecodeMessage(GetParam().message);
    EXPECT_EQ(paths.has_value(), GetParam().read);
    if (paths) {
        EXPECT_EQ(InstanceChannel::EncodeMessage(*paths), GetParam().message);
    }
}

const QByteArray kManyPaths = QByteArray("/a").append('\0').repeated(1001);
INSTANTIATE_TEST_SUITE_P(
    InstanceChannelMessage, WireMessage,
    ::testing::Values(
        MessageRow{"TwoPaths", Message(QByteArray("/a b.txt\0/c/d\xc3\xb6.txt\0", 20)), true},
        MessageRow{"WrongMagic", QByteArray("KXH2") + Message(QByteArray("/a\0", 3)).mid(4), false},
        MessageRow{"LengthBeyondTheBytes", Message(QByteArray("/a\0", 3), 4), false},
        MessageRow{"BytesBeyondTheLength", Message(QByteArray("/a\0/b\0", 6), 3) + QByteArray("/b\0", 3), false},
        MessageRow{"NoPaths", Message(QByteArray()), false}, MessageRow{"NoFinalZero", Message("/a"), false},
        MessageRow{"EmptyPath", Message(QByteArray("/a\0\0", 4)), false},
        MessageRow{"RelativePath", Message(QByteArray("a.txt\0", 6)), false},
        MessageRow{"NotUtf8", Message(QByteArray("/a\xff.txt\0", 8)), false},
        MessageRow{"Over1000Paths", Message(kManyPaths), false},
        MessageRow{"1000Paths", Message(kManyPaths.left(3000)), true},
        MessageRow{"Over64KiB", Message(QByteArray("/").append(QByteArray(65528, 'x')).append('\0')), false}),
    RowName());

// A sender keeps to the same limits rather than send what would be dropped.
TEST(InstanceChannelMessage, SendersKeepToTheLimits)
{
    EXPECT_FALSE(InstanceChannel::EncodeMessage(QStringList(1001, "/a")));
    EXPECT_FALSE(InstanceChannel::EncodeMessage({"relative.txt"}));
    EXPECT_FALSE(InstanceChannel::EncodeMessage({"/" + QString(65528, 'x')}));
    EXPECT_TRUE(InstanceChannel::EncodeMessage({"/" + QString(65526, 'x')}));
}

struct ConnectionRow {
    const char* name;
    QByteArray bytes;
    QByteArray answer;
    int pauseMs = 0; // between bytes, when they trickle in
};

class Connection : public InstanceChannelTest, public ::testing::WithParamInterface<ConnectionRow> {};

// Only a whole message is answered and delivered; an oversized connection, or
// one whose message is not all there by the deadline, is dropped unanswered.
TEST_P(Connection, IsAnsweredOnlyForAWholeMessage)
{
    InstanceChannel running(socket);
    running.SetMessageDeadline(200);
    ASSERT_TRUE(running.Listen());
    QSignalSpy received(&running, &InstanceChannel::filesReceived);
    EXPECT_EQ(SendRaw(socket, GetParam().bytes, GetParam().pauseMs), GetParam().answer);
    const bool taken = !GetParam().answer.isEmpty();
    EXPECT_EQ(received.count() == 1 || received.wait(taken ? 2000 : 300), taken);
    if (taken) {
        EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList({"/a.txt"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    InstanceChannelTest, Connection,
    ::testing::Values(ConnectionRow{"StreamBeyond64KiB", Message(QByteArray(200000, 'x'), 200000), ""},
                      ConnectionRow{"HalfAMessageThenSilence", Message(QByteArray("/a.txt\0", 7)).left(9), ""},
                      // Never silent for long, yet far slower than the deadline.
                      ConnectionRow{"TrickledPastTheDeadline", Message(QByteArray("/a.txt\0", 7)), "", 60},
                      ConnectionRow{"WholeMessage", Message(QByteArray("/a.txt\0", 7)), "\x06"}),
    RowName());

} // namespace
