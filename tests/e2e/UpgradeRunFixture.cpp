#include "UpgradeRunFixture.h"

#include <QDateTime>

#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardHooks.h"

namespace {

// No run of this program writes a date before it started.
const QDateTime kProgramStart = QDateTime::currentDateTime().addSecs(-60);

QString dateLiteral(const QDateTime &time) {
    return QLatin1Char('\'') + time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QLatin1Char('\'');
}

}  // namespace

void UpgradeRunFixture::SetUp() {
    UpgradeStepFixture::SetUp();
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
    UpgradeStepFixture::TearDown();
}

void UpgradeRunFixture::useSample(const QString &sample, bool balancesOnly) {
    useSettings(copySample(sample, true), kTarget);
    g_UpgradeSettings.DictionaryItem(1).setItem(QStringLiteral("Option"), balancesOnly ? 1 : 0);
}

RunOutcome UpgradeRunFixture::checkAndUpgrade(const std::function<void()> &beforeUpgrade) {
    g_WizardStep = 2;
    const RunOutcome check = RunDataCheck(bar, label);
    if (check != RunOutcome::Passed) return check;
    if (beforeUpgrade) beforeUpgrade();
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

UpgradeRunFixture::TargetContents UpgradeRunFixture::targetContents() const {
    // Type codes: 61 datetime, 58 smalldatetime, 189 rowversion.
    const QString from = dateLiteral(kProgramStart);
    const QString to = dateLiteral(QDateTime::currentDateTime().addSecs(60));
    TargetContents all;
    for (const QString &table : target(QStringLiteral("SELECT name FROM sysobjects WHERE xtype = 'U'"))) {
        QStringList cells;
        for (const QString &column :
             target(QStringLiteral("SELECT name, xtype FROM syscolumns WHERE id = object_id('%1') ORDER BY colid")
                        .arg(table))) {
            const QString name = QLatin1Char('[') + column.section(QLatin1Char('\t'), 0, 0) + QLatin1Char(']');
            const int type = column.section(QLatin1Char('\t'), 1).toInt();
            if (type == 189) continue;
            if (type == 61 || type == 58)
                cells << QStringLiteral("CASE WHEN %1 BETWEEN %2 AND %3 THEN '<run time>' ELSE CONVERT(varchar(23), "
                                        "%1, 121) END")
                             .arg(name, from, to);
            else
                cells << name;
        }
        QStringList rows =
            cells.isEmpty()
                ? QStringList()
                : target(QStringLiteral("SELECT %1 FROM [%2]").arg(cells.join(QStringLiteral(", ")), table));
        rows.sort();
        all.insert(table.toLower(), rows);
    }
    return all;
}

QStringList UpgradeRunFixture::differences(const TargetContents &expected, const TargetContents &actual) {
    QStringList found;
    QStringList tables = expected.keys() + actual.keys();
    tables.removeDuplicates();
    for (const QString &table : tables) {
        if (!expected.contains(table) || !actual.contains(table)) {
            found << table + (expected.contains(table) ? QStringLiteral(": missing") : QStringLiteral(": extra"));
            continue;
        }
        const QStringList &want = expected[table];
        const QStringList &got = actual[table];
        if (want == got) continue;
        qsizetype i = 0;
        while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
        found << QStringLiteral("%1: %2 rows, expected %3; first difference: %4 instead of %5")
                     .arg(table)
                     .arg(got.size())
                     .arg(want.size())
                     .arg(i < got.size() ? got[i] : QStringLiteral("<no row>"),
                          i < want.size() ? want[i] : QStringLiteral("<no row>"));
    }
    return found;
}
