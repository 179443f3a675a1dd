#include "upgrade/payroll_cashier/clsEboPa.h"

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/payroll_cashier/PayrollSession.h"

namespace {

const QString kPhaseDone = QStringLiteral("正在升级工资管理- ...");

}  // namespace

int clsEboPa::CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    (void)PoBar, (void)LblObject;
    const QString connectString = SQLConnectString.isEmpty() ? g_TargetConnectString : SQLConnectString;
    return CheckPayItemNames(connectString);
}

int clsEboPa::UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    StepKit kit(PoBar, LblObject, SQLConnectString);
    const QString &cn = kit.connectString();
    // Every phase runs whatever the one before did; the caption and the bar
    // move after it. A phase that failed fails the step, so that the run
    // does not go on as if the payroll had arrived.
    bool failed = false;
    auto after = [&](int phaseResult, int progress) {
        failed = failed || phaseResult == 2;
        kit.fold(phaseResult);
        kit.caption(kPhaseDone);
        kit.progress(progress);
    };
    after(UpgradePayCategory(cn), 15);
    after(UpgradePayDepartments(cn), 25);
    after(UpgradePayEmpGroups(cn), 40);
    after(UpgradePayEmployees(cn), 50);
    after(UpgradePayItems(cn), 65);
    after(UpgradePayFormula(cn), 85);
    const int history = UpgradePayData(cn, LblObject);
    failed = failed || history == 2;
    kit.fold(history);
    kit.progress(100);
    return failed ? 2 : kit.result();
}

int clsEboPa::CheckPayItemNames(const QString &connectString) {
    try {
        PayrollSession session(connectString);
        ado::Recordset rs =
            session.execute(QStringLiteral("SELECT FitemName FROM ais_PAItem where FitemName in(select FitemName from "
                                           "t_PAitem)"));
        const int count = rs.RecordCount();
        if (count >= 1)
            WriteUpgradeLog(QStringLiteral("工资项目检测"),
                            QStringLiteral("存在") + QString::number(count) +
                                QStringLiteral("条工资项目与专业版名称相同，不再重复升级，直接取专业版中的数据"),
                            QString(), 1);
        return 0;
    } catch (const std::exception &e) {
        WriteUpgradeLog(QStringLiteral("工资项目检测"), QStringLiteral("检测工资项目时出错：") + ErrorDescription(e),
                        QString(), 2);
        return 1;
    }
}
