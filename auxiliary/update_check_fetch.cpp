#include "auxiliary/update_check_fetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <memory>
#include <mutex>

namespace {

// The server answered, even if with an error status: its page is the answer.
bool ServerAnswered(const QNetworkReply& reply) {
    if (!reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return false;
    const QNetworkReply::NetworkError error = reply.error();
    return error == QNetworkReply::NoError ||
           (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
}

QString LineText(QByteArray line) {
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

} // namespace

FirstLine FetchFirstLine(const QUrl& url, std::chrono::milliseconds timeout) {
    // Whatever the registry holds, only a web server is asked.
    if (url.scheme() != u"http" && url.scheme() != u"https")
        return {FirstLine::ConnectionFailed, {}};
    static std::once_flag proxyChosen;
    std::call_once(proxyChosen, [] { QNetworkProxyFactory::setUseSystemConfiguration(true); });

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Tamblewick"));
    request.setTransferTimeout(static_cast<int>(timeout.count()));
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));
    // Keeps a huge answer from piling up in memory while only its start matters.
    reply->setReadBufferSize(kFirstLineLimit);

    QEventLoop loop;
    QByteArray received;
    bool lineComplete = false;
    const auto take = [&] {
        if (lineComplete)
            return;
        received += reply->read(kFirstLineLimit - received.size());
        const qsizetype end = received.indexOf('\n');
        if (end >= 0)
            received.truncate(end);
        if (end >= 0 || received.size() >= kFirstLineLimit) {
            lineComplete = true;
            loop.quit();
        }
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A server that sends a byte now and then never trips the timeout; this ends it too.
    QTimer::singleShot(timeout * kSlowAnswerFactor, &loop, &QEventLoop::quit);
    loop.exec();
    if (lineComplete) {
        reply->abort();
        return {FirstLine::Line, LineText(received)};
    }
    if (!reply->isFinished() || !ServerAnswered(*reply))
        return {FirstLine::ConnectionFailed, {}};
    if (received.isEmpty())
        return {FirstLine::NoLine, {}};
    return {FirstLine::Line, LineText(received)};
}
