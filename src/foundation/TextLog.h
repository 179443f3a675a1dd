// The daily text log: the technical record of failures, one file per day
// under "LOG/" of the program's data folder, named like "2018-3-7.log".
// Each call appends one line "[<date> <time>]    <text>" with CR LF, in
// the ANSI code page. UI thread only.
#pragma once

#include <QDate>
#include <QString>

// Appends one line to the day's log; True when written. On failure the
// operator is told through ShowMessage ("写入日志文件失败！" ...), False is
// returned and the line is lost; earlier lines and files are untouched.
bool WriteTextLog(const QString &text);

// The path of the day's log file for a date (the folder may not exist yet).
QString TextLogPath(const QDate &day);
