// Balances-only conversion: the journal and statement movements folded
// into the opening balances, only the items still unreconciled in the
// current period kept (as opening items and as copies carried into the
// current period), and the cashier start moved to the current period.
#include "foundation/Globals.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/payroll_cashier/CashierSettings.h"
#include "upgrade/payroll_cashier/CashierSql.h"
#include "upgrade/payroll_cashier/clsCn.h"

namespace {

// Movements of a journal table per cashier account, over all its rates.
QString movements(const QString &table, const QString &where) {
    return QStringLiteral("(SELECT FKmID, SUM(ISNULL(FDebit, 0)) AS FDebit, SUM(ISNULL(FCredit, 0)) AS FCredit, "
                          "SUM(ISNULL(FDebitB, 0)) AS FDebitB, SUM(ISNULL(FCreditB, 0)) AS FCreditB FROM ") +
           table + where + QStringLiteral(" GROUP BY FKmID)");
}

QString foldJournal(const QString &table, const QString &where) {
    return QStringLiteral("UPDATE t SET t.FYe = t.FYe + (b.FDebit - b.FCredit), t.FYeB = t.FYeB + (b.FDebitB - "
                          "b.FCreditB)\r\nFROM cn_Account t INNER JOIN ") +
           movements(table, where) + QStringLiteral(" b ON b.FKmID = t.FID\r\n");
}

const QString kPosted = QStringLiteral(" WHERE FYear <> 0 AND FPeriod <> 0 AND FJz = 0");

const QString kJournalColumns = QStringLiteral(
    "FKmID, FYear, FPeriod, FDate, FGroup, FNum, FExp, FJsfs, FJsh, FAccountID2, FAcctidside, FDebit, FCredit, "
    "FDebitB, FCreditB, FRate, FLyr, FDzAlready, FDzNumber, FSource, FOldID, FOperationDate, FWBbID, FWBAmount, "
    "FRemark, FVoucherID, FGenVch, FVchYear, FVchPeriod, FSourceID, FHandlerID, FOrderID, FDetailID, FAutoRjzType, "
    "FAutoRjzID");
const QString kStatementColumns = QStringLiteral(
    "FKmID, FYear, FPeriod, FDate, FJsfs, FJsh, FExp, FDebit, FCredit, FLyr, FDzAlready, FDzNumber, FSource, FOldID, "
    "FRemark");

// Keeps the current period's unreconciled rows of a table as its only rows,
// opening items that point at themselves; one batch, so the table is never
// left emptied.
QString keepUnreconciled(const QString &table, const QString &work, const QString &columns) {
    return QStringLiteral("SELECT * INTO ") + work + QStringLiteral(" FROM ") + table +
           QStringLiteral(" WHERE FYear = ") + CnKeyValue(QStringLiteral("CN_CURRENT_YEAR")) +
           QStringLiteral(" AND FPeriod = ") + CnKeyValue(QStringLiteral("CN_CURRENT_PERIOD")) +
           QStringLiteral(" AND FDzAlready = 0\r\n") + QStringLiteral("DELETE FROM ") + table +
           QStringLiteral("\r\nINSERT INTO ") + table + QStringLiteral(" (") + columns +
           QStringLiteral(", FJz) SELECT ") + columns + QStringLiteral(", 0 FROM ") + work +
           QStringLiteral(" ORDER BY FID\r\nUPDATE ") + table +
           QStringLiteral(" SET FYear = 0, FPeriod = 0, FOldID = FID\r\nDROP TABLE ") + work + QStringLiteral("\r\n");
}

}  // namespace

int clsCn::UpdateCNInfo(StepKit &kit, QString &strErr) {
    if (!Run(kit, foldJournal(QStringLiteral("CN_XJRJZ"), QString()),
             QStringLiteral("升级【更新现金日记账的期初余额】的时候出错："), strErr))
        return 2;
    if (!Run(kit, foldJournal(QStringLiteral("CN_YHRJZ"), kPosted),
             QStringLiteral("升级【更新银行日记账的期初余额】的时候出错："), strErr))
        return 2;
    if (!Run(
            kit,
            QStringLiteral("UPDATE t SET t.FYhdzdYe = t.FYhdzdYe + (b.FCredit - b.FDebit) FROM cn_Account t INNER JOIN "
                           "(SELECT FKmID, SUM(ISNULL(FDebit, 0)) AS FDebit, SUM(ISNULL(FCredit, 0)) AS FCredit FROM "
                           "CN_YHDZD") +
                kPosted + QStringLiteral(" GROUP BY FKmID) b ON b.FKmID = t.FID"),
            QStringLiteral("升级【 】的时候出错："), strErr))
        return 2;
    if (!Run(kit, keepUnreconciled(QStringLiteral("CN_YHRJZ"), QStringLiteral("cn_yhrjztmp"), kJournalColumns),
             QStringLiteral("升级【更新银行未达账】的时候出错："), strErr))
        return 2;
    if (!Run(kit, keepUnreconciled(QStringLiteral("CN_YHDZD"), QStringLiteral("cn_yhdzdtmp"), kStatementColumns),
             QStringLiteral("升级【更新企业未达账】的时候出错："), strErr))
        return 2;
    if (!Run(kit,
             QStringLiteral("UPDATE a SET a.FYhrjzTzhYe = CASE WHEN x.FIsCash = 1 THEN 0 ELSE a.FYe END, "
                            "a.FYhdzdTzhYe = CASE WHEN x.FIsCash = 1 THEN 0 ELSE a.FYhdzdYe END\r\n"
                            "FROM cn_Account a LEFT JOIN t_Account x ON x.FAccountID = a.FKmID"),
             QStringLiteral("升级【出纳管理银行日记账调整后余额】的时候出错："), strErr))
        return 2;
    if (!Run(kit, CashierAdjustedJournalBalance(), QStringLiteral("升级【出纳管理银行日记账调整后余额】的时候出错："),
             strErr))
        return 2;
    if (!Run(kit, CashierAdjustedStatementBalance(), QStringLiteral("升级【出纳管理银行对账单调整后余额】的时候出错："),
             strErr))
        return 2;
    // The journals' base opening is the folded one of the account (the
    // source's base opening and each row's own base amounts); only the
    // statement, which has no base amounts, is worked out at the rate.
    const QString balance = QStringLiteral("CASE WHEN l.FType = 3 THEN a.FYhdzdYe ELSE a.FYe END");
    if (!Run(kit,
             QStringLiteral("UPDATE l SET l.FYe = ") + balance +
                 QStringLiteral(", l.FYeB = CASE WHEN l.FType = 3 THEN ") +
                 ToBase(QStringLiteral("a.FYhdzdYe"), QStringLiteral("c"), QStringLiteral("c.FExchangeRate")) +
                 QStringLiteral(" ELSE a.FYeB END") +
                 QStringLiteral("\r\nFROM Cn_Lcye l INNER JOIN cn_Account a ON a.FID = l.FKmID INNER JOIN t_Currency "
                                "c ON c.FCurrencyID = a.FBbID"),
             QStringLiteral("升级【更新年初余额表余额内容】的时候出错："), strErr))
        return 2;

    int result = 0;
    const QString deletes = QStringLiteral("DELETE FROM CN_YHDZD WHERE FYear <> 0\r\n"
                                           "DELETE FROM CN_YHRJZ WHERE FYear <> 0\r\n"
                                           "DELETE FROM CN_XJRJZ\r\n");
    if (!Run(kit, deletes, QStringLiteral("升级【 】的时候出错："), strErr)) result = 2;

    const bool balancesOnly = CashierBalancesOnly();
    if (!Run(kit,
             CnProfileKey(QStringLiteral("CN_START_PERIOD"),
                          QStringLiteral("case WHEN FCurrYear=FStartYear THEN FCurrPeriod ELSE 1 END"),
                          balancesOnly ? QStringLiteral("t2.FCurrPeriod") : QStringLiteral("t2.FstartPeriod")),
             QStringLiteral("错误代码4: 升级【出纳管理系统出纳参数启用会计期间】的时候出错："), strErr))
        return 2;
    if (!Run(kit,
             CnProfileKey(QStringLiteral("CN_START_YEAR"), QStringLiteral("t2.FCurrYear"),
                          balancesOnly ? QStringLiteral("t2.FCurrYear") : QStringLiteral("t2.FStartYear")),
             QStringLiteral("错误代码5: 升级【出纳管理系统出纳参数启用会计年度】的时候出错："), strErr))
        return 2;
    const QString year = QString::number(g_SourceCurrYear);
    const QString period = QString::number(g_SourceCurrPeriod);
    const QString opening = QStringLiteral("t.FYear = 0 AND t.FPeriod = 0");
    // Each carried copy points at the opening item it stems from.
    for (const QString &table : {QStringLiteral("CN_YHRJZ"), QStringLiteral("CN_YHDZD")})
        if (!Run(kit, CarryCopy(table, year, period, opening, QStringLiteral("t.FID")),
                 QStringLiteral("错误代码38： 升级【把期初未达账信息写入】的时候出错："), strErr))
            return 2;
    return result;
}
