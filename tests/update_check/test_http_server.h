#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

namespace tw::test {

// A tiny HTTP server on the loopback interface, served by the test's event loop. Every request
// gets the same raw bytes; the connection is closed afterwards unless the server is told to
// keep it open, so that an answer can stop halfway (or never start), or to trickle on with one
// more "x" every `trickleMs`.
class TestHttpServer : public QObject {
public:
    explicit TestHttpServer(QByteArray answer = {}, bool keepOpen = false, int trickleMs = 0);

    // A complete answer with this status and body.
    static QByteArray Response(const QByteArray& body, int status = 200);

    // "http://127.0.0.1:PORT/"
    QString Address() const;
    // The header block of every request received, as sent.
    const QList<QByteArray>& Requests() const { return requests_; }

private:
    void OnConnection();

    QTcpServer server_;
    QByteArray answer_;
    bool keepOpen_;
    int trickleMs_;
    QList<QByteArray> requests_;
};

// The address of a port on which nothing listens.
QString AddressWithoutServer();

} // namespace tw::test
