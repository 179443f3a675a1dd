// Sixth cashier phase: totals before the start, year-opening balances and
// amounts, adjusted balances, and the unreconciled items carried forward
// period by period from the cashier start to the current period.
#include "upgrade/common/StepKit.h"
#include "upgrade/payroll_cashier/CashierSql.h"
#include "upgrade/payroll_cashier/clsCn.h"

namespace {

QString base(const QString &amount, const QString &currency) {
    return ToBase(amount, currency, currency + QStringLiteral(".FExchangeRate"));
}

const QString kTotalsBeforeStart =
    QStringLiteral("UPDATE a SET a.FJfje = b.FDebit, a.FDfje = b.FCredit, a.FJfjeB = ") +
    base(QStringLiteral("b.FDebit"), QStringLiteral("c")) + QStringLiteral(", a.FDfjeB = ") +
    base(QStringLiteral("b.FCredit"), QStringLiteral("c")) +
    QStringLiteral("\r\nFROM cn_Account a INNER JOIN t_Currency c ON c.FCurrencyID = a.FBbID\r\n"
                   "INNER JOIN (SELECT FAcctID, FCyID, SUM(FDebit) AS FDebit, SUM(FCredit) AS FCredit FROM "
                   "AIS_TRBankJnl WHERE FPeriod < ") +
    CnKeyValue(QStringLiteral("cn_Start_period")) +
    QStringLiteral(" GROUP BY FAcctID, FCyID) b\r\n"
                   "ON b.FAcctID = replace(a.FKmdm,'.','') AND b.FCyID = c.FNumber\r\n");

// The year-opening balances of the Cn_Lcye rows of `types` from a balance
// table's lowest period; baseOpening is their base amount (the statement
// balances hold no base opening of their own, so theirs is rated).
QString yearOpening(const QString &types, const QString &table, const QString &baseOpening) {
    return QStringLiteral("UPDATE l SET l.FYe = b.FBegBal, l.FYeB = ") + baseOpening +
           QStringLiteral("\r\nFROM Cn_Lcye l INNER JOIN cn_Account c ON c.FID = l.FKmID\r\n"
                          "INNER JOIN t_Currency cy ON cy.FName = c.FBb\r\n"
                          "INNER JOIN AIS_GLAcct d ON d.FZ8InterID = c.FKmID\r\n"
                          "INNER JOIN ") +
           table +
           QStringLiteral(" b ON b.FAcctID = d.FAcctID AND b.FCyID = cy.FNumber\r\n"
                          "WHERE l.FType IN (") +
           types + QStringLiteral(") AND l.FYear = @Year AND b.FPeriod = (SELECT ISNULL(MIN(FPeriod), 0) FROM ") +
           table + QStringLiteral(")\r\n");
}

// Sums of the opening items (year 0, period 0) of a cashier table per
// cashier account.
QString openingItems(const QString &table) {
    return QStringLiteral("(SELECT FKmID, SUM(FDebit) AS FDebit, SUM(FCredit) AS FCredit FROM ") + table +
           QStringLiteral(" WHERE FYear = 0 AND FPeriod = 0 GROUP BY FKmID)");
}

QString yearOpeningMovement(const QString &types, const QString &items) {
    return QStringLiteral("UPDATE l SET l.FDebit = b.FDebit, l.FCredit = b.FCredit, l.FDebitB = ") +
           base(QStringLiteral("b.FDebit"), QStringLiteral("cy")) + QStringLiteral(", l.FCreditB = ") +
           base(QStringLiteral("b.FCredit"), QStringLiteral("cy")) +
           QStringLiteral("\r\nFROM Cn_Lcye l INNER JOIN cn_Account c ON c.FID = l.FKmID\r\n"
                          "INNER JOIN t_Currency cy ON cy.FCurrencyID = c.FBbID\r\n"
                          "INNER JOIN ") +
           openingItems(items) + QStringLiteral(" b ON b.FKmID = l.FKmID\r\nWHERE l.FType IN (") + types +
           QStringLiteral(")\r\n");
}

// One period's carry-forward: copies of reconciled items dropped, then the
// items of the period before still unreconciled copied in.
QString carryForward(int year, int period, int prevYear, int prevPeriod) {
    const QString y = QString::number(year);
    const QString p = QString::number(period);
    QString sql;
    for (const QString &table : {QStringLiteral("CN_YHRJZ"), QStringLiteral("CN_YHDZD")})
        sql += QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE FYear = ") + y +
               QStringLiteral(" AND FPeriod = ") + p + QStringLiteral(" AND FJz = 1 AND FOldID IN (SELECT FID FROM ") +
               table + QStringLiteral(" WHERE FDzAlready = 1 AND (FYear < ") + y + QStringLiteral(" OR (FYear = ") + y +
               QStringLiteral(" AND FPeriod < ") + p + QStringLiteral(")))\r\n");
    for (const QString &table : {QStringLiteral("CN_YHRJZ"), QStringLiteral("CN_YHDZD")})
        sql += CarryCopy(table, y, p,
                         QStringLiteral("t.FYear = ") + QString::number(prevYear) +
                             QStringLiteral(" AND t.FPeriod = ") + QString::number(prevPeriod) +
                             QStringLiteral(" AND t.FDzAlready = 0 AND t.FID NOT IN (SELECT FOldID FROM ") + table +
                             QStringLiteral(" WHERE FYear = ") + y + QStringLiteral(" AND FPeriod = ") + p +
                             QStringLiteral(" AND FJz = 1 AND FOldID IS NOT NULL)"));
    return sql;
}

int valueOf(StepKit &kit, const QString &sql) {
    const QVariant value = kit.scalar(sql);
    return value.isNull() ? 0 : value.toInt();
}

}  // namespace

QString CashierAdjustedJournalBalance() {
    return QStringLiteral("UPDATE a SET a.FYhrjzTzhYe = a.FYe + b.FCredit - b.FDebit FROM cn_Account a INNER JOIN ") +
           openingItems(QStringLiteral("CN_YHDZD")) + QStringLiteral(" b ON b.FKmID = a.FID\r\n");
}

QString CashierAdjustedStatementBalance() {
    return QStringLiteral("UPDATE a SET a.FYhdzdTzhYe = a.FYhdzdYe - b.FCredit + b.FDebit FROM cn_Account a INNER "
                          "JOIN ") +
           openingItems(QStringLiteral("CN_YHRJZ")) + QStringLiteral(" b ON b.FKmID = a.FID\r\n");
}

int clsCn::UpgradeCnTotals(StepKit &kit, QString &strErr) {
    try {
        if (!Run(kit, kTotalsBeforeStart, QStringLiteral("升级【出纳管理日记账期初借\\贷方累计金额】的时候出错："),
                 strErr))
            return 2;
        if (!Run(kit,
                 QStringLiteral("DECLARE @Year int\r\nSELECT @Year = FCurrYear FROM AIS_GLPref\r\n") +
                     yearOpening(QStringLiteral("1, 2"), QStringLiteral("AIS_TRBankJnlBal"),
                                 JournalBaseOpening(QStringLiteral("b"), QStringLiteral("cy"))) +
                     yearOpening(QStringLiteral("3"), QStringLiteral("AIS_TRBankChkBal"),
                                 base(QStringLiteral("b.FBegBal"), QStringLiteral("cy"))),
                 QStringLiteral("升级【更新年初余额表余额】的时候出错："), strErr))
            return 2;
        if (!Run(kit,
                 yearOpeningMovement(QStringLiteral("1, 2"), QStringLiteral("CN_YHDZD")) +
                     yearOpeningMovement(QStringLiteral("3"), QStringLiteral("CN_YHRJZ")),
                 QStringLiteral("升级【更新年初余额表借方贷方金额】的时候出错："), strErr))
            return 2;
        if (!Run(kit, QStringLiteral("UPDATE cn_Account SET FYhrjzTzhYe = FYe\r\n") + CashierAdjustedJournalBalance(),
                 QStringLiteral("错误代码36： 升级【出纳管理银行日记账调整后余额】的时候出错："), strErr))
            return 2;
        if (!Run(kit,
                 QStringLiteral("UPDATE cn_Account SET FYhdzdTzhYe = FYhdzdYe\r\n") + CashierAdjustedStatementBalance(),
                 QStringLiteral("错误代码38： 升级【出纳管理银行对账单调整后余额】的时候出错："), strErr))
            return 2;

        // The start year is read from the same keys as the start period, so
        // both name the cashier start.
        const int periodsPerYear = valueOf(kit, QStringLiteral("SELECT FPeriodsPerYear FROM AIS_GLPref"));
        const int startYear = valueOf(kit, CnKeyQuery(QStringLiteral("CN_START_YEAR")));
        const int currentYear = valueOf(kit, CnKeyQuery(QStringLiteral("CN_CURRENT_YEAR")));
        const int startPeriod = valueOf(kit, CnKeyQuery(QStringLiteral("CN_START_PERIOD")));
        const int currentPeriod = valueOf(kit, CnKeyQuery(QStringLiteral("CN_CURRENT_PERIOD")));

        const QString year = QString::number(startYear);
        const QString period = QString::number(startPeriod);
        const QString opening = QStringLiteral("t.FYear = 0 AND t.FPeriod = 0");
        if (!Run(kit, CarryCopy(QStringLiteral("CN_YHRJZ"), year, period, opening),
                 QStringLiteral("错误代码38： 升级【把期初未达账信息写入") + year + QStringLiteral("1】的时候出错："),
                 strErr))
            return 2;
        if (!Run(kit, CarryCopy(QStringLiteral("CN_YHDZD"), year, period, opening),
                 QStringLiteral("错误代码38： 升级【把期初未达账信息写入") + year + QStringLiteral("2】的时候出错："),
                 strErr))
            return 2;

        if (startYear == currentYear && startPeriod == currentPeriod) return 0;
        // Each period after the start takes the items still unreconciled in
        // the period before it; period 1 of a later year takes them from the
        // last period of the year before.
        int y = startYear;
        int p = startPeriod;
        const int lastPeriod = periodsPerYear > 0 ? periodsPerYear : 12;
        while (y < currentYear || (y == currentYear && p < currentPeriod)) {
            const int prevYear = y;
            const int prevPeriod = p;
            if (p >= lastPeriod) {
                ++y;
                p = 1;
            } else {
                ++p;
            }
            if (!Run(kit, carryForward(y, p, prevYear, prevPeriod),
                     QStringLiteral("错误代码38： 升级【把各个期间未达账信息循环写入各自的期间数据】的时候出错："),
                     strErr))
                return 2;
        }
        return 0;
    } catch (const std::exception &e) {
        NoteRaised(e);
        return 2;
    }
}
