// Second cashier phase: the cash journal, the bank journal and the bank
// statement, their reconciliation numbers and base-currency amounts.
#include "platform/ado/Connection.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/payroll_cashier/CashierSql.h"
#include "upgrade/payroll_cashier/clsCn.h"

namespace {

QString addColumnWhenMissing(const QString &table, const QString &column, const QString &type) {
    return QStringLiteral("IF NOT EXISTS(SELECT 1 FROM sysobjects T1 INNER JOIN syscolumns T2 ON T1.ID = T2.ID "
                          "WHERE T1.Name = '") +
           table + QStringLiteral("' AND T2.Name = '") + column + QStringLiteral("')\r\nALTER TABLE ") + table +
           QStringLiteral(" ADD ") + column + QLatin1Char(' ') + type + QStringLiteral("\r\n");
}

// The cashier account (t4) of a staged row's ledger account and currency;
// rows without one are not converted.
const QString kCashierAccountJoins =
    QStringLiteral("INNER JOIN AIS_GLCy t2 ON t1.FCyID = t2.FCyID\r\n"
                   "INNER JOIN T_Currency t3 ON t2.FZ8InterID = t3.FCurrencyID\r\n"
                   "INNER JOIN AIS_GLAcct t5 ON t1.FAcctID = t5.FAcctID\r\n"
                   "INNER JOIN Cn_Account t4 ON t5.FZ8InterID = t4.FKmID AND t4.FBb = t3.FName\r\n");

// Several employees may share a name: the first of them is the handler.
const QString kHandlerJoin = QStringLiteral(
    "LEFT JOIN (SELECT FName, MIN(FItemID) AS FItemID FROM t_Emp GROUP BY FName) t6 ON t1.FHandler = t6.FName\r\n");

// Journal rows from the cashier start month on (year digits first, then
// the month padded to two digits, compared as text).
const QString kFromStartMonth =
    QStringLiteral("CAST(YEAR(t1.FDate) AS varchar(4)) + RIGHT('0' + CAST(MONTH(t1.FDate) AS varchar(2)), 2) >= "
                   "@StartYear + RIGHT('0' + @StartPeriod, 2)\r\n");

QString insertCash() {
    return kStartKeys +
           QStringLiteral(
               "INSERT INTO CN_XJRJZ (FOrderID, FKmID, FYear, FPeriod, FDate, FGroup, FNum, FExp, FAccountID2, "
               "FAcctidside, FDebit, FCredit, FDebitB, FCreditB, FRate, FLyr, FSource, FRemark, FGenVch, FVchYear, "
               "FVchPeriod, FSourceID, FVoucherID, FHandlerID)\r\n"
               "SELECT t1.FOrderID, t4.FID, YEAR(t1.FDate), t1.FPeriod, t1.FDate, t1.FGroup, ISNULL(t1.FNum, ''), "
               "t1.FExp, NULL, t1.FAcctIDSide, t1.FDebit, t1.FCredit, t1.FDebit, t1.FCredit, t1.FExchRate, "
               "ISNULL(t1.FPreparer, ISNULL(t1.FHandler, '')), 1, '', NULL, YEAR(t1.FDate), t1.FPeriod, NULL, "
               "NULL, t6.FItemID\r\n"
               "FROM AIS_TRCashJnl t1\r\n") +
           kCashierAccountJoins + kHandlerJoin + QStringLiteral("WHERE ") + kFromStartMonth +
           QStringLiteral("ORDER BY t1.FID\r\n");
}

// Rows dated before the cashier start: the items still outstanding then
// are opening items (year 0, period 0); the reconciled ones are history
// and stay out, or every period would carry them as outstanding.
const QString kFromStartOrOutstanding =
    QStringLiteral("WHERE t1.FDate > @StartDate - 0.00001 OR (t1.FChecked = 0 AND t1.FAutoChecked = 0)\r\n");

QString insertBank() {
    return kStartKeys + kStartDate +
           QStringLiteral(
               "INSERT INTO CN_YHRJZ (FOrderID, FKmID, FYear, FPeriod, FDate, FGroup, FNum, FExp, FJsfs, FJsh, "
               "FAccountID2, FAcctidside, FDebit, FCredit, FDebitB, FCreditB, FRate, FLyr, FDzAlready, FDzNumber, "
               "FJz, FSource, FOldID, FOperationDate, FWBbID, FWBAmount, FRemark, FVoucherID, FGenVch, FVchYear, "
               "FVchPeriod, FSourceID, FHandlerID)\r\n"
               "SELECT t1.FOrderID, t4.FID,\r\n"
               "CASE WHEN t1.FDate > @StartDate - 0.00001 THEN YEAR(t1.FDate) ELSE 0 END,\r\n"
               "CASE WHEN t1.FDate > @StartDate - 0.00001 THEN MONTH(t1.FDate) ELSE 0 END,\r\n"
               "t1.FDate, t1.FGroup, ISNULL(t1.FNum, ''), ISNULL(t1.FExp, ''), t1.FSettleCode, t1.FSettleNo, NULL, "
               "t1.FAcctIDSide, t1.FDebit, t1.FCredit, t1.FDebit, t1.FCredit, t1.FExchRate, "
               "ISNULL(t1.FPreparer, ISNULL(t1.FHandler, '')), t1.FAutoChecked, ISNULL(t1.FZ8InterID, -1), 0, 1, "
               "NULL, t1.FDate, 0, 0, NULL, NULL, NULL, YEAR(t1.FDate), MONTH(t1.FDate), NULL, t6.FItemID\r\n"
               "FROM AIS_TRBankJnl t1\r\n") +
           kCashierAccountJoins + kHandlerJoin + kFromStartOrOutstanding + QStringLiteral("ORDER BY t1.FInterID\r\n");
}

QString insertStatement() {
    return kStartKeys + kStartDate +
           QStringLiteral(
               "INSERT INTO CN_YHDZD (FKmID, FYear, FPeriod, FDate, FJsfs, FJsh, FExp, FDebit, FCredit, FLyr, "
               "FDzAlready, FDzNumber, FJz, FSource, FOldID, FRemark)\r\n"
               "SELECT t4.FID,\r\n"
               "CASE WHEN t1.FDate > @StartDate - 0.00001 THEN YEAR(t1.FDate) ELSE 0 END,\r\n"
               "CASE WHEN t1.FDate > @StartDate - 0.00001 THEN MONTH(t1.FDate) ELSE 0 END,\r\n"
               "t1.FDate, t1.FSettleCode, t1.FSettleNo, t1.FExp,\r\n"
               "CASE WHEN t1.FDC = 'D' THEN t1.FAmount ELSE 0 END, CASE WHEN t1.FDC = 'C' THEN t1.FAmount ELSE 0 "
               "END,\r\n"
               "ISNULL(t1.FPreparer, ''), t1.FAutoChecked, ISNULL(t1.FZ8InterID, -1), 0, 1, NULL, t1.FHandler\r\n"
               "FROM AIS_TRBankChkNote t1\r\n") +
           kCashierAccountJoins + kFromStartOrOutstanding + QStringLiteral("ORDER BY t1.FDate\r\n");
}

// Staged rows that found no cashier account (their account or currency was
// not converted, or the account is no cash or bank account): told, since
// they are left out.
QString withoutCashierAccount(const QString &table, const QString &filter) {
    return kStartKeys + QStringLiteral("SELECT t1.FAcctID, t1.FDate, t1.FExp, t1.FCyID FROM ") + table +
           QStringLiteral(" t1\r\nWHERE NOT EXISTS (SELECT 1 FROM AIS_GLCy t2, T_Currency t3, AIS_GLAcct t5, "
                          "Cn_Account t4 WHERE t2.FZ8InterID = t3.FCurrencyID AND t5.FZ8InterID = t4.FKmID AND "
                          "t4.FBb = t3.FName AND t2.FCyID = t1.FCyID AND t5.FAcctID = t1.FAcctID)\r\n") +
           filter + QStringLiteral("ORDER BY t1.FDate\r\n");
}

const QString kPairs = QStringLiteral(
    "ON j.FNum = s.FVNum AND j.FGroup = s.FVGroup AND j.FPeriod = s.FVPeriod AND j.FEntryID = s.FVEntryID\r\n"
    "WHERE j.FChecked = 1 AND s.FChecked = 1\r\n");

}  // namespace

void clsCn::ReportUnconverted(StepKit &kit, const QString &table, const QString &what, const QString &filter) {
    ReportRows(
        kit, withoutCashierAccount(table, filter), what + QStringLiteral("未升级"), QStringLiteral("科目"),
        what + QStringLiteral("有%1行找不到对应的出纳科目（科目或币别没有升级，或不是现金、银行科目），没有升级。"));
}

int clsCn::UpgradeCnJournals(StepKit &kit, QString &strErr) {
    try {
        ado::Connection own;
        own.CursorLocation = ado::adUseClient;
        own.Open(kit.connectString());

        if (!Run(kit,
                 addColumnWhenMissing(QStringLiteral("AIS_TRCashJnl"), QStringLiteral("FZ8InterID"),
                                      QStringLiteral("int")),
                 QStringLiteral("错误代码18: 升级【出纳管理添加Z8内码】的时候出错："), strErr))
            return 2;
        own.Execute(QStringLiteral("DELETE FROM CN_XJRJZ"));
        if (!Run(kit, insertCash(), QStringLiteral("错误代码19: 升级【出纳管理- - - 】的时候出错："), strErr)) return 2;
        if (!Run(kit,
                 QStringLiteral("UPDATE t1 SET t1.FZ8InterID = t2.FID FROM AIS_TRCashJnl t1 INNER JOIN CN_XJRJZ t2 ON "
                                "t1.FID = t2.FID"),
                 QStringLiteral("错误代码20: 升级【出纳管理- - - 】的时候出错："), strErr))
            return 2;
        if (!Run(kit, BaseAmounts(QStringLiteral("CN_XJRJZ"), QLatin1Char('*')),
                 QStringLiteral("错误代码22: 升级【出纳管理更新本位币的借贷款(乘)】的时候出错："), strErr))
            return 2;
        if (!Run(kit, BaseAmounts(QStringLiteral("CN_XJRJZ"), QLatin1Char('/')),
                 QStringLiteral("错误代码23： 升级【出纳管理更新本位币的借贷款(除)】的时候出错："), strErr))
            return 2;

        if (!Run(kit,
                 addColumnWhenMissing(QStringLiteral("AIS_TRBankJnl"), QStringLiteral("FZ8InterID"),
                                      QStringLiteral("int")),
                 QStringLiteral("错误代码24： 升级【出纳管理添加Z8内码】的时候出错："), strErr))
            return 2;
        if (!Run(kit,
                 addColumnWhenMissing(QStringLiteral("AIS_TRBankJnl"), QStringLiteral("FInterID"),
                                      QStringLiteral("INT IDENTITY (1, 1)")),
                 QStringLiteral("错误代码25： 升级【出纳管理增加唯一标识】的时候出错："), strErr))
            return 2;
        if (!Run(kit,
                 QStringLiteral("UPDATE j SET j.FZ8InterID = j.FInterID FROM AIS_TRBankJnl j INNER JOIN "
                                "AIS_TRBankChkNote s\r\n") +
                     kPairs,
                 QStringLiteral("错误代码26： 升级【出纳管理生成对账序号】的时候出错："), strErr))
            return 2;
        if (!Run(kit,
                 QStringLiteral("UPDATE s SET s.FZ8InterID = j.FInterID FROM AIS_TRBankChkNote s INNER JOIN "
                                "AIS_TRBankJnl j\r\n") +
                     kPairs,
                 QStringLiteral("错误代码27： 升级【出纳管理- - - 】的时候出错："), strErr))
            return 2;
        own.Execute(QStringLiteral("DELETE FROM CN_YHRJZ"));
        if (!Run(kit, insertBank(), QStringLiteral("错误代码29： 升级【出纳管理- - - 】的时候出错："), strErr))
            return 2;
        own.Execute(QStringLiteral("UPDATE CN_YHRJZ SET FOldID = FID WHERE FJz = 0"));
        if (!Run(kit, BaseAmounts(QStringLiteral("CN_YHRJZ"), QLatin1Char('*')),
                 QStringLiteral("错误代码32： 升级【出纳管理更新本位币的借贷款(乘)】的时候出错："), strErr))
            return 2;
        if (!Run(kit, BaseAmounts(QStringLiteral("CN_YHRJZ"), QLatin1Char('/')),
                 QStringLiteral("错误代码33： 升级【出纳管理更新本位币的借贷款(除)】的时候出错："), strErr))
            return 2;
        ReportUnconverted(kit, QStringLiteral("AIS_TRCashJnl"), QStringLiteral("现金日记账"),
                          QStringLiteral("AND ") + kFromStartMonth);
        ReportUnconverted(kit, QStringLiteral("AIS_TRBankJnl"), QStringLiteral("银行存款日记账"), QString());
        ReportUnconvertible(kit, UnconvertibleRows(QStringLiteral("CN_XJRJZ")), QStringLiteral("现金日记账"));
        ReportUnconvertible(kit, UnconvertibleRows(QStringLiteral("CN_YHRJZ")), QStringLiteral("银行存款日记账"));

        own.Execute(QStringLiteral("DELETE FROM CN_YHDZD"));
        if (!Run(kit, insertStatement(), QStringLiteral("错误代码34： 升级【出纳管理- - - 】的时候出错："), strErr))
            return 2;
        own.Execute(QStringLiteral("UPDATE CN_YHDZD SET FOldID = FID WHERE FJz = 0"));
        ReportUnconverted(kit, QStringLiteral("AIS_TRBankChkNote"), QStringLiteral("银行对账单"), QString());

        const QString startYear =
            QStringLiteral("(SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = 'cn_Start_year')");
        if (!Run(kit,
                 QStringLiteral("UPDATE a SET a.FYe = b.FYe, a.FYeB = b.FYeB, a.FJfje = b.FDebit, a.FJfjeB = "
                                "b.FDebitB, a.FDfje = b.FCredit, a.FDfjeB = b.FCreditB\r\n"
                                "FROM cn_Account a INNER JOIN Cn_Lcye b ON b.FKmID = a.FID WHERE b.FYear = ") +
                     startYear,
                 QStringLiteral("错误代码35： 升级【出纳管理银行日记账期初余额】的时候出错："), strErr))
            return 2;
        if (!Run(kit,
                 QStringLiteral("UPDATE a SET a.FYhdzdYe = b.FYe FROM cn_Account a INNER JOIN Cn_Lcye b ON b.FKmID = "
                                "a.FID WHERE b.FType = 3 AND b.FYear = ") +
                     startYear,
                 QStringLiteral("错误代码37： 升级【出纳管理银行对账单期初余额】的时候出错："), strErr))
            return 2;
        if (!Run(kit,
                 QStringLiteral(
                     "UPDATE CN_YHRJZ SET FVchYear = 0, FVchPeriod = 0, FGroup = NULL, FNum = 0\r\n"
                     "WHERE NOT EXISTS (SELECT 1 FROM t_Voucher v INNER JOIN t_VoucherGroup g ON v.FGroupID = "
                     "g.FGroupID\r\n"
                     "WHERE v.FYear = CN_YHRJZ.FVchYear AND v.FPeriod = CN_YHRJZ.FVchPeriod AND v.FNumber = "
                     "CN_YHRJZ.FNum AND g.FName = CN_YHRJZ.FGroup)"),
                 QStringLiteral("错误代码39： 升级【出纳管理特殊处理提前填了不存在凭证的银行日记账】的时候出错："),
                 strErr))
            return 2;
        own.Close();
        return 0;
    } catch (const std::exception &e) {
        NoteRaised(e);
        return 2;
    }
}
