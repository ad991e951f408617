#include "app/AppIcon.h"
#include "app/ChannelFolder.h"
#include "app/InstanceChannel.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"

#include <QApplication>
#include <QFileInfo>
#include <QLockFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

// Qt aborts when it cannot open a display; say so plainly instead.
bool DisplayNamed()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

// The X display named by a -display switch (or --display), or empty.
QString DisplayOption(int argc, char* argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0 || std::strcmp(argv[i], "--display") == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return QString();
}

} // namespace

int main(int argc, char* argv[])
{
    if (!DisplayNamed()) {
        std::fputs("kestrix: no display to open (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset)\n", stderr);
        return 1;
    }
    // Read before QApplication takes the window system's switches away.
    const QString displayOption = DisplayOption(argc, argv);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ardencroft"));
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.4"));
    QApplication::setDesktopFileName(QStringLiteral("kestrix"));
    QApplication::setWindowIcon(ProgramIcon());

    const QStringList arguments = QApplication::arguments();
    const QString file = CKestrixApp::FileArgument(arguments);

    // A start with a file hands it to the instance already running for this
    // user on this display, if any; otherwise this instance serves the later
    // ones. Without a private folder or a display there is no channel and
    // every start opens its own window. The lock keeps two starts from
    // deciding this at the same moment.
    const QString socketPath = handover::SocketPathOfThisStart(QGuiApplication::platformName(), displayOption);
    std::optional<InstanceChannel> channel;
    if (!socketPath.isEmpty()) {
        channel.emplace(socketPath);
        QLockFile lock(socketPath + QStringLiteral(".lock"));
        lock.tryLock(5000);
        if (!file.isEmpty() && channel->HandOver({QFileInfo(file).absoluteFilePath()}))
            return 0;
        channel->Listen();
    }

    CKestrixApp app;
    if (!app.InitInstance(arguments))
        return 1;
    if (channel) {
        QObject::connect(&*channel, &InstanceChannel::filesReceived, &app, [&app](const QStringList& paths) {
            CMainFrame* frame = app.MainFrame();
            if (frame->isMinimized())
                frame->showNormal();
            frame->raise();
            frame->activateWindow();
            for (const QString& path : paths)
                app.OpenDocumentFile(path);
        });
    }
    return application.exec();
}
