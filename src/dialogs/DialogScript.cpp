#include "dialogs/DialogScript.h"

#include <QDialog>

DialogScript::DialogScript(QList<Answer> answers) : m_answers(std::move(answers)) {
    m_previous = DialogSeam::setResponder([this](QDialog &dialog) {
        Shown shown;
        shown.className = QString::fromLatin1(dialog.metaObject()->className());
        shown.title = dialog.windowTitle();
        m_shown.append(shown);
        if (!m_answers.isEmpty()) {
            const Answer answer = m_answers.takeFirst();
            answer(dialog);
        }
        m_shown.back().leftOpen = dialog.isVisible();
    });
}

DialogScript::~DialogScript() { DialogSeam::setResponder(std::move(m_previous)); }
