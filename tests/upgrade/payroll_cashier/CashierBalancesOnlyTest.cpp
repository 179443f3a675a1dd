// The balances-only cashier conversion of the standard sample (seeded base
// data, see CashierFixture): movements folded into the opening balances,
// only the items unreconciled in the current period kept, the start moved
// to the current period. Expected balances are the sample's period 12
// closing balances (samples/standard/TRBankJnlBal.tsv, TRBankChkBal.tsv).
#include "CashierFixture.h"

#include "upgrade/payroll_cashier/clsCn.h"

namespace {

QString cnKey(const char *key) {
    return QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = '") +
           QString::fromLatin1(key) + QLatin1Char('\'');
}

}  // namespace

class CashierBalancesOnlyTest : public CashierFixture {
protected:
    void convertStandard() {
        createFrom(QStringLiteral("standard"));
        seedStandardBase();
        setOption(1);
        clsCn step;
        ASSERT_EQ(upgrade(step), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    }
};

TEST_F(CashierBalancesOnlyTest, MovementsAreFoldedIntoTheOpeningBalances) {
    convertStandard();
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_XJRJZ")), QStringLiteral("0"));
    // Journal: the period 12 closing balances; statement likewise. The
    // adjusted balances of the bank account agree with each other: the
    // statement's unreconciled items (326.50 credit, 30.00 debit) against
    // the journal's (133498.20 and 87413.83 paid).
    // The dollar account's base: the source's base opening (355000.00)
    // and each row's base amount, whatever today's rate.
    const QString dollarBase = targetValue(QStringLiteral(
        "SELECT CAST(355000 + SUM((FDebit - FCredit) * FExchRate) AS money) FROM AIS_TRBankJnl WHERE FCyID = 'USD'"));
    EXPECT_EQ(target(QStringLiteral("SELECT FKmID, FYe, FYeB, FYhdzdYe, FYhrjzTzhYe, FYhdzdTzhYe FROM cn_Account "
                                    "ORDER BY FKmID")),
              (QStringList{QStringLiteral("1001\t35112.84\t35112.84\t0\t0\t0"),
                           QStringLiteral("1003\t1660575.23\t1660575.23\t1881783.76\t1660871.73\t1660871.73"),
                           QStringLiteral("1004\t105961.32\t") + dollarBase +
                               QStringLiteral("\t105961.32\t105961.32\t105961.32")}));
    // The journal's year opening keeps that base; the statement, which has
    // no base amounts, is rated at the current 7.1653.
    EXPECT_EQ(
        target(QStringLiteral("SELECT l.FType, a.FKmID, l.FYe, l.FYeB FROM Cn_Lcye l INNER JOIN cn_Account a ON "
                              "a.FID = l.FKmID ORDER BY l.FType, a.FKmID")),
        (QStringList{QStringLiteral("1\t1001\t35112.84\t35112.84"), QStringLiteral("2\t1003\t1660575.23\t1660575.23"),
                     QStringLiteral("2\t1004\t105961.32\t") + dollarBase,
                     QStringLiteral("3\t1003\t1881783.76\t1881783.76"),
                     QStringLiteral("3\t1004\t105961.32\t759244.6462")}));
    EXPECT_EQ(targetValue(cnKey("CN_START_YEAR")), QStringLiteral("2025"));
    EXPECT_EQ(targetValue(cnKey("CN_START_PERIOD")), QStringLiteral("12"));
}

TEST_F(CashierBalancesOnlyTest, OnlyTheCurrentUnreconciledItemsStayOnceOpenAndOnceCarried) {
    convertStandard();
    const QString bank = cashierAccount(1003, 1);
    for (const char *table : {"CN_YHRJZ", "CN_YHDZD"}) {
        const QString t = QString::fromLatin1(table);
        SCOPED_TRACE(table);
        EXPECT_EQ(target(QStringLiteral("SELECT FYear, FPeriod, FJz, COUNT(*), SUM(FDebit), SUM(FCredit) FROM ") + t +
                         QStringLiteral(" WHERE FKmID = ") + bank +
                         QStringLiteral(" GROUP BY FYear, FPeriod, FJz ORDER BY FYear")),
                  t == QStringLiteral("CN_YHRJZ") ? (QStringList{QStringLiteral("0\t0\tfalse\t2\t0\t220912.03"),
                                                                 QStringLiteral("2025\t12\ttrue\t2\t0\t220912.03")})
                                                  : (QStringList{QStringLiteral("0\t0\tfalse\t2\t30\t326.5"),
                                                                 QStringLiteral("2025\t12\ttrue\t2\t30\t326.5")}));
        EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM ") + t + QStringLiteral(" WHERE FKmID <> ") + bank),
                  QStringLiteral("0"));
        // Opening rows point at themselves, each carried copy at its
        // opening row, one copy per opening row.
        EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM ") + t +
                              QStringLiteral(" WHERE FYear = 0 AND (FOldID <> FID OR FDzAlready <> 0)")),
                  QStringLiteral("0"));
        EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(DISTINCT c.FOldID) FROM ") + t +
                              QStringLiteral(" c INNER JOIN ") + t +
                              QStringLiteral(" o ON o.FID = c.FOldID AND o.FYear = 0 AND o.FExp = c.FExp WHERE c.FJz = "
                                             "1 AND c.FDzNumber = -1")),
                  QStringLiteral("2"));
        EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name = '") + t.toLower() +
                              QStringLiteral("tmp'")),
                  QStringLiteral("0"));
    }
}
