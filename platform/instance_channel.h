#pragma once

#include "platform/window_procedure.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>
#include <set>

class QLocalServer;
class QLocalSocket;

// How a starting copy finds the running copy with the same window title and hands it a message.
// The channel is a local socket in the temporary folder whose name holds the user id and the
// title, readable by this user only.
namespace platform::instance {

QString ChannelName(const QString& title);

// Held from the search for a running copy until this copy listens (or ends), so that two copies
// started at once cannot both become the first.
class StartGuard {
public:
    explicit StartGuard(const QString& title);
    void Release();

private:
    std::unique_ptr<QLockFile> lock_;
};

// True when a copy showing `title` accepts connections. A channel left by a crashed copy
// refuses them, so it counts as none.
bool RunningCopyExists(const QString& title);

// Sends `message` (wParam and lParam 0: addresses mean nothing in another process) and waits for
// the running copy to handle it, at most `replyTimeoutMs`. False when nobody answered in time.
bool SendToRunningCopy(const QString& title, unsigned message, int replyTimeoutMs);

// The running copy's end: hands the messages it allows to `receiver` on the UI thread and
// answers with the result.
class Server : public QObject {
    Q_OBJECT
public:
    Server(const QString& title, WindowProcedure& receiver, std::set<unsigned> allowedMessages);
    ~Server() override;

    // Takes over a stale channel, never a live one; false when another copy owns the title.
    bool Listen();

private:
    void Serve(QLocalSocket* socket);

    QString name_;
    WindowProcedure& receiver_;
    std::set<unsigned> allowed_;
    QLocalServer* server_;
};

} // namespace platform::instance
