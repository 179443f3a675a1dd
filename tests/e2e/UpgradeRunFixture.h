// The wizard's two runs on an account set made from a sample: the data check
// (account creation and every stage's check), then the upgrade run, as the
// wizard and the runner call them. Log lines written during the runs are
// kept; a test may act on each one as it is written.
#pragma once

#include <functional>

#include <QMap>
#include <QStringList>

#include "kit/UpgradeStepFixture.h"
#include "wizard/RunOutcome.h"

class UpgradeRunFixture : public UpgradeStepFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The settings for a copy of a sample, everything upgraded or (the
    // wizard's second option) the balances only.
    void useSample(const QString &sample, bool balancesOnly = false);
    // The data check, then (when it passed) beforeUpgrade and the upgrade run.
    RunOutcome checkAndUpgrade(const std::function<void()> &beforeUpgrade = {});
    // Drops the target and its registration, as a retry starts afresh.
    void dropTarget();
    // The target's tables by lower-case name (the server ignores case in
    // names), each its rows sorted, without the runs' own time stamps:
    // rowversion columns are left out, and a date written while this test
    // program runs reads "<run time>".
    using TargetContents = QMap<QString, QStringList>;
    TargetContents targetContents() const;
    // One line per table whose contents differ: its name and the first row
    // that differs (none when the two agree).
    static QStringList differences(const TargetContents &expected, const TargetContents &actual);

    // Log lines written since SetUp: status, project, description.
    QStringList lines;
    // Told of every log line as it is written: status, project.
    std::function<void(const QString &status, const QString &project)> onLine;
};
