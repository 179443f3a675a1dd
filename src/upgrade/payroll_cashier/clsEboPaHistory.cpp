// The pay formulas and the pay history. The source keeps one history row
// per employee, period and item, the target one row per employee and
// period with a column per item: the rows are inserted first, then every
// source value is written into its item's column, one statement per value.
#include "upgrade/payroll_cashier/clsEboPa.h"

#include <QCoreApplication>
#include <QLabel>
#include <QRegularExpression>

#include "foundation/Globals.h"
#include "foundation/Progress.h"
#include "foundation/SqlText.h"
#include "platform/PnwConvert.h"
#include "platform/ado/AdoError.h"
#include "upgrade/payroll_cashier/PayrollLog.h"
#include "upgrade/payroll_cashier/PayrollSession.h"

namespace {

const QString kHistory = QStringLiteral("工资历史数据");

QString text(const QVariant &value) { return PnwConvert::ToText(value, QString()); }

void showCaption(QLabel *label, const QString &caption) {
    if (label) SetStatusCaption(label, caption);
}

QString rowCaption(int row, int rows) {
    return QStringLiteral("正在升级工资管理- 工资历史数据（ %1/%2）").arg(row).arg(rows);
}

// A column name as the statement names it: a plain name as it stands,
// anything else bracketed.
QString columnName(const QString &name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (plain.match(name).hasMatch()) return name;
    return QLatin1Char('[') + QString(name).replace(QLatin1Char(']'), QStringLiteral("]]")) + QLatin1Char(']');
}

// The value updates key into the staged history by employee number and
// period; without an index each of them would scan the whole table.
void indexStagedHistory(PayrollSession &session) {
    try {
        session.execute(QStringLiteral("create index ix_AIS_PAData_EmpPeriod on ais_padata (FEmpID, FPeriod)"));
    } catch (const ado::AdoError &) {
        // Already there from an earlier run: the statements only run slower
        // without it, so nothing is lost either way.
    }
}

}  // namespace

int clsEboPa::UpgradePayFormula(const QString &connectString) {
    return RunPayrollPhase(connectString, QStringLiteral("工资公式"), [](PayrollSession &session) {
        ado::Recordset formulas = session.execute(QStringLiteral("select FFormula from ais_PAFormula"));
        ado::Recordset highest = session.execute(QStringLiteral("select isnull(max(FForID),0) from t_PAFormula"));
        int formulaId = highest.Fields(0).Value.toInt();
        // Each formula its own identifier, following those present.
        const QString insert = SqlText(QStringLiteral("insert into t_PAFormula values(?,{edition},1,0,?)"))
                                   .text(QStringLiteral("edition"), g_SourceEdition)
                                   .str();
        if (formulas.RecordCount() == 0) return 0;
        for (formulas.MoveFirst(); !formulas.Eof(); formulas.MoveNext())
            session.execute(insert, {++formulaId, formulas.value(QStringLiteral("FFormula"))});
        return 0;
    });
}

int clsEboPa::UpgradePayData(const QString &connectString, QLabel *LblObject) {
    return RunPayrollPhase(connectString, kHistory, [&](PayrollSession &session) {
        int result = 0;
        indexStagedHistory(session);
        // Rows only for numbers that name a payroll employee; the others
        // are logged below.
        session.execute(
            QStringLiteral("insert into t_PANewData(FEmpID,FPeriod,Fclsid) \r\n"
                           "select b.FItemID ,FPeriod,1 from ais_padata  a inner join t_PA_Item  b on "
                           "a.FEmpID =b.FNumber and b.FItemClassID=3 group by b.FItemID,a.FPeriod,a.Fclsid "));
        ado::Recordset unknown = session.execute(
            QStringLiteral("select a.FEmpID,count(*) as FRows from ais_padata a left join t_PA_Item b on "
                           "a.FEmpID=b.FNumber and b.FItemClassID=3 where b.FItemID is null group by a.FEmpID "
                           "order by a.FEmpID"));
        PayrollLeftOut unknownEmployees(kHistory, {QStringLiteral("职员代码"), QStringLiteral("工资数据行数")});
        if (unknown.RecordCount() > 0)
            for (unknown.MoveFirst(); !unknown.Eof(); unknown.MoveNext())
                unknownEmployees.add(
                    {text(unknown.value(QStringLiteral("FEmpID"))), text(unknown.value(QStringLiteral("FRows")))});
        if (!unknownEmployees.isEmpty()) {
            unknownEmployees.log(QStringLiteral("工资历史数据中的职员代码在职员中不存在，未升级的职员数："));
            result = 1;
        }

        ado::Recordset values = session.execute(QStringLiteral("select  c.FEmpField,a.Fperiod,a.FempID ,a.Fdata  "
                                                               " from ais_padata a inner  join ais_PAItem b on "
                                                               "a.FItemID =b.FItemID "
                                                               " inner join  t_PAItem c on c.FItemName =b.FItemName "));
        const int rows = values.RecordCount();
        showCaption(LblObject, rowCaption(0, rows));
        QCoreApplication::processEvents();
        PayrollLeftOut leftOut(kHistory,
                               {QStringLiteral("职员代码"), QStringLiteral("会计期间"), QStringLiteral("工资项目列"),
                                QStringLiteral("数据"), QStringLiteral("原因")});
        if (rows > 0) values.MoveFirst();
        for (int i = 1; i <= rows; ++i, values.MoveNext()) {
            showCaption(LblObject, rowCaption(i, rows));
            const QVariant column = values.value(QStringLiteral("FEmpField"));
            const QVariant period = values.value(QStringLiteral("Fperiod"));
            const QVariant employee = values.value(QStringLiteral("FempID"));
            const QVariant value = values.value(QStringLiteral("Fdata"));
            const QStringList cells{text(employee), text(period), text(column), text(value)};
            QString reason;
            if (text(column).isEmpty())
                reason = QStringLiteral("工资项目没有数据列");
            else if (period.isNull() || employee.isNull() || value.isNull())
                reason = QStringLiteral("职员代码、会计期间或数据为空");
            if (reason.isEmpty()) {
                // One text per column with the value bound. Only employees
                // carry pay history; naming their class also lets the
                // lookup by number use the payroll items' (class, number)
                // index instead of scanning them for every value.
                try {
                    session.execute(
                        QStringLiteral("update a set a.") + columnName(text(column)) +
                            QStringLiteral(
                                " = ?,a.FPutNo =1 from t_PANewData a  inner join t_PA_Item b "
                                "on a.FEmpID = b.FItemID and b.FItemClassID=3 inner join ais_padata c on c.FEmpID = "
                                "b.FNumber and c.FPeriod = a.FPeriod and c.FEmpID =? Where "
                                "a.FPeriod = ?"),
                        {text(value), text(employee), period.toInt()});
                } catch (const ado::AdoError &e) {
                    // A value the column cannot take: this value is left
                    // out, the others still arrive.
                    reason = e.description();
                }
            }
            if (!reason.isEmpty()) leftOut.add(cells + QStringList{reason});
            QCoreApplication::processEvents();
        }
        if (!leftOut.isEmpty()) {
            leftOut.log(QStringLiteral("工资历史数据未能写入的数据行数："));
            result = 1;
        }

        session.execute(QStringLiteral(
            "update t_PANewData set FItemDepID=b.FItemDepID,FEmpGroupID=b.FEmpGroupID,FDuty=b.FDuty,FDegree=b.FDegree,"
            "FBankAccount=b.FBankAccount from t_PANewData a left join t_PA_personal b on a.FEmpID=b.FitemID"));
        session.execute(QStringLiteral("update t_PANewData set Fyear='%1'  where Fyear=0").arg(int(g_SourceCurrYear)));
        return result;
    });
}
