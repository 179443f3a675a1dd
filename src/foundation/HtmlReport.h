// The HTML report of a run: the run's upgrade log turned into one file under
// <data folder>/AcctUpgradeLog/, after which the log tables are dropped; and
// the opening of a report in the default browser. The file is text in the
// ANSI code page and declares that encoding; every value is HTML-escaped.
// UI thread only.
#pragma once

#include <functional>

#include <QString>
#include <QUrl>

// Writes <report folder>/<title>.html (replacing a file of that name) from
// AIS_UpgradeLog_Main and its detail tables, then drops the tables. The path
// goes to g_CheckReportPath on step 2, else to g_UpgradeReportPath. A detail
// table that cannot be read leaves its section empty and the report goes on;
// other failures are told ("岫禾提示", warning icon).
void WriteHtmlReport(const QString &title);

// The address OpenReport opens: the file with anchor as its fragment ("#"
// alone for an empty anchor).
QUrl ReportUrl(const QString &path, const QString &anchor);
// Shows the report at the anchor (a detail-table name, or "日志总览" for the
// top) with the desktop's handler; a failure to start it is told with the
// reason and the report's path.
void OpenReport(const QString &path, const QString &anchor);

// How a report reaches the browser: true when started, else false with a
// reason. The default is OpenWithDesktop; tests may install their own.
using ReportOpener = std::function<bool(const QUrl &url, QString &error)>;
// Installs an opener (none: the default) and returns the previous one.
ReportOpener SetReportOpener(ReportOpener opener);
