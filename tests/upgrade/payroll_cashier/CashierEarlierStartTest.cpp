// A cashier whose source started in an earlier year than its current one:
// the cashier starts in period 1 of the current year, and the bank journal
// and statement rows dated before it are history except the items still
// outstanding then. The source is the standard sample's table text with
// rows of the year before added: two reconciled pairs, one outstanding
// journal payment and one outstanding bank charge (besides the sample's own
// outstanding interest of 2024-12-31).
#include "CashierFixture.h"

#include "upgrade/payroll_cashier/clsCn.h"

namespace {

// Account 100201 in RMB; the pairs name vouchers 901 and 902 of periods 11
// and 12, which no row of the current year names.
const char kJournalBefore[] =
    "1\t100201\tRMB\t2024-11-05\t11\t付\t901\t1\t支付上年货款\t2202\t0.00\t1000.00\t1\t转账支票\tZZ0901\t王芳\t李娜\t1"
    "\t1\t0\t0\t0\t1000.00\n"
    "1\t100201\tRMB\t2024-12-10\t12\t收\t902\t1\t收到上年货款\t1122\t2500.00\t0.00\t1\t网上银行\t\t王芳\t李娜\t1\t1\t0"
    "\t0\t2500.00\t0\n"
    "1\t100201\tRMB\t2024-12-28\t12\t付\t903\t1\t支付上年运费\t6601\t0.00\t480.00\t1\t转账支票\tZZ0903\t王芳\t李娜\t0"
    "\t0\t0\t0\t0\t480.00";
const char kStatementBefore[] =
    "100201\tRMB\t2024-11-06\t11\t转账支票\tZZ0901\t支付上年货款\tD\t1000.00\t李娜\t李娜\t1\t1\t901\t付\t11\t1\n"
    "100201\tRMB\t2024-12-11\t12\t网上银行\t\t收到上年货款\tC\t2500.00\t李娜\t李娜\t1\t1\t902\t收\t12\t1\n"
    "100201\tRMB\t2024-12-20\t12\t网上银行\t\t银行手续费\tD\t75.00\t李娜\t李娜\t0\t0\t\\N\t\\N\t\\N\t\\N";

}  // namespace

class CashierEarlierStartTest : public CashierFixture {
protected:
    void SetUp() override {
        CashierFixture::SetUp();
        createFromEdited(QStringLiteral("standard"), [](SampleTables &tables) {
            jet::TableText &options = SampleTable(tables, QStringLiteral("GLPref"));
            SetSampleCells(options, QStringLiteral("FStartYear"), QStringLiteral("2024"));
            SetSampleCells(options, QStringLiteral("FStartPeriod"), QStringLiteral("10"));
            AppendSampleRows(SampleTable(tables, QStringLiteral("TRBankJnl")), QString::fromUtf8(kJournalBefore));
            AppendSampleRows(SampleTable(tables, QStringLiteral("TRBankChkNote")), QString::fromUtf8(kStatementBefore));
        });
        seedStandardBase();
        clsCn step;
        ASSERT_EQ(upgrade(step), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    }
};

// Only the outstanding items become opening items (year 0, period 0), and
// only they are carried into the twelve periods of the current year.
TEST_F(CashierEarlierStartTest, OnlyOutstandingItemsBeforeTheStartAreOpenedAndCarried) {
    struct Expected {
        const char *table;
        QStringList opening;  // FDate, FDebit, FCredit, FDzAlready
        const char *carried;  // copies: count, debit, credit
    };
    const Expected expected[] = {
        {"CN_YHRJZ", {QStringLiteral("2024-12-28T00:00:00.000\t0\t480\tfalse")}, "12\t0\t5760"},
        {"CN_YHDZD",
         {QStringLiteral("2024-12-20T00:00:00.000\t75\t0\tfalse"),
          QStringLiteral("2024-12-31T00:00:00.000\t0\t326.5\tfalse")},
         "24\t900\t3918"},
    };
    for (const Expected &e : expected) {
        const QString table = QString::fromLatin1(e.table);
        SCOPED_TRACE(e.table);
        EXPECT_EQ(target(QStringLiteral("SELECT FDate, FDebit, FCredit, FDzAlready FROM ") + table +
                         QStringLiteral(" WHERE FYear = 0 AND FPeriod = 0 ORDER BY FDate")),
                  e.opening);
        EXPECT_EQ(target(QStringLiteral("SELECT COUNT(*), SUM(FDebit), SUM(FCredit) FROM ") + table +
                         QStringLiteral(" WHERE FJz = 1")),
                  QStringList{QString::fromLatin1(e.carried)});
    }
}

// The balances worked out from the source: the journal's and the
// statement's openings of period 1, each adjusted by the other side's
// outstanding items (statement 326.50 credited and 75.00 charged, journal
// 480.00 paid).
TEST_F(CashierEarlierStartTest, AdjustedBalancesCountOnlyTheOutstandingItems) {
    EXPECT_EQ(target(QStringLiteral("SELECT FYe, FYhdzdYe, FYhrjzTzhYe, FYhdzdTzhYe FROM cn_Account WHERE FKmID = "
                                    "1003")),
              QStringList{QStringLiteral("2256800\t2257126.5\t2257051.5\t2256646.5")});
    EXPECT_EQ(target(QStringLiteral("SELECT l.FType, l.FDebit, l.FCredit FROM Cn_Lcye l INNER JOIN cn_Account a ON "
                                    "a.FID = l.FKmID WHERE a.FKmID = 1003 ORDER BY l.FType")),
              (QStringList{QStringLiteral("2\t75\t326.5"), QStringLiteral("3\t0\t480")}));
}
