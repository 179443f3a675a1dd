#include "platform/MessageBoxSeam.h"

#include <cstdio>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/DialogPlacement.h"

namespace {

MessageBoxSeam::Responder &responder() {
    static MessageBoxSeam::Responder r;
    return r;
}

struct Choice {
    QMessageBox::StandardButton button;
    int result;
};

QList<Choice> choicesFor(int set) {
    using B = QMessageBox;
    switch (set) {
    case MsgBox::OkCancel: return {{B::Ok, MsgBox::Ok}, {B::Cancel, MsgBox::Cancel}};
    case MsgBox::AbortRetryIgnore:
        return {{B::Abort, MsgBox::Abort}, {B::Retry, MsgBox::Retry}, {B::Ignore, MsgBox::Ignore}};
    case MsgBox::YesNoCancel: return {{B::Yes, MsgBox::Yes}, {B::No, MsgBox::No}, {B::Cancel, MsgBox::Cancel}};
    case MsgBox::YesNo: return {{B::Yes, MsgBox::Yes}, {B::No, MsgBox::No}};
    case MsgBox::RetryCancel: return {{B::Retry, MsgBox::Retry}, {B::Cancel, MsgBox::Cancel}};
    default: return {{B::Ok, MsgBox::Ok}};
    }
}

QMessageBox::Icon iconFor(int buttons) {
    switch (buttons & 0x70) {
    case MsgBox::Critical: return QMessageBox::Critical;
    case MsgBox::Question: return QMessageBox::Question;
    case MsgBox::Exclamation: return QMessageBox::Warning;
    case MsgBox::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

int MessageBoxSeam::closeResult(int buttons) {
    const int set = buttons & 0x0F;
    if (set == MsgBox::OkCancel || set == MsgBox::YesNoCancel || set == MsgBox::RetryCancel) return MsgBox::Cancel;
    if (set == MsgBox::YesNo) return MsgBox::No;
    if (set == MsgBox::AbortRetryIgnore) return MsgBox::Abort;
    return MsgBox::Ok;
}

int MessageBoxSeam::defaultResult(int buttons) {
    const QList<Choice> choices = choicesFor(buttons & 0x0F);
    const int index = (buttons & MsgBox::DefaultButton3) ? 2 : (buttons & MsgBox::DefaultButton2) ? 1 : 0;
    return choices.at(index < choices.size() ? index : 0).result;
}

MessageBoxSeam::Responder MessageBoxSeam::setResponder(Responder r) {
    Responder previous = std::move(responder());
    responder() = std::move(r);
    return previous;
}

int MessageBoxSeam::show(const QString &prompt, int buttons, const QString &title) {
    if (responder()) return responder()(MessageRequest{prompt, buttons, title});
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(prompt));
        return closeResult(buttons);
    }
    QMessageBox box(iconFor(buttons), title, prompt, QMessageBox::NoButton, ProgramMainWindow());
    box.setWindowModality(Qt::ApplicationModal);
    const QList<Choice> choices = choicesFor(buttons & 0x0F);
    for (const Choice &c : choices) box.addButton(c.button);
    const int defaultIndex = (buttons & MsgBox::DefaultButton3) ? 2 : (buttons & MsgBox::DefaultButton2) ? 1 : 0;
    if (defaultIndex < choices.size()) box.setDefaultButton(choices.at(defaultIndex).button);
    box.adjustSize();
    CentreOnMainWindow(&box);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice &c : choices)
        if (c.button == clicked) return c.result;
    return closeResult(buttons);
}
