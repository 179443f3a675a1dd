#include "platform/MessageScript.h"

MessageScript::MessageScript(QList<int> replies) : m_replies(std::move(replies)) {
    m_previous = MessageBoxSeam::setResponder([this](const MessageRequest &request) {
        m_requests.append(request);
        if (m_replies.isEmpty()) return MessageBoxSeam::closeResult(request.buttons);
        return m_replies.takeFirst();
    });
}

MessageScript::~MessageScript() { MessageBoxSeam::setResponder(std::move(m_previous)); }

QList<int> MessageScript::parseReplies(const QString &text, QString *error) {
    static const char *const names[] = {"ok", "cancel", "abort", "retry", "ignore", "yes", "no"};
    QList<int> replies;
    int lineNumber = 0;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        ++lineNumber;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        bool isNumber = false;
        const int number = line.toInt(&isNumber);
        int reply = isNumber && number >= MsgBox::Ok && number <= MsgBox::No ? number : 0;
        for (int k = 0; k < 7 && !reply; ++k)
            if (line.compare(QLatin1String(names[k]), Qt::CaseInsensitive) == 0) reply = k + 1;
        if (!reply) {
            if (error) *error = QStringLiteral("line %1: not a reply: %2").arg(lineNumber).arg(line);
            return replies;
        }
        replies.append(reply);
    }
    return replies;
}
