// Users, currencies and the intelligent-closing defaults on the standard
// sample (GLUserGroup.tsv, SysUsers.tsv, GLCy.tsv, GLRate.tsv), with the
// edge cases made by changing the staged copies.
#include "kit/UpgradeStepFixture.h"

#include "BaseSysAccess.h"

namespace {

class BaseSysUsersTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
    }
    // Target user of a staged user, "-" when not mapped.
    QString mapped(const QString &user) {
        const QString v = targetValue("SELECT ISNULL(FZ8InterID, -1) FROM AIS_SysUsers WHERE FUser = N'" + user + "'");
        return v == "-1" ? QStringLiteral("-") : v;
    }
    QStringList groupsOf(const QString &user) {
        return target("SELECT G.FGroupID FROM T_Group G INNER JOIN AIS_SysUsers S ON S.FZ8InterID = G.FUserID WHERE "
                      "S.FUser = N'" +
                      user + "' ORDER BY G.FGroupID");
    }
    clsBaseSysTestAccess s;
};

TEST_F(BaseSysUsersTest, GroupsUsersAndMemberships) {
    // One more user in each built-in group, and the group of 出纳 named like
    // a user of another group.
    ASSERT_EQ(targetRun("INSERT INTO AIS_SysUsers (FUser, FUID, FUserGroupID) VALUES (N'amy', 400, 0); "
                        "INSERT INTO AIS_SysUsers (FUser, FUID, FUserGroupID) VALUES (N'bob', 401, 1); "
                        "UPDATE AIS_SysUsers SET FZ8InterID = NULL; "
                        "UPDATE AIS_GLUserGroup SET FUserGroupName = N'王芳' WHERE FUserGroupID = 3"),
              QString());
    EXPECT_EQ(s.UpgradeUsers(), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t用户资料\t用户组数目：4；用户数目：6")});
    EXPECT_EQ(target("SELECT FUserID, FName, FPrimaryGroup, FDescription, FAuthRight, FAccessUUID FROM T_User WHERE "
                     "FUserID BETWEEN 2 AND 16000 ORDER BY FUserID"),
              (QStringList{QStringLiteral("11\t财务会计组\t11\t财务会计组\t4\t0"),
                           QStringLiteral("12\t王芳_组别\t12\t王芳_组别\t4\t0")}));
    EXPECT_EQ(mapped("manager"), "16394");
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_User WHERE FName = 'manager'"), "0");
    // Group 0 joins target groups 0 and 1, group 1 only 0, group 2 0 and 11.
    EXPECT_EQ(groupsOf("amy"), (QStringList{"0", "1"}));
    EXPECT_EQ(groupsOf("bob"), QStringList{"0"});
    EXPECT_EQ(groupsOf(QStringLiteral("陈静")), (QStringList{"0", "11"}));
    EXPECT_EQ(groupsOf(QStringLiteral("李娜")), (QStringList{"0", "12"}));
    // New users are numbered from 16500 in group order, every one once.
    EXPECT_EQ(target("SELECT FZ8InterID FROM AIS_SysUsers WHERE FUID <> 312 ORDER BY FZ8InterID"),
              (QStringList{"16500", "16501", "16502", "16503", "16504"}));
    EXPECT_EQ(mapped("amy"), "16500");
    EXPECT_EQ(mapped("bob"), "16501");
    EXPECT_EQ(mapped(QStringLiteral("李娜")), "16504");
    EXPECT_EQ(target("SELECT U.FName, U.FPrimaryGroup FROM T_User U INNER JOIN AIS_SysUsers S ON S.FZ8InterID = "
                     "U.FUserID WHERE S.FUser IN ('amy', 'bob')  ORDER BY U.FUserID"),
              (QStringList{"amy\t1", "bob\t0"}));
}

TEST_F(BaseSysUsersTest, AFailedGroupLeavesItsUsersUnmappedAndTheOthersGoOn) {
    // The target already holds 16500, so the batch of group 2 fails.
    ASSERT_EQ(targetRun("INSERT INTO T_User (FUserID, FName, FPrimaryGroup, FDescription, FAuthRight, FAccessUUID) "
                        "VALUES (16500, N'占用', 0, N'占用', 20, 0)"),
              QString());
    EXPECT_EQ(s.UpgradeUsers(), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t用户资料\t错误：（SQL语句执行错误）")))
        << rows[0].toStdString();
    EXPECT_EQ(mapped(QStringLiteral("陈静")), "-");
    EXPECT_EQ(mapped(QStringLiteral("王芳")), "-");
    EXPECT_EQ(mapped(QStringLiteral("李娜")), "16502");
    EXPECT_EQ(targetValue("SELECT FName FROM T_User WHERE FUserID = 16502"), QStringLiteral("李娜"));
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_User WHERE FUserID = 11"), "0");
}

TEST_F(BaseSysUsersTest, CurrenciesWithRatesOfTheCurrentPeriod) {
    EXPECT_EQ(s.UpgradeCurrency(3, "RMB"), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t币种\t币种数目：3")});
    // GLRate.tsv period 3: USD 7.1071, HKD 0.912.
    EXPECT_EQ(target("SELECT FCurrencyID, FNumber, FExchangeRate FROM T_Currency WHERE FCurrencyID >= 1000 ORDER BY "
                     "FCurrencyID"),
              (QStringList{"1000\tHKD\t0.912", "1001\tUSD\t7.1071"}));
}

TEST_F(BaseSysUsersTest, BaseCurrencyMovesToOne) {
    EXPECT_EQ(s.UpgradeCurrency(13, "USD"), 0);  // no rates for 13: rate 1
    EXPECT_EQ(target("SELECT FCurrencyID, FNumber, FExchangeRate FROM T_Currency ORDER BY FCurrencyID"),
              (QStringList{"0\t*\t1", "1\tUSD\t1", "1000\tHKD\t1", "1001\tRMB\t1"}));
    EXPECT_EQ(target("SELECT FCyID, FZ8InterID FROM AIS_GLCy ORDER BY FCyID"),
              (QStringList{"*\t0", "HKD\t1000", "RMB\t1001", "USD\t1"}));
}

TEST_F(BaseSysUsersTest, AFailedInsertKeepsTheBaseCurrencyWhereItIs) {
    ASSERT_EQ(targetRun("INSERT INTO T_Currency (FCurrencyID, FNumber, FName) VALUES (1000, N'XXX', N'占用')"),
              QString());
    EXPECT_EQ(s.UpgradeCurrency(12, "USD"), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t币种\t错误：（SQL语句执行错误）"))) << rows[0].toStdString();
    EXPECT_EQ(targetValue("SELECT FNumber FROM T_Currency WHERE FCurrencyID = 1"), "RMB");
    EXPECT_EQ(targetValue("SELECT FCurrencyID FROM T_Currency WHERE FNumber = 'USD'"), "1001");
}

TEST_F(BaseSysUsersTest, IntelligentClosingDefaultsFollowTheAccountType) {
    struct Case {
        const char *accountType;  // nullptr: no AccountType row
        const char *recorded;
    } cases[] = {{"3", "3"}, {"0", "<none>"}, {nullptr, "<none>"}, {"4", "4"}};
    for (const Case &c : cases) {
        ASSERT_EQ(targetRun("DELETE FROM t_SystemProfile WHERE FKey IN ('AccountType', 'IntelTransferAccountType')"),
                  QString());
        if (c.accountType) {
            ASSERT_EQ(targetRun(QStringLiteral("INSERT INTO t_SystemProfile (FCategory, FKey, FValue) VALUES ('GL', "
                                               "'AccountType', '%1')")
                                    .arg(c.accountType)),
                      QString());
        }
        QString errorText = QStringLiteral("kept");
        EXPECT_TRUE(s.SetIntelTransferDefaults(errorText));
        EXPECT_EQ(errorText, "");
        EXPECT_EQ(targetValue("SELECT FValue FROM t_SystemProfile WHERE FKey = 'IntelTransferAccountType'"),
                  c.recorded);
    }
    ASSERT_EQ(targetRun("DROP PROCEDURE pr_InitIntelTransfer"), QString());
    QString errorText;
    EXPECT_FALSE(s.SetIntelTransferDefaults(errorText));
    EXPECT_TRUE(errorText.startsWith(QStringLiteral("设置默认智能结账参数时发生异常："))) << errorText.toStdString();
}

}  // namespace
