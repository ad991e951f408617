#include "app/ChannelFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace handover {

namespace {

// "[protocol/][host]:display[.screen]" as "x11:host:display.screen", or the
// text as given when it does not read so (it then only meets itself).
QString X11Key(const QString& display)
{
    const QString text = display.trimmed();
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return QStringLiteral("x11?") + text;
    QString host = text.left(colon).toLower();
    // The spellings of the local socket; any other host stays apart.
    for (const char* local : {"unix", "unix/", "local/", "unix/unix"}) {
        if (host == QLatin1String(local))
            host.clear();
    }
    const QStringList numbers = text.mid(colon + 1).split(QLatin1Char('.'));
    bool displayOk = false;
    bool screenOk = numbers.size() == 1;
    const uint number = numbers.value(0).toUInt(&displayOk);
    const uint screen = numbers.size() == 2 ? numbers[1].toUInt(&screenOk) : 0;
    if (!displayOk || !screenOk || numbers.size() > 2)
        return QStringLiteral("x11?") + text;
    return QStringLiteral("x11:%1:%2.%3").arg(host).arg(number).arg(screen);
}

} // namespace

QString DisplayKey(const QString& platform, const QString& x11Display, const QString& waylandDisplay)
{
    if (platform == QLatin1String("xcb"))
        return x11Display.trimmed().isEmpty() ? QString() : X11Key(x11Display);
    if (platform.startsWith(QLatin1String("wayland"))) {
        // An unset WAYLAND_DISPLAY means the compositor's default socket.
        const QString name = waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : waylandDisplay;
        return QStringLiteral("wayland:") + (QDir::isAbsolutePath(name) ? QDir::cleanPath(name) : name);
    }
    return QString();
}

#if defined(Q_OS_UNIX)

bool IsPrivateFolder(const QString& path, unsigned uid)
{
    struct stat info {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == uid && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

QString PrivateFolder(const QString& runtimeDir, const QString& tempDir, unsigned uid)
{
    if (QDir::isAbsolutePath(runtimeDir) && IsPrivateFolder(runtimeDir, uid))
        return runtimeDir;
    if (tempDir.isEmpty())
        return QString();
    const QString fallback = QDir(tempDir).filePath(QStringLiteral("kestrix-%1").arg(uid));
    // Made here or found: either way it must pass the check, so a folder that
    // someone else made first, or a link planted in its place, is refused.
    if (::mkdir(QFile::encodeName(fallback).constData(), S_IRWXU) != 0 && errno != EEXIST)
        return QString();
    return IsPrivateFolder(fallback, uid) ? fallback : QString();
}

QString SocketPathOfThisStart(const QString& platform, const QString& x11DisplayOption)
{
    const QString x11 = x11DisplayOption.isEmpty() ? qEnvironmentVariable("DISPLAY") : x11DisplayOption;
    const QString key = DisplayKey(platform, x11, qEnvironmentVariable("WAYLAND_DISPLAY"));
    if (key.isEmpty())
        return QString();
    const unsigned uid = ::getuid();
    const QString folder = PrivateFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath(), uid);
    return folder.isEmpty() ? QString() : SocketPath(folder, uid, key);
}

#else

// Elsewhere there is no folder checked to be private: no hand-over.
bool IsPrivateFolder(const QString&, unsigned) { return false; }
QString PrivateFolder(const QString&, const QString&, unsigned) { return QString(); }
QString SocketPathOfThisStart(const QString&, const QString&) { return QString(); }

#endif

QString SocketPath(const QString& folder, unsigned uid, const QString& displayKey)
{
    // A digest keeps the name short (a socket's path has about 100 bytes)
    // and free of the characters a display name may hold.
    const QByteArray key = QStringLiteral("%1\n%2").arg(uid).arg(displayKey).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16);
    return QDir(folder).filePath(QStringLiteral("kestrix-%1.socket").arg(QString::fromLatin1(digest)));
}

} // namespace handover
