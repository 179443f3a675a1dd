#include "UpgradeRunFixture.h"

#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "wizard/UpgradeRuns.h"

void UpgradeRunFixture::SetUp() {
    UpgradeStepFixture::SetUp();
    g_CancelRequested = false;
    SetUpgradeLogSink([this](const UpgradeLogLine &line) {
        lines << line.status + QLatin1Char('\t') + line.project + QLatin1Char('\t') + line.description;
        if (onLine) onLine(line.status, line.project);
    });
}

void UpgradeRunFixture::TearDown() {
    SetUpgradeLogSink(nullptr);
    g_CancelRequested = false;
    UpgradeStepFixture::TearDown();
}

RunOutcome UpgradeRunFixture::checkAndUpgrade() {
    g_WizardStep = 2;
    const RunOutcome check = RunDataCheck(bar, label);
    if (check != RunOutcome::Passed) return check;
    g_WizardStep = 3;
    UpgradeBars bars;
    bars.fill(bar);
    return RunUpgrade(bars, label);
}

void UpgradeRunFixture::dropTarget() {
    EXPECT_EQ(server.run(QStringLiteral("master"), QStringLiteral("DROP DATABASE ") + kTarget), QString());
    EXPECT_EQ(server.run(QStringLiteral("AcctCtl"),
                         QStringLiteral("DELETE FROM t_ad_xrAccount_gl WHERE FAcctNumber = '") + kTarget +
                             QStringLiteral("'")),
              QString());
}

QStringList UpgradeRunFixture::tableContents(const QString &table, const QStringList &skipped) const {
    QStringList columns;
    for (const QString &name :
         target(QStringLiteral("SELECT name FROM syscolumns WHERE id = object_id('%1') ORDER BY colid").arg(table)))
        if (!skipped.contains(name, Qt::CaseInsensitive)) columns << name;
    if (columns.isEmpty()) return {};
    return target(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(columns.join(QStringLiteral(", ")), table));
}
