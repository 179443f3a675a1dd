// What one call of an upgrade step works with: the target's connection
// string, one clsDataInfo, the bar and the label it was given, and the fold
// of its phases' results into the step's result (0 done, 1 warnings,
// 2 failed). A step driver makes one StepKit per CheckData or UpgradeData
// call and reads like its phase table:
//
//   StepKit kit(PoBar, LblObject, SQLConnectString);
//   kit.runPhase("升级账套选项...", 5, [&] { return UpgradeOptions(kit); });
//   kit.runPhase("升级会计期间..", 10, [&] { return UpgradePeriods(kit); });
//   return kit.result();
//
// A null bar or label is allowed (checks show no progress). UI thread only.
#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "foundation/clsDataInfo.h"

class ProgressBar;
class QLabel;

class StepKit {
public:
    // connectString "" means g_TargetConnectString.
    StepKit(ProgressBar *bar, QLabel *label, const QString &connectString);
    StepKit(const StepKit &) = delete;
    StepKit &operator=(const StepKit &) = delete;

    const QString &connectString() const { return m_connectString; }
    clsDataInfo &data() { return m_data; }
    ProgressBar *bar() const { return m_bar; }
    QLabel *label() const { return m_label; }

    // The label's caption (nothing without a label).
    void caption(const QString &text);
    // InitProgress(bar, max, true) (nothing without a bar).
    void initProgress(int max = 100);
    // SetProgress (nothing without a bar); lets pending events run.
    void progress(int value);

    // Runs a phase unless an earlier phase failed: caption (when not empty),
    // the phase, then the bar at progressAfter (when 0 or more). The phase's
    // 0/1/2 is folded in; a PnwError or server error escaping the phase is
    // logged under project with "发生错误：" and its description, and
    // counts as 2. Returns false when the phase was skipped or failed.
    bool runPhase(const QString &caption, int progressAfter, const std::function<int()> &phase,
                  const QString &project = QString());
    // Folds a result in (anything but 1 and 2 counts as 0).
    void fold(int phaseResult);
    // 2 when the last folded result was 2, else 1 when any was 1, else 0.
    int result() const;
    // The last folded result was 2: later phases do not run.
    bool failed() const { return m_last == 2; }

    // One batch in its own transaction (clsDataInfo::ExecuteSQL). On failure
    // a log entry with status 2: project, failureText followed by the
    // server's error, and the statement when withStatement; false.
    bool execute(const QString &sql, const QString &project, const QString &failureText, bool withStatement = true);
    // One batch; on failure error holds the server's text and nothing is
    // logged.
    bool execute(const QString &sql, QString &error);
    // A read-only client-side recordset; raises every server error except
    // 7303 (no recordset), as GetRs does.
    std::optional<ado::Recordset> query(const QString &sql);
    // A forward-only, read-only recordset that holds one row at a time: for
    // walking a large result once, in its order. Raises every server error
    // except 7303 (no recordset).
    std::optional<ado::Recordset> stream(const QString &sql);
    // The first column of the first row, Null when there is no row.
    QVariant scalar(const QString &sql);
    // Makes an index on a staged copy that statements key into row by row.
    // One already there (an earlier stage or run made it) or a table that
    // was not staged is left as it is: nothing is logged, as nothing failed.
    void indexStagedCopy(const QString &createIndexSql);

private:
    ProgressBar *m_bar;
    QLabel *m_label;
    QString m_connectString;
    clsDataInfo m_data;
    int m_last = 0;
    bool m_warned = false;
};
