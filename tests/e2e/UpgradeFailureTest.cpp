// A server error inside a stage of the upgrade run ends the run as failed,
// with that stage's closing failure entry and no success after the error; a
// retry on a newly created target then converts exactly what a clean run
// does (every table alike), and the source file stays byte for byte as it was.
#include "UpgradeRunFixture.h"

#include <optional>

#include <QFile>

#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "server/FaultInjection.h"
#include "wizard/StageRegistry.h"
#include "wizard/UpgradeRuns.h"

namespace {

// The server fails the first statement of the stage that writes the table,
// with the error as the server words it.
struct FailurePoint {
    int stage;
    const char *table;
    int error;
    const char *text;
};

const FailurePoint kPoints[] = {
    {StageRegistry::BaseData, "t_Item", 2627, "违反了 PRIMARY KEY 约束 'PK_Item'。不能在对象 't_Item' 中插入重复键。"},
    {StageRegistry::BaseData, "t_Account", 8152, "将截断字符串或二进制数据。"},
    {StageRegistry::GeneralLedger, "t_Voucher", 1205,
     "事务(进程 ID 53)与另一个进程被死锁在 锁 资源上，并且已被选作死锁牺牲品。请重新运行该事务。"},
    {StageRegistry::GeneralLedger, "t_Balance", 9002, "数据库 'A01' 的事务日志已满。"},
    {StageRegistry::FixedAssets, "t_FACard", 547,
     "INSERT 语句与 FOREIGN KEY 约束\"FK_FACard\"冲突。冲突发生于数据库\"A01\"，表\"t_FACard\"。"},
    {StageRegistry::Payroll, "t_PANewData", 515,
     "不能将值 NULL 插入列 'FEmpID'，表 'A01.dbo.t_PANewData'；列不允许有 Null 值。INSERT 失败。"},
    {StageRegistry::Cashier, "CN_XJRJZ", 8152, "将截断字符串或二进制数据。"},
};

void PrintTo(const FailurePoint &p, std::ostream *os) { *os << GetStepName(p.stage).toStdString() << ", " << p.table; }

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class UpgradeFailureTest : public UpgradeRunFixture, public ::testing::WithParamInterface<FailurePoint> {
protected:
    void TearDown() override {
        server::ResetFaults();
        UpgradeRunFixture::TearDown();
    }

    // The target of a clean run on the standard sample, made once for all
    // cases; the target is dropped again after it.
    const TargetContents &cleanTarget() {
        static std::optional<TargetContents> clean;
        if (!clean) {
            EXPECT_EQ(checkAndUpgrade(), RunOutcome::Passed) << lines.join(QLatin1Char('\n')).toStdString();
            clean = targetContents();
            dropTarget();
            lines.clear();
        }
        return *clean;
    }
};

TEST_P(UpgradeFailureTest, AFailedStageEndsTheRunAndARetryGivesTheCleanRunsTarget) {
    const FailurePoint &p = GetParam();
    useSample(QStringLiteral("standard"));
    const TargetContents &clean = cleanTarget();
    ASSERT_FALSE(clean.value(QString::fromLatin1(p.table).toLower()).isEmpty()) << p.table << " is not converted";
    const QByteArray before = fileBytes(source);
    ASSERT_FALSE(before.isEmpty());

    QList<QPair<int, int>> stages;  // the upgrade run's stages as they end: code, result
    SetStageObserver([&stages](int code, int result, double) {
        if (g_WizardStep == 3) stages << qMakePair(code, result);
    });
    qsizetype failedAt = -1;  // log lines written before the failing statement
    const RunOutcome outcome = checkAndUpgrade([&] {
        server::FailStatementWhen(
            [&](std::string_view sql) {
                if (g_CurrentModule != p.stage || !server::WritesTable(sql, p.table)) return false;
                failedAt = lines.size();
                return true;
            },
            p.error, p.text);
    });
    SetStageObserver(nullptr);
    const std::string log = lines.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(server::FaultFired()) << "no statement of the stage writes " << p.table << "\n" << log;
    EXPECT_EQ(outcome, RunOutcome::Failed) << log;
    ASSERT_FALSE(stages.isEmpty());
    EXPECT_EQ(stages.last(), qMakePair(p.stage, 2)) << log;
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(),
              QStringLiteral("错误\t") + GetStepName(p.stage) + QStringLiteral("\t升级过程中出现错误,升级中断。"))
        << log;
    // Between the failing statement and the run's closing entry: the stage's
    // own failure entry, and no success.
    bool told = false;
    for (qsizetype i = std::max<qsizetype>(failedAt, 0); i + 1 < lines.size(); ++i) {
        EXPECT_FALSE(lines[i].startsWith(QStringLiteral("成功\t"))) << "after the error: " << lines[i].toStdString();
        told = told || lines[i].startsWith(QStringLiteral("错误\t"));
    }
    EXPECT_TRUE(told) << log;
    EXPECT_EQ(fileBytes(source), before);

    // The wizard's retry: the account set is created anew and both runs go again.
    dropTarget();
    lines.clear();
    ASSERT_EQ(checkAndUpgrade(), RunOutcome::Passed) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(differences(clean, targetContents()), QStringList());
    EXPECT_EQ(fileBytes(source), before);
}

std::string pointName(const ::testing::TestParamInfo<FailurePoint> &info) {
    return std::to_string(info.param.stage) + "_" + info.param.table;
}

INSTANTIATE_TEST_SUITE_P(Stages, UpgradeFailureTest, ::testing::ValuesIn(kPoints), pointName);

}  // namespace
