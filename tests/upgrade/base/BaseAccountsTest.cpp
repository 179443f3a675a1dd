// The chart of accounts: a whole base-data run on both samples checked
// against GLAcct.tsv, and the account phase's own cases (units asked of
// the operator, codes that do not fit the structure, unmapped currencies,
// failed batches, quotes in names).
#include <gtest/gtest.h>

#include <QLabel>

#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/base/BaseDataAskers.h"
#include "upgrade/base/BaseSysAccess.h"
#include "upgrade/base/SubLedgerNatureAsker.h"
#include "upgrade/common/UpgradeGlobals.h"

namespace {

// Customer 1122 and 2203, supplier 2202, both 1123.
bool answerNatures(const QVariant &data, PnwList &answer) {
    answer = data.value<PnwList>();
    for (int i = 1; i <= answer.Count(); ++i) {
        PnwDictionary record = answer.DictionaryItem(i);
        const QString code = record.Item(QStringLiteral("FAcctID")).toString();
        record.setItem(QStringLiteral("FIsCustomer"), code == QLatin1String("2202") ? 0 : 1);
        record.setItem(QStringLiteral("FIsSupplier"),
                       code == QLatin1String("2202") || code == QLatin1String("1123") ? 1 : 0);
    }
    return true;
}

class AccountsTestBase : public UpgradeStepFixture {
protected:
    void TearDown() override {
        ResetBaseDataAskers();
        g_SubLedgerNatures.RemoveAll();
        UpgradeStepFixture::TearDown();
    }
    // One account as written: number, name, level, detail, parent and root
    // numbers, group, direction, help code, currency, adjust, quantities,
    // unit and unit group, cash, bank, journal, full name, contact.
    QString account(const QString &code) {
        return targetValue(
            QStringLiteral(
                "SELECT a.FNumber + '|' + a.FName + '|' + CONVERT(NVARCHAR(5), a.FLevel) + '|' + CONVERT(NVARCHAR(5), "
                "CONVERT(INT, a.FDetail)) + '|' + ISNULL(p.FNumber, '-') + '|' + ISNULL(r.FNumber, '?') + '|' + "
                "CONVERT(NVARCHAR(5), a.FGroupID) + '|' + CONVERT(NVARCHAR(5), a.FDC) + '|' + ISNULL(a.FHelperCode, "
                "'NULL') + '|' + ISNULL(c.FNumber, CONVERT(NVARCHAR(5), a.FCurrencyID)) + '|' + CONVERT(NVARCHAR(5), "
                "CONVERT(INT, a.FAdjustRate)) + '|' + CONVERT(NVARCHAR(5), CONVERT(INT, a.FQuantities)) + '|' + "
                "ISNULL(u.FName, CONVERT(NVARCHAR(5), a.FMeasureUnitID)) + '|' + ISNULL(g.FName, CONVERT(NVARCHAR(5), "
                "a.FUnitGroupID)) + '|' + CONVERT(NVARCHAR(5), CONVERT(INT, a.FIsCash)) + '|' + CONVERT(NVARCHAR(5), "
                "CONVERT(INT, a.FIsBank)) + '|' + CONVERT(NVARCHAR(5), CONVERT(INT, a.FJournal)) + '|' + a.FFullName + "
                "'|' + CONVERT(NVARCHAR(5), CONVERT(INT, a.FContact)) "
                "FROM AIS_GLAcct s INNER JOIN T_Account a ON a.FAccountID = s.FZ8InterID "
                "LEFT JOIN T_Account p ON p.FAccountID = a.FParentID LEFT JOIN T_Account r ON r.FAccountID = a.FRootID "
                "LEFT JOIN T_Currency c ON c.FCurrencyID = a.FCurrencyID LEFT JOIN T_MeasureUnit u ON "
                "u.FMeasureUnitID = a.FMeasureUnitID LEFT JOIN T_UnitGroup g ON g.FUnitGroupID = a.FUnitGroupID "
                "WHERE s.FAcctID = '%1'")
                .arg(code));
    }
    // The account's combination: its count and "class=item" of its
    // per-class rows.
    QString combination(const QString &code) {
        const QString id = targetValue(QStringLiteral("SELECT a.FDetailID FROM AIS_GLAcct s INNER JOIN T_Account a ON "
                                                      "a.FAccountID = s.FZ8InterID WHERE s.FAcctID = '%1'")
                                           .arg(code));
        if (id == QLatin1String("0")) return QStringLiteral("0");
        return targetValue(QStringLiteral("SELECT FDetailCount FROM T_ItemDetail WHERE FDetailID = ") + id) +
               QLatin1Char(':') +
               target(
                   QStringLiteral("SELECT CONVERT(NVARCHAR(10), FItemClassID) + '=' + CONVERT(NVARCHAR(10), FItemID) "
                                  "FROM T_ItemDetailV WHERE FDetailID = %1 ORDER BY FItemClassID")
                       .arg(id))
                   .join(QLatin1Char(' '));
    }
};

class BaseAccountsRunTest : public AccountsTestBase, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override {
        AccountsTestBase::SetUp();
        previous = SubLedgerNatureAskerHook();
        SubLedgerNatureAskerHook() = answerNatures;
    }
    void TearDown() override {
        SubLedgerNatureAskerHook() = previous;
        AccountsTestBase::TearDown();
    }
    SubLedgerNatureAsker previous;
};

// Worked out from GLAcct.tsv (levels 4, 2, 2; group 600 read as 601; no
// help codes), GLCy.tsv and the natures answered above.
struct ExpectedAccount {
    const char *code;
    const char *row;
    const char *combination;
    bool standardOnly;
};
const ExpectedAccount kAccounts[] = {
    {"1001", "1001|库存现金|1|1|-|1001|101|1|NULL|RMB|0|0|*|*|1|0|1|库存现金|0", "0", false},
    {"1002", "1002|银行存款|1|0|-|1002|101|1|NULL|RMB|0|0|*|*|0|0|0|银行存款|0", "0", false},
    {"100201", "1002.01|工商银行浦东支行|2|1|1002|1002|101|1|NULL|RMB|0|0|*|*|0|1|1|银行存款_工商银行浦东支行|0", "0",
     false},
    {"100202", "1002.02|中国银行美元户|2|1|1002|1002|101|1|NULL|USD|1|0|*|*|0|1|1|银行存款_中国银行美元户|0", "0",
     true},
    {"1122", "1122|应收账款|1|1|-|1122|101|1|NULL|RMB|0|0|*|*|0|0|0|应收账款|1", "1:1=-1", false},
    {"1123", "1123|预付账款|1|1|-|1123|101|1|NULL|RMB|0|0|*|*|0|0|0|预付账款|1", "2:1=-1 8=-1", false},
    {"1221", "1221|其他应收款|1|1|-|1221|101|1|NULL|RMB|0|0|*|*|0|0|0|其他应收款|0", "1:3=-1", false},
    {"14050101", "1405.01.01|内存条|3|1|1405.01|1405|101|1|NULL|RMB|0|1|条|条|0|0|0|库存商品_电脑配件_内存条|0", "0",
     false},
    {"14050203", "1405.02.03|碎纸机|3|1|1405.02|1405|101|1|NULL|RMB|0|1|台|台|0|0|0|库存商品_办公设备_碎纸机|0", "0",
     false},
    {"1602", "1602|累计折旧|1|1|-|1602|102|-1|NULL|RMB|0|0|*|*|0|0|0|累计折旧|0", "0", false},
    {"2202", "2202|应付账款|1|1|-|2202|201|-1|NULL|RMB|0|0|*|*|0|0|0|应付账款|1", "1:8=-1", false},
    {"2203", "2203|预收账款|1|1|-|2203|201|-1|NULL|RMB|0|0|*|*|0|0|0|预收账款|1", "1:1=-1", false},
    {"22210101", "2221.01.01|进项税额|3|1|2221.01|2221|201|-1|NULL|RMB|0|0|*|*|0|0|0|应交税费_应交增值税_进项税额|0",
     "0", false},
    {"6001", "6001|主营业务收入|1|1|-|6001|601|-1|NULL|RMB|0|0|*|*|0|0|0|主营业务收入|0", "1:3001=-1", true},
    {"660201", "6602.01|工资|2|1|6602|6602|601|1|NULL|RMB|0|0|*|*|0|0|0|管理费用_工资|0", "1:2=-1", false},
    {"660202", "6602.02|办公费|2|1|6602|6602|601|1|NULL|RMB|0|0|*|*|0|0|0|管理费用_办公费|0", "2:2=-1 3=-1", false},
};

}  // namespace

TEST_P(BaseAccountsRunTest, TheRunConvertsTheChartOfAccounts) {
    const bool mini = QString::fromLatin1(GetParam()) == QLatin1String("mini");
    createFrom(QString::fromLatin1(GetParam()));
    clsBaseSys checker;
    ASSERT_EQ(check(checker), 0);
    clsBaseSys step;
    ASSERT_EQ(upgrade(step), 0);
    for (const ExpectedAccount &a : kAccounts) {
        if (mini && a.standardOnly) continue;
        SCOPED_TRACE(a.code);
        EXPECT_EQ(account(QString::fromLatin1(a.code)), QString::fromUtf8(a.row));
        EXPECT_EQ(combination(QString::fromLatin1(a.code)), QString::fromLatin1(a.combination));
    }
    // Every account is mapped; ids run from one above the counter's 1000 in
    // code order, and the counter holds the last.
    const QStringList codes = target(QStringLiteral("SELECT FAcctID FROM AIS_GLAcct ORDER BY FAcctID"));
    QStringList expected;
    for (int i = 0; i < codes.size(); ++i) expected << codes[i] + QLatin1Char('\t') + QString::number(1001 + i);
    EXPECT_EQ(target(QStringLiteral("SELECT s.FAcctID, a.FAccountID FROM AIS_GLAcct s INNER JOIN T_Account a ON "
                                    "a.FAccountID = s.FZ8InterID ORDER BY s.FAcctID")),
              expected);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FMaxNum FROM ICMaxNum WHERE FTableName = N'T_Account'")),
              QString::number(1000 + codes.size()));
    // Accounts of the same classes share one combination.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(DISTINCT FDetailID) FROM T_Account WHERE FNumber IN ('6601.01', "
                                         "'6602.01', '6602.04')")),
              QStringLiteral("1"));
}

INSTANTIATE_TEST_SUITE_P(Samples, BaseAccountsRunTest, ::testing::Values("standard", "mini"));

namespace {

// The account phase alone on the standard sample, after the phases it
// relies on; currencies mapped by hand (RMB 1, USD 2).
class BaseAccountsTest : public AccountsTestBase {
protected:
    void SetUp() override {
        AccountsTestBase::SetUp();
        createFrom(QStringLiteral("standard"));
        g_AcctLevelCount = 3;
        g_AcctLevelLengths.RemoveAll();
        g_AcctLevelLengths.setItem(QStringLiteral("1"), 4);
        g_AcctLevelLengths.setItem(QStringLiteral("2"), 2);
        g_AcctLevelLengths.setItem(QStringLiteral("3"), 2);
        g_SubLedgerNatures.RemoveAll();
        for (const char *code : {"1122", "2203"}) g_SubLedgerNatures.setItem(QString::fromLatin1(code), 0);
        for (const char *code : {"1123", "2202"}) g_SubLedgerNatures.setItem(QString::fromLatin1(code), 1);
        ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLCy SET FZ8InterID = 1 WHERE FCyID = 'RMB'\n"
                                           "UPDATE AIS_GLCy SET FZ8InterID = 2 WHERE FCyID = 'USD'")),
                  QString());
        ASSERT_EQ(access.UpgradeMeteringUnit(), 0);
        ASSERT_EQ(access.UpgradeCustomItems(), 0);
        newLogRows();
    }
    QString accounts() { return targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Account")); }
    clsBaseSysTestAccess access;
};

}  // namespace

TEST_F(BaseAccountsTest, AQuantityAccountWithoutAUnitTakesTheOperatorsChoice) {
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLAcct SET FQtyAux = 1, FUnit = '*' WHERE FAcctID = '140502'")),
              QString());
    // Left without a choice: nothing is written.
    EXPECT_EQ(access.UpgradeAccounts(), 2);
    EXPECT_EQ(accounts(), QStringLiteral("0"));
    QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0],
              QStringLiteral("错误\t会计科目\t发生错误：某些会计科目勾选了数量金额核算，但是未正确指定计量单位。"));

    const QString box = targetValue(QStringLiteral("SELECT FMeasureUnitID FROM T_MeasureUnit WHERE FName = N'箱'"));
    QStringList asked;
    QuantityUnitAskerHook() = [&](PnwList &records) {
        for (int i = 1; i <= records.Count(); ++i) {
            PnwDictionary record = records.DictionaryItem(i);
            asked << record.Item(QStringLiteral("FAcctID")).toString() + QLatin1Char('/') +
                         record.Item(QStringLiteral("FAcctName")).toString();
            record.setItem(QStringLiteral("FUnit"), box.toInt());
        }
        return true;
    };
    EXPECT_EQ(access.UpgradeAccounts(), 0);
    EXPECT_EQ(asked, QStringList({QStringLiteral("140502/办公设备")}));
    EXPECT_EQ(account(QStringLiteral("140502")),
              QStringLiteral("1405.02|办公设备|2|0|1405|1405|101|1|NULL|RMB|0|1|箱|箱|0|0|0|库存商品_办公设备|0"));
    log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("成功\t会计科目\t升级会计科目数目：56"));
}

TEST_F(BaseAccountsTest, ACodeThatDoesNotFitTheStructureStopsThePhaseNamingIt) {
    ASSERT_EQ(targetRun(QStringLiteral("INSERT INTO AIS_GLAcct (FAcctID, FAcctName, FGroup, FDC, FRateAdj, FJrnl, "
                                       "FDetail, FIsCash, FIsBankAc, FBank, FTrans, FQtyAux, FClsID, FLevel, FMutiCls, "
                                       "FCustomer, FDepartment, FEmployee) VALUES ('10011', N'坏代码', 101, 'D', 0, 0, "
                                       "1, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0)")),
              QString());
    EXPECT_EQ(access.UpgradeAccounts(), 2);
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("错误\t会计科目\t错误：会计科目（10011）的代码不符合科目结构，无法分级。\r\n"));
    // The account before it stays, mapped; nothing after it is written.
    EXPECT_EQ(target(QStringLiteral("SELECT s.FAcctID FROM AIS_GLAcct s INNER JOIN T_Account a ON a.FAccountID = "
                                    "s.FZ8InterID")),
              QStringList({QStringLiteral("1001")}));
    EXPECT_EQ(accounts(), QStringLiteral("1"));
}

TEST_F(BaseAccountsTest, UnmappedCurrenciesAndUnitsAreReported) {
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLAcct SET FForCy = 'EUR' WHERE FAcctID = '100202'\n"
                                       "UPDATE AIS_GLAcct SET FUnit = N'吨' WHERE FAcctID = '14050202'")),
              QString());
    EXPECT_EQ(access.UpgradeAccounts(), 1);
    EXPECT_EQ(account(QStringLiteral("100202")).section(QLatin1Char('|'), 9, 9), QStringLiteral("-1"));
    EXPECT_EQ(account(QStringLiteral("14050202")).section(QLatin1Char('|'), 12, 13), QStringLiteral("-1|-1"));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0],
              QStringLiteral("警告\t会计科目\t以下会计科目的币别或计量单位没有对应的专业版资料：100202（币别）、"
                             "14050202（计量单位）"));
    EXPECT_EQ(log[1], QStringLiteral("成功\t会计科目\t升级会计科目数目：56"));
}

TEST_F(BaseAccountsTest, AFailedBatchStopsThePhaseAndQuotesIt) {
    // The third account's identifier is taken.
    ASSERT_EQ(
        targetRun(QStringLiteral("INSERT INTO T_Account (FAccountID, FNumber, FName) VALUES (1003, 'X', N'占用')")),
        QString());
    EXPECT_EQ(access.UpgradeAccounts(), 2);
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("错误\t会计科目\t错误："))) << log[0].toStdString();
    EXPECT_TRUE(log[0].contains(QStringLiteral("（SQL语句执行错误）\r\n INSERT INTO T_Account(")));
    EXPECT_TRUE(log[0].contains(QStringLiteral("'1002.01'")));
    EXPECT_EQ(target(QStringLiteral("SELECT s.FAcctID FROM AIS_GLAcct s INNER JOIN T_Account a ON a.FAccountID = "
                                    "s.FZ8InterID ORDER BY s.FAcctID")),
              QStringList({QStringLiteral("1001"), QStringLiteral("1002")}));
}

TEST_F(BaseAccountsTest, AnAccountWhoseCombinationCannotBeBuiltStopsThePhase) {
    // 6001 carries the custom class 4, which has lost its target class.
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLCls SET FZ8InterID = NULL WHERE FClsID = 4")), QString());
    EXPECT_EQ(access.UpgradeAccounts(), 2);
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("错误\t会计科目\t错误：会计科目（6001）：下挂科目核算项目错误。\r\n"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Account WHERE FNumber = '6001' OR FDetailID < 0")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Account WHERE FNumber = '4104.01'")),
              QStringLiteral("1"));
}

TEST_F(BaseAccountsTest, QuotesLeaveNamesAndFullNames) {
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLAcct SET FAcctName = N'银行''存款', FHelperCode = N'Y''H' WHERE "
                                       "FAcctID = '1002'")),
              QString());
    EXPECT_EQ(access.UpgradeAccounts(), 0);
    EXPECT_EQ(account(QStringLiteral("1002")).section(QLatin1Char('|'), 0, 8),
              QStringLiteral("1002|银行存款|1|0|-|1002|101|1|Y'H"));
    EXPECT_EQ(account(QStringLiteral("100201")).section(QLatin1Char('|'), 17, 17),
              QStringLiteral("银行存款_工商银行浦东支行"));
    // The detail table lists the name as read.
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
}
