// How the program shows its modal dialogs: showModal() runs the dialog's
// modal loop until the dialog hides itself, unless a responder is installed
// (tests and unattended runs, see DialogScript). A DialogFrame is loaded
// first, so an error of its loading reaches the caller. A responder gets the dialog
// shown and loaded, acts on it as an operator would (clicks, typing, or
// setting its outputs), and returns; a dialog it left open is hidden then.
// UI thread only.
#pragma once

#include <functional>

class QDialog;

class DialogSeam {
public:
    using Responder = std::function<void(QDialog &)>;

    static void showModal(QDialog &dialog);
    // The previous responder is returned so that scopes can nest.
    static Responder setResponder(Responder responder);
};
