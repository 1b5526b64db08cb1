#include "update_check/test_http_server.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace tw::test {

TestHttpServer::TestHttpServer(QByteArray answer, bool keepOpen, int trickleMs)
    : answer_(std::move(answer)), keepOpen_(keepOpen), trickleMs_(trickleMs) {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, &TestHttpServer::OnConnection);
}

QByteArray TestHttpServer::Response(const QByteArray& body, int status) {
    return "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Not Found") +
           "\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QString TestHttpServer::Address() const {
    return u"http://127.0.0.1:%1/"_qs.arg(server_.serverPort());
}

void TestHttpServer::OnConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
            if (request->endsWith("\r\n\r\n")) // answered already
                return;
            *request += socket->readAll();
            if (!request->endsWith("\r\n\r\n"))
                return;
            requests_ << *request;
            socket->write(answer_);
            if (trickleMs_ > 0) {
                auto* trickle = new QTimer(socket);
                connect(trickle, &QTimer::timeout, socket, [socket] { socket->write("x"); });
                trickle->start(trickleMs_);
            } else if (!keepOpen_) {
                socket->disconnectFromHost();
            }
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

QString AddressWithoutServer() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return u"http://127.0.0.1:%1/"_qs.arg(port);
}

} // namespace tw::test
