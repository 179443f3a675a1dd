// A statistics service of the test's own on 127.0.0.1: records each request
// line and answers with a fixed body (or not at all). Lives on the UI thread;
// requests arrive while the caller lets events run.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class LocalHttpService {
public:
    explicit LocalHttpService(QByteArray body = "#1#", bool answer = true);
    LocalHttpService(const LocalHttpService &) = delete;
    LocalHttpService &operator=(const LocalHttpService &) = delete;

    QString url() const;
    // The request lines, as sent.
    const QList<QByteArray> &requests() const { return m_requests; }
    // The "FFunctionValue" of each usage record received; tests may clear it.
    QStringList &events() { return m_events; }

private:
    QTcpServer m_server;
    QByteArray m_body;
    bool m_answer;
    QByteArray m_buffer;
    QList<QByteArray> m_requests;
    QStringList m_events;
};
