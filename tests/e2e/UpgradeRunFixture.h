// The wizard's two runs on an account set made from a sample: the data check
// (account creation and every stage's check), then the upgrade run, as the
// wizard and the runner call them. Log lines written during the runs are
// kept; a test may act on each one as it is written.
#pragma once

#include <functional>

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
    // The data check, then (when it passed) the upgrade run.
    RunOutcome checkAndUpgrade();
    // Drops the target and its registration, as a retry starts afresh.
    void dropTarget();
    // Every row of a table, ordered by all its columns.
    QStringList tableContents(const QString &table) const;

    // Log lines written since SetUp: status, project, description.
    QStringList lines;
    // Told of every log line as it is written: status, project.
    std::function<void(const QString &status, const QString &project)> onLine;
};
