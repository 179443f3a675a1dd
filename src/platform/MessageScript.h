// A scripted answerer for message boxes, for tests and unattended runs:
// while it lives it answers every box from its queue of replies (then with
// the box's close result) and records each request in order. Scripts nest;
// the previous answerer returns when this one is destroyed.
#pragma once

#include <QList>
#include <QString>

#include "platform/MessageBoxSeam.h"

class MessageScript {
public:
    explicit MessageScript(QList<int> replies = {});
    ~MessageScript();
    MessageScript(const MessageScript &) = delete;
    MessageScript &operator=(const MessageScript &) = delete;

    void addReply(int reply) { m_replies.append(reply); }

    // Replies written as text, one a line: a result number (1 to 7) or a
    // button name (OK, Cancel, Abort, Retry, Ignore, Yes, No; any case).
    // Blank lines and lines starting with "#" are skipped. On a line that
    // is neither, error names it and the list read so far is returned.
    static QList<int> parseReplies(const QString &text, QString *error);
    const QList<MessageRequest> &requests() const { return m_requests; }
    int count() const { return static_cast<int>(m_requests.size()); }
    // REQUIRES count() > 0.
    const MessageRequest &last() const { return m_requests.back(); }

private:
    QList<int> m_replies;
    QList<MessageRequest> m_requests;
    MessageBoxSeam::Responder m_previous;
};
