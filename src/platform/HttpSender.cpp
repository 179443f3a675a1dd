#include "platform/HttpSender.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

HttpReply HttpSender::post(const QUrl &url, int timeoutMs) {
    HttpReply result;
    if (!QCoreApplication::instance()) {
        result.error = QStringLiteral("no application object for network access");
        return result;
    }
    if (!url.isValid()) {
        result.error = QStringLiteral("invalid address: ") + url.errorString();
        return result;
    }
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply *reply = manager.sendCustomRequest(request, "POST");
    QEventLoop loop;
    bool timedOut = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (timedOut && !reply->isFinished()) {
        reply->abort();
        result.error = QStringLiteral("no reply within %1 ms").arg(timeoutMs);
    } else {
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (status.isValid()) {
            result.completed = true;
            result.status = status.toInt();
            result.body = reply->readAll();
        } else {
            result.error = reply->errorString();
        }
    }
    delete reply;
    return result;
}
