// A second start hands its file to the running instance.
#include "InstanceChannel.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(InstanceChannelTest, HandsPathsToTheListeningInstance)
{
    QTemporaryDir folder;
    const QString name = folder.filePath("kestrix.socket");
    InstanceChannel running(name);
    InstanceChannel later(name);
    EXPECT_FALSE(later.HandOver({"/x.txt"}, 200)); // nobody listens yet
    ASSERT_TRUE(running.Listen());

    QSignalSpy received(&running, &InstanceChannel::filesReceived);
    const QStringList paths = {"/surveys/one.txt", "/surveys/twö, with blanks.txt"};
    EXPECT_TRUE(later.HandOver(paths, 200));
    ASSERT_TRUE(received.count() == 1 || received.wait(2000));
    EXPECT_EQ(received.at(0).at(0).toStringList(), paths);
}

TEST(InstanceChannelTest, DoesNotTakeOverARunningInstanceButReplacesAStaleSocket)
{
    QTemporaryDir folder;
    const QString name = folder.filePath("kestrix.socket");
    InstanceChannel running(name);
    ASSERT_TRUE(running.Listen());
    InstanceChannel second(name);
    EXPECT_FALSE(second.Listen());
    InstanceChannel later(name);
    QSignalSpy received(&running, &InstanceChannel::filesReceived);
    EXPECT_TRUE(later.HandOver({"/a.txt"}, 200));
    EXPECT_TRUE(received.count() == 1 || received.wait(2000));

    const QString stale = folder.filePath("stale.socket");
    QFile leftOver(stale);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    InstanceChannel fresh(stale);
    EXPECT_TRUE(fresh.Listen());
}

} // namespace
