// One synchronous HTTP exchange on the UI thread, bounded by a time-out.
// While it waits, timers and painting go on but user input is held back,
// so no click can start other work in the middle of the exchange.
// REQUIRES a QCoreApplication. UI thread only.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

struct HttpReply {
    bool completed = false;  // an HTTP reply arrived (any status)
    int status = 0;          // HTTP status code when completed
    QByteArray body;
    QString error;  // why it did not complete ("" when it did)
};

class HttpSender {
public:
    // POST with an empty body and no headers of our own.
    static HttpReply post(const QUrl &url, int timeoutMs);
};
