#include "AppIcon.h"
#include "InstanceChannel.h"
#include "KestrixApp.h"
#include "MainFrame.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <cstdio>
#include <cstdlib>

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

} // namespace

int main(int argc, char* argv[])
{
    if (!DisplayNamed()) {
        std::fputs("kestrix: no display to open (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset)\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ardencroft"));
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.4"));
    QApplication::setDesktopFileName(QStringLiteral("kestrix"));
    QApplication::setWindowIcon(ProgramIcon());

    const QStringList arguments = QApplication::arguments();
    const QString file = CKestrixApp::FileArgument(arguments);

    // A start with a file hands it to the instance already running, if any;
    // otherwise this instance serves the later ones. The lock keeps two
    // starts from deciding this at the same moment.
    const QString serverName = InstanceChannel::DefaultServerName();
    InstanceChannel channel(serverName);
    {
        // Beside the socket, or named after the user in the temporary folder.
        const QString socketPath =
            QDir::isAbsolutePath(serverName) ? serverName : QDir::temp().filePath(serverName);
        QLockFile lock(socketPath + QStringLiteral(".lock"));
        lock.tryLock(5000);
        if (!file.isEmpty() && channel.HandOver({QFileInfo(file).absoluteFilePath()}))
            return 0;
        channel.Listen();
    }

    CKestrixApp app;
    if (!app.InitInstance(arguments))
        return 1;
    QObject::connect(&channel, &InstanceChannel::filesReceived, &app, [&app](const QStringList& paths) {
        CMainFrame* frame = app.MainFrame();
        if (frame->isMinimized())
            frame->showNormal();
        frame->raise();
        frame->activateWindow();
        for (const QString& path : paths)
            app.OpenDocumentFile(path);
    });
    return application.exec();
}
