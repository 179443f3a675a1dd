// The one gateway to message boxes. buttons is the sum of a button set and
// an icon (MsgBox:: constants: 0 OK, 1 OK/Cancel, 3 Yes/No/Cancel,
// 4 Yes/No; 16 critical, 48 warning, 64 information); the result is the
// button pressed (1 OK, 2 Cancel, 6 Yes, 7 No). Modal to the program; tests
// answer through MessageScript. UI thread only.
#pragma once

#include <QString>

#include "platform/MessageBoxSeam.h"

// The title of every message box the program shows.
inline const QString kMessageTitle = QStringLiteral("岫禾提示");
// The line break of messages, scripts and logs.
inline const QString kCrLf = QStringLiteral("\r\n");

int ShowMessage(const QString &prompt, int buttons, const QString &title);
