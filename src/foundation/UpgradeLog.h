// The upgrade log of one run (a data check or an upgrade): every finding is
// one entry, a row of AIS_UpgradeLog_Main in AcctCtl (g_AcctCtlConnectString)
// with an optional detail table, and once the row is written one line handed
// to the wizard's log pages through the line sink. InitUpgradeLog starts a
// run; WriteHtmlReport ends it and drops the tables. UI thread only.
#pragma once

#include <functional>

#include <QString>

#include "platform/PnwList.h"

// One written entry as the log pages receive it.
struct UpgradeLogLine {
    QString status;  // status name ("成功", "警告", "错误" or "")
    QString time;    // regional short date, a blank, long time
    QString project;
    QString description;  // as stored (at most 3000 characters)
    QString detail;
    QString link;               // detail-table name, or ""
    bool forCheckPage = false;  // written while the wizard stood on step 2

    // The six fields joined by "|", as the log pages parse them.
    QString text() const;
    // Reads a joined line. Only the description may hold "|": the first
    // three fields are taken from the left, the last two from the right.
    // Missing fields are "".
    static UpgradeLogLine fromText(const QString &text);
};

using UpgradeLogSink = std::function<void(const UpgradeLogLine &line)>;
// Installs the receiver of log lines and returns the previous one (the
// wizard connects its pages here; none: lines go nowhere).
UpgradeLogSink SetUpgradeLogSink(UpgradeLogSink sink);

// Column widths of the log tables; longer values are cut to them.
constexpr int kLogProjectLength = 50;
constexpr int kLogDescriptionLength = 3000;
constexpr int kLogDetailLength = 500;
constexpr int kLogCellLength = 500;
constexpr int kLogLinkLength = 50;

// Starts a run: makes the report folder and re-creates AIS_UpgradeLog_Main.
// A failure is told ("不能创建日志，可能原因是：" ...) and the run goes on.
void InitUpgradeLog();

// Records one entry. detailLog is a packed detail log (clsDetailLogInfo),
// or an empty list for none. Never raises: a failure is told
// ("写入日志出现错误。原因可能是：" ...) and the entry gives no line. While a
// cancel is under way a failure (status 2) is not recorded: the cancel has
// deleted the account set the failing statement worked on.
void WriteUpgradeLog(const QString &project, const QString &description, const QString &detail, int status,
                     const PnwList &detailLog = PnwList());

// How many entries with status 2 the run has recorded since InitUpgradeLog
// (rows that could not be written included).
int UpgradeLogErrorCount();

// 0 "成功", 1 "警告", 2 "错误", anything else "".
QString GetStatusName(int status);
// The name of g_CurrentModule: 0 "还没有开始升级哦", 1 "新建账套", 2 "基础资料",
// 3 "固定资产", 4 "财务处理", 5 "工资管理", 6 "出纳管理", anything else "".
QString GetStepName();
// The name of a step code ("" for an unknown code).
QString GetStepName(int code);

// Appends a cell (a PnwDictionary with "Value" = text) to row.
void AddValueCell(PnwList row, const QString &text);
// Creates the folder (one level) when missing; raises PnwError 76 when it
// cannot.
void EnsureFolder(const QString &path);

// The report folder of the program: <data folder>/AcctUpgradeLog.
QString UpgradeReportFolder();
// The title shown for a detail table written in this run ("" when the name
// is not one of this run's).
QString DetailTableTitle(const QString &tableName);
