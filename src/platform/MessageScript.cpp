#include "platform/MessageScript.h"

MessageScript::MessageScript(QList<int> replies) : m_replies(std::move(replies)) {
    m_previous = MessageBoxSeam::setResponder([this](const MessageRequest &request) {
        m_requests.append(request);
        if (m_replies.isEmpty()) return MessageBoxSeam::closeResult(request.buttons);
        return m_replies.takeFirst();
    });
}

MessageScript::~MessageScript() { MessageBoxSeam::setResponder(std::move(m_previous)); }
