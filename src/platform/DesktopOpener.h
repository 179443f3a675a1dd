// Opens a file or address with the desktop's handler (xdg-open), the way a
// Windows program hands a file to its default browser. A handler that
// cannot start, or that gives up within a short wait (a browser refusing to
// run, no program for the file type), is a failure with a reason; one still
// running after the wait has started. UI thread only.
#pragma once

#include <QString>
#include <QUrl>

// True when the handler started; false with the reason in error.
// PNW_DESKTOP_OPENER names another program to run instead of xdg-open.
bool OpenWithDesktop(const QUrl &url, QString &error);
