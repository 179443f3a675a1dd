#include "UpgradeRunFixture.h"

#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardHooks.h"

void UpgradeRunFixture::SetUp() {
    UpgradeStepFixture::SetUp();
    g_CancelRequested = false;
    // The runs' own closing entries go to the log as in the program.
    WizardHooks::WriteUpgradeLog = [](const QString &project, const QString &description, const QString &detail,
                                      int status) { ::WriteUpgradeLog(project, description, detail, status); };
    SetUpgradeLogSink([this](const UpgradeLogLine &line) {
        lines << line.status + QLatin1Char('\t') + line.project + QLatin1Char('\t') + line.description;
        if (onLine) onLine(line.status, line.project);
    });
}

void UpgradeRunFixture::TearDown() {
    SetUpgradeLogSink(nullptr);
    SetStageObserver(nullptr);
    WizardHooks::ResetToDefaults();
    g_CancelRequested = false;
    UpgradeStepFixture::TearDown();
}

void UpgradeRunFixture::useSample(const QString &sample, bool balancesOnly) {
    useSettings(copySample(sample, true), kTarget);
    g_UpgradeSettings.DictionaryItem(1).setItem(QStringLiteral("Option"), balancesOnly ? 1 : 0);
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
    EXPECT_EQ(
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("DELETE FROM t_ad_xrAccount_gl WHERE FAcctNumber = '") +
                                                  kTarget + QStringLiteral("'")),
        QString());
}

QStringList UpgradeRunFixture::tableContents(const QString &table) const {
    const QStringList columns =
        target(QStringLiteral("SELECT name FROM syscolumns WHERE id = object_id('%1') ORDER BY colid").arg(table));
    if (columns.isEmpty()) return {};
    return target(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(columns.join(QStringLiteral(", ")), table));
}
