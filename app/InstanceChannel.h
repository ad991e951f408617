#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// Lets a second start of the program hand its file to the instance already
// running for the same user: the running one listens on a local socket that
// only its user may reach, a later one connects and sends the paths.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    // `serverName`: the socket's name or full path (see DefaultServerName).
    explicit InstanceChannel(QString serverName, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // The socket of the current user: in the user's runtime folder when there
    // is one, else a name of its own in the temporary folder.
    static QString DefaultServerName();

    // Sends `paths` (absolute) to a running instance. True when one took them.
    bool HandOver(const QStringList& paths, int timeoutMs = 2000);
    // Starts listening, replacing a socket left behind by an instance that
    // ended without closing it. False when another instance is listening or
    // no socket can be made.
    bool Listen();

signals:
    // Files sent by a later start, in the order given.
    void filesReceived(const QStringList& paths);

private:
    void OnNewConnection();

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
