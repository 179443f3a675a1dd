#include "support/LocalHttpService.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrl>

LocalHttpService::LocalHttpService(QByteArray body, bool answer) : m_body(std::move(body)), m_answer(answer) {
    m_server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                m_buffer += socket->readAll();
                if (!m_buffer.contains("\r\n\r\n")) return;
                const QByteArray line = m_buffer.left(m_buffer.indexOf("\r\n"));
                m_buffer.clear();
                m_requests << line;
                const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\"FFunctionValue\":\"([^\"]*)\""))
                                                      .match(QUrl::fromPercentEncoding(line));
                if (m.hasMatch()) m_events << m.captured(1);
                if (!m_answer) return;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
                              QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
                socket->disconnectFromHost();
            });
        }
    });
}

QString LocalHttpService::url() const { return QStringLiteral("http://127.0.0.1:%1/stat/").arg(m_server.serverPort()); }
