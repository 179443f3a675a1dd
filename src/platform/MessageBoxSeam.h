// The system message box. show() takes the Windows-style button and icon sum
// and returns the button pressed; a real QMessageBox, modal to the program,
// unless a responder is installed (tests: see MessageScript). UI thread only.
#pragma once

#include <functional>

#include <QString>

namespace MsgBox {
// Button sets.
constexpr int OkOnly = 0;
constexpr int OkCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
// Icons.
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
// Default button (second, third).
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
// Results.
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace MsgBox

struct MessageRequest {
    QString prompt;
    int buttons = 0;
    QString title;
};

class MessageBoxSeam {
public:
    using Responder = std::function<int(const MessageRequest &)>;

    // Shows the box (or asks the responder) and returns the result. Without
    // a responder and without a QApplication the text goes to stderr and
    // the answer is that of closing the box (Cancel, else OK, else No).
    static int show(const QString &prompt, int buttons, const QString &title);

    // The previous responder is returned so that scopes can nest.
    static Responder setResponder(Responder responder);

    // The result that closing the box with Escape gives for a button set.
    static int closeResult(int buttons);
    // The result of the box's default button (Enter).
    static int defaultResult(int buttons);
};
