// The hand-over channel is the user's own on one display: starts on two
// displays never meet, and a folder others can reach is never used.
#include "AppTestSupport.h"
#include "NamedRows.h"
#include "app/ChannelFolder.h"
#include "app/InstanceChannel.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using handover::DisplayKey;

// Starts whose windows land on the same display share a key; any two
// displays differ; a platform without a display has none.
TEST(DisplayKeyTest, SameDisplaySameKeyOtherDisplayOtherKey)
{
    struct Row {
        const char* name;
        const char* platform;
        const char* x11;
        const char* wayland;
        const char* display; // rows naming the same display agree; "" is none
    };
    const Row rows[] = {
        {"local X display", "xcb", ":0", "", "local 0"},
        {"screen 0 spelt out", "xcb", ":0.0", "", "local 0"},
        {"the unix host", "xcb", "unix:0", "", "local 0"},
        {"the unix protocol", "xcb", "unix/:0", "", "local 0"},
        {"blanks and leading zeros", "xcb", " :00.0 ", "", "local 0"},
        {"wayland set but X chosen", "xcb", ":0", "wayland-0", "local 0"},
        {"another local display", "xcb", ":1", "", "local 1"},
        {"another screen", "xcb", ":0.1", "", "local 0 screen 1"},
        {"an ssh forwarded display", "xcb", "localhost:10.0", "", "ssh 10"},
        {"the same in capitals", "xcb", "LOCALHOST:10", "", "ssh 10"},
        {"a remote host", "xcb", "survey-pc:0", "", "remote 0"},
        {"unreadable display", "xcb", "nonsense", "", "nonsense"},
        {"wayland default", "wayland", ":0", "", "wayland-0"},
        {"wayland named", "wayland", "", "wayland-0", "wayland-0"},
        {"wayland egl", "wayland-egl", "", "wayland-0", "wayland-0"},
        {"another compositor", "wayland", "", "wayland-1", "wayland-1"},
        {"X without a display", "xcb", "", "", ""},
        {"offscreen", "offscreen", ":0", "wayland-0", ""},
        {"minimal", "minimal", ":0", "", ""},
    };
    for (const Row& a : rows) {
        const QString keyA = DisplayKey(a.platform, a.x11, a.wayland);
        EXPECT_EQ(keyA.isEmpty(), *a.display == '\0') << a.name;
        for (const Row& b : rows) {
            if (*a.display && *b.display) {
                EXPECT_EQ(keyA == DisplayKey(b.platform, b.x11, b.wayland), std::strcmp(a.display, b.display) == 0)
                    << a.name << " / " << b.name;
            }
        }
    }
}

TEST(DisplayKeyTest, StartsOnTwoDisplaysGetTwoChannelsThatDoNotMeet)
{
    ScratchFolder scratch;
    const QString folder = PathOf(scratch);
    const unsigned uid = ::getuid();
    const QString first = handover::SocketPath(folder, uid, DisplayKey("xcb", ":0", ""));
    const QString second = handover::SocketPath(folder, uid, DisplayKey("xcb", ":1", ""));
    const QString sameAsFirst = handover::SocketPath(folder, uid, DisplayKey("xcb", "unix:0.0", ""));
    EXPECT_NE(handover::SocketPath(folder, uid + 1, DisplayKey("xcb", ":0", "")), first);

    InstanceChannel running(first);
    ASSERT_TRUE(running.Listen());
    InstanceChannel other(second);
    EXPECT_TRUE(other.Listen()); // the second display's start serves its own windows
    EXPECT_TRUE(QFile::exists(first) && QFile::exists(second));
    EXPECT_EQ(sameAsFirst, first);
    EXPECT_LT(first.toUtf8().size(), 100); // fits a socket's path
}

enum class Uses { Runtime, Fallback, Nothing };
struct PrivateFolderRow {
    const char* name;
    int runtimeMode;  // -1: no runtime folder named
    int fallbackMode; // -1: none yet; -2: a file; -3: a link to a private folder
    bool anotherUser; // the folders are asked for another user
    Uses uses;
};

class PrivateFolder : public ::testing::TestWithParam<PrivateFolderRow> {};

// The runtime folder when it is private, else "kestrix-UID" in the temporary
// folder, made 0700; anything that others own or may enter is refused.
TEST_P(PrivateFolder, UsesOnlyAFolderNobodyElseCanReach)
{
    const PrivateFolderRow& row = GetParam();
    const unsigned me = ::getuid();
    const unsigned owner = row.anotherUser ? me + 1 : me;
    ScratchFolder base;
    const QString runtime = PathIn(base, "run");
    const QString temp = PathIn(base, "tmp");
    const QString fallback = QDir(temp).filePath(QStringLiteral("kestrix-%1").arg(owner));
    ASSERT_TRUE(QDir().mkpath(temp));
    if (row.runtimeMode >= 0) {
        ASSERT_TRUE(QDir().mkpath(runtime));
        ASSERT_EQ(::chmod(QFile::encodeName(runtime).constData(), row.runtimeMode), 0);
    }
    if (row.fallbackMode >= 0) {
        ASSERT_TRUE(QDir().mkpath(fallback));
        ASSERT_EQ(::chmod(QFile::encodeName(fallback).constData(), row.fallbackMode), 0);
    } else if (row.fallbackMode == -2) {
        QFile file(fallback);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    } else if (row.fallbackMode == -3) {
        const QString elsewhere = PathIn(base, "elsewhere");
        ASSERT_TRUE(QDir().mkpath(elsewhere));
        ASSERT_EQ(::chmod(QFile::encodeName(elsewhere).constData(), 0700), 0);
        ASSERT_TRUE(QFile::link(elsewhere, fallback));
    }
    const QString runtimeNamed = row.runtimeMode >= 0 ? runtime : QString();
    const QString expected = row.uses == Uses::Runtime ? runtime : row.uses == Uses::Fallback ? fallback : QString();
    EXPECT_EQ(handover::PrivateFolder(runtimeNamed, temp, owner).toStdString(), expected.toStdString());
    if (row.uses == Uses::Fallback) {
        EXPECT_TRUE(handover::IsPrivateFolder(fallback, me));
    }
}

INSTANTIATE_TEST_SUITE_P(
    PrivateFolderTest, PrivateFolder,
    ::testing::Values(PrivateFolderRow{"PrivateRuntimeFolder", 0700, -1, false, Uses::Runtime},
                      PrivateFolderRow{"RuntimeFolderOthersMayRead", 0750, -1, false, Uses::Fallback},
                      PrivateFolderRow{"RuntimeFolderOthersMayEnter", 0701, 0700, false, Uses::Fallback},
                      PrivateFolderRow{"NoRuntimeFolderFallbackMade", -1, -1, false, Uses::Fallback},
                      PrivateFolderRow{"FallbackAlreadyThere", -1, 0700, false, Uses::Fallback},
                      PrivateFolderRow{"FallbackTheGroupMayWrite", -1, 0770, false, Uses::Nothing},
                      PrivateFolderRow{"FallbackAnyoneMayEnter", -1, 0711, false, Uses::Nothing},
                      PrivateFolderRow{"FallbackIsAFile", -1, -2, false, Uses::Nothing},
                      PrivateFolderRow{"FallbackIsALink", -1, -3, false, Uses::Nothing},
                      PrivateFolderRow{"FoldersOfAnotherUser", 0700, 0700, true, Uses::Nothing}),
    RowName());

TEST(PrivateFolderTest, ARelativeRuntimeFolderIsRefused)
{
    EXPECT_TRUE(handover::PrivateFolder("relative/run", "", ::getuid()).isEmpty());
}

// As root, a folder really owned by someone else.
TEST(PrivateFolderTest, RefusesAFolderChownedToAnotherUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder away";
    ScratchFolder base;
    const QString fallback = PathIn(base, QStringLiteral("kestrix-%1").arg(::getuid()));
    ASSERT_TRUE(QDir().mkpath(fallback));
    ASSERT_EQ(::chmod(QFile::encodeName(fallback).constData(), 0700), 0);
    ASSERT_EQ(::chown(QFile::encodeName(fallback).constData(), 54321, 54321), 0);
    EXPECT_TRUE(handover::PrivateFolder(QString(), PathOf(base), ::getuid()).isEmpty());
}

} // namespace
