// A cancel requested at points of the upgrade run ends it as cancelled; a
// retry on a newly created target then converts exactly what a clean run
// does (every table alike), and the source file stays as it was.
#include "UpgradeRunFixture.h"

#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "accounts/CXRAc.h"
#include "wizard/StageRegistry.h"
#include "wizard/UpgradeRuns.h"

namespace {

// Where the cancel is requested: when the upgrade run writes an entry of a
// log project, or when a stage has ended; the run ends with that stage.
struct CancelPoint {
    const char *project;  // nullptr: at the end of the stage
    int stage;
};

const CancelPoint kPoints[] = {
    {nullptr, StageRegistry::BaseData},                // between stages
    {"凭证", StageRegistry::GeneralLedger},            // ledger, vouchers written
    {"科目余额", StageRegistry::GeneralLedger},        // ledger, balances written
    {nullptr, StageRegistry::FixedAssets},             // between stages
    {"工资项目升级", StageRegistry::Payroll},          // payroll, items written
    {"出纳管理银行账号升级", StageRegistry::Cashier},  // the last stage
};

// Tables the clean run must have filled, or the comparison proves little.
const char *const kFilled[] = {"t_Voucher", "t_VoucherEntry", "t_Balance", "t_Account", "t_FACard"};

class UpgradeCancelTest : public UpgradeRunFixture {};

TEST_F(UpgradeCancelTest, ACancelledRunRetriedGivesTheCleanRunsTarget) {
    useSample(QStringLiteral("standard"));
    const QByteArray before = FileHash(source);
    ASSERT_EQ(checkAndUpgrade(), RunOutcome::Passed) << lines.join(QLatin1Char('\n')).toStdString();
    const TargetContents clean = targetContents();
    for (const char *table : kFilled)
        ASSERT_FALSE(clean.value(QString::fromLatin1(table).toLower()).isEmpty()) << table;

    for (const CancelPoint &p : kPoints) {
        const std::string where = p.project ? p.project : GetStepName(p.stage).toStdString();
        dropTarget();
        lines.clear();
        onLine = [&p](const QString &, const QString &project) {
            if (g_WizardStep == 3 && p.project && project == QString::fromUtf8(p.project)) g_CancelRequested = true;
        };
        QList<int> stages;  // the upgrade run's stages, as they end
        SetStageObserver([&p, &stages](int code, int, double) {
            if (g_WizardStep != 3) return;
            stages << code;
            if (!p.project && code == p.stage) g_CancelRequested = true;
        });
        EXPECT_EQ(checkAndUpgrade(), RunOutcome::Cancelled) << where;
        ASSERT_FALSE(stages.isEmpty()) << where;
        EXPECT_EQ(stages.last(), p.stage) << where;
        ASSERT_FALSE(lines.isEmpty()) << where;
        EXPECT_TRUE(lines.last().endsWith(QStringLiteral("\t用户取消了数据检测,升级中断。")))
            << where << ": " << lines.join(QLatin1Char('\n')).toStdString();
        onLine = nullptr;
        SetStageObserver(nullptr);
        g_CancelRequested = false;

        dropTarget();
        lines.clear();
        ASSERT_EQ(checkAndUpgrade(), RunOutcome::Passed)
            << where << ": " << lines.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(differences(clean, targetContents()), QStringList()) << where;
        EXPECT_EQ(FileHash(source), before) << where;
    }
}

// The wizard's cancel deletes the account set at once, under the stage that
// is running: what that stage then fails at is the cancel's doing, so the
// log (and the report made from it) shows the cancel entry, not those
// failures as errors.
TEST_F(UpgradeCancelTest, ACancelThatDropsTheSetIsLoggedAsTheCancelOnly) {
    const struct {
        const char *project;  // the entry at which the operator cancels
        int step;             // 2 the check, 3 the upgrade
    } cases[] = {
        {"凭证", 3},
        {"工资项目升级", 3},
        {"会计期间设置", 2},
    };
    useSample(QStringLiteral("standard"));
    for (const auto &c : cases) {
        const QString where = QString::fromUtf8(c.project);
        const std::string at = c.project;
        lines.clear();
        int cancelledAt = -1;
        onLine = [&](const QString &, const QString &project) {
            if (cancelledAt >= 0 || g_WizardStep != c.step || project != where) return;
            cancelledAt = int(lines.size());
            g_CancelRequested = true;
            ASSERT_TRUE(ServerAdmin()->DeleteAcct(kTarget));
        };
        EXPECT_EQ(checkAndUpgrade(), RunOutcome::Cancelled) << at;
        ASSERT_GT(cancelledAt, 0) << at;
        const QStringList after = lines.mid(cancelledAt);
        ASSERT_FALSE(after.isEmpty()) << at;
        for (const QString &line : after)
            EXPECT_FALSE(line.startsWith(QStringLiteral("错误\t"))) << at << ": " << line.toStdString();
        const QString cancel =
            c.step == 3 ? QStringLiteral("\t用户取消了数据检测,升级中断。") : QStringLiteral("\t用户取消了数据检测");
        EXPECT_TRUE(after.last().startsWith(QStringLiteral("警告\t")) && after.last().endsWith(cancel))
            << at << ": " << after.join(QLatin1Char('\n')).toStdString();
        onLine = nullptr;
        g_CancelRequested = false;
        EXPECT_FALSE(ServerAdmin()->ExistAcct(kTarget)) << at;
    }
}

}  // namespace
