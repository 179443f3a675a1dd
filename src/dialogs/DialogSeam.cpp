#include "dialogs/DialogSeam.h"

#include <QDialog>

#include "controls/DialogFrame.h"

namespace {

DialogSeam::Responder &responder() {
    static DialogSeam::Responder r;
    return r;
}

}  // namespace

DialogSeam::Responder DialogSeam::setResponder(Responder r) {
    Responder previous = std::move(responder());
    responder() = std::move(r);
    return previous;
}

void DialogSeam::showModal(QDialog &dialog) {
    // Loading before the show: what loading raises reaches the caller here,
    // not inside the window system's event handling.
    if (auto *frame = dynamic_cast<DialogFrame *>(&dialog)) frame->ensureLoaded();
    if (!responder()) {
        dialog.exec();
        return;
    }
    // Shown as the operator would see it, so that loading runs first.
    dialog.show();
    Responder answer = responder();
    answer(dialog);
    if (dialog.isVisible()) dialog.hide();
}
