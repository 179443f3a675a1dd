// The options phase and the periods phase on the standard sample: the
// options row's values in the profile, and the three period modes with the
// 13-period rule, table-driven.
#include <QDate>

#include "kit/UpgradeStepFixture.h"
#include "upgrade/common/UpgradeGlobals.h"

#include "BaseSysAccess.h"

namespace {

class BaseSysPeriodsTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
    }
    QString profile(const QString &category, const QString &key) {
        return targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = '%1' AND FKey = '%2'")
                               .arg(category, key));
    }
    // Periods as "year/period/start/end", in date order.
    QStringList periods(const QString &where = QString()) {
        return target("SELECT CAST(FYear AS varchar(4)) + '/' + CAST(FPeriod AS varchar(2)) + '/' + "
                      "CONVERT(varchar(10), FStartDate, 120) + '/' + CONVERT(varchar(10), FEndDate, 120) FROM "
                      "t_PeriodDate " +
                      where + " ORDER BY FStartDate, FPeriod");
    }
    clsBaseSysTestAccess s;
};

TEST_F(BaseSysPeriodsTest, OptionsValuesFollowTheSourceRow) {
    struct Case {
        const char *coType;
        const char *deprMade;
        const char *mode;
        const char *accountType;
        const char *withoutDepr;
        const char *periodByMonth;
    } cases[] = {
        {"22", "1", "-1", "3", "0", "1"}, {"21", "0", "0", "2", "-1", "0"},  {"23", "1", "1", "4", "0", "0"},
        {"0", "0", "-1", "1", "-1", "1"}, {"NULL", "1", "5", "1", "0", "0"},
    };
    bool first = true;
    for (const Case &c : cases) {
        ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLPref SET FCoType = %1, FDeprMade = %2, FPeriodByMonth = %3; "
                                           "DELETE FROM t_SystemProfile WHERE FKey IN ('CompanyTax', "
                                           "'CompanyYHAccount')")
                                .arg(c.coType, c.deprMade, c.mode)),
                  QString());
        if (!first) {
            ASSERT_EQ(targetRun("DELETE FROM t_SystemProfile WHERE FKey = 'AccountType'"), QString());
        }
        first = false;
        EXPECT_EQ(s.UpgradeOptions(), 0) << c.coType;
        EXPECT_EQ(newLogRows(),
                  QStringList{QStringLiteral("成功\t账套选项\t名称、税号、银行账户、电话、地址、本位币、会"
                                             "计制度、会计启用年度、会计启用期间、会计期间数等。")});
        EXPECT_EQ(profile("GL", "AccountType"), QString::fromLatin1(c.accountType)) << c.coType;
        EXPECT_EQ(profile("FA", "withoutDepr"), QString::fromLatin1(c.withoutDepr)) << c.deprMade;
        EXPECT_EQ(profile("GL", "PeriodByMonth"), QString::fromLatin1(c.periodByMonth)) << c.mode;
        EXPECT_EQ(s.periodByMonth, QString::fromLatin1(c.mode).toInt());
    }
    // GLPref.tsv of the standard sample.
    EXPECT_EQ(profile("General", "CompanyTax"), "91310115MA1H8K2X3Q");
    EXPECT_EQ(profile("General", "CompanyYHAccount"),
              QStringLiteral("中国工商银行上海张江支行 1001 2345 0900 1234 567"));
    EXPECT_EQ(profile("GL", "FBWB"), "RMB");
    EXPECT_EQ(targetValue("SELECT FReadOnly FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'FBWB'"), "1");
    EXPECT_EQ(targetValue("SELECT FDescription FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'AccountType'"),
              QStringLiteral("1：企业会计准则，2：小企业会计准则，3：新会计准则，4：新小企业会计准则"));
    EXPECT_EQ(s.startYear, 2025);
    EXPECT_EQ(s.yearBeginMonth, 1);
    EXPECT_EQ(s.yearBeginDay, 1);
    EXPECT_EQ(s.periodsPerYear, 12);
    EXPECT_EQ(s.daysPerPeriod, 30);
    EXPECT_EQ(s.currentPeriod, 12);
    EXPECT_EQ(s.baseCurrency, "RMB");
    EXPECT_EQ(g_PeriodsPerYear, 12);
}

TEST_F(BaseSysPeriodsTest, QuotesInCompanyTextsAreStoredIntact) {
    ASSERT_EQ(targetRun("UPDATE AIS_GLPref SET FCompany = N'O''Neil; --]', FAddress = NULL"), QString());
    EXPECT_EQ(s.UpgradeOptions(), 0);
    EXPECT_EQ(profile("General", "CompanyName"), "O'Neil; --]");
}

TEST_F(BaseSysPeriodsTest, MissingOrBrokenOptionsFailAndSetNothing) {
    g_PeriodsPerYear = 5;
    ASSERT_EQ(targetRun("UPDATE AIS_GLPref SET FStartYear = NULL"), QString());
    EXPECT_EQ(s.UpgradeOptions(), 2);
    QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t账套选项\t发生错误："))) << rows[0].toStdString();
    EXPECT_EQ(s.startYear, -7);
    EXPECT_EQ(g_PeriodsPerYear, 5);

    ASSERT_EQ(targetRun("DELETE FROM AIS_GLPref"), QString());
    EXPECT_EQ(s.UpgradeOptions(), 2);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("错误\t账套选项\t不能取得源账套的账套选项资料")});
    EXPECT_EQ(s.baseCurrency, "unset");
}

struct GeneratedCase {
    const char *name;
    int mode, perYear, beginMonth, beginDay, days;
    int rows;
    QStringList firstRows;  // the first periods in date order
    QStringList someRows;   // further periods that must be there
    const char *periodDates;
};

TEST_F(BaseSysPeriodsTest, GeneratesFiftyYearsByMonthOrByDays) {
    const GeneratedCase cases[] = {
        {"calendar months",
         -1,
         12,
         1,
         1,
         30,
         600,
         {"2025/1/2025-01-01/2025-01-31", "2025/2/2025-02-01/2025-02-28"},
         {"2028/2/2028-02-01/2028-02-29", "2074/12/2074-12-01/2074-12-31"},
         "010102010301040105010601070108010901100111011201"},
        {"year from 16 April",
         -1,
         12,
         4,
         16,
         30,
         9 + 49 * 12,
         {"2025/4/2025-04-16/2025-04-30", "2025/5/2025-05-01/2025-05-31"},
         {"2025/12/2025-12-01/2025-12-31", "2026/1/2026-01-01/2026-01-31"},
         "041605010601070108010901100111011201"},
        {"thirteen periods",
         -1,
         13,
         1,
         1,
         30,
         650,
         {"2025/1/2025-01-01/2025-01-31"},
         {"2025/12/2025-12-01/2025-12-30", "2025/13/2025-12-31/2025-12-31", "2026/1/2026-01-01/2026-01-31"},
         "0101020103010401050106010701080109011001110112011231"},
        {"fixed days",
         0,
         12,
         1,
         1,
         30,
         -1,
         {"2025/1/2025-01-01/2025-01-31", "2025/2/2025-02-01/2025-03-03", "2025/3/2025-03-04/2025-04-03"},
         {"2025/12/2025-12-08/2026-01-07", "2026/1/2026-01-08/2026-02-07"},
         "010102010304040405050605070608060906100711071208"},
    };
    for (const GeneratedCase &c : cases) {
        ASSERT_EQ(targetRun("DELETE FROM t_PeriodDate"), QString());
        EXPECT_EQ(s.UpgradePeriods(2025, c.perYear, c.mode, c.beginMonth, c.beginDay, c.days), 0) << c.name;
        EXPECT_TRUE(newLogRows().isEmpty()) << c.name;
        const QStringList all = periods();
        if (c.rows >= 0) {
            EXPECT_EQ(all.size(), c.rows) << c.name;
        }
        EXPECT_EQ(all.mid(0, c.firstRows.size()), c.firstRows) << c.name;
        for (const QString &row : c.someRows) EXPECT_TRUE(all.contains(row)) << c.name << " " << row.toStdString();
        EXPECT_EQ(profile("GL", "PeriodDates"), QString::fromLatin1(c.periodDates)) << c.name;
        // Every period starts the day after the one before it ends, and the
        // years run from 2025 to 2074.
        for (qsizetype i = 1; i < all.size(); ++i) {
            const QDate end = QDate::fromString(all[i - 1].section('/', 3, 3), Qt::ISODate);
            const QDate start = QDate::fromString(all[i].section('/', 2, 2), Qt::ISODate);
            ASSERT_EQ(start, end.addDays(1)) << c.name << " " << all[i].toStdString();
        }
        EXPECT_TRUE(all.last().startsWith("2074/")) << c.name;
    }
}

TEST_F(BaseSysPeriodsTest, FixedDaysStartEachYearWhereTheLastPeriodEnded) {
    // 31-day periods drift a week a year; once a year's last period ends in
    // February, the next year starts at period 2 (or later), as the month
    // after the end's month.
    ASSERT_EQ(s.UpgradePeriods(2025, 12, 0, 1, 1, 30), 0);
    const QStringList all = periods();
    int yearsNotFromOne = 0;
    for (qsizetype i = 1; i < all.size(); ++i) {
        if (all[i].section('/', 0, 0) == all[i - 1].section('/', 0, 0)) continue;
        const QDate end = QDate::fromString(all[i - 1].section('/', 3, 3), Qt::ISODate);
        const QDate next = end.addDays(1);
        const int first = next.year() > end.year() ? 1 : next.month() != end.month() ? end.month() + 1 : end.month();
        EXPECT_EQ(all[i].section('/', 1, 1).toInt(), first) << all[i].toStdString();
        EXPECT_EQ(all[i - 1].section('/', 1, 1), "12");
        if (first != 1) ++yearsNotFromOne;
    }
    EXPECT_GT(yearsNotFromOne, 0);
}

TEST_F(BaseSysPeriodsTest, CopyModeOtherModesAndFailures) {
    // Copy: the target holds the source's period table.
    EXPECT_EQ(s.UpgradePeriods(2025, 12, 1, 1, 1, 30), 0);
    EXPECT_EQ(periods(), target("SELECT CAST(FYear AS varchar(4)) + '/' + CAST(FPeriod AS varchar(2)) + '/' + "
                                "CONVERT(varchar(10), FStartDate, 120) + '/' + CONVERT(varchar(10), FEndDate, 120) "
                                "FROM AIS_GLPeriod ORDER BY FStartDate, FPeriod"));
    EXPECT_EQ(periods().size(), 12);
    EXPECT_EQ(profile("GL", "PeriodDates"), "010102010301040105010601070108010901100111011201");

    // Another mode writes no periods.
    ASSERT_EQ(targetRun("DELETE FROM t_PeriodDate"), QString());
    EXPECT_EQ(s.UpgradePeriods(2025, 12, 7, 1, 1, 30), 0);
    EXPECT_TRUE(periods().isEmpty());
    EXPECT_TRUE(newLogRows().isEmpty());

    // An impossible first day fails the phase.
    EXPECT_EQ(s.UpgradePeriods(2025, 12, -1, 2, 30, 30), 2);
    QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t基础资料-会计期间\t发生错误："))) << rows[0].toStdString();

    // A batch the server refuses (a period already there) is a failure, and
    // none of the batch's rows stays.
    ASSERT_EQ(targetRun("INSERT INTO t_PeriodDate (FYear, FPeriod, FStartDate, FEndDate) VALUES (2030, 5, "
                        "'2030-05-01', '2030-05-31')"),
              QString());
    EXPECT_EQ(s.UpgradePeriods(2025, 12, -1, 1, 1, 30), 2);
    rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t基础资料-会计期间\t发生错误："))) << rows[0].toStdString();
    EXPECT_EQ(periods().size(), 1);
}

}  // namespace
