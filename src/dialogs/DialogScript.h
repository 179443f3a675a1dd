// A scripted answerer for the modal dialogs: while it lives it answers every
// dialog shown through DialogSeam with the next answer of its queue (with
// none left, the dialog is just hidden again) and records each dialog in
// order. An answer made for one dialog class and handed another is not run
// and is recorded as a mismatch. Scripts nest like MessageScript.
#pragma once

#include <functional>

#include <QList>
#include <QString>

#include "dialogs/DialogSeam.h"

class DialogScript {
public:
    using Answer = std::function<void(QDialog &)>;

    struct Shown {
        QString className;  // the dialog's class
        QString title;      // its window title
        bool leftOpen = false;
        bool mismatch = false;
    };

    explicit DialogScript(QList<Answer> answers = {});
    ~DialogScript();
    DialogScript(const DialogScript &) = delete;
    DialogScript &operator=(const DialogScript &) = delete;

    void add(Answer answer) { m_answers.append(std::move(answer)); }
    // An answer for dialogs of class D only.
    template <typename D>
    void add(std::function<void(D &)> answer) {
        m_answers.append([this, answer](QDialog &dialog) {
            if (auto *d = dynamic_cast<D *>(&dialog))
                answer(*d);
            else
                m_shown.back().mismatch = true;
        });
    }

    const QList<Shown> &shown() const { return m_shown; }
    int count() const { return static_cast<int>(m_shown.size()); }

private:
    QList<Answer> m_answers;
    QList<Shown> m_shown;
    DialogSeam::Responder m_previous;
};
