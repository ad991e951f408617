#include "app/AppIcon.h"
#include "app/ChannelFolder.h"
#include "app/InstanceChannel.h"
#include "app/KestrixApp.h"
#include "app/ProgramInfo.h"
#include "startup/StartupCheck.h"
#include "textio/ScratchFiles.h"

#include <QApplication>
#include <cstdio>
#include <optional>

namespace {
const startup::StartupFailure kNoDisplay{
    stderr, "kestrix: no display to open (set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen)\n"};
} // namespace

int main(int argc, char* argv[])
{
    textio::ReportOversizedWritesAsFailures();
    // Read before QApplication takes the window system's switches away.
    const std::string_view displayOption = startup::X11DisplayOption(argc, argv);
    const QString displayName = QString::fromLocal8Bit(displayOption);
    if (!startup::PlatformLooksAvailableHere(displayOption))
        return startup::ReportStartupFailure(kNoDisplay);
    startup::GuardStartup(kNoDisplay);
    QApplication application(argc, argv);
    startup::StartupFinished();
    QApplication::setOrganizationName(kProgramMaker);
    QApplication::setApplicationName(kProgramName);
    QApplication::setApplicationVersion(kProgramVersion);
    QApplication::setDesktopFileName(QStringLiteral("kestrix"));
    QApplication::setWindowIcon(ProgramIcon());

    const QStringList arguments = QApplication::arguments();

    // A start with a file hands it to the instance already running for this
    // user on this display, if any; otherwise this instance serves the later
    // ones. Without a private folder or a display there is no channel and
    // every start opens its own window.
    std::optional<InstanceChannel> channel;
    if (const QString socket = handover::SocketPathOfThisStart(QGuiApplication::platformName(), displayName);
        !socket.isEmpty()) {
        channel.emplace(socket);
        if (channel->HandOverOrListen(CKestrixApp::FileArgument(arguments)))
            return 0;
    }

    // Files handed over while the first file loads (a message box runs the
    // event loop) are held until the main window can open them.
    QStringList handedOverEarly;
    QMetaObject::Connection holdEarly;
    if (channel)
        holdEarly = QObject::connect(&*channel, &InstanceChannel::filesReceived,
                                     [&handedOverEarly](const QStringList& paths) { handedOverEarly += paths; });
    CKestrixApp app;
    if (!app.InitInstance(arguments))
        return 1;
    if (channel) {
        QObject::disconnect(holdEarly);
        QObject::connect(&*channel, &InstanceChannel::filesReceived, &app, &CKestrixApp::OpenHandedOverFiles);
        if (!handedOverEarly.isEmpty())
            app.OpenHandedOverFiles(handedOverEarly);
    }
    const int exitCode = application.exec();
    // The channel answers from a thread of its own: it must stop before the
    // windows go, or a later start would get a receipt for files never opened.
    channel.reset();
    return exitCode;
}
